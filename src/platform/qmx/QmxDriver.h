#pragma once
// The acquisition hardware's in-process driver as the program sees it: one driver object with four
// interfaces (system, channel, control and sync), one method per entry of the driver's method
// tables, each returning a result code where a negative value is a failure. Board and channel are
// the two halves of a driver address; a device is an address 128 to 255 on a board.
//
// CQmxDriver::Create makes the driver object through the installed factory: the simulated system
// (QmxSimSystem.h) unless a test installs another. The other interfaces are asked of the system
// interface and may be refused (null), as a driver may refuse them.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

using QMXRESULT = int32_t;
inline constexpr QMXRESULT QMX_S_OK = 0;
inline constexpr QMXRESULT QMX_E_FAIL = static_cast<QMXRESULT>(0x80004005u);
inline constexpr bool QmxFailed(QMXRESULT r)
{
    return r < 0;
}
inline constexpr bool QmxSucceeded(QMXRESULT r)
{
    return r >= 0;
}

// Type codes as the driver reports them (four characters in memory, little-endian).
inline constexpr int32_t kQmxAcqBoardType = 0x52203031;     // "10 R"
inline constexpr int32_t kQmxControlBoardType = 0x4D453031; // "10EM"
inline constexpr int32_t kQmxBlixDeviceType = 0x56543039;   // "90TV"

inline constexpr int kQmxBoardPageSize = 1030;
inline constexpr int kQmxDeviceBlockSize = 256;

class IQmxChannel;
class IQmxControl;
class IQmxSync;

// The system interface.
class IQmxSystem
{
public:
    virtual ~IQmxSystem() = default;

    // The driver object's other interfaces; null when refused.
    virtual std::shared_ptr<IQmxControl> QueryControl() = 0;
    virtual std::shared_ptr<IQmxChannel> QueryChannel() = 0;
    virtual std::shared_ptr<IQmxSync> QuerySync() = 0;

    virtual QMXRESULT Open(int mode, int flags) = 0;                       // 7: connects to the address of 84
    virtual QMXRESULT StartAcquisition() = 0;                              // 8
    virtual QMXRESULT StopAcquisition() = 0;                               // 9
    virtual QMXRESULT ClearAcquisition() = 0;                              // 10
    virtual QMXRESULT SoftwareTrigger() = 0;                               // 11
    virtual QMXRESULT Reinitialize() = 0;                                  // 12
    virtual QMXRESULT Close() = 0;                                         // 16
    virtual QMXRESULT GetConnectionState(int* state) = 0;                  // 17: 1 = connected
    virtual QMXRESULT GetLastError(int* code) = 0;                         // 19
    virtual QMXRESULT ActivateChannel(int board, int channel, int on) = 0; // 25
    // 26: fills count samples (volts) of the channel's acquisition from the first on.
    virtual QMXRESULT ReadSamples(int board, int channel, float* data, int count) = 0;
    // 28: samples acquired and requested so far; the two further outputs are 0.
    virtual QMXRESULT GetProgress(int board, int channel, int* acquired, int* requested, int* extra1, int* extra2) = 0;
    virtual QMXRESULT GetDeviceType(int board, int device, int* type) = 0; // 29
    virtual QMXRESULT GetBoardType(int board, int* type) = 0;              // 30
    virtual QMXRESULT GetBoardCount(int* count) = 0;                       // 32
    // 33: the board's information page; size must be kQmxBoardPageSize.
    virtual QMXRESULT GetBoardInfoPage(int board, uint8_t* page, int size) = 0;
    virtual QMXRESULT SelectTriggerChannel(int board, int channel) = 0;         // 35
    virtual QMXRESULT GetDeviceStatus(int board, int device, int* status) = 0;  // 36
    virtual QMXRESULT HasChannel(int board, int channel, int* present) = 0;     // 37
    virtual QMXRESULT IsChannelActive(int board, int channel, int* active) = 0; // 38
    virtual QMXRESULT GetAddressInUse(std::string& address) = 0;                // 83
    virtual QMXRESULT SetAddress(const std::string& address) = 0;               // 84
};

// The channel interface.
class IQmxChannel
{
public:
    virtual ~IQmxChannel() = default;
    virtual QMXRESULT SetTriggerMode(int board, int channel, int mode) = 0;     // 7: 0 none, 1 source, 2 level
    virtual QMXRESULT SetSampleCount(int board, int channel, int count) = 0;    // 11
    virtual QMXRESULT SetChannelMode(int board, int channel, int mode) = 0;     // 13
    virtual QMXRESULT SetRateCode(int board, int channel, int code) = 0;        // 17
    virtual QMXRESULT GetRateCode(int board, int channel, int* code) = 0;       // 18
    virtual QMXRESULT SetTriggerLevel(int board, int channel, float volts) = 0; // 19
    virtual QMXRESULT SetRangeCode(int board, int channel, int code) = 0;       // 21
    virtual QMXRESULT GetRangeCode(int board, int channel, int* code) = 0;      // 22
    // 23: the device's information block; size must be kQmxDeviceBlockSize.
    virtual QMXRESULT GetDeviceInfoBlock(int board, int device, uint8_t* block, int size) = 0;
};

// The control interface (addressed by the control board's index).
class IQmxControl
{
public:
    virtual ~IQmxControl() = default;
    virtual QMXRESULT SetTriggerSource(uint8_t board, int unit, int source) = 0; // 7
    virtual QMXRESULT SetLevel(uint8_t board, int unit, float level) = 0;        // 9
};

// The sync interface (addressed by the control board's index).
class IQmxSync
{
public:
    virtual ~IQmxSync() = default;
    virtual QMXRESULT SetRole(uint8_t board, int unit, int role) = 0; // 7: 0 first, 1 middle, 2 last
    virtual QMXRESULT Apply() = 0;                                    // 9
};

// Creates driver objects.
class CQmxDriver
{
public:
    using Factory = std::function<std::shared_ptr<IQmxSystem>()>;

    // A new driver object's system interface; null when it cannot be created.
    static std::shared_ptr<IQmxSystem> Create();
    // Installs a factory; an empty one restores the simulated systems of the settings.
    static void SetFactory(Factory factory);
};

// Installs a factory for the lifetime of a scope (tests).
class CQmxDriverFactoryScope
{
public:
    explicit CQmxDriverFactoryScope(CQmxDriver::Factory factory) { CQmxDriver::SetFactory(std::move(factory)); }
    ~CQmxDriverFactoryScope() { CQmxDriver::SetFactory({}); }
    CQmxDriverFactoryScope(const CQmxDriverFactoryScope&) = delete;
    CQmxDriverFactoryScope& operator=(const CQmxDriverFactoryScope&) = delete;
};
