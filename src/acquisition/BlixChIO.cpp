#include "acquisition/BlixChIO.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <map>
#include <unordered_map>

#include "acquisition/BlixChDB.h"
#include "experiments/SensorBundle.h"
#include "experiments/SensorProject.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/base/TabSplitter.h"
#include "platform/excel/ExcelWrapper.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

namespace {

// The data lines of a text file a run keeps at most; a file with more is not a channel
// assignment of any real system.
constexpr size_t kMaxDataLines = 1000000;

std::string FormatWith(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    return text;
}

// A string of the language table used as a format of one number; the built-in form when the
// table lacks it, so a run never stores an empty serial number.
std::string FormatNumberString(uint32_t id, const char* fallback, int n)
{
    std::string format;
    if (!LoadString(id, format) || format.empty())
        format = fallback;
    return FormatWith(format.c_str(), n);
}

const char* kWhite = " \t\r\n\f\v";

// Leading white space off, everything from the first CR or LF on off, trailing white space off.
std::string TrimField(const std::string& text)
{
    const size_t first = text.find_first_not_of(kWhite);
    if (first == std::string::npos)
        return {};
    std::string s = text.substr(first);
    const size_t eol = s.find_first_of("\r\n");
    if (eol != std::string::npos)
        s.erase(eol);
    const size_t last = s.find_last_not_of(kWhite);
    return last == std::string::npos ? std::string() : s.substr(0, last + 1);
}

std::string TrimLine(const std::string& text)
{
    const size_t first = text.find_first_not_of(kWhite);
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(kWhite);
    return text.substr(first, last - first + 1);
}

// The number at the start of a field as the C library reads it; false when no digit is read.
bool ReadNumber(const std::string& text, int& n)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(begin, &end, 10);
    if (end == begin)
        return false;
    n = static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
    return true;
}

// "key=value" of a note: the value after the first occurrence of the key up to the line feed;
// empty when the key is missing or not followed by "=" at once.
std::string NoteValue(const std::string& note, const std::string& key)
{
    const size_t at = note.find(key);
    if (at == std::string::npos || at + key.size() >= note.size() || note[at + key.size()] != '=')
        return {};
    const size_t from = at + key.size() + 1;
    const size_t lf = note.find('\n', from);
    std::string value = note.substr(from, lf == std::string::npos ? std::string::npos : lf - from);
    if (!value.empty() && value.back() == '\r')
        value.pop_back();
    return value;
}

// One cell reference of an A1 address ("$B$3", "b3"); false when it is none.
bool ParseCellRef(std::string text, int& row, int& col)
{
    size_t i = 0;
    if (i < text.size() && text[i] == '$')
        ++i;
    long c = 0;
    const size_t letters = i;
    while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])) && i - letters < 3) {
        c = c * 26 + (std::toupper(static_cast<unsigned char>(text[i])) - 'A' + 1);
        ++i;
    }
    if (i == letters)
        return false;
    if (i < text.size() && text[i] == '$')
        ++i;
    long r = 0;
    const size_t digits = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && i - digits < 8) {
        r = r * 10 + (text[i] - '0');
        ++i;
    }
    if (i == digits || i != text.size() || !CXlsxSheet::IsValidCell(static_cast<int>(r), static_cast<int>(c)))
        return false;
    row = static_cast<int>(r);
    col = static_cast<int>(c);
    return true;
}

// An A1 range address on the sheet ("B3:E40", "Sheet!$B$3:$E$40", one cell "B3").
bool ParseRangeAddress(const std::string& address, XlsxRange& range)
{
    std::string text = TrimLine(address);
    const size_t bang = text.rfind('!');
    if (bang != std::string::npos)
        text.erase(0, bang + 1);
    const size_t colon = text.find(':');
    int r1 = 0, c1 = 0, r2 = 0, c2 = 0;
    if (!ParseCellRef(text.substr(0, colon), r1, c1))
        return false;
    if (colon == std::string::npos) {
        r2 = r1;
        c2 = c1;
    } else if (!ParseCellRef(text.substr(colon + 1), r2, c2)) {
        return false;
    }
    range = {std::min(r1, r2), std::min(c1, c2), std::max(r1, r2), std::max(c1, c2)};
    return true;
}

