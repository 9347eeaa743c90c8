#include "acquisition/EngineRotationLimits.h"

#include "spectral/RpmDetection.h"
#include "platform/win/StringIds.h"

#include <cmath>
#include <cstdint>

float CEngineRotationLimits::BlockTime(float samplingFreq, const COctaveManager* bands)
{
    CRpmDetection detection;
    detection.SetSamplingFreq(samplingFreq);
    detection.SetOctaveManager(bands);
    return detection.GetBlockTime();
}

bool CEngineRotationLimits::ComputeMinima(int choice, float blockTime, Values& v, int& minTimeSpan, int& minMargin)
{
    minTimeSpan = 0;
    minMargin = 0;
    const double sweep = static_cast<double>(v.rpmHigh - v.rpmLow) * blockTime;
    if (choice == 0) {
        // A margin of 0 would ask for an endless sweep.
        if (v.rpmMargin <= 0)
            return false;
        minTimeSpan = static_cast<int>(sweep / v.rpmMargin + 1.0);
        if (v.timeSpan < minTimeSpan)
            v.timeSpan = minTimeSpan;
    } else {
        if (v.timeSpan <= 0)
            return false;
        minMargin = static_cast<int>(sweep / v.timeSpan + 1.0);
        if (v.rpmMargin < minMargin || v.rpmMargin < 1)
            v.rpmMargin = minMargin;
    }
    return true;
}

int CEngineRotationLimits::BlockSize(float samplingFreq, int blockMode, float bandFactor, float maxFreq)
{
    if (!(samplingFreq > 0.0f) || !std::isfinite(samplingFreq))
        return 0;
    constexpr int64_t kLargest = int64_t(1) << 30;
    if (blockMode == 0) {
        if (!(maxFreq > 0.0f) || !(bandFactor > 0.0f))
            return 0;
        const double q = static_cast<double>(samplingFreq) * bandFactor / maxFreq;
        if (!std::isfinite(q))
            return 0;
        int64_t lower = 1;
        while (lower * 2 <= q && lower < kLargest)
            lower *= 2;
        if (lower >= kLargest || q <= 1.0)
            return static_cast<int>(lower);
        return q - static_cast<double>(lower) <= static_cast<double>(2 * lower) - q ? static_cast<int>(lower)
                                                                                    : static_cast<int>(2 * lower);
    }
    if (blockMode == 1) {
        int64_t n = 1;
        while (n < samplingFreq && n < kLargest)
            n *= 2;
        return static_cast<int>(n);
    }
    return 0;
}

float CEngineRotationLimits::SnapMeasureTime(float seconds, float samplingFreq, int blockSize)
{
    if (blockSize <= 0 || !(samplingFreq > 0.0f))
        return seconds;
    const double samples = static_cast<double>(samplingFreq) * seconds;
    const double blocks = std::ceil(samples / blockSize);
    return static_cast<float>(blocks * blockSize / samplingFreq);
}

uint32_t CEngineRotationLimits::Check(const Values& v, int minMargin, int minTimeSpan)
{
    if (v.rpmLow < 1)
        return IDS_LOW_RPM_BELOW_1;
    if (v.rpmHigh < 1)
        return IDS_HIGH_RPM_BELOW_1;
    if (v.rpmLow >= v.rpmHigh)
        return IDS_LOW_RPM_NOT_BELOW_HIGH;
    if (v.rpmMargin < minMargin || v.rpmMargin < 1)
        return IDS_RPM_MARGIN_TOO_SMALL;
    if (v.rpmMargin > v.rpmHigh - v.rpmLow)
        return IDS_RPM_MARGIN_TOO_LARGE;
    if (v.timeSpan < minTimeSpan || v.timeSpan < 1)
        return IDS_TIME_SPAN_TOO_SHORT;
    if (!(v.factor > 0.0f))
        return IDS_FACTOR_NOT_POSITIVE;
    return 0;
}
