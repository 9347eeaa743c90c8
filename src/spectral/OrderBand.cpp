#include "spectral/OrderBand.h"

#include "platform/gfx/OctaveManager.h"

#include <cmath>

double GetOrderFrequency(double rpm, double order, double factor)
{
    return rpm * order * factor * 0.016666666666666666;
}

int FindOctaveBandIndex(double f, const COctaveManager* bands)
{
    if (!bands)
        return -1;
    const int n = bands->GetFreqCount();
    if (n < 1)
        return -1;
    if (bands->GetFreq(0) >= f)
        return 0;
    if (bands->GetFreq(n - 1) <= f)
        return n - 1;
    for (int i = 0; i < n; ++i) {
        if (bands->GetLowerFreq(i) <= f && f < bands->GetUpperFreq(i))
            return i;
    }
    return -1;
}

int GetOrderBandIndex(double rpm, double order, double factor, const COctaveManager* bands)
{
    return FindOctaveBandIndex(GetOrderFrequency(rpm, order, factor), bands);
}

int GetOrderBandIndexInt(double rpm, double order, double factor, const COctaveManager* bands)
{
    return FindOctaveBandIndex(std::trunc(GetOrderFrequency(rpm, order, factor)), bands);
}
