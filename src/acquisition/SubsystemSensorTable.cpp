#include "acquisition/SubsystemSensorTable.h"

#include "experiments/Sensor.h"
#include "experiments/SensorBundle.h"
#include "experiments/SensorGroup.h"
#include "experiments/SensorProject.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

#include <algorithm>

namespace {

template <class... Args>
bool Fail(CSubsystemSensorTable::CFinding& finding, uint32_t id, Args... args)
{
    finding.messageId = id;
    finding.text = FormatString(id, args...);
    return false;
}

const char* SensorName(const CSensor* sensor)
{
    return sensor ? sensor->GetID().c_str() : "";
}

} // namespace

CSubsystemSensorTable::CSubsystemSensorTable(CSensorProject* sensors, int systemChannels)
    : m_sensors(sensors), m_systemChannels(systemChannels)
{}

CSubsystemSensorTable::~CSubsystemSensorTable() = default;

void CSubsystemSensorTable::Build(const std::vector<CSource>& sources, std::vector<std::string>* missingSensors)
{
    m_list.clear();
    for (const CSource& source : sources) {
        CSSData data;
        data.name = source.name;
        data.group = source.group;
        data.inventory = source.inventory;
        data.structure = source.structure;
        if (const CSensorGroup* group = source.group) {
            for (int i = 0; i < group->GetMemberCount(); ++i) {
                const tagSENSORGROUPMEMBER m = group->GetMember(i);
                CSensor* sensor = m_sensors ? m_sensors->FindSensor(m.text) : nullptr;
                if (!sensor) {
                    if (missingSensors)
                        missingSensors->push_back(m.text);
                    continue;
                }
                CLPData lp;
                lp.sensor = sensor;
                lp.keyA = m.bundle;
                lp.keyB = m.slot;
                if (source.inventory) {
                    const CQmxBlixChInfoList& channels = source.inventory->GetBlixChInfoList();
                    const int at = channels.FindByChannelNumber(m.channel);
                    if (at >= 0)
                        lp.channel = channels[at];
                }
                data.lps.push_back(std::move(lp));
            }
            for (int32_t number : group->GetBundles()) {
                if (number < 0)
                    continue;
                if (CSensorBundle* bundle = m_sensors ? m_sensors->FindBundleByNo(number) : nullptr)
                    data.bundles.push_back({bundle, source.inventory});
            }
        }
        m_list.push_back(std::move(data));
    }
}

int CSubsystemSensorTable::Find(const std::string& name) const
{
    for (size_t i = 0; i < m_list.size(); ++i)
        if (m_list[i].name == name)
            return static_cast<int>(i);
    return -1;
}

std::vector<CSensorBundle*> CSubsystemSensorTable::CandidateBundles(const CQmxBlixChMgr& inventory) const
{
    std::vector<CSensorBundle*> result;
    if (!m_sensors)
        return result;
    for (int i = 0; i < m_sensors->GetBundleCount(); ++i) {
        CSensorBundle* bundle = m_sensors->GetBundle(i);
        if (bundle && !bundle->GetBundleID().empty() &&
            inventory.GetBlixInfoList().FindBySerial(bundle->GetBundleID()) >= 0)
            result.push_back(bundle);
    }
    return result;
}

std::vector<const CQmxBlixChInfo*> CSubsystemSensorTable::UnitChannels(const CQmxBlixChMgr& inventory,
                                                                       const CSensorBundle& bundle)
{
    std::vector<const CQmxBlixChInfo*> channels;
    const std::string serial = bundle.GetBundleID();
    if (serial.empty())
        return channels;
    for (const CQmxBlixChInfo& ch : inventory.GetBlixChInfoList().Items())
        if (ch.GetBlixSerial() == serial)
            channels.push_back(&ch);
    std::stable_sort(channels.begin(), channels.end(), [](const CQmxBlixChInfo* a, const CQmxBlixChInfo* b) {
        return a->GetUnitChannel() < b->GetUnitChannel();
    });
    return channels;
}

