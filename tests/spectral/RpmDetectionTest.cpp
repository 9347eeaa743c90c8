#include "spectral/RpmDetection.h"

#include "platform/gfx/OctaveManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Square wave 0 V / 5 V: pulsesPerSecond pulses at fs, high for the first half of each period.
std::vector<float> PulseTrain(double pulsesPerSecond, double fs, double seconds)
{
    const int n = int(fs * seconds);
    std::vector<float> x(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double phase = std::fmod(i * pulsesPerSecond / fs, 1.0);
        x[size_t(i)] = phase < 0.5 ? 0.0f : 5.0f;
    }
    return x;
}

CRpmDetection Detection(int pulses, int engine, float fs)
{
    CRpmDetection d;
    d.SetPulseCount(pulses);
    d.SetEngineCount(engine);
    d.SetSamplingFreq(fs);
    return d;
}

} // namespace

TEST(RpmDetection, ConstantPulseTrainGivesItsSpeedEverywhere)
{
    const auto x = PulseTrain(50.0, 10000.0, 1.0);
    const int n = int(x.size());
    CRpmDetection d = Detection(1, 1, 10000.0f);
    EXPECT_FLOAT_EQ(d.GetThreshold(x.data(), n), 2.5f);

    std::vector<int> crossings;
    ASSERT_EQ(d.FindCrossings(x.data(), n, crossings, 0.0f), 50);
    for (size_t k = 1; k < crossings.size(); ++k)
        EXPECT_EQ(crossings[k] - crossings[k - 1], 200);

    EXPECT_NEAR(d.DetectFirstRpm(x.data(), n), 3000.0, 1e-6);
    EXPECT_NEAR(d.GetRpmSpread(x.data(), n, 0.0f), 0.0f, 1e-3f);

    CRPMInfoListFloat floats;
    ASSERT_EQ(d.DetectRpmFloatList(x.data(), n, floats), 49);
    for (size_t k = 0; k < floats.size(); ++k) {
        EXPECT_NEAR(floats[k].dRpm, 3000.0, 1e-6);
        EXPECT_EQ(floats[k].nLength, 200);
        // The jump from 0 to 5 crosses 2.5 half a sample before the sample above it.
        EXPECT_NEAR(floats[k].dStart, crossings[k] - 0.5, 1e-6);
    }
    CRPMInfoListInt ints;
    ASSERT_EQ(d.DetectRpmIntList(x.data(), n, ints), 49);
    for (size_t k = 0; k < ints.size(); ++k) {
        EXPECT_EQ(ints[k].nRpm, int(std::trunc(floats[k].dRpm)));
        EXPECT_NEAR(ints[k].nRpm, 3000, 1);
        EXPECT_EQ(ints[k].nStart, crossings[k]);
        EXPECT_EQ(ints[k].nLength, 200);
    }
}

TEST(RpmDetection, PulseRatioScalesTheSpeed)
{
    const auto x = PulseTrain(50.0, 10000.0, 0.5);
    const int n = int(x.size());
    struct Case
    {
        int pulses, engine;
        double rpm;
    };
    const Case cases[] = {{1, 1, 3000.0}, {2, 1, 1500.0}, {1, 2, 6000.0}, {4, 3, 2250.0}};
    for (const Case& c : cases) {
        CRpmDetection d = Detection(c.pulses, c.engine, 10000.0f);
        EXPECT_NEAR(d.DetectFirstRpm(x.data(), n), c.rpm, 1e-3) << c.pulses << "/" << c.engine;
        CRPMInfoListFloat list;
        d.DetectRpmFloatList(x.data(), n, list);
        ASSERT_FALSE(list.empty());
        EXPECT_NEAR(list.back().dRpm, c.rpm, 1e-3);
    }
}

