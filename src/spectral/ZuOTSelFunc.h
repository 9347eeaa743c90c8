#pragma once
// The common part of the order maps whose per-RPM content is a whole table (the dominant paths
// and the power contributions of a target subsystem): for each order of a list, one RPM-selection
// function (one table per RPM), with the subsystem name and the order-frequency factor, like the
// order spectrum map. The map has no table of its own: it shows the table that entry 0 of the
// first order's function selects, and it cannot be edited or pasted into.
#include <memory>
#include <string>
#include <vector>

#include "platform/elements/DataWriter.h"
#include "platform/elements/ZuTableData.h"

class CZuRpmSelFunc;

class CZuOTSelFunc : public CZuTableData, public IDataWriter
{
    DECLARE_DYNAMIC(CZuOTSelFunc)
public:
    ~CZuOTSelFunc() override;

    int GetOrderCount() const { return static_cast<int>(m_orders.size()); }
    // Order i (std::out_of_range outside).
    double GetOrder(int i) const { return m_orders.at(static_cast<size_t>(i)); }
    const std::vector<double>& GetOrderArray() const { return m_orders; }
    // The function of order i; null outside.
    CZuRpmSelFunc* GetOrderSelFunc(int i) const;

    void SetSubsystem(const std::string& name) { m_subsystem = name; }
    std::string GetSubsystem() const { return m_subsystem; }
    void SetOrderFactor(float factor) { m_factor = factor; }
    float GetOrderFactor() const { return m_factor; }

    // The table shown: the one selected by entry 0 of the first order's function; null when the
    // map has no order or that function no entry.
    CZuTableData* GetShownTable() const;

    // ---- table: passed through to the shown table ----
    COLORREF GetTableCellColor(int row, int col, int index) override;
    void GetSelection(int row, int col, int index, CZuSubsystemTable* table) override;
    void ChangeDataValue(int row, int col, int index, double value, int flag) override;
    void CopyToClipboard(CArchive& ar, int withLabels, int index, const CZuCellRect* selection) override;
    void PasteFromClipboard(CArchive& ar, int index, const CZuCellPoint* point) override;
    std::string GetTableCellData(int row, int col, int index, int numberFormat) override;
    std::string GetShownTableCell(int row, int col, int index, int numberFormat) override;
    int GetTableRowCount(int index) override;
    int GetTableColCount(int index) override;
    int GetTableFreqCount() override;
    std::string GetFreqIndicator(int index) override;

    // The subsystem name, then every table of every order and RPM that has content (more than its
    // header and totals rows), its first cell replaced by "O=<order>,R=<rpm>,F=<index label>".
    int WriteDump(CStdioFile& file, const std::string& param) override;

    // Version byte, the table part, orders, functions (objects), subsystem name, factor.
    void Serialize(CArchive& ar) override;

protected:
    CZuOTSelFunc(const std::string& name, CMElement* parent, int kind);
    // Appends an order with its function (owned); a null function adds nothing, so that orders and
    // functions stay parallel, and returns false.
    bool AddOrderSelFunc(double order, std::unique_ptr<CZuRpmSelFunc> function);
    // Reads one per-order function as an object of the derived map's function class (a stored
    // object of another class fails the read).
    virtual std::unique_ptr<CZuRpmSelFunc> ReadOrderSelFunc(CArchive& ar) = 0;

private:
    static constexpr uint8_t kVersion = 1;

    std::vector<double> m_orders;
    std::vector<std::unique_ptr<CZuRpmSelFunc>> m_functions;
    std::string m_subsystem;
    float m_factor = 1.0f;
};
