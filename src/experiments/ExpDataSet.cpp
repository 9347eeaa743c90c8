#include "experiments/ExpDataSet.h"

#include "experiments/Excitation.h"
#include "experiments/ExpData.h"
#include "experiments/DaqProjectAccess.h"
#include "experiments/ExpProject.h"
#include "experiments/RPMSignalData.h"
#include "experiments/Sensor.h"
#include "platform/archive/Archive.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

IMPLEMENT_SERIAL(CExpDataSet, CMElement, 0 | VERSIONABLE_SCHEMA)

CExpDataSet::CExpDataSet(const std::string& name, CMElement* parent, int type) : CMElement(name, parent, type) {}

CExpDataSet::~CExpDataSet() = default;

std::string CExpDataSet::MakeLabel(int position)
{
    return FormatString(IDS_DATASET_LABEL, position);
}

CExpData* CExpDataSet::FindByLocalPoint(int localPoint) const
{
    for (int i = 0; i < GetChildCount(); ++i)
        if (auto* data = ElementCast<CExpData>(GetChild(i)); data && data->GetLocalPointNumber() == localPoint)
            return data;
    return nullptr;
}

namespace {
void SetDetectionDefaults(CExpData& data, const CExpProject& project)
{
    data.SetEngineCount(project.GetDefaultEngineCount());
    data.SetPulseCount(project.GetDefaultPulseCount());
    data.SetDetectionLevel(project.GetDefaultDetectionLevel());
    data.SetGearCount(project.GetDefaultGearCount());
}
} // namespace

CExpData* CExpDataSet::CreateChannels(CFeedback* feedback)
{
    CMElement* parent = GetParent();
    auto* project = parent ? ElementCast<CExpProject>(parent->GetParent()) : nullptr;
    if (!project)
        return nullptr;

    if (ElementCast<CRPMSignalData>(parent)) {
        auto data = std::make_unique<CExpData>(LoadString(IDS_RPM_CHANNEL_NAME), this, ElementType::RpmSignal);
        SetDetectionDefaults(*data, *project);
        // The pulse channel has no sensor of the catalogue: a blank record serves.
        data->ReplaceSensorInfo(tagSENSORINFO{});
        data->SetSamplingFrequency(project->GetConfigSamplingFrequency());
        return AddChild(std::move(data));
    }

    auto* excitation = ElementCast<CExcitation>(parent);
    if (!excitation)
        return nullptr;
    const std::string& subsystem = excitation->GetSubsystemName();
    const int n = project->GetGroupItemCount(subsystem);
    const int type = project->GetDAQProject() && project->GetDAQProject()->IsStructure(subsystem)
                         ? ElementType::StructureChannel
                         : ElementType::AcousticChannel;
    std::vector<CMElement*> made;
    for (int i = 0; i < n; ++i) {
        auto data = std::make_unique<CExpData>(FormatString(IDS_CHANNEL_NAME, subsystem.c_str(), i + 1), this, type);
        data->SetLocalPointNumber(i);
        SetDetectionDefaults(*data, *project);
        CSensor* sensor = project->FindSensor(subsystem, i);
        if (!sensor) {
            feedback->Warning(FormatString(IDS_NO_SENSOR_FOR, project->GetGroupItemText(subsystem, i).c_str()),
                              IDS_NO_SENSOR_FOR);
            // A data set is whole or empty: what was made of it goes again.
            for (CMElement* m : made)
                DeleteChild(m, 1);
            return nullptr;
        }
        tagSENSORINFO info = sensor->GetSensorInfo();
        const int channel = project->GetGroupItemValue(subsystem, i);
        info.ChannelInfo.Channel = channel;
        info.ChannelInfo.Scale = project->GetChannelRange(channel);
        data->ReplaceSensorInfo(info);
        data->SetSamplingFrequency(project->GetConfigSamplingFrequency());
        made.push_back(AddChild(std::move(data)));
    }
    return ElementCast<CExpData>(GetChild(0));
}

void CExpDataSet::Serialize(CArchive& ar)
{
    CMElement::Serialize(ar);
}
