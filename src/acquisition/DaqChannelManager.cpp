#include "acquisition/DaqChannelManager.h"

#include "acquisition/BaseDAQInterface.h"

namespace {
constexpr int kCouplingAC = 2;
} // namespace

int CDaqChannelManager::CheckEnabledChannels(int)
{
    if (!m_daq)
        return 0;
    const int n = m_daq->GetMaxChannels();
    for (int channel = 0; channel < n; ++channel) {
        if (m_daq->IsChannelEnabled(channel) && !m_daq->DisableChannel(channel))
            return 0;
    }
    return 1;
}

bool CDaqChannelManager::EnsureEnabled(int channel)
{
    return m_daq->IsChannelEnabled(channel) || m_daq->EnableChannel(channel);
}

int CDaqChannelManager::SetupChannel(int channel, float inputRange)
{
    if (channel < 0 || !m_daq)
        return 0;
    CHANNELINFO info;
    info.Channel = channel;
    info.AttachPoint.clear();
    info.Comment.clear();
    info.DataType = 0;
    info.Sensitivity = 1.0f;
    info.Unit = 0;
    info.Range = 0.0f;
    info.AutoRange = 0;
    info.Coupling = kCouplingAC;
    info.Scale = inputRange;
    info.Limit = 0.0f;
    if (!EnsureEnabled(channel))
        return 0;
    return m_daq->SetChannelInfo(&info) ? 1 : 0;
}

int CDaqChannelManager::SetChannel(int channel, CHANNELINFO* info)
{
    if (channel >= m_limit || channel < 0 || !info || !m_daq)
        return 0;
    info->Channel = channel;
    info->Coupling = kCouplingAC;
    if (!EnsureEnabled(channel))
        return 0;
    return m_daq->SetChannelInfo(info) ? 1 : 0;
}
