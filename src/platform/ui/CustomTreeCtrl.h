#pragma once
// A tree that tells its owner where an item was clicked. For a left click it sends one of
// 0x8201 (on the icon), 0x8202 (the label), 0x8203 (the check box), 0x8204 (the indent), 0x8205
// (the expand button) or 0x8206 (right of the label), then 0x8207 for any click on icon, label or
// check box; double clicks use 0x8208-0x820E, right clicks 0x820F-0x8215 and right double clicks
// 0x8216-0x821C in the same order. wParam is the QTreeWidgetItem*, lParam 0; messages are sent
// when the button is released, after the tree has handled the click (a check box has changed).
#include "platform/win/Messages.h"

#include <QTreeWidget>

#include <cstdint>

class CCustomTreeCtrl : public QTreeWidget
{
    Q_OBJECT
public:
    enum HitRegion
    {
        kOnIcon = 0,
        kOnLabel = 1,
        kOnStateIcon = 2,
        kOnIndent = 3,
        kOnButton = 4,
        kOnRight = 5,
        kNowhere = -1,
    };
    static constexpr uint32_t kOnItemOffset = 6; // the "any of icon, label, check box" message

    explicit CCustomTreeCtrl(QWidget* parent = nullptr);

    // Where a point of the viewport lies on the tree's items; item receives the item (or null).
    HitRegion HitTest(const QPoint& viewportPos, QTreeWidgetItem** item = nullptr) const;

    QTreeWidgetItem* GetRootItem() const;
    // The first child, else the next sibling, else the parent's next sibling (one level up only).
    QTreeWidgetItem* GetNextItem(QTreeWidgetItem* item) const;
    // Expand codes: 1 collapse, 2 expand, 3 toggle; given to every item of the walk above.
    static constexpr int kCollapse = 1;
    static constexpr int kExpand = 2;
    static constexpr int kToggle = 3;
    void ExpandAllItems(int code);
    static void Expand(QTreeWidgetItem* item, int code);

signals:
    void Notify(quint32 msg, quintptr wParam, qintptr lParam);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Report(uint32_t base, const QPoint& pos);
    bool m_afterDoubleClick = false;
};
