#pragma once
// A spectrum map over engine order: for each order of a list, a full spectrum map over RPM. Its
// table shows RPM rows against order columns; a cell is the order's map value at that RPM in the
// band that holds the order frequency (rpm x order x factor / 60 Hz) in the owning analysis
// project's band set.
#include <memory>
#include <string>
#include <vector>

#include "platform/elements/DataWriter.h"
#include "platform/elements/ZuTableData.h"
#include "spectral/ZuRpmFunc.h"

class COctaveManagerEx;

class CZuOTFunc : public CZuTableData, public IDataWriter
{
    DECLARE_SERIAL(CZuOTFunc)
public:
    // Oldest stored form that is read.
    static constexpr uint32_t kOldestSchema = 2;

    CZuOTFunc(); // empty name, no parent, kind -1 (the class factory)
    CZuOTFunc(const std::string& name, CMElement* parent, int kind);
    ~CZuOTFunc() override;

    // A map with one all-zero spectrum map over RPM per order (NewRpmFunc of the same arguments).
    static std::unique_ptr<CZuOTFunc> BuildOTFunc(const std::string& name, int kind, CMElement* parent,
                                                  const std::string& subsystem, const double* freqs, int freqCount,
                                                  const double* rpms, int rpmCount, const std::vector<double>& orders,
                                                  float factor);

    // Appends an order with its map (owned). A null map adds nothing, so that orders and maps stay
    // parallel; returns false then.
    bool AddOrder(double order, CZuRpmFunc* map);
    bool AddOrder(double order, std::unique_ptr<CZuRpmFunc> map);
    int GetOrderCount() const { return static_cast<int>(m_orders.size()); }
    // Order i and its map (checked: std::out_of_range / null outside).
    double GetOrder(int i) const { return m_orders.at(static_cast<size_t>(i)); }
    CZuRpmFunc* GetOrderFunc(int i) const;
    const std::vector<double>& GetOrderArray() const { return m_orders; }
    // The map of the first order equal to order exactly; null when none.
    CZuRpmFunc* GetRpmFuncByOrder(double order) const;

    void SetSubsystem(const std::string& name) { m_subsystem = name; }
    std::string GetSubsystem() const { return m_subsystem; }
    void SetLabel(const std::string& name) { SetSubsystem(name); }
    std::string GetLabel() const { return GetSubsystem(); }
    void SetOrderFactor(float factor) { m_factor = factor; }
    float GetOrderFactor() const { return m_factor; }

    // The band set of the owning analysis project; null without one.
    COctaveManagerEx* GetOctaveManager() const;

    // ---- table ----
    COLORREF GetTableCellColor(int row, int col, int index) override;
    void GetSelection(int row, int col, int index, CZuSubsystemTable* table) override;
    void ChangeDataValue(int row, int col, int index, double value, int flag) override;
    void CopyToClipboard(CArchive& ar, int withLabels, int index, const CZuCellRect* selection) override;
    void PasteFromClipboard(CArchive& ar, int index, const CZuCellPoint* point) override;
    std::string GetTableCellData(int row, int col, int index, int numberFormat) override;
    int GetTableRowCount(int index) override;
    int GetTableColCount(int index) override;
    int GetTableFreqCount() override;
    std::string GetFreqIndicator(int index) override;

    int WriteDump(CStdioFile& file, const std::string& param) override;

    // The table part, orders, maps (objects), subsystem name, factor.
    void Serialize(CArchive& ar) override;

private:
    // The band of order i's frequency at RPM row r of its map; -1 when there is none.
    int OrderBand(int i, int r, COctaveManagerEx* bands) const;
    double CellValue(int i, int r, COctaveManagerEx* bands) const;

    std::vector<double> m_orders;
    std::vector<std::unique_ptr<CZuRpmFunc>> m_maps;
    std::string m_subsystem;
    float m_factor = 1.0f;
};
