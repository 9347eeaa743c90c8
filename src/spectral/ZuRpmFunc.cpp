#include "spectral/ZuRpmFunc.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "common/Quantity.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/gfx/GfxUtil.h"
#include "spectral/ClipboardText.h"
#include "spectral/SpectrumDisplayOptions.h"

IMPLEMENT_SERIAL(CZuRpmFunc, CZuTableData, 0 | VERSIONABLE_SCHEMA)

bool IsAmplitudeKind(int kind)
{
    return kind == ElementType::SpectrumMap || kind == ElementType::ChannelLevels || kind == ElementType::Velocity ||
           kind == ElementType::Pressure;
}

double MeanOfPositive(const double* values, int count, int kind)
{
    const bool rms = IsAmplitudeKind(kind);
    double sum = 0.0;
    int taken = 0;
    for (int i = 0; i < count; ++i) {
        const double v = values[i];
        if (v > 0.0) {
            sum += rms ? v * v : v;
            ++taken;
        }
    }
    if (taken == 0)
        return 0.0;
    return rms ? std::sqrt(sum / taken) : sum / taken;
}

double OverallBandLevel(const CMElement* element, int first, int last, int freqCount, int structure, int aWeighting,
                        const std::function<double(int)>& valueAt, const std::function<double(int)>& freqAt)
{
    double sum = 0.0;
    // Bands beyond the frequency axis hold nothing to add.
    const int end = std::min(last, freqCount - 1);
    for (int k = first; k <= end; ++k) {
        const double value = valueAt(k);
        double db = 0.0;
        if (QuantityValueToDecibel(&db, element, value, structure, aWeighting ? freqAt(k) : 0.0))
            sum += std::pow(10.0, db * 0.1);
        else
            sum += value;
    }
    return sum > 0.0 ? 10.0 * std::log10(sum) : 0.0;
}

CZuRpmFunc::CZuRpmFunc() : CZuRpmFunc(std::string(), 0, nullptr, -1) {}

CZuRpmFunc::CZuRpmFunc(const std::string& name, int freqCount, CMElement* parent, int kind)
    : CZuTableData(name, parent, kind), m_freqs(static_cast<size_t>(std::max(freqCount, 0)), 0.0)
{}

CZuRpmFunc::~CZuRpmFunc()
{
    // Close the windows that show us while we still exist: their closing may still talk to us.
    m_windows.CloseAll();
    DeleteRows(); // after the reads in flight
}

void CZuRpmFunc::BeginSharedRead() const
{
    const std::lock_guard<std::mutex> lock(m_sharedReadMutex);
    m_sharedReads.fetch_add(1, std::memory_order_acq_rel);
}

void CZuRpmFunc::EndSharedRead() const
{
    const std::lock_guard<std::mutex> lock(m_sharedReadMutex);
    if (m_sharedReads.fetch_sub(1, std::memory_order_acq_rel) == 1)
        m_sharedReadsEnded.notify_all();
}

void CZuRpmFunc::WaitForSharedReadsToEnd() const
{
    std::unique_lock<std::mutex> lock(m_sharedReadMutex);
    m_sharedReadsEnded.wait(lock, [this] { return m_sharedReads.load(std::memory_order_acquire) == 0; });
}

std::unique_ptr<CZuRpmFunc> CZuRpmFunc::NewRpmFunc(const std::string& name, int kind, CMElement* parent,
                                                   const std::string& subsystem, const double* freqs, int freqCount,
                                                   const double* rpms, int rpmCount)
{
    if ((freqCount > 0 && !freqs) || (rpmCount > 0 && !rpms))
        return nullptr;
    freqCount = std::max(freqCount, 0);
    rpmCount = std::max(rpmCount, 0);
    auto map = std::make_unique<CZuRpmFunc>(name, freqCount, parent, kind);
    map->SetSubsystem(subsystem);
    map->SetAxisFlag(0);
    for (int i = 0; i < freqCount; ++i)
        map->m_freqs[static_cast<size_t>(i)] = freqs[i];
    for (int j = 0; j < rpmCount; ++j) {
        auto row = std::make_unique<CZuFunc>(Format("%g", rpms[j]), freqCount, map.get(), kind);
        for (int i = 0; i < freqCount; ++i) {
            row->DataIndex(i) = freqs[i];
            row->DataValue(i) = 0.0;
        }
        map->AddRow(rpms[j], std::move(row));
    }
    return map;
}

