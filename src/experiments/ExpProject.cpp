#include "experiments/ExpProject.h"

#include "common/ProjectLookups.h"

#include <algorithm>

#include "experiments/DAQConfig.h"
#include "common/ElementCopy.h"
#include "experiments/CalcOptions.h"
#include "experiments/DaqProjectAccess.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpInfo.h"
#include "experiments/Excitation.h"
#include "experiments/RPMSignalData.h"
#include "experiments/Sensor.h"
#include "experiments/SensorGroup.h"
#include "experiments/SensorProject.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/gfx/OctaveManager.h"
#include "spectral/FFT.h"

IMPLEMENT_SERIAL(CExpProject, CMElement, CExpProject::kSchema | VERSIONABLE_SCHEMA)

namespace {
constexpr const char* kRpmSignalDataName = "RPM Signal Data";
}

CExpProject::CExpProject() = default;

CExpProject::CExpProject(const std::string& name, CMElement* parent, int type) : CMElement(name, parent, type) {}

CExpProject::~CExpProject() = default;

int CExpProject::GetSystemChannelCount() const
{
    // A measured-data tree of a measurement window hangs nowhere: its DAQ project knows the container.
    const IProjectLookups* project = IProjectLookups::FindOwner(this);
    if (!project)
        project = IProjectLookups::FindOwner(dynamic_cast<const CMElement*>(m_daqProject));
    return project ? project->GetSystemChannelCount() : CSensorGroup::kDefaultChannelCount;
}

void CExpProject::RefreshViews() const
{
    if (m_refreshViews)
        m_refreshViews();
}

CDAQConfig* CExpProject::GetDAQConfig() const
{
    return m_daqProject ? m_daqProject->GetDAQConfig() : nullptr;
}

CCalcOptions* CExpProject::GetCalcOptionsData() const
{
    return m_daqProject ? m_daqProject->GetCalcOptions() : nullptr;
}

// ---- experiments ----

void CExpProject::SetExperiment(CMElement* experiment)
{
    m_experiments = CMElementList();
    if (experiment)
        m_experiments.Add(experiment);
}

IDaqExperimentData* CExpProject::GetExperimentData(int i) const
{
    return dynamic_cast<IDaqExperimentData*>(m_experiments.At(i));
}

CExpInfo* CExpProject::GetExperimentInfo(int i) const
{
    IDaqExperimentData* data = GetExperimentData(i);
    return data ? data->GetExpInfo() : nullptr;
}

int CExpProject::CollectExperimentObjects(std::vector<CObject*>& objects) const
{
    for (int i = 0; i < GetExperimentCount(); ++i)
        if (CExpInfo* info = GetExperimentInfo(i))
            objects.push_back(info);
    return 1;
}

// ---- excitations ----

int CExpProject::GetExcitationNameCount() const
{
    const int n = GetExperimentCount();
    return n > 0 ? n + 1 : 0;
}

std::string CExpProject::GetExcitationName(int i) const
{
    if (i < 0)
        return std::string();
    const CExpInfo* info = GetExperimentInfo(i == 0 ? 0 : i - 1);
    if (!info)
        return std::string();
    return info->GetName(i == 0 ? 1 : 0);
}

CSensorGroup* CExpProject::GetExcitationGroup(int i) const
{
    if (i < 0)
        return nullptr;
    const CExpInfo* info = GetExperimentInfo(i == 0 ? 0 : i - 1);
    return info ? info->GetSensorGroup(i == 0 ? 1 : 0) : nullptr;
}

int CExpProject::GetExcitationIndex(const std::string& name) const
{
    if (const CExpInfo* first = GetExperimentInfo(0); first && first->GetName(1) == name)
        return 0;
    for (int i = 0; i < GetExperimentCount(); ++i)
        if (const CExpInfo* info = GetExperimentInfo(i); info && info->GetName(0) == name)
            return i + 1;
    return -1;
}

CExcitation* CExpProject::FindExcitation(const std::string& name) const
{
    return ElementCast<CExcitation>(FindOne(name, 1, 1));
}

CExcitation* CExpProject::GetExcitationForExperiment(int i) const
{
    const CExpInfo* info = GetExperimentInfo(i);
    return info ? FindExcitation(info->GetName(0)) : nullptr;
}

