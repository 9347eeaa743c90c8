#include "platform/elements/ZuVecFunc.h"

#include <stdexcept>

#include "platform/archive/Archive.h"
#include "platform/archive/Collections.h"
#include "platform/base/Format.h"
#include "platform/elements/ElementText.h"
#include "platform/elements/StdioFile.h"
#include "platform/gfx/GfxUtil.h"

IMPLEMENT_SERIAL(CZuVecFunc, CZuFuncElement, 1)

namespace {
constexpr uint8_t kVecFuncVersion = 1;

// Values of the old table's subsystems carried over to the same names of the new one.
std::vector<double> Remap(const std::vector<double>& values, int points, const CZuSubsystemTable& from,
                          const CZuSubsystemTable& to)
{
    int nFrom = from.GetCount();
    int nTo = to.GetCount();
    std::vector<double> out(static_cast<size_t>(points) * static_cast<size_t>(nTo), 0.0);
    for (int k = 0; k < nTo; ++k) {
        int old = from.GetIndex(to[k]);
        if (old < 0)
            continue;
        for (int i = 0; i < points; ++i)
            out[static_cast<size_t>(i) * nTo + k] = values[static_cast<size_t>(i) * nFrom + old];
    }
    return out;
}
} // namespace

CZuVecFunc::CZuVecFunc() = default;

CZuVecFunc::CZuVecFunc(const std::string& name, const CZuSubsystemTable* table, int dataCount, CMElement* parent,
                       int type)
    : CZuFuncElement(name, dataCount, parent, type)
{
    if (table)
        m_table = *table;
    m_values.assign(static_cast<size_t>(GetDataCount()) * m_table.GetCount(), 0.0);
    SetTableDataType(TABLE_PLAIN);
}

CZuVecFunc::CZuVecFunc(const std::string& name, std::vector<std::string> subsystems, int dataCount, CMElement* parent,
                       int type)
    : CZuVecFunc(name, nullptr, dataCount, parent, type)
{
    CZuSubsystemTable table(std::move(subsystems));
    SetSubsystemTable(&table);
}

CZuVecFunc::~CZuVecFunc() = default;

size_t CZuVecFunc::Offset(int i, int k) const
{
    int n = m_table.GetCount();
    if (i < 0 || i >= GetDataCount() || k < 0 || k >= n)
        throw std::out_of_range(Format("vector value (%d, %d) outside %d x %d", i, k, GetDataCount(), n));
    return static_cast<size_t>(i) * n + k;
}

double& CZuVecFunc::DataValue(int i, int k)
{
    return m_values[Offset(i, k)];
}

double CZuVecFunc::DataValue(int i, int k) const
{
    return m_values[Offset(i, k)];
}

std::string CZuVecFunc::GetSubsystem(int k) const
{
    if (k < 0 || k >= m_table.GetCount())
        return {};
    return m_table[k];
}

void CZuVecFunc::SetSubsystemTable(const CZuSubsystemTable* table)
{
    CZuSubsystemTable next = table ? *table : CZuSubsystemTable();
    if (next == m_table)
        return;
    m_values = Remap(m_values, GetDataCount(), m_table, next);
    m_table = std::move(next);
}

void CZuVecFunc::Assign(const CZuVecFunc& other)
{
    if (this == &other)
        return;
    m_index = other.m_index;
    m_table = other.m_table;
    m_values = other.m_values;
}

void CZuVecFunc::Empty()
{
    std::fill(m_values.begin(), m_values.end(), 0.0);
}

void CZuVecFunc::OnDataCountChanged(int oldCount)
{
    // Point-major storage: whole rows of subsystems come and go at the end.
    (void)oldCount;
    m_values.resize(static_cast<size_t>(GetDataCount()) * m_table.GetCount(), 0.0);
}