TEST(RpmDetection, LinearRunUpFollowsTheSpeed)
{
    // 1000 to 4000 RPM in 2 s, one pulse per revolution, a sine tacho around 2.5 V.
    const double fs = 10000.0, seconds = 2.0, r0 = 1000.0, r1 = 4000.0;
    const double slope = (r1 - r0) / seconds;
    const int n = int(fs * seconds);
    std::vector<float> x(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double t = i / fs;
        // A quarter turn ahead, so the signal starts on its peak, clear of the level.
        const double revolutions = (r0 * t + slope * t * t / 2.0) / 60.0 + 0.25;
        x[size_t(i)] = float(2.5 + 2.5 * std::sin(2.0 * M_PI * revolutions));
    }
    CRpmDetection d = Detection(1, 1, float(fs));
    CRPMInfoListFloat list;
    const int count = d.DetectRpmFloatList(x.data(), n, list);
    EXPECT_EQ(count, 82); // 83.3 revolutions: rising crossings at 0.75, 1.75, ... 82.75
    double lo = 1e9, hi = -1e9;
    for (size_t k = 0; k < list.size(); ++k) {
        // The mean speed over an interval is the speed at its middle in time.
        const double start = list[k].dStart / fs;
        const double middle = start + 30.0 / list[k].dRpm;
        EXPECT_NEAR(list[k].dRpm, r0 + slope * middle, 0.5) << "interval " << k;
        if (k > 0) {
            EXPECT_GT(list[k].dRpm, list[k - 1].dRpm);
        }
        lo = std::min(lo, list[k].dRpm);
        hi = std::max(hi, list[k].dRpm);
    }
    EXPECT_NEAR(d.GetRpmSpread(x.data(), n, 0.0f), hi - lo, 1e-2);
    EXPECT_NEAR(d.GetRpmSpread(x.data(), n, 2.5f), hi - lo, 1e-2);
    EXPECT_NEAR(d.DetectFirstRpm(x.data(), n), list.front().dRpm, 1e-9);
}

TEST(RpmDetection, NoSpeedWithoutCrossingsOrPulses)
{
    const std::vector<float> flat(1000, 1.25f);
    const auto pulses = PulseTrain(50.0, 10000.0, 0.5);
    CRpmDetection d = Detection(1, 1, 10000.0f);
    EXPECT_FLOAT_EQ(d.GetThreshold(flat.data(), int(flat.size())), 1.25f);
    EXPECT_FLOAT_EQ(d.GetThreshold(flat.data(), 1), 1.25f);
    EXPECT_EQ(d.GetThreshold(nullptr, 0), 0.0f);

    CRPMInfoListInt ints(3);
    CRPMInfoListFloat floats(3);
    std::vector<int> crossings(5, 1);
    EXPECT_EQ(d.DetectFirstRpm(flat.data(), int(flat.size())), -1.0);
    EXPECT_EQ(d.FindCrossings(flat.data(), int(flat.size()), crossings, 0.0f), 0);
    EXPECT_TRUE(crossings.empty());
    EXPECT_EQ(d.DetectRpmIntList(flat.data(), int(flat.size()), ints), 0);
    EXPECT_EQ(d.DetectRpmFloatList(flat.data(), int(flat.size()), floats), 0);
    EXPECT_TRUE(ints.empty() && floats.empty());
    EXPECT_EQ(d.GetRpmSpread(flat.data(), int(flat.size()), 0.0f), 0.0f);

    // Two crossings make one interval: a speed, but no spread.
    const std::vector<float> two = {0, 5, 0, 0, 5, 0};
    EXPECT_GT(d.DetectFirstRpm(two.data(), 6), 0.0);
    EXPECT_EQ(d.GetRpmSpread(two.data(), 6, 0.0f), 0.0f);

    // A channel set up without pulses per cycle, or without a sampling rate, has no RPM: no
    // interval is reported rather than an infinite speed.
    for (CRpmDetection broken : {Detection(0, 1, 10000.0f), Detection(1, 1, 0.0f)}) {
        const int n = int(pulses.size());
        EXPECT_EQ(broken.DetectFirstRpm(pulses.data(), n), -1.0);
        EXPECT_EQ(broken.DetectRpmIntList(pulses.data(), n, ints), 0);
        EXPECT_EQ(broken.DetectRpmFloatList(pulses.data(), n, floats), 0);
        EXPECT_EQ(broken.GetRpmSpread(pulses.data(), n, 0.0f), 0.0f);
        EXPECT_EQ(broken.GetRpmBetween(pulses.data(), 100, 300, 2.5f), 0.0);
    }
}

