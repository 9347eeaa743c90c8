#pragma once
// Where wave output goes: a sound card or the null device. A sink plays one chunk of PCM bytes at a
// time, returning when the chunk has been taken at the device's rate.
#include <cstddef>
#include <cstdint>
#include <memory>

struct WaveFormat;

class IWaveSink
{
public:
    virtual ~IWaveSink() = default;
    // False when the device failed; the chunk then counts as played.
    virtual bool Play(const uint8_t* data, size_t bytes) = 0;
    // Playing stops for a while (pause) or for good (reset, close): what the device holds is dropped.
    virtual void Drop() = 0;
    virtual bool IsNull() const = 0;

    // The number of sound cards with a playback device, and the sink of one of them.
    static int CardCount();
    static bool CardName(int card, char* name, size_t size);
    static std::unique_ptr<IWaveSink> OpenCard(int card, const WaveFormat& format);
    static std::unique_ptr<IWaveSink> OpenNull(const WaveFormat& format);
};
