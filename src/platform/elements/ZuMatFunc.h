#pragma once
// A subsystem-by-subsystem matrix per data point (band), such as the loss-factor (eta) matrix.
// Rows and columns are named by their own subsystem tables (copies, like CZuVecFunc's).
// Table: one table per band (the table index); row 0 and column 0 carry the subsystem names.
#include <string>
#include <vector>

#include "platform/elements/ZuFuncElement.h"
#include "platform/elements/ZuSubsystemTable.h"

class CZuMatFunc : public CZuFuncElement
{
    DECLARE_SERIAL(CZuMatFunc)
public:
    CZuMatFunc();
    // cols null: the same table as rows (a square matrix).
    CZuMatFunc(const std::string& name, const CZuSubsystemTable* rows, const CZuSubsystemTable* cols, int dataCount,
               CMElement* parent, int type);
    ~CZuMatFunc() override;

    // Element (row, col) of the matrix of data point i (writable).
    double& DataValue(int i, int row, int col);
    double DataValue(int i, int row, int col) const;
    // The rows x columns values of data point i, row by row (rows * columns doubles); null outside.
    const double* GetPointValues(int i) const;

    int GetRowSubsystemCount() const { return m_rows.GetCount(); }
    int GetColSubsystemCount() const { return m_cols.GetCount(); }
    std::string GetRowSubsystem(int i) const;
    std::string GetColSubsystem(int i) const;
    int GetRowIndex(const std::string& name) const { return m_rows.GetIndex(name); }
    int GetColIndex(const std::string& name) const { return m_cols.GetIndex(name); }
    const CZuSubsystemTable& GetRowTable() const { return m_rows; }
    const CZuSubsystemTable& GetColTable() const { return m_cols; }
    // Binds rows and columns to other tables (cols null: the rows' table), keeping values by name.
    void SetSubsystemTable(const CZuSubsystemTable* rows, const CZuSubsystemTable* cols = nullptr);

    // The function-element view of a matrix: its row subsystems.
    int GetSubsystemCount() const override { return m_rows.GetCount(); }
    std::string GetSubsystem(int i) const override { return GetRowSubsystem(i); }
    int GetIndex(const std::string& name) const override { return m_rows.GetIndex(name); }

    // Copies data index, tables and values of another matrix (name, type and tree stay).
    void Assign(const CZuMatFunc& other);
    CZuMatFunc& operator=(const CZuMatFunc& other)
    {
        Assign(other);
        return *this;
    }

    void Empty() override;

    std::string GetTableCellData(int row, int col, int index, int numberFormat) override;
    int GetTableRowCount(int index) override;
    int GetTableColCount(int index) override;
    int GetTableFreqCount() override { return GetDataCount(); }
    std::string GetFreqIndicator(int index) override;
    void ChangeDataValue(int row, int col, int index, double value, int flag) override;
    void GetSelection(int row, int col, int index, CZuSubsystemTable* table) override;

    // Version byte, the function element part, row table, column table, values
    // (points x rows x columns).
    void Serialize(CArchive& ar) override;

protected:
    void OnDataCountChanged(int oldCount) override;
    const char* TextTag() const override { return "ZuMatFunc"; }
    void ExportBody(CStdioFile& file) override;
    bool ImportBody(const std::vector<std::string>& lines, int dataCount) override;

private:
    size_t Offset(int i, int row, int col) const;
    CZuSubsystemTable m_rows;
    CZuSubsystemTable m_cols;
    std::vector<double> m_values; // [(i * rows + row) * cols + col]
};
