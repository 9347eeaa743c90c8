#pragma once
// Noise played through the first sound output device, for example as an acoustic excitation during
// a measurement. The generator owns the device, two alternating sample buffers and a worker thread
// that refills and re-queues each buffer when the device hands it back; the subclasses fill the
// buffers with white or pink noise.
#include "platform/audio/WaveOut.h"
#include "platform/base/Feedback.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class CNoiseGenerator
{
public:
    CNoiseGenerator(uint16_t channels, uint16_t bitsPerSample, uint32_t samplesPerSec);
    // Subclasses close in their own destructors, so the worker never fills through a half-destroyed
    // object.
    virtual ~CNoiseGenerator();
    CNoiseGenerator(const CNoiseGenerator&) = delete;
    CNoiseGenerator& operator=(const CNoiseGenerator&) = delete;

    virtual void Fill(int buffer) = 0;
    virtual void ClearBuffers();

    bool Open();
    bool Start();
    bool Pause();
    // Stops the worker (joined) and closes the device; the buffers stay until destruction.
    void Close();
    // Milliseconds played; -1 with no device or when the position cannot be read.
    int GetPlayedMs() const;

    bool IsOpen() const { return m_opened != 0; }
    bool IsRunning() const { return m_running != 0; }
    // Stops playing after that many milliseconds (0: never).
    void SetPauseAfterMs(int ms) { m_pauseAfterMs = ms; }
    // Where a device that cannot play is reported, also from the worker (not owned); silent until
    // set (null sets it silent again).
    void SetFeedback(CFeedback* feedback) { m_feedback = feedback ? feedback : SilentFeedback(); }
    int GetAmplitude() const { return m_amplitude; }
    int GetCurrentBuffer() const { return m_current; }
    const uint8_t* GetBuffer(int i) const { return m_buffers[static_cast<size_t>(i & 1)].data(); }

    static constexpr int kBufferBytes = 16384;
    static constexpr int kPlayedBytes = 8192;
    static constexpr int kSamplesPerBuffer = 4096;

protected:
    int16_t* Samples(int buffer)
    {
        return reinterpret_cast<int16_t*>(m_buffers[static_cast<size_t>(buffer & 1)].data());
    }
    // A uniform 15-bit pseudo-random integer (0 to 32767).
    int Random();

private:
    bool Queue(int buffer);
    void Worker();
    void SignalEvent();
    bool WaitEvent(); // false when the wait cannot go on

    std::array<std::array<uint8_t, kBufferBytes>, 2> m_buffers{};
    WaveOutCaps m_caps;
    CWaveOut m_device;
    std::array<WaveHeader, 2> m_headers{};
    WaveFormat m_format;
    // The device's event: auto-reset, set once per opened device and per finished buffer.
    std::mutex m_eventMutex;
    std::condition_variable m_eventCv;
    bool m_event = false;
    std::thread m_worker;
    std::atomic<int> m_running{0};
    int m_opened = 0;
    int m_amplitude = 10000;
    int m_pauseAfterMs = 0;
    uint32_t m_samplesPerSec;
    uint16_t m_channels;
    uint16_t m_bitsPerSample;
    std::atomic<int> m_current{0};
    uint32_t m_random = 1;
    std::atomic<CFeedback*> m_feedback{SilentFeedback()};
};
