#include "uff/UF58Index.h"

#include <cctype>
#include <climits>
#include <vector>

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "uff/UFLineReader.h"
#include "uff/UFScan.h"

IMPLEMENT_SERIAL(CUF58Index, CUFIndex, 1 | VERSIONABLE_SCHEMA)

namespace {

// ---- dates ----

struct DateToken
{
    enum Kind
    {
        number,
        word,
        colon
    } kind;
    std::string text;
};

int MonthOf(std::string word)
{
    static const char* const kMonths[] = {"january", "february", "march",     "april",   "may",      "june",
                                          "july",    "august",   "september", "october", "november", "december"};
    for (auto& c : word)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (int m = 0; m < 12; ++m) {
        const std::string full = kMonths[m];
        if (word == full || (word.size() == 3 && full.compare(0, 3, word) == 0))
            return m + 1;
    }
    return 0;
}

int DaysInMonth(int year, int month)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

bool ToYear(const std::string& digits, int& year)
{
    const int v = uf::Atoi(digits);
    if (digits.size() <= 2)
        year = v < 30 ? 2000 + v : 1900 + v;
    else if (digits.size() == 4)
        year = v;
    else
        return false;
    return true;
}

// ---- fixed columns ----

std::string_view Columns(std::string_view line, size_t first, size_t width)
{
    const size_t start = first - 1;
    if (start >= line.size())
        return {};
    return line.substr(start, width);
}

bool IntColumns(std::string_view line, size_t first, size_t width, int32_t& value)
{
    uf::CFieldScanner scan(uf::Trim(Columns(line, first, width)));
    return scan.Int(value) && scan.AtEnd();
}

std::string TextColumns(std::string_view line, size_t first, size_t width)
{
    return std::string(uf::Trim(Columns(line, first, width)));
}

} // namespace

bool ParseUFDateTime(std::string_view text, std::tm& out)
{
    std::vector<DateToken> tokens;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (std::isdigit(c)) {
            const size_t start = i;
            while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
                ++i;
            if (i - start > 4)
                return false;
            tokens.push_back({DateToken::number, std::string(text.substr(start, i - start))});
        } else if (std::isalpha(c)) {
            const size_t start = i;
            while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])))
                ++i;
            tokens.push_back({DateToken::word, std::string(text.substr(start, i - start))});
        } else if (c == ':') {
            tokens.push_back({DateToken::colon, ":"});
            ++i;
        } else if (c == ' ' || c == '\t' || c == '/' || c == '-' || c == ',' || c == '.' || c == '\r') {
            ++i;
        } else {
            return false;
        }
    }
    std::vector<const DateToken*> dateNumbers;
    int month = 0;
    int monthAt = -1;
    int hour = 0, minute = 0, second = 0;
    bool haveTime = false;
    int ampm = 0; // 1 AM, 2 PM
    for (size_t i = 0; i < tokens.size(); ++i) {
        const DateToken& t = tokens[i];
        if (t.kind == DateToken::number && i + 1 < tokens.size() && tokens[i + 1].kind == DateToken::colon) {
            if (haveTime || i + 2 >= tokens.size() || tokens[i + 2].kind != DateToken::number)
                return false;
            haveTime = true;
            hour = uf::Atoi(t.text);
            minute = uf::Atoi(tokens[i + 2].text);
            i += 2;
            if (i + 2 < tokens.size() && tokens[i + 1].kind == DateToken::colon &&
                tokens[i + 2].kind == DateToken::number) {
                second = uf::Atoi(tokens[i + 2].text);
                i += 2;
            }
            if (i + 1 < tokens.size() && tokens[i + 1].kind == DateToken::word) {
                std::string w = tokens[i + 1].text;
                for (auto& c : w)
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                if (w == "AM" || w == "PM") {
                    ampm = w == "AM" ? 1 : 2;
                    ++i;
                }
            }
        } else if (t.kind == DateToken::number) {
            dateNumbers.push_back(&t);
        } else if (t.kind == DateToken::word) {
            const int m = MonthOf(t.text);
            if (m == 0 || month != 0)
                return false;
            month = m;
            monthAt = static_cast<int>(dateNumbers.size());
        } else {
            return false;
        }
    }
    int year = 0, day = 0;
    if (month == 0) {
        if (dateNumbers.size() != 3)
            return false;
        if (dateNumbers[0]->text.size() == 4) {
            year = uf::Atoi(dateNumbers[0]->text);
            month = uf::Atoi(dateNumbers[1]->text);
            day = uf::Atoi(dateNumbers[2]->text);
        } else {
            month = uf::Atoi(dateNumbers[0]->text);
            day = uf::Atoi(dateNumbers[1]->text);
            if (!ToYear(dateNumbers[2]->text, year))
                return false;
        }
    } else {
        if (dateNumbers.size() != 2)
            return false;
        if (monthAt == 0) {
            day = uf::Atoi(dateNumbers[0]->text);
            if (!ToYear(dateNumbers[1]->text, year))
                return false;
        } else if (monthAt == 1) {
            if (dateNumbers[0]->text.size() == 4) {
                year = uf::Atoi(dateNumbers[0]->text);
                day = uf::Atoi(dateNumbers[1]->text);
            } else {
                day = uf::Atoi(dateNumbers[0]->text);
                if (!ToYear(dateNumbers[1]->text, year))
                    return false;
            }
        } else {
            return false;
        }
    }
    if (month < 1 || month > 12 || year < 1900 || day < 1 || day > DaysInMonth(year, month))
        return false;
    if (ampm != 0) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (ampm == 2 ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59)
        return false;
    out = std::tm{};
    out.tm_year = year - 1900;
    out.tm_mon = month - 1;
    out.tm_mday = day;
    out.tm_hour = hour;
    out.tm_min = minute;
    out.tm_sec = second;
    out.tm_isdst = -1;
    return true;
}

