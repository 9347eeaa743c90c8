#pragma once
// The chart pane of the HSEA data-table and switchable-axis windows: draws a CTableChartData (one
// curve per table column over the row axis, logarithmic axes over whole decades where the data
// ask for them) and highlights the column chosen in the grid. A click on a point tells the other
// views with the curve as hint.
#include "platform/ui/ZuChart.h"
#include "platform/ui/ZuTableDataDoc.h"
#include "views/TableChartData.h"

class CTableChartView : public CZuChart, public IZuTableDataView
{
    Q_OBJECT
public:
    explicit CTableChartView(CZuTableDataDoc* doc, QWidget* parent = nullptr);
    ~CTableChartView() override;

    // Draws the chart anew.
    void Plot(const CTableChartData& data);
    // The numbers drawn last.
    const CTableChartData& GetChartData() const { return m_data; }

protected:
    // The titles and axis labels are written in the language loaded: a change of language draws
    // the chart anew.
    void changeEvent(QEvent* event) override;

    CZuTableDataDoc* m_doc;

private:
    void PlaceLegend(const CTableChartData& data);
    CTableChartData m_data;
};
