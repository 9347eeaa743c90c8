#pragma once
// The grid pane of a switchable-axis table window: the table of the chosen first index (an RPM,
// a frequency or an order). Copy writes the selection with its headers; paste starts at the
// current cell.
#include "platform/ui/ZuTableDataDoc.h"
#include "platform/ui/ZuTableGrid.h"

class CSwAxisTableDoc;

class CSwAxisTableView : public CZuTableGrid, public IZuTableDataView
{
    Q_OBJECT
public:
    explicit CSwAxisTableView(CSwAxisTableDoc* doc, QWidget* parent = nullptr);
    ~CSwAxisTableView() override;

    // From the chart (hint: a column of data) selects that column; anything else refills.
    void OnUpdate(IZuTableDataView* sender, int hint) override;
    void Fill();

    bool OnCopy(int withLabels) override;
    bool OnPaste() override;
    bool OnUndo() override;

private:
    CSwAxisTableDoc* m_doc;
};
