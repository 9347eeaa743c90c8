#include "views/ui/TALDataSelectView.h"

#include "spectral/ZuRpmFunc.h"
#include "views/ui/TALDataDoc.h"

#include <QHeaderView>

CTALDataSelectView::CTALDataSelectView(CTALDataDoc* doc, QWidget* parent) : CZuTableSelectView(doc, parent), m_tal(doc)
{
    header()->resizeSection(0, 80);
}

void CTALDataSelectView::OnUpdate(IZuTableDataView* sender, int hint)
{
    // Choices made in the other panes never change the list.
    if (sender)
        return;
    const int axis = m_tal->GetItem(CQMXDataCore::ITEM_AXIS);
    ListModel()->SetTitle(axis == 1 ? QStringLiteral("Freq. [Hz]") : QStringLiteral("RPM"));
    if (CZuRpmFunc* f = m_tal->GetFunction())
        f->SetAxisFlag(axis);
    CZuTableSelectView::OnUpdate(sender, hint);
}
