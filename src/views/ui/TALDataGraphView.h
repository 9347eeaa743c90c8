#pragma once
// The chart pane of a TAL data window: the current subset of the map, or every subset (one curve
// each, the current one drawn bold) while all subsets are plotted.
#include "views/ui/QMXGraphView.h"

class CTALDataDoc;

class CTALDataGraphView : public CQMXGraphView
{
    Q_OBJECT
public:
    explicit CTALDataGraphView(CTALDataDoc* doc, QWidget* parent = nullptr);

    // A subset chosen in the list while every subset is plotted only changes the highlight; any
    // other update rebuilds the chart.
    void OnUpdate(IZuTableDataView* sender, int hint) override;
    void BuildChart(int subset);
    bool IsPlotAll() const { return m_plotAll; }

    QMenu* CreateContextMenu() override;

private:
    CTALDataDoc* m_tal;
    bool m_plotAll = false;
};
