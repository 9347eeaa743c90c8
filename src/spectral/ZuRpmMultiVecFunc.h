#pragma once
// Several subsystems' spectra over engine speed: for each RPM one vector function (one spectrum per
// subsystem). The table shows one chosen index with one column per subsystem; the axis flag
// chooses whether the rows are RPMs (index a frequency) or frequencies (index an RPM). It is the
// result of the SPL calculation by RPM.
//
// Frequencies and subsystems are those of the first entry; every entry has the same ones.
#include <cstdint>
#include <string>

#include "platform/elements/DataWriter.h"
#include "platform/elements/ZuRpmSelFunc.h"
#include "spectral/MapWindows.h"

class CZuVecFunc;
class IMessageTarget;

class CZuRpmMultiVecFunc : public CZuRpmSelFunc, public IDataWriter
{
    DECLARE_SERIAL(CZuRpmMultiVecFunc)
public:
    CZuRpmMultiVecFunc(); // the class factory
    CZuRpmMultiVecFunc(const std::string& name, CMElement* parent, int kind);
    ~CZuRpmMultiVecFunc() override;

    void SetLabel(const std::string& label) { m_label = label; }
    std::string GetLabel() const { return m_label; }

    // View state: non-zero axis flag means RPM rows, everywhere (rows, labels and counts).
    void SetAxisFlag(int flag) { m_axisFlag = flag; }
    int GetAxisFlag() const { return m_axisFlag; }
    void SetSmoothingWidth(int width) { m_smoothingWidth = width; }
    int GetSmoothingWidth() const { return m_smoothingWidth; }
    void SetOverallBandRange(int first, int last)
    {
        m_overallFirst = first;
        m_overallLast = last;
    }
    void SetSelectedCell(int first, int last) { SetOverallBandRange(first, last); }
    void SetWindow(int slot, IMessageTarget* window);
    IMessageTarget* GetWindow(int slot) const;

    // The vector function of entry i; null outside or when the entry is not one.
    CZuVecFunc* GetVecFunc(int i) const;
    double GetAxisValue(int i) const;
    double GetFreq(int i) const;
    int GetFreqCount() const;
    int GetSubsystemCount() const;
    std::string GetSubsystemName(int k) const;
    // The value of subsystem k at table cell (index, row); 0.0 outside the entries.
    double DataValue(int index, int row, int subsystem) const;
    double GetSmoothedValue(int index, int row, int subsystem) const;
    double GetOverallLevel(int index, int row, int subsystem, int structure, int aWeighting) const;

    COLORREF GetTableCellColor(int row, int col, int index) override;
    void GetSelection(int row, int col, int index, CZuSubsystemTable* table) override;
    void ChangeDataValue(int row, int col, int index, double value, int flag) override;
    void CopyToClipboard(CArchive& ar, int withLabels, int index, const CZuCellRect* selection) override;
    void PasteFromClipboard(CArchive& ar, int index, const CZuCellPoint* point) override;
    std::string GetFreqIndicator(int index) override;
    std::string GetTableCellData(int row, int col, int index, int numberFormat) override;
    // The columns are named by the local points: data, shown as they are.
    std::string GetShownTableCell(int row, int col, int index, int numberFormat) override;
    bool GetTableCellValue(int row, int col, int index, double& value) override;
    void GetTableColumnValues(int col, int index, std::vector<double>& values) override;
    int GetTableRowCount(int index) override;
    int GetTableColCount(int index) override;
    int GetTableFreqCount() override;

    int WriteDump(CStdioFile& file, const std::string& param) override;

    // The RPM-selection part, then the label.
    void Serialize(CArchive& ar) override;

private:
    bool RowsAreRpms() const { return m_axisFlag != 0; }
    void TableToEntry(int index, int row, int& entry, int& point) const;
    bool ValueAt(int entry, int point, int subsystem, double& value) const;
    double SmoothedAt(int entry, int point, int subsystem) const;

    int32_t m_axisFlag = -1;
    int32_t m_smoothingWidth = 0;
    std::string m_label;
    CMapWindows m_windows;
    int32_t m_overallFirst = -1;
    int32_t m_overallLast = -1;
};
