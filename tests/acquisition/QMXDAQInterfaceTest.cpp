// The driver layer's connection and configuration, on a simulated system.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "acquisition/QMXDAQInterface.h"
#include "platform/base/DebugLog.h"
#include "platform/base/MsClock.h"
#include "platform/qmx/QmxSimSystem.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/ZuRegOptions.h"

namespace {
// One simulated system behind the driver factory, and an interface over it.
struct SimUnit
{
    explicit SimUnit(const std::string& layoutText = "", bool initialize = true)
    {
        CQmxSimLayout layout;
        EXPECT_TRUE(layout.Parse(layoutText));
        sim = CQmxSimSystem::Create(layout);
        CQmxDriverFactoryScope factory([this] { return sim; });
        daq = std::make_unique<CQMXDAQInterface>();
        if (initialize) {
            EXPECT_TRUE(daq->Initialize());
        }
    }

    std::shared_ptr<CQmxSimSystem> sim;
    std::unique_ptr<CQMXDAQInterface> daq;
};

std::string ReadDebugFile()
{
    std::ifstream in(CDebugLog::GetPath());
    return std::string(std::istreambuf_iterator<char>(in), {});
}
} // namespace

TEST(QMXDAQInterface, ChannelsAreNumberedByBoardThenAddress)
{
    SimUnit u("boards=2+0,4+0; pulse=-1"); // boards 1 and 2: 4 and 8 channels
    CQMXDAQInterface& d = *u.daq;
    ASSERT_EQ(d.GetMaxChannels(), 12);
    for (int ch = 0; ch < 12; ++ch) {
        const int board = ch < 4 ? 1 : 2;
        const int address = 128 + (ch < 4 ? ch : ch - 4);
        EXPECT_EQ(d.GetDriverAddress(ch), ((0x8000u | board) << 16) | address) << ch;
        EXPECT_TRUE(d.IsChannelEnabled(ch));
    }
    EXPECT_EQ(d.GetControlBoard(), 0);
    EXPECT_EQ(d.GetEnabledChannelCount(), 12);
    CHANNELINFO row;
    row.Channel = 5;
    ASSERT_TRUE(d.GetChannelInfo(&row));
    EXPECT_FLOAT_EQ(row.Range, 2.5f);
    EXPECT_FLOAT_EQ(row.Scale, 0.1f) << "read from the hardware: the units start at the widest range";

    // Looking up a channel that has no hardware never makes it one.
    EXPECT_EQ(d.GetDriverAddress(40), 0u);
    EXPECT_FALSE(d.IsChannelEnabled(40));
    EXPECT_EQ(d.GetMaxChannels(), 12);
    {
        // Told on the interface's feedback: the windows give the status bar, which shows a box.
        CScriptedPrompts prompts;
        CStatusBarFeedback boxes;
        d.SetFeedback(&boxes);
        EXPECT_FALSE(d.IsChannelAvailable(40, true));
        ASSERT_EQ(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().text, "Channel [41] is not available.");
        EXPECT_FALSE(d.IsChannelAvailable(41, false));
        EXPECT_EQ(prompts.Count(), 1u);
        d.SetFeedback(nullptr);
    }
    EXPECT_TRUE(d.IsChannelAvailable(11, true));
    EXPECT_TRUE(d.CheckAllChannels());
    EXPECT_EQ(d.GetMaxChannels(), 12);

    SimUnit none("boards=");
    EXPECT_EQ(none.daq->GetMaxChannels(), 0);
    EXPECT_EQ(none.daq->GetEnabledChannelCount(), 0);
    CHANNELINFO first;
    EXPECT_FALSE(none.daq->GetChannelInfo(&first));
}

