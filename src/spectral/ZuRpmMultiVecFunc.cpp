#include "spectral/ZuRpmMultiVecFunc.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "common/Quantity.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/GfxUtil.h"
#include "spectral/ClipboardText.h"
#include "spectral/SpectrumDisplayOptions.h"
#include "spectral/ZuRpmFunc.h"

IMPLEMENT_SERIAL(CZuRpmMultiVecFunc, CZuRpmSelFunc, 0 | VERSIONABLE_SCHEMA)

CZuRpmMultiVecFunc::CZuRpmMultiVecFunc() : CZuRpmMultiVecFunc(std::string(), nullptr, -1) {}

CZuRpmMultiVecFunc::CZuRpmMultiVecFunc(const std::string& name, CMElement* parent, int kind)
    : CZuRpmSelFunc(name, parent, kind)
{}

CZuRpmMultiVecFunc::~CZuRpmMultiVecFunc()
{
    m_windows.CloseAll();
}

void CZuRpmMultiVecFunc::SetWindow(int slot, IMessageTarget* window)
{
    m_windows.Set(slot, window);
}

IMessageTarget* CZuRpmMultiVecFunc::GetWindow(int slot) const
{
    return m_windows.Get(slot);
}

CZuVecFunc* CZuRpmMultiVecFunc::GetVecFunc(int i) const
{
    return dynamic_cast<CZuVecFunc*>(GetRpmData(i));
}

double CZuRpmMultiVecFunc::GetFreq(int i) const
{
    const CZuVecFunc* v = GetVecFunc(0);
    return v && i >= 0 && i < v->GetDataCount() ? v->DataIndex(i) : 0.0;
}

int CZuRpmMultiVecFunc::GetFreqCount() const
{
    const CZuVecFunc* v = GetVecFunc(0);
    return v ? v->GetDataCount() : 0;
}

int CZuRpmMultiVecFunc::GetSubsystemCount() const
{
    const CZuVecFunc* v = GetVecFunc(0);
    return v ? v->GetSubsystemCount() : 0;
}

std::string CZuRpmMultiVecFunc::GetSubsystemName(int k) const
{
    const CZuVecFunc* v = GetVecFunc(0);
    return v && k >= 0 && k < v->GetSubsystemCount() ? v->GetSubsystem(k) : std::string();
}

double CZuRpmMultiVecFunc::GetAxisValue(int i) const
{
    return RowsAreRpms() ? GetRpm(i) : GetFreq(i);
}

void CZuRpmMultiVecFunc::TableToEntry(int index, int row, int& entry, int& point) const
{
    if (RowsAreRpms()) {
        entry = row;
        point = index;
    } else {
        entry = index;
        point = row;
    }
}

bool CZuRpmMultiVecFunc::ValueAt(int entry, int point, int subsystem, double& value) const
{
    const CZuVecFunc* v = GetVecFunc(entry);
    if (!v || point < 0 || point >= v->GetDataCount() || subsystem < 0 || subsystem >= v->GetSubsystemCount())
        return false;
    value = v->DataValue(point, subsystem);
    return true;
}

double CZuRpmMultiVecFunc::DataValue(int index, int row, int subsystem) const
{
    int entry = 0, point = 0;
    TableToEntry(index, row, entry, point);
    double value = 0.0;
    return ValueAt(entry, point, subsystem, value) ? value : 0.0;
}

double CZuRpmMultiVecFunc::SmoothedAt(int entry, int point, int subsystem) const
{
    double value = 0.0;
    const int n = m_smoothingWidth;
    if (n <= 0)
        return ValueAt(entry, point, subsystem, value) ? value : 0.0;
    if (entry - n < 0 || entry + n > GetRpmCount() - 1)
        return 0.0;
    std::vector<double> window;
    for (int e = entry - n; e <= entry + n; ++e)
        if (ValueAt(e, point, subsystem, value))
            window.push_back(value);
    return MeanOfPositive(window.data(), static_cast<int>(window.size()), GetType());
}

double CZuRpmMultiVecFunc::GetSmoothedValue(int index, int row, int subsystem) const
{
    int entry = 0, point = 0;
    TableToEntry(index, row, entry, point);
    return SmoothedAt(entry, point, subsystem);
}

double CZuRpmMultiVecFunc::GetOverallLevel(int index, int row, int subsystem, int structure, int aWeighting) const
{
    const int first = m_overallFirst, last = m_overallLast;
    if (first < 0 || last < 0 || last - first < 0)
        return GetSmoothedValue(index, row, subsystem);
    int entry = 0, point = 0;
    TableToEntry(index, row, entry, point);
    return OverallBandLevel(
        this, first, last, GetFreqCount(), structure, aWeighting,
        [&](int k) { return SmoothedAt(entry, k, subsystem); }, [&](int k) { return GetFreq(k); });
}

