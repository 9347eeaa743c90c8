#pragma once
// Moves and sizes a child window in its parent's client coordinates.
class QWidget;

// x or y below 0 keep the child's current position on that axis; cx or cy below 1 keep its current
// size. Nothing happens without a child. The parent names the coordinate space: when the child
// is not a direct child of it, the point is mapped from the parent to the child's own parent.
void MoveChildWindow(QWidget* parent, QWidget* child, int x, int y, int cx, int cy);
