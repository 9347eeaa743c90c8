#pragma once
// The chart pane of an RMV data window: one curve per subsystem (column) of the current subset; a
// cell clicked in the grid draws its subsystem's curve bold, a point clicked selects its cell.
#include "views/ui/QMXGraphView.h"

class CRMVDataDoc;

class CRMVDataGraphView : public CQMXGraphView
{
    Q_OBJECT
public:
    explicit CRMVDataGraphView(CRMVDataDoc* doc, QWidget* parent = nullptr);

    void OnUpdate(IZuTableDataView* sender, int hint) override;
    void BuildChart();
    QMenu* CreateContextMenu() override;

private:
    CRMVDataDoc* m_rmv;
};
