#pragma once
// The chart pane of a switchable-axis table window: one curve per subsystem over the second axis
// (frequency on a logarithmic axis, RPM on a linear one), from the function's numbers.
#include "views/ui/TableChartView.h"

class CSwAxisTableDoc;

class CSwAxisGraphView : public CTableChartView
{
    Q_OBJECT
public:
    explicit CSwAxisGraphView(CSwAxisTableDoc* doc, QWidget* parent = nullptr);

    // From the grid (hint: a column of data) highlights that curve; anything else rebuilds.
    void OnUpdate(IZuTableDataView* sender, int hint) override;
    void BuildChart();

private:
    CSwAxisTableDoc* m_sw;
};
