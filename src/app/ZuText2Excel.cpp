#include "app/ZuText2Excel.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/base/Format.h"
#include "platform/base/TabSplitter.h"
#include "platform/elements/ElementType.h"
#include "platform/elements/StdioFile.h"
#include "platform/gfx/OctaveManager.h"

namespace {

const char* const kUserDefined = "USER_DEFINED_FREQUENCY_DOMAIN";

// Whitespace-separated fields, as a scanf of "%s\t%s\t%s" reads them.
std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

} // namespace

const std::vector<CZuText2Excel::DataType>& CZuText2Excel::DataTypes()
{
    static const std::vector<DataType> types = {
        {58, 2, "#CLFs Data", "[CLFs]", "[CLF [%s <-> %s]]\t%d\n"},
        {59, 1, "#Total DLFs Data", "[Total DLFs]", "[Total DLF [%s]]\t%d\n"},
        {67, 1, "#Intrinsic DLFs Data", "[Intrindic DLFs]", "[Intrinsic DLF [%s]]\t%d\n"},
        {60, 1, "#Input Power Data", "[Input powers]", "[%s]\t%d\n"},
    };
    return types;
}

CZuText2Excel::CZuText2Excel(CFeedback* feedback) : m_feedback(feedback)
{
    if (!Create(false))
        Fail("ZuText2Excel: Failed to start Excel.");
}

CZuText2Excel::~CZuText2Excel()
{
    ForceQuit();
}

void CZuText2Excel::Fail(const std::string& message)
{
    Report(message);
    throw CUserException(message);
}

void CZuText2Excel::Put(int row, int col, const std::string& text)
{
    if (!SetCellText(row, col, text))
        throw CUserException(Format("cell (%d, %d)", row, col));
    m_lowestRow = std::max(m_lowestRow, row);
}

bool CZuText2Excel::WriteColumn(const std::string& line, int row, int col)
{
    const std::vector<std::string> fields = CTabSplitter().Split(line);
    for (size_t k = 0; k < fields.size(); ++k) {
        if (!SetCellText(row + static_cast<int>(k), col, fields[k]))
            return false;
        m_lowestRow = std::max(m_lowestRow, row + static_cast<int>(k));
    }
    return true;
}

bool CZuText2Excel::Export(const std::string& outputPath, const std::vector<std::string>& textFiles)
{
    if (!Open())
        Fail("ZuText2Excel: Failed to open a new Excel file.");
    for (size_t i = 0; i < textFiles.size(); ++i) {
        const int sheet = static_cast<int>(i) + 1;
        if (GetSheetCount() < sheet)
            AddSheet(Format("Sheet%d", sheet), GetSheetCount());
        ConvertFile(sheet, textFiles[i]);
    }
    // A binary format is asked for; an .xlsx path makes the workbook an .xlsx file.
    const bool saved = SaveAs(outputPath, xlExcel9795);
    if (!saved && !ErrorText().empty())
        Report(ErrorText());
    return saved;
}

void CZuText2Excel::Report(const std::string& message) const
{
    m_feedback->Error(message);
}

void CZuText2Excel::ConvertFile(int sheet, const std::string& path)
{
    SelectSheet(sheet);
    CStdioFile file;
    if (!file.Open(path, CStdioFile::modeRead))
        Fail(Format("ZuText2Excel: Failed to open a text file.\n[%s]", path.c_str()));
    m_labels.clear();
    m_lowestRow = 0;

    std::string lines[4];
    for (std::string& line : lines)
        if (!file.ReadString(line))
            line.clear();
    if (lines[0].compare(0, 2, "#@") != 0)
        Fail(Format("ZuExcel2Text: This is not a data sheet [%s].", GetSheetName().c_str()));
    const DataType* type = nullptr;
    for (const DataType& t : DataTypes())
        if (lines[3] == t.typeLine)
            type = &t;
    if (!type)
        Fail(Format("ZuExcel2Text: Invalid data type [%s].", lines[3].c_str()));

    try {
        for (int i = 0; i < 4; ++i) {
            SetCellString(i + 1, 1, lines[i]);
            m_lowestRow = i + 1;
        }
        std::string name;
        if (!file.ReadString(name) || name.empty())
            Fail("ZuExcel2Text: Empty data name.");
        SetCellString(5, 1, name.size() >= 2 ? name.substr(1, name.size() - 2) : std::string());
        m_lowestRow = 5;

        std::string pending;
        bool hasPending = false;
        WriteFrequencies(file, pending, hasPending);
        // The rest of the frequency block, up to its first empty line.
        std::string line = pending;
        while (!(hasPending && line.empty())) {
            if (!file.ReadString(line))
                break;
            hasPending = true;
        }

        switch (type->code) {
        case ElementType::TotalDlfData:
        case ElementType::IntrinsicDlfData:
            WriteLossFactors(file, 11, 1);
            break;
        case ElementType::ClfData:
            WriteLossFactors(file, 12, 2);
            break;
        case ElementType::InputPowerData:
            WriteInputPowers(file);
            break;
        default:
            break;
        }
    } catch (const CUserException&) {
        throw;
    } catch (const std::exception&) {
        Fail(Format("ZuText2Excel: Failed to export data to a Excel file.\n[%s]", path.c_str()));
    }
}

