#include "acquisition/PinkNoiseGenerator.h"

CPinkNoiseGenerator::CPinkNoiseGenerator(uint16_t channels, uint16_t bitsPerSample, uint32_t samplesPerSec)
    : CNoiseGenerator(channels, bitsPerSample, samplesPerSec)
{
    for (auto& r : m_rows)
        r = Random() % (GetAmplitude() / kRows);
    Fill(0);
    Fill(1);
}

CPinkNoiseGenerator::~CPinkNoiseGenerator()
{
    Close();
}

int CPinkNoiseGenerator::NextSample()
{
    const int last = m_key;
    if (++m_key > m_keyMax)
        m_key = 0;
    m_changed = last ^ m_key;
    int sum = 0;
    for (int r = 0; r < kRows; ++r) {
        if (m_changed & (1 << r))
            m_rows[static_cast<size_t>(r)] = Random() % (GetAmplitude() / kRows);
        sum += m_rows[static_cast<size_t>(r)];
    }
    return sum;
}

void CPinkNoiseGenerator::Fill(int buffer)
{
    int16_t* s = Samples(buffer);
    for (int i = 0; i < kSamplesPerBuffer; ++i)
        s[i] = static_cast<int16_t>(NextSample());
}
