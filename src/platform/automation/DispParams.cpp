#include "platform/automation/DispParams.h"

#include "platform/automation/DispatchTable.h"

#include <cstring>

void CDispParams::SetSize(int count)
{
    if (count <= 0) {
        m_args.clear();
        m_args.shrink_to_fit();
        m_count = 0;
        return;
    }
    if (count > static_cast<int>(m_args.size()))
        m_args.resize(static_cast<size_t>(count));
    m_count = count;
}

void CDispParams::SetValue(int position, const CAutoValue& value)
{
    if (position < 0 || position >= m_count)
        return;
    m_args[static_cast<size_t>(Entry(position))] = value;
}

void CDispParams::SetArg(int position, int type, const void* value)
{
    if (position < 0 || position >= m_count)
        return;
    CAutoValue v;
    switch (type) {
    case 2: // short
        v = CAutoValue::Short(*static_cast<const int16_t*>(value));
        break;
    case 18: // unsigned short
        v = CAutoValue::Long(*static_cast<const uint16_t*>(value));
        break;
    case 11: // BOOL, stored 16 bits wide
        v = CAutoValue::Bool(*static_cast<const int16_t*>(value) != 0);
        break;
    case 3:  // long
    case 22: // int
        v = CAutoValue::Long(*static_cast<const int32_t*>(value));
        break;
    case 19: // unsigned long
    case 23: // unsigned int
        v = CAutoValue::Real(*static_cast<const uint32_t*>(value));
        break;
    case 4: // float
        v = CAutoValue::Real(*static_cast<const float*>(value));
        break;
    case 5: // double
    case 6: // currency
        v = CAutoValue::Real(*static_cast<const double*>(value));
        break;
    case 7: // date
        v = CAutoValue::Date(*static_cast<const double*>(value));
        break;
    case 16: // signed char
        v = CAutoValue::Short(*static_cast<const int8_t*>(value));
        break;
    case 17: // unsigned char
        v = CAutoValue::Short(*static_cast<const uint8_t*>(value));
        break;
    case 8: // string: a pointer to the text
        v = CAutoValue::String(*static_cast<const char* const*>(value) ? *static_cast<const char* const*>(value) : "");
        break;
    case 9: // dispatch: the object path
        v = CAutoValue::Object(*static_cast<const std::string*>(value));
        break;
    case 10: // error code
        v = CAutoValue::Error(*static_cast<const int32_t*>(value));
        break;
    case 12: // a whole variant, which carries its own type
        v = *static_cast<const CAutoValue*>(value);
        break;
    default:
        // Types without a value of ours keep only their type: they travel as empty.
        break;
    }
    SetValue(position, v);
}

void CDispParams::SetLong(int position, int32_t value)
{
    SetValue(position, CAutoValue::Long(value));
}
void CDispParams::SetDouble(int position, double value)
{
    SetValue(position, CAutoValue::Real(value));
}
void CDispParams::SetDispatch(int position, const std::string& objectPath)
{
    SetValue(position, CAutoValue::Object(objectPath));
}
void CDispParams::SetBool(int position, int value)
{
    SetValue(position, CAutoValue::Bool(value != 0));
}
void CDispParams::SetString(int position, const char* text)
{
    SetValue(position, CAutoValue::String(text ? text : ""));
}

const CAutoValue& CDispParams::Arg(int position) const
{
    return ArrayEntry(Entry(position));
}

const CAutoValue& CDispParams::ArrayEntry(int index) const
{
    static const CAutoValue empty;
    return index >= 0 && index < m_count ? m_args[static_cast<size_t>(index)] : empty;
}

std::vector<CAutoValue> CDispParams::CallOrder() const
{
    std::vector<CAutoValue> out;
    for (int i = 0; i < m_count; ++i)
        out.push_back(Arg(i));
    return out;
}

void CDispParams::PrepareNamedArgs(int flags)
{
    m_named.clear();
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF))
        m_named.push_back(DISPID_PROPERTYPUT);
}
