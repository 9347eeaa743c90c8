#include "platform/ui/MSFlexGrid.h"

#include "platform/ui/FlexGridModel.h"

#include <QHeaderView>
#include <QItemSelectionModel>

#include <algorithm>
#include <set>

CMSFlexGrid::CMSFlexGrid(QWidget* parent) : QTableView(parent), m_model(new CFlexGridModel(this))
{
    setModel(m_model);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultSectionSize(90);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setWordWrap(false);
    horizontalHeader()->hide();
    verticalHeader()->hide();
}

int CMSFlexGrid::GetRows() const
{
    return m_model->GetRows();
}
int CMSFlexGrid::GetCols() const
{
    return m_model->GetCols();
}
int CMSFlexGrid::GetFixedRows() const
{
    return m_model->GetFixedRows();
}
int CMSFlexGrid::GetFixedCols() const
{
    return m_model->GetFixedCols();
}

void CMSFlexGrid::SetRows(int rows)
{
    m_model->SetRows(rows);
}

void CMSFlexGrid::SetCols(int cols)
{
    m_model->SetCols(cols);
}

void CMSFlexGrid::SetFixedRows(int n)
{
    m_model->SetFixedRows(n);
    horizontalHeader()->setVisible(m_model->GetFixedRows() > 0);
}

void CMSFlexGrid::SetFixedCols(int n)
{
    m_model->SetFixedCols(n);
    verticalHeader()->setVisible(m_model->GetFixedCols() > 0);
}

std::string CMSFlexGrid::GetTextMatrix(int row, int col) const
{
    return m_model->Text(row, col).toStdString();
}

void CMSFlexGrid::SetTextMatrix(int row, int col, const std::string& text)
{
    m_model->SetText(row, col, QString::fromStdString(text));
}

void CMSFlexGrid::Clear()
{
    m_model->ClearAll();
}

int CMSFlexGrid::GetRow() const
{
    const QModelIndex idx = currentIndex();
    return idx.isValid() ? m_model->GridRow(idx) : -1;
}

int CMSFlexGrid::GetCol() const
{
    const QModelIndex idx = currentIndex();
    return idx.isValid() ? m_model->GridCol(idx) : -1;
}

void CMSFlexGrid::SetCurrentCell(int row, int col)
{
    const QModelIndex idx = m_model->IndexOf(row, col);
    if (idx.isValid())
        setCurrentIndex(idx);
}

void CMSFlexGrid::SetColWidth(int col, int pixels)
{
    if (col < m_model->GetFixedCols())
        verticalHeader()->setFixedWidth(pixels);
    else
        setColumnWidth(col - m_model->GetFixedCols(), pixels);
}

int CMSFlexGrid::GetColWidth(int col) const
{
    if (col < m_model->GetFixedCols())
        return verticalHeader()->width();
    return columnWidth(col - m_model->GetFixedCols());
}

QRect CMSFlexGrid::CellRect(int row, int col) const
{
    const QModelIndex idx = m_model->IndexOf(row, col);
    if (!idx.isValid())
        return {};
    QRect r = visualRect(idx);
    return r.translated(viewport()->mapTo(this, QPoint(0, 0)));
}

void CMSFlexGrid::SetRowHeight(int pixels)
{
    verticalHeader()->setMinimumSectionSize(std::min(pixels, verticalHeader()->minimumSectionSize()));
    verticalHeader()->setDefaultSectionSize(pixels);
}

void CMSFlexGrid::SetMergedCells(int row, int col, int rows, int cols)
{
    const QModelIndex first = m_model->IndexOf(row, col);
    if (!first.isValid() || rows < 1 || cols < 1)
        return;
    rows = std::min(rows, m_model->rowCount() - first.row());
    cols = std::min(cols, m_model->columnCount() - first.column());
    if (rows * cols > 1)
        setSpan(first.row(), first.column(), rows, cols);
}

void CMSFlexGrid::ClearMergedCells()
{
    clearSpans();
}

void CMSFlexGrid::SelectCells(int row1, int col1, int row2, int col2)
{
    const QModelIndex a = m_model->IndexOf(row1, col1);
    const QModelIndex b = m_model->IndexOf(row2, col2);
    if (!a.isValid() || !b.isValid())
        return;
    setCurrentIndex(a);
    selectionModel()->select(QItemSelection(a, b), QItemSelectionModel::ClearAndSelect);
}

std::vector<int> CMSFlexGrid::SelectedRows() const
{
    std::set<int> rows;
    for (const QModelIndex& idx : selectionModel()->selectedIndexes())
        rows.insert(m_model->GridRow(idx));
    return {rows.begin(), rows.end()};
}

std::vector<int> CMSFlexGrid::SelectedCols() const
{
    std::set<int> cols;
    for (const QModelIndex& idx : selectionModel()->selectedIndexes())
        cols.insert(m_model->GridCol(idx));
    return {cols.begin(), cols.end()};
}