std::string CZuVecFunc::GetTableCellData(int row, int col, int, int numberFormat)
{
    int n = GetDataCount();
    int m = m_table.GetCount();
    if (row < 0 || row > n || col < 0 || col > m)
        return {};
    if (row == 0)
        return col == 0 ? std::string("Freq. [Hz]") : m_table[col - 1];
    if (col == 0)
        return CGfxUtil::GetManipulatedFrequencyString(m_index[static_cast<size_t>(row - 1)]);
    return FormatCellValue(DataValue(row - 1, col - 1), numberFormat);
}

int CZuVecFunc::GetTableRowCount(int)
{
    return GetDataCount() + 1;
}

int CZuVecFunc::GetTableColCount(int)
{
    return m_table.GetCount() + 1;
}

void CZuVecFunc::ChangeDataValue(int row, int col, int index, double value, int flag)
{
    if (row < 0 || row >= GetDataCount() || col < 0 || col >= m_table.GetCount())
        return;
    double& cell = DataValue(row, col);
    if (flag)
        PushUndo(row, col, index, cell);
    cell = value;
}

void CZuVecFunc::GetSelection(int, int col, int, CZuSubsystemTable* table)
{
    if (table && col >= 1 && col <= m_table.GetCount())
        table->AddUnique(m_table[col - 1]);
}

void CZuVecFunc::ExportBody(CStdioFile& file)
{
    std::string line = "#Subsystems";
    for (const std::string& name : m_table.Names())
        line.append("\t").append(zu_text::Escape(name));
    file.WriteString(line + "\n");
    size_t m = static_cast<size_t>(m_table.GetCount());
    for (int i = 0; i < GetDataCount(); ++i)
        file.WriteString(zu_text::JoinNumbers(m_values, static_cast<size_t>(i) * m, m) + "\n");
}

bool CZuVecFunc::ImportBody(const std::vector<std::string>& lines, int dataCount)
{
    if (lines.empty())
        return false;
    std::vector<std::string> head = zu_text::Split(lines[0]);
    if (head[0] != "#Subsystems")
        return false;
    CZuSubsystemTable table;
    for (size_t k = 1; k < head.size(); ++k)
        table.Add(zu_text::Unescape(head[k]));
    if (lines.size() != static_cast<size_t>(dataCount) + 1)
        return false;
    // Not reserved from the header's sizes: a forged header must not make a huge allocation; the
    // values grow only as lines parse.
    std::vector<double> values;
    for (int i = 0; i < dataCount; ++i)
        if (!zu_text::ParseNumbers(lines[static_cast<size_t>(i) + 1], static_cast<size_t>(table.GetCount()), values))
            return false;
    m_table = std::move(table);
    m_values = std::move(values);
    return true;
}

void CZuVecFunc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVecFuncVersion;
        CZuFuncElement::Serialize(ar);
        m_table.Serialize(ar);
        ar << static_cast<uint32_t>(m_values.size());
        WriteValues(ar, m_values);
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version < 1 || version > kVecFuncVersion)
        CArchive::ThrowBadSchema(Format("vector function version %u", static_cast<unsigned>(version)));
    CZuFuncElement::Serialize(ar);
    CZuSubsystemTable table;
    table.Serialize(ar);
    uint32_t count = 0;
    ar >> count;
    uint64_t expected = static_cast<uint64_t>(GetDataCount()) * static_cast<uint64_t>(table.GetCount());
    if (count != expected)
        CArchive::Throw(CArchiveException::genericException,
                        Format("vector function \"%s\": %u values for %d points x %d subsystems", GetName().c_str(),
                               count, GetDataCount(), table.GetCount()));
    std::vector<double> values = ReadValues<double>(ar, count);
    m_table = std::move(table);
    m_values = std::move(values);
}

void CZuVecFunc::SerializeVersioned(CArchive& ar, uint8_t version, const char* what)
{
    if (ar.IsStoring()) {
        ar << version;
        CZuVecFunc::Serialize(ar);
        return;
    }
    uint8_t stored = 0;
    ar >> stored;
    if (stored < 1 || stored > version)
        CArchive::ThrowBadSchema(Format("%s version %u", what, static_cast<unsigned>(stored)));
    CZuVecFunc::Serialize(ar);
}
