#pragma once
// Several acquisition systems driven as one: the interface the rest of the program holds. Each
// system (unit) is a CQMXDAQInterface; their channels are numbered on from one unit to the next
// in chain order (unit u covers the sum of the earlier units' channel counts onwards). Every
// operation is forwarded: to all units, to the unit that owns a channel, or to the first unit.
// The units' inventories are merged into one, with boards and channels numbered on across units.
//
// A run has one worker thread for all units: it waits until each unit has settled, starts the
// units from the last to the first (the first of a chain starts last), waits for all their data,
// sends the window 0xA304, transfers the samples (the units side by side), sends 0xA305, posts
// the completion and ends
// with Stop. Stop only requests the stop; the worker ends every unit's run itself. A unit that
// stops answering ends the run as stopped: the answering units keep what they acquired up to the
// fault, the lost unit's channels are refused, and GetRunFault tells which unit it was. FinishRun
// ends a run early the same way for every unit: what all of them have acquired is kept and the
// run completes with it.
#include "acquisition/BaseDAQInterface.h"
#include "acquisition/QMXDAQInterface.h"
#include "acquisition/QmxBlixChMgr.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CRunWake;

class CMultiQMXInterface : public CBaseDAQInterface
{
public:
    CMultiQMXInterface();
    ~CMultiQMXInterface() override;

    // --- units ----------------------------------------------------------------------------------
    // Connects one more unit (at the address of the profile, "QMX" "IP"); 0 when it cannot be
    // initialised (nothing changes then).
    int AddUnit();
    // Disconnects and removes unit i; 0 (unit kept) when the disconnection fails.
    int RemoveUnit(int i);
    int SwapUnits(int i, int j);
    // Gives every unit its role in the chain (first 0, between 1, last 2) and applies it; 0 with
    // fewer than two units or at the first failure.
    int SyncUnits();
    // Global channel to unit index and local channel; 0 when no unit owns it.
    int MapChannel(int global, int* unit, int* local);
    int MergeUnitInfo();
    void SetActive(int v);
    int AreAllUnitsReady();
    int AreAllUnitsConnected();
    int AreAllUnitsIdle();
    int CheckAllChannels();
    // The owning unit's channel switch: non-zero value activates the global channel, 0 takes it
    // out of the run; 0 when no unit owns the channel or the unit refuses.
    int SetChannelParam(int global, int value);
    int IsChannelAvailable(int global, bool showMessage);
    // Stores v in every unit's hold-off flag; returns the unit count.
    int SetUnitsFlag(int v);
    int IsAnyUnitFlagSet();
    void SetPartialCount();
    // Stops the run and waits until every unit's part of it has ended.
    void StopAllUnits();
    // While a run acquires: the scaled samples the unit owning the global channel has acquired so
    // far from start on, at most count; the number copied.
    int ReadLiveData(int global, float* dest, int count, int start);
    // The first unit's acquired count; 0 with no units.
    int GetFirstUnitValue();
    // While a run acquires: the samples per channel the first unit has acquired so far.
    int GetLiveSampleCount();
    // Ends the running acquisition now, keeping the samples every unit has acquired: the run
    // completes with that many per channel (it ends as stopped when nothing has come yet).
    void FinishRun();
    // The next run (only the next Start) waits, armed, until it is triggered (SetTriggered: the
    // user's Start in the sampling window) before its units sample; a stop ends it unsampled.
    void SetStartOnTrigger(bool on) { m_startOnTrigger = on ? 1 : 0; }
    // The run started last waits for its trigger now.
    bool IsWaitingForTrigger() const { return m_waitingForTrigger != 0; }

    int GetUnitCount() const { return static_cast<int>(m_units.size()); }
    CQMXDAQInterface* GetUnit(int i) const;
    uint32_t GetUnitWord(int i) const;
    CQmxBlixChMgr& GetChannelManager() { return m_merged; }

    // --- forwarded operations ---------------------------------------------------------------------
    bool Initialize() override;
    bool SetBandLimit(int limit) override;
    int GetHardwareParam() override;
    bool SetChannelInputRange(int channel, double value) override;
    bool SetAllInputRanges(double value) override;
    double GetChannelInputRange(int channel) override;
    bool HasAutoRangeChannel() override;
    bool SetNotifyWindow(IMessageTarget* window, uint32_t startMsg, uint32_t stopMsg, uint32_t completeMsg) override;
    // Every unit reports on the same feedback.
    void SetFeedback(CFeedback* feedback) override;
    bool EnableChannel(int channel) override;
    bool DisableChannel(int channel) override;
    bool IsChannelEnabled(int channel) override;
    int GetEnabledChannelCount() override;
    int GetMaxChannels() override;
    bool SetChannelInfo(const CHANNELINFO* info) override;
    bool GetChannelInfo(CHANNELINFO* info) override;
    bool SetSampleRate(float hz) override;
    float GetSampleRate() override;
    bool SetDuration(float seconds) override;
    float GetDuration() override;
    bool Start() override;
    bool Stop() override;
    int GetState() override;
    int GetStatus() override;
    int GetSampleCount() override;
    bool ReadData(int channel, float* dest, int count, int start) override;
    bool SetAcqMode(int mode) override;
    int GetAcqMode() override;
    bool SetTriggered() override;
    bool SetTriggerParam(int param) override;
    int GetTriggerParam() override;
    bool SetTriggerLevel(float level) override;
    float GetTriggerLevel() override;
    bool SetReferenceChannel(int channel) override;
    int GetReferenceChannelIndex() override;
    bool SetInputRange(float value, int mode) override;
    bool SetInputRangeLimit(int limit) override;
    int GetInputRangeLimit() override;
    float GetInputRangeUpper() override;
    float GetInputRangeLower() override;
    bool SetPreTrigger(int count) override;
    int GetPreTrigger() override;
    bool SetPostTrigger(int count) override;
    int GetPostTrigger() override;
    CDAQRunFault GetRunFault() override;

private:
    enum class WaitResult
    {
        Complete,
        Stopped,
        Lost,
        Finished
    };
    template <class F>
    bool ForAll(F f);
    CQMXDAQInterface* First() const { return m_units.empty() ? nullptr : m_units.front().get(); }
    // Ends a previous run's worker (stopping it when it still runs) and joins it.
    void JoinWorker();
    bool AnyStopRequested() const;
    void RunWorker();
    WaitResult WaitForUnits(int* lostUnit);
    void KeepUpToFault(int lostUnit);
    // The samples per channel that every unit but skipUnit has acquired, the drivers stopped.
    int CommonCount(int skipUnit);
    void KeepWhatCame();
    // TransferData on every unit but skipUnit, at most limit samples per channel (-1: all).
    void TransferAll(int limit, int skipUnit);
    void CollectFault(int lostUnit, int kept);
    void EndRun();

    std::vector<std::unique_ptr<CQMXDAQInterface>> m_units;
    std::vector<uint32_t> m_unitWords;
    CQmxBlixChMgr m_merged;

    std::thread m_thread;
    std::atomic<int> m_workerBusy{0};
    std::atomic<int> m_finishRequest{0};
    std::atomic<int> m_startOnTrigger{0};
    std::atomic<int> m_runOnTrigger{0};
    std::atomic<int> m_triggerRequest{0};
    std::atomic<int> m_waitingForTrigger{0};
    std::shared_ptr<CRunWake> m_wake;
    // The run's units, fixed while the worker runs (units change only between runs).
    std::vector<CQMXDAQInterface*> m_runUnits;
    mutable std::mutex m_faultMutex;
    CDAQRunFault m_fault;
};
