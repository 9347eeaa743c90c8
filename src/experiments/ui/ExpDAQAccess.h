#pragma once
// What the measurement window asks of the program's acquisition interface, in terms of its own:
// channel settings as plain values, blocks of samples, the units' state. It keeps the acquisition
// layer's channel record out of the window's code, which works with the sensor side's record.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "acquisition/DAQRunFault.h"

class CMultiQMXInterface;
class CQmxBlixChMgr;
class IMessageTarget;

// One acquisition channel's set-up, as a sensor record gives it.
struct ExpChannelSettings
{
    int channel = 0;
    std::string attachPoint;
    std::string comment;
    int dataType = 0;
    float sensitivity = 1.0f;
    int unit = 0;
    float range = 0.0f;
    int autoRange = 0;
    int coupling = 0;
    float scale = 1.0f;
    float limit = 0.0f;
};

class CExpDAQAccess
{
public:
    // Null: the program's interface (CDAQ).
    explicit CExpDAQAccess(CMultiQMXInterface* daq = nullptr) : m_daq(daq) {}

    CMultiQMXInterface* Units() const;

    // Prepares the channel table for a run over a system of limit channels: every channel is
    // switched off, the pulse channel set up with its input range, then every sensor channel.
    // 1 when done; 0 when the channels could not be switched off; -1 when a channel could not be
    // set up (its number in failedChannel).
    int SetupRunChannels(int limit, int rpmChannel, float rpmRange, const std::vector<ExpChannelSettings>& channels,
                         int* failedChannel) const;
    // Hands the interface the input range of each (channel, range) record, then reads back what it
    // took for each.
    void ApplyChannelRanges(std::vector<std::pair<int, float>>& ranges) const;

    int GetFirstUnitValue() const;
    float GetSampleRate() const;
    bool ReadData(int channel, float* dest, int count, int start) const;
    bool SetDuration(float seconds) const;
    // The next run samples only from the user's Start on.
    void SetStartOnTrigger(bool on) const;
    bool SetNotifyWindow(IMessageTarget* window, uint32_t startMsg, uint32_t stopMsg, uint32_t completeMsg) const;
    // The interface tells nobody when it tells this window; another client's window stays. Makes
    // no interface where none is yet.
    void ReleaseNotifyWindow(const IMessageTarget* window) const;
    int GetState() const;
    int AreAllUnitsReady() const;
    int CheckAllChannels() const;
    int SetChannelParam(int channel, int value) const;
    void SetActive(int active) const;
    int IsAnyUnitFlagSet() const;
    int SetUnitsFlag(int flag) const;
    int GetUnitCount() const;
    CDAQRunFault GetRunFault() const;
    // The merged hardware inventory of the units; null without an interface.
    CQmxBlixChMgr* Inventory() const;

private:
    CMultiQMXInterface* m_daq;
};
