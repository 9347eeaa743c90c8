// Several systems as one: channel numbering, forwarding, merged inventories and the one run worker.
#include <gtest/gtest.h>

#include "RunRig.h"
#include "acquisition/DAQ.h"
#include "platform/base/BlockPrefault.h"

#include <algorithm>
#include <cfloat>

using namespace std::chrono_literals;

namespace {

constexpr uint32_t kStart = WM_ZU_DAQ_STARTED;
constexpr uint32_t kStop = WM_ZU_DAQ_STOPPED;
constexpr uint32_t kDone = WM_ZU_DAQ_COMPLETE;
constexpr uint32_t kBegin = WM_ZU_DAQ_TRANSFER_BEGIN;
constexpr uint32_t kEnd = WM_ZU_DAQ_TRANSFER_DONE;
using Messages = std::vector<uint32_t>;

bool WaitIdle(CMultiQMXInterface& daq)
{
    return WaitUntil([&] {
        for (int u = 0; u < daq.GetUnitCount(); ++u) {
            if (daq.GetUnit(u)->IsBusy())
                return false;
        }
        return true;
    });
}

TEST(MultiQMXInterface, ChannelsAreNumberedOnAcrossUnits)
{
    CRunRig rig(2); // two systems of 16 channels
    CMultiQMXInterface& d = *rig.daq;
    ASSERT_EQ(d.GetMaxChannels(), 32);
    struct Case
    {
        int global;
        int ok, unit, local;
    };
    for (const Case c : {Case{0, 1, 0, 0}, Case{15, 1, 0, 15}, Case{16, 1, 1, 0}, Case{20, 1, 1, 4}, Case{31, 1, 1, 15},
                         Case{32, 0, -1, -1}, Case{-1, 0, -1, -1}, Case{INT32_MIN, 0, -1, -1}}) {
        int unit = -1;
        int local = -1;
        EXPECT_EQ(d.MapChannel(c.global, &unit, &local), c.ok) << c.global;
        EXPECT_EQ(unit, c.unit) << c.global;
        EXPECT_EQ(local, c.local) << c.global;
    }

    // Mapped operations reach the owning unit with the local number.
    EXPECT_TRUE(d.DisableChannel(20));
    EXPECT_FALSE(d.GetUnit(1)->IsChannelEnabled(4));
    EXPECT_TRUE(d.GetUnit(0)->IsChannelEnabled(4));
    EXPECT_FALSE(d.IsChannelEnabled(20));
    EXPECT_EQ(d.GetEnabledChannelCount(), 31);
    EXPECT_TRUE(d.EnableChannel(20));
    EXPECT_FALSE(d.EnableChannel(32));
    // The channel switch of the measurement window, by global number.
    EXPECT_EQ(d.SetChannelParam(20, 0), 1);
    EXPECT_FALSE(d.GetUnit(1)->IsChannelEnabled(4));
    EXPECT_EQ(d.SetChannelParam(20, 1), 1);
    EXPECT_TRUE(d.GetUnit(1)->IsChannelEnabled(4));
    EXPECT_EQ(d.SetChannelParam(32, 1), 0);
    EXPECT_EQ(d.SetChannelParam(-1, 1), 0);
    EXPECT_FALSE(d.SetChannelInputRange(32, 1.0));
    EXPECT_EQ(d.GetChannelInputRange(32), 0.0);
    EXPECT_TRUE(d.SetChannelInputRange(20, 1.0));
    EXPECT_EQ(d.GetChannelInputRange(20), 1.0);
    EXPECT_EQ(d.GetUnit(1)->GetChannelInputRange(4), 1.0);

    CHANNELINFO set;
    set.Channel = 20;
    set.Comment = "door";
    set.Sensitivity = 2.5f;
    set.Scale = 0.0f;
    ASSERT_TRUE(d.SetChannelInfo(&set));
    CHANNELINFO got;
    got.Channel = 20;
    got.Limit = 7.0f;
    ASSERT_TRUE(d.GetChannelInfo(&got));
    EXPECT_EQ(got.Channel, 20) << "the caller keeps the global number";
    EXPECT_EQ(got.Comment, "door");
    EXPECT_EQ(got.Sensitivity, 2.5f);
    CHANNELINFO local;
    local.Channel = 4;
    ASSERT_TRUE(d.GetUnit(1)->GetChannelInfo(&local));
    EXPECT_EQ(local.Comment, "door");
    CHANNELINFO none;
    none.Channel = 32;
    none.Comment = "kept";
    EXPECT_FALSE(d.GetChannelInfo(&none));
    EXPECT_EQ(none.Comment, "kept");

    // A triggered run takes its reference from the first unit only.
    ASSERT_TRUE(d.SetAcqMode(0));
    EXPECT_FALSE(d.SetReferenceChannel(20));
    EXPECT_TRUE(d.SetReferenceChannel(4));
    EXPECT_EQ(d.GetReferenceChannelIndex(), 4);
    ASSERT_TRUE(d.SetAcqMode(1));
    EXPECT_TRUE(d.SetReferenceChannel(20)) << "free run: the first unit's local channel 4";
}

TEST(MultiQMXInterface, WithoutUnitsEveryOperationHasItsFallback)
{
    CMultiQMXInterface d;
    EXPECT_EQ(d.GetMaxChannels(), 0);
    EXPECT_EQ(d.GetEnabledChannelCount(), 0);
    EXPECT_EQ(d.GetSampleRate(), 0.0f);
    EXPECT_EQ(d.GetDuration(), 0.0f);
    EXPECT_EQ(d.GetAcqMode(), -1);
    EXPECT_EQ(d.GetSampleCount(), 0);
    EXPECT_EQ(d.GetHardwareParam(), 0);
    EXPECT_EQ(d.GetTriggerLevel(), 0.0f);
    EXPECT_EQ(d.GetFirstUnitValue(), 0);
    EXPECT_TRUE(d.SetBandLimit(100));
    EXPECT_TRUE(d.SetSampleRate(51200.0f));
    EXPECT_EQ(d.GetState(), 1);
    EXPECT_EQ(d.GetStatus(), 1);
    EXPECT_FALSE(d.SetTriggered());
    EXPECT_FALSE(d.SetTriggerLevel(1.0f));
    EXPECT_FALSE(d.SetReferenceChannel(0));
    EXPECT_EQ(d.MapChannel(0, nullptr, nullptr), 0);
    EXPECT_EQ(d.SetChannelParam(0, 1), 0);
    EXPECT_EQ(d.AreAllUnitsReady(), 1);
    EXPECT_EQ(d.AreAllUnitsConnected(), 1);
    EXPECT_EQ(d.AreAllUnitsIdle(), 1);
    EXPECT_EQ(d.SyncUnits(), 0);
    EXPECT_EQ(d.SetUnitsFlag(1), 0);
    EXPECT_EQ(d.IsAnyUnitFlagSet(), 0);
    EXPECT_EQ(d.RemoveUnit(0), 0);
}

TEST(MultiQMXInterface, UnitsComeGoAndSwapInTheirChainRoles)
{
    CRunRig rig(3);
    CMultiQMXInterface& d = *rig.daq;
    ASSERT_EQ(d.GetUnitCount(), 3);
    EXPECT_EQ(rig.sims[0]->SyncRole(), 0);
    EXPECT_EQ(rig.sims[1]->SyncRole(), 1);
    EXPECT_EQ(rig.sims[2]->SyncRole(), 2);

    CQMXDAQInterface* first = d.GetUnit(0);
    ASSERT_EQ(d.SwapUnits(0, 2), 1);
    EXPECT_EQ(d.GetUnit(2), first);
    EXPECT_EQ(rig.sims[0]->SyncRole(), 2);
    EXPECT_EQ(rig.sims[2]->SyncRole(), 0);
    EXPECT_EQ(d.SwapUnits(0, 3), 0);

    EXPECT_EQ(d.SetUnitsFlag(1), 3);
    EXPECT_EQ(d.IsAnyUnitFlagSet(), 1);
    d.SetUnitsFlag(0);
    EXPECT_EQ(d.IsAnyUnitFlagSet(), 0);

    // A unit whose disconnection fails stays.
    rig.sims[0]->FailCall(QmxCall::Close, 1);
    EXPECT_EQ(d.RemoveUnit(2), 0);
    EXPECT_EQ(d.GetUnitCount(), 3);
    ASSERT_EQ(d.RemoveUnit(2), 1);
    EXPECT_FALSE(rig.sims[0]->IsConnected());
    EXPECT_EQ(d.GetUnitCount(), 2);
    EXPECT_EQ(d.GetMaxChannels(), 32);
    ASSERT_EQ(d.RemoveUnit(1), 1);
    EXPECT_EQ(d.SyncUnits(), 0) << "one unit has no chain";
    EXPECT_EQ(rig.sims[2]->SyncRole(), 0) << "and keeps the role it had";

    // A unit that cannot be initialised is not added.
    CQmxDriverFactoryScope none([] { return std::shared_ptr<IQmxSystem>(); });
    EXPECT_EQ(d.AddUnit(), 0);
    EXPECT_EQ(d.GetUnitCount(), 1);
}

TEST(MultiQMXInterface, MergedInventoryNumbersBoardsAndChannelsOn)
{
    // Each system: the control board at index 0, acquisition boards in slots 1 and 2.
    CRunRig rig(2, "boards=4+4,4+4");
    CMultiQMXInterface& d = *rig.daq;
    const CQmxBlixChMgr& m = d.GetChannelManager();
    std::vector<int> slots;
    for (const CQmxBoardInfo& b : m.GetBoardInfoList().Items())
        slots.push_back(b.GetSlot());
    EXPECT_EQ(slots, (std::vector<int>{1, 2, 3, 4}));
    ASSERT_EQ(m.GetBlixChInfoList().GetSize(), 64);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(m.GetBlixChInfoList()[i].GetChannelNumber(), i);
    EXPECT_EQ(m.GetBlixInfoList().GetSize(), 32);
    for (const CQmxBlixInfo& u : m.GetBlixInfoList().Items())
        EXPECT_NE(u.GetBoard(), nullptr) << "linked within the merged lists";

    // The order of the chain decides the numbering.
    const std::string firstSerial = m.GetBlixChInfoList()[0].GetBlixSerial();
    ASSERT_EQ(d.SwapUnits(0, 1), 1);
    EXPECT_EQ(d.GetChannelManager().GetBlixChInfoList()[32].GetBlixSerial(), firstSerial);
}

TEST(MultiQMXInterface, ARunSendsTheTransferAndPostsCompletionThenStop)
{
    CRunRig rig(2);
    CMultiQMXInterface& d = *rig.daq;
    ASSERT_TRUE(d.SetSampleRate(51200.0f));
    ASSERT_TRUE(d.SetDuration(0.0625f)); // 3200 samples
    // The transfer is bracketed by the two sends and no data are read outside them.
    std::atomic<int> readsAtBegin{-1};
    std::atomic<int> readsAtEnd{-1};
    rig.window.onSend = [&](uint32_t msg) {
        const int reads = rig.sims[0]->CallCount(QmxCall::ReadSamples) + rig.sims[1]->CallCount(QmxCall::ReadSamples);
        (msg == kBegin ? readsAtBegin : readsAtEnd) = reads;
    };
    ASSERT_TRUE(d.Start());
    ASSERT_TRUE(rig.window.WaitFor(kStop));
    ASSERT_TRUE(WaitIdle(d));
    EXPECT_EQ(rig.window.Numbers(), (Messages{kStart, kBegin, kEnd, kDone, kStop}));
    EXPECT_EQ(readsAtBegin, 0);
    EXPECT_EQ(readsAtEnd, 32);
    EXPECT_EQ(d.GetStatus(), 1);
    EXPECT_EQ(d.GetState(), 1);
    EXPECT_EQ(d.GetFirstUnitValue(), 3200);
    EXPECT_TRUE(d.GetRunFault().Empty());

    // The first unit started last.
    EXPECT_EQ(rig.sims[0]->CallCount(QmxCall::StartAcquisition), 1);
    for (const int global : {0, 17, 31}) {
        std::vector<float> got(3200);
        ASSERT_TRUE(d.ReadData(global, got.data(), 3200, 0)) << global;
        const std::vector<float> expected = rig.Signal(global / 16, global % 16, 3200);
        for (size_t i = 0; i < got.size(); ++i)
            ASSERT_EQ(got[i], expected[i] * 1000.0f) << global << " at " << i;
    }
    float x = 0.0f;
    EXPECT_FALSE(d.ReadData(32, &x, 1, 0));
}

TEST(MultiQMXInterface, AStopDuringTheTransferPostsNoCompletion)
{
    // The user stops while the samples are copied: the run ends as stopped, never as complete.
    CRunRig rig(2);
    CMultiQMXInterface& d = *rig.daq;
    ASSERT_TRUE(d.SetDuration(0.03125f));
    rig.window.onSend = [&](uint32_t msg) {
        if (msg == kBegin)
            d.Stop();
    };
    ASSERT_TRUE(d.Start());
    ASSERT_TRUE(rig.window.WaitFor(kStop, 2));
    ASSERT_TRUE(WaitIdle(d));
    EXPECT_EQ(rig.window.Numbers(), (Messages{kStart, kStop, kBegin, kEnd, kStop}));
    EXPECT_EQ(d.GetStatus(), 0);
}

TEST(MultiQMXInterface, UserStopAndEmptyRunsEndWithTheirStopMessages)
{
    // A user stop: no transfer, no completion; the stop of the user and the worker's.
    {
        CRunRig rig(2, "", true);
        CMultiQMXInterface& d = *rig.daq;
        ASSERT_TRUE(d.Start());
        ASSERT_TRUE(WaitUntil([&] { return rig.sims[1]->CallCount(QmxCall::GetProgress) > 0; }));
        ASSERT_TRUE(d.Stop());
        ASSERT_TRUE(rig.window.WaitFor(kStop, 2));
        ASSERT_TRUE(WaitIdle(d));
        EXPECT_EQ(rig.window.Numbers(), (Messages{kStart, kStop, kStop}));
        EXPECT_EQ(d.GetStatus(), 0);
        EXPECT_EQ(d.GetState(), 1);
        EXPECT_EQ(rig.sims[0]->CallCount(QmxCall::ReadSamples), 0);
    }
    // No enabled channel: complete, nothing to transfer, one stop.
    {
        CRunRig rig(2);
        CMultiQMXInterface& d = *rig.daq;
        for (int ch = 0; ch < d.GetMaxChannels(); ++ch)
            ASSERT_TRUE(d.DisableChannel(ch));
        ASSERT_TRUE(d.Start());
        ASSERT_TRUE(rig.window.WaitFor(kStop));
        ASSERT_TRUE(WaitIdle(d));
        EXPECT_EQ(rig.window.Numbers(), (Messages{kStart, kStop}));
        EXPECT_EQ(d.GetStatus(), 1);
    }
    // A unit that refuses to start: the window still hears the end.
    {
        CRunRig rig(2);
        CMultiQMXInterface& d = *rig.daq;
        rig.sims[0]->FailCall(QmxCall::StartAcquisition, 1);
        ASSERT_TRUE(d.Start());
        ASSERT_TRUE(rig.window.WaitFor(kStop));
        ASSERT_TRUE(WaitIdle(d));
        EXPECT_EQ(rig.window.Numbers(), (Messages{kStart, kStop}));
        EXPECT_EQ(d.GetStatus(), 0);
        EXPECT_EQ(d.GetState(), 1);
    }
}

TEST(MultiQMXInterface, ARunStartedWhileSettlingAcquiresOnlyOnceSettled)
{
    CRunRig rig(2, "", false, false); // connected at 1000 ms: settled from 31000 ms
    CMultiQMXInterface& d = *rig.daq;
    ASSERT_TRUE(d.SetDuration(0.0625f));
    rig.ms.Set(30999);
    EXPECT_EQ(d.AreAllUnitsIdle(), 0);
    ASSERT_TRUE(d.Start());
    ASSERT_TRUE(rig.window.WaitFor(kStart));
    // The worker looks again every 500 ms; it has looked at least once more by now.
    EXPECT_FALSE(WaitUntil([&] { return rig.sims[1]->CallCount(QmxCall::StartAcquisition) > 0; }, 700ms));
    EXPECT_EQ(d.GetState(), 0);
    rig.ms.Set(31000);
    EXPECT_EQ(d.AreAllUnitsIdle(), 1);
    ASSERT_TRUE(rig.window.WaitFor(kDone, 1, 3000ms));
    ASSERT_TRUE(rig.window.WaitFor(kStop));
    EXPECT_EQ(d.GetStatus(), 1);

    // A stop during the settling ends the wait at once, without starting anything.
    rig.ms.Set(40000);
    ASSERT_TRUE(d.SetChannelInputRange(0, 1.0)); // a range change restarts the settling time
    rig.window.Clear();
    const int starts = rig.sims[0]->CallCount(QmxCall::StartAcquisition);
    ASSERT_TRUE(d.Start());
    const auto before = std::chrono::steady_clock::now();
    d.StopAllUnits();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 400ms);
    EXPECT_EQ(rig.sims[0]->CallCount(QmxCall::StartAcquisition), starts);
    ASSERT_TRUE(rig.window.WaitFor(kStop));
    EXPECT_EQ(rig.window.Count(kDone), 0);
}

