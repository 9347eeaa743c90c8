// The data check over the channel records of an experiment project: input range reached at the
// threshold of the channel's range, overload against the overload ratio, unknown ranges.
#include "MeasuredFixture.h"
#include "RunRig.h"

#include "acquisition/DaqDataCheck.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/Excitation.h"
#include "models/HSEARegOptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// Channel c of the project's measured data set: sensitivity 1 ("gain 1"), the given input range and
// limit, and samples whose peak is peak.
void SetChannel(CExpProject& exp, const std::string& excitation, int c, float range, float limit, float peak)
{
    CExpDataSet* set = exp.FindExcitation(excitation)->GetDataSet(0);
    auto* data = DynamicDowncast<CExpData>(set->GetChild(c));
    ASSERT_NE(data, nullptr);
    tagSENSORINFO info;
    ASSERT_EQ(data->GetSensorInfo(info), 1);
    info.ChannelInfo.Sensitivity = 1.0f;
    info.ChannelInfo.Scale = range;
    info.ChannelInfo.Limit = limit;
    data->ReplaceSensorInfo(info);
    std::vector<float> samples(64, 0.0f);
    samples[10] = -peak;
    data->SetSamples(samples.data(), static_cast<int>(samples.size()));
}

} // namespace

TEST(DaqDataCheck, InputRangeThresholdsByRange)
{
    EXPECT_DOUBLE_EQ(CDaqDataCheck::GetInputRangeThreshold(0.1f), 10000.0);
    EXPECT_DOUBLE_EQ(CDaqDataCheck::GetInputRangeThreshold(1.0f), 1000.0);
    EXPECT_DOUBLE_EQ(CDaqDataCheck::GetInputRangeThreshold(10.0f), 100.0);
    EXPECT_DOUBLE_EQ(CDaqDataCheck::GetInputRangeThreshold(5.0f), 0.0);
}

TEST(DaqDataCheck, FlagsReachedRangesAndOverloadsOncePerDataSet)
{
    CHSEARegOptions::SaveExpDataCheckInputRange(0.75);
    CHSEARegOptions::SaveExpDataCheckOverLoad(0.95);
    CMeasuredFixture f;
    CDAQExperiment* set = f.AddDataSet("Run 1", 4);
    auto exp = f.MakeMeasurement(set, 4, 64);
    // Gain 1, range 1 V: 1000.0 is flagged, 999.9 not.
    SetChannel(*exp, f.structure, 0, 1.0f, 0.0f, 1000.0f);
    SetChannel(*exp, f.structure, 1, 1.0f, 0.0f, 999.9f);
    // Overload at 0.95 of the limit 100 (the input-range ratio 0.75 would flag 80 too).
    SetChannel(*exp, f.structure, 2, 10.0f, 100.0f, 95.0f);
    SetChannel(*exp, f.structure, 3, 10.0f, 100.0f, 80.0f);
    CDaqDataCheck check(exp.get());
    CExpDataSet* measured = exp->FindExcitation(f.structure)->GetDataSet(0);
    ASSERT_EQ(check.GetDataSets().GetSize(), 1);
    EXPECT_EQ(check.GetDataSets()[0], measured);
    ASSERT_EQ(check.GetInputRangeError()->GetList().GetSize(), 1);
    EXPECT_EQ(check.GetInputRangeError()->GetList()[0], measured->GetChild(0));
    ASSERT_EQ(check.GetOverloadError()->GetList().GetSize(), 1);
    EXPECT_EQ(check.GetOverloadError()->GetList()[0], measured->GetChild(2));

    // A range of none of the three: unknown, not flagged.
    SetChannel(*exp, f.structure, 0, 5.0f, 0.0f, 1.0e6f);
    check.Run();
    EXPECT_TRUE(check.GetInputRangeError()->GetList().IsEmpty());
    EXPECT_EQ(check.GetUnknownRangeError()->GetList().GetSize(), 1);
}

// The simulated unit's ranges are gains, as the data check reads them: 0.1 passes +-10 V, 1 passes
// +-1 V, 10 only +-0.1 V. A channel of about 1.3 V measured at each range: where it clips, the peak
// sits at the top of the range and the check flags it; at the widest range it is whole.
TEST(DaqDataCheck, FlagsAChannelTheSimulatedUnitClipped)
{
    CHSEARegOptions::SaveExpDataCheckInputRange(0.75);
    CHSEARegOptions::SaveExpDataCheckOverLoad(0.95);
    struct Case
    {
        float range;
        bool clipped;
    };
    for (const Case c : {Case{0.1f, false}, Case{1.0f, true}, Case{10.0f, true}}) {
        CRunRig rig(1);
        CQMXDAQInterface* unit = rig.daq->GetUnit(0);
        unit->SetNotifyWindow(&rig.window, WM_ZU_DAQ_STARTED, WM_ZU_DAQ_STOPPED, WM_ZU_DAQ_COMPLETE);
        ASSERT_TRUE(unit->SetSampleRate(51200.0f));
        ASSERT_TRUE(unit->SetDuration(0.0625f));
        ASSERT_TRUE(unit->SetChannelInputRange(0, c.range));
        ASSERT_EQ(static_cast<float>(unit->GetChannelInputRange(0)), c.range);
        rig.ms.Advance(30001); // a range change restarts the unit's settling time
        ASSERT_TRUE(unit->Start());
        ASSERT_TRUE(rig.window.WaitFor(WM_ZU_DAQ_STOPPED));
        ASSERT_TRUE(WaitUntil([&] { return unit->GetState() == 1 && !unit->IsBusy(); }));
        std::vector<float> mv(static_cast<size_t>(unit->GetAcquiredCount()));
        ASSERT_FALSE(mv.empty());
        ASSERT_TRUE(unit->ReadData(0, mv.data(), static_cast<int>(mv.size()), 0)); // sensitivity 1: millivolts
        float peak = 0.0f;
        for (float v : mv)
            peak = std::max(peak, std::fabs(v));
        const float top = 1000.0f / c.range;
        EXPECT_LE(peak, top) << c.range;
        EXPECT_EQ(peak == top, c.clipped) << c.range << ": peak " << peak;

        CMeasuredFixture f;
        auto exp = f.MakeMeasurement(f.AddDataSet("Run 1", 1), 1, 64);
        auto* data = DynamicDowncast<CExpData>(exp->FindExcitation(f.structure)->GetDataSet(0)->GetChild(0));
        ASSERT_NE(data, nullptr);
        tagSENSORINFO info;
        ASSERT_EQ(data->GetSensorInfo(info), 1);
        info.ChannelInfo.Sensitivity = 1.0f;
        info.ChannelInfo.Scale = c.range;
        data->ReplaceSensorInfo(info);
        data->SetSamples(mv.data(), static_cast<int>(mv.size()));
        CDaqDataCheck check(exp.get());
        EXPECT_EQ(check.GetInputRangeError()->GetList().GetSize(), c.clipped ? 1 : 0) << c.range;
    }
}