// A record is struck out by a diagonal line or a struck-through font on its channel cell.
bool IsMarked(const CXlsxWorkbook& workbook, const XlsxCell* cell)
{
    if (!cell)
        return false;
    const XlsxStyle& style = workbook.GetStyle(cell->style);
    if (style.diagonal.style != XlsxBorderStyle::None && (style.diagonalUp || style.diagonalDown))
        return true;
    if (style.font.strike)
        return true;
    // Rich text counts as struck through when all of its characters are.
    bool anyText = false;
    for (const XlsxRun& run : cell->runs) {
        if (run.text.empty())
            continue;
        if (!run.font.strike)
            return false;
        anyText = true;
    }
    return anyText;
}

// What a sheet holds inside a range, column by column: the rows of its cells and the merged
// ranges that cross the column. A range may name the whole sheet while the file holds a few
// cells; the walk goes by what is held, so its work follows the file, not the range.
class CRangeWalk
{
public:
    struct CSpans
    {
        std::vector<int> cellRows;     // ascending
        std::vector<XlsxRange> merges; // ascending by first row, not overlapping
    };

    // Rows only grow during the walk of one column, so the cursor moves forward only.
    class CCursor
    {
    public:
        explicit CCursor(const CSpans& spans) : m_spans(spans) {}

        // The first row from row on that holds a cell or lies in a merged range; INT_MAX when none.
        int NextOccupied(int row)
        {
            const std::vector<int>& cells = m_spans.cellRows;
            while (m_cell < cells.size() && cells[m_cell] < row)
                ++m_cell;
            SkipMergesAbove(row);
            int next = m_cell < cells.size() ? cells[m_cell] : INT_MAX;
            if (m_merge < m_spans.merges.size())
                next = std::min(next, std::max(row, m_spans.merges[m_merge].row1));
            return next;
        }

        // The merged range that holds the row in this column, or null.
        const XlsxRange* MergedAt(int row)
        {
            SkipMergesAbove(row);
            if (m_merge < m_spans.merges.size() && m_spans.merges[m_merge].row1 <= row)
                return &m_spans.merges[m_merge];
            return nullptr;
        }

    private:
        void SkipMergesAbove(int row)
        {
            while (m_merge < m_spans.merges.size() && m_spans.merges[m_merge].row2 < row)
                ++m_merge;
        }

        const CSpans& m_spans;
        size_t m_cell = 0;
        size_t m_merge = 0;
    };

    // Indexes the sheet inside the range; false (ErrorText) for merged ranges that overlap or
    // that cross more columns together than a workbook's cells could fill.
    bool Build(const CXlsxSheet& sheet, const XlsxRange& range)
    {
        m_columns.clear();
        for (const auto& [key, cell] : sheet.Cells())
            if (range.Contains(key.first, key.second))
                m_columns[key.second].cellRows.push_back(key.first);
        size_t pieces = 0;
        for (const XlsxRange& m : sheet.MergedRanges()) {
            if (m.row2 < range.row1 || m.row1 > range.row2)
                continue;
            const int first = std::max(m.col1, range.col1), last = std::min(m.col2, range.col2);
            for (int c = first; c <= last; ++c) {
                if (++pieces > kMaxMergePieces) {
                    m_error = "The merged ranges of the sheet cover more cells than can be read.";
                    return false;
                }
                m_columns[c].merges.push_back(m);
            }
        }
        for (auto& [col, spans] : m_columns) {
            std::vector<XlsxRange>& merges = spans.merges;
            std::sort(merges.begin(), merges.end(),
                      [](const XlsxRange& a, const XlsxRange& b) { return a.row1 < b.row1; });
            for (size_t i = 1; i < merges.size(); ++i)
                if (merges[i].row1 <= merges[i - 1].row2) {
                    m_error = ::Format("The merged ranges %s and %s overlap.", RangeName(merges[i - 1]).c_str(),
                                       RangeName(merges[i]).c_str());
                    return false;
                }
        }
        return true;
    }