CZuFunc* CZuRpmFunc::AddRow(double rpm, CZuFunc* row)
{
    return AddRow(rpm, std::unique_ptr<CZuFunc>(row));
}

CZuFunc* CZuRpmFunc::AddRow(double rpm, std::unique_ptr<CZuFunc> row)
{
    WaitForSharedReads();
    if (!row) {
        row = std::make_unique<CZuFunc>(Format("%g", rpm), GetFreqCount(), this, GetType());
        row->SetDataIndexArray(m_freqs);
    }
    row->SetParent(this);
    m_rpms.push_back(rpm);
    m_rows.push_back(std::move(row));
    return m_rows.back().get();
}

void CZuRpmFunc::RemoveRows(int first, int count)
{
    WaitForSharedReads();
    if (first < 0 || count <= 0)
        return;
    const size_t f = static_cast<size_t>(first);
    if (f < m_rpms.size())
        m_rpms.erase(m_rpms.begin() + first,
                     m_rpms.begin() + static_cast<std::ptrdiff_t>(std::min(m_rpms.size(), f + count)));
    if (f < m_rows.size())
        m_rows.erase(m_rows.begin() + first,
                     m_rows.begin() + static_cast<std::ptrdiff_t>(std::min(m_rows.size(), f + count)));
}

void CZuRpmFunc::DeleteRows()
{
    WaitForSharedReads();
    m_rows.clear();
    m_rpms.clear();
}

void CZuRpmFunc::RemoveAll()
{
    DeleteRows();
    CZuTableData::RemoveAll();
}

void CZuRpmFunc::SetWindow(int slot, IMessageTarget* window)
{
    m_windows.Set(slot, window);
}

IMessageTarget* CZuRpmFunc::GetWindow(int slot) const
{
    return m_windows.Get(slot);
}

CZuFunc* CZuRpmFunc::GetRowFunc(int i) const
{
    WaitForSharedReads();
    return i >= 0 && static_cast<size_t>(i) < m_rows.size() ? m_rows[static_cast<size_t>(i)].get() : nullptr;
}

double& CZuRpmFunc::DataValue(int row, int point)
{
    WaitForSharedReads();
    return m_rows.at(static_cast<size_t>(row))->DataValue(point);
}

double CZuRpmFunc::DataValue(int row, int point) const
{
    return static_cast<const CZuFunc&>(*m_rows.at(static_cast<size_t>(row))).DataValue(point);
}

double CZuRpmFunc::GetAxisValue(int i) const
{
    return RowsAreRpms() ? GetRpm(i) : GetFreq(i);
}

const double* CZuRpmFunc::GetAxisValuePtr(int i) const
{
    const std::vector<double>& axis = RowsAreRpms() ? m_rpms : m_freqs;
    return &axis.at(static_cast<size_t>(i));
}

int CZuRpmFunc::GetAxisCount() const
{
    return RowsAreRpms() ? GetRpmCount() : GetFreqCount();
}

int CZuRpmFunc::FindRpmIndex(double rpm) const
{
    for (size_t i = 0; i < m_rpms.size(); ++i)
        if (m_rpms[i] == rpm)
            return static_cast<int>(i);
    return -1;
}

CZuFunc* CZuRpmFunc::FindRowFunc(double rpm) const
{
    return GetRowFunc(FindRpmIndex(rpm));
}

// ---- smoothing and overall level ----

int CZuRpmFunc::TableDataRows() const
{
    return RowsAreRpms() ? GetRpmCount() : GetFreqCount();
}

void CZuRpmFunc::TableToMap(int index, int row, int& rpmRow, int& point) const
{
    if (RowsAreRpms()) {
        rpmRow = row;
        point = index;
    } else {
        rpmRow = index;
        point = row;
    }
}

bool CZuRpmFunc::IsTableCell(int index, int row) const
{
    int rpmRow = 0, point = 0;
    TableToMap(index, row, rpmRow, point);
    return rpmRow >= 0 && rpmRow < GetRpmCount() && point >= 0 && point < GetFreqCount();
}