CExcitation* CExpProject::GetCurrentExcitation() const
{
    return m_daqProject ? FindExcitation(m_daqProject->GetTargetSubsystemName()) : nullptr;
}

CRPMSignalData* CExpProject::GetRPMSignalData() const
{
    return ElementCast<CRPMSignalData>(FindOneChild(RUNTIME_CLASS(CRPMSignalData)));
}

int CExpProject::HasRpmSignalData() const
{
    const CRPMSignalData* data = GetRPMSignalData();
    return data && data->GetChildCount() > 0 ? 1 : 0;
}

CMElement* CExpProject::FindExperimentByExcitation(const std::string& name) const
{
    if (const CExpInfo* first = GetExperimentInfo(0); first && first->GetName(1) == name)
        return m_experiments.At(0);
    for (int i = 0; i < GetExperimentCount(); ++i)
        if (const CExpInfo* info = GetExperimentInfo(i); info && info->GetName(0) == name)
            return m_experiments.At(i);
    return nullptr;
}

int CExpProject::IsLocalPointValid(const std::string& excitation, int localPoint) const
{
    auto* experiment = dynamic_cast<IDaqExperimentData*>(FindExperimentByExcitation(excitation));
    if (!experiment || !experiment->GetExpInfo() || !experiment->GetCalcOptions())
        return 0;
    const CExpInfo* info = experiment->GetExpInfo();
    const int side = info->GetName(0) == excitation ? 0 : (info->GetName(1) == excitation ? 1 : -1);
    const CSubsystemLPInfoList& list = experiment->GetCalcOptions()->GetSubsystemLPInfoList();
    if (side < 0 || side >= list.GetSize())
        return 0;
    const CSubsystemLPInfo& points = list[side];
    return localPoint >= 0 && localPoint < points.GetSize() && points.GetAt(localPoint) != 0 ? 1 : 0;
}

// ---- sensor groups ----

CSensorGroup* CExpProject::GroupOf(const std::string& excitation) const
{
    return GetExcitationGroup(GetExcitationIndex(excitation));
}

int CExpProject::GetGroupItemCount(int group) const
{
    const CSensorGroup* g = GetExcitationGroup(group);
    return g ? g->GetMemberCount() : 0;
}

int CExpProject::GetGroupItemCount(const std::string& excitation) const
{
    const CSensorGroup* g = GroupOf(excitation);
    return g ? g->GetMemberCount() : 0;
}

std::string CExpProject::GetGroupItemText(int group, int item) const
{
    const CSensorGroup* g = GetExcitationGroup(group);
    return g && item >= 0 && item < g->GetMemberCount() ? g->GetMember(item).text : std::string();
}

std::string CExpProject::GetGroupItemText(const std::string& excitation, int item) const
{
    return GetGroupItemText(GetExcitationIndex(excitation), item);
}

int CExpProject::GetGroupItemValue(int group, int item) const
{
    const CSensorGroup* g = GetExcitationGroup(group);
    return g && item >= 0 && item < g->GetMemberCount() ? g->GetMemberValue(item) : -1;
}

int CExpProject::GetGroupItemValue(const std::string& excitation, int item) const
{
    return GetGroupItemValue(GetExcitationIndex(excitation), item);
}

CSensor* CExpProject::FindSensorById(const std::string& id) const
{
    CSensorProject* sensors = m_daqProject ? m_daqProject->GetSensorProject() : nullptr;
    return sensors && !id.empty() ? ElementCast<CSensor>(sensors->FindOne(id, -1, 1)) : nullptr;
}

CSensor* CExpProject::FindSensor(int group, int item) const
{
    return FindSensorById(GetGroupItemText(group, item));
}

CSensor* CExpProject::FindSensor(const std::string& excitation, int item) const
{
    return FindSensorById(GetGroupItemText(excitation, item));
}

int CExpProject::GetChannelInfo(int group, int item, CHANNELINFO& info) const
{
    const CSensor* sensor = FindSensor(group, item);
    if (!sensor)
        return 0;
    info = sensor->GetChannelInfo();
    return 1;
}