void CSubsystemSensorTable::SetBundles(int subsystem, const std::vector<CSensorBundle*>& bundles)
{
    CSSData& data = Get(subsystem);
    data.bundles.clear();
    data.lps.clear();
    for (CSensorBundle* bundle : bundles) {
        if (!bundle)
            continue;
        data.bundles.push_back({bundle, data.inventory});
        const std::vector<const CQmxBlixChInfo*> channels =
            data.inventory ? UnitChannels(*data.inventory, *bundle) : std::vector<const CQmxBlixChInfo*>();
        for (int i = 0; i < bundle->GetCount(); ++i) {
            CLPData lp;
            lp.sensor = m_sensors ? m_sensors->FindSensor(bundle->GetSensorID(i)) : nullptr;
            lp.keyA = bundle->GetNumber();
            lp.keyB = i;
            if (i < static_cast<int>(channels.size()))
                lp.channel = *channels[static_cast<size_t>(i)];
            data.lps.push_back(std::move(lp));
        }
    }
}

std::vector<CSubsystemSensorTable::CChoice> CSubsystemSensorTable::ChannelChoices(int subsystem, int lp,
                                                                                  int* current) const
{
    std::vector<CChoice> choices;
    if (current)
        *current = -1;
    if (subsystem < 0 || subsystem >= GetCount())
        return choices;
    const CSSData& data = Get(subsystem);
    const std::string currentLabel = lp >= 0 && lp < static_cast<int>(data.lps.size()) && data.lps[size_t(lp)].channel
                                         ? data.lps[size_t(lp)].channel->GetDisplayNumberText()
                                         : std::string();
    for (size_t b = 0; b < data.bundles.size(); ++b) {
        const CBundleData& bundle = data.bundles[b];
        if (!bundle.bundle || !bundle.inventory)
            continue;
        const auto channels = UnitChannels(*bundle.inventory, *bundle.bundle);
        for (size_t i = 0; i < channels.size(); ++i) {
            CChoice choice{channels[i]->GetDisplayNumberText(), static_cast<int>((i << 16) | b)};
            if (current && *current < 0 && !currentLabel.empty() && choice.label == currentLabel)
                *current = static_cast<int>(choices.size());
            choices.push_back(std::move(choice));
        }
    }
    return choices;
}

bool CSubsystemSensorTable::ChooseChannel(int subsystem, int lp, int data)
{
    if (subsystem < 0 || subsystem >= GetCount())
        return false;
    CSSData& ss = Get(subsystem);
    const int i = (data >> 16) & 0xFFFF;
    const int b = data & 0xFFFF;
    if (lp < 0 || lp >= static_cast<int>(ss.lps.size()) || b >= static_cast<int>(ss.bundles.size()))
        return false;
    const CBundleData& bundle = ss.bundles[static_cast<size_t>(b)];
    if (!bundle.bundle || !bundle.inventory)
        return false;
    const auto channels = UnitChannels(*bundle.inventory, *bundle.bundle);
    if (i >= static_cast<int>(channels.size()))
        return false;
    CLPData& target = ss.lps[static_cast<size_t>(lp)];
    target.channel = *channels[static_cast<size_t>(i)];
    target.sensor =
        m_sensors && i < bundle.bundle->GetCount() ? m_sensors->FindSensor(bundle.bundle->GetSensorID(i)) : nullptr;
    return true;
}