COLORREF CZuRpmMultiVecFunc::GetTableCellColor(int, int, int)
{
    return 0;
}

void CZuRpmMultiVecFunc::GetSelection(int, int, int, CZuSubsystemTable*) {}

void CZuRpmMultiVecFunc::ChangeDataValue(int, int, int, double, int) {}

void CZuRpmMultiVecFunc::PasteFromClipboard(CArchive& ar, int index, const CZuCellPoint* point)
{
    // One table at a time: the index shown, from the paste point on (each at least (1, 1)).
    if (!CanChangeValues() || index < 0 || index >= GetTableFreqCount())
        return;
    std::string line;
    bool labelled = false;
    if (!CClipboardText::ReadFirstDataLine(ar, line, labelled))
        return;
    if (!CClipboardText::SkipColumnHeaderLine(ar, line, labelled, RowsAreRpms() ? "RPM" : "Freq. [Hz]"))
        return;
    const int structure = SpectrumIsStructure(this, m_label);
    const int inDb = SpectrumShowInDB(this);
    const int aWeighting = SpectrumAWeighting(this);
    const int rows = GetTableRowCount(index);
    const int cols = GetTableColCount(index);
    int row = point ? std::max(point->y, 1) : 1;
    const int firstCol = point ? std::max(point->x, 1) : 1;
    do {
        if (row >= rows)
            break;
        const std::vector<std::string> fields = CClipboardText::SplitFields(line);
        int col = firstCol;
        for (size_t f = labelled ? 1 : 0; f < fields.size() && col < cols; ++f, ++col) {
            double v = 0.0;
            // A field that is no number leaves its cell as it is.
            if (!CClipboardText::ParseValue(fields[f], v))
                continue;
            int entry = 0, pt = 0;
            TableToEntry(index, row - 1, entry, pt);
            CZuVecFunc* vec = GetVecFunc(entry);
            const int subsystem = col - 1;
            if (!vec || pt < 0 || pt >= vec->GetDataCount() || subsystem >= vec->GetSubsystemCount())
                continue;
            const double old = vec->DataValue(pt, subsystem);
            // By entry, not by pointer: the entries may change before the undo.
            PushUndo(index, [this, entry, pt, subsystem, old] {
                CZuVecFunc* v = GetVecFunc(entry);
                if (v && pt < v->GetDataCount() && subsystem < v->GetSubsystemCount())
                    v->DataValue(pt, subsystem) = old;
            });
            const double freq = aWeighting ? GetFreq(RowsAreRpms() ? index : row - 1) : 0.0;
            vec->DataValue(pt, subsystem) = DisplayToQuantityValue(this, v, inDb, structure, freq);
        }
        ++row;
    } while (ar.ReadLine(line));
}

int CZuRpmMultiVecFunc::GetTableRowCount(int)
{
    return (RowsAreRpms() ? GetRpmCount() : GetFreqCount()) + 1;
}

int CZuRpmMultiVecFunc::GetTableColCount(int)
{
    return GetSubsystemCount() + 1;
}

int CZuRpmMultiVecFunc::GetTableFreqCount()
{
    return RowsAreRpms() ? GetFreqCount() : GetRpmCount();
}

std::string CZuRpmMultiVecFunc::GetFreqIndicator(int index)
{
    if (index < 0 || index >= GetTableFreqCount())
        return std::string();
    // The same band label as the other orientation shows in its rows (nominal centre).
    return RowsAreRpms() ? CGfxUtil::GetManipulatedFrequencyString(GetFreq(index))
                         : CGfxUtil::NumberText(GetRpm(index));
}

std::string CZuRpmMultiVecFunc::GetShownTableCell(int row, int col, int index, int numberFormat)
{
    return row == 0 && col > 0 ? GetTableCellData(row, col, index, numberFormat)
                               : CZuTableData::GetShownTableCell(row, col, index, numberFormat);
}

std::string CZuRpmMultiVecFunc::GetTableCellData(int row, int col, int index, int numberFormat)
{
    if (row < 0 || col < 0 || row >= GetTableRowCount(index) || col >= GetTableColCount(index))
        return std::string();
    if (row == 0 && col == 0)
        return RowsAreRpms() ? "RPM" : "Freq. [Hz]";
    if (row == 0)
        return GetSubsystemName(col - 1);
    const int r = row - 1;
    if (col == 0)
        return RowsAreRpms() ? CGfxUtil::NumberText(GetRpm(r)) : CGfxUtil::GetManipulatedFrequencyString(GetFreq(r));
    if (index < 0 || index >= GetTableFreqCount())
        return std::string();
    const int structure = SpectrumIsStructure(this, m_label);
    const int aWeighting = SpectrumAWeighting(this);
    // Only a real range shows an overall level; a reversed one shows the value as any cell.
    if (m_overallFirst >= 0 && m_overallLast >= m_overallFirst)
        return CGfxUtil::GenFormat(GetOverallLevel(index, r, col - 1, structure, aWeighting), numberFormat);
    double freq = 0.0;
    if (aWeighting)
        freq = RowsAreRpms() ? GetFreq(index) : GetFreq(r);
    std::string text;
    FormatQuantityValue(text, this, GetSmoothedValue(index, r, col - 1), numberFormat, SpectrumShowInDB(this),
                        structure, freq);
    return text;
}

