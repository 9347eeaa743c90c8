#pragma once
// The chart pane of the data windows of spectra over engine speed: one curve per subset over RPM
// (RPM across, linear axis) or over frequency (logarithmic axis over whole decades), values on a
// logarithmic axis over whole decades when they are linear quantities, a linear one in dB. The
// curves are the table's numbers (GetTableCellValue), never its rounded texts. Derived views
// choose the curves (PlotCurves) and when to rebuild.
#include "platform/ui/ZuChart.h"
#include "platform/ui/ZuTableDataDoc.h"

#include <cfloat>
#include <functional>
#include <vector>

class CQMXDataCore;
class CZuTableData;

class CQMXGraphView : public CZuChart, public IZuTableDataView
{
    Q_OBJECT
public:
    struct Series
    {
        QString name;
        QVector<double> x;
        QVector<double> y;
        // Set for a long curve already reduced to the points it is drawn through: the index of
        // each in the whole curve, and the extremes of the whole curve (X over all its points, Y
        // over its positive values), which the points drawn need not include.
        std::vector<int> source;
        double minX = FLT_MAX, maxX = -FLT_MAX, minY = FLT_MAX, maxY = -FLT_MAX;
    };

    CQMXGraphView(CZuTableDataDoc* doc, CQMXDataCore* core, QWidget* parent = nullptr);
    ~CQMXGraphView() override;

    // Extremes of the last build: X over all points, Y over the positive values only.
    double GetMaxY() const { return m_maxY; }
    double GetMinY() const { return m_minY; }
    double GetMaxX() const { return m_maxX; }
    double GetMinX() const { return m_minX; }

protected:
    // Draws the curves with the axes, labels and title of the data: rpmAcross picks the X axis;
    // the Y axis is logarithmic when values are linear and the quantity type is not a level type
    // (53, 54).
    void PlotCurves(const std::vector<Series>& curves, CZuTableData* data, bool rpmAcross, const std::string& label);
    void changeEvent(QEvent* event) override;

    CZuTableDataDoc* m_doc;
    CQMXDataCore* m_core;

private:
    double m_maxY = -FLT_MAX;
    double m_minY = FLT_MAX;
    double m_maxX = -FLT_MAX;
    double m_minX = FLT_MAX;
    // Sets the title and the values axis of the last curves drawn in the language loaded.
    std::function<void()> m_setTexts;
};
