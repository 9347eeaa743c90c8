#include "views/ui/RMVDataSelectView.h"

#include "spectral/ZuRpmMultiVecFunc.h"
#include "views/ui/RMVDataDoc.h"

#include <QHeaderView>

CRMVDataSelectView::CRMVDataSelectView(CRMVDataDoc* doc, QWidget* parent) : CZuTableSelectView(doc, parent), m_rmv(doc)
{
    header()->resizeSection(0, 80);
}

void CRMVDataSelectView::OnUpdate(IZuTableDataView* sender, int hint)
{
    // Choices made in the other panes never change the list.
    if (sender)
        return;
    const int axis = m_rmv->GetItem(CQMXDataCore::ITEM_AXIS);
    ListModel()->SetTitle(axis == 1 ? QStringLiteral("Freq. [Hz]") : QStringLiteral("RPM"));
    if (CZuRpmMultiVecFunc* f = m_rmv->GetFunction())
        f->SetAxisFlag(axis);
    CZuTableSelectView::OnUpdate(sender, hint);
}
