#include "platform/elements/ZuMatFunc.h"

#include <stdexcept>

#include "platform/archive/Archive.h"
#include "platform/archive/Collections.h"
#include "platform/base/Format.h"
#include "platform/elements/ElementText.h"
#include "platform/elements/StdioFile.h"
#include "platform/gfx/GfxUtil.h"

IMPLEMENT_SERIAL(CZuMatFunc, CZuFuncElement, 1)

namespace {
constexpr uint8_t kMatFuncVersion = 1;
}

CZuMatFunc::CZuMatFunc()
{
    SetTableDataType(TABLE_BY_INDEX);
}

CZuMatFunc::CZuMatFunc(const std::string& name, const CZuSubsystemTable* rows, const CZuSubsystemTable* cols,
                       int dataCount, CMElement* parent, int type)
    : CZuFuncElement(name, dataCount, parent, type)
{
    if (rows)
        m_rows = *rows;
    if (cols)
        m_cols = *cols;
    else
        m_cols = m_rows;
    m_values.assign(static_cast<size_t>(GetDataCount()) * m_rows.GetCount() * m_cols.GetCount(), 0.0);
    SetTableDataType(TABLE_BY_INDEX);
}

CZuMatFunc::~CZuMatFunc() = default;

size_t CZuMatFunc::Offset(int i, int row, int col) const
{
    int nr = m_rows.GetCount();
    int nc = m_cols.GetCount();
    if (i < 0 || i >= GetDataCount() || row < 0 || row >= nr || col < 0 || col >= nc)
        throw std::out_of_range(
            Format("matrix value (%d, %d, %d) outside %d x %d x %d", i, row, col, GetDataCount(), nr, nc));
    return (static_cast<size_t>(i) * nr + row) * nc + col;
}

double& CZuMatFunc::DataValue(int i, int row, int col)
{
    return m_values[Offset(i, row, col)];
}

double CZuMatFunc::DataValue(int i, int row, int col) const
{
    return m_values[Offset(i, row, col)];
}

const double* CZuMatFunc::GetPointValues(int i) const
{
    if (i < 0 || i >= GetDataCount() || m_rows.GetCount() == 0 || m_cols.GetCount() == 0)
        return nullptr;
    return m_values.data() + Offset(i, 0, 0);
}

std::string CZuMatFunc::GetRowSubsystem(int i) const
{
    return i >= 0 && i < m_rows.GetCount() ? m_rows[i] : std::string();
}

std::string CZuMatFunc::GetColSubsystem(int i) const
{
    return i >= 0 && i < m_cols.GetCount() ? m_cols[i] : std::string();
}

void CZuMatFunc::SetSubsystemTable(const CZuSubsystemTable* rows, const CZuSubsystemTable* cols)
{
    CZuSubsystemTable newRows = rows ? *rows : CZuSubsystemTable();
    CZuSubsystemTable newCols = cols ? *cols : newRows;
    if (newRows == m_rows && newCols == m_cols)
        return;
    int points = GetDataCount();
    int nr = newRows.GetCount();
    int nc = newCols.GetCount();
    std::vector<double> values(static_cast<size_t>(points) * nr * nc, 0.0);
    for (int r = 0; r < nr; ++r) {
        int oldR = m_rows.GetIndex(newRows[r]);
        if (oldR < 0)
            continue;
        for (int c = 0; c < nc; ++c) {
            int oldC = m_cols.GetIndex(newCols[c]);
            if (oldC < 0)
                continue;
            for (int i = 0; i < points; ++i)
                values[(static_cast<size_t>(i) * nr + r) * nc + c] = DataValue(i, oldR, oldC);
        }
    }
    m_rows = std::move(newRows);
    m_cols = std::move(newCols);
    m_values = std::move(values);
}

void CZuMatFunc::Assign(const CZuMatFunc& other)
{
    if (this == &other)
        return;
    m_index = other.m_index;
    m_rows = other.m_rows;
    m_cols = other.m_cols;
    m_values = other.m_values;
}

void CZuMatFunc::Empty()
{
    std::fill(m_values.begin(), m_values.end(), 0.0);
}

void CZuMatFunc::OnDataCountChanged(int)
{
    m_values.resize(static_cast<size_t>(GetDataCount()) * m_rows.GetCount() * m_cols.GetCount(), 0.0);
}

std::string CZuMatFunc::GetTableCellData(int row, int col, int index, int numberFormat)
{
    int nr = m_rows.GetCount();
    int nc = m_cols.GetCount();
    if (index < 0 || index >= GetDataCount() || row < 0 || row > nr || col < 0 || col > nc)
        return {};
    if (row == 0 && col == 0)
        return GetFreqIndicator(index);
    if (row == 0)
        return m_cols[col - 1];
    if (col == 0)
        return m_rows[row - 1];
    return FormatCellValue(DataValue(index, row - 1, col - 1), numberFormat);
}

