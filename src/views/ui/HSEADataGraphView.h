#pragma once
// The chart pane of an HSEA data-table window: every column of the table shown as a curve over the
// row axis (bands or RPMs), from the table's numbers; the column chosen in the grid is drawn bold.
#include "views/ui/TableChartView.h"

class CHSEADataTableDoc;

class CHSEADataGraphView : public CTableChartView
{
    Q_OBJECT
public:
    explicit CHSEADataGraphView(CHSEADataTableDoc* doc, QWidget* parent = nullptr);

    // From the grid (hint: a column of data) highlights that curve; anything else rebuilds.
    void OnUpdate(IZuTableDataView* sender, int hint) override;
    void BuildChart();

private:
    CHSEADataTableDoc* m_hsea;
};