    const std::map<int, CSpans>& Columns() const { return m_columns; }
    const std::string& ErrorText() const { return m_error; }

private:
    // A merged range counts once for each column it crosses.
    static constexpr size_t kMaxMergePieces = 4000000;

    static std::string RangeName(const XlsxRange& r)
    {
        return CExcelWrapper::CellName(r.row1, r.col1) + ":" + CExcelWrapper::CellName(r.row2, r.col2);
    }

    std::map<int, CSpans> m_columns;
    std::string m_error;
};
} // namespace

// ---- the report ----

void CBlixChIO::CErrItem::Format(std::string& text) const
{
    for (size_t i = 0; i < m_params.size(); ++i) {
        if (i > 0)
            text += '\t';
        text += m_params[i];
    }
    text += "\r\n";
}

int CBlixChIO::CErrRep::GetItemsByCode(int code, std::vector<const CErrItem*>& result) const
{
    for (const auto& item : m_items)
        if (item->GetCode() == code)
            result.push_back(item.get());
    return static_cast<int>(result.size());
}

const char* CBlixChIO::CErrRep::Heading(int code)
{
    static const char* const kHeadings[errCodeCount] = {
        "### FAILED TO OPEN FILE ###\r\n[File Name]\r\n",
        "### FAILED TO OPEN FILE ###\r\n[File Name]\r\n",
        "### FAILED TO READ FILE ###\r\n[File Name]\r\n",
        "### DATA IS MISSING ###\r\n[Line#]\t[Line Text]\r\n",
        "### SUBSYSTEM NOT FOUND ###\r\n[Subsystem]\t[BLIX SN]\t[BLIX CH]\t[Sensor ID]\r\n",
        "### BLIX SN NOT FOUND ###\r\n[Subsystem]\t[BLIX SN]\t[BLIX CH]\t[Sensor ID]\r\n",
        "### INVALID BLIX CH ###\r\n[Subsystem]\t[BLIX SN]\t[BLIX CH]\t[Sensor ID]\r\n",
        "### SENSOR NOT FOUND ###\r\n[Subsystem]\t[BLIX SN]\t[BLIX CH]\t[Sensor ID]\r\n",
        "### BUNDLE SETTING NOT FOUND ###\r\n[Subsystem]\t[BLIX SN]\t[BLIX CH]\t[Sensor ID]\r\n",
        "### FAILED TO CREATE EXCEL OBJECT ###\r\n",
        "### FAILED TO GET WORKBOOKS ###\r\n",
        "### FAILED TO OPEN FILE ###\r\n[File Name]\r\n",
        "### FAILED TO GET WORKSHEETS ###\r\n[File Name]\r\n",
        "### WORKSHEET NOT FOUND ###\r\n[File Name]\t[SHEET NAME]\r\n",
    };
    return code >= 0 && code < errCodeCount ? kHeadings[code] : "";
}

std::string CBlixChIO::CErrRep::GetText() const
{
    if (m_items.empty())
        return "### NO ERROR ###\r\n";
    std::string text;
    for (int code = 0; code < errCodeCount; ++code) {
        std::vector<const CErrItem*> items;
        if (GetItemsByCode(code, items) == 0)
            continue;
        text += Heading(code);
        for (const CErrItem* item : items)
            item->Format(text);
        text += "\r\n";
    }
    return text;
}

// ---- the common part of a run ----

bool CBlixChIO::CIOBase::Open(bool reading)
{
    return m_file.Open(m_params.GetPath(), reading ? CStdioFile::modeRead : CStdioFile::modeWrite);
}

