#pragma once
// The grid control the dialogs and views use for tables: a table view over a CFlexGridModel,
// addressed in grid coordinates (row and column 0 are the first fixed cells when there are fixed
// cells). Rows have one fixed height so that the view lays out tables of many thousands of rows
// without measuring them.
#include <QTableView>

#include <string>
#include <vector>

class CFlexGridModel;

class CMSFlexGrid : public QTableView
{
    Q_OBJECT
public:
    explicit CMSFlexGrid(QWidget* parent = nullptr);

    CFlexGridModel* GridModel() const { return m_model; }

    int GetRows() const;
    int GetCols() const;
    void SetRows(int rows);
    void SetCols(int cols);
    int GetFixedRows() const;
    int GetFixedCols() const;
    void SetFixedRows(int n);
    void SetFixedCols(int n);

    std::string GetTextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, const std::string& text);
    void Clear();

    // The current cell in grid coordinates (-1 when none); setting makes a body cell current.
    int GetRow() const;
    int GetCol() const;
    void SetCurrentCell(int row, int col);
    // Column width in pixels (fixed columns: the width of the row headings).
    void SetColWidth(int col, int pixels);
    int GetColWidth(int col) const;
    // A body cell's rectangle in the coordinates of the grid widget; empty for fixed cells.
    QRect CellRect(int row, int col) const;
    // Every body row this high (pixels).
    void SetRowHeight(int pixels);

    // Merged cells: the body cells from (row, col) over rows x cols show as one cell, the text of
    // the first. A merge over fixed cells is ignored.
    void SetMergedCells(int row, int col, int rows, int cols);
    void ClearMergedCells();
    // Selects the body cells from (row1, col1) to (row2, col2) (grid coordinates, any corner
    // order) in place of the selection, and makes the first current.
    void SelectCells(int row1, int col1, int row2, int col2);
    // The selected body cells' grid rows and columns, each ascending and without repeats.
    std::vector<int> SelectedRows() const;
    std::vector<int> SelectedCols() const;

protected:
    CFlexGridModel* m_model;
};
