#include "spectral/RpmDetection.h"

#include "platform/gfx/OctaveManager.h"
#include "spectral/FFT.h"

#include <climits>
#include <cmath>

CRpmDetection::CRpmDetection() = default;

CRpmDetection::~CRpmDetection() = default;

float CRpmDetection::GetThreshold(const float* x, int n) const
{
    if (!x || n <= 0)
        return 0.0f;
    if (n == 1)
        return x[0];
    float lo = x[0];
    float hi = x[0];
    for (int i = 1; i < n; ++i) {
        if (x[i] < lo)
            lo = x[i];
        if (x[i] > hi)
            hi = x[i];
    }
    return (lo + hi) / 2.0f;
}

int CRpmDetection::FindNextCrossing(int start, const float* x, int n, float level) const
{
    if (!x)
        return -1;
    // A rising crossing ends at the first sample above the level after a sample below it. No
    // hysteresis: one sample below and one above make a crossing. Samples exactly at the level
    // neither arm nor end one, but they do not break it either: an edge that passes through a
    // sample at the level is found at the first sample above it rather than missed.
    bool below = false;
    for (int i = start < 0 ? 0 : start; i < n; ++i) {
        if (x[i] - level < 0.0f)
            below = true;
        else if (x[i] - level > 0.0f && below)
            return i;
    }
    return -1;
}

double CRpmDetection::GetCrossingTime(const float* x, int i, float level) const
{
    const double dt = 1.0 / double(m_fs);
    const double t = i * dt;
    if (i < 1)
        return t;
    const double den = double(x[i]) - double(x[i - 1]);
    if (den == 0.0)
        return t;
    return ((t - dt) * (double(x[i]) - level) + (double(level) - x[i - 1]) * t) / den;
}

bool CRpmDetection::IntervalRpm(const float* x, int i1, int i2, float level, double& rpm) const
{
    // Without pulses per cycle, a sampling rate, or time between the crossings there is no speed;
    // such an interval is left out rather than reported as an infinite RPM.
    if (m_pulseCount == 0 || !(m_fs > 0.0f) || !std::isfinite(m_fs) || i1 < 1 || i2 < 1)
        return false;
    const float ratio = float(double(m_engineCount) / double(m_pulseCount));
    const double span = GetCrossingTime(x, i2, level) - GetCrossingTime(x, i1, level);
    if (!(span > 0.0) || !std::isfinite(span))
        return false;
    rpm = (1.0 / span) * ratio * 60.0;
    return std::isfinite(rpm);
}

double CRpmDetection::GetRpmBetween(const float* x, int i1, int i2, float level) const
{
    double rpm = 0.0;
    return (x && IntervalRpm(x, i1, i2, level, rpm)) ? rpm : 0.0;
}

int CRpmDetection::FindCrossings(const float* x, int n, std::vector<int>& out, float level) const
{
    out.clear();
    if (!x || n < 2)
        return 0;
    if (level <= 0.0f)
        level = GetThreshold(x, n);
    for (int i = FindNextCrossing(0, x, n, level); i >= 0; i = FindNextCrossing(i, x, n, level))
        out.push_back(i);
    return int(out.size());
}

double CRpmDetection::DetectFirstRpm(const float* x, int n) const
{
    std::vector<int> crossings;
    const float level = GetThreshold(x, n);
    FindCrossings(x, n, crossings, level);
    for (size_t k = 1; k < crossings.size(); ++k) {
        double rpm = 0.0;
        if (IntervalRpm(x, crossings[k - 1], crossings[k], level, rpm))
            return rpm;
    }
    return -1.0;
}

float CRpmDetection::GetRpmSpread(const float* x, int n, float level) const
{
    if (level <= 0.0f)
        level = GetThreshold(x, n);
    std::vector<int> crossings;
    if (FindCrossings(x, n, crossings, level) < 3)
        return 0.0f;
    float lo = 3.4028235e38f;
    float hi = -3.4028235e38f;
    bool any = false;
    for (size_t k = 1; k < crossings.size(); ++k) {
        double rpm = 0.0;
        if (!IntervalRpm(x, crossings[k - 1], crossings[k], level, rpm))
            continue;
        const float r = float(rpm);
        if (r < lo)
            lo = r;
        if (r > hi)
            hi = r;
        any = true;
    }
    return any ? hi - lo : 0.0f;
}

template <class OnInterval>
void CRpmDetection::ForEachRpmInterval(const float* x, int n, OnInterval onInterval) const
{
    const float level = GetThreshold(x, n);
    std::vector<int> crossings;
    FindCrossings(x, n, crossings, level);
    for (size_t k = 1; k < crossings.size(); ++k) {
        double rpm = 0.0;
        if (IntervalRpm(x, crossings[k - 1], crossings[k], level, rpm))
            onInterval(crossings[k - 1], crossings[k], rpm, level);
    }
}

int CRpmDetection::DetectRpmIntList(const float* x, int n, CRPMInfoListInt& list) const
{
    list.clear();
    ForEachRpmInterval(x, n, [&](int start, int end, double rpm, float) {
        tagIRPMINFO info;
        const double whole = std::trunc(rpm);
        info.nRpm = whole >= double(INT_MAX) ? INT_MAX : whole <= double(INT_MIN) ? INT_MIN : int(whole);
        info.nStart = start;
        info.nLength = end - start;
        list.push_back(info);
    });
    return int(list.size());
}

int CRpmDetection::DetectRpmFloatList(const float* x, int n, CRPMInfoListFloat& list) const
{
    list.clear();
    ForEachRpmInterval(x, n, [&](int start, int end, double rpm, float level) {
        tagFRPMINFO info;
        info.dRpm = rpm;
        info.dStart = GetCrossingTime(x, start, level) * double(m_fs);
        info.nLength = end - start;
        list.push_back(info);
    });
    return int(list.size());
}

int CRpmDetection::GetBlockSize() const
{
    if (!m_bands || m_bands->GetFreqCount() < 1 || !(m_fs > 0.0f) || !std::isfinite(m_fs))
        return 0;
    const double width = m_bands->GetUpperFreq(0) - m_bands->GetLowerFreq(0);
    // A lowest band of no width would ask for an endless block.
    if (!(width > 0.0))
        return 0;
    const double m = double(m_fs) * (1.0 / (width * 0.5));
    if (!(m >= 1.0))
        return 0;
    return CeilPowerOfTwo(m >= double(INT_MAX) ? INT_MAX : int(m));
}

float CRpmDetection::GetBlockTime() const
{
    const int size = GetBlockSize();
    return size > 0 ? float(size) / m_fs : 0.0f;
}
