#include "spectral/RPMSignalData.h"

#include "platform/archive/Archive.h"
#include "platform/win/StringTable.h"

IMPLEMENT_SERIAL(CRPMSignalData, CMElement, 0 | VERSIONABLE_SCHEMA)

CRPMSignalData::CRPMSignalData(const std::string& name, CMElement* parent, int type) : CMElement(name, parent, type)
{
}

CRPMSignalData::~CRPMSignalData() = default;

CMElement* CRPMSignalData::AddDataSet()
{
    const CRuntimeClass* cls = CRuntimeClass::FromName(kDataSetClass);
    if (!cls || !cls->IsDerivedFrom(RUNTIME_CLASS(CMElement)))
        return nullptr;
    std::unique_ptr<CMElement> set(static_cast<CMElement*>(cls->CreateObject()));
    if (!set)
        return nullptr;
    set->SetName(std::string());
    set->SetParent(this);
    set->SetType(kDataSetType);
    CMElement* added = AddChild(std::move(set));
    RenameDataSets();
    return added;
}

void CRPMSignalData::RenameDataSets()
{
    for (int i = 0; i < GetChildCount(); ++i)
        GetChild(i)->SetName(FormatString(7016, i + 1));
}

void CRPMSignalData::Serialize(CArchive& ar)
{
    CMElement::Serialize(ar);
}
