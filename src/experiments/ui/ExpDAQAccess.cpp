#include "experiments/ui/ExpDAQAccess.h"

#include "acquisition/ChannelInfo.h"
#include "acquisition/DAQ.h"
#include "acquisition/DaqChannelManager.h"
#include "acquisition/MultiQMXInterface.h"

CMultiQMXInterface* CExpDAQAccess::Units() const
{
    return m_daq ? m_daq : CDAQ::GetMultiInterface();
}

int CExpDAQAccess::SetupRunChannels(int limit, int rpmChannel, float rpmRange,
                                    const std::vector<ExpChannelSettings>& channels, int* failedChannel) const
{
    CMultiQMXInterface* daq = Units();
    if (!daq)
        return 0;
    CDaqChannelManager manager(limit, daq);
    if (!manager.CheckEnabledChannels())
        return 0;
    if (!manager.SetupChannel(rpmChannel, rpmRange)) {
        if (failedChannel)
            *failedChannel = rpmChannel;
        return -1;
    }
    for (const ExpChannelSettings& s : channels) {
        // Every field is set: the record's own defaults are not what the sensor says.
        CHANNELINFO info;
        info.Channel = s.channel;
        info.AttachPoint = s.attachPoint;
        info.Comment = s.comment;
        info.DataType = s.dataType;
        info.Sensitivity = s.sensitivity;
        info.Unit = s.unit;
        info.Range = s.range;
        info.AutoRange = s.autoRange;
        info.Coupling = s.coupling;
        info.Scale = s.scale;
        info.Limit = s.limit;
        if (!manager.SetChannel(s.channel, &info)) {
            if (failedChannel)
                *failedChannel = s.channel;
            return -1;
        }
    }
    return 1;
}

void CExpDAQAccess::ApplyChannelRanges(std::vector<std::pair<int, float>>& ranges) const
{
    CMultiQMXInterface* daq = Units();
    if (!daq || ranges.empty())
        return;
    std::vector<CHANNELINFO> table(ranges.size());
    for (size_t i = 0; i < ranges.size(); ++i) {
        CHANNELINFO& r = table[i];
        r.Channel = ranges[i].first;
        r.AttachPoint.clear();
        r.Comment.clear();
        r.DataType = 0;
        r.Sensitivity = 1.0f;
        r.Unit = 0;
        r.Range = ranges[i].second;
        r.AutoRange = 0;
        r.Coupling = 0;
        r.Scale = ranges[i].second;
        r.Limit = 0.0f;
    }
    daq->SetChannelInputRanges(table.data(), static_cast<int>(table.size()));
    for (auto& [channel, range] : ranges) {
        const double taken = daq->GetChannelInputRange(channel);
        if (taken > 0.0)
            range = static_cast<float>(taken);
    }
}

int CExpDAQAccess::GetFirstUnitValue() const
{
    CMultiQMXInterface* daq = Units();
    return daq ? daq->GetFirstUnitValue() : 0;
}

float CExpDAQAccess::GetSampleRate() const
{
    CMultiQMXInterface* daq = Units();
    return daq ? daq->GetSampleRate() : 0.0f;
}

bool CExpDAQAccess::ReadData(int channel, float* dest, int count, int start) const
{
    CMultiQMXInterface* daq = Units();
    return daq && daq->ReadData(channel, dest, count, start);
}

bool CExpDAQAccess::SetDuration(float seconds) const
{
    CMultiQMXInterface* daq = Units();
    return daq && daq->SetDuration(seconds);
}

void CExpDAQAccess::SetStartOnTrigger(bool on) const
{
    if (CMultiQMXInterface* daq = Units())
        daq->SetStartOnTrigger(on);
}

bool CExpDAQAccess::SetNotifyWindow(IMessageTarget* window, uint32_t startMsg, uint32_t stopMsg,
                                    uint32_t completeMsg) const
{
    CMultiQMXInterface* daq = Units();
    return daq && daq->SetNotifyWindow(window, startMsg, stopMsg, completeMsg);
}

void CExpDAQAccess::ReleaseNotifyWindow(const IMessageTarget* window) const
{
    CMultiQMXInterface* daq = m_daq ? m_daq : (CDAQ::Exists() ? CDAQ::GetMultiInterface() : nullptr);
    if (daq && window && daq->IsNotifyWindow(window))
        daq->SetNotifyWindow(nullptr, 0, 0, 0);
}

int CExpDAQAccess::GetState() const
{
    CMultiQMXInterface* daq = Units();
    return daq ? daq->GetState() : 0;
}

int CExpDAQAccess::AreAllUnitsReady() const
{
    CMultiQMXInterface* daq = Units();
    return daq && daq->GetUnitCount() > 0 ? daq->AreAllUnitsReady() : 0;
}

int CExpDAQAccess::CheckAllChannels() const
{
    CMultiQMXInterface* daq = Units();
    return daq ? daq->CheckAllChannels() : 0;
}

int CExpDAQAccess::SetChannelParam(int channel, int value) const
{
    CMultiQMXInterface* daq = Units();
    return daq ? daq->SetChannelParam(channel, value) : 0;
}

void CExpDAQAccess::SetActive(int active) const
{
    if (CMultiQMXInterface* daq = Units())
        daq->SetActive(active);
}

int CExpDAQAccess::IsAnyUnitFlagSet() const
{
    CMultiQMXInterface* daq = Units();
    return daq ? daq->IsAnyUnitFlagSet() : 0;
}

int CExpDAQAccess::SetUnitsFlag(int flag) const
{
    CMultiQMXInterface* daq = Units();
    return daq ? daq->SetUnitsFlag(flag) : 0;
}

int CExpDAQAccess::GetUnitCount() const
{
    CMultiQMXInterface* daq = Units();
    return daq ? daq->GetUnitCount() : 0;
}

CDAQRunFault CExpDAQAccess::GetRunFault() const
{
    CMultiQMXInterface* daq = Units();
    return daq ? daq->GetRunFault() : CDAQRunFault{};
}

CQmxBlixChMgr* CExpDAQAccess::Inventory() const
{
    CMultiQMXInterface* daq = Units();
    return daq ? &daq->GetChannelManager() : nullptr;
}
