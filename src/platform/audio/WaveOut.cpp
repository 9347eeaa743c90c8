#include "platform/audio/WaveOut.h"

#include "platform/audio/WaveSink.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {
std::atomic<WaveOutMode> g_mode{WaveOutMode::Auto};
std::mutex g_playedMutex;
std::vector<CWaveOut::PlayedBuffer> g_played;

// Bytes handed to the device at a time: small, so pause and reset take effect quickly.
constexpr uint32_t kChunkFrames = 512;

bool UsesCards()
{
    return g_mode.load() == WaveOutMode::Auto && IWaveSink::CardCount() > 0;
}
} // namespace

CWaveOut::CWaveOut() = default;

CWaveOut::~CWaveOut()
{
    Close();
}

int CWaveOut::GetDeviceCount()
{
    switch (g_mode.load()) {
    case WaveOutMode::None:
        return 0;
    case WaveOutMode::Null:
        return 1;
    case WaveOutMode::Auto:
        break;
    }
    const int cards = IWaveSink::CardCount();
    return cards > 0 ? cards : 1;
}

bool CWaveOut::GetDeviceCaps(int device, WaveOutCaps& caps)
{
    if (device < 0 || device >= GetDeviceCount())
        return false;
    caps = WaveOutCaps{};
    caps.channels = 2;
    caps.formats = 0xFFF;
    if (UsesCards())
        return IWaveSink::CardName(device, caps.name, sizeof caps.name);
    std::strcpy(caps.name, "Null output");
    return true;
}

void CWaveOut::SetMode(WaveOutMode mode)
{
    g_mode = mode;
}

WaveOutMode CWaveOut::GetMode()
{
    return g_mode.load();
}

std::vector<CWaveOut::PlayedBuffer> CWaveOut::NullPlayed()
{
    std::lock_guard<std::mutex> lock(g_playedMutex);
    return g_played;
}

void CWaveOut::ClearNullPlayed()
{
    std::lock_guard<std::mutex> lock(g_playedMutex);
    g_played.clear();
}

bool CWaveOut::Open(int device, const WaveFormat& format, std::function<void()> notify)
{
    if (m_sink || device < 0 || device >= GetDeviceCount() || format.formatTag != 1 || format.channels == 0 ||
        format.samplesPerSec == 0 || (format.bitsPerSample != 8 && format.bitsPerSample != 16) ||
        format.blockAlign != format.channels * format.bitsPerSample / 8)
        return false;
    m_sink = UsesCards() ? IWaveSink::OpenCard(device, format) : IWaveSink::OpenNull(format);
    if (!m_sink)
        return false;
    m_format = format;
    m_notify = std::move(notify);
    m_queue.clear();
    m_offset = 0;
    m_played = 0;
    m_paused = false;
    m_closing = false;
    m_thread = std::thread(&CWaveOut::Player, this);
    Notify();
    return true;
}

bool CWaveOut::PrepareHeader(WaveHeader& header)
{
    if (!m_sink || !header.data)
        return false;
    header.flags |= WHDR_PREPARED;
    return true;
}

bool CWaveOut::UnprepareHeader(WaveHeader& header)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_sink || (header.flags & WHDR_INQUEUE))
        return false;
    header.flags &= ~WHDR_PREPARED;
    return true;
}

bool CWaveOut::Write(WaveHeader& header)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_sink || !(header.flags & WHDR_PREPARED) || (header.flags & WHDR_INQUEUE))
        return false;
    header.flags = (header.flags & ~WHDR_DONE) | WHDR_INQUEUE;
    m_queue.push_back(&header);
    m_cv.notify_all();
    return true;
}

bool CWaveOut::Pause()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_sink)
        return false;
    m_paused = true;
    m_cv.notify_all();
    return true;
}

bool CWaveOut::Restart()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_sink)
        return false;
    m_paused = false;
    m_cv.notify_all();
    return true;
}

bool CWaveOut::Reset()
{
    std::vector<WaveHeader*> returned;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_sink)
            return false;
        returned.swap(m_queue);
        for (WaveHeader* h : returned)
            h->flags = (h->flags & ~WHDR_INQUEUE) | WHDR_DONE;
        m_offset = 0;
        m_played = 0;
        ++m_generation;
        m_cv.notify_all();
    }
    for (size_t i = 0; i < returned.size(); ++i)
        Notify();
    return true;
}

bool CWaveOut::Close()
{
    if (!m_sink)
        return false;
    Reset();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closing = true;
        m_cv.notify_all();
    }
    if (m_thread.joinable())
        m_thread.join();
    m_sink.reset();
    Notify();
    m_notify = nullptr;
    return true;
}

bool CWaveOut::GetPosition(uint64_t& samples) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_sink)
        return false;
    samples = m_played;
    return true;
}

void CWaveOut::Notify()
{
    if (m_notify)
        m_notify();
}

void CWaveOut::Player()
{
    const uint32_t frameBytes = m_format.blockAlign;
    std::unique_lock<std::mutex> lock(m_mutex);
    bool wasPlaying = false;
    for (;;) {
        m_cv.wait(lock, [&] { return m_closing || (!m_paused && !m_queue.empty()); });
        if (m_closing)
            break;
        WaveHeader* header = m_queue.front();
        const uint32_t chunk = std::min(header->length - m_offset, kChunkFrames * frameBytes);
        const uint8_t* data = header->data + m_offset;
        const uint64_t generation = m_generation;
        lock.unlock();
        m_sink->Play(data, chunk);
        wasPlaying = true;
        lock.lock();
        if (generation != m_generation || m_queue.empty() || m_queue.front() != header)
            continue; // reset meanwhile: the chunk does not count
        m_offset += chunk;
        m_played += chunk / frameBytes;
        if (m_offset >= header->length) {
            m_queue.erase(m_queue.begin());
            m_offset = 0;
            if (m_sink->IsNull()) {
                std::lock_guard<std::mutex> played(g_playedMutex);
                g_played.push_back({header->data, std::vector<uint8_t>(header->data, header->data + header->length)});
            }
            header->flags = (header->flags & ~WHDR_INQUEUE) | WHDR_DONE;
            lock.unlock();
            Notify();
            lock.lock();
        }
        if (m_paused && wasPlaying) {
            m_sink->Drop();
            wasPlaying = false;
        }
    }
    m_sink->Drop();
}