bool CSubsystemSensorTable::ValidateSubsystem(int subsystem, CFinding& finding) const
{
    const CSSData& ss = Get(subsystem);
    const char* name = ss.name.c_str();
    if (ss.bundles.empty())
        return Fail(finding, IDS_NO_BUNDLE, name);
    if (ss.lps.empty())
        return Fail(finding, IDS_NO_LP, name);
    const int kind = ss.structure ? kStructureDataType : kAcousticDataType;
    for (const CLPData& lp : ss.lps)
        if (!lp.sensor || lp.sensor->GetChannelInfo().DataType != kind)
            return Fail(finding, IDS_SENSOR_KIND, name, SensorName(lp.sensor));
    for (size_t a = 0; a < ss.bundles.size(); ++a)
        for (size_t b = a + 1; b < ss.bundles.size(); ++b)
            if (ss.bundles[a].bundle == ss.bundles[b].bundle)
                return Fail(finding, IDS_BUNDLE_TWICE, name, ss.bundles[a].bundle->GetID().c_str());
    for (size_t a = 0; a < ss.bundles.size(); ++a)
        for (size_t b = a + 1; b < ss.bundles.size(); ++b)
            if (ss.bundles[a].bundle->GetBundleID() == ss.bundles[b].bundle->GetBundleID())
                return Fail(finding, IDS_BUNDLE_ID_TWICE, name, ss.bundles[a].bundle->GetBundleID().c_str());
    for (size_t a = 0; a < ss.lps.size(); ++a)
        for (size_t b = a + 1; b < ss.lps.size(); ++b)
            if (ss.lps[a].sensor == ss.lps[b].sensor)
                return Fail(finding, IDS_SENSOR_TWICE, name, SensorName(ss.lps[a].sensor));
    // Used channels are marked in an array of the system's channel count; a channel outside it
    // cannot be measured and fails like a channel used twice.
    std::vector<char> used(static_cast<size_t>(std::max(m_systemChannels, 0)), 0);
    for (const CLPData& lp : ss.lps) {
        if (!lp.channel)
            continue;
        const int channel = lp.channel->GetChannelNumber();
        if (channel < 0 || channel >= m_systemChannels || used[static_cast<size_t>(channel)])
            return Fail(finding, IDS_CHANNEL_TWICE, name, channel + 1);
        used[static_cast<size_t>(channel)] = 1;
    }
    return true;
}

bool CSubsystemSensorTable::ValidateAcross(CFinding& finding) const
{
    for (size_t a = 0; a < m_list.size(); ++a) {
        for (size_t b = a + 1; b < m_list.size(); ++b) {
            const CSSData& x = m_list[a];
            const CSSData& y = m_list[b];
            for (const CBundleData& bx : x.bundles)
                for (const CBundleData& by : y.bundles)
                    if (bx.bundle == by.bundle)
                        return Fail(finding, IDS_SAME_BUNDLE_OTHER, x.name.c_str(), y.name.c_str(),
                                    bx.bundle->GetID().c_str());
            for (const CBundleData& bx : x.bundles)
                for (const CBundleData& by : y.bundles)
                    if (bx.bundle->GetBundleID() == by.bundle->GetBundleID())
                        return Fail(finding, IDS_SAME_BUNDLE_ID_OTHER, x.name.c_str(), y.name.c_str(),
                                    bx.bundle->GetBundleID().c_str());
            for (const CLPData& lx : x.lps)
                for (const CLPData& ly : y.lps)
                    if (lx.channel && ly.channel && lx.channel->GetChannelNumber() == ly.channel->GetChannelNumber())
                        return Fail(finding, IDS_CHANNEL_OTHER, y.name.c_str(), lx.channel->GetChannelNumber() + 1);
            for (const CLPData& lx : x.lps)
                for (const CLPData& ly : y.lps)
                    if (lx.sensor && lx.sensor == ly.sensor)
                        return Fail(finding, IDS_SAME_SENSOR_OTHER, x.name.c_str(), y.name.c_str(),
                                    SensorName(lx.sensor));
        }
    }
    return true;
}

bool CSubsystemSensorTable::Validate(CFinding& finding) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (!ValidateSubsystem(i, finding))
            return false;
    return ValidateAcross(finding);
}

std::unique_ptr<CSensorGroup> CSubsystemSensorTable::LookupSubsystem(const std::string& name) const
{
    const int at = Find(name);
    if (at < 0)
        return nullptr;
    const CSSData& ss = Get(at);
    auto group = std::make_unique<CSensorGroup>();
    const int limit = std::max(m_systemChannels, static_cast<int>(ss.lps.size()));
    for (size_t i = 0; i < ss.lps.size(); ++i) {
        const CLPData& lp = ss.lps[i];
        // A group holds one member per channel: an LP without a channel has no place in it (the
        // members' LP index keeps the positions of the others).
        if (!lp.channel)
            continue;
        tagSENSORGROUPMEMBER member;
        member.text = lp.sensor ? lp.sensor->GetID() : std::string();
        member.bundle = lp.keyA;
        member.slot = lp.keyB;
        member.channel = lp.channel->GetChannelNumber();
        member.extra = static_cast<int32_t>(i);
        group->SetMember(member, limit);
    }
    return group;
}
