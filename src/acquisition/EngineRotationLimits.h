#pragma once
// The arithmetic of the engine rotation set-up: how fast a run-up may sweep for the RPM detection
// to follow it (the minimum time span for a given RPM margin, or the minimum margin for a given
// time span, from the detection's block time), the measurement time rounded up to whole analysis
// blocks, and the checks of the values before they are taken.
#include <cstdint>

class COctaveManager;

class CEngineRotationLimits
{
public:
    // The values the set-up edits.
    struct Values
    {
        int rpmLow = 0;
        int rpmHigh = 0;
        int rpmMargin = 0;
        int timeSpan = 0; // seconds
        float factor = 0.0f;
    };

    // The block time (seconds) of an RPM detection at the sampling frequency over the bands; 0
    // when it has none.
    static float BlockTime(float samplingFreq, const COctaveManager* bands);

    // Choice 0 (margin given): minTimeSpan = whole part of (high - low) x blockTime / margin + 1,
    // and the time span is raised to it. Choice 1 (time span given): minMargin likewise with the
    // time span, and the margin is raised to it. The other minimum is 0. False (nothing derived,
    // both minima 0) when the divisor is not positive.
    static bool ComputeMinima(int choice, float blockTime, Values& v, int& minTimeSpan, int& minMargin);

    // The analysis block in samples: block mode 0 the power of two nearest to fs x bandFactor /
    // maxFreq (a tie to the lower), mode 1 the smallest power of two not below fs; 0 for any other
    // mode or values that give no block.
    static int BlockSize(float samplingFreq, int blockMode, float bandFactor, float maxFreq);
    // The time rounded up to whole blocks; unchanged without a block or a sampling frequency.
    static float SnapMeasureTime(float seconds, float samplingFreq, int blockSize);

    // The first failed check's message (0: all passed): low < 1 IDS_LOW_RPM_BELOW_1, high < 1
    // IDS_HIGH_RPM_BELOW_1, low >= high IDS_LOW_RPM_NOT_BELOW_HIGH, margin below the minimum
    // IDS_RPM_MARGIN_TOO_SMALL, margin above high - low IDS_RPM_MARGIN_TOO_LARGE, time span below the
    // minimum IDS_TIME_SPAN_TOO_SHORT, factor not above 0 IDS_FACTOR_NOT_POSITIVE. A margin or time span below 1 is refused as below its
    // minimum.
    static uint32_t Check(const Values& v, int minMargin, int minTimeSpan);
};
