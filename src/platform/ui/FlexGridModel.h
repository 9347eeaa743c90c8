#pragma once
// The cells of a flex grid: rows x columns of texts, of which the first fixedRows rows and
// fixedCols columns are the grid's fixed (heading) cells. The item model shows the body cells; the
// fixed rows become the column headings and the fixed columns the row headings, so they stay in
// place while the body scrolls. Cells are stored in one flat array: a view asks only for the
// cells it shows, which keeps tables of a million cells quick. Column headings are written in
// English and shown in the language loaded when they are drawn, so an open grid follows a change
// of language; row headings are the grid's own data and show as written.
#include <QAbstractTableModel>
#include <QColor>
#include <QString>

#include <map>
#include <utility>
#include <vector>

class CFlexGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit CFlexGridModel(QObject* parent = nullptr);

    int GetRows() const { return m_rows; }
    int GetCols() const { return m_cols; }
    int GetFixedRows() const { return m_fixedRows; }
    int GetFixedCols() const { return m_fixedCols; }
    // Sizes keep the texts of the cells that stay. Fixed counts are limited to the size.
    void SetRows(int rows);
    void SetCols(int cols);
    void SetFixedRows(int n);
    void SetFixedCols(int n);
    // Grid coordinates (fixed cells included); out-of-range cells read empty and ignore writes.
    QString Text(int row, int col) const;
    void SetText(int row, int col, const QString& text);
    // Empties every cell.
    void ClearAll();
    // Body cells may be edited in place through the view (Qt's own editors).
    void SetEditable(bool editable) { m_editable = editable; }

    // Cell styles (grid coordinates). An invalid colour restores the view's own. The background of
    // a fixed-row cell colours its column heading.
    void SetCellBackColor(int row, int col, const QColor& color);
    void SetCellForeColor(int row, int col, const QColor& color);
    void SetCellBold(int row, int col, bool bold);
    QColor CellBackColor(int row, int col) const;
    QColor CellForeColor(int row, int col) const;
    // Check-box cells: state 0 or 1 makes the cell a check box (its text the label), -1 a plain
    // cell again. The user ticks body check boxes in the view; CellCheck is -1 for plain cells.
    void SetCellCheck(int row, int col, int state);
    int CellCheck(int row, int col) const;
    // Drops every style and check box.
    void ClearStyles();

    // Model index <-> grid coordinates.
    QModelIndex IndexOf(int row, int col) const;
    int GridRow(const QModelIndex& index) const { return index.row() + m_fixedRows; }
    int GridCol(const QModelIndex& index) const { return index.column() + m_fixedCols; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // A check-box cell changed its state (grid coordinates); not told when a cell becomes or stops
    // being a check box.
    void CellCheckChanged(int row, int col);

private:
    struct CellStyle
    {
        QColor back;
        QColor fore;
        bool bold = false;
        int check = -1;
    };
    const CellStyle* StyleOf(int row, int col) const;
    CellStyle* EditStyle(int row, int col);
    void StyleChanged(int row, int col);
    void Reshape(int rows, int cols);

    int m_rows = 0;
    int m_cols = 0;
    int m_fixedRows = 0;
    int m_fixedCols = 0;
    bool m_editable = false;
    std::vector<QString> m_cells;                      // row-major, m_rows x m_cols
    std::map<std::pair<int, int>, CellStyle> m_styles; // only the cells that have one
};
