#include "platform/ui/CustomTreeCtrl.h"
#include "platform/win/Messages.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>

CCustomTreeCtrl::CCustomTreeCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
}

CCustomTreeCtrl::HitRegion CCustomTreeCtrl::HitTest(const QPoint& pos, QTreeWidgetItem** itemOut) const
{
    if (itemOut)
        *itemOut = nullptr;
    const QModelIndex idx = indexAt(pos);
    // indexAt answers only inside the item's cell; the indent and button lie left of it, so the
    // row is found by its height at the column's right end as well.
    QModelIndex row = idx;
    if (!row.isValid())
        row = indexAt(QPoint(viewport()->width() - 1, pos.y()));
    QTreeWidgetItem* item = row.isValid() ? itemFromIndex(row.siblingAtColumn(0)) : nullptr;
    if (!item)
        return kNowhere;
    if (itemOut)
        *itemOut = item;
    const QModelIndex index = indexFromItem(item, 0);
    const QRect cell = visualRect(index);
    if (pos.x() < cell.left()) {
        const bool hasButton = item->childCount() > 0 || item->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator;
        return hasButton && pos.x() >= cell.left() - indentation() ? kOnButton : kOnIndent;
    }
    QStyleOptionViewItem opt;
    initViewItemOption(&opt);
    opt.rect = cell;
    opt.index = index;
    opt.features = QStyleOptionViewItem::HasDisplay;
    opt.text = item->text(0);
    if (item->data(0, Qt::CheckStateRole).isValid()) {
        opt.features |= QStyleOptionViewItem::HasCheckIndicator;
        opt.checkState = item->checkState(0);
    }
    if (!item->icon(0).isNull()) {
        opt.features |= QStyleOptionViewItem::HasDecoration;
        opt.icon = item->icon(0);
        opt.decorationSize = iconSize().isValid() ? iconSize() : QSize(16, 16);
    }
    QStyle* s = style();
    if (opt.features & QStyleOptionViewItem::HasCheckIndicator) {
        const QRect check = s->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, this);
        if (check.contains(pos))
            return kOnStateIcon;
    }
    if (opt.features & QStyleOptionViewItem::HasDecoration) {
        const QRect icon = s->subElementRect(QStyle::SE_ItemViewItemDecoration, &opt, this);
        if (icon.contains(pos))
            return kOnIcon;
    }
    const QRect text = s->subElementRect(QStyle::SE_ItemViewItemText, &opt, this);
    const int labelRight = text.left() + fontMetrics().horizontalAdvance(opt.text) + 6;
    if (pos.x() >= text.left() - 2 && pos.x() <= labelRight)
        return kOnLabel;
    return pos.x() > labelRight ? kOnRight : kOnLabel;
}

QTreeWidgetItem* CCustomTreeCtrl::GetRootItem() const
{
    return topLevelItemCount() > 0 ? topLevelItem(0) : nullptr;
}

QTreeWidgetItem* CCustomTreeCtrl::GetNextItem(QTreeWidgetItem* item) const
{
    if (!item)
        return nullptr;
    if (item->childCount() > 0)
        return item->child(0);
    auto nextSibling = [this](QTreeWidgetItem* i) -> QTreeWidgetItem* {
        QTreeWidgetItem* parent = i->parent();
        if (parent) {
            const int k = parent->indexOfChild(i);
            return k + 1 < parent->childCount() ? parent->child(k + 1) : nullptr;
        }
        const int k = indexOfTopLevelItem(i);
        return k + 1 < topLevelItemCount() ? topLevelItem(k + 1) : nullptr;
    };
    if (QTreeWidgetItem* next = nextSibling(item))
        return next;
    if (QTreeWidgetItem* parent = item->parent())
        return nextSibling(parent);
    return nullptr;
}

void CCustomTreeCtrl::Expand(QTreeWidgetItem* item, int code)
{
    if (!item)
        return;
    switch (code) {
    case kCollapse:
        item->setExpanded(false);
        break;
    case kExpand:
        item->setExpanded(true);
        break;
    case kToggle:
        item->setExpanded(!item->isExpanded());
        break;
    default:
        break;
    }
}

void CCustomTreeCtrl::ExpandAllItems(int code)
{
    for (QTreeWidgetItem* item = GetRootItem(); item; item = GetNextItem(item))
        Expand(item, code);
}

void CCustomTreeCtrl::Report(uint32_t base, const QPoint& pos)
{
    QTreeWidgetItem* item = nullptr;
    const HitRegion region = HitTest(pos, &item);
    if (region == kNowhere || !item)
        return;
    const quintptr w = reinterpret_cast<quintptr>(item);
    emit Notify(base + uint32_t(region), w, 0);
    if (region == kOnIcon || region == kOnLabel || region == kOnStateIcon)
        emit Notify(base + kOnItemOffset, w, 0);
}

void CCustomTreeCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    // Reported once the click is complete: a check box has changed by then.
    const QPoint pos = event->position().toPoint();
    QTreeWidget::mouseReleaseEvent(event);
    if (m_afterDoubleClick) {
        m_afterDoubleClick = false;
        return;
    }
    if (event->button() == Qt::LeftButton)
        Report(WM_TREE_LCLICK_FIRST, pos);
    else if (event->button() == Qt::RightButton)
        Report(WM_TREE_RCLICK_FIRST, pos);
}

void CCustomTreeCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    QTreeWidget::mouseDoubleClickEvent(event);
    m_afterDoubleClick = true;
    if (event->button() == Qt::LeftButton)
        Report(WM_TREE_LDBLCLK_FIRST, pos);
    else if (event->button() == Qt::RightButton)
        Report(WM_TREE_RDBLCLK_FIRST, pos);
}
