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
#include "acquisition/BaseDAQInterface.h"
#include "acquisition/QmxBlixChMgr.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class IQmxSystem;
class IQmxChannel;
class IQmxControl;
class IQmxSync;

class CQMXDAQInterface : public CBaseDAQInterface
{
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
    std::vector<std::vector<float>> m_buffers;
    int m_sampleCount = 0;
    int m_acquired = 0;
    std::unordered_map<int, uint32_t> m_channelMap;
    uint32_t m_configuredAt = 0;
    int m_reserved = 0;
    int m_controlBoard = -1;
    int m_bufferChannels = 0;
    int m_bufferLength = 0;
    int m_monitor = 0;
    int m_syncRole = -1;
};