TEST(RpmDetection, CrossingsAroundSamplesAtTheLevel)
{
    CRpmDetection d = Detection(1, 1, 1000.0f);
    const float level = 2.5f;
    // Jumping over the level: the crossing ends at the first sample above it.
    const std::vector<float> jump = {0, 0, 5, 5, 0, 0, 5, 5};
    EXPECT_EQ(d.FindNextCrossing(0, jump.data(), 8, level), 2);
    EXPECT_EQ(d.FindNextCrossing(2, jump.data(), 8, level), 6);
    EXPECT_EQ(d.FindNextCrossing(6, jump.data(), 8, level), -1);

    // Passing through a sample exactly at the level: found one sample later, not missed, and
    // timed at the sample on the level.
    const std::vector<float> through = {0, 0, 2.5f, 5, 5, 0, 2.5f, 2.5f, 5};
    EXPECT_EQ(d.FindNextCrossing(0, through.data(), 9, level), 3);
    EXPECT_NEAR(d.GetCrossingTime(through.data(), 3, level), 0.002, 1e-12);
    EXPECT_EQ(d.FindNextCrossing(3, through.data(), 9, level), 8);

    // Touching the level from above and leaving upwards again is no crossing.
    const std::vector<float> touch = {5, 5, 2.5f, 5, 5};
    EXPECT_EQ(d.FindNextCrossing(0, touch.data(), 5, level), -1);

    // Interpolation between the two samples of the crossing.
    const std::vector<float> ramp = {0, 1, 4, 5};
    // 2.5 lies half-way between 1 (t = 1 ms) and 4 (t = 2 ms).
    EXPECT_NEAR(d.GetCrossingTime(ramp.data(), 2, level), 0.0015, 1e-12);
    EXPECT_EQ(d.FindNextCrossing(0, nullptr, 4, level), -1);
    EXPECT_EQ(d.FindNextCrossing(10, ramp.data(), 4, level), -1);
}

TEST(RpmDetection, BlockSizeForTheLowestBand)
{
    COctaveManagerEx bands(OCTAVE_BAND_USER);
    bands.AddFreqInfo(10.0, 9.0, 11.0, OCTAVE_BAND_USER); // 2 Hz wide: lines at most 1 Hz apart
    bands.AddFreqInfo(20.0, 11.0, 30.0, OCTAVE_BAND_USER);
    struct Case
    {
        float fs;
        int size;
    };
    const Case cases[] = {{10000.0f, 16384}, {8192.0f, 8192}, {1.0f, 1}, {0.4f, 0}, {0.0f, 0}, {-8.0f, 0}};
    for (const Case& c : cases) {
        CRpmDetection d = Detection(1, 1, c.fs);
        d.SetOctaveManager(&bands);
        EXPECT_EQ(d.GetBlockSize(), c.size) << c.fs;
        EXPECT_FLOAT_EQ(d.GetBlockTime(), c.size > 0 ? float(c.size) / c.fs : 0.0f) << c.fs;
    }

    // A first band of no width, no band at all, or no band definition: no block length.
    COctaveManagerEx flat(OCTAVE_BAND_USER);
    flat.AddFreqInfo(10.0, 10.0, 10.0, OCTAVE_BAND_USER);
    COctaveManagerEx empty(OCTAVE_BAND_USER);
    for (const COctaveManager* b :
         {static_cast<const COctaveManager*>(&flat), static_cast<const COctaveManager*>(&empty),
          static_cast<const COctaveManager*>(nullptr)}) {
        CRpmDetection d = Detection(1, 1, 10000.0f);
        d.SetOctaveManager(b);
        EXPECT_EQ(d.GetBlockSize(), 0);
        EXPECT_EQ(d.GetBlockTime(), 0.0f);
    }

    // A one-third-octave set from 10 Hz: the lowest band is about 2.3 Hz wide.
    COctaveManagerEx third(OCTAVE_BAND_THIRD, 10.0, 20000.0);
    CRpmDetection d = Detection(1, 1, 16384.0f);
    d.SetOctaveManager(&third);
    EXPECT_EQ(d.GetBlockSize(), 16384);

    // The 12.5 Hz band from 11.2 to 14.1 Hz at 10240 Hz: 10240 / 1.45 = 7062 samples, rounded up
    // to the next power of two.
    COctaveManagerEx band125(OCTAVE_BAND_USER);
    band125.AddFreqInfo(12.5, 11.2, 14.1, OCTAVE_BAND_USER);
    d = Detection(1, 1, 10240.0f);
    d.SetOctaveManager(&band125);
    EXPECT_EQ(d.GetBlockSize(), 8192);
    EXPECT_FLOAT_EQ(d.GetBlockTime(), 0.8f);
}