double CZuRpmFunc::SmoothedAt(int rpmRow, int point) const
{
    const int n = m_smoothingWidth;
    if (n <= 0)
        return DataValue(rpmRow, point);
    if (rpmRow - n < 0 || rpmRow + n > GetRpmCount() - 1)
        return 0.0; // the window leaves the map
    std::vector<double> window;
    window.reserve(static_cast<size_t>(2 * n + 1));
    for (int r = rpmRow - n; r <= rpmRow + n; ++r)
        window.push_back(DataValue(r, point));
    return MeanOfPositive(window.data(), static_cast<int>(window.size()), GetType());
}

double CZuRpmFunc::GetSmoothedValue(int index, int row) const
{
    int rpmRow = 0, point = 0;
    TableToMap(index, row, rpmRow, point);
    return SmoothedAt(rpmRow, point);
}

double CZuRpmFunc::GetOverallLevel(int index, int row, int structure, int aWeighting) const
{
    const int first = m_overallFirst, last = m_overallLast;
    if (first < 0 || last < 0 || last - first < 0)
        return GetSmoothedValue(index, row);
    int rpmRow = 0, point = 0;
    TableToMap(index, row, rpmRow, point);
    return OverallBandLevel(
        this, first, last, GetFreqCount(), structure, aWeighting, [&](int k) { return SmoothedAt(rpmRow, k); },
        [&](int k) { return GetFreq(k); });
}

// ---- table ----

COLORREF CZuRpmFunc::GetTableCellColor(int, int, int)
{
    return 0;
}

void CZuRpmFunc::GetSelection(int, int, int, CZuSubsystemTable*) {}

void CZuRpmFunc::ChangeDataValue(int, int, int, double, int) {}

int CZuRpmFunc::GetTableRowCount(int)
{
    return TableDataRows() + 1;
}

int CZuRpmFunc::GetTableColCount(int)
{
    return 2;
}

int CZuRpmFunc::GetTableFreqCount()
{
    return RowsAreRpms() ? GetFreqCount() : GetRpmCount();
}

std::string CZuRpmFunc::GetFreqIndicator(int index)
{
    if (index < 0 || index >= GetTableFreqCount())
        return std::string();
    // The same band label as the other orientation shows in its rows (nominal centre).
    return RowsAreRpms() ? CGfxUtil::GetManipulatedFrequencyString(GetFreq(index))
                         : CGfxUtil::NumberText(GetRpm(index));
}

std::string CZuRpmFunc::GetShownTableCell(int row, int col, int index, int numberFormat)
{
    if (row == 0 && col == 1) {
        const int structure = SpectrumIsStructure(this, m_subsystem);
        return Format(
            "%s [%s]", GetShownQuantityName(this, structure).c_str(),
            GetShownQuantityAxisLabel(this, SpectrumShowInDB(this), structure, SpectrumAWeighting(this)).c_str());
    }
    return CZuTableData::GetShownTableCell(row, col, index, numberFormat);
}

std::string CZuRpmFunc::GetTableCellData(int row, int col, int index, int numberFormat)
{
    const int structure = SpectrumIsStructure(this, m_subsystem);
    const int inDb = SpectrumShowInDB(this);
    const int aWeighting = SpectrumAWeighting(this);
    if (col == 0) {
        if (row == 0)
            return RowsAreRpms() ? "RPM" : "Freq. [Hz]";
        const int r = row - 1;
        if (r < 0 || r >= TableDataRows())
            return std::string();
        return RowsAreRpms() ? CGfxUtil::NumberText(GetRpm(r)) : CGfxUtil::GetManipulatedFrequencyString(GetFreq(r));
    }
    if (col == 1) {
        if (row == 0)
            return Format("%s [%s]", GetQuantityName(this, structure).c_str(),
                          GetQuantityAxisLabel(this, inDb, structure, aWeighting).c_str());
        const int r = row - 1;
        if (r < 0 || !IsTableCell(index, r))
            return std::string();
        // Only a real range shows an overall level; a reversed one shows the value as any cell.
        if (m_overallFirst >= 0 && m_overallLast >= m_overallFirst)
            return CGfxUtil::GenFormat(GetOverallLevel(index, r, structure, aWeighting), numberFormat);
        double freq = 0.0;
        if (aWeighting)
            freq = RowsAreRpms() ? GetFreq(index) : GetFreq(r);
        std::string text;
        FormatQuantityValue(text, this, GetSmoothedValue(index, r), numberFormat, inDb, structure, freq);
        return text;
    }
    return std::string();
}