int CExpProject::FindGroupItemByChannel(int channel) const
{
    for (int g = 0; g < GetExcitationNameCount(); ++g) {
        const CSensorGroup* group = GetExcitationGroup(g);
        if (!group)
            continue;
        for (int i = 0; i < group->GetMemberCount(); ++i)
            if (group->GetMemberValue(i) == channel)
                return i * 65536 + g;
    }
    return -1;
}

int CExpProject::SetChannelInfo(const CHANNELINFO& info)
{
    const int packed = FindGroupItemByChannel(info.Channel);
    if (packed < 0)
        return 0;
    CSensor* sensor = FindSensor(packed % 65536, packed / 65536);
    if (!sensor)
        return 0;
    sensor->SetChannelInfo(info);
    return 1;
}

// ---- channel values ----

float CExpProject::GetChannelRange(int channel)
{
    if (m_channelValues.empty())
        ResizeChannelRanges();
    return channel >= 0 && channel < static_cast<int>(m_channelValues.size())
               ? m_channelValues[static_cast<size_t>(channel)]
               : kDefaultChannelValue;
}

int CExpProject::SetChannelRange(int channel, float value)
{
    if (m_channelValues.empty())
        ResizeChannelRanges();
    if (channel >= 0 && channel < static_cast<int>(m_channelValues.size()))
        m_channelValues[static_cast<size_t>(channel)] = value;
    return channel;
}

void CExpProject::ResizeChannelRanges()
{
    const int n = GetSystemChannelCount();
    if (n > static_cast<int>(m_channelValues.size()))
        m_channelValues.resize(static_cast<size_t>(n), kDefaultChannelValue);
}

void CExpProject::LoadChannelRanges(const std::function<double(int)>& channelValue)
{
    if (GetChildCount() == 0)
        CreateDefaultChildren();
    ResizeChannelRanges();
    const int n = GetSystemChannelCount();
    for (int i = 0; i < n && channelValue; ++i)
        m_channelValues[static_cast<size_t>(i)] = static_cast<float>(channelValue(i));
}

// ---- settings through the DAQ project ----

COctaveManager* CExpProject::GetOctaveManager() const
{
    if (m_bandsOverride)
        return m_bandsOverride;
    return m_daqProject ? m_daqProject->GetOctaveManager() : nullptr;
}

const COctaveManager* CExpProject::GetFreqBandInfo() const
{
    return m_daqProject ? m_daqProject->GetOctaveManager() : nullptr;
}

float CExpProject::GetSamplingFrequency() const
{
    if (GetChildCount() > 0)
        if (const CExcitation* excitation = GetCurrentExcitation())
            if (const CExpDataSet* set = excitation->GetDataSet(0))
                if (const auto* data = ElementCast<CExpData>(set->GetChild(0)))
                    return data->GetSamplingFrequency();
    return GetConfigSamplingFrequency();
}

double CExpProject::GetBlockLength(float fs, float b, float c) const
{
    if (fs <= 0.0f)
        fs = GetConfigSamplingFrequency();
    if (b <= 0.0f)
        b = GetCalcOptionFloat();
    if (c <= 0.0f)
        c = GetDAQConfig() ? GetDAQConfig()->GetMaxFreq() : 0.0f;
    return NearestPowerOfTwoOfRatio(fs, b, c);
}

float CExpProject::GetConfigSamplingFrequency() const
{
    return GetDAQConfig() ? GetDAQConfig()->GetSamplingFreq() : 0.0f;
}

