#include "platform/ui/FlexGridModel.h"

#include "platform/win/StringTable.h"

#include <QFont>
#include <QStringList>

#include <algorithm>

CFlexGridModel::CFlexGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void CFlexGridModel::Reshape(int rows, int cols)
{
    rows = std::max(0, rows);
    cols = std::max(0, cols);
    if (rows == m_rows && cols == m_cols)
        return;
    beginResetModel();
    if (cols == m_cols) {
        m_cells.resize(size_t(rows) * size_t(cols));
    } else {
        std::vector<QString> cells(size_t(rows) * size_t(cols));
        const int keepRows = std::min(rows, m_rows);
        const int keepCols = std::min(cols, m_cols);
        for (int r = 0; r < keepRows; ++r)
            for (int c = 0; c < keepCols; ++c)
                cells[size_t(r) * size_t(cols) + size_t(c)] =
                    std::move(m_cells[size_t(r) * size_t(m_cols) + size_t(c)]);
        m_cells.swap(cells);
    }
    m_rows = rows;
    m_cols = cols;
    for (auto it = m_styles.begin(); it != m_styles.end();)
        it = it->first.first >= rows || it->first.second >= cols ? m_styles.erase(it) : std::next(it);
    m_fixedRows = std::min(m_fixedRows, m_rows);
    m_fixedCols = std::min(m_fixedCols, m_cols);
    endResetModel();
}

void CFlexGridModel::SetRows(int rows)
{
    rows = std::max(0, rows);
    if (rows == m_rows + 1 && rows - 1 >= m_fixedRows) {
        // One more row (the append of in-cell editing): no reset, the view keeps its place.
        beginInsertRows(QModelIndex(), m_rows - m_fixedRows, m_rows - m_fixedRows);
        m_cells.resize(size_t(rows) * size_t(m_cols));
        m_rows = rows;
        endInsertRows();
        return;
    }
    Reshape(rows, m_cols);
}

void CFlexGridModel::SetCols(int cols)
{
    Reshape(m_rows, cols);
}

void CFlexGridModel::SetFixedRows(int n)
{
    beginResetModel();
    m_fixedRows = std::clamp(n, 0, m_rows);
    endResetModel();
}

void CFlexGridModel::SetFixedCols(int n)
{
    beginResetModel();
    m_fixedCols = std::clamp(n, 0, m_cols);
    endResetModel();
}

QString CFlexGridModel::Text(int row, int col) const
{
    if (row < 0 || col < 0 || row >= m_rows || col >= m_cols)
        return {};
    return m_cells[size_t(row) * size_t(m_cols) + size_t(col)];
}

void CFlexGridModel::SetText(int row, int col, const QString& text)
{
    if (row < 0 || col < 0 || row >= m_rows || col >= m_cols)
        return;
    m_cells[size_t(row) * size_t(m_cols) + size_t(col)] = text;
    if (row >= m_fixedRows && col >= m_fixedCols) {
        const QModelIndex idx = index(row - m_fixedRows, col - m_fixedCols);
        emit dataChanged(idx, idx, {Qt::DisplayRole, Qt::EditRole});
    } else if (row < m_fixedRows && col >= m_fixedCols) {
        emit headerDataChanged(Qt::Horizontal, col - m_fixedCols, col - m_fixedCols);
    } else if (col < m_fixedCols && row >= m_fixedRows) {
        emit headerDataChanged(Qt::Vertical, row - m_fixedRows, row - m_fixedRows);
    }
}

void CFlexGridModel::ClearAll()
{
    beginResetModel();
    std::fill(m_cells.begin(), m_cells.end(), QString());
    endResetModel();
}

QModelIndex CFlexGridModel::IndexOf(int row, int col) const
{
    if (row < m_fixedRows || col < m_fixedCols || row >= m_rows || col >= m_cols)
        return {};
    return index(row - m_fixedRows, col - m_fixedCols);
}

int CFlexGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows - m_fixedRows;
}

int CFlexGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_cols - m_fixedCols;
}

QVariant CFlexGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = GridRow(index);
    const int col = GridCol(index);
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return Text(row, col);
    const CellStyle* style = StyleOf(row, col);
    if (!style)
        return {};
    switch (role) {
    case Qt::BackgroundRole:
        return style->back.isValid() ? QVariant(style->back) : QVariant();
    case Qt::ForegroundRole:
        return style->fore.isValid() ? QVariant(style->fore) : QVariant();
    case Qt::FontRole:
        if (style->bold) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::CheckStateRole:
        return style->check < 0 ? QVariant() : QVariant(style->check ? Qt::Checked : Qt::Unchecked);
    default:
        return {};
    }
}