TEST(QMXDAQInterface, ConnectWritesTheAddressInUseAndAFailureLeavesIt)
{
    ASSERT_TRUE(WriteProfileString("QMX", "IP", "0.0.0.0"));
    {
        SimUnit u;
        EXPECT_EQ(GetProfileString("QMX", "IP"), "192.168.0.100");
        EXPECT_EQ(u.daq->GetAddress(), "192.168.0.100");
        EXPECT_TRUE(u.daq->IsReady());
    }
    ASSERT_TRUE(WriteProfileString("QMX", "IP", "10.0.0.5"));
    SimUnit u("", false);
    u.sim->SetNoAnswer(true);
    EXPECT_FALSE(u.daq->Initialize());
    EXPECT_EQ(GetProfileString("QMX", "IP"), "10.0.0.5");
    EXPECT_EQ(u.daq->IsEnabled(), 0);
    EXPECT_FALSE(u.daq->IsReady());
    EXPECT_FALSE(u.daq->CheckAllChannels());

    // A system already connected is re-initialised.
    u.sim->SetNoAnswer(false);
    u.daq->SetEnabled(1);
    ASSERT_TRUE(u.daq->Initialize());
    EXPECT_TRUE(u.daq->Initialize());
    EXPECT_EQ(u.sim->CallCount(QmxCall::Reinitialize), 1);
    EXPECT_EQ(u.daq->GetEnabledChannelCount(), 16);
    EXPECT_TRUE(u.daq->Disconnect());
    EXPECT_EQ(u.daq->IsConnected(), 0);
    EXPECT_TRUE(u.daq->Disconnect()) << "nothing to do when not connected";
}

TEST(QMXDAQInterface, RangesSettleAndCountCalls)
{
    CManualMsClock clock(1000);
    SimUnit u;
    CQMXDAQInterface& d = *u.daq;
    EXPECT_EQ(d.GetSettledTime(), 0u);

    u.sim->SetRangeCode(1, 128, 1); // channel 0 at 1.0 V
    clock.Advance(40000);
    u.sim->ResetCallCounts();
    EXPECT_TRUE(d.SetChannelInputRange(0, 1.0));
    EXPECT_EQ(u.sim->CallCount(QmxCall::SetRangeCode), 0);
    EXPECT_TRUE(d.IsSettled()) << "an unchanged range does not restart the settling time";

    EXPECT_TRUE(d.SetChannelInputRange(0, 5.0));
    EXPECT_EQ(u.sim->RangeCode(0), 2);
    CHANNELINFO row;
    row.Channel = 0;
    ASSERT_TRUE(d.GetChannelInfo(&row));
    EXPECT_FLOAT_EQ(row.Scale, 10.0f);
    EXPECT_FALSE(d.IsSettled());
    EXPECT_TRUE(d.SetChannelInputRange(1, 0.1));
    EXPECT_EQ(u.sim->RangeCode(1), 0);
    EXPECT_DOUBLE_EQ(d.GetChannelInputRange(1), 0.1);

    u.sim->FailCall(QmxCall::SetRangeCode, 1);
    EXPECT_FALSE(d.SetAllInputRanges(1.0)) << "one channel refused";
    EXPECT_EQ(u.sim->RangeCode(15), 1) << "the others are still set";
    EXPECT_FALSE(d.SetChannelInputRange(16, 1.0));

    // Settled exactly 30000 ms after the last change, also across the timer's wrap.
    for (uint32_t start : {5000u, 0xFFFFF000u}) {
        clock.Set(start);
        d.MarkConfigured();
        clock.Advance(29999);
        EXPECT_FALSE(d.IsSettled()) << start;
        clock.Advance(1);
        EXPECT_TRUE(d.IsSettled()) << start;
        EXPECT_EQ(d.GetSettledTime(), 30000u);
    }
}

TEST(QMXDAQInterface, RatesCountsAndDurations)
{
    SimUnit u;
    CQMXDAQInterface& d = *u.daq;
    ASSERT_TRUE(d.SetSampleRate(16384.0f));
    EXPECT_EQ(u.sim->RateCode(7), 2);
    EXPECT_FLOAT_EQ(d.GetSampleRate(), 25600.0f);
    EXPECT_EQ(d.GetHardwareParam(), 10240);
    for (auto [hz, code] : {std::pair{12800.0f, 3}, {51200.0f, 1}, {60000.0f, 0}}) {
        ASSERT_TRUE(d.SetSampleRate(hz));
        EXPECT_EQ(u.sim->RateCode(0), code) << hz;
    }
    EXPECT_FALSE(d.SetSampleRate(0.0f));

    d.SetSampleRate(25600.0f);
    ASSERT_TRUE(d.SetDuration(1.0f));
    EXPECT_EQ(u.sim->SampleCount(0), 25600);
    EXPECT_EQ(u.sim->SampleCount(15), 25600);
    EXPECT_EQ(d.GetSampleCount(), 25600);
    EXPECT_FLOAT_EQ(d.GetDuration(), 1.0f);
    ASSERT_TRUE(d.SetDuration(0.5f));
    EXPECT_EQ(u.sim->SampleCount(0), 12800);

    // Without a rate there is no count to program.
    u.sim->ResetCallCounts();
    u.sim->FailCall(QmxCall::GetRateCode, 1);
    EXPECT_FALSE(d.SetDuration(1.0f));
    EXPECT_EQ(u.sim->CallCount(QmxCall::SetSampleCount), 0);
    EXPECT_EQ(d.GetSampleCount(), 12800);
    u.sim->FailCall(QmxCall::GetRateCode, 1);
    EXPECT_EQ(d.GetHardwareParam(), 0);
    EXPECT_FALSE(d.SetDuration(0.0f));
}

