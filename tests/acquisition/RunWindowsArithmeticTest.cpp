// What the acquisition run windows compute without a window: the gain table and its trial-run
// choice, the engine rotation limits, the run-up diagnosis per block and the RPM channel set-up.
#include "MeasuredFixture.h"
#include "RunRig.h"

#include "acquisition/AccelRpmAnalysis.h"
#include "acquisition/BaseDAQInterface.h"
#include "acquisition/EngineRotationLimits.h"
#include "acquisition/GainTable.h"
#include "acquisition/RpmChannelSetup.h"
#include "experiments/DAQConfig.h"
#include "experiments/Sensor.h"
#include "experiments/SensorProject.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/qmx/QmxSimLayout.h"
#include "platform/qmx/QmxSimSignal.h"
#include "spectral/RpmDetection.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A stored-values interface whose samples, and whether a gain can be read back, the test decides.
class CFakeChannels : public CBaseDAQInterface
{
public:
    CFakeChannels()
    {
        for (int c = 0; c < GetMaxChannels(); ++c) {
            EnableChannel(c);
            CHANNELINFO row = DefaultChannelRow(c);
            row.Sensitivity = 10.0f;
            SetChannelInfo(&row);
        }
    }
    bool ReadData(int channel, float* dest, int count, int start) override
    {
        auto it = samples.find(channel);
        if (it == samples.end() || start != 0 || count > static_cast<int>(it->second.size()))
            return false;
        std::copy(it->second.begin(), it->second.begin() + count, dest);
        return true;
    }
    double GetChannelInputRange(int channel) override
    {
        auto it = readBack.find(channel);
        return it != readBack.end() ? it->second : CBaseDAQInterface::GetChannelInputRange(channel);
    }
    // A channel whose peak (sensitivity 10 mV per unit) is peak mV, over count samples.
    void Peak(int channel, float peak, int count = 64)
    {
        std::vector<float>& s = samples[channel];
        s.assign(static_cast<size_t>(count), 0.0f);
        s[static_cast<size_t>(count / 2)] = -peak / 10.0f;
        s[1] = peak / 20.0f;
    }

    std::map<int, std::vector<float>> samples;
    std::map<int, double> readBack;
};

CSensor* SensorOf(CMeasuredFixture& f, const char* id)
{
    return ElementCast<CSensor>(f.container.GetSensorProject()->FindOne(id, -1, 1));
}

} // namespace