TEST(MultiQMXInterface, AnArmedRunSamplesFromItsTriggerOnAndAStopBeforeItEndsTheRunUnsampled)
{
    CRunRig rig(2);
    CMultiQMXInterface& d = *rig.daq;
    ASSERT_TRUE(d.SetSampleRate(51200.0f));
    ASSERT_TRUE(d.SetDuration(0.0625f)); // 3200 samples
    d.SetStartOnTrigger(true);
    ASSERT_TRUE(d.Start());
    ASSERT_TRUE(rig.window.WaitFor(kStart));
    EXPECT_FALSE(WaitUntil([&] { return rig.sims[0]->CallCount(QmxCall::StartAcquisition) > 0; }, 300ms)) << "armed";
    EXPECT_TRUE(d.IsWaitingForTrigger());
    EXPECT_EQ(d.GetLiveSampleCount(), 0);
    ASSERT_TRUE(d.SetTriggered());
    ASSERT_TRUE(rig.window.WaitFor(kStop));
    ASSERT_TRUE(WaitIdle(d));
    EXPECT_EQ(rig.window.Numbers(), (Messages{kStart, kBegin, kEnd, kDone, kStop}));
    EXPECT_FALSE(d.IsWaitingForTrigger());
    EXPECT_EQ(d.GetFirstUnitValue(), 3200);

    // Only the run after SetStartOnTrigger waits: the next samples at once.
    rig.window.Clear();
    ASSERT_TRUE(d.Start());
    EXPECT_FALSE(d.IsWaitingForTrigger());
    ASSERT_TRUE(rig.window.WaitFor(kDone));
    ASSERT_TRUE(rig.window.WaitFor(kStop));
    ASSERT_TRUE(WaitIdle(d));

    // Stopped while armed: nothing started, nothing completed.
    rig.window.Clear();
    const int starts = rig.sims[0]->CallCount(QmxCall::StartAcquisition);
    d.SetStartOnTrigger(true);
    ASSERT_TRUE(d.Start());
    ASSERT_TRUE(rig.window.WaitFor(kStart));
    ASSERT_TRUE(d.Stop());
    ASSERT_TRUE(rig.window.WaitFor(kStop, 2));
    ASSERT_TRUE(WaitIdle(d));
    EXPECT_EQ(rig.sims[0]->CallCount(QmxCall::StartAcquisition), starts);
    EXPECT_EQ(rig.window.Count(kDone), 0);
    EXPECT_EQ(d.GetStatus(), 0);
}

