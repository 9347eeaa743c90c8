#pragma once
// One acquisition system driven through its driver: the connection at the address kept in the
// profile ("QMX", "IP"), the channels the acquisition boards report with their driver addresses,
// per-channel input ranges, sample rate and count, triggers, the system's role in a chain of
// synchronised systems, and the system's hardware inventory. The several-systems interface owns
// one of these per system.
//
// A driver address is ((0x8000 | board) << 16) | address on the board (128-255); 0 means no
// hardware. Channel numbers are dense, in board order and then address order.
//
// Every connection, re-initialisation and range change restarts the settling time: the system
// measures correctly only 30000 ms after the last of them (IsSettled, on the millisecond timer).
//
// A run: Start prepares the hardware and buffers (PrepareRun) and starts a worker thread, which
// waits until the system has settled, starts the acquisition, polls its progress every 10 ms,
// copies every enabled channel's samples into buffers of its own (TransferData) and ends with
// Stop. The registered window hears the start, the completion (data ready for ReadData) and every
// stop. The several-systems interface runs the same steps for all its systems on one worker of
// its own. The worker shares only atomic flags with the user-interface thread; its waits end at
// once when a stop is requested. A system that stops answering (its progress cannot be read, or
// it makes no progress long past the run's expected end) ends the run as stopped, with a fault
// record (GetRunFault) and its channels refused by ReadData.
#include "acquisition/BaseDAQInterface.h"
#include "acquisition/QmxBlixChMgr.h"
#include "platform/base/BlockPrefault.h"
#include "platform/base/ZeroedBlock.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

class IQmxSystem;
class IQmxChannel;
class IQmxControl;
class IQmxSync;
class CRunWake;
class CMultiQMXInterface;

class CQMXDAQInterface : public CBaseDAQInterface
{
    friend class CMultiQMXInterface;

public:
    CQMXDAQInterface();
    ~CQMXDAQInterface() override;

    static constexpr uint32_t kSettleMs = 30000;
    static constexpr const char* kDefaultAddress = "0.0.0.0";

    // --- overrides --------------------------------------------------------------------------------
    bool Initialize() override;
    int GetHardwareParam() override;
    bool SetChannelInputRange(int channel, double value) override;
    bool SetAllInputRanges(double value) override;
    double GetChannelInputRange(int channel) override;
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
    int GetSampleCount() override;
    bool SetTriggerLevel(float level) override;
    bool SetReferenceChannel(int channel) override;
    bool SetInputRange(float value, int mode) override;
    bool Start() override;
    bool Stop() override;
    bool SetTriggered() override;
    // Scaled samples (sample x 1000 / Sensitivity) of [start, start + count) of the last run.
    bool ReadData(int channel, float* dest, int count, int start) override;
    CDAQRunFault GetRunFault() override;
    // While a run acquires: scaled samples [start, start + count) of what the system has acquired
    // so far, read from the driver; the number copied (0 when none is there yet or on failure).
    // User-interface thread only.
    int ReadLiveData(int channel, float* dest, int count, int start);

    // --- the run ----------------------------------------------------------------------------------
    // Stops a previous run, resets the hardware's run set-up and allocates zeroed buffers.
    void PrepareRun();
    // Polls until the data are complete (true), or a stop was requested, no channel is enabled or
    // the system stopped answering (false).
    bool WaitForData();
    // True when the channel's acquisition is complete; failed (when given) tells a progress query
    // that failed.
    bool IsDataComplete(int channel, bool* failed = nullptr);
    // Copies the samples of every enabled channel, at most limit per channel when limit >= 0.
    bool TransferData(int limit = -1);
    void SetPartialCount() { m_partialCount = 1; }
    // Samples per channel available for ReadData.
    int GetAcquiredCount() const { return m_acquired; }
    // While a run acquires: the samples the driver holds of the run's first channel.
    int GetLiveCount();
    int IsBusy() const { return m_busy; }
    // The hold-off flag that the several-systems layer keeps per system.
    void SetHoldOff(int v) { m_monitor = v; }
    int GetHoldOff() const { return m_monitor; }
    // The driver's start and stop (no messages).
    bool StartDriver();
    bool StopDriver();

    // How long a system may make no progress past the run's expected end before it counts as
    // lost (5000 ms; tests shorten it).
    static void SetStallLimit(std::chrono::milliseconds limit);

