#pragma once
// Several subsystems' spectra over engine order: one RPM-selected function per order (each entry a
// vector function per RPM). It has no table of its own; its dump lists every order and RPM.
#include <memory>
#include <string>
#include <vector>

#include "platform/elements/DataWriter.h"
#include "platform/elements/ZuRpmSelFunc.h"

class CZuOTMultiVecFunc : public CZuRpmSelFunc, public IDataWriter
{
    DECLARE_SERIAL(CZuOTMultiVecFunc)
public:
    CZuOTMultiVecFunc(); // the class factory
    CZuOTMultiVecFunc(const std::string& name, CMElement* parent, int kind);
    ~CZuOTMultiVecFunc() override;

    // Appends an order and its entry (owned). A null entry adds nothing (orders and entries stay
    // parallel); returns false then.
    bool AddOrder(double order, CZuRpmSelFunc* entry);
    bool AddOrder(double order, std::unique_ptr<CZuRpmSelFunc> entry);
    int GetOrderCount() const { return static_cast<int>(m_orders.size()); }
    double GetOrder(int i) const { return m_orders.at(static_cast<size_t>(i)); }
    // Entry of order i; null outside.
    CZuRpmSelFunc* GetOrderEntry(int i) const;

    void SetLabel(const std::string& label) { m_label = label; }
    std::string GetLabel() const { return m_label; }
    void SetOrderFactor(float factor) { m_factor = factor; }
    void SetDaqConfigFactor(float factor) { SetOrderFactor(factor); }
    float GetOrderFactor() const { return m_factor; }

    // No table of its own.
    std::string GetTableCellData(int row, int col, int index, int numberFormat) override;
    int GetTableRowCount(int index) override;
    int GetTableColCount(int index) override;
    int GetTableFreqCount() override;

    int WriteDump(CStdioFile& file, const std::string& param) override;

    // The RPM-selection part, orders, entries (objects), factor, label.
    void Serialize(CArchive& ar) override;

private:
    std::vector<double> m_orders;
    std::vector<std::unique_ptr<CZuRpmSelFunc>> m_entries;
    std::string m_label;
    float m_factor = 1.0f;
};
