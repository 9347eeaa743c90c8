#pragma once
// Spectrum of one block of time samples: power-of-two block length, optional first-order
// high-pass, window, radix-2 transform with the sign +1, and scaling so that the window does not
// change the level. Beside it the power-of-two sizing helpers and the A-weighting correction.
#include <vector>
#include "common/AWeighting.h"

class CFFT
{
public:
    // Window type codes; any other value means rectangular.
    enum
    {
        windowRectangular = 0,
        windowTriangular = 1,
        windowWelch = 2,
        windowHanning = 3,
        windowHamming = 4
    };

    CFFT();
    virtual ~CFFT();

    // The samples are not copied: they must stay valid until Compute returns.
    void SetData(const float* samples, int count);
    void SetSamplingFreq(float fs) { m_fs = fs; }
    void SetHighPassFreq(float fc) { m_fc = fc; }
    void SetWindowType(int type) { m_windowType = type; }
    float GetSamplingFreq() const { return m_fs; }
    float GetHighPassFreq() const { return m_fc; }
    int GetWindowType() const { return m_windowType; }

    // Results of the last Compute.
    int GetLineCount() const { return m_lineCount; }
    float GetDf() const { return m_df; }

    // Block length: unpadded, the largest power of two not above the sample count; padded, the
    // larger of the power of two nearest the sampling rate (or count) and the one nearest twice the
    // count. 0 when there is no sample.
    int GetFFTSize(bool padded) const;

    // Transforms the first GetFFTSize(false) samples. re and im receive the whole block of N
    // scaled spectral values; returns N/2. A block that cannot be transformed (no sample, a
    // sampling rate that is not positive, a high-pass corner at or above fs/pi, where the filter
    // would grow without bound) returns 0 with both arrays emptied, line count 0 and df 0.
    int Compute(std::vector<float>& re, std::vector<float>& im);

    // In-place complex transform of nn values (nn a power of two), addressed from 1: value k is
    // data[2k+1] (real) and data[2k+2] (imaginary), so data holds 2*nn+1 floats. With isign = +1
    // X_k = sum_m x_m exp(+2 pi i m k / nn), unnormalised; isign = -1 gives the opposite sign.
    // Returns false, leaving data untouched, when nn is not a power of two or isign is not +-1.
    static bool FFT(float* data, unsigned nn, int isign);

    // Window value of type at sample i of an n-point block.
    static double WindowValue(int type, int i, int n);

private:
    int m_lineCount = 0;
    float m_df = 0.0f;
    const float* m_samples = nullptr;
    int m_sampleCount = 0;
    float m_fs = 0.0f;
    float m_fc = 0.0f;
    int m_windowType = -1;
};

// Smallest power of two not below n (1 for n <= 1); 0 when it does not fit an int.
int CeilPowerOfTwo(int n);
int GetPowerOfTwoCeil(int n);
// Power of two nearest n, a tie going to the larger one (1 for n <= 1).
int NearestPowerOfTwo(int n);
// NearestPowerOfTwo of the whole part of a*b/c (computed in float); 1 when that is not a number.
double NearestPowerOfTwoOfRatio(float a, float b, float c);

// AWeightGain and AWeightingDB come from common/AWeighting.h (included above).
