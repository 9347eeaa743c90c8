#pragma once
// A simulated acquisition system that behaves like the hardware behind the driver's four
// interfaces: boards with their 1030-byte information pages, Blix channels with their 256-byte
// information blocks and status words, range, rate, count and trigger codes, and float samples in
// volts (see QmxSimLayout.h for what they measure).
//
// Acquisition advances on a clock in microseconds: real time unless set otherwise; a test drives
// a clock of its own, and an empty clock completes every started acquisition at once (as fast as
// the samples can be generated). Samples are generated on first read and kept for the run.
//
// Tests inject faults: no answer at connection, a call failing its next n times, an overload
// (gain) on a channel, a unit lost at a given sample, changed status words, and a replaced board
// or unit. Every call is counted. All calls are serialised, so a worker thread may poll while the
// user-interface thread configures.
#include "platform/qmx/QmxDriver.h"
#include "platform/qmx/QmxSimLayout.h"
#include "platform/qmx/QmxSimSignal.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// Every driver entry (and the requests for the other interfaces), for counting and failing.
enum class QmxCall
{
    QueryControl,
    QueryChannel,
    QuerySync,
    Open,
    StartAcquisition,
    StopAcquisition,
    ClearAcquisition,
    SoftwareTrigger,
    Reinitialize,
    Close,
    GetConnectionState,
    GetLastError,
    ActivateChannel,
    ReadSamples,
    GetProgress,
    GetDeviceType,
    GetBoardType,
    GetBoardCount,
    GetBoardInfoPage,
    SelectTriggerChannel,
    GetDeviceStatus,
    HasChannel,
    IsChannelActive,
    GetAddressInUse,
    SetAddress,
    SetTriggerMode,
    SetSampleCount,
    SetChannelMode,
    SetRateCode,
    GetRateCode,
    SetChannelTriggerLevel,
    SetRangeCode,
    GetRangeCode,
    GetDeviceInfoBlock,
    SetTriggerSource,
    SetControlLevel,
    SetSyncRole,
    ApplySync,
    Count
};