void CZuRpmFunc::CopyToClipboard(CArchive& ar, int withLabels, int index, const CZuCellRect* selection)
{
    const int digits = kClipboardDigits;
    const int rowCount = GetTableRowCount(index);
    if (index >= 0 && index < GetTableFreqCount()) {
        if (withLabels) {
            if (RowsAreRpms())
                ar.WriteText(m_subsystem + Format("\t%g [Hz]\r\n", GetFreq(index)));
            else
                ar.WriteText(m_subsystem + Format("\t%g [RPM]\r\n", GetRpm(index)));
            ar.WriteText(Format("%s\t%s\r\n", GetTableCellData(0, 0, index, digits).c_str(),
                                GetTableCellData(0, 1, index, digits).c_str()));
        }
        int first = 1, last = rowCount - 1;
        if (selection) {
            if (selection->top >= 1)
                first = selection->top;
            if (selection->bottom < last)
                last = selection->bottom;
        }
        for (int r = first; r <= last; ++r) {
            if (withLabels)
                ar.WriteText(GetTableCellData(r, 0, index, digits) + "\t");
            ar.WriteText(GetTableCellData(r, 1, index, digits) + "\r\n");
        }
        return;
    }
    // The whole map: one column per table index.
    const int indexCount = GetTableFreqCount();
    if (withLabels) {
        ar.WriteText(Format("%s\t%s\r\n", m_subsystem.c_str(), GetTableCellData(0, 1, 0, digits).c_str()));
        std::string header = GetTableCellData(0, 0, 0, digits);
        for (int i = 0; i < indexCount; ++i)
            header += RowsAreRpms() ? Format("\t%g [Hz]", GetFreq(i)) : Format("\t%g [RPM]", GetRpm(i));
        ar.WriteText(header + "\r\n");
    }
    for (int r = 1; r < rowCount; ++r) {
        std::string line;
        if (withLabels)
            line = GetTableCellData(r, 0, 0, digits) + "\t";
        for (int i = 0; i < indexCount; ++i) {
            if (i > 0)
                line += "\t";
            line += GetTableCellData(r, 1, i, digits);
        }
        ar.WriteText(line + "\r\n");
    }
}

void CZuRpmFunc::PasteFromClipboard(CArchive& ar, int index, const CZuCellPoint* point)
{
    WaitForSharedReads();
    std::string line;
    bool labelled = false;
    if (!CClipboardText::ReadFirstDataLine(ar, line, labelled))
        return;
    // Our own copy with labels has a second header line, the column headers ("RPM" or
    // "Freq. [Hz]" first): it is not data either, or a copy would not paste back as it was.
    if (!CClipboardText::SkipColumnHeaderLine(ar, line, labelled, RowsAreRpms() ? "RPM" : "Freq. [Hz]"))
        return;
    const int structure = SpectrumIsStructure(this, m_subsystem);
    const int inDb = SpectrumShowInDB(this);
    const int dataRows = TableDataRows();
    const int indexCount = GetTableFreqCount();
    const int aWeighting = SpectrumAWeighting(this);
    // A shown level carries the A-weighting of its band: it is taken off again.
    auto cellValue = [&](const std::vector<std::string>& fields, size_t f, int idx, int r) {
        double v = 0.0;
        if (f < fields.size() && CClipboardText::ParseValue(fields[f], v))
            return DisplayToQuantityValue(this, v, inDb, structure,
                                          aWeighting ? (RowsAreRpms() ? GetFreq(idx) : GetFreq(r)) : 0.0);
        return 0.0;
    };
    auto store = [&](int idx, int r, double v) {
        int rpmRow = 0, pt = 0;
        TableToMap(idx, r, rpmRow, pt);
        // The map's own coordinates: an undo puts the value back whatever the view shows then.
        const double old = DataValue(rpmRow, pt);
        PushUndo(idx, [this, rpmRow, pt, old] {
            if (rpmRow < GetRpmCount() && pt < GetFreqCount())
                DataValue(rpmRow, pt) = old;
        });
        DataValue(rpmRow, pt) = v;
    };

    if (index != -1) {
        if (index < 0 || index >= indexCount)
            return;
        int r = point ? std::max(point->y - 1, 0) : 0;
        do {
            if (r >= dataRows)
                break;
            const std::vector<std::string> fields = CClipboardText::SplitFields(line);
            store(index, r, cellValue(fields, labelled ? 1 : 0, index, r));
            ++r;
        } while (ar.ReadLine(line));
        return;
    }
    int r = 0;
    do {
        if (r >= dataRows)
            break;
        const std::vector<std::string> fields = CClipboardText::SplitFields(line);
        const size_t skip = labelled ? 1 : 0;
        for (int i = 0; i < indexCount && skip + static_cast<size_t>(i) < fields.size(); ++i)
            store(i, r, cellValue(fields, skip + static_cast<size_t>(i), i, r));
        ++r;
    } while (ar.ReadLine(line));
}

