#pragma once
// The grid pane of an HSEA data-table window: the cells of the band shown, coloured as the table
// says. A click on a cell shows its subsystems in the open model windows and highlights its column
// in the chart; a curve clicked in the chart selects its column here.
#include "platform/ui/ZuTableDataDoc.h"
#include "platform/ui/ZuTableGrid.h"

class CHSEADataTableDoc;

class CHSEADataTableView : public CZuTableGrid, public IZuTableDataView
{
    Q_OBJECT
public:
    explicit CHSEADataTableView(CHSEADataTableDoc* doc, QWidget* parent = nullptr);
    ~CHSEADataTableView() override;

    // From the chart (hint: a column of data, 0 or more) selects that column; anything else
    // refills the grid.
    void OnUpdate(IZuTableDataView* sender, int hint) override;
    void Fill();

    bool OnPaste() override;
    bool OnUndo() override;

private:
    CHSEADataTableDoc* m_doc;
};
