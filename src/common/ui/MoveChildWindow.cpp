#include "common/ui/MoveChildWindow.h"

#include <QWidget>

void MoveChildWindow(QWidget* parent, QWidget* child, int x, int y, int cx, int cy)
{
    if (!child)
        return;
    // The child's geometry is kept in its own parent's coordinates; a grandchild's position is
    // given in the coordinates of the window named as parent.
    QWidget* own = child->parentWidget();
    const bool mapped = parent && own && own != parent && parent->isAncestorOf(own);
    QRect rect = child->geometry();
    QPoint at = mapped ? own->mapTo(parent, rect.topLeft()) : rect.topLeft();
    if (x >= 0)
        at.setX(x);
    if (y >= 0)
        at.setY(y);
    rect.moveTopLeft(mapped ? own->mapFrom(parent, at) : at);
    if (cx >= 1)
        rect.setWidth(cx);
    if (cy >= 1)
        rect.setHeight(cy);
    child->setGeometry(rect);
}
