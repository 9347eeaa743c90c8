#include "platform/ui/ZuFlowLayout.h"

#include <QWidget>

#include <algorithm>

CZuFlowLayout::CZuFlowLayout(QWidget* parent, int spacing) : QLayout(parent)
{
    setSpacing(spacing);
}

CZuFlowLayout::~CZuFlowLayout()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void CZuFlowLayout::addItem(QLayoutItem* item)
{
    m_items.append(item);
}

int CZuFlowLayout::count() const
{
    return static_cast<int>(m_items.size());
}

QLayoutItem* CZuFlowLayout::itemAt(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index) : nullptr;
}

QLayoutItem* CZuFlowLayout::takeAt(int index)
{
    return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
}

Qt::Orientations CZuFlowLayout::expandingDirections() const
{
    return {};
}

bool CZuFlowLayout::hasHeightForWidth() const
{
    return true;
}

int CZuFlowLayout::heightForWidth(int width) const
{
    return Arrange(QRect(0, 0, width, 0), false);
}

QSize CZuFlowLayout::minimumSize() const
{
    // As narrow as the widest control: anything narrower wraps.
    QSize size;
    for (const QLayoutItem* item : m_items)
        if (!item->isEmpty())
            size = size.expandedTo(item->minimumSize());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize CZuFlowLayout::sizeHint() const
{
    // All on one row.
    int width = 0, height = 0, shown = 0;
    for (const QLayoutItem* item : m_items) {
        if (item->isEmpty())
            continue;
        const QSize hint = item->sizeHint();
        width += hint.width();
        height = std::max(height, hint.height());
        ++shown;
    }
    width += std::max(0, shown - 1) * spacing();
    const QMargins m = contentsMargins();
    return {width + m.left() + m.right(), height + m.top() + m.bottom()};
}

void CZuFlowLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    Arrange(rect, true);
}

int CZuFlowLayout::Arrange(const QRect& rect, bool place) const
{
    const QMargins m = contentsMargins();
    const QRect area = rect.adjusted(m.left(), m.top(), -m.right(), -m.bottom());
    const int gap = std::max(0, spacing());
    int x = area.x(), y = area.y(), rowHeight = 0;
    // A row's items are placed once the row is complete, centred on its height.
    QList<QPair<QLayoutItem*, QPoint>> row;
    const auto flush = [&] {
        if (place)
            for (const auto& [item, at] : row) {
                QSize size = item->sizeHint();
                // A separator line has no height of its own: it spans its row.
                if (size.height() <= 0 || (item->expandingDirections() & Qt::Vertical))
                    size.setHeight(rowHeight);
                item->setGeometry(QRect(QPoint(at.x(), at.y() + (rowHeight - size.height()) / 2), size));
            }
        row.clear();
    };
    for (QLayoutItem* item : m_items) {
        if (item->isEmpty())
            continue;
        const QSize size = item->sizeHint();
        if (x > area.x() && x + size.width() > area.right() + 1) {
            flush();
            x = area.x();
            y += rowHeight + gap;
            rowHeight = 0;
        }
        row.append({item, QPoint(x, y)});
        x += size.width() + gap;
        rowHeight = std::max(rowHeight, size.height());
    }
    flush();
    return y + rowHeight - rect.y() + m.bottom();
}