    // --- connection -------------------------------------------------------------------------------
    bool Disconnect();
    // Requests a stop and blocks until the run's worker is no longer busy.
    void WaitForWorker();
    int IsConnected();
    int SetEnabled(int inUse);
    int IsEnabled() const { return m_inUse; }
    bool IsReady();
    bool IsSettled() const;
    uint32_t GetSettledTime() const;
    void MarkConfigured();
    bool CheckAllChannels();
    bool IsChannelAvailable(int channel, bool showMessage);
    bool SetSampleCount(int count);
    bool SetSyncRole(int role);
    bool ApplySync();
    int GetSyncRole() const { return m_syncRole; }
    int GetControlBoard() const { return m_controlBoard; }
    const std::string& GetAddress() const { return m_address; }

    // 0 for a channel without hardware; never adds a map entry.
    uint32_t GetDriverAddress(int channel) const;
    static int BoardOf(uint32_t address) { return static_cast<int>((address >> 16) & 0x7FFF); }
    static int ChannelOf(uint32_t address) { return static_cast<int>(address & 0xFFFF); }
    static uint32_t MakeAddress(int board, int channel)
    {
        return ((0x8000u | static_cast<uint32_t>(board)) << 16) | static_cast<uint32_t>(channel);
    }

    IQmxSystem* GetSystemInterface() const { return m_system.get(); }
    IQmxChannel* GetChannelInterface() const { return m_channel.get(); }
    IQmxControl* GetControlInterface() const { return m_control.get(); }
    CQmxBlixChMgr& GetInventory() { return m_inventory; }
    const CQmxBlixChMgr& GetInventory() const { return m_inventory; }

    // Steps of the connection, public for the several-systems layer and the tests.
    void CreateDriver();
    bool Connect();
    bool SetupAfterConnect();
    int FindBoard(int32_t type);
    bool BuildChannelMap();
    void ResetChannelTable();
    bool BuildInventory();

protected:
    enum class RunPoll
    {
        Pending,
        Complete,
        Lost
    };
    void AcquisitionWorker();
    void RequestStop();
    bool StopRequested() const { return m_stopRequest != 0; }
    // The run's samples of a channel, nullptr where there are none.
    float* ChannelBuffer(int channel) const;
    // Waits until settled; false when a stop came first.
    bool WaitSettled(CRunWake& wake, const std::function<bool()>& stopped);
    void BeginRunClock();
    // One progress poll of the run's first enabled channel. peersDone: another system of the run
    // has completed (a system that then makes no progress is lost even before its first sample).
    RunPoll PollRun(bool peersDone);
    void ClearChannelTriggers();
    void ConfigureRun();
    // Marks every channel of the run as without data.
    void MarkRunChannelsMissing();
    void SetLostFault(int unit, int kept);
    void EndRun();
    // Starts the helpers that fault the run channels' pages of a freshly mapped block in.
    void StartPrefault();

    std::thread m_thread;
    std::shared_ptr<CRunWake> m_wake;
    std::vector<int> m_runChannels; // enabled channels at PrepareRun
    std::vector<char> m_missing;    // per buffer channel: no data could be read
    int m_expectedMs = 0;
    int m_progressValue = -1;
    std::chrono::steady_clock::time_point m_progressAt;
    std::chrono::steady_clock::time_point m_runStartAt;
    mutable std::mutex m_faultMutex;
    CDAQRunFault m_fault;

    std::shared_ptr<IQmxSystem> m_system;
    std::shared_ptr<IQmxControl> m_control;
    std::shared_ptr<IQmxSync> m_sync;
    std::shared_ptr<IQmxChannel> m_channel;
    CQmxBlixChMgr m_inventory;
    std::string m_address;
    // Shared with the run's worker thread.
    std::atomic<int> m_busy{0};
    std::atomic<int> m_stopRequest{0};
    std::atomic<int> m_partialCount{0};
    int m_inUse = 1;
    // The run's samples, channel after channel, m_bufferLength each.
    CZeroedBlock m_buffers;
    // Faults a freshly mapped m_buffers in ahead of the transfer; ends with the run (declared
    // after the block: it stops before the block goes).
    CBlockPrefault m_prefault;
    std::vector<float> m_liveBuffer; // ReadLiveData's driver copy
    int m_sampleCount = 0;
    std::atomic<int> m_acquired{0};
    std::unordered_map<int, uint32_t> m_channelMap;
    std::atomic<uint32_t> m_configuredAt{0};
    int m_reserved = 0;
    int m_controlBoard = -1;
    int m_bufferChannels = 0;
    int m_bufferLength = 0;
    std::atomic<int> m_monitor{0};
    int m_syncRole = -1;
};