int CUF58Index::ReadHeader(CUFLineReader& file)
{
    m_strFile = file.GetFilePath();
    for (auto& line : m_strIDLine) {
        line.clear();
        std::string_view text;
        if (!file.ReadLine(text))
            return 0;
        line = uf::ToUtf8(text);
    }
    std::tm when{};
    if (!ParseUFDateTime(m_strIDLine[2], when))
        return 0;
    when.tm_isdst = -1; // daylight saving as the zone has it on that day
    const time_t t = std::mktime(&when);
    if (t == static_cast<time_t>(-1) || t < INT32_MIN || t > INT32_MAX)
        return 0;
    m_tCreated = static_cast<int32_t>(t);

    std::string_view line;
    if (!file.ReadLine(line) || !ReadRecord6(line))
        return 0;
    if (!file.ReadLine(line) || !ReadRecord7(line))
        return 0;
    for (int i = 0; i < 4; ++i)
        if (!file.ReadLine(line) || !ReadAxisRecord(i, line))
            return 0;
    return 1;
}

bool CUF58Index::ReadRecord6(std::string_view line)
{
    // Words first: function type, identification number, version, load case, response entity,
    // node and direction, reference entity, node (as a word) and direction.
    uf::CFieldScanner scan(line);
    int32_t dropped = 0;
    std::string refNode;
    int fields = 0;
    std::string respEntity, refEntity;
    int32_t funcType = -1, respNode = -1, respDir = 0, refDir = 0;
    if (scan.Int(funcType) && ++fields && scan.Int(dropped) && ++fields && scan.Int(dropped) && ++fields &&
        scan.Int(dropped) && ++fields && scan.Word(respEntity) && ++fields && scan.Int(respNode) && ++fields &&
        scan.Int(respDir) && ++fields && scan.Word(refEntity) && ++fields && scan.Word(refNode) && ++fields &&
        scan.Int(refDir))
        ++fields;
    const bool byWords = fields == 10;
    const bool clean = byWords && scan.AtEnd();
    if (!clean) {
        // Names with blanks: the record's columns, 2(I5,I10),2(1X,10A1,I10,I4).
        int32_t ft = 0, rn = 0, rd = 0, fn = 0, fd = 0;
        if (IntColumns(line, 1, 5, ft) && IntColumns(line, 6, 10, dropped) && IntColumns(line, 16, 5, dropped) &&
            IntColumns(line, 21, 10, dropped) && IntColumns(line, 42, 10, rn) && IntColumns(line, 52, 4, rd) &&
            IntColumns(line, 67, 10, fn) && IntColumns(line, 77, 4, fd)) {
            funcType = ft;
            respEntity = TextColumns(line, 32, 10);
            respNode = rn;
            respDir = rd;
            refEntity = TextColumns(line, 57, 10);
            refNode = std::to_string(fn);
            refDir = fd;
        } else if (!byWords) {
            return false;
        }
    }
    m_nFuncType = funcType;
    m_strRespEntity = uf::ToUtf8(respEntity);
    m_nRespNode = respNode;
    m_nRespDir = respDir;
    m_strRefEntity = uf::ToUtf8(refEntity);
    m_nRefNode = uf::Atoi(refNode);
    m_nRefDir = refDir;
    // Files that number their points in the entity names or the ID lines.
    if (m_nRespNode == 0)
        m_nRespNode = uf::Atoi(m_strRespEntity);
    if (m_nRefNode == 0)
        m_nRefNode = uf::Atoi(m_strRefEntity);
    if (m_nRespNode == 0)
        m_nRespNode = uf::Atoi(m_strIDLine[0]);
    if (m_nRefNode == 0)
        m_nRefNode = uf::Atoi(m_strIDLine[1]);
    return true;
}

