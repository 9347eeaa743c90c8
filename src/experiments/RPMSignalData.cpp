#include "experiments/RPMSignalData.h"

#include "experiments/ExpDataSet.h"
#include "experiments/ExpProject.h"
#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CRPMSignalData, CMElement, 0 | VERSIONABLE_SCHEMA)

CRPMSignalData::CRPMSignalData(const std::string& name, CMElement* parent, int type) : CMElement(name, parent, type) {}

CRPMSignalData::~CRPMSignalData() = default;

CExpDataSet* CRPMSignalData::AddDataSet()
{
    auto* set = AddChild(std::make_unique<CExpDataSet>(std::string(), this, ElementType::DataSet));
    RenameDataSets();
    return set;
}

void CRPMSignalData::RenameDataSets()
{
    for (int i = 0; i < GetChildCount(); ++i)
        GetChild(i)->SetName(CExpDataSet::MakeLabel(i + 1));
}

void CRPMSignalData::Serialize(CArchive& ar)
{
    CMElement::Serialize(ar);
}
