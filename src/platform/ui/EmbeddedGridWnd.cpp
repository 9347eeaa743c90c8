#include "platform/ui/EmbeddedGridWnd.h"

#include "platform/ui/FlexGridModel.h"
#include "platform/win/Messages.h"

#include <QMetaObject>
#include <QMouseEvent>

CEmbeddedGridWnd::CEmbeddedGridWnd(QWidget* parent) : CMSFlexGrid(parent)
{
    viewport()->setMouseTracking(true);
}

void CEmbeddedGridWnd::PostMouse(quint32 msg, QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    quintptr flags = 0;
    if (event->buttons() & Qt::LeftButton)
        flags |= 0x0001;
    if (event->buttons() & Qt::RightButton)
        flags |= 0x0002;
    if (event->modifiers() & Qt::ShiftModifier)
        flags |= 0x0004;
    if (event->modifiers() & Qt::ControlModifier)
        flags |= 0x0008;
    const qintptr pos = (qintptr(p.y() & 0xFFFF) << 16) | qintptr(p.x() & 0xFFFF);
    QMetaObject::invokeMethod(
        this, [this, msg, flags, pos] { emit MouseNotify(msg, flags, pos); }, Qt::QueuedConnection);
}

void CEmbeddedGridWnd::SendCell(quint32 msg, QMouseEvent* event)
{
    const QModelIndex idx = indexAt(event->position().toPoint());
    if (!idx.isValid())
        return;
    const int row = m_model->GridRow(idx);
    const int col = m_model->GridCol(idx);
    emit Notify(msg, 0, (qintptr(col) << 16) | qintptr(row));
}

void CEmbeddedGridWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        PostMouse(WM_LBUTTONDOWN, event);
    CMSFlexGrid::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        SendCell(WM_GRID_CELL_CLICK, event);
    else if (event->button() == Qt::RightButton)
        SendCell(WM_GRID_CELL_RCLICK, event);
}

void CEmbeddedGridWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        PostMouse(WM_LBUTTONUP, event);
    CMSFlexGrid::mouseReleaseEvent(event);
}

void CEmbeddedGridWnd::mouseMoveEvent(QMouseEvent* event)
{
    PostMouse(WM_MOUSEMOVE, event);
    CMSFlexGrid::mouseMoveEvent(event);
}

void CEmbeddedGridWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    CMSFlexGrid::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        SendCell(WM_GRID_CELL_CHANGED, event);
}