bool CFlexGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (index.isValid() && role == Qt::CheckStateRole && CellCheck(GridRow(index), GridCol(index)) >= 0) {
        SetCellCheck(GridRow(index), GridCol(index), value.toInt() == Qt::Checked ? 1 : 0);
        return true;
    }
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    SetText(GridRow(index), GridCol(index), value.toString());
    return true;
}

QVariant CFlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::BackgroundRole && orientation == Qt::Horizontal && m_fixedRows > 0) {
        const CellStyle* style = StyleOf(0, section + m_fixedCols);
        return style && style->back.isValid() ? QVariant(style->back) : QVariant();
    }
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    // Several fixed rows (columns) make a heading of several lines (parts).
    QStringList parts;
    if (orientation == Qt::Horizontal) {
        for (int r = 0; r < m_fixedRows; ++r)
            parts << QString::fromStdString(TranslateText(Text(r, section + m_fixedCols).toStdString()));
        return parts.join(QLatin1Char('\n'));
    }
    for (int c = 0; c < m_fixedCols; ++c)
        parts << Text(section + m_fixedRows, c);
    return parts.join(QLatin1Char(' '));
}

Qt::ItemFlags CFlexGridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (m_editable && index.isValid())
        f |= Qt::ItemIsEditable;
    if (index.isValid() && CellCheck(GridRow(index), GridCol(index)) >= 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

const CFlexGridModel::CellStyle* CFlexGridModel::StyleOf(int row, int col) const
{
    const auto it = m_styles.find({row, col});
    return it == m_styles.end() ? nullptr : &it->second;
}

CFlexGridModel::CellStyle* CFlexGridModel::EditStyle(int row, int col)
{
    if (row < 0 || col < 0 || row >= m_rows || col >= m_cols)
        return nullptr;
    return &m_styles[{row, col}];
}

void CFlexGridModel::StyleChanged(int row, int col)
{
    if (row >= m_fixedRows && col >= m_fixedCols) {
        const QModelIndex idx = index(row - m_fixedRows, col - m_fixedCols);
        emit dataChanged(idx, idx);
    } else if (row < m_fixedRows && col >= m_fixedCols) {
        emit headerDataChanged(Qt::Horizontal, col - m_fixedCols, col - m_fixedCols);
    }
}

void CFlexGridModel::SetCellBackColor(int row, int col, const QColor& color)
{
    if (CellStyle* style = EditStyle(row, col)) {
        style->back = color;
        StyleChanged(row, col);
    }
}

void CFlexGridModel::SetCellForeColor(int row, int col, const QColor& color)
{
    if (CellStyle* style = EditStyle(row, col)) {
        style->fore = color;
        StyleChanged(row, col);
    }
}

void CFlexGridModel::SetCellBold(int row, int col, bool bold)
{
    if (CellStyle* style = EditStyle(row, col)) {
        style->bold = bold;
        StyleChanged(row, col);
    }
}

QColor CFlexGridModel::CellBackColor(int row, int col) const
{
    const CellStyle* style = StyleOf(row, col);
    return style ? style->back : QColor();
}

QColor CFlexGridModel::CellForeColor(int row, int col) const
{
    const CellStyle* style = StyleOf(row, col);
    return style ? style->fore : QColor();
}

void CFlexGridModel::SetCellCheck(int row, int col, int state)
{
    CellStyle* style = EditStyle(row, col);
    if (!style)
        return;
    const int check = state < 0 ? -1 : (state ? 1 : 0);
    // Only a check box that changes its state counts, not one being made or removed.
    const bool changed = style->check >= 0 && check >= 0 && style->check != check;
    style->check = check;
    StyleChanged(row, col);
    if (changed)
        emit CellCheckChanged(row, col);
}

int CFlexGridModel::CellCheck(int row, int col) const
{
    const CellStyle* style = StyleOf(row, col);
    return style ? style->check : -1;
}

void CFlexGridModel::ClearStyles()
{
    if (m_styles.empty())
        return;
    m_styles.clear();
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}