int CExpProject::GetBlockMode() const
{
    return GetDAQConfig() ? GetDAQConfig()->GetVersion5Field() : 0;
}
int CExpProject::GetMeasurementMode() const
{
    return GetDAQConfig() ? GetDAQConfig()->GetOption60() : 0;
}
int CExpProject::GetRpmLow() const
{
    return GetDAQConfig() ? GetDAQConfig()->GetRpmLow() : 0;
}
int CExpProject::GetRpmHigh() const
{
    return GetDAQConfig() ? GetDAQConfig()->GetRpmHigh() : 0;
}
int CExpProject::GetRpmStep() const
{
    return GetDAQConfig() ? GetDAQConfig()->GetRpmMargin() : 0;
}
int CExpProject::GetConstantRpm() const
{
    return GetDAQConfig() ? GetDAQConfig()->GetRpmRef() : 0;
}
int CExpProject::GetRpmSignalChannel() const
{
    return GetDAQConfig() ? GetDAQConfig()->GetRpmChannel() : -1;
}
float CExpProject::GetCalcOptionFloat() const
{
    return GetCalcOptionsData() ? GetCalcOptionsData()->GetLineCount() : 0.0f;
}
float CExpProject::GetCalcOptionFloat2() const
{
    return GetCalcOptionsData() ? GetCalcOptionsData()->GetOrderBandWidth() : 0.0f;
}
int CExpProject::GetCalcOptionInt() const
{
    return GetWindowType();
}
float CExpProject::GetHighPassFreq() const
{
    return GetCalcOptionsData() ? GetCalcOptionsData()->GetHighPassFreq() : 0.0f;
}
int CExpProject::GetWindowType() const
{
    return GetCalcOptionsData() ? GetCalcOptionsData()->GetWindowType() : 0;
}
int CExpProject::GetDefaultEngineCount() const
{
    return GetDAQConfig() ? static_cast<int>(GetDAQConfig()->GetRpmRatio()) : 0;
}
int CExpProject::GetDefaultPulseCount() const
{
    return GetDAQConfig() ? static_cast<int>(GetDAQConfig()->GetPulsesPerRev()) : 0;
}
float CExpProject::GetDefaultDetectionLevel() const
{
    return GetDAQConfig() ? GetDAQConfig()->GetBandAveFactor() : 0.0f;
}
float CExpProject::GetDefaultGearCount() const
{
    return GetDAQConfig() ? GetDAQConfig()->GetFactor3() : 1.0f;
}

// ---- building the tree ----

void CExpProject::CreateDefaultChildren()
{
    AddChild(std::make_unique<CRPMSignalData>(kRpmSignalDataName, this, ElementType::RpmSignal));
    RefreshViews();
    for (int i = 0; i < GetExcitationNameCount(); ++i) {
        const std::string name = GetExcitationName(i);
        AddChild(std::make_unique<CExcitation>(name, this, ElementType::Excitation));
        RefreshViews();
    }
}

namespace {
// Takes a data set whose channels could not be made out of its parent again and renumbers the rest.
void DropDataSet(CMElement* parent, CMElement* set)
{
    parent->DeleteChild(set, 1);
    for (int i = 0; i < parent->GetChildCount(); ++i)
        parent->GetChild(i)->SetName(CExpDataSet::MakeLabel(i + 1));
}
} // namespace

CExpDataSet* CExpProject::AddRpmSignalDataSet()
{
    CRPMSignalData* signal = GetRPMSignalData();
    if (!signal)
        return nullptr;
    CExpDataSet* set = signal->AddDataSet();
    if (!set)
        return nullptr;
    if (!set->CreateChannels()) {
        DropDataSet(signal, set);
        return nullptr;
    }
    RefreshViews();
    return set;
}

CExpDataSet* CExpProject::AddExcitationDataSet(int excitation, CFeedback* feedback)
{
    CExcitation* element = FindExcitation(GetExcitationName(excitation));
    if (!element)
        return nullptr;
    CExpDataSet* set = element->AddDataSet();
    if (!set)
        return nullptr;
    if (!set->CreateChannels(feedback)) {
        DropDataSet(element, set);
        return nullptr;
    }
    RefreshViews();
    return set;
}

int CExpProject::ExpandDataSetSelection(CMElementList& list) const
{
    for (int i = list.GetSize() - 1; i >= 0; --i)
        if (!ElementCast<CExpDataSet>(list[i]))
            list.RemoveAt(i);
    const int n = list.GetSize();
    for (int i = 0; i < n; ++i) {
        CMElementList same;
        Find(list[i]->GetName(), same, -1, 1);
        for (CMElement* e : same)
            if (list.Index(e) < 0)
                list.Add(e);
    }
    return 1;
}