int CZuMatFunc::GetTableRowCount(int)
{
    return m_rows.GetCount() + 1;
}

int CZuMatFunc::GetTableColCount(int)
{
    return m_cols.GetCount() + 1;
}

std::string CZuMatFunc::GetFreqIndicator(int index)
{
    if (index < 0 || index >= GetDataCount())
        return {};
    return CGfxUtil::GetManipulatedFrequencyString(m_index[static_cast<size_t>(index)]);
}

void CZuMatFunc::ChangeDataValue(int row, int col, int index, double value, int flag)
{
    if (index < 0 || index >= GetDataCount() || row < 0 || row >= m_rows.GetCount() || col < 0 ||
        col >= m_cols.GetCount())
        return;
    double& cell = DataValue(index, row, col);
    if (flag)
        PushUndo(row, col, index, cell);
    cell = value;
}

void CZuMatFunc::GetSelection(int row, int col, int, CZuSubsystemTable* table)
{
    if (!table)
        return;
    if (row >= 1 && row <= m_rows.GetCount())
        table->AddUnique(m_rows[row - 1]);
    if (col >= 1 && col <= m_cols.GetCount())
        table->AddUnique(m_cols[col - 1]);
}

void CZuMatFunc::ExportBody(CStdioFile& file)
{
    std::string rows = "#Rows";
    for (const std::string& name : m_rows.Names())
        rows.append("\t").append(zu_text::Escape(name));
    std::string cols = "#Cols";
    for (const std::string& name : m_cols.Names())
        cols.append("\t").append(zu_text::Escape(name));
    file.WriteString(rows + "\n");
    file.WriteString(cols + "\n");
    size_t nc = static_cast<size_t>(m_cols.GetCount());
    size_t lines = static_cast<size_t>(GetDataCount()) * m_rows.GetCount();
    for (size_t l = 0; l < lines; ++l)
        file.WriteString(zu_text::JoinNumbers(m_values, l * nc, nc) + "\n");
}

bool CZuMatFunc::ImportBody(const std::vector<std::string>& lines, int dataCount)
{
    if (lines.size() < 2)
        return false;
    std::vector<std::string> rowHead = zu_text::Split(lines[0]);
    std::vector<std::string> colHead = zu_text::Split(lines[1]);
    if (rowHead[0] != "#Rows" || colHead[0] != "#Cols")
        return false;
    CZuSubsystemTable rows, cols;
    for (size_t k = 1; k < rowHead.size(); ++k)
        rows.Add(zu_text::Unescape(rowHead[k]));
    for (size_t k = 1; k < colHead.size(); ++k)
        cols.Add(zu_text::Unescape(colHead[k]));
    size_t valueLines = static_cast<size_t>(dataCount) * rows.GetCount();
    if (lines.size() != valueLines + 2)
        return false;
    // Not reserved from the headers' sizes: a forged header must not make a huge allocation; the
    // values grow only as lines parse.
    std::vector<double> values;
    for (size_t l = 0; l < valueLines; ++l)
        if (!zu_text::ParseNumbers(lines[l + 2], static_cast<size_t>(cols.GetCount()), values))
            return false;
    m_rows = std::move(rows);
    m_cols = std::move(cols);
    m_values = std::move(values);
    return true;
}

void CZuMatFunc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kMatFuncVersion;
        CZuFuncElement::Serialize(ar);
        m_rows.Serialize(ar);
        m_cols.Serialize(ar);
        ar << static_cast<uint64_t>(m_values.size());
        WriteValues(ar, m_values);
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version < 1 || version > kMatFuncVersion)
        CArchive::ThrowBadSchema(Format("matrix function version %u", static_cast<unsigned>(version)));
    CZuFuncElement::Serialize(ar);
    CZuSubsystemTable rows, cols;
    rows.Serialize(ar);
    cols.Serialize(ar);
    uint64_t count = 0;
    ar >> count;
    // The product of three forged sizes can wrap round to a small count; such a file is refused
    // rather than leaving values that the sizes index past.
    uint64_t expected = 0;
    const bool fits = !__builtin_mul_overflow(static_cast<uint64_t>(GetDataCount()),
                                              static_cast<uint64_t>(rows.GetCount()), &expected) &&
                      !__builtin_mul_overflow(expected, static_cast<uint64_t>(cols.GetCount()), &expected);
    if (!fits || count != expected)
        CArchive::Throw(CArchiveException::genericException,
                        Format("matrix function \"%s\": %llu values for %d x %d x %d", GetName().c_str(),
                               static_cast<unsigned long long>(count), GetDataCount(), rows.GetCount(),
                               cols.GetCount()));
    std::vector<double> values = ReadValues<double>(ar, count);
    m_rows = std::move(rows);
    m_cols = std::move(cols);
    m_values = std::move(values);
}
