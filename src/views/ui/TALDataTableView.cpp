#include "views/ui/TALDataTableView.h"

#include "spectral/ZuRpmFunc.h"
#include "views/ui/TALDataDoc.h"

CTALDataTableView::CTALDataTableView(CTALDataDoc* doc, QWidget* parent) : CZuTableGrid(parent), m_doc(doc)
{
    m_doc->AddView(this);
}

CTALDataTableView::~CTALDataTableView()
{
    m_doc->RemoveView(this);
}

void CTALDataTableView::OnUpdate(IZuTableDataView* sender, int hint)
{
    if (sender) {
        if (hint < 0)
            return;
        m_subset = hint;
        m_doc->SetCurrentSubset(hint);
    } else {
        m_subset = m_doc->GetCurrentSubset();
    }
    Fill();
}

void CTALDataTableView::Fill()
{
    CZuRpmFunc* f = m_doc->PrepareTable(m_subset);
    if (!f) {
        SetTable(nullptr, 0);
        return;
    }
    SetNumberFormat(m_doc->GetDecimalPlaces());
    SetCellWidthTwips(m_doc->GetCellWidthTwips());
    SetTable(f, m_subset);
}

int CTALDataTableView::CopySubset() const
{
    m_doc->ApplyDisplaySettings(m_doc->GetItem(CQMXDataCore::ITEM_AXIS));
    return m_doc->IsPlotAll() ? -1 : m_subset;
}

int CTALDataTableView::PasteSubset() const
{
    return CopySubset();
}

bool CTALDataTableView::OnPaste()
{
    if (!CZuTableGrid::OnPaste())
        return false;
    m_doc->UpdateAllViews(nullptr, -1);
    return true;
}

bool CTALDataTableView::OnUndo()
{
    if (!CZuTableGrid::OnUndo())
        return false;
    m_doc->UpdateAllViews(nullptr, -1);
    return true;
}
