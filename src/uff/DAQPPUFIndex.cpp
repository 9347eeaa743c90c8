#include "uff/DAQPPUFIndex.h"

#include "platform/archive/Archive.h"
#include "uff/UFScan.h"

IMPLEMENT_SERIAL(CDAQPPUFIndex, CUF58Index, 1 | VERSIONABLE_SCHEMA)

namespace {

constexpr size_t kMaxField = 255;

bool IsPointSeparator(char c)
{
    return c == ':' || c == '_' || c == '?' || c == '-';
}

// The text after the first two blank-ended fields of ID line 1; empty when the line has fewer.
std::string_view PointText(std::string_view line)
{
    size_t pos = 0;
    for (int field = 0; field < 2; ++field) {
        const size_t start = pos;
        while (pos < line.size() && line[pos] != ' ')
            ++pos;
        if (pos == start || pos - start > kMaxField || pos == line.size())
            return {};
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
    }
    // ID lines are padded to their width with blanks; the padding is no part of the point.
    return uf::TrimRight(line.substr(pos, kMaxField));
}

} // namespace

CDAQPPUFIndex& CDAQPPUFIndex::operator=(const CDAQPPUFIndex& other)
{
    if (this == &other)
        return *this;
    m_strFile = other.m_strFile;
    m_nOffset = other.m_nOffset;
    m_tCreated = other.m_tCreated;
    m_nFuncType = other.m_nFuncType;
    m_strRespEntity = other.m_strRespEntity;
    m_nRespNode = other.m_nRespNode;
    m_nRespDir = other.m_nRespDir;
    m_strRefEntity = other.m_strRefEntity;
    m_nRefNode = other.m_nRefNode;
    m_nRefDir = other.m_nRefDir;
    m_nOrdDataType = other.m_nOrdDataType;
    m_nNumValues = other.m_nNumValues;
    m_nEvenSpacing = other.m_nEvenSpacing;
    m_dAbscIncrement = other.m_dAbscIncrement;
    m_dAbscMin = other.m_dAbscMin;
    m_dZValue = other.m_dZValue;
    m_nAxisDataType = other.m_nAxisDataType;
    m_strAxisLabel = other.m_strAxisLabel;
    m_strAxisUnits = other.m_strAxisUnits;
    m_strUID = other.m_strUID;
    m_strSubsystem = other.m_strSubsystem;
    m_nLP = other.m_nLP;
    m_strSubsystem2 = other.m_strSubsystem2;
    m_nLP2 = other.m_nLP2;
    return *this;
}

void CDAQPPUFIndex::SplitPoint(std::string_view text, std::string& subsystem, int& lp)
{
    // At most three tokens; an empty token ends the list (the separator that follows a token is
    // consumed with it).
    std::string_view tokens[3];
    size_t pos = 0;
    for (auto& token : tokens) {
        const size_t start = pos;
        while (pos < text.size() && !IsPointSeparator(text[pos]))
            ++pos;
        if (pos == start)
            break;
        token = text.substr(start, pos - start);
        if (pos < text.size())
            ++pos;
    }
    const bool three = !tokens[2].empty();
    subsystem.assign(three ? tokens[1] : tokens[0]);
    lp = uf::Atoi(three ? tokens[2] : tokens[1]) - 1;
}

int CDAQPPUFIndex::ReadHeader(CUFLineReader& file)
{
    if (!CUF58Index::ReadHeader(file))
        return 0;
    const std::string_view point = PointText(m_strIDLine[0]);
    const size_t slash = point.find('/');
    if (slash == std::string_view::npos || slash == 0) {
        SplitPoint(point, m_strSubsystem, m_nLP);
        m_strSubsystem2 = m_strSubsystem;
        m_nLP2 = m_nLP;
    } else {
        SplitPoint(point.substr(0, slash), m_strSubsystem2, m_nLP2);
        SplitPoint(point.substr(slash + 1), m_strSubsystem, m_nLP);
    }
    std::string_view uid = uf::TrimRight(m_strIDLine[1]);
    while (!uid.empty() && uid.front() == '[')
        uid.remove_prefix(1);
    while (!uid.empty() && uid.back() == ']')
        uid.remove_suffix(1);
    if (uid.substr(0, 4) == "UID=")
        m_strUID.assign(uid.substr(4));
    else
        m_strUID.assign(uf::TrimRight(m_strIDLine[1]));
    return 1;
}

void CDAQPPUFIndex::Serialize(CArchive& ar)
{
    CUF58Index::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kVersion << m_strUID << m_strSubsystem << m_nLP << m_strSubsystem2 << m_nLP2;
        return;
    }
    uint8_t version = 0;
    ar >> version >> m_strUID >> m_strSubsystem >> m_nLP >> m_strSubsystem2 >> m_nLP2;
}
