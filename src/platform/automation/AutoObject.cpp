#include "platform/automation/AutoObject.h"

#include "platform/automation/DispatchException.h"
#include "platform/win/StringIds.h"

CAutoObject::CAutoObject(const void* key, std::vector<const void*> guards) : m_key(key), m_guards(std::move(guards))
{
    if (m_key)
        m_guards.push_back(m_key);
}

CAutoObject::~CAutoObject() = default;

CAutoValue CAutoObject::Invoke(int32_t dispid, int flags, const std::vector<CAutoValue>& args)
{
    const CDispMember* member = GetDispatchTable().Member(dispid);
    if (!member)
        throw COleException("Unknown name.", "org.freedesktop.DBus.Error.UnknownMethod");
    if (!m_alive)
        throw CDispatchException(kAutoErrObjectGone, "The object no longer exists.", 0);

    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    if (put && member->kind != DispKind::PropertyRW)
        throw COleException("The member cannot be set.", "org.freedesktop.DBus.Error.NotSupported");
    if (!put && member->kind == DispKind::Method && (flags & DISPATCH_METHOD) == 0)
        throw COleException("The member is a method.", "org.freedesktop.DBus.Error.NotSupported");

    const int given = static_cast<int>(args.size()) - (put ? 1 : 0);
    const int declared = static_cast<int>(member->params.size());
    if (given < member->RequiredCount() || given > declared || (put && args.empty()))
        throw COleException("Invalid number of parameters.", "org.freedesktop.DBus.Error.InvalidArgs");

    std::vector<CAutoValue> converted;
    converted.reserve(static_cast<size_t>(declared));
    for (int i = 0; i < declared; ++i) {
        const AutoType type = member->params[static_cast<size_t>(i)].type;
        if (i >= given) {
            converted.push_back(CAutoValue::Missing());
            continue;
        }
        CAutoValue value;
        if (!args[static_cast<size_t>(i)].ChangeType(type, value))
            ZfxThrowOleDispatchException(kAutoErrTypeMismatch, IDS_AUTO_TYPE_MISMATCH, i + 1);
        converted.push_back(std::move(value));
    }
    if (put) {
        CAutoValue value;
        if (!args.back().ChangeType(member->result, value))
            ZfxThrowOleDispatchException(kAutoErrTypeMismatch, IDS_AUTO_TYPE_MISMATCH, given + 1);
        member->set(*this, CDispArgs(std::move(converted)), value);
        return {};
    }
    CAutoValue result = member->get(*this, CDispArgs(std::move(converted)));
    if (member->result == AutoType::Empty || member->result == AutoType::Variant)
        return member->result == AutoType::Empty ? CAutoValue() : result;
    CAutoValue typed;
    if (!result.ChangeType(member->result, typed))
        throw COleException("The result does not convert to the member's type.");
    return typed;
}
