#include "views/ui/RMVDataTableView.h"

#include "spectral/ZuRpmMultiVecFunc.h"
#include "views/ui/RMVDataDoc.h"
#include "views/ui/RMVDataGraphView.h"

CRMVDataTableView::CRMVDataTableView(CRMVDataDoc* doc, QWidget* parent) : CZuTableGrid(parent), m_doc(doc)
{
    m_doc->AddView(this);
    connect(this, &CZuTableGrid::CellClicked, this, [this](int, int col) {
        if (col >= 1)
            m_doc->UpdateAllViews(this, col - 1);
    });
}

CRMVDataTableView::~CRMVDataTableView()
{
    m_doc->RemoveView(this);
}

void CRMVDataTableView::OnUpdate(IZuTableDataView* sender, int hint)
{
    if (dynamic_cast<CRMVDataGraphView*>(sender)) {
        if (hint >= 0)
            SelectCell(-1, hint + 1);
        return;
    }
    m_subset = m_doc->GetCurrentSubset();
    Fill();
}

void CRMVDataTableView::Fill()
{
    CZuRpmMultiVecFunc* f = m_doc->PrepareTable(m_subset);
    if (!f) {
        SetTable(nullptr, 0);
        return;
    }
    SetNumberFormat(m_doc->GetDecimalPlaces());
    SetCellWidthTwips(m_doc->GetCellWidthTwips());
    SetTable(f, m_subset);
}

bool CRMVDataTableView::OnPaste()
{
    // The values go into the subset on show.
    m_doc->ApplyDisplaySettings(m_doc->GetItem(CQMXDataCore::ITEM_AXIS));
    if (!PasteAtCurrentCell(m_subset))
        return false;
    m_doc->UpdateAllViews(nullptr, -1);
    return true;
}

bool CRMVDataTableView::OnUndo()
{
    if (!CZuTableGrid::OnUndo())
        return false;
    m_doc->UpdateAllViews(nullptr, -1);
    return true;
}
