#pragma once
// Engine speed from a tacho pulse channel: rising crossings of a threshold, each timed by linear
// interpolation between its two samples, and the RPM of every interval between consecutive
// crossings through the channel's pulse ratio. Also the analysis block length that suits a band
// definition.
#include <vector>

class COctaveManager;

// One pulse interval in whole numbers: RPM (truncated toward zero), index of its first crossing,
// length in samples.
struct tagIRPMINFO
{
    int nRpm = 0;
    int nStart = 0;
    int nLength = 0;
};

// One pulse interval: RPM, position of its first crossing in samples (fractional, from the
// interpolated time), length in samples.
struct tagFRPMINFO
{
    double dRpm = 0.0;
    double dStart = 0.0;
    int nLength = 0;
};

using CRPMInfoListInt = std::vector<tagIRPMINFO>;
using CRPMInfoListFloat = std::vector<tagFRPMINFO>;

class CRpmDetection
{
public:
    CRpmDetection();
    virtual ~CRpmDetection();

    // Tacho pulses per cycle ("Pulse Count") and engine revolutions per cycle ("Engine Count").
    void SetPulseCount(int count) { m_pulseCount = count; }
    void SetEngineCount(int count) { m_engineCount = count; }
    void SetSamplingFreq(float fs) { m_fs = fs; }
    // Band definition for the block length; not owned.
    void SetOctaveManager(const COctaveManager* bands) { m_bands = bands; }
    int GetPulseCount() const { return m_pulseCount; }
    int GetEngineCount() const { return m_engineCount; }
    float GetSamplingFreq() const { return m_fs; }
    const COctaveManager* GetOctaveManager() const { return m_bands; }

    // Automatic level: the middle between the smallest and the largest sample (the first sample
    // for a single one, 0 for none).
    float GetThreshold(const float* x, int n) const;
    // Index of the first sample above the level that follows, from start on, a sample below it
    // with at most samples exactly at the level in between; -1 when there is none.
    int FindNextCrossing(int start, const float* x, int n, float level) const;
    // Time in seconds of the crossing that ends at sample i (i >= 1), interpolated between
    // samples i-1 and i.
    double GetCrossingTime(const float* x, int i, float level) const;
    // RPM of the interval between crossings i1 and i2. 0 when the interval has no RPM: a pulse
    // count of 0, a sampling rate that is not positive, or no time between the crossings.
    double GetRpmBetween(const float* x, int i1, int i2, float level) const;

    // RPM of the first interval of the signal with the automatic level; -1.0 when there is none.
    double DetectFirstRpm(const float* x, int n) const;
    // Every crossing index in signal order (out is emptied first); level <= 0 means automatic.
    int FindCrossings(const float* x, int n, std::vector<int>& out, float level) const;
    // Largest minus smallest interval RPM (level <= 0 means automatic); 0 with fewer than three
    // crossings or no interval that has an RPM.
    float GetRpmSpread(const float* x, int n, float level) const;
    // One record per interval with an RPM, automatic level; the list is emptied first. Returns the
    // record count.
    int DetectRpmIntList(const float* x, int n, CRPMInfoListInt& list) const;
    int DetectRpmFloatList(const float* x, int n, CRPMInfoListFloat& list) const;

    // Power-of-two block length whose line spacing is at most half the width of the lowest band;
    // 0 without a band definition, a band, a positive sampling rate or a positive band width.
    int GetBlockSize() const;
    // Block length in seconds; 0 when there is no block length.
    float GetBlockTime() const;

private:
    // Whether the interval (i1, i2) has a finite positive time span and the channel a pulse ratio.
    bool IntervalRpm(const float* x, int i1, int i2, float level, double& rpm) const;
    // Calls onInterval(start, end, rpm, level) for every interval between successive crossings
    // that has an RPM, at the automatic level.
    template <class OnInterval>
    void ForEachRpmInterval(const float* x, int n, OnInterval onInterval) const;

    int m_pulseCount = 0;
    int m_engineCount = 0;
    float m_fs = 0.0f;
    const COctaveManager* m_bands = nullptr;
};
