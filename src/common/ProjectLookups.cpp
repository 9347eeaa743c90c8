#include "common/ProjectLookups.h"

#include "platform/base/Format.h"
#include "platform/elements/MElement.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/modeldb/ModelSubsystem.h"

IProjectLookups* IProjectLookups::FindOwner(const CMElement* element)
{
    for (const CMElement* e = element; e; e = e->GetParent())
        if (const auto* member = dynamic_cast<const IProjectMember*>(e))
            if (IProjectLookups* lookups = member->GetProjectLookups())
                return lookups;
    return nullptr;
}

int GetSystemChannelCount(const IProjectLookups* project)
{
    return project ? project->GetSystemChannelCount() : 0;
}

void SetSystemChannelCount(IProjectLookups* project, int count)
{
    if (project)
        project->SetSystemChannelCount(count);
}

double GetSubsystemParamByName(const IProjectLookups* project, const std::string& name)
{
    if (!project)
        return 0.0;
    std::string plain = name;
    CGfxUtil::RemoveWaveSign(plain);
    const CModelSubsystem* subsystem = project->FindModelSubsystem(plain);
    return subsystem ? subsystem->GetMassOrVolume() : 0.0;
}

std::string FormatSubsystemLPName(const IProjectLookups* project, const std::string& subsystem, int localPoint)
{
    const std::string name = project ? project->GetSubsystemDisplayName(subsystem) : subsystem;
    return Format("%s:%02d", name.c_str(), localPoint + 1);
}

float GetSensorSensitivityByID(const IProjectLookups* project, const std::string& id)
{
    return project ? project->GetSensorSensitivity(id) : 0.0f;
}

int AddToSensorAssignment(IProjectLookups* project, const std::string& rowName, const std::string& item)
{
    return project ? project->AddToSensorAssignment(rowName, item) : -1;
}

std::string ExtractBetween(const std::string& text, const std::string& key, const std::string& separator)
{
    const size_t at = text.find(key);
    if (at == std::string::npos)
        return {};
    const size_t after = at + key.size();
    if (text.compare(after, separator.size(), separator) != 0)
        return {};
    const size_t begin = after + separator.size();
    const size_t end = text.find('\n', begin);
    return text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}
