#include "views/ui/SwAxisTableView.h"

#include "views/ui/SwAxisTableDoc.h"
#include "views/ui/TableChartView.h"

CSwAxisTableView::CSwAxisTableView(CSwAxisTableDoc* doc, QWidget* parent) : CZuTableGrid(parent), m_doc(doc)
{
    m_doc->AddView(this);
    connect(this, &CZuTableGrid::CellClicked, this, [this](int, int col) {
        if (col >= 1)
            m_doc->UpdateAllViews(this, col - 1);
    });
}

CSwAxisTableView::~CSwAxisTableView()
{
    m_doc->RemoveView(this);
}

void CSwAxisTableView::OnUpdate(IZuTableDataView* sender, int hint)
{
    if (dynamic_cast<CTableChartView*>(sender)) {
        if (hint >= 0)
            SelectCell(-1, hint + 1);
        return;
    }
    Fill();
}

void CSwAxisTableView::Fill()
{
    CSwAxisTableCore& core = m_doc->Core();
    SetNumberFormat(core.GetDecimalPlaces());
    SetCellWidthTwips(core.GetCellWidth() * 100);
    SetTable(m_doc->GetData(), core.GetCurSel1stIndex());
}

bool CSwAxisTableView::OnCopy(int)
{
    // Both copy commands copy the headers with the values.
    return CZuTableGrid::OnCopy(1);
}

bool CSwAxisTableView::OnPaste()
{
    if (!CZuTableGrid::OnPaste())
        return false;
    m_doc->UpdateAllViews(nullptr, -1);
    return true;
}

bool CSwAxisTableView::OnUndo()
{
    if (!CZuTableGrid::OnUndo())
        return false;
    m_doc->UpdateAllViews(nullptr, -1);
    return true;
}
