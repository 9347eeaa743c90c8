#include "acquisition/GainTable.h"

#include "acquisition/BaseDAQInterface.h"
#include "experiments/ExpProject.h"

#include <algorithm>
#include <cmath>

bool CGainTable::IsGainStep(double value)
{
    for (float g : kGains) {
        if (std::fabs(value - static_cast<double>(g)) <= static_cast<double>(g) * 1e-6)
            return true;
    }
    return false;
}

float CGainTable::ChooseGain(float peak, float levelPercent)
{
    const float level = levelPercent / 100.0f;
    if (peak >= 1000.0f * level)
        return kGains[0];
    if (peak >= 100.0f * level)
        return kGains[1];
    return kGains[2];
}

void CGainTable::Build(CExpProject& project, CBaseDAQInterface& daq)
{
    m_rows.clear();
    const int groups = project.GetExcitationNameCount();
    for (int g = 0; g < groups; ++g) {
        const int items = project.GetGroupItemCount(g);
        for (int i = 0; i < items; ++i) {
            const int channel = project.GetGroupItemValue(g, i);
            CHANNELINFO info;
            info.Channel = channel;
            info.AutoRange = 0;
            if (!daq.GetChannelInfo(&info))
                info.AutoRange = 0;
            m_rows.push_back({channel, g, i, project.GetChannelRange(channel), info.AutoRange != 0 ? 1 : 0, 0});
        }
    }
    const int pulse = project.GetRpmSignalChannel();
    m_rows.push_back({pulse, -1, -1, project.GetChannelRange(pulse), 0, 1});
}

void CGainTable::SetAdjustAll()
{
    for (tagGAININFO& row : m_rows)
        row.adjust = 1;
}

void CGainTable::PrepareTrial(CBaseDAQInterface& daq)
{
    for (tagGAININFO& row : m_rows) {
        if (!row.adjust)
            continue;
        row.gain = kGains[0];
        daq.SetChannelInputRange(row.channel, kGains[0]);
    }
}

int CGainTable::ChooseFromTrial(CBaseDAQInterface& daq, int sampleCount, float levelPercent)
{
    std::vector<float> samples(static_cast<size_t>(sampleCount > 0 ? sampleCount : 0), 0.0f);
    int chosen = 0;
    for (tagGAININFO& row : m_rows) {
        if (!row.adjust)
            continue;
        CHANNELINFO info;
        info.Channel = row.channel;
        if (!daq.GetChannelInfo(&info) || !daq.ReadData(row.channel, samples.data(), sampleCount, 0))
            continue;
        float peak = -1.0f;
        for (float s : samples)
            peak = std::max(peak, std::fabs(info.Sensitivity * s));
        row.gain = ChooseGain(peak, levelPercent);
        ++chosen;
    }
    return chosen;
}

int CGainTable::ReadBack(CBaseDAQInterface& daq, std::vector<int>* unread)
{
    int kept = 0;
    if (unread)
        unread->assign(m_rows.size(), 0);
    for (size_t r = 0; r < m_rows.size(); ++r) {
        // A channel the hardware cannot answer for reports no value (-FLT_MAX); that must never
        // become a gain.
        const double value = daq.GetChannelInputRange(m_rows[r].channel);
        if (IsGainStep(value)) {
            m_rows[r].gain = static_cast<float>(value);
        } else {
            ++kept;
            if (unread)
                (*unread)[r] = 1;
        }
    }
    return kept;
}

int CGainTable::Apply(CExpProject& project, CBaseDAQInterface& daq)
{
    for (const tagGAININFO& row : m_rows)
        daq.SetChannelInputRange(row.channel, row.gain);
    std::vector<int> unread;
    const int kept = ReadBack(daq, &unread);
    for (size_t r = 0; r < m_rows.size(); ++r) {
        // What the hardware did not confirm is not recorded as set.
        if (unread[r])
            continue;
        const tagGAININFO& row = m_rows[r];
        project.SetChannelRange(row.channel, row.gain);
        if (row.pulse)
            continue;
        CHANNELINFO info;
        if (!project.GetChannelInfo(row.group, row.item, info))
            continue;
        info.Channel = row.channel;
        info.Scale = row.gain;
        info.AutoRange = row.adjust ? 1 : 0;
        project.SetChannelInfo(info);
    }
    return kept;
}
