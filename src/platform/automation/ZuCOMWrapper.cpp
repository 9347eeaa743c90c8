#include "platform/automation/ZuCOMWrapper.h"

#include "platform/automation/DispatchException.h"

CZuCOMWrapper::~CZuCOMWrapper()
{
    m_project.ReleaseDispatch();
    m_application.ReleaseDispatch();
}

bool CZuCOMWrapper::OpenDatabaseFile(const std::string&)
{
    return false;
}

void CZuCOMWrapper::Quit()
{
    ReleaseAll();
}

void CZuCOMWrapper::ReleaseProject()
{
    m_project.ReleaseDispatch();
}

void CZuCOMWrapper::ReleaseAll()
{
    m_project.ReleaseDispatch();
    m_application.ReleaseDispatch();
}

const CDispatch& CZuCOMWrapper::Application() const
{
    if (m_application.IsNull())
        throw CDispatchException(kZuComNoApplication, "ZU_COM:Application not available");
    return m_application;
}

const CDispatch& CZuCOMWrapper::Project() const
{
    if (m_project.IsNull())
        throw CDispatchException(kZuComNoProject, "ZU_COM:Project not available");
    return m_project;
}
