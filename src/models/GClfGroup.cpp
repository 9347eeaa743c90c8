#include "models/GClfGroup.h"

#include "models/LossFactorFuncs.h"
#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CGClfGroup, CMElement, 2 | VERSIONABLE_SCHEMA)

CGClfGroup::CGClfGroup()
{
    SetType(ElementType::FunctionGroup);
}

CGClfGroup::CGClfGroup(const std::string& name, CMElement* parent) : CMElement(name, parent, ElementType::FunctionGroup)
{}

CZuClfFunc* FindClfChild(const CMElement* parent, const std::string& a, const std::string& b)
{
    if (!parent)
        return nullptr;
    for (int i = 0; i < parent->GetChildCount(); ++i) {
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
    if (ar.IsStoring()) {
        CMElement::Serialize(ar);
        return;
    }
    const uint32_t schema = ar.GetObjectSchema();
    CMElement::Serialize(ar);
    if (schema != 1)
        return;
    // Schema 1 repeated every child after the element part. In the same archive those records
    // are references to the children just read; taking them as further children would own each
    // twice and double the group at every save. They are skipped by their tags: a reference is an
    // index word (or 0x7FFF and a 4-byte index), null is 0; anything else would be a new object,
    // which a group of ours never wrote there.
    const int count = GetChildCount();
    for (int i = 0; i < count; ++i) {
        uint16_t tag = 0;
        ar >> tag;
        if (tag == 0x7FFF) {
            uint32_t index = 0;
            ar >> index;
            if (index & 0x80000000u)
                CArchive::Throw(CArchiveException::badIndex, "global CLF group: a class where a child was repeated");
        } else if (tag & 0x8000u) {
            CArchive::Throw(CArchiveException::badIndex, "global CLF group: a new object where a child was repeated");
        }
    }
}
