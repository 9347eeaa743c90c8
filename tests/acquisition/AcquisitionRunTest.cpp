// One system's run on its own worker: messages, data, stops, faults and the reading of samples.
#include <gtest/gtest.h>

#include "RunRig.h"

#include <cmath>

using namespace std::chrono_literals;

namespace {

constexpr uint32_t kStart = WM_ZU_DAQ_STARTED;
constexpr uint32_t kStop = WM_ZU_DAQ_STOPPED;
constexpr uint32_t kDone = WM_ZU_DAQ_COMPLETE;
using Messages = std::vector<uint32_t>;

// One system whose run reports to the rig's window.
struct SingleRun
{
    explicit SingleRun(bool manualSamples = false) : rig(1, "", manualSamples)
    {
        unit = rig.daq->GetUnit(0);
        unit->SetNotifyWindow(&rig.window, kStart, kStop, kDone);
        EXPECT_TRUE(unit->SetSampleRate(51200.0f));
        EXPECT_TRUE(unit->SetDuration(0.0625f)); // 3200 samples
    }
    bool WaitIdle()
    {
        return WaitUntil([this] { return unit->GetState() == 1 && !unit->IsBusy(); });
    }

    CRunRig rig;
    CQMXDAQInterface* unit = nullptr;
};

TEST(AcquisitionRun, ACompletedRunPostsStartCompletionStopAndReadsScaledSamples)
{
    SingleRun r;
    // A row as the table has it (the input range it has already), with another sensitivity.
    CHANNELINFO info;
    info.Channel = 3;
    ASSERT_TRUE(r.unit->GetChannelInfo(&info));
    info.Sensitivity = 10.0f;
    ASSERT_TRUE(r.unit->SetChannelInfo(&info));

    ASSERT_TRUE(r.unit->Start());
    ASSERT_TRUE(r.rig.window.WaitFor(kStop));
    ASSERT_TRUE(r.WaitIdle());
    EXPECT_EQ(r.rig.window.Numbers(), (Messages{kStart, kDone, kStop}));
    EXPECT_EQ(r.unit->GetStatus(), 1);
    EXPECT_TRUE(r.unit->GetRunFault().Empty());
    ASSERT_EQ(r.unit->GetAcquiredCount(), 3200);

    const std::vector<float> volts = r.rig.Signal(0, 3, 3200);
    std::vector<float> got(3200);
    ASSERT_TRUE(r.unit->ReadData(3, got.data(), 3200, 0));
    for (int i = 0; i < 3200; ++i)
        ASSERT_EQ(got[static_cast<size_t>(i)], volts[static_cast<size_t>(i)] * 1000.0f / 10.0f) << i;

    // Windows within the acquired samples only; never beyond them.
    struct Case
    {
        int count, start;
        bool ok;
    };
    for (const Case c :
         {Case{0, 0, true}, Case{1, 3199, true}, Case{10, 3190, true}, Case{0, 3200, false}, Case{1, 3200, false},
          Case{2, 3199, false}, Case{3201, 0, false}, Case{-1, 0, false}, Case{1, -1, false}, Case{3200, 1, false}}) {
        std::vector<float> dest(3000);
        EXPECT_EQ(r.unit->ReadData(3, dest.data(), c.count, c.start), c.ok) << c.count << " from " << c.start;
    }
    EXPECT_FALSE(r.unit->ReadData(3, nullptr, 1, 0));
    EXPECT_TRUE(r.unit->DisableChannel(4));
    EXPECT_FALSE(r.unit->ReadData(4, got.data(), 1, 0)) << "a disabled channel";
}

TEST(AcquisitionRun, AStopWhileAcquiringEndsWithoutCompletionAndTwoStops)
{
    SingleRun r(true); // the sample clock stands still: the run never completes by itself
    ASSERT_TRUE(r.unit->Start());
    ASSERT_TRUE(WaitUntil([&] { return r.rig.sims[0]->CallCount(QmxCall::GetProgress) > 0; }));
    EXPECT_EQ(r.unit->GetState(), 0);
    ASSERT_TRUE(r.unit->Stop());
    ASSERT_TRUE(r.WaitIdle());
    ASSERT_TRUE(r.rig.window.WaitFor(kStop, 2));
    EXPECT_EQ(r.rig.window.Numbers(), (Messages{kStart, kStop, kStop}));
    EXPECT_EQ(r.unit->GetStatus(), 0);
    float x = 0.0f;
    EXPECT_FALSE(r.unit->ReadData(0, &x, 1, 0));
}

TEST(AcquisitionRun, NoEnabledChannelCompletesWithoutDataAndOneStop)
{
    SingleRun r;
    for (int ch = 0; ch < r.unit->GetMaxChannels(); ++ch)
        ASSERT_TRUE(r.unit->DisableChannel(ch));
    ASSERT_TRUE(r.unit->Start());
    ASSERT_TRUE(r.WaitIdle());
    EXPECT_EQ(r.rig.window.Numbers(), (Messages{kStart, kStop}));
    EXPECT_EQ(r.unit->GetStatus(), 1);
}

TEST(AcquisitionRun, DriverFaultsEndTheRunAndTellTheWindow)
{
    // A refused start: the window hears the stop, nothing waits for ever.
    {
        SingleRun r;
        r.rig.sims[0]->FailCall(QmxCall::StartAcquisition, 1);
        ASSERT_TRUE(r.unit->Start());
        ASSERT_TRUE(r.WaitIdle());
        EXPECT_EQ(r.rig.window.Numbers(), (Messages{kStart, kStop}));
        EXPECT_EQ(r.unit->GetStatus(), 0);
    }
    // A progress poll that fails is a lost system, not a completion.
    {
        SingleRun r;
        r.rig.LoseSystemAt(0, 100);
        ASSERT_TRUE(r.unit->Start());
        ASSERT_TRUE(r.WaitIdle());
        EXPECT_EQ(r.rig.window.Count(kDone), 0);
        EXPECT_EQ(r.rig.window.Count(kStop), 1);
        EXPECT_EQ(r.unit->GetStatus(), 0);
        const CDAQRunFault fault = r.unit->GetRunFault();
        EXPECT_EQ(fault.Unit, 0);
        EXPECT_EQ(fault.MissingChannels.size(), 16u);
        EXPECT_NE(fault.Text().find("Acquisition unit 1 stopped answering"), std::string::npos) << fault.Text();
        float x = 0.0f;
        EXPECT_FALSE(r.unit->ReadData(0, &x, 1, 0));
    }
}

TEST(AcquisitionRun, AChannelWhoseTransferFailsTenTimesIsMissing)
{
    for (const int failures : {9, 10}) {
        SingleRun r;
        r.rig.sims[0]->FailCall(QmxCall::ReadSamples, failures);
        ASSERT_TRUE(r.unit->Start());
        ASSERT_TRUE(r.WaitIdle());
        EXPECT_EQ(r.rig.window.Count(kDone), 1);
        std::vector<float> got(3200);
        // Channel 0 is transferred first and takes every failure.
        EXPECT_EQ(r.unit->ReadData(0, got.data(), 3200, 0), failures < 10) << failures;
        EXPECT_TRUE(r.unit->ReadData(1, got.data(), 3200, 0));
        const CDAQRunFault fault = r.unit->GetRunFault();
        EXPECT_EQ(fault.Unit, -1);
        EXPECT_EQ(fault.MissingChannels, failures < 10 ? std::vector<int>{} : std::vector<int>{0});
    }
}

TEST(AcquisitionRun, DestroyingTheInterfaceDuringARunWaitsForTheWorker)
{
    SingleRun r(true);
    ASSERT_TRUE(r.unit->Start());
    ASSERT_TRUE(WaitUntil([&] { return r.rig.sims[0]->CallCount(QmxCall::GetProgress) > 0; }));
    r.rig.daq.reset(); // deletes the unit under its running worker
    EXPECT_GE(r.rig.window.Count(kStop), 1);
}

} // namespace
