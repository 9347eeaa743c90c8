#pragma once
// Readies the RPM pulse channel for a watching run (the real-time monitor, the engine rotation
// check): the channel is enabled when it is not, and given a record that keeps its stored input
// range, sensitivity, range and limit, with empty texts, no automatic range and AC coupling.
class CBaseDAQInterface;

class CRpmChannelSetup
{
public:
    // False when the channel cannot be enabled or the interface refuses the record; the caller
    // then tells the user (IDS_CHANNEL_FAILED with the 1-based channel).
    static bool Prepare(CBaseDAQInterface& daq, int channel);
};
