// The simulated acquisition system: layout, information pages, codes, signals, clocks and faults.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/qmx/QmxSimSystem.h"
#include "platform/win/ZuRegOptions.h"

namespace {
std::shared_ptr<CQmxSimSystem> Connected(const std::string& layoutText = "")
{
    CQmxSimLayout layout;
    EXPECT_TRUE(layout.Parse(layoutText));
    auto sim = CQmxSimSystem::Create(layout);
    EXPECT_GE(sim->Open(1, 1), 0);
    return sim;
}

std::vector<float> Read(CQmxSimSystem& sim, int channel, int count)
{
    int board = 0, device = 0;
    EXPECT_TRUE(sim.ChannelAddress(channel, board, device));
    std::vector<float> data(static_cast<size_t>(count));
    EXPECT_GE(sim.ReadSamples(board, device, data.data(), count), 0);
    return data;
}
} // namespace

TEST(QmxSimLayout, ParsesItsTextAndRefusesBadItems)
{
    CQmxSimLayout l;
    ASSERT_TRUE(l.Parse("boards=4+4, 2+0; control=0; serial=200; pulse=3; rpm=800-4000; orders=1:0.5,2.5:0.1"));
    EXPECT_EQ(l.boards.size(), 2u);
    EXPECT_EQ(l.UnitCount(), 10);
    EXPECT_EQ(l.ChannelCount(), 20);
    EXPECT_FALSE(l.controlBoard);
    EXPECT_EQ(l.firstSerial, 200);
    EXPECT_DOUBLE_EQ(l.rpmStart, 800.0);
    EXPECT_DOUBLE_EQ(l.orders[1].first, 2.5);

    for (const char* bad : {"boards=5+0", "pulse=x", "colour=red", "rpm=1000", "orders=2", "noise"}) {
        CQmxSimLayout keep;
        std::string error;
        EXPECT_FALSE(keep.Parse(bad, &error)) << bad;
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(keep.UnitCount(), 8) << "a refused text changes nothing";
    }
}

TEST(QmxSimLayout, SettingsGiveEachAddressItsSystem)
{
    WriteProfileString(CQmxSimLayout::kSettingsSection, "10.1.1.7", "boards=1+0; serial=500");
    WriteProfileString(CQmxSimLayout::kSettingsSection, "10.1.1.8", "none");
    CQmxSimLayout l;
    ASSERT_TRUE(CQmxSimLayout::FromSettings("10.1.1.7", l));
    EXPECT_EQ(l.ChannelCount(), 2);
    EXPECT_FALSE(CQmxSimLayout::FromSettings("10.1.1.8", l));
    ASSERT_TRUE(CQmxSimLayout::FromSettings("10.1.1.9", l)); // no entry, no "Default": built-in
    EXPECT_EQ(l.ChannelCount(), 16);

    auto sim = CQmxSimSystem::Create();
    sim->SetAddress("10.1.1.7");
    ASSERT_GE(sim->Open(1, 1), 0);
    EXPECT_EQ(sim->UnitSerial(0), "00500");
    auto silent = CQmxSimSystem::Create();
    silent->SetAddress("10.1.1.8");
    EXPECT_LT(silent->Open(1, 1), 0);
}

TEST(QmxSimSystem, BoardsPagesAndBlocksDescribeTheLayout)
{
    auto sim = Connected("boards=4+4,1+1; serial=41");
    int count = 0, type = 0;
    ASSERT_GE(sim->GetBoardCount(&count), 0);
    EXPECT_EQ(count, 3);
    sim->GetBoardType(0, &type);
    EXPECT_EQ(type, kQmxControlBoardType);
    sim->GetBoardType(2, &type);
    EXPECT_EQ(type, kQmxAcqBoardType);
    EXPECT_EQ(std::memcmp(&type, "10 R", 4), 0);

    std::vector<uint8_t> page(kQmxBoardPageSize);
    ASSERT_GE(sim->GetBoardInfoPage(1, page.data(), kQmxBoardPageSize), 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(&page[8]), "10 R");
    EXPECT_STREQ(reinterpret_cast<const char*>(&page[16]), sim->BoardSerial(1).c_str());
    EXPECT_LT(sim->GetBoardInfoPage(1, page.data(), 1000), 0) << "a page of the wrong size";

    // Board 2: one unit on chain 0 (128, 129), one on chain 1 (192, 193).
    int present = 0;
    for (int a : {128, 129, 192, 193}) {
        sim->HasChannel(2, a, &present);
        EXPECT_EQ(present, 1) << a;
        sim->GetDeviceType(2, a, &type);
        EXPECT_EQ(type, kQmxBlixDeviceType);
    }
    sim->HasChannel(2, 130, &present);
    EXPECT_EQ(present, 0);

    std::vector<uint8_t> block(kQmxDeviceBlockSize);
    ASSERT_GE(sim->GetDeviceInfoBlock(2, 193, block.data(), kQmxDeviceBlockSize), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&block[4]), 5), "00050"); // the tenth unit
    EXPECT_EQ(block[9], 2);
    EXPECT_EQ(block[3], 2);
}

