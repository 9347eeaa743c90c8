#include "experiments/Excitation.h"

#include "experiments/ExpDataSet.h"
#include "experiments/ExpProject.h"
#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CExcitation, CMElement, 0 | VERSIONABLE_SCHEMA)

CExcitation::CExcitation(const std::string& name, CMElement* parent, int type)
    : CMElement(name, parent, type), m_subsystem(name)
{}

CExcitation::~CExcitation() = default;

CExpDataSet* CExcitation::AddDataSet()
{
    auto* set = AddChild(std::make_unique<CExpDataSet>(std::string(), this, ElementType::DataSet));
    for (int i = 0; i < GetChildCount(); ++i)
        GetChild(i)->SetName(CExpDataSet::MakeLabel(i + 1));
    return set;
}

CExpDataSet* CExcitation::GetDataSet(int i) const
{
    return ElementCast<CExpDataSet>(GetChild(i));
}

int CExcitation::GetIndex() const
{
    auto* project = ElementCast<CExpProject>(GetParent());
    return project ? project->GetExcitationIndex(m_subsystem) : -1;
}

void CExcitation::Serialize(CArchive& ar)
{
    CMElement::Serialize(ar);
    if (ar.IsStoring())
        ar << m_subsystem;
    else
        ar >> m_subsystem;
}