bool CUF58Index::ReadRecord7(std::string_view line)
{
    uf::CFieldScanner scan(line);
    int32_t type = 0, count = 0, spacing = 0;
    double minimum = 0.0, increment = 0.0, z = 0.0;
    if (!(scan.Int(type) && scan.Int(count) && scan.Int(spacing) && scan.Double(minimum) && scan.Double(increment) &&
          scan.Double(z)))
        return false;
    m_nOrdDataType = type;
    m_nNumValues = count;
    m_nEvenSpacing = spacing;
    m_dAbscMin = minimum;
    m_dAbscIncrement = increment;
    m_dZValue = z;
    return true;
}

bool CUF58Index::ReadAxisRecord(int i, std::string_view line)
{
    uf::CFieldScanner scan(line);
    int32_t type = -1, dropped = 0;
    std::string label, units;
    const bool byWords = scan.Int(type) && scan.Int(dropped) && scan.Int(dropped) && scan.Int(dropped) &&
                         scan.Word(label) && scan.Word(units);
    if (!byWords || !scan.AtEnd()) {
        // Labels with blanks: the record's columns, I10,3I5,2(1X,20A1).
        int32_t t = 0;
        if (IntColumns(line, 1, 10, t) && IntColumns(line, 11, 5, dropped) && IntColumns(line, 16, 5, dropped) &&
            IntColumns(line, 21, 5, dropped) && line.size() >= 27) {
            type = t;
            label = TextColumns(line, 27, 20);
            units = TextColumns(line, 48, 20);
        } else if (!byWords) {
            return false;
        }
    }
    m_nAxisDataType[static_cast<size_t>(i)] = type;
    m_strAxisLabel[static_cast<size_t>(i)] = uf::ToUtf8(label);
    m_strAxisUnits[static_cast<size_t>(i)] = uf::ToUtf8(units);
    return true;
}

std::string CUF58Index::MakeErrorText() const
{
    return Format("Filed to make a UF index data.\n%s\n%s\n%s\n%s\n%s\n", m_strIDLine[0].c_str(),
                  m_strIDLine[1].c_str(), m_strIDLine[2].c_str(), m_strIDLine[3].c_str(), m_strIDLine[4].c_str()) +
           Format("File: %s\nByte position: %d\n", m_strFile.c_str(), m_nOffset);
}

void CUF58Index::Serialize(CArchive& ar)
{
    CUFIndex::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kVersion;
        for (const auto& line : m_strIDLine)
            ar << line;
        ar << m_tCreated << m_nFuncType << m_strRespEntity << m_nRespNode << static_cast<uint8_t>(m_nRespDir);
        ar << m_strRefEntity << m_nRefNode << static_cast<uint8_t>(m_nRefDir);
        ar << m_nOrdDataType << m_nNumValues << static_cast<uint8_t>(m_nEvenSpacing);
        ar << m_dAbscIncrement << m_dAbscMin << m_dZValue;
        for (size_t i = 0; i < 4; ++i)
            ar << m_nAxisDataType[i] << m_strAxisLabel[i] << m_strAxisUnits[i];
        return;
    }
    // Directions are signed (-6 to 6); their byte is read back with its sign.
    int8_t respDir = 0, refDir = 0;
    uint8_t version = 0, spacing = 0;
    ar >> version;
    for (auto& line : m_strIDLine)
        ar >> line;
    ar >> m_tCreated >> m_nFuncType >> m_strRespEntity >> m_nRespNode >> respDir;
    ar >> m_strRefEntity >> m_nRefNode >> refDir;
    ar >> m_nOrdDataType >> m_nNumValues >> spacing;
    ar >> m_dAbscIncrement >> m_dAbscMin >> m_dZValue;
    for (size_t i = 0; i < 4; ++i)
        ar >> m_nAxisDataType[i] >> m_strAxisLabel[i] >> m_strAxisUnits[i];
    m_nRespDir = respDir;
    m_nRefDir = refDir;
    m_nEvenSpacing = spacing;
}