TEST(GainTable, ChoosesTheStepFromThePeakAndTheLevel)
{
    struct Case
    {
        float peak;
        float level;
        float gain;
    };
    const Case cases[] = {
        {1500.0f, 95.0f, 0.1f}, {150.0f, 95.0f, 1.0f},  {50.0f, 95.0f, 10.0f},  {1000.0f, 100.0f, 0.1f},
        {999.9f, 100.0f, 1.0f}, {100.0f, 100.0f, 1.0f}, {99.9f, 100.0f, 10.0f}, {950.0f, 95.0f, 0.1f},
        {95.0f, 95.0f, 1.0f},   {94.9f, 95.0f, 10.0f},  {-1.0f, 95.0f, 10.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CGainTable::ChooseGain(c.peak, c.level), c.gain) << c.peak << " at " << c.level;
    EXPECT_TRUE(CGainTable::IsGainStep(1.0));
    EXPECT_FALSE(CGainTable::IsGainStep(-FLT_MAX));
    EXPECT_FALSE(CGainTable::IsGainStep(0.0));
    EXPECT_FALSE(CGainTable::IsGainStep(5.0));
}

TEST(GainTable, TrialRunSetsOnlyTheRowsToAdjustAndKeepsUnreadOnes)
{
    CFakeChannels daq;
    daq.Peak(0, 1500.0f);
    daq.Peak(1, 150.0f);
    daq.Peak(2, 50.0f);
    // Channel 3 has no samples; channel 4 is not to be adjusted.
    daq.Peak(4, 1500.0f);
    CGainTable table;
    for (int c = 0; c < 5; ++c)
        table.Rows().push_back({c, 0, c, 10.0f, c == 4 ? 0 : 1, 0});
    table.Rows()[3].gain = 1.0f;

    table.PrepareTrial(daq);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(daq.CBaseDAQInterface::GetChannelInputRange(c), 0.1f) << c;
    EXPECT_EQ(daq.CBaseDAQInterface::GetChannelInputRange(4), 10.0) << "not adjusted, not touched";
    daq.SetChannelInputRange(0, 10.0);

    EXPECT_EQ(table.ChooseFromTrial(daq, 64, 95.0f), 3);
    const float expected[] = {0.1f, 1.0f, 10.0f, 0.1f, 10.0f};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(table.Rows()[static_cast<size_t>(c)].gain, expected[c]) << c;
    EXPECT_EQ(daq.CBaseDAQInterface::GetChannelInputRange(0), 10.0) << "the choice leaves the hardware alone";
    // No samples at all: every row to adjust gets the most sensitive step.
    EXPECT_EQ(table.ChooseFromTrial(daq, 0, 95.0f), 3);
    EXPECT_EQ(table.Rows()[0].gain, 10.0f);
}

TEST(GainTable, ApplyStoresWhatTheHardwareConfirmedAndNothingElse)
{
    CMeasuredFixture f;
    CDAQExperiment* set = f.AddDataSet("gain", 2);
    ASSERT_NE(set, nullptr);
    auto exp = f.MakeMeasurement(set, 2, 16);
    CFakeChannels daq;
    CHANNELINFO auto0;
    auto0.Channel = 0;
    ASSERT_TRUE(daq.GetChannelInfo(&auto0));
    auto0.AutoRange = 1;
    ASSERT_TRUE(daq.SetChannelInfo(&auto0));

    CGainTable table;
    table.Build(*exp, daq);
    // The response's group (S1 on channel 0), the structure's (S1, S2 on 0 and 1), the pulse row.
    ASSERT_EQ(table.GetCount(), 4);
    EXPECT_EQ(table.Rows()[0].group, 0);
    EXPECT_EQ(table.Rows()[2].channel, 1);
    EXPECT_EQ(table.Rows()[2].item, 1);
    EXPECT_EQ(table.Rows()[0].adjust, 1) << "from the channel's automatic-range request";
    EXPECT_EQ(table.Rows()[2].adjust, 0);
    EXPECT_EQ(table.Rows()[3].pulse, 1);
    EXPECT_EQ(table.Rows()[3].channel, 15);
    EXPECT_EQ(table.Rows()[3].gain, 10.0f);

    for (tagGAININFO& row : table.Rows())
        row.gain = 0.1f;
    daq.readBack[1] = -FLT_MAX; // channel 1 does not answer
    const float sensor2Scale = SensorOf(f, "S2")->GetChannelInfo().Scale;
    EXPECT_EQ(table.Apply(*exp, daq), 1);
    EXPECT_EQ(exp->GetChannelRange(0), 0.1f);
    EXPECT_EQ(exp->GetChannelRange(15), 0.1f);
    EXPECT_EQ(exp->GetChannelRange(1), 10.0f) << "unconfirmed: the project keeps its gain";
    EXPECT_EQ(SensorOf(f, "S2")->GetChannelInfo().Scale, sensor2Scale);
    EXPECT_EQ(SensorOf(f, "S1")->GetChannelInfo().Scale, 0.1f);
    EXPECT_EQ(SensorOf(f, "S1")->GetChannelInfo().AutoRange, 1);
    EXPECT_EQ(table.Rows()[2].gain, 0.1f) << "the row keeps its gain";
}

TEST(EngineRotationLimits, MinimaFollowTheBlockTimeAndNeverDivideByZero)
{
    CEngineRotationLimits::Values v{1000, 6000, 50, 10, 1.0f};
    int minSpan = -1;
    int minMargin = -1;
    // 5000 RPM at 50 per block of 0.128 s: 12.8 s, so at least 13 s.
    ASSERT_TRUE(CEngineRotationLimits::ComputeMinima(0, 0.128f, v, minSpan, minMargin));
    EXPECT_EQ(minSpan, 13);
    EXPECT_EQ(minMargin, 0);
    EXPECT_EQ(v.timeSpan, 13);
    v.timeSpan = 20;
    ASSERT_TRUE(CEngineRotationLimits::ComputeMinima(1, 0.128f, v, minSpan, minMargin));
    EXPECT_EQ(minMargin, 33);
    EXPECT_EQ(minSpan, 0);
    EXPECT_EQ(v.rpmMargin, 50) << "above the minimum: kept";
    v.timeSpan = 64;
    v.rpmMargin = 1;
    ASSERT_TRUE(CEngineRotationLimits::ComputeMinima(1, 0.128f, v, minSpan, minMargin));
    EXPECT_EQ(v.rpmMargin, 11);

    CEngineRotationLimits::Values zero{1000, 6000, 0, 0, 1.0f};
    EXPECT_FALSE(CEngineRotationLimits::ComputeMinima(0, 0.128f, zero, minSpan, minMargin));
    EXPECT_FALSE(CEngineRotationLimits::ComputeMinima(1, 0.128f, zero, minSpan, minMargin));
    EXPECT_EQ(minSpan, 0);
    EXPECT_EQ(minMargin, 0);
}

TEST(EngineRotationLimits, ChecksRefuseInOrder)
{
    struct Case
    {
        CEngineRotationLimits::Values v;
        int minMargin;
        int minSpan;
        uint32_t message;
    };
    const Case cases[] = {
        {{1000, 6000, 50, 13, 1.0f}, 0, 13, 0},      {{0, 6000, 50, 13, 1.0f}, 0, 13, 6119},
        {{1000, 0, 50, 13, 1.0f}, 0, 13, 6104},      {{3000, 3000, 50, 13, 1.0f}, 0, 13, 6118},
        {{4000, 3000, 50, 13, 1.0f}, 0, 13, 6118},   {{1000, 6000, 32, 13, 1.0f}, 33, 0, 6115},
        {{1000, 6000, 0, 13, 1.0f}, 0, 0, 6115},     {{1000, 6000, 5000, 13, 1.0f}, 0, 13, 0},
        {{1000, 6000, 5001, 13, 1.0f}, 0, 13, 6211}, {{1000, 6000, 50, 12, 1.0f}, 0, 13, 6109},
        {{1000, 6000, 50, 0, 1.0f}, 0, 0, 6109},     {{1000, 6000, 50, 13, 0.0f}, 0, 13, 6106},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CEngineRotationLimits::Check(c.v, c.minMargin, c.minSpan), c.message)
            << c.v.rpmLow << "-" << c.v.rpmHigh << " margin " << c.v.rpmMargin << " span " << c.v.timeSpan;
}

TEST(EngineRotationLimits, MeasurementTimeSnapsToWholeBlocksOfTheBlockMode)
{
    // Mode 0: 16000 x 800 / 5000 = 2560 lies nearer 2048; 3072 is a tie and goes down.
    EXPECT_EQ(CEngineRotationLimits::BlockSize(16000.0f, 0, 800.0f, 5000.0f), 2048);
    EXPECT_EQ(CEngineRotationLimits::BlockSize(16000.0f, 0, 1000.0f, 5000.0f), 4096);
    EXPECT_EQ(CEngineRotationLimits::BlockSize(3072.0f, 0, 1.0f, 1.0f), 2048);
    EXPECT_EQ(CEngineRotationLimits::BlockSize(16000.0f, 0, 800.0f, 0.0f), 0);
    EXPECT_EQ(CEngineRotationLimits::BlockSize(12800.0f, 1, 800.0f, 5000.0f), 16384);
    EXPECT_EQ(CEngineRotationLimits::BlockSize(16384.0f, 1, 0.0f, 0.0f), 16384);
    EXPECT_EQ(CEngineRotationLimits::BlockSize(16000.0f, 2, 800.0f, 5000.0f), 0);

    EXPECT_FLOAT_EQ(CEngineRotationLimits::SnapMeasureTime(0.64f, 16000.0f, 2048), 0.64f) << "5 whole blocks stay";
    EXPECT_FLOAT_EQ(CEngineRotationLimits::SnapMeasureTime(0.65f, 16000.0f, 2048), 0.768f);
    EXPECT_FLOAT_EQ(CEngineRotationLimits::SnapMeasureTime(10.0f, 12800.0f, 16384), 16384.0f * 8 / 12800.0f);
    EXPECT_EQ(CEngineRotationLimits::SnapMeasureTime(0.65f, 16000.0f, 0), 0.65f) << "block mode 2: unchanged";
}

TEST(AccelRpmAnalysis, OneSpreadPerWholeBlockOfTheSimulatedRamp)
{
    // 1000 to 6000 RPM in 2 s, two pulses per revolution.
    CQmxSimLayout layout;
    ASSERT_TRUE(layout.Parse("rpm=1000-6000;ramp=2;pulse=15;pulses=2"));
    const float fs = 12800.0f;
    CQmxSimSignal signal(layout, 15, fs);
    std::vector<float> x(25600);
    signal.Generate(x.data(), static_cast<int>(x.size()), 10.0f);

    COctaveManagerEx bands(OCTAVE_BAND_THIRD, 100.0, 5000.0);
    CDAQConfig config;
    config.SetSamplingFreq(fs);
    config.SetPulsesPerRev(2.0f);
    config.SetRpmRatio(1.0f);
    config.SetTimeSpan(2.0f);
    config.SetRpmMargin(400);
    CAccelRpmAnalysis analysis;
    analysis.SetDAQConfig(&config);
    analysis.SetBands(&bands);
    analysis.Reset();
    CRpmDetection detection;
    detection.SetOctaveManager(&bands);
    detection.SetSamplingFreq(fs);
    const int block = detection.GetBlockSize();
    ASSERT_GT(block, 0);
    EXPECT_EQ(analysis.GetBlockSize(), block);
    EXPECT_EQ(analysis.GetPointCount(), 25600 / block);

    // Less than a block adds nothing; the chart stays at 0.
    EXPECT_EQ(analysis.Analyse(x.data(), block - 1), 0);
    EXPECT_EQ(analysis.Series(), std::vector<double>(static_cast<size_t>(analysis.GetPointCount()), 0.0));
    // Two and a half blocks: two values, half a block left over; more samples go on from there.
    EXPECT_EQ(analysis.Analyse(x.data(), block * 5 / 2), 2);
    EXPECT_EQ(analysis.GetConsumed(), 2 * block);
    EXPECT_EQ(analysis.Analyse(x.data(), block * 3), 1);
    ASSERT_EQ(analysis.Values().size(), 3u);
    // The ramp sweeps 2500 RPM/s: a block's spread is about 2500 x its time, less the pulse spacing.
    const float sweep = 2500.0f * static_cast<float>(block) / fs;
    for (float v : analysis.Values()) {
        EXPECT_GT(v, 0.5f * sweep);
        EXPECT_LT(v, 1.1f * sweep);
    }
    EXPECT_EQ(analysis.Series()[2], analysis.Values()[2]);
    EXPECT_EQ(analysis.GetMargin(), 400.0);

    // Overrides: negative takes the configuration, 0 is used as 0.
    EXPECT_EQ(analysis.GetPulseCount(), 2);
    analysis.SetPulseCount(0);
    analysis.SetEngineCount(0);
    EXPECT_EQ(analysis.GetPulseCount(), 0);
    EXPECT_EQ(analysis.GetEngineCount(), 0);
    analysis.Reset();
    EXPECT_TRUE(analysis.Values().empty());
    EXPECT_EQ(analysis.Analyse(x.data(), block), 1);
    EXPECT_EQ(analysis.Values()[0], 0.0f) << "no pulse count, no RPM";

    // Without bands there is no block: nothing is analysed, no point drawn.
    analysis.SetBands(nullptr);
    analysis.Reset();
    EXPECT_EQ(analysis.GetPointCount(), 0);
    EXPECT_EQ(analysis.Analyse(x.data(), 25600), 0);
}

TEST(RpmChannelSetup, EnablesTheChannelAndKeepsItsInputRange)
{
    CRunRig rig(1);
    CMultiQMXInterface& daq = *rig.daq;
    if (!daq.IsChannelEnabled(15)) {
        ASSERT_TRUE(daq.EnableChannel(15));
    }
    ASSERT_TRUE(daq.SetChannelInputRange(15, 1.0));
    ASSERT_TRUE(daq.DisableChannel(15));
    ASSERT_TRUE(CRpmChannelSetup::Prepare(daq, 15));
    EXPECT_TRUE(daq.IsChannelEnabled(15));
    CHANNELINFO info;
    info.Channel = 15;
    ASSERT_TRUE(daq.GetChannelInfo(&info));
    EXPECT_EQ(info.Coupling, 2);
    EXPECT_EQ(info.AutoRange, 0);
    EXPECT_EQ(info.AttachPoint, "");
    EXPECT_EQ(daq.GetChannelInputRange(15), 1.0) << "the stored input range stays";
    // Again on the enabled channel: still fine.
    EXPECT_TRUE(CRpmChannelSetup::Prepare(daq, 15));
    EXPECT_FALSE(CRpmChannelSetup::Prepare(daq, daq.GetMaxChannels()));
    EXPECT_FALSE(CRpmChannelSetup::Prepare(daq, -1));
}
