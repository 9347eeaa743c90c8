#pragma once
// A vector function with its own copy of the subsystem list and a subsystem name: one value per
// data point (a frequency, or an RPM for results over engine speed) and column (a subsystem, or an
// order), shown as a point-by-column table.
#include <memory>
#include <string>

#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuVecFunc.h"

class CMultiVectorFunction : public CZuVecFunc
{
    DECLARE_SERIAL(CMultiVectorFunction)
public:
    // Stored forms read: 1 (no subsystem name) and 2.
    static constexpr uint32_t kSchema = 2;

    CMultiVectorFunction(); // the class factory
    CMultiVectorFunction(const std::string& name, const CZuSubsystemTable* table, int dataCount, CMElement* parent,
                         int kind);
    ~CMultiVectorFunction() override;

    // The subsystem name of the data (decides structure or cavity units).
    virtual std::string GetLabel() const { return m_label; }
    virtual void SetLabel(const std::string& label) { m_label = label; }
    // The owned list that names the columns.
    CZuSubsystemTable* GetSubsystemTable() const { return m_list.get(); }
    // Replaces the columns (values are kept by name, see CZuVecFunc).
    void SetColumns(const CZuSubsystemTable& table);

    std::string GetTableCellData(int row, int col, int index, int numberFormat) override;
    void CopyToClipboard(CArchive& ar, int withLabels, int index, const CZuCellRect* selection) override;
    void PasteFromClipboard(CArchive& ar, int index, const CZuCellPoint* point) override;

    // The vector function part, the subsystem list (an object), the subsystem name (from schema 2).
    void Serialize(CArchive& ar) override;

private:
    std::unique_ptr<CZuSubsystemTable> m_list;
    std::string m_label;
};