void CZuText2Excel::WriteFrequencies(CStdioFile& file, std::string& pending, bool& hasPending)
{
    std::string line;
    if (!file.ReadString(line))
        Fail("ZuExcel2Text: Failed to export frequencies.");
    if (line == kUserDefined) {
        int col = 1;
        bool bandSeen = false;
        while (file.ReadString(line)) {
            const std::vector<std::string> f = Words(line);
            // The first and last centre frequency stand on lines of their own before the bands.
            if (f.size() == 1 && !bandSeen)
                continue;
            if (f.size() < 3) {
                pending = line;
                hasPending = true;
                return;
            }
            bandSeen = true;
            for (int r = 0; r < 3; ++r)
                Put(6 + r, col, f[static_cast<size_t>(r)]);
            m_labels.push_back(f[0]);
            ++col;
        }
        return;
    }
    const std::vector<std::string> f = Words(line);
    char* end1 = nullptr;
    char* end2 = nullptr;
    const double start = f.size() >= 2 ? std::strtod(f[0].c_str(), &end1) : 0.0;
    const double stop = f.size() >= 2 ? std::strtod(f[1].c_str(), &end2) : 0.0;
    if (f.size() < 2 || *end1 != '\0' || *end2 != '\0' || !(start > 0.0) || !(stop >= start))
        Fail("ZuExcel2Text: Failed to export frequencies.");
    Put(6, 1, f[0]);
    Put(6, 2, f[1]);
    COctaveManager bands(OCTAVE_BAND_THIRD, start, stop);
    for (int i = 0; i < bands.GetFreqCount(); ++i)
        m_labels.push_back(bands.GetFreqAsString(i));
}

void CZuText2Excel::WriteLossFactors(CStdioFile& file, int labelRow, int valueLines)
{
    std::string line;
    for (int i = 0; i < 2; ++i) // the section header and the line after it
        file.ReadString(line);
    for (size_t j = 0; j < m_labels.size(); ++j)
        Put(labelRow + static_cast<int>(j), 1, m_labels[j]);
    int col = 2;
    for (;;) {
        if (!file.ReadString(line) || line.empty()) // the item's header
            break;
        for (int k = 0; k < valueLines; ++k) {
            if (!file.ReadString(line) || line.empty())
                return;
            if (!WriteColumn(line, 10, col++))
                Fail("ZuText2Excel: Failed to export to a excel data.");
        }
    }
}

void CZuText2Excel::WriteInputPowers(CStdioFile& file)
{
    std::string current;
    int groupRow = 0;
    int col = 2;
    std::string line;
    // The input-power texts close their frequency and subsystem blocks with two empty lines: the
    // section starts at the first line that is not empty.
    bool more = false;
    while ((more = file.ReadString(line)) && line.empty()) {
    }
    for (; more && !line.empty(); more = file.ReadString(line)) {
        const std::vector<std::string> header = CTabSplitter().Split(line);
        if (header.size() < 2)
            continue; // the section's own name
        const int kind = std::atoi(header[1].c_str());
        const std::string prefix = kind == ElementType::InputPower ? "#IP"
                                   : kind == ElementType::Energy   ? "#IE"
                                                                   : "#IPV";
        if (prefix != current) {
            // A group starts below everything written so far, so a group with more values than
            // bands never runs into the next one.
            groupRow = m_lowestRow + 1;
            current = prefix;
            col = 2;
            Put(groupRow, 1, prefix);
            for (size_t j = 0; j < m_labels.size(); ++j)
                Put(groupRow + 1 + static_cast<int>(j), 1, m_labels[j]);
        }
        if (!file.ReadString(line) || line.empty())
            break;
        if (!WriteColumn(line, groupRow, col)) {
            Report(Format("ZuExcel2Text: Failed to export to a excel data at (%d, %d).", groupRow, col));
            Fail("ZuText2Excel: Failed to export to a excel data.");
        }
        ++col;
    }
}
