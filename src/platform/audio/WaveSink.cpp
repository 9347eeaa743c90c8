#include "platform/audio/WaveSink.h"

#include "platform/audio/AlsaLibrary.h"
#include "platform/audio/WaveOut.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {
// Takes the bytes at the format's rate and plays them nowhere.
class CNullWaveSink : public IWaveSink
{
public:
    explicit CNullWaveSink(const WaveFormat& format)
        : m_bytesPerSecond(format.blockAlign ? double(format.blockAlign) * format.samplesPerSec : 1.0)
    {}

    bool Play(const uint8_t*, size_t bytes) override
    {
        using namespace std::chrono;
        const auto now = steady_clock::now();
        if (!m_running || m_due < now)
            m_due = now;
        m_running = true;
        m_due += duration_cast<steady_clock::duration>(duration<double>(double(bytes) / m_bytesPerSecond));
        std::this_thread::sleep_until(m_due);
        return true;
    }

    void Drop() override { m_running = false; }
    bool IsNull() const override { return true; }

private:
    double m_bytesPerSecond;
    std::chrono::steady_clock::time_point m_due;
    bool m_running = false;
};

// A sound card's default playback device.
class CAlsaWaveSink : public IWaveSink
{
public:
    explicit CAlsaWaveSink(const CAlsaLibrary& alsa) : m_alsa(alsa) {}
    ~CAlsaWaveSink() override
    {
        if (m_pcm) {
            m_alsa.snd_pcm_drop(m_pcm);
            m_alsa.snd_pcm_close(m_pcm);
        }
    }

    bool Open(int card, const WaveFormat& format)
    {
        char name[32];
        std::snprintf(name, sizeof name, "plughw:%d,0", card);
        if (m_alsa.snd_pcm_open(&m_pcm, name, SND_PCM_STREAM_PLAYBACK, 0) < 0) {
            m_pcm = nullptr;
            return false;
        }
        const snd_pcm_format_t pcmFormat = format.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
        if (m_alsa.snd_pcm_set_params(m_pcm, pcmFormat, SND_PCM_ACCESS_RW_INTERLEAVED, format.channels,
                                      format.samplesPerSec, 1, 100000) < 0)
            return false;
        m_frameBytes = format.blockAlign;
        return true;
    }

    bool Play(const uint8_t* data, size_t bytes) override
    {
        snd_pcm_uframes_t frames = bytes / m_frameBytes;
        while (frames > 0) {
            snd_pcm_sframes_t n = m_alsa.snd_pcm_writei(m_pcm, data, frames);
            if (n < 0)
                n = m_alsa.snd_pcm_recover(m_pcm, static_cast<int>(n), 1);
            if (n < 0)
                return false;
            data += static_cast<size_t>(n) * m_frameBytes;
            frames -= static_cast<snd_pcm_uframes_t>(n);
        }
        return true;
    }

    void Drop() override
    {
        m_alsa.snd_pcm_drop(m_pcm);
        m_alsa.snd_pcm_prepare(m_pcm);
    }

    bool IsNull() const override { return false; }

private:
    const CAlsaLibrary& m_alsa;
    snd_pcm_t* m_pcm = nullptr;
    size_t m_frameBytes = 2;
};
} // namespace

int IWaveSink::CardCount()
{
    // Without the sound library there is no card to play on.
    const CAlsaLibrary* alsa = CAlsaLibrary::Get();
    if (!alsa)
        return 0;
    int count = 0;
    int card = -1;
    while (alsa->snd_card_next(&card) == 0 && card >= 0)
        ++count;
    return count;
}

bool IWaveSink::CardName(int card, char* name, size_t size)
{
    const CAlsaLibrary* alsa = CAlsaLibrary::Get();
    char* text = nullptr;
    if (!alsa || alsa->snd_card_get_name(card, &text) < 0 || !text)
        return false;
    std::snprintf(name, size, "%s", text);
    std::free(text);
    return true;
}

std::unique_ptr<IWaveSink> IWaveSink::OpenCard(int card, const WaveFormat& format)
{
    const CAlsaLibrary* alsa = CAlsaLibrary::Get();
    if (!alsa)
        return nullptr;
    auto sink = std::make_unique<CAlsaWaveSink>(*alsa);
    if (!sink->Open(card, format))
        return nullptr;
    return sink;
}

std::unique_ptr<IWaveSink> IWaveSink::OpenNull(const WaveFormat& format)
{
    return std::make_unique<CNullWaveSink>(format);
}