TEST(MultiQMXInterface, AUnitLostMidRunKeepsWhatTheOthersAcquiredUpToTheFault)
{
    CRunRig rig(2, "", true);
    CMultiQMXInterface& d = *rig.daq;
    ASSERT_TRUE(d.SetSampleRate(51200.0f));
    ASSERT_TRUE(d.SetDuration(1.0f));
    rig.LoseSystemAt(1, 20480); // the second system stops answering 0.4 s into the run
    ASSERT_TRUE(d.Start());
    ASSERT_TRUE(WaitUntil([&] { return rig.sims[0]->CallCount(QmxCall::StartAcquisition) == 1; }));
    rig.simUs = 400000;
    ASSERT_TRUE(rig.window.WaitFor(kStop));
    ASSERT_TRUE(WaitIdle(d));

    EXPECT_EQ(rig.window.Count(kDone), 0);
    EXPECT_EQ(d.GetStatus(), 0);
    const CDAQRunFault fault = d.GetRunFault();
    EXPECT_EQ(fault.Unit, 1);
    EXPECT_EQ(fault.SamplesKept, 20480);
    ASSERT_EQ(fault.MissingChannels.size(), 16u);
    EXPECT_EQ(fault.MissingChannels.front(), 16);
    EXPECT_NE(fault.Text().find("unit 2"), std::string::npos);
    EXPECT_NE(fault.Text().find("20480 samples"), std::string::npos);

    std::vector<float> got(20481);
    for (int ch = 0; ch < 16; ++ch) {
        ASSERT_TRUE(d.ReadData(ch, got.data(), 20480, 0)) << ch;
        const std::vector<float> expected = rig.Signal(0, ch, 20480);
        for (int i = 0; i < 20480; ++i)
            ASSERT_EQ(got[static_cast<size_t>(i)], expected[static_cast<size_t>(i)] * 1000.0f) << ch << " at " << i;
        EXPECT_FALSE(d.ReadData(ch, got.data(), 20481, 0));
    }
    for (int ch = 16; ch < 32; ++ch)
        EXPECT_FALSE(d.ReadData(ch, got.data(), 1, 0)) << ch;
}