int CZuRpmFunc::WriteDump(CStdioFile& file, const std::string&)
{
    file.WriteString("##### SUBSYSTEM #####\n\n");
    file.WriteString(Format("%s\n", m_subsystem.c_str()));
    file.WriteString("\n##### RPM INDEX #####\n\n");
    for (size_t i = 0; i < m_rpms.size(); ++i)
        file.WriteString(Format("%d\t%g\n", static_cast<int>(i), m_rpms[i]));
    file.WriteString("\n##### FREQ INDEX #####\n\n");
    for (size_t i = 0; i < m_freqs.size(); ++i)
        file.WriteString(Format("%d\t%g\n", static_cast<int>(i), m_freqs[i]));
    file.WriteString("\n##### DATA #####\n\n");
    for (size_t r = 0; r < m_rows.size(); ++r) {
        std::string line = Format("%d", static_cast<int>(r));
        const CZuFunc& row = *m_rows[r];
        for (int k = 0; k < row.GetDataCount(); ++k)
            line += Format("\t%e", row.DataValue(k));
        file.WriteString(line + "\n");
    }
    return 1;
}

// ---- persistence ----

namespace {
void WriteDoubleArray(CArchive& ar, const std::vector<double>& values)
{
    ar.WriteCount(static_cast<uint32_t>(values.size()));
    for (double v : values)
        ar << v;
}

std::vector<double> ReadDoubleArray(CArchive& ar)
{
    const uint32_t n = ar.ReadCount(sizeof(double));
    std::vector<double> values(n);
    for (double& v : values)
        ar >> v;
    return values;
}
} // namespace

void CZuRpmFunc::Serialize(CArchive& ar)
{
    WaitForSharedReads();
    CZuTableData::Serialize(ar);
    if (ar.IsStoring()) {
        WriteDoubleArray(ar, m_rpms);
        WriteDoubleArray(ar, m_freqs);
        ar << m_subsystem;
        ar << static_cast<int32_t>(m_rows.size());
        // The rows are parts of the map, not nodes of the tree that a save's progress counts.
        CQuietStore quiet;
        for (const auto& row : m_rows)
            ar.WriteObject(row.get());
        return;
    }
    std::vector<double> rpms = ReadDoubleArray(ar);
    std::vector<double> freqs = ReadDoubleArray(ar);
    std::string subsystem;
    ar >> subsystem;
    int32_t rowCount = 0;
    ar >> rowCount;
    // Rows and RPMs are parallel: a file that says otherwise is damaged, and reading on would
    // leave rows without RPMs (or RPMs without rows) for every later access to trip over.
    if (rowCount < 0 || static_cast<size_t>(rowCount) != rpms.size())
        CArchive::Throw(CArchiveException::badIndex,
                        Format("Spectrum map \"%s\": %d rows for %d RPMs", GetName().c_str(), rowCount,
                               static_cast<int>(rpms.size())));
    ar.EnsureAvailable(static_cast<uint64_t>(rowCount) * 2);
    std::vector<std::unique_ptr<CZuFunc>> rows;
    rows.reserve(static_cast<size_t>(rowCount));
    for (int32_t i = 0; i < rowCount; ++i) {
        std::unique_ptr<CZuFunc> row = ar.ReadOwned<CZuFunc>();
        if (!row || row->GetDataCount() != static_cast<int>(freqs.size()))
            CArchive::Throw(CArchiveException::badIndex,
                            Format("Spectrum map \"%s\": row %d does not match the frequency axis", GetName().c_str(),
                                   static_cast<int>(i)));
        row->SetParent(this);
        rows.push_back(std::move(row));
    }
    m_rpms = std::move(rpms);
    m_freqs = std::move(freqs);
    m_subsystem = std::move(subsystem);
    m_rows = std::move(rows);
    // A loaded map shows RPM rows with no smoothing and no overall level until a document says so.
    m_axisFlag = 1;
    m_smoothingWidth = 0;
    m_overallFirst = m_overallLast = -1;
}