void CZuRpmMultiVecFunc::CopyToClipboard(CArchive& ar, int withLabels, int index, const CZuCellRect* selection)
{
    const int digits = CZuRpmFunc::kClipboardDigits;
    const CZuCellRect block = DataBlock(index, selection);
    std::string headerFirst;
    if (withLabels) {
        const int structure = SpectrumIsStructure(this, m_label);
        std::string title = m_label;
        if (index >= 0 && index < GetTableFreqCount())
            title += RowsAreRpms() ? Format("\t%g [Hz]", GetFreq(index)) : Format("\t%g [RPM]", GetRpm(index));
        title +=
            Format("\t%s [%s]\r\n", GetQuantityName(this, structure).c_str(),
                   GetQuantityAxisLabel(this, SpectrumShowInDB(this), structure, SpectrumAWeighting(this)).c_str());
        ar.WriteText(title);
        headerFirst = GetTableCellData(0, 0, index, digits);
    }
    WriteBlock(ar, block, withLabels, index, digits, headerFirst);
}

int CZuRpmMultiVecFunc::WriteDump(CStdioFile& file, const std::string&)
{
    for (int e = 0; e < GetRpmCount(); ++e) {
        const CZuVecFunc* v = GetVecFunc(e);
        if (!v)
            continue;
        std::string line = Format("%g", GetRpm(e));
        for (int k = 0; k < v->GetSubsystemCount(); ++k)
            line += Format("\t%s", v->GetSubsystem(k).c_str());
        file.WriteString(line + "\n");
        for (int i = 0; i < v->GetDataCount(); ++i) {
            line = Format("%g", v->DataIndex(i));
            for (int k = 0; k < v->GetSubsystemCount(); ++k)
                line += Format("\t%e", v->DataValue(i, k));
            file.WriteString(line + "\n");
        }
        file.WriteString("\n");
    }
    return 1;
}

void CZuRpmMultiVecFunc::Serialize(CArchive& ar)
{
    CZuRpmSelFunc::Serialize(ar);
    if (ar.IsStoring())
        ar << m_label;
    else
        ar >> m_label;
}

bool CZuRpmMultiVecFunc::GetTableCellValue(int row, int col, int index, double& value)
{
    value = 0.0;
    if (row < 1 || col < 1 || row >= GetTableRowCount(index) || col >= GetTableColCount(index) || index < 0 ||
        index >= GetTableFreqCount())
        return false;
    const int r = row - 1;
    const int structure = SpectrumIsStructure(this, m_label);
    const int aWeighting = SpectrumAWeighting(this);
    if (m_overallFirst >= 0 && m_overallLast >= m_overallFirst) {
        value = GetOverallLevel(index, r, col - 1, structure, aWeighting);
        return true;
    }
    double freq = 0.0;
    if (aWeighting)
        freq = RowsAreRpms() ? GetFreq(index) : GetFreq(r);
    return QuantityDisplayValue(&value, this, GetSmoothedValue(index, r, col - 1), SpectrumShowInDB(this), structure,
                                freq);
}

void CZuRpmMultiVecFunc::GetTableColumnValues(int col, int index, std::vector<double>& values)
{
    const int rows = std::max(0, GetTableRowCount(index) - 1);
    values.assign(static_cast<size_t>(rows), std::numeric_limits<double>::quiet_NaN());
    if (col < 1 || col >= GetTableColCount(index) || index < 0 || index >= GetTableFreqCount())
        return;
    // The display options are the owner's: asked once for the whole column.
    const int structure = SpectrumIsStructure(this, m_label);
    const int aWeighting = SpectrumAWeighting(this);
    const int inDb = SpectrumShowInDB(this);
    const bool overall = m_overallFirst >= 0 && m_overallLast >= m_overallFirst;
    for (int r = 0; r < rows; ++r) {
        double v = 0.0;
        if (overall) {
            v = GetOverallLevel(index, r, col - 1, structure, aWeighting);
        } else {
            const double freq = aWeighting ? (RowsAreRpms() ? GetFreq(index) : GetFreq(r)) : 0.0;
            if (!QuantityDisplayValue(&v, this, GetSmoothedValue(index, r, col - 1), inDb, structure, freq))
                continue;
        }
        values[static_cast<size_t>(r)] = v;
    }
}
