#include "uff/ExtUFDaqProject.h"

#include "models/HSEARegOptions.h"
#include "platform/base/Format.h"

IMPLEMENT_SERIAL(CExtUFDaqProject, CDaqProject, 0)

CExtUFDaqProject::CExtUFDaqProject()
{
    Init();
}

CExtUFDaqProject::CExtUFDaqProject(const std::string& name) : CDaqProject(name)
{
    Init();
}

CExtUFDaqProject::~CExtUFDaqProject() = default;

void CExtUFDaqProject::Init()
{
    m_ufData = 1;
    m_revSens = static_cast<int32_t>(CHSEARegOptions::GetReverseSensitivity());
}

void CExtUFDaqProject::SetRevSensMode(int mode, int saveAsDefault)
{
    m_revSens = mode;
    if (saveAsDefault)
        CHSEARegOptions::SaveReverseSensitivity(static_cast<uint32_t>(mode));
}

void CExtUFDaqProject::Serialize(CArchive& ar)
{
    CDaqProject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kVersion << m_value1 << m_value2 << m_bandValue << m_listSelection;
        ar << m_planMaxChannel << m_revSens;
        ar << m_octaveCheck;
        ar.WriteCount(static_cast<uint32_t>(m_sourceFiles.size()));
        for (const auto& f : m_sourceFiles)
            ar << f;
        m_nodeMap.Serialize(ar);
        m_plans.Serialize(ar);
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version > kVersion)
        CArchive::ThrowBadSchema(Format("universal-file DAQ project of version %d", version));
    ar >> m_value1 >> m_value2 >> m_bandValue >> m_listSelection;
    if (version >= 2)
        ar >> m_planMaxChannel >> m_revSens;
    if (version >= 3)
        ar >> m_octaveCheck;
    const uint32_t files = ar.ReadCount(1);
    m_sourceFiles.assign(files, std::string());
    for (auto& f : m_sourceFiles)
        ar >> f;
    m_nodeMap.Serialize(ar);
    if (version >= 2)
        m_plans.Serialize(ar);
}
