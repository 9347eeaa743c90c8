#pragma once
// A table element that holds one table per RPM: entries of (RPM, table data element), owned and
// kept in the order added. Its own table operations pass through to the table of entry 0; the
// classes built on it show their entries their own way.
#include <memory>
#include <string>
#include <vector>

#include "platform/elements/ZuTableData.h"

class CZuRpmSelFunc : public CZuTableData
{
    DECLARE_SERIAL(CZuRpmSelFunc)
public:
    CZuRpmSelFunc();
    CZuRpmSelFunc(const std::string& name, CMElement* parent, int type);
    ~CZuRpmSelFunc() override;

    // Appends an entry; the table becomes owned and this its parent. Returns the entry's index, or
    // -1 for a null table (nothing added).
    int AddRpmData(double rpm, CZuTableData* data);
    int AddRpmData(double rpm, std::unique_ptr<CZuTableData> data);
    int GetRpmCount() const { return static_cast<int>(m_entries.size()); }
    // RPM of entry i; 0.0 outside.
    double GetRpm(int i) const;
    // Table of entry i; null outside.
    CZuTableData* GetRpmData(int i) const;
    // Index of the first entry whose RPM equals rpm exactly; -1 when none.
    int FindRpmIndex(double rpm) const;
    // Destroys every entry.
    void RemoveAllRpmData();

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

    // Version byte, the table part, entry count, each entry's RPM and table (an object).
    void Serialize(CArchive& ar) override;

private:
    struct Entry
    {
        double rpm;
        std::unique_ptr<CZuTableData> data;
    };
    std::vector<Entry> m_entries;
};
