#include "app/BaseProject.h"

#include "app/ModelProject.h"
#include "app/TALVOProject.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"

IMPLEMENT_SERIAL(CBaseProject, CMElement, 0)

CBaseProject::CBaseProject(const std::string& name, CMElement* parent, int type) : CMElement(name, parent, type) {}

CBaseProject::~CBaseProject() = default;

int CBaseProject::IsStructure(const std::string& name) const
{
    return m_owner ? m_owner->IsStructure(name) : 0;
}

int CBaseProject::IsAcoustic(const std::string& name) const
{
    return m_owner ? m_owner->IsAcoustic(name) : 0;
}

IModelProjectLink* CBaseProject::GetModelProjectLink() const
{
    return m_owner ? m_owner->GetModelProject() : nullptr;
}

int CBaseProject::GetProjectIndex() const
{
    return m_owner ? m_owner->GetProjectIndex(const_cast<CBaseProject*>(this)) : -1;
}

int CBaseProject::ShowDataInDB() const
{
    return m_owner ? m_owner->ShowDataInDB() : 0;
}

int CBaseProject::IsAWeighting() const
{
    return m_owner ? m_owner->IsAWeighting() : 0;
}

IProjectLookups* CBaseProject::GetProjectLookups() const
{
    return m_owner;
}

void CBaseProject::OnElementAdded(CMElement* element)
{
    if (IProjectContainerSite* site = m_owner ? m_owner->GetSite() : nullptr)
        site->OnElementAdded(GetProjectIndex(), element);
}

void CBaseProject::OnElementRemoving(CMElement* element)
{
    if (IProjectContainerSite* site = m_owner ? m_owner->GetSite() : nullptr)
        site->OnElementRemoved(GetProjectIndex(), element);
}

void CBaseProject::OnElementRenamed(CMElement* element)
{
    if (IProjectContainerSite* site = m_owner ? m_owner->GetSite() : nullptr)
        site->OnElementRenamed(GetProjectIndex(), element);
}

CSensorProject* CBaseProject::GetSensorProject() const
{
    return m_owner ? m_owner->GetSensorProject() : nullptr;
}

void CBaseProject::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion;
        CMElement::Serialize(ar);
        ar << m_id;
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version > kVersion)
        CArchive::ThrowBadSchema(Format("project \"%s\" of version %d", GetName().c_str(), version));
    CMElement::Serialize(ar);
    if (version != 0)
        ar >> m_id;
}
