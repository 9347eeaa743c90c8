#pragma once
// Prepares the channel table of an acquisition interface before a run: switches channels off,
// sets the pulse channel up with its input range and every sensor channel with its record.
#include "acquisition/ChannelInfo.h"

class CBaseDAQInterface;

class CDaqChannelManager
{
public:
    // limit: the system channel count; channels at or above it are refused by SetChannel.
    CDaqChannelManager(int limit, CBaseDAQInterface* daq) : m_limit(limit), m_daq(daq) {}
    virtual ~CDaqChannelManager() = default;

    // Disables every enabled channel; 0 at the first failure, else 1.
    int CheckEnabledChannels(int disableAll = 1);
    // A plain channel (sensitivity 1, AC coupling) with the given input range, enabled; 0 for a
    // negative channel or a failure.
    int SetupChannel(int channel, float inputRange);
    // The record set on the channel (its channel number and coupling overwritten), enabled; 0 when
    // the channel is not below the limit, the record is missing or the interface refuses.
    int SetChannel(int channel, CHANNELINFO* info);

private:
    // Enables the channel unless it is enabled already.
    bool EnsureEnabled(int channel);

    int m_limit;
    CBaseDAQInterface* m_daq;
};
