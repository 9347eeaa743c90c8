#include "models/HSEARegOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "platform/base/Format.h"

CHSEARegOptions::CHSEARegOptions() : m_keyPath(GetOptionsKeyPath()), m_key(m_keyPath.c_str()) {}

CHSEARegOptions::~CHSEARegOptions() = default; // the key closes with m_key

int CHSEARegOptions::Open()
{
    m_open = m_key.Open() ? 1 : 0;
    return m_open;
}

uint32_t CHSEARegOptions::GetDWORD(const char* name)
{
    uint32_t value = kNoValue;
    if (!m_open || !m_key.GetDWORD(name, value))
        return kNoValue;
    return value;
}

int CHSEARegOptions::SetDWORD(const char* name, uint32_t value)
{
    return m_open && m_key.SetDWORD(name, value) ? 1 : 0;
}

int CHSEARegOptions::GetString(const char* name, std::string& value)
{
    if (!m_open)
        return 0;
    std::string text;
    if (!m_key.GetString(name, text) || text.size() > CZuRegOptions::kMaxStringBytes)
        return 0;
    value = text;
    return 1;
}

int CHSEARegOptions::SetString(const char* name, const std::string& value)
{
    return m_open && m_key.SetString(name, value) ? 1 : 0;
}

uint32_t CHSEARegOptions::ReadDWORD(const char* name, uint32_t defaultValue)
{
    CHSEARegOptions reg;
    if (!reg.Open())
        return defaultValue;
    const uint32_t v = reg.GetDWORD(name);
    return v == kNoValue ? defaultValue : v;
}

std::string CHSEARegOptions::ReadString(const char* name, const std::string& defaultValue)
{
    CHSEARegOptions reg;
    std::string text;
    if (!reg.Open() || !reg.GetString(name, text))
        return defaultValue;
    return text;
}

int CHSEARegOptions::WriteDWORD(const char* name, uint32_t value)
{
    CHSEARegOptions reg;
    return reg.Open() ? reg.SetDWORD(name, value) : 0;
}

int CHSEARegOptions::WriteString(const char* name, const std::string& value)
{
    CHSEARegOptions reg;
    return reg.Open() ? reg.SetString(name, value) : 0;
}

namespace {

// A decimal number of a stored text; false when the text does not start with one.
bool ParseDecimal(const std::string& text, double& value)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

double ReadFraction(const char* name, double defaultValue)
{
    CHSEARegOptions reg;
    std::string text;
    double v = 0.0;
    if (!reg.Open() || !reg.GetString(name, text) || !ParseDecimal(text, v))
        return defaultValue;
    return v;
}

} // namespace

uint32_t CHSEARegOptions::GetDataWindowing()
{
    return ReadDWORD(kRegDataWindowing, 0);
}
int CHSEARegOptions::SaveDataWindowing(uint32_t windowType)
{
    return WriteDWORD(kRegDataWindowing, windowType);
}

double CHSEARegOptions::GetIPReviseRate()
{
    constexpr double kDefault = 0.95;
    const double v = ReadFraction(kRegIPReviseRate, kDefault);
    return v > 0.0 ? v : kDefault;
}

double CHSEARegOptions::GetExpDataCheckInputRange()
{
    return ReadFraction(kRegExpDataCheckInputRange, 0.75);
}
double CHSEARegOptions::GetExpDataCheckOverLoad()
{
    return ReadFraction(kRegExpDataCheckOverLoad, 0.95);
}
int CHSEARegOptions::SaveExpDataCheckInputRange(double value)
{
    return WriteString(kRegExpDataCheckInputRange, Format("%e", value));
}
int CHSEARegOptions::SaveExpDataCheckOverLoad(double value)
{
    return WriteString(kRegExpDataCheckOverLoad, Format("%e", value));
}

uint32_t CHSEARegOptions::GetDaqGraphBandType()
{
    return ReadDWORD(kRegDaqGraphBandType, 0);
}
uint32_t CHSEARegOptions::GetDaqGraphColor()
{
    return ReadDWORD(kRegDaqGraphColor, 0);
}
uint32_t CHSEARegOptions::GetDaqInputRange()
{
    return ReadDWORD(kRegDaqInputRange, 0);
}
int CHSEARegOptions::SaveDaqGraphBandType(uint32_t value)
{
    return WriteDWORD(kRegDaqGraphBandType, value);
}
int CHSEARegOptions::SaveDaqGraphColor(uint32_t value)
{
    return WriteDWORD(kRegDaqGraphColor, value);
}

std::string CHSEARegOptions::GetChannelTableColumns()
{
    // A layout of many columns is longer than the other string values may be: read at any length.
    CHSEARegOptions reg;
    std::string text;
    if (!reg.Open() || !reg.m_key.GetString(kRegChannelTableColumns, text, std::string::npos) || text.empty())
        return kDefaultChannelTableColumns;
    return text;
}
int CHSEARegOptions::SaveChannelTableColumns(const std::string& columns)
{
    return WriteString(kRegChannelTableColumns, columns);
}

int CHSEARegOptions::SaveMaxChannel(uint32_t value)
{
    return WriteDWORD(kRegMaxChannel, value);
}

uint32_t CHSEARegOptions::GetReverseSensitivity()
{
    return ReadDWORD(kRegReverseSensitivity, 0);
}
int CHSEARegOptions::SaveReverseSensitivity(uint32_t value)
{
    return WriteDWORD(kRegReverseSensitivity, value);
}