TEST(MultiQMXInterface, AFreshRunBlockIsFaultedInWhileTheRunGoesOnAndItsHelpersEndWithTheRun)
{
    // Runs long enough for their samples to lie in a mapped block of each unit: its helper faults
    // it in while the systems acquire and ends with the run, whether the run is finished early
    // (keeping what came, a disabled channel's part of the block skipped) or stopped; the samples
    // are the systems' own.
    CRunRig rig(2, "", true);
    CMultiQMXInterface& d = *rig.daq;
    ASSERT_TRUE(d.SetSampleRate(51200.0f));
    ASSERT_TRUE(d.SetDuration(2.0f)); // 102400 samples, 6.5 MB per unit
    ASSERT_TRUE(d.DisableChannel(5));
    const int helpers = CBlockPrefault::HelpersPerBlock();
    ASSERT_EQ(CBlockPrefault::LiveHelpers(), 0);
    ASSERT_TRUE(d.Start());
    ASSERT_TRUE(WaitUntil([&] { return rig.sims[0]->CallCount(QmxCall::StartAcquisition) == 1; }));
    EXPECT_EQ(CBlockPrefault::LiveHelpers(), 2 * helpers);
    rig.simUs = 1000000;
    const int polls = rig.sims[0]->CallCount(QmxCall::GetProgress);
    ASSERT_TRUE(WaitUntil([&] { return rig.sims[0]->CallCount(QmxCall::GetProgress) > polls + 1; }));
    d.FinishRun();
    ASSERT_TRUE(rig.window.WaitFor(kDone));
    ASSERT_TRUE(rig.window.WaitFor(kStop));
    ASSERT_TRUE(WaitIdle(d));
    EXPECT_EQ(CBlockPrefault::LiveHelpers(), 0);
    EXPECT_EQ(d.GetStatus(), 1);
    std::vector<float> got(51200);
    for (const int global : {0, 4, 6, 15, 16, 31}) {
        ASSERT_TRUE(d.ReadData(global, got.data(), 51200, 0)) << global;
        const std::vector<float> expected = rig.Signal(global / 16, global % 16, 51200);
        for (size_t i = 0; i < got.size(); ++i)
            ASSERT_EQ(got[i], expected[i] * 1000.0f) << global << " at " << i;
    }
    EXPECT_FALSE(d.ReadData(5, got.data(), 1, 0));

    // A run of another length takes fresh blocks; the user stops it while it acquires.
    ASSERT_TRUE(d.SetDuration(3.0f));
    ASSERT_TRUE(d.Start());
    ASSERT_TRUE(WaitUntil([&] { return rig.sims[1]->CallCount(QmxCall::StartAcquisition) == 2; }));
    EXPECT_EQ(CBlockPrefault::LiveHelpers(), 2 * helpers);
    ASSERT_TRUE(d.Stop());
    ASSERT_TRUE(rig.window.WaitFor(kStop, 3));
    ASSERT_TRUE(WaitIdle(d));
    EXPECT_EQ(CBlockPrefault::LiveHelpers(), 0);
    EXPECT_EQ(d.GetStatus(), 0);
}

