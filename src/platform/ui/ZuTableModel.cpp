#include "platform/ui/ZuTableModel.h"

#include "platform/elements/ZuTableData.h"

#include <QColor>

#include <algorithm>

CZuTableModel::CZuTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void CZuTableModel::SetTable(CZuTableData* data, int index)
{
    m_data = data;
    m_index = index;
    Refresh();
}

void CZuTableModel::SetNumberFormat(int decimals)
{
    if (decimals == m_decimals)
        return;
    m_decimals = decimals;
    if (m_rows > 0 && m_cols > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, m_cols - 1));
}

void CZuTableModel::Refresh()
{
    beginResetModel();
    m_rows = m_data ? std::max(0, m_data->GetTableRowCount(m_index) - 1) : 0;
    m_cols = m_data ? std::max(0, m_data->GetTableColCount(m_index) - 1) : 0;
    endResetModel();
}

QModelIndex CZuTableModel::IndexOf(int tableRow, int tableCol) const
{
    return index(tableRow - 1, tableCol - 1);
}

int CZuTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int CZuTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant CZuTableModel::data(const QModelIndex& index, int role) const
{
    if (!m_data || !index.isValid() || index.row() >= m_rows || index.column() >= m_cols)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        ++m_requests;
        return QString::fromStdString(m_data->GetShownTableCell(TableRow(index), TableCol(index), m_index, m_decimals));
    case Qt::ToolTipRole: {
        // A text longer than its column (a path of subsystems) is cut short in the cell; its tip
        // shows it whole.
        const QString text =
            QString::fromStdString(m_data->GetShownTableCell(TableRow(index), TableCol(index), m_index, m_decimals));
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case Qt::BackgroundRole:
    case Qt::ForegroundRole: {
        // Colour 0 is the tables' "no colour of its own".
        const COLORREF c = m_data->GetTableCellColor(TableRow(index), TableCol(index), m_index);
        if (c == 0)
            return {};
        const QColor background(GetRValue(c), GetGValue(c), GetBValue(c));
        if (role == Qt::BackgroundRole)
            return background;
        // On a dark or saturated colour (a rate's blue) black would hardly be read.
        const int luma = (299 * background.red() + 587 * background.green() + 114 * background.blue()) / 1000;
        return luma < 140 ? QColor(Qt::white) : QColor(Qt::black);
    }
    case Qt::TextAlignmentRole:
        return int(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant CZuTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // A long column heading is cut short in a narrow column; its tip shows it whole.
    const bool text = role == Qt::DisplayRole || (role == Qt::ToolTipRole && orientation == Qt::Horizontal);
    if (!text || !m_data || section < 0)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return section < m_cols ? QString::fromStdString(m_data->GetShownTableCell(0, section + 1, m_index, m_decimals))
                                : QVariant();
    return section < m_rows ? QString::fromStdString(m_data->GetShownTableCell(section + 1, 0, m_index, m_decimals))
                            : QVariant();
}