class CQmxSimSystem : public IQmxSystem,
                      public IQmxChannel,
                      public IQmxControl,
                      public IQmxSync,
                      public std::enable_shared_from_this<CQmxSimSystem>
{
public:
    // The layout is read from the settings for the address given at connection.
    static std::shared_ptr<CQmxSimSystem> Create();
    // A fixed layout; the address does not matter.
    static std::shared_ptr<CQmxSimSystem> Create(const CQmxSimLayout& layout);

    // --- test and simulation controls -----------------------------------------------------------
    // Microseconds; empty: every started acquisition is complete at once.
    void SetClock(std::function<int64_t()> nowUs);
    static int64_t RealTimeUs();

    void SetNoAnswer(bool noAnswer);        // connections fail
    void FailCall(QmxCall call, int times); // the next 'times' calls fail
    int CallCount(QmxCall call) const;
    int TotalCalls() const;
    void ResetCallCounts();
    void SetGain(int channel, float gain); // > 1 overloads the channel
    void LoseUnitAt(int unit, int sample); // its channels stop answering at that sample
    bool SetDeviceStatus(int board, int device, int32_t word);
    bool ReplaceBoard(int board, const std::string& serial); // a new board in the same slot
    bool ReplaceUnit(int unit, const std::string& serial);   // a new unit at the same addresses

    bool IsConnected() const;
    const CQmxSimLayout& Layout() const { return m_layout; }
    int BoardCount() const;
    // Driver address halves of a global channel (board and device), false when there is none.
    bool ChannelAddress(int channel, int& board, int& device) const;
    std::string BoardSerial(int board) const;
    std::string UnitSerial(int unit) const;
    int RangeCode(int channel) const;
    int RateCode(int channel) const;
    int SampleCount(int channel) const;
    int TriggerMode(int channel) const;
    float TriggerLevel(int channel) const;
    int SyncRole() const;

    // --- IQmxSystem -----------------------------------------------------------------------------
    std::shared_ptr<IQmxControl> QueryControl() override;
    std::shared_ptr<IQmxChannel> QueryChannel() override;
    std::shared_ptr<IQmxSync> QuerySync() override;
    QMXRESULT Open(int mode, int flags) override;
    QMXRESULT StartAcquisition() override;
    QMXRESULT StopAcquisition() override;
    QMXRESULT ClearAcquisition() override;
    QMXRESULT SoftwareTrigger() override;
    QMXRESULT Reinitialize() override;
    QMXRESULT Close() override;
    QMXRESULT GetConnectionState(int* state) override;
    QMXRESULT GetLastError(int* code) override;
    QMXRESULT ActivateChannel(int board, int channel, int on) override;
    QMXRESULT ReadSamples(int board, int channel, float* data, int count) override;
    QMXRESULT GetProgress(int board, int channel, int* acquired, int* requested, int* extra1, int* extra2) override;
    QMXRESULT GetDeviceType(int board, int device, int* type) override;
    QMXRESULT GetBoardType(int board, int* type) override;
    QMXRESULT GetBoardCount(int* count) override;
    QMXRESULT GetBoardInfoPage(int board, uint8_t* page, int size) override;
    QMXRESULT SelectTriggerChannel(int board, int channel) override;
    QMXRESULT GetDeviceStatus(int board, int device, int* status) override;
    QMXRESULT HasChannel(int board, int channel, int* present) override;
    QMXRESULT IsChannelActive(int board, int channel, int* active) override;
    QMXRESULT GetAddressInUse(std::string& address) override;
    QMXRESULT SetAddress(const std::string& address) override;

    // --- IQmxChannel ----------------------------------------------------------------------------
    QMXRESULT SetTriggerMode(int board, int channel, int mode) override;
    QMXRESULT SetSampleCount(int board, int channel, int count) override;
    QMXRESULT SetChannelMode(int board, int channel, int mode) override;
    QMXRESULT SetRateCode(int board, int channel, int code) override;
    QMXRESULT GetRateCode(int board, int channel, int* code) override;
    QMXRESULT SetTriggerLevel(int board, int channel, float volts) override;
    QMXRESULT SetRangeCode(int board, int channel, int code) override;
    QMXRESULT GetRangeCode(int board, int channel, int* code) override;
    QMXRESULT GetDeviceInfoBlock(int board, int device, uint8_t* block, int size) override;

    // --- IQmxControl / IQmxSync -----------------------------------------------------------------
    QMXRESULT SetTriggerSource(uint8_t board, int unit, int source) override;
    QMXRESULT SetLevel(uint8_t board, int unit, float level) override;
    QMXRESULT SetRole(uint8_t board, int unit, int role) override;
    QMXRESULT Apply() override;

    static double RateOfCode(int code); // 0..3: 102400, 51200, 25600, 12800 Hz; else 0
    static float RangeOfCode(int code); // 0..2: 0.1, 1.0, 10.0; else 0
    // The volts a channel passes before it clips at a range code: 10, 1 and 0.1; else 0.
    static float FullScaleOfCode(int code);

private:
    struct Board
    {
        int32_t type = 0;
        std::array<uint8_t, kQmxBoardPageSize> page{};
        std::array<int, 256> device{}; // index into m_channels + 1 (0: nothing there)
    };
    struct Channel
    {
        int board = 0;
        int device = 0;
        int unit = 0;
        int unitChannel = 1; // 1-based
        int global = 0;
        int32_t status = 0;
        int active = 0;
        int rangeCode = 0; // the widest range until one is set
        int rateCode = 1;
        int count = 16384;
        int triggerMode = 0;
        float triggerLevel = 0.0f;
        int mode = 0;
        float gain = 1.0f;
        std::vector<float> data; // generated samples of the run kept for reads while it goes on
        std::optional<CQmxSimSignal> signal;
    };
    struct Unit
    {
        std::string serial;
        int lostAt = -1;
    };

    CQmxSimSystem() = default;
    void Build();
    bool Enter(QmxCall call);          // counts; false when a failure is injected
    bool EnterConnected(QmxCall call); // the same, and false when not connected
    Channel* Find(int board, int device);
    const Channel* Find(int board, int device) const;
    int Acquired(const Channel& ch) const;         // samples available now
    bool Lost(const Channel& ch) const;            // its unit stopped answering
    void Produce(Channel& ch, float* data, int n); // the first n samples of ch into data
    static void PutText(uint8_t* at, const std::string& text, size_t max);

    mutable std::mutex m_mutex;
    bool m_fromSettings = false;
    CQmxSimLayout m_layout;
    std::vector<Board> m_boards;
    std::vector<Channel> m_channels;
    std::vector<Unit> m_units;
    std::array<int, static_cast<size_t>(QmxCall::Count)> m_calls{};
    std::array<int, static_cast<size_t>(QmxCall::Count)> m_failures{};
    std::function<int64_t()> m_clock = &CQmxSimSystem::RealTimeUs;
    bool m_noAnswer = false;
    bool m_connected = false;
    std::string m_address;
    std::string m_addressInUse;
    bool m_running = false;
    bool m_started = false; // a run was started since the last clear
    int64_t m_startUs = 0;
    int64_t m_stopUs = 0;
    int m_syncRole = -1;
    int m_lastError = 0;
};
