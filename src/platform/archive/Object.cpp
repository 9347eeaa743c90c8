#include "platform/archive/Object.h"

#include <map>
#include <string>

#include "platform/archive/Archive.h"

const CRuntimeClass CObject::classCObject = {"CObject", 0xFFFFu, nullptr, nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &classCObject;
}

void CObject::Serialize(CArchive&) {}

bool CObject::IsKindOf(const CRuntimeClass* cls) const
{
    return GetRuntimeClass()->IsDerivedFrom(cls);
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == base)
            return true;
    return false;
}

namespace {
std::map<std::string, const CRuntimeClass*, std::less<>>& Registry()
{
    static std::map<std::string, const CRuntimeClass*, std::less<>> registry;
    return registry;
}
} // namespace

const CRuntimeClass* CRuntimeClass::FromName(std::string_view name)
{
    auto& r = Registry();
    auto it = r.find(name);
    return it == r.end() ? nullptr : it->second;
}

void CRuntimeClass::Register(const CRuntimeClass* cls)
{
    Registry()[cls->m_lpszClassName] = cls;
}