TEST(MultiQMXInterface, AUnitThatMakesNoProgressIsLostAfterTheStallLimit)
{
    struct StallLimit
    {
        StallLimit() { CQMXDAQInterface::SetStallLimit(50ms); }
        ~StallLimit() { CQMXDAQInterface::SetStallLimit(5000ms); }
    } limit;
    CRunRig rig(2, "", true);
    CMultiQMXInterface& d = *rig.daq;
    ASSERT_TRUE(d.SetDuration(0.015625f)); // 800 samples
    // The second system's clock stops at 100 samples; the first completes.
    rig.sims[1]->SetClock([&] { return std::min<int64_t>(rig.simUs.load(), 100 * 1000000 / 51200); });
    ASSERT_TRUE(d.Start());
    ASSERT_TRUE(WaitUntil([&] { return rig.sims[0]->CallCount(QmxCall::StartAcquisition) == 1; }));
    rig.simUs = 1000000;
    ASSERT_TRUE(rig.window.WaitFor(kStop, 1, 3000ms));
    ASSERT_TRUE(WaitIdle(d));
    EXPECT_EQ(d.GetRunFault().Unit, 1);
    EXPECT_EQ(d.GetStatus(), 0);
    EXPECT_EQ(rig.window.Count(kDone), 0);
}