bool CBlixChIO::CIOBase::CheckSubsystem(const Row& row)
{
    const CZuSubsystemTable* table = m_params.GetSubsystems();
    if (!table)
        return false;
    if (!m_subsystemsIndexed) {
        for (int i = 0; i < table->GetCount(); ++i)
            m_subsystemNames.insert(table->At(i));
        m_subsystemsIndexed = true;
    }
    return m_subsystemNames.count(row.subsystem) > 0;
}

bool CBlixChIO::CIOBase::ReadSerialNumber(const std::string& field, int& n)
{
    if (ReadNumber(field, n))
        return true;
    // A stored form with a prefix before its number ("B12", as earlier exports wrote them): the
    // number follows the prefix.
    std::string format;
    if (!LoadString(IDS_UNIT_LABEL, format) || format.empty())
        format = "%05d";
    std::string prefix = format.substr(0, format.find('%'));
    if (prefix.empty())
        prefix = "B";
    return field.compare(0, prefix.size(), prefix) == 0 && field.size() > prefix.size() &&
           std::isdigit(static_cast<unsigned char>(field[prefix.size()])) && ReadNumber(field.substr(prefix.size()), n);
}

bool CBlixChIO::CIOBase::CheckSerial(const Row& row, std::string& stored)
{
    int n = 0;
    // A field without a number names no unit; taking it as unit 0 would make a bundle for it.
    if (!m_params.GetSensorProject() || !ReadSerialNumber(row.serial, n))
        return false;
    stored = FormatNumberString(IDS_UNIT_LABEL, "%05d", n);
    if (m_bundleOf.find(stored) == m_bundleOf.end())
        m_bundleOf.emplace(stored, FormatNumberString(IDS_BLIX_BUNDLE_ID, "%05d-BLIX", n));
    return true;
}

bool CBlixChIO::CIOBase::CheckChannel(const Row& row, uint8_t& channel) const
{
    int n = 0;
    if (!ReadNumber(row.channel, n) || (n != 1 && n != 2))
        return false;
    channel = static_cast<uint8_t>(n - 1);
    return true;
}

bool CBlixChIO::CIOBase::CheckSensor(const Row& row)
{
    const CSensorProject* sensors = m_params.GetSensorProject();
    if (!sensors)
        return false;
    if (!m_sensorsIndexed) {
        for (const CSensor* sensor : sensors->GetAllSensors())
            m_sensorIDs.insert(sensor->GetName());
        m_sensorsIndexed = true;
    }
    return m_sensorIDs.count(row.sensor) > 0;
}

bool CBlixChIO::CIOBase::ApplyToBundles(const CBlixChDB& db)
{
    CSensorProject* sensors = m_params.GetSensorProject();
    if (!sensors)
        return false;
    // The first bundle of each identifier, as FindBundleByID finds it, and the number a new one takes.
    std::unordered_map<std::string, CSensorBundle*> bundleByID;
    int greatest = 0;
    for (int b = 0; b < sensors->GetBundleCount(); ++b) {
        CSensorBundle* bundle = sensors->GetBundle(b);
        bundleByID.emplace(bundle->GetID(), bundle);
        greatest = std::max(greatest, bundle->GetNumber());
    }
    const CBlixChDB::CItemList* items = db.GetItemList();
    // The bundle of each unit the database names; a unit met loses its sensors first, as the file
    // says all there is on it.
    std::unordered_map<std::string, CSensorBundle*> bundleOfSerial;
    for (int i = 0; i < items->GetSize(); ++i) {
        const std::string& serial = items->GetAt(i)->GetBlixSN();
        if (bundleOfSerial.count(serial))
            continue;
        const auto id = m_bundleOf.find(serial);
        CSensorBundle* bundle = nullptr;
        if (id != m_bundleOf.end()) {
            if (const auto found = bundleByID.find(id->second); found != bundleByID.end()) {
                bundle = found->second;
            } else {
                auto made = std::make_unique<CSensorBundle>();
                made->SetNumber(++greatest);
                made->SetID(id->second);
                bundle = sensors->AppendBundle(std::move(made));
                bundleByID.emplace(id->second, bundle);
            }
            while (bundle->GetCount() > 0)
                bundle->RemoveSensor(bundle->GetCount() - 1);
        }
        bundleOfSerial.emplace(serial, bundle);
    }
    bool ok = true;
    for (int i = 0; i < items->GetSize(); ++i) {
        const CBlixChDB::CItem* item = items->GetAt(i);
        CSensorBundle* bundle = bundleOfSerial[item->GetBlixSN()];
        if (!bundle) {
            m_report.Add(errBundle, {item->GetSubsystem(), item->GetBlixSN(), ::Format("%d", item->GetBlixCh() + 1),
                                     item->GetSensor()});
            ok = false;
            continue;
        }
        const int c = item->GetBlixCh();
        const int k = bundle->GetCount();
        if (k > c) {
            bundle->SetSensorID(c, item->GetSensor());
        } else if (k == c) {
            bundle->AddSensor(item->GetSensor());
        } else {
            bundle->AddSensor(std::string());
            bundle->AddSensor(item->GetSensor());
        }
    }
    return ok;
}

