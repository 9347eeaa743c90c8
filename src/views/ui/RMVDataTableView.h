#pragma once
// The grid pane of an RMV data window: the table of the current subset (rows: frequencies or RPMs;
// columns: the subsystems). Copy and paste act on the subset shown; a click on a cell highlights
// the subsystem's curve in the chart.
#include "platform/ui/ZuTableDataDoc.h"
#include "platform/ui/ZuTableGrid.h"

class CRMVDataDoc;

class CRMVDataTableView : public CZuTableGrid, public IZuTableDataView
{
    Q_OBJECT
public:
    explicit CRMVDataTableView(CRMVDataDoc* doc, QWidget* parent = nullptr);
    ~CRMVDataTableView() override;

    int GetSubset() const { return m_subset; }
    // From the chart (a point clicked): selects the column of curve hint. Anything else refills the
    // grid from the document's current subset.
    void OnUpdate(IZuTableDataView* sender, int hint) override;
    void Fill();

    bool OnPaste() override;
    bool OnUndo() override;

private:
    CRMVDataDoc* m_doc;
    int m_subset = 0;
};