TEST(MultiQMXInterface, APartialCountCompletesWithTheSamplesAcquiredSoFar)
{
    CRunRig rig(2, "", true);
    CMultiQMXInterface& d = *rig.daq;
    ASSERT_TRUE(d.SetDuration(1.0f));
    ASSERT_TRUE(d.Start());
    ASSERT_TRUE(WaitUntil([&] { return rig.sims[0]->CallCount(QmxCall::StartAcquisition) == 1; }));
    d.SetPartialCount();
    rig.simUs = 250000;
    const int polls = rig.sims[0]->CallCount(QmxCall::GetProgress);
    ASSERT_TRUE(WaitUntil([&] { return rig.sims[0]->CallCount(QmxCall::GetProgress) > polls + 1; }));
    rig.simUs = 2000000;
    ASSERT_TRUE(rig.window.WaitFor(kDone));
    ASSERT_TRUE(rig.window.WaitFor(kStop));
    EXPECT_EQ(d.GetFirstUnitValue(), 12800);
    std::vector<float> got(12801);
    EXPECT_TRUE(d.ReadData(20, got.data(), 12800, 0));
    EXPECT_FALSE(d.ReadData(20, got.data(), 12801, 0));
}

TEST(MultiQMXInterface, StartStopStartLoopsWithASlowTransferStayClean)
{
    CRunRig rig(2);
    CMultiQMXInterface& d = *rig.daq;
    ASSERT_TRUE(d.SetDuration(0.03125f));
    rig.window.onSend = [](uint32_t msg) {
        if (msg == kBegin)
            std::this_thread::sleep_for(2ms);
    };
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(d.Start());
        if (i % 3 == 1)
            d.Stop();
        else if (i % 3 == 2)
            d.StopAllUnits();
    }
    const int done = rig.window.Count(kDone);
    ASSERT_TRUE(d.Start());
    ASSERT_TRUE(rig.window.WaitFor(kDone, done + 1));
    ASSERT_TRUE(WaitIdle(d));
    EXPECT_EQ(rig.window.Count(kStart), 21);
    std::vector<float> got(1024);
    EXPECT_TRUE(d.ReadData(31, got.data(), 1024, 0));
}

TEST(DAQ, HoldsOneInterfaceUntilDestroyed)
{
    CDAQ::Destroy();
    EXPECT_FALSE(CDAQ::Exists());
    CBaseDAQInterface* a = CDAQ::GetInterface();
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(CDAQ::Exists());
    EXPECT_EQ(CDAQ::GetInterface(), a);
    EXPECT_EQ(CDAQ::GetMultiInterface(), a);
    EXPECT_EQ(a->GetMaxChannels(), 0);
    CDAQ::Destroy();
    EXPECT_FALSE(CDAQ::Exists());
}

} // namespace