std::unique_ptr<CExpProject> CExpProject::CloneWithExperiment(CMElement* experiment) const
{
    if (!experiment || m_experiments.Index(experiment) < 0)
        return nullptr;
    auto* data = dynamic_cast<IDaqExperimentData*>(experiment);
    const CExpInfo* info = data ? data->GetExpInfo() : nullptr;
    const CMElement* parts[3] = {GetRPMSignalData(), GetCurrentExcitation(),
                                 info ? FindExcitation(info->GetName(0)) : nullptr};
    auto clone = std::make_unique<CExpProject>(GetName(), nullptr, GetType());
    clone->m_mode = m_mode;
    std::vector<std::unique_ptr<CMElement>> copies;
    for (const CMElement* part : parts) {
        auto copy = part ? CopyElementViaTempFile(part) : nullptr;
        if (!copy)
            return nullptr;
        copies.push_back(std::move(copy));
    }
    for (auto& copy : copies) {
        copy->SetParent(clone.get());
        clone->AddChild(std::move(copy));
    }
    clone->SetExperiment(experiment);
    clone->m_channelValues = m_channelValues;
    clone->m_daqProject = m_daqProject;
    return clone;
}

bool CExpProject::StoreCloneWithExperiment(CArchive& ar, CMElement* experiment)
{
    if (!experiment || m_experiments.Index(experiment) < 0)
        return false;
    auto* data = dynamic_cast<IDaqExperimentData*>(experiment);
    const CExpInfo* info = data ? data->GetExpInfo() : nullptr;
    CMElement* parts[3] = {GetRPMSignalData(), GetCurrentExcitation(),
                           info ? FindExcitation(info->GetName(0)) : nullptr};
    for (CMElement* part : parts) {
        if (!part)
            return false;
    }
    // A project that hangs below the experiment went into the archive with it, parts and all: the
    // record cannot name them again (a reader owns each stored element once), so it is written
    // from copies.
    bool belowExperiment = false;
    for (const CMElement* up = GetParent(); up && !belowExperiment; up = up->GetParent())
        belowExperiment = up == experiment;
    if (belowExperiment || parts[2] == parts[1] || parts[2] == parts[0]) {
        // One element cannot be lent twice either: such a record is written from copies as well.
        std::unique_ptr<CExpProject> clone = CloneWithExperiment(experiment);
        if (!clone)
            return false;
        ar << static_cast<const CObject*>(clone.get());
        return true;
    }
    CExpProject record(GetName(), nullptr, GetType());
    record.m_mode = m_mode;
    record.m_channelValues = m_channelValues;
    record.m_daqProject = m_daqProject;
    record.SetExperiment(experiment);
    // Lend the parts in clone order; on the way back each returns to its own index.
    struct Lent
    {
        CMElement* element;
        int index;
    };
    std::vector<Lent> lent;
    for (CMElement* part : parts)
        lent.push_back({part, GetChildIndex(part)});
    auto giveBack = [&] {
        std::vector<Lent> order = lent;
        std::sort(order.begin(), order.end(), [](const Lent& a, const Lent& b) { return a.index < b.index; });
        for (const Lent& l : order) {
            std::unique_ptr<CMElement> owned = record.ReleaseChild(l.element);
            if (!owned)
                continue;
            CMElement* back = AddChild(std::move(owned));
            MoveChild(GetChildIndex(back), l.index);
        }
    };
    for (const Lent& l : lent)
        record.AddChild(ReleaseChild(l.element));
    try {
        ar << static_cast<const CObject*>(&record);
    } catch (...) {
        giveBack();
        throw;
    }
    giveBack();
    return true;
}

void CExpProject::StoreChannelValuesAndMode(CArchive& ar) const
{
    ar << static_cast<int32_t>(m_channelValues.size());
    if (!m_channelValues.empty())
        ar.Write(m_channelValues.data(), m_channelValues.size() * sizeof(float));
    ar << m_mode;
}

void CExpProject::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        // Its elements step the archive's feedback, when the writer gave it one.
        CMElement::Serialize(ar);
        StoreChannelValuesAndMode(ar);
        return;
    }
    const uint32_t schema = ar.GetObjectSchema();
    if (schema != 0xFFFFFFFFu && schema != kSchema)
        CArchive::ThrowBadSchema(Format("experiment project of schema %u", schema));
    CMElement::Serialize(ar);
    int32_t n = 0;
    ar >> n;
    if (n < 0 || n > kMaxChannelValues)
        CArchive::ThrowBadSchema(Format("experiment project with %d channel values", n));
    std::vector<float> values(static_cast<size_t>(n));
    if (n > 0)
        ar.Read(values.data(), values.size() * sizeof(float));
    ar >> m_mode;
    m_channelValues = std::move(values);
}
