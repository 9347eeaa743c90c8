#include "platform/ui/FlexGridEx.h"

#include "platform/ui/CmbEx.h"
#include "platform/ui/FlexGridModel.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <set>

CFlexGridEx::CFlexGridEx(QWidget* parent) : CMSFlexGrid(parent), m_combo(new CCmbEx(this))
{
    m_combo->hide();
    m_combo->SetNotify([this](int key) { OnComboKey(key); });
}

void CFlexGridEx::SetComboFont(int pointSize, const std::string& face)
{
    QFont f = m_combo->font();
    if (!face.empty())
        f.setFamily(QString::fromStdString(face));
    if (pointSize > 0)
        f.setPointSize(pointSize);
    m_combo->setFont(f);
}

bool CFlexGridEx::StartEdit(int row, int col)
{
    if (m_editing || row < GetFixedRows() || col < GetFixedCols() || row >= GetRows() || col >= GetCols())
        return false;
    const uintptr_t cell = CellParam(row, col);
    if (m_beforeEdit && m_beforeEdit(cell) == 0)
        return false;
    if (!(m_editFlags & kEditable))
        return false;
    m_editing = true;
    m_editRow = row;
    m_editCol = col;
    m_combo->setEnabled(true);
    emit Notify(WM_FLEX_BEGIN_EDIT, cell, reinterpret_cast<qintptr>(m_combo));
    m_combo->setCurrentIndex(m_combo->FindStringExact(m_model->Text(row, col)));
    scrollTo(m_model->IndexOf(row, col));
    const QRect r = CellRect(row, col);
    m_combo->setGeometry(r.x(), r.y(), std::max(r.width(), 60), std::max(r.height(), m_combo->sizeHint().height()));
    m_combo->ResetFocusFlag();
    m_combo->show();
    m_combo->raise();
    m_combo->setFocus(Qt::OtherFocusReason);
    return true;
}

void CFlexGridEx::OnComboKey(int key)
{
    if (!m_editing)
        return;
    EndEdit(key != CCmbEx::kKeyEscape);
}

void CFlexGridEx::EndEdit(bool commit)
{
    if (!m_editing)
        return;
    m_editing = false;
    const int row = m_editRow;
    const int col = m_editCol;
    const QString text = m_combo->currentText();
    m_combo->clear();
    m_combo->hide();
    setFocus(Qt::OtherFocusReason);
    if (!commit)
        return;
    SetCurrentCell(row, col);
    const bool changed = m_model->Text(row, col) != text;
    m_model->SetText(row, col, text);
    if (!text.isEmpty() && (m_editFlags & kAppendRow) && row == GetRows() - 1)
        SetRows(GetRows() + 1);
    const std::string utf8 = text.toStdString();
    emit Notify(WM_FLEX_END_EDIT, CellParam(row, col), reinterpret_cast<qintptr>(utf8.c_str()));
    if (changed)
        emit Notify(WM_GRID_CELL_CHANGED, 0, static_cast<qintptr>(CellParam(row, col)));
}

void CFlexGridEx::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex idx = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && idx.isValid()) {
        StartEdit(m_model->GridRow(idx), m_model->GridCol(idx));
        return;
    }
    CMSFlexGrid::mouseDoubleClickEvent(event);
}

void CFlexGridEx::scrollContentsBy(int dx, int dy)
{
    // The combo sits over one cell; once the cells move it would stand over another.
    if (m_combo->isVisible())
        EndEdit(false);
    CMSFlexGrid::scrollContentsBy(dx, dy);
}

void CFlexGridEx::MoveToBlockEdge(int dr, int dc)
{
    int row = GetRow();
    int col = GetCol();
    if (row < 0 || col < 0 || (dr == 0 && dc == 0))
        return;
    auto inBody = [this](int r, int c) {
        return r >= GetFixedRows() && r < GetRows() && c >= GetFixedCols() && c < GetCols();
    };
    auto filled = [this](int r, int c) { return !m_model->Text(r, c).isEmpty(); };
    if (!inBody(row + dr, col + dc))
        return;
    if (filled(row, col) && filled(row + dr, col + dc)) {
        // Inside a block: to its last filled cell.
        while (inBody(row + dr, col + dc) && filled(row + dr, col + dc)) {
            row += dr;
            col += dc;
        }
    } else {
        // At a block's end or in empty cells: to the next filled cell, else the body's edge.
        do {
            row += dr;
            col += dc;
        } while (inBody(row + dr, col + dc) && !filled(row, col));
    }
    SetCurrentCell(row, col);
}

bool CFlexGridEx::DeleteSelection()
{
    if (m_beforeDelete && m_beforeDelete() == 0)
        return false;
    std::set<std::pair<int, int>> cells;
    for (const QModelIndex& idx : selectionModel()->selectedIndexes())
        cells.insert({m_model->GridRow(idx), m_model->GridCol(idx)});
    if (cells.empty() && currentIndex().isValid())
        cells.insert({GetRow(), GetCol()});
    for (const auto& [row, col] : cells) {
        m_model->SetText(row, col, QString());
        emit Notify(WM_FLEX_END_EDIT, CellParam(row, col), 0);
    }
    return true;
}

void CFlexGridEx::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_Up:
            MoveToBlockEdge(-1, 0);
            return;
        case Qt::Key_Down:
            MoveToBlockEdge(1, 0);
            return;
        case Qt::Key_Left:
            MoveToBlockEdge(0, -1);
            return;
        case Qt::Key_Right:
            MoveToBlockEdge(0, 1);
            return;
        default:
            break;
        }
    }
    if (event->key() == Qt::Key_Delete) {
        DeleteSelection();
        return;
    }
    CMSFlexGrid::keyPressEvent(event);
}
