#pragma once
// Wave output: PCM buffers queued to a sound output device and handed back, one by one, when the
// device has played them. The device tells its owner through a notification function, called once
// when the device has opened, once per buffer it hands back and once when it closes (a worker
// typically sets an event from it).
//
// The devices are the machine's sound cards (ALSA). Where ALSA has no playback device, a null
// device stands in: it takes buffers at the real rate of their format, plays them nowhere and
// records them (NullPlayed) for tests. Tests may also choose the null device on any machine, or no
// device at all (SetMode).
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct WaveFormat
{
    uint16_t formatTag = 1; // PCM
    uint16_t channels = 1;
    uint32_t samplesPerSec = 44100;
    uint32_t avgBytesPerSec = 88200;
    uint16_t blockAlign = 2;
    uint16_t bitsPerSample = 16;
    uint16_t extraSize = 0;
};

struct WaveOutCaps
{
    uint16_t manufacturer = 0;
    uint16_t product = 0;
    uint32_t driverVersion = 0;
    char name[32] = {};
    uint32_t formats = 0;
    uint16_t channels = 0;
    uint16_t reserved = 0;
    uint32_t support = 0;
};

// Header flags.
inline constexpr uint32_t WHDR_DONE = 0x01;
inline constexpr uint32_t WHDR_PREPARED = 0x02;
inline constexpr uint32_t WHDR_INQUEUE = 0x10;

struct WaveHeader
{
    uint8_t* data = nullptr;
    uint32_t length = 0; // bytes
    uint32_t flags = 0;
    uint32_t loops = 0;
};

enum class WaveOutMode
{
    Auto, // the sound cards, or the null device when there is none
    Null, // the null device only
    None, // no device
};

class IWaveSink;

class CWaveOut
{
public:
    CWaveOut();
    ~CWaveOut(); // closes
    CWaveOut(const CWaveOut&) = delete;
    CWaveOut& operator=(const CWaveOut&) = delete;

    static int GetDeviceCount();
    static bool GetDeviceCaps(int device, WaveOutCaps& caps);
    static void SetMode(WaveOutMode mode);
    static WaveOutMode GetMode();

    // One buffer the null device took: where it came from and a copy of its bytes.
    struct PlayedBuffer
    {
        const uint8_t* source = nullptr;
        std::vector<uint8_t> bytes;
    };
    static std::vector<PlayedBuffer> NullPlayed();
    static void ClearNullPlayed();

    bool Open(int device, const WaveFormat& format, std::function<void()> notify);
    bool IsOpen() const { return m_sink != nullptr; }
    bool PrepareHeader(WaveHeader& header);
    bool UnprepareHeader(WaveHeader& header); // fails while the buffer is queued
    bool Write(WaveHeader& header);           // the header must be prepared
    bool Pause();
    bool Restart();
    // Hands every queued buffer back (marked done) and sets the position to 0.
    bool Reset();
    bool Close();
    // Samples played since opening (or the last reset).
    bool GetPosition(uint64_t& samples) const;

private:
    void Player();
    void Notify();

    std::unique_ptr<IWaveSink> m_sink;
    WaveFormat m_format;
    std::function<void()> m_notify;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<WaveHeader*> m_queue;
    uint32_t m_offset = 0; // bytes of the first queued buffer already played
    uint64_t m_played = 0; // samples
    bool m_paused = false;
    bool m_closing = false;
    uint64_t m_generation = 0; // bumped by Reset, so a chunk in flight is not counted twice
};