bool CZuRpmFunc::GetTableCellValue(int row, int col, int index, double& value)
{
    value = 0.0;
    const int r = row - 1;
    if (col != 1 || r < 0 || !IsTableCell(index, r))
        return false;
    const int structure = SpectrumIsStructure(this, m_subsystem);
    const int aWeighting = SpectrumAWeighting(this);
    if (m_overallFirst >= 0 && m_overallLast >= m_overallFirst) {
        value = GetOverallLevel(index, r, structure, aWeighting);
        return true;
    }
    double freq = 0.0;
    if (aWeighting)
        freq = RowsAreRpms() ? GetFreq(index) : GetFreq(r);
    return QuantityDisplayValue(&value, this, GetSmoothedValue(index, r), SpectrumShowInDB(this), structure, freq);
}

void CZuRpmFunc::GetTableColumnValues(int col, int index, std::vector<double>& values)
{
    values.assign(static_cast<size_t>(TableDataRows()), std::numeric_limits<double>::quiet_NaN());
    GetTableColumnValues(col, index, 0, static_cast<int>(values.size()), values.data());
}

void CZuRpmFunc::GetTableColumnValues(int col, int index, int first, int count, double* out)
{
    // The display options are the owner's: asked once for the stretch.
    GetTableColumnValues(col, index, first, count, out, GetColumnOptions());
}

CZuRpmFunc::ColumnOptions CZuRpmFunc::GetColumnOptions() const
{
    ColumnOptions options;
    options.structure = SpectrumIsStructure(this, m_subsystem);
    options.aWeighting = SpectrumAWeighting(this);
    options.inDb = SpectrumShowInDB(this);
    return options;
}

void CZuRpmFunc::GetTableColumnValues(int col, int index, int first, int count, double* out,
                                      const ColumnOptions& options) const
{
    if (!out || count <= 0)
        return;
    std::fill(out, out + count, std::numeric_limits<double>::quiet_NaN());
    const int rows = TableDataRows();
    if (first < 0 || first >= rows || col != 1 || index < 0 ||
        index >= (RowsAreRpms() ? GetFreqCount() : GetRpmCount()))
        return;
    count = std::min(count, rows - first);
    const int structure = options.structure;
    const int aWeighting = options.aWeighting;
    const int inDb = options.inDb;
    const bool overall = m_overallFirst >= 0 && m_overallLast >= m_overallFirst;
    if (!overall && m_smoothingWidth <= 0 && RowsAreRpms()) {
        // A band over the RPM rows, as the chart reads a long map: each row is an object of its
        // own, so the rows ahead are fetched while this one is converted (reading the
        // column is otherwise a wait on memory per row).
        const int type = GetType();
        const double freq = aWeighting ? GetFreq(index) : 0.0;
        const size_t band = static_cast<size_t>(index);
        const size_t end = std::min(static_cast<size_t>(first) + static_cast<size_t>(count), m_rows.size());
        constexpr size_t kAhead = 64;
        for (size_t r = static_cast<size_t>(first); r < end; ++r) {
            if (r + kAhead < end)
                __builtin_prefetch(m_rows[r + kAhead].get());
            if (r + kAhead / 2 < end) {
                const std::vector<double>& ahead = m_rows[r + kAhead / 2]->GetValueArray();
                if (band < ahead.size())
                    __builtin_prefetch(ahead.data() + band);
            }
            const std::vector<double>& values = m_rows[r]->GetValueArray();
            const double raw = band < values.size() ? values[band] : DataValue(static_cast<int>(r), index);
            double v = 0.0;
            if (QuantityDisplayValue(&v, type, raw, inDb, structure, freq))
                out[r - static_cast<size_t>(first)] = v;
        }
        return;
    }
    for (int r = first; r < first + count; ++r) {
        if (!IsTableCell(index, r))
            continue;
        double v = 0.0;
        if (overall) {
            v = GetOverallLevel(index, r, structure, aWeighting);
        } else {
            const double freq = aWeighting ? (RowsAreRpms() ? GetFreq(index) : GetFreq(r)) : 0.0;
            if (!QuantityDisplayValue(&v, this, GetSmoothedValue(index, r), inDb, structure, freq))
                continue;
        }
        out[r - first] = v;
    }
}