TEST(QMXDAQInterface, TriggersAndSyncFailWhenTheDriverDoes)
{
    SimUnit u;
    CQMXDAQInterface& d = *u.daq;
    ASSERT_TRUE(d.SetReferenceChannel(3));
    EXPECT_EQ(u.sim->TriggerMode(3), 1);
    EXPECT_EQ(u.sim->TriggerMode(2), 0);
    CHANNELINFO row;
    row.Channel = 3;
    d.GetChannelInfo(&row);
    EXPECT_EQ(row.DataType, 8);

    row.Sensitivity = 50.0f;
    row.Scale = 0.0f;
    ASSERT_TRUE(d.SetChannelInfo(&row));
    EXPECT_FALSE(d.SetTriggerLevel(0.0f));
    ASSERT_TRUE(d.SetTriggerLevel(20.0f));
    EXPECT_EQ(u.sim->TriggerMode(3), 2);
    EXPECT_FLOAT_EQ(u.sim->TriggerLevel(3), 1.0f) << "20 units x 50 mV per unit";
    EXPECT_FLOAT_EQ(d.GetTriggerLevel(), 20.0f);

    u.sim->FailCall(QmxCall::SetChannelTriggerLevel, 1);
    EXPECT_FALSE(d.SetTriggerLevel(30.0f));
    EXPECT_FLOAT_EQ(d.GetTriggerLevel(), 20.0f);

    u.sim->FailCall(QmxCall::SelectTriggerChannel, 1);
    EXPECT_FALSE(d.SetReferenceChannel(5));
    EXPECT_EQ(d.GetReferenceChannelIndex(), 3);
    EXPECT_FALSE(d.SetReferenceChannel(40));

    EXPECT_FALSE(d.ApplySync()) << "no sync interface yet";
    ASSERT_TRUE(d.SetSyncRole(1));
    EXPECT_EQ(u.sim->SyncRole(), 1);
    EXPECT_EQ(d.GetSyncRole(), 1);
    EXPECT_TRUE(d.ApplySync());

    SimUnit refused;
    refused.sim->FailCall(QmxCall::QuerySync, 1);
    EXPECT_FALSE(refused.daq->SetSyncRole(0));
    EXPECT_EQ(refused.daq->GetSyncRole(), -1);

    // Channel info carries the range through to the hardware and keeps the limit out of it.
    row.Channel = 4;
    row.Scale = 1.0f;
    row.Limit = 7.0f;
    ASSERT_TRUE(d.SetChannelInfo(&row));
    EXPECT_EQ(u.sim->RangeCode(4), 1);
    CHANNELINFO back;
    back.Channel = 4;
    ASSERT_TRUE(d.GetChannelInfo(&back));
    EXPECT_FLOAT_EQ(back.Limit, 0.0f);
}

TEST(QMXDAQInterface, AFailedInventoryStillConnectsAndIsLogged)
{
    SimUnit u("", false);
    u.sim->FailCall(QmxCall::GetDeviceInfoBlock, 1);
    ASSERT_TRUE(u.daq->Initialize());
    EXPECT_TRUE(u.daq->IsReady());
    EXPECT_EQ(u.daq->GetInventory().GetBlixChInfoList().GetSize(), 15) << "the rest was read";
    EXPECT_NE(ReadDebugFile().find("inventory could not be read"), std::string::npos);
}
