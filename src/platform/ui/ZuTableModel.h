#pragma once
// The item model of the table windows: one table index (subset) of a CZuTableData, read straight
// from the element. Row 0 and column 0 of the table are its headers and become the view's header
// sections; the body cells are the data cells from (1, 1) on. Nothing is copied: a view asks only
// for the cells it shows, so a map of a hundred thousand rows opens as quickly as a small one.
#include <QAbstractTableModel>

class CZuTableData;

class CZuTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit CZuTableModel(QObject* parent = nullptr);

    // The table and the index shown; null shows nothing. Resets the model.
    void SetTable(CZuTableData* data, int index);
    CZuTableData* GetTable() const { return m_data; }
    int GetIndex() const { return m_index; }
    // Number format of the cell texts (decimal places).
    void SetNumberFormat(int decimals);
    int GetNumberFormat() const { return m_decimals; }
    // Re-reads the counts and every cell (after the element changed).
    void Refresh();

    // Table coordinates (headers included) of a model index and back.
    static int TableRow(const QModelIndex& index) { return index.row() + 1; }
    static int TableCol(const QModelIndex& index) { return index.column() + 1; }
    QModelIndex IndexOf(int tableRow, int tableCol) const;

    // Number of data() calls that asked the element for a cell text since the last reset of the
    // counter: how a test or benchmark sees that only the visible cells are read.
    long long CellRequests() const { return m_requests; }
    void ResetCellRequests() { m_requests = 0; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    CZuTableData* m_data = nullptr;
    int m_index = 0;
    int m_decimals = 2;
    int m_rows = 0; // body rows (table rows - 1)
    int m_cols = 0; // body columns (table columns - 1)
    mutable long long m_requests = 0;
};