void CBlixChIO::CIOBase::Commit(CBlixChDB& db)
{
    if (CBlixChDB* target = m_params.GetDB())
        target->Swap(db);
}

// ---- text import ----

CBlixChIO::CImport::CImport(const CParams& params, CErrRep& report, CFeedback* progress)
    : CIOBase(params, report, progress), m_title(LoadString(IDS_NO_TITLE))
{}

void CBlixChIO::CImport::AddEntry(CBlixChDB& db, const Row& row, const std::string& stored, uint8_t channel)
{
    auto item = std::make_unique<CBlixChDB::CItem>();
    item->SetSubsystem(row.subsystem);
    item->SetBlixSN(stored);
    item->SetBlixCh(channel);
    item->SetSensor(row.sensor);
    db.GetItemList()->Add(std::move(item));
}

int CBlixChIO::CImport::Conclude(CBlixChDB& db)
{
    db.Sort();
    Commit(db);
    const bool applied = ApplyToBundles(*m_params.GetDB());
    m_progress->End();
    return applied && m_report.GetCount() == 0 ? 1 : 0;
}

bool CBlixChIO::CImport::ReadLines()
{
    try {
        std::string line;
        for (uint32_t number = 0; m_file.ReadString(line); ++number) {
            if (line.compare(0, 2, "#@") == 0) {
                m_title = TrimField(line.substr(2));
                continue;
            }
            if (!line.empty() && line[0] == '#')
                continue;
            line = TrimLine(line);
            // The column line of our own export names the columns; it is no row.
            if (line.empty() || line == kColumnLine)
                continue;
            if (m_lines.size() >= kMaxDataLines)
                return false;
            m_lines.push_back(line);
            m_lineNumbers.push_back(number);
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

int CBlixChIO::CImport::Run()
{
    m_report.DeleteAll();
    if (!m_params.GetDB() || !Open(true)) {
        m_report.Add(errOpenImport, {m_params.GetPath()});
        return 0;
    }
    const bool read = ReadLines();
    m_file.Close();
    if (!read) {
        m_report.Add(errRead, {m_params.GetPath()});
        return 0;
    }

    CBlixChDB db;
    m_progress->Begin(::Format("Importing [%s]...", m_params.GetPath().c_str()), static_cast<int>(m_lines.size()));
    for (size_t i = 0; i < m_lines.size(); ++i) {
        m_progress->SetPos(static_cast<int>(i));
        // Hand-written files line their columns up with several tabs: a run of tabs is one separator.
        const std::vector<std::string> fields = CTabSplitter().SkipEmptyFields().Split(m_lines[i]);
        if (fields.size() < 4) {
            m_report.Add(errDataMissing, {::Format("%u", m_lineNumbers[i] + 1), m_lines[i]});
            continue;
        }
        const Row row{TrimField(fields[0]), TrimField(fields[1]), TrimField(fields[2]), TrimField(fields[3])};
        std::string stored;
        uint8_t channel = 0;
        if (!CheckSubsystem(row)) {
            m_report.Add(errSubsystem, row.Fields());
        } else if (!CheckSerial(row, stored)) {
            m_report.Add(errBlixSN, row.Fields());
        } else if (!CheckChannel(row, channel)) {
            m_report.Add(errBlixCh, row.Fields());
        } else if (!CheckSensor(row)) {
            m_report.Add(errSensor, row.Fields());
        } else {
            AddEntry(db, row, stored, channel);
        }
    }
    return Conclude(db);
}

// ---- workbook import ----

CBlixChIO::CImportXl::CImportXl(const CParams& params, CErrRep& report, CFeedback* progress)
    : CImport(params, report, progress)
{}

CBlixChIO::CImportXl::~CImportXl()
{
    if (m_excel)
        m_excel->Quit();
}

int CBlixChIO::CImportXl::Run()
{
    m_report.DeleteAll();
    m_bundleOf.clear();
    const std::string& path = m_params.GetPath();
    if (!m_params.GetDB()) {
        m_report.Add(errOpenWorkbook, {path});
        return 0;
    }
    m_excel = std::make_unique<CExcelWrapper>();
    if (!m_excel->Create(false)) {
        m_report.Add(errCreateExcel, {});
        return 0;
    }
    if (!m_excel->Open(path)) {
        m_report.Add(errOpenWorkbook, {path, m_excel->ErrorText()});
        return 0;
    }
    if (m_excel->GetSheetCount() < 1) {
        m_report.Add(errWorksheets, {path});
        return 0;
    }
    const std::string sheetName = LoadString(IDS_CHANNEL_SHEET);
    if (!m_excel->SelectSheet(sheetName)) {
        m_report.Add(errWorksheet, {path, sheetName});
        return 0;
    }
    const CXlsxSheet* sheet = m_excel->GetActiveSheet();
    const CXlsxWorkbook& workbook = *m_excel->GetWorkbook();

    const std::string note = sheet->GetNote(1, 1);
    m_title = NoteValue(note, "FILE_VERSION");
    XlsxRange range;
    if (!ParseRangeAddress(NoteValue(note, "EXPORT_RANGE"), range)) {
        m_report.Add(errRead, {path, "The note of cell A1 names no valid EXPORT_RANGE."});
        return 0;
    }
    CRangeWalk walk;
    if (!walk.Build(*sheet, range)) {
        m_report.Add(errRead, {path, walk.ErrorText()});
        return 0;
    }

    CBlixChDB db;
    const int columns = static_cast<int>(walk.Columns().size());
    m_progress->Begin(::Format("Importing [%s]...", path.c_str()), columns);
    int step = 0;
    for (const auto& [col, spans] : walk.Columns()) {
        m_progress->SetPos(step++);
        CRangeWalk::CCursor cursor(spans);
        int row = range.row1;
        while (row <= range.row2) {
            // Four empty rows in a row make a blank record, which is no row: the walk passes over
            // them to the next row that holds something, and ends the column when none is left.
            const int next = cursor.NextOccupied(row);
            if (next > range.row2)
                break;
            if (next - row >= 4)
                row += (next - row) / 4 * 4;
            // Four stacked cells; a cell merged over several rows is read at its top and the next
            // one begins below its merge area.
            std::string texts[4];
            const XlsxCell* channelCell = nullptr;
            bool complete = true;
            for (int k = 0; k < 4; ++k) {
                if (row > range.row2) {
                    complete = false;
                    break;
                }
                int top = row, bottom = row, left = col;
                if (const XlsxRange* merged = cursor.MergedAt(row)) {
                    top = merged->row1;
                    left = merged->col1;
                    bottom = merged->row2;
                }
                const XlsxCell* cell = sheet->FindCell(top, left);
                texts[k] = cell ? TrimField(workbook.CellText(*cell)) : std::string();
                if (k == 1)
                    channelCell = cell;
                row = bottom + 1;
            }
            if (!complete)
                break;
            const Row record{texts[3], texts[0], texts[1], texts[2]};
            // Records crossed out on the sheet, and blank ones, are no rows.
            if (IsMarked(workbook, channelCell) ||
                (record.subsystem.empty() && record.serial.empty() && record.channel.empty() && record.sensor.empty()))
                continue;
            std::string stored;
            uint8_t channel = 0;
            if (!CheckSerial(record, stored)) {
                m_report.Add(errBlixSN, record.Fields());
            } else if (!CheckChannel(record, channel)) {
                m_report.Add(errBlixCh, record.Fields());
            } else if (!CheckSensor(record)) {
                m_report.Add(errSensor, record.Fields());
            } else if (!CheckSubsystem(record)) {
                m_report.Add(errSubsystem, record.Fields());
            } else {
                AddEntry(db, record, stored, channel);
            }
        }
    }
    return Conclude(db);
}

// ---- export ----

int CBlixChIO::CExport::Run()
{
    m_report.DeleteAll();
    const std::string& path = m_params.GetPath();
    try {
        if (!Open(false)) {
            m_report.Add(errOpenExport, {path});
            return 0;
        }
        m_file.WriteString(::Format("%s%s\n%s %s\n%s\n", "#@", m_tag.c_str(), "#", path.c_str(), "#"));
        m_file.WriteString(std::string(kColumnLine) + "\n");
        if (const CBlixChDB* db = m_params.GetDB()) {
            const CBlixChDB::CItemList* items = db->GetItemList();
            m_progress->Begin(::Format("Exporting [%s]...", path.c_str()), items->GetSize());
            for (int i = 0; i < items->GetSize(); ++i) {
                m_progress->SetPos(i);
                const CBlixChDB::CItem* item = items->GetAt(i);
                m_file.WriteString(::Format("%s\t%s\t%d\t%s\n", item->GetSubsystem().c_str(), item->GetBlixSN().c_str(),
                                            item->GetBlixCh() + 1, item->GetSensor().c_str()));
            }
            m_progress->End();
        }
        m_file.Close();
    } catch (const std::exception&) {
        m_file.Abort();
        m_progress->End();
        m_report.Add(errOpenExport, {path});
    }
    return m_report.GetCount() == 0 ? 1 : 0;
}

// ---- the exchange ----

CBlixChIO::CBlixChIO() : m_report(std::make_unique<CErrRep>()) {}

CBlixChIO::~CBlixChIO() = default;

int CBlixChIO::Import(std::string& title)
{
    m_report->DeleteAll();
    if (!m_params)
        return 0;
    std::unique_ptr<CImport> run;
    if (CExcelWrapper::IsExcelFile(m_params->GetPath()))
        run = std::make_unique<CImportXl>(*m_params, *m_report, m_progress);
    else
        run = std::make_unique<CImport>(*m_params, *m_report, m_progress);
    const int result = run->Run();
    title = run->GetTitle();
    return result;
}

int CBlixChIO::Export(const std::string& tag)
{
    m_report->DeleteAll();
    if (!m_params)
        return 0;
    CExport run(*m_params, *m_report, m_progress, tag);
    return run.Run();
}

int CBlixChIO::WriteErrorReport(const std::string& path) const
{
    std::string text = m_report->GetText();
    std::string plain;
    plain.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            plain += text[i];
    try {
        CStdioFile file;
        if (!file.Open(path, CStdioFile::modeWrite))
            return 0;
        file.WriteString(plain);
        file.Close();
        return 1;
    } catch (const std::exception&) {
        return 0;
    }
}