TEST(QmxSimSystem, CodesAreKeptPerChannelAndBadOnesRefused)
{
    auto sim = Connected();
    int board = 0, device = 0, code = -1;
    ASSERT_TRUE(sim->ChannelAddress(5, board, device));
    EXPECT_GE(sim->SetRangeCode(board, device, 2), 0);
    EXPECT_GE(sim->GetRangeCode(board, device, &code), 0);
    EXPECT_EQ(code, 2);
    EXPECT_LT(sim->SetRangeCode(board, device, 3), 0);
    EXPECT_LT(sim->SetRateCode(board, device, 4), 0);
    EXPECT_LT(sim->SetSampleCount(board, device, -1), 0);
    EXPECT_LT(sim->SetRangeCode(board, 250, 1), 0) << "no channel at that address";
    EXPECT_EQ(sim->RangeCode(5), 2);
    EXPECT_EQ(sim->RangeCode(4), 0) << "an untouched channel keeps the widest range";
}

TEST(QmxSimSystem, DrivenClockAdvancesTheAcquisition)
{
    auto sim = Connected();
    std::atomic<int64_t> now{1'000'000};
    sim->SetClock([&] { return now.load(); });
    int board = 0, device = 0;
    sim->ChannelAddress(0, board, device);
    sim->SetRateCode(board, device, 3); // 12800 Hz
    sim->SetSampleCount(board, device, 12800);
    ASSERT_GE(sim->StartAcquisition(), 0);

    int acquired = -1, requested = -1;
    sim->GetProgress(board, device, &acquired, &requested, nullptr, nullptr);
    EXPECT_EQ(acquired, 0);
    EXPECT_EQ(requested, 12800);
    now += 250'000;
    sim->GetProgress(board, device, &acquired, &requested, nullptr, nullptr);
    EXPECT_EQ(acquired, 3200);
    const std::vector<float> live = Read(*sim, 0, 12800); // while the run goes on: 3200, then zeros
    now += 10'000'000;
    sim->GetProgress(board, device, &acquired, &requested, nullptr, nullptr);
    EXPECT_EQ(acquired, 12800) << "never beyond the count";

    // Samples are the same however they are fetched: read live, then the whole run (the rest made
    // straight into the reader's buffer), then the whole run again and its head (made anew, as the
    // unit keeps no copy of a complete run).
    const std::vector<float> all = Read(*sim, 0, 12800);
    EXPECT_TRUE(std::equal(live.begin(), live.begin() + 3200, all.begin()));
    EXPECT_TRUE(std::all_of(live.begin() + 3200, live.end(), [](float v) { return v == 0.0f; }));
    EXPECT_EQ(Read(*sim, 0, 12800), all);
    std::vector<float> head(100);
    sim->ReadSamples(board, device, head.data(), 100);
    EXPECT_TRUE(std::equal(head.begin(), head.end(), all.begin()));
}

TEST(QmxSimSystem, ImmediateClockCompletesAtStartAndStopFreezes)
{
    auto sim = Connected();
    sim->SetClock({});
    int board = 0, device = 0, acquired = 0, requested = 0;
    sim->ChannelAddress(3, board, device);
    sim->StartAcquisition();
    sim->GetProgress(board, device, &acquired, &requested, nullptr, nullptr);
    EXPECT_EQ(acquired, requested);

    std::atomic<int64_t> now{0};
    sim->SetClock([&] { return now.load(); });
    sim->StartAcquisition();
    now += 100'000;
    sim->StopAcquisition();
    now += 900'000;
    sim->GetProgress(board, device, &acquired, &requested, nullptr, nullptr);
    EXPECT_EQ(acquired, 5120) << "51200 Hz for the 100 ms before the stop";
}

