#pragma once
// A grid placed inside a dialog that reports cell clicks to its owner: 2024 a left click, 2025 a
// right click, 2026 a left double click, each with wParam 0 and lParam (column << 16) | row (grid
// coordinates), sent synchronously. The grid's own mouse moves and left button presses and
// releases are passed on too, queued (as posted messages), before the grid handles them:
// 0x0200, 0x0201, 0x0202 with the key flags and (y << 16) | x.
#include "platform/ui/MSFlexGrid.h"
#include "platform/win/Messages.h"

#include <cstdint>

class CEmbeddedGridWnd : public CMSFlexGrid
{
    Q_OBJECT
public:
    explicit CEmbeddedGridWnd(QWidget* parent = nullptr);

signals:
    void Notify(quint32 msg, quintptr wParam, qintptr lParam);
    // Delivered through the event loop.
    void MouseNotify(quint32 msg, quintptr keyFlags, qintptr position);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void PostMouse(quint32 msg, QMouseEvent* event);
    void SendCell(quint32 msg, QMouseEvent* event);
};
