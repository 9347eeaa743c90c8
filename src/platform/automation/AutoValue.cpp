#include "platform/automation/AutoValue.h"

#include "platform/base/Format.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>

CAutoValue CAutoValue::Short(int16_t v)
{
    CAutoValue r;
    r.m_type = AutoType::Short;
    r.m_long = v;
    return r;
}

CAutoValue CAutoValue::Long(int32_t v)
{
    CAutoValue r;
    r.m_type = AutoType::Long;
    r.m_long = v;
    return r;
}

CAutoValue CAutoValue::Real(double v)
{
    CAutoValue r;
    r.m_type = AutoType::Real;
    r.m_real = v;
    return r;
}

CAutoValue CAutoValue::Date(double v)
{
    CAutoValue r;
    r.m_type = AutoType::Date;
    r.m_real = v;
    return r;
}

CAutoValue CAutoValue::Bool(bool v)
{
    CAutoValue r;
    r.m_type = AutoType::Bool;
    r.m_long = v ? -1 : 0;
    return r;
}

CAutoValue CAutoValue::String(std::string v)
{
    CAutoValue r;
    r.m_type = AutoType::String;
    r.m_text = std::move(v);
    return r;
}

CAutoValue CAutoValue::Object(std::string path)
{
    CAutoValue r;
    r.m_type = AutoType::Object;
    r.m_text = path.empty() ? std::string(kNoObjectPath) : std::move(path);
    return r;
}

CAutoValue CAutoValue::RealArray(std::vector<double> v)
{
    CAutoValue r;
    r.m_type = AutoType::RealArray;
    r.m_array = std::move(v);
    return r;
}

CAutoValue CAutoValue::Error(int32_t code)
{
    CAutoValue r;
    r.m_type = AutoType::Error;
    r.m_long = code;
    return r;
}

namespace {
bool ParseReal(const std::string& text, double& out)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE)
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end != '\0' || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

bool RealToLong(double v, int64_t lo, int64_t hi, int32_t& out)
{
    if (!std::isfinite(v))
        return false;
    const double r = std::nearbyint(v); // the default rounding: half to even
    if (r < static_cast<double>(lo) || r > static_cast<double>(hi))
        return false;
    out = static_cast<int32_t>(r);
    return true;
}
} // namespace

bool CAutoValue::ToReal(double& out) const
{
    switch (m_type) {
    case AutoType::Short:
    case AutoType::Long:
    case AutoType::Bool:
        out = m_long;
        return true;
    case AutoType::Real:
    case AutoType::Date:
        out = m_real;
        return true;
    case AutoType::String:
        return ParseReal(m_text, out);
    case AutoType::Empty:
        out = 0.0;
        return true;
    default:
        return false;
    }
}

bool CAutoValue::ToLong(int32_t& out) const
{
    if (m_type == AutoType::Short || m_type == AutoType::Long || m_type == AutoType::Bool) {
        out = m_long;
        return true;
    }
    double v = 0.0;
    return ToReal(v) && RealToLong(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), out);
}

bool CAutoValue::ToShort(int16_t& out) const
{
    int32_t v = 0;
    if (!ToLong(v) || v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
        return false;
    out = static_cast<int16_t>(v);
    return true;
}

bool CAutoValue::ToBool(bool& out) const
{
    if (m_type == AutoType::String) {
        if (m_text == "True" || m_text == "true" || m_text == "#TRUE#") {
            out = true;
            return true;
        }
        if (m_text == "False" || m_text == "false" || m_text == "#FALSE#") {
            out = false;
            return true;
        }
    }
    double v = 0.0;
    if (!ToReal(v))
        return false;
    out = v != 0.0;
    return true;
}

bool CAutoValue::ToString(std::string& out) const
{
    switch (m_type) {
    case AutoType::String:
        out = m_text;
        return true;
    case AutoType::Short:
    case AutoType::Long:
        out = Format("%d", m_long);
        return true;
    case AutoType::Bool:
        out = m_long ? "True" : "False";
        return true;
    case AutoType::Real:
    case AutoType::Date:
        out = Format("%.15g", m_real);
        return true;
    case AutoType::Empty:
        out.clear();
        return true;
    default:
        return false;
    }
}

bool CAutoValue::ChangeType(AutoType type, CAutoValue& out) const
{
    if (type == m_type || type == AutoType::Variant) {
        out = *this;
        return true;
    }
    switch (type) {
    case AutoType::Short: {
        int16_t v = 0;
        if (!ToShort(v))
            return false;
        out = Short(v);
        return true;
    }
    case AutoType::Long: {
        int32_t v = 0;
        if (!ToLong(v))
            return false;
        out = Long(v);
        return true;
    }
    case AutoType::Real:
    case AutoType::Date: {
        double v = 0.0;
        if (!ToReal(v))
            return false;
        out = type == AutoType::Real ? Real(v) : Date(v);
        return true;
    }
    case AutoType::Bool: {
        bool v = false;
        if (!ToBool(v))
            return false;
        out = Bool(v);
        return true;
    }
    case AutoType::String: {
        std::string v;
        if (!ToString(v))
            return false;
        out = String(std::move(v));
        return true;
    }
    case AutoType::Object:
        if (m_type == AutoType::Empty) {
            out = Object({});
            return true;
        }
        return false;
    case AutoType::RealArray: {
        double v = 0.0;
        if (m_type == AutoType::Empty) {
            out = RealArray({});
            return true;
        }
        if (!ToReal(v))
            return false;
        out = RealArray({v});
        return true;
    }
    case AutoType::Empty:
        out = CAutoValue();
        return true;
    default:
        return false;
    }
}

bool CAutoValue::operator==(const CAutoValue& other) const
{
    return m_type == other.m_type && m_long == other.m_long && m_real == other.m_real && m_text == other.m_text &&
           m_array == other.m_array;
}

std::string AutoTypeSignature(AutoType type)
{
    switch (type) {
    case AutoType::Short:
        return "n";
    case AutoType::Long:
    case AutoType::Error:
        return "i";
    case AutoType::Real:
    case AutoType::Date:
        return "d";
    case AutoType::String:
        return "s";
    case AutoType::Object:
        return "o";
    case AutoType::Bool:
        return "b";
    case AutoType::Variant:
        return "v";
    case AutoType::RealArray:
        return "ad";
    case AutoType::Empty:
        break;
    }
    return {};
}

namespace {
// Days from the automation date's origin to 1 January 1970.
constexpr double kEpochDays = 25569.0;

long LocalOffset(std::time_t t)
{
    std::tm local{};
    localtime_r(&t, &local);
    return local.tm_gmtoff;
}
} // namespace

double TimeToAutoDate(int64_t seconds)
{
    return kEpochDays + static_cast<double>(seconds + LocalOffset(static_cast<std::time_t>(seconds))) / 86400.0;
}

int64_t AutoDateToTime(double date)
{
    const auto localSeconds = static_cast<int64_t>(std::llround((date - kEpochDays) * 86400.0));
    return localSeconds - LocalOffset(static_cast<std::time_t>(localSeconds));
}