TEST(QmxSimSystem, SignalsFollowTheRampAndClipAtTheRange)
{
    auto sim = Connected("rpm=600-600; pulses=1; orders=1:2.0; noise=0");
    sim->SetClock({});
    int board = 0, device = 0;
    for (int ch : {0, 15}) {
        sim->ChannelAddress(ch, board, device);
        sim->SetRateCode(board, device, 3);
        sim->SetSampleCount(board, device, 12800);
    }
    sim->ChannelAddress(0, board, device);
    sim->SetRangeCode(board, device, 1); // 1 V: the 2 V order is clipped
    sim->StartAcquisition();

    // 600 RPM with one pulse per revolution: 10 rising edges a second.
    const std::vector<float> pulse = Read(*sim, 15, 12800);
    int edges = 0;
    for (size_t i = 1; i < pulse.size(); ++i)
        edges += pulse[i] > 2.5f && pulse[i - 1] <= 2.5f;
    EXPECT_NEAR(edges, 10, 1);
    EXPECT_FLOAT_EQ(*std::max_element(pulse.begin(), pulse.end()), 5.0f);

    const std::vector<float> vib = Read(*sim, 0, 12800);
    EXPECT_FLOAT_EQ(*std::max_element(vib.begin(), vib.end()), 1.0f);
    EXPECT_FLOAT_EQ(*std::min_element(vib.begin(), vib.end()), -1.0f);
    // First order at 10 Hz: 10 upward zero crossings.
    int crossings = 0;
    for (size_t i = 1; i < vib.size(); ++i)
        crossings += vib[i] > 0.0f && vib[i - 1] <= 0.0f;
    EXPECT_NEAR(crossings, 10, 1);
}

TEST(QmxSimSystem, ACounterChannelCountsItsSamples)
{
    auto sim = Connected("counter=3");
    sim->SetClock({});
    int board = 0, device = 0;
    sim->ChannelAddress(3, board, device);
    sim->SetSampleCount(board, device, 10000);
    sim->StartAcquisition();
    const std::vector<float> counter = Read(*sim, 3, 10000);
    for (int i = 0; i < 10000; ++i)
        ASSERT_EQ(counter[static_cast<size_t>(i)], static_cast<float>(i % 8192) / 1024.0f) << i;
}

TEST(QmxSimSystem, InjectedFaults)
{
    auto sim = CQmxSimSystem::Create(CQmxSimLayout{});
    sim->SetNoAnswer(true);
    EXPECT_LT(sim->Open(1, 1), 0);
    int count = 0;
    EXPECT_LT(sim->GetBoardCount(&count), 0) << "nothing answers before a connection";
    sim->SetNoAnswer(false);
    ASSERT_GE(sim->Open(1, 1), 0);

    sim->FailCall(QmxCall::GetBoardCount, 2);
    EXPECT_LT(sim->GetBoardCount(&count), 0);
    EXPECT_LT(sim->GetBoardCount(&count), 0);
    EXPECT_GE(sim->GetBoardCount(&count), 0);
    EXPECT_EQ(sim->CallCount(QmxCall::GetBoardCount), 4);

    // Overload: the gain drives the channel into its range.
    sim->SetClock({});
    sim->SetGain(2, 100.0f);
    sim->StartAcquisition();
    const std::vector<float> loud = Read(*sim, 2, 4096);
    EXPECT_EQ(std::count(loud.begin(), loud.end(), 10.0f) + std::count(loud.begin(), loud.end(), -10.0f) > 100, true);

    // A unit lost at sample 1000 stops there; its neighbour goes on.
    std::atomic<int64_t> now{0};
    sim->SetClock([&] { return now.load(); });
    sim->LoseUnitAt(1, 1000); // channels 2 and 3
    sim->StartAcquisition();
    int board = 0, device = 0, acquired = 0, requested = 0;
    sim->ChannelAddress(2, board, device);
    now += 10'000; // 512 samples at 51200 Hz
    EXPECT_GE(sim->GetProgress(board, device, &acquired, &requested, nullptr, nullptr), 0);
    EXPECT_EQ(acquired, 512);
    now += 1'000'000;
    EXPECT_LT(sim->GetProgress(board, device, &acquired, &requested, nullptr, nullptr), 0);
    float sample = 0.0f;
    EXPECT_LT(sim->ReadSamples(board, device, &sample, 1), 0);
    sim->ChannelAddress(4, board, device);
    EXPECT_GE(sim->GetProgress(board, device, &acquired, &requested, nullptr, nullptr), 0);

    // Status words and replacements show in what the system reports.
    sim->ChannelAddress(0, board, device);
    ASSERT_TRUE(sim->SetDeviceStatus(board, device, 0x10200000));
    int word = 0;
    sim->GetDeviceStatus(board, device, &word);
    EXPECT_EQ(word, 0x10200000);
    ASSERT_TRUE(sim->ReplaceUnit(0, "77777"));
    std::vector<uint8_t> block(kQmxDeviceBlockSize);
    sim->GetDeviceInfoBlock(board, device, block.data(), kQmxDeviceBlockSize);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&block[4]), 5), "77777");
    ASSERT_TRUE(sim->ReplaceBoard(1, "R99999"));
    EXPECT_EQ(sim->BoardSerial(1), "R99999");

    sim->FailCall(QmxCall::QuerySync, 1);
    EXPECT_EQ(sim->QuerySync(), nullptr);
    EXPECT_NE(sim->QuerySync(), nullptr);
}
