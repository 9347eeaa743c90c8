#include "platform/automation/DispatchTable.h"

#include "platform/automation/DispatchException.h"
#include "platform/win/StringIds.h"

#include <cctype>

bool SameMemberName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

const CAutoValue& CDispArgs::Value(int i) const
{
    static const CAutoValue missing = CAutoValue::Missing();
    return i < Count() && i >= 0 ? m_values[static_cast<size_t>(i)] : missing;
}

int32_t CDispArgs::Long(int i) const
{
    int32_t v = 0;
    if (!Value(i).ToLong(v))
        ZfxThrowOleDispatchException(kAutoErrTypeMismatch, IDS_AUTO_TYPE_MISMATCH, i + 1);
    return v;
}

int16_t CDispArgs::Short(int i) const
{
    int16_t v = 0;
    if (!Value(i).ToShort(v))
        ZfxThrowOleDispatchException(kAutoErrTypeMismatch, IDS_AUTO_TYPE_MISMATCH, i + 1);
    return v;
}

double CDispArgs::Real(int i) const
{
    double v = 0.0;
    if (!Value(i).ToReal(v))
        ZfxThrowOleDispatchException(kAutoErrTypeMismatch, IDS_AUTO_TYPE_MISMATCH, i + 1);
    return v;
}

bool CDispArgs::Bool(int i) const
{
    bool v = false;
    if (!Value(i).ToBool(v))
        ZfxThrowOleDispatchException(kAutoErrTypeMismatch, IDS_AUTO_TYPE_MISMATCH, i + 1);
    return v;
}

std::string CDispArgs::String(int i) const
{
    std::string v;
    if (!Value(i).ToString(v))
        ZfxThrowOleDispatchException(kAutoErrTypeMismatch, IDS_AUTO_TYPE_MISMATCH, i + 1);
    return v;
}

int CDispMember::RequiredCount() const
{
    int n = static_cast<int>(params.size());
    while (n > 0 && params[static_cast<size_t>(n - 1)].type == AutoType::Variant)
        --n;
    return n;
}

std::string CDispMember::ParamName(size_t i) const
{
    if (i < params.size() && !params[i].name.empty())
        return params[i].name;
    return "arg" + std::to_string(i + 1);
}

CDispatchTable::CDispatchTable(const CDispatchTable* base, std::vector<CDispMember> members)
    : m_base(base), m_members(std::move(members))
{}

int32_t CDispatchTable::GetIDOfName(const std::string& name) const
{
    int32_t depth = 0;
    for (const CDispatchTable* t = this; t; t = t->m_base, ++depth)
        for (size_t i = 0; i < t->m_members.size(); ++i)
            if (SameMemberName(t->m_members[i].name, name))
                return (depth << 16) | static_cast<int32_t>(i + 1);
    return DISPID_UNKNOWN;
}

const CDispMember* CDispatchTable::Member(int32_t dispid) const
{
    if (dispid <= 0)
        return nullptr;
    int depth = dispid >> 16;
    const int index = (dispid & 0xFFFF) - 1;
    const CDispatchTable* t = this;
    while (t && depth-- > 0)
        t = t->m_base;
    if (!t || index < 0 || index >= static_cast<int>(t->m_members.size()))
        return nullptr;
    return &t->m_members[static_cast<size_t>(index)];
}

std::vector<const CDispMember*> CDispatchTable::AllMembers() const
{
    std::vector<const CDispMember*> all;
    for (const CDispatchTable* t = this; t; t = t->m_base)
        for (const CDispMember& m : t->m_members)
            all.push_back(&m);
    return all;
}
