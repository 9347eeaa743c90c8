#pragma once
// White noise: each sample a 15-bit pseudo-random integer masked with the amplitude word (a bitwise
// AND, so samples lie between 0 and the amplitude).
#include "acquisition/NoiseGenerator.h"

class CWhiteNoiseGenerator : public CNoiseGenerator
{
public:
    CWhiteNoiseGenerator(uint16_t channels, uint16_t bitsPerSample, uint32_t samplesPerSec);
    ~CWhiteNoiseGenerator() override;

    void Fill(int buffer) override;
};
