#include "platform/elements/ZuFunc.h"

#include "platform/archive/Archive.h"
#include "platform/archive/Collections.h"
#include "platform/base/Format.h"
#include "platform/elements/ElementText.h"
#include "platform/elements/StdioFile.h"
#include "platform/gfx/GfxUtil.h"

IMPLEMENT_SERIAL(CZuFunc, CZuFuncElement, 1)

namespace {
constexpr uint8_t kFuncVersion = 1;
}

CZuFunc::CZuFunc() = default;

CZuFunc::CZuFunc(const std::string& name, int dataCount, CMElement* parent, int type)
    : CZuFuncElement(name, dataCount, parent, type), m_values(static_cast<size_t>(GetDataCount()), 0.0)
{}

CZuFunc::~CZuFunc() = default;

void CZuFunc::Assign(const CZuFunc& other)
{
    if (this == &other)
        return;
    m_index = other.m_index;
    m_values = other.m_values;
    m_unit = other.m_unit;
}

void CZuFunc::Empty()
{
    std::fill(m_values.begin(), m_values.end(), 0.0);
}

void CZuFunc::OnDataCountChanged(int)
{
    m_values.resize(m_index.size(), 0.0);
}

std::string CZuFunc::GetTableCellData(int row, int col, int, int numberFormat)
{
    int n = GetDataCount();
    if (row < 0 || row > n || col < 0 || col > 1)
        return {};
    if (row == 0) {
        if (col == 0)
            return "Freq. [Hz]";
        return m_unit.empty() ? GetName() : Format("%s [%s]", GetName().c_str(), m_unit.c_str());
    }
    if (col == 0)
        return CGfxUtil::GetManipulatedFrequencyString(m_index[static_cast<size_t>(row - 1)]);
    return FormatCellValue(m_values[static_cast<size_t>(row - 1)], numberFormat);
}

int CZuFunc::GetTableRowCount(int)
{
    return GetDataCount() + 1;
}

int CZuFunc::GetTableColCount(int)
{
    return 2;
}

void CZuFunc::ChangeDataValue(int row, int col, int index, double value, int flag)
{
    if (row < 0 || row >= GetDataCount() || col != 0)
        return;
    double& cell = m_values[static_cast<size_t>(row)];
    if (flag)
        PushUndo(row, col, index, cell);
    cell = value;
}

void CZuFunc::ExportBody(CStdioFile& file)
{
    file.WriteString(std::string("#Unit\t").append(zu_text::Escape(m_unit)).append("\n"));
    file.WriteString(std::string("#Values\t").append(zu_text::JoinNumbers(m_values, 0, m_values.size())).append("\n"));
}

bool CZuFunc::ImportBody(const std::vector<std::string>& lines, int dataCount)
{
    if (lines.size() != 2 || lines[0].rfind("#Unit\t", 0) != 0 || lines[1].rfind("#Values", 0) != 0)
        return false;
    const std::string& v = lines[1];
    if (v.size() > 7 && v[7] != '\t')
        return false;
    std::vector<double> values;
    if (!zu_text::ParseNumbers(v.size() > 8 ? v.substr(8) : std::string(), static_cast<size_t>(dataCount), values))
        return false;
    m_unit = zu_text::Unescape(lines[0].substr(6));
    m_values = std::move(values);
    return true;
}

void CZuFunc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kFuncVersion;
        CZuFuncElement::Serialize(ar);
        ar << m_unit;
        SerializeValues(ar, m_values);
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version < 1 || version > kFuncVersion)
        CArchive::ThrowBadSchema(Format("function version %u", static_cast<unsigned>(version)));
    CZuFuncElement::Serialize(ar);
    std::string unit;
    ar >> unit;
    const uint32_t count = ar.ReadCount(8);
    if (count != static_cast<uint32_t>(GetDataCount()))
        CArchive::Throw(CArchiveException::genericException,
                        Format("function \"%s\": %u values for %d points", GetName().c_str(), count, GetDataCount()));
    std::vector<double> values = ReadValues<double>(ar, count);
    m_unit = std::move(unit);
    m_values = std::move(values);
}
