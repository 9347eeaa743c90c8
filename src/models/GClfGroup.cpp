#include "models/GClfGroup.h"

#include "models/LossFactorFuncs.h"
#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CGClfGroup, CMElement, 2 | VERSIONABLE_SCHEMA)

CGClfGroup::CGClfGroup() { SetType(kElementType); }

CGClfGroup::CGClfGroup(const std::string& name, CMElement* parent) : CMElement(name, parent, kElementType) {}

CZuClfFunc* FindClfChild(const CMElement* parent, const std::string& a, const std::string& b)
{
    if (!parent)
        return nullptr;
    for (int i = 0; i < parent->GetChildCount(); ++i)
    {
        auto* f = DynamicDowncast<CZuClfFunc>(parent->GetChild(i));
        if (!f || f->GetSubsystemCount() < 2)
            continue;
        const std::string p = f->GetSubsystem(0), q = f->GetSubsystem(1);
        if ((p == a && q == b) || (p == b && q == a))
            return f;
    }
    return nullptr;
}

CZuClfFunc* CGClfGroup::FindClf(const std::string& a, const std::string& b) const
{
    return FindClfChild(this, a, b);
}

void CGClfGroup::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        CMElement::Serialize(ar);
        return;
    }
    const uint32_t schema = ar.GetObjectSchema();
    CMElement::Serialize(ar);
    if (schema != 1)
        return;
    // Schema 1 repeated every child after the element part. In the same archive those records
    // are references to the children just read; taking them as further children would own each
    // twice and double the group at every save.
    const int count = GetChildCount();
    for (int i = 0; i < count; ++i)
    {
        CObject* obj = ar.ReadObject(nullptr);
        bool known = false;
        for (int k = 0; k < count && !known; ++k)
            known = GetChild(k) == obj;
        // Anything else is a forged record: it may be an object owned elsewhere, so it is neither
        // kept nor destroyed, and the file is refused.
        if (!known && obj)
            CArchive::Throw(CArchiveException::badIndex, "global CLF group: a repeated child is no child of the group");
    }
}
