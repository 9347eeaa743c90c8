#include "acquisition/WhiteNoiseGenerator.h"

CWhiteNoiseGenerator::CWhiteNoiseGenerator(uint16_t channels, uint16_t bitsPerSample, uint32_t samplesPerSec)
    : CNoiseGenerator(channels, bitsPerSample, samplesPerSec)
{
    Fill(0);
    Fill(1);
}

CWhiteNoiseGenerator::~CWhiteNoiseGenerator()
{
    Close();
}

void CWhiteNoiseGenerator::Fill(int buffer)
{
    int16_t* s = Samples(buffer);
    for (int i = 0; i < kSamplesPerBuffer; ++i)
        s[i] = static_cast<int16_t>(Random() & GetAmplitude());
}
