#include "acquisition/NoiseGenerator.h"

CNoiseGenerator::CNoiseGenerator(uint16_t channels, uint16_t bitsPerSample, uint32_t samplesPerSec)
    : m_samplesPerSec(samplesPerSec), m_channels(channels), m_bitsPerSample(bitsPerSample)
{
    CNoiseGenerator::ClearBuffers();
}

CNoiseGenerator::~CNoiseGenerator()
{
    Close();
}

void CNoiseGenerator::ClearBuffers()
{
    for (auto& b : m_buffers)
        b.fill(0);
}

int CNoiseGenerator::Random()
{
    m_random = m_random * 214013u + 2531011u;
    return static_cast<int>((m_random >> 16) & 0x7FFF);
}

void CNoiseGenerator::SignalEvent()
{
    {
        std::lock_guard<std::mutex> lock(m_eventMutex);
        m_event = true;
    }
    m_eventCv.notify_all();
}

bool CNoiseGenerator::WaitEvent()
{
    std::unique_lock<std::mutex> lock(m_eventMutex);
    m_eventCv.wait(lock, [this] { return m_event; });
    m_event = false;
    return true;
}

bool CNoiseGenerator::Open()
{
    if (m_opened)
        return true;
    if (CWaveOut::GetDeviceCount() < 1) {
        m_feedback.load()->Warning("No Sound Output Device");
        return false;
    }
    if (!CWaveOut::GetDeviceCaps(0, m_caps)) {
        m_feedback.load()->Warning("Noise Generator Cannot determine card capabilities");
        return false;
    }
    m_format.formatTag = 1;
    m_format.channels = m_channels;
    m_format.samplesPerSec = m_samplesPerSec;
    m_format.avgBytesPerSec = static_cast<uint32_t>(m_channels) * m_bitsPerSample * m_samplesPerSec / 8;
    m_format.blockAlign = static_cast<uint16_t>(m_channels * m_bitsPerSample / 8);
    m_format.bitsPerSample = m_bitsPerSample;
    m_format.extraSize = 0;
    {
        std::lock_guard<std::mutex> lock(m_eventMutex);
        m_event = false;
    }
    if (!m_device.Open(0, m_format, [this] { SignalEvent(); })) {
        m_feedback.load()->Warning("Noise Generator Cannot Open Sound Device");
        return false;
    }
    m_opened = 1;
    return true;
}

bool CNoiseGenerator::Queue(int buffer)
{
    WaveHeader& h = m_headers[static_cast<size_t>(buffer)];
    h.data = m_buffers[static_cast<size_t>(buffer)].data();
    h.length = kPlayedBytes;
    h.flags = 0;
    h.loops = 0;
    if (!m_device.PrepareHeader(h) || !(h.flags & WHDR_PREPARED)) {
        m_feedback.load()->Warning("Noise Generator Cannot Prepare Header !");
        return false;
    }
    if (!m_device.Write(h)) {
        m_feedback.load()->Warning("Noise Generator Cannot Add Buffer !");
        return false;
    }
    return true;
}

bool CNoiseGenerator::Start()
{
    if (!m_opened)
        return false;
    if (m_running) {
        m_device.Restart();
        return true;
    }
    if (m_worker.joinable())
        m_worker.join(); // a worker that ended on a failed wait
    m_running = 1;
    m_current = 0;
    if (!Queue(0)) {
        m_running = 0;
        return false;
    }
    m_current = 1;
    if (!Queue(1)) {
        m_running = 0;
        m_device.Reset();
        return false;
    }
    m_worker = std::thread(&CNoiseGenerator::Worker, this);
    return true;
}

bool CNoiseGenerator::Pause()
{
    if (!m_opened)
        return false;
    return m_device.Pause();
}

void CNoiseGenerator::Close()
{
    if (!m_opened)
        return;
    m_device.Pause();
    m_running = 0;
    SignalEvent();
    // The worker must be gone before the device hands the buffers back and before they are freed.
    if (m_worker.joinable())
        m_worker.join();
    m_device.Reset();
    m_device.Close();
    m_opened = 0;
}

int CNoiseGenerator::GetPlayedMs() const
{
    uint64_t samples = 0;
    if (!m_opened || !m_device.GetPosition(samples) || m_samplesPerSec == 0)
        return -1;
    return static_cast<int>(samples * 1000 / m_samplesPerSec);
}

void CNoiseGenerator::Worker()
{
    if (!WaitEvent())
        return;
    while (m_running) {
        if (m_pauseAfterMs > 0 && GetPlayedMs() > m_pauseAfterMs)
            m_device.Pause();
        if (!WaitEvent() || !m_running)
            return;
        // The device hands the buffers back in the order they were queued: the one just played is
        // the other one.
        const int index = m_current ^ 1;
        m_current = index;
        WaveHeader& h = m_headers[static_cast<size_t>(index)];
        if (!m_device.UnprepareHeader(h))
            m_feedback.load()->Warning("Noise Generator Cannot UnPrepareHeader !");
        Queue(index);
        Fill(index);
    }
}
