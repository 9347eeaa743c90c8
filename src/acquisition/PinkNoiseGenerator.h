#pragma once
// Pink noise by summing five rows of random values, row r renewed whenever bit r of a 5-bit
// counter changes: row 0 every sample, row 1 every second sample and so on, so the slower rows
// carry more of the low frequencies. Each row is below amplitude / 5, the sum below the amplitude.
#include "acquisition/NoiseGenerator.h"

#include <array>

class CPinkNoiseGenerator : public CNoiseGenerator
{
public:
    CPinkNoiseGenerator(uint16_t channels, uint16_t bitsPerSample, uint32_t samplesPerSec);
    ~CPinkNoiseGenerator() override;

    void Fill(int buffer) override;

    // One sample; steps the key.
    int NextSample();
    int GetKey() const { return m_key; }
    int GetLastChanged() const { return m_changed; } // rows renewed by the last sample, as bits

    static constexpr int kRows = 5;

private:
    int m_keyMax = 31;
    int m_key = 0;
    std::array<int32_t, kRows> m_rows{};
    int m_changed = 0;
};
