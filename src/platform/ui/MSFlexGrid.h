#pragma once
// The grid control the dialogs and views use for tables: a table view over a CFlexGridModel,
// addressed in grid coordinates (row and column 0 are the first fixed cells when there are fixed
// cells). Rows have one fixed height so that the view lays out tables of many thousands of rows
// without measuring them.
#include <QTableView>

#include <string>

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

protected:
    CFlexGridModel* m_model;
};
