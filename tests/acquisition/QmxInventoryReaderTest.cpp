// The hardware inventory read from a simulated system and checked against it.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "acquisition/QMXDAQInterface.h"
#include "acquisition/QmxDriverAccess.h"
#include "acquisition/QmxInfoReader.h"
#include "acquisition/QmxInventoryReader.h"
#include "platform/archive/Archive.h"
#include "platform/qmx/QmxSimSystem.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/StringTable.h"

namespace {
struct Unit
{
    explicit Unit(const std::string& layoutText)
    {
        CQmxSimLayout layout;
        EXPECT_TRUE(layout.Parse(layoutText));
        sim = CQmxSimSystem::Create(layout);
        CQmxDriverFactoryScope factory([this] { return sim; });
        daq = std::make_unique<CQMXDAQInterface>();
        EXPECT_GE(sim->Open(1, 1), 0);
    }

    // A fresh reading into inv.
    bool Read(CQmxBlixChMgr& target)
    {
        CQmxInventoryReader reader(daq.get());
        reader.AddTarget(&target);
        return reader.ReadAll() && reader.VerifyAll();
    }

    std::shared_ptr<CQmxSimSystem> sim;
    std::unique_ptr<CQMXDAQInterface> daq;
    CQmxBlixChMgr inv;
};
} // namespace

TEST(QmxInventoryReader, UnitsAndChannelsFromTheBlocks)
{
    // Eight channels reporting one serial: one unit, eight channel records.
    Unit one("boards=4+0; serial=10");
    for (int unit = 0; unit < 4; ++unit)
        one.sim->ReplaceUnit(unit, "12345");
    ASSERT_TRUE(one.Read(one.inv));
    ASSERT_EQ(one.inv.GetBlixInfoList().GetSize(), 1);
    ASSERT_EQ(one.inv.GetBlixChInfoList().GetSize(), 8);
    EXPECT_EQ(one.inv.GetBoardInfoList().GetSize(), 1);
    for (int i = 0; i < 8; ++i) {
        const CQmxBlixChInfo& ch = one.inv.GetBlixChInfoList()[i];
        EXPECT_EQ(ch.GetChannelNumber(), i);
        EXPECT_EQ(ch.GetDeviceAddress(), 128 + i);
        EXPECT_EQ(ch.GetUnitChannel(), 1 + i % 2) << "as byte 9 reports it";
        EXPECT_EQ(ch.GetBlix(), &one.inv.GetBlixInfoList()[0]);
    }
    const CQmxBlixInfo& unit = one.inv.GetBlixInfoList()[0];
    EXPECT_EQ(unit.GetChain(), 0);
    EXPECT_EQ(unit.GetUnitText(), "BX02");
    EXPECT_EQ(unit.GetUnitByte(), 2);
    EXPECT_EQ(unit.GetBoardSerial(), one.sim->BoardSerial(1));
    EXPECT_EQ(unit.GetBoard(), &one.inv.GetBoardInfoList()[0]);
    EXPECT_EQ(one.inv.GetBoardInfoList()[0].GetSlot(), 1);
    EXPECT_EQ(one.inv.GetBoardInfoList()[0].GetFirstText(), "10 R");

    // One serial on two boards: one unit, the first board's.
    Unit two("boards=1+0,1+0");
    two.sim->ReplaceUnit(1, two.sim->UnitSerial(0));
    ASSERT_TRUE(two.Read(two.inv));
    ASSERT_EQ(two.inv.GetBlixInfoList().GetSize(), 1);
    EXPECT_EQ(two.inv.GetBlixInfoList()[0].GetBoardSerial(), two.sim->BoardSerial(1));
    EXPECT_EQ(two.inv.GetBlixChInfoList().GetSize(), 4);
    EXPECT_EQ(two.inv.GetBoardInfoList().GetSize(), 2);

    // NUL bytes in a serial are kept; a unit on chain 1.
    Unit odd("boards=0+1");
    const std::string nulSerial("12\0\0\0", 5);
    odd.sim->ReplaceUnit(0, nulSerial);
    ASSERT_TRUE(odd.Read(odd.inv));
    ASSERT_EQ(odd.inv.GetBlixInfoList().GetSize(), 1);
    EXPECT_EQ(odd.inv.GetBlixInfoList()[0].GetSerialNumber(), nulSerial);
    EXPECT_EQ(odd.inv.GetBlixInfoList()[0].GetChain(), 1);
    EXPECT_EQ(odd.inv.GetBlixChInfoList()[0].GetDeviceAddress(), 192);

    // A failed block read fails the reading and keeps the rest.
    Unit broken("boards=2+0");
    broken.sim->FailCall(QmxCall::GetDeviceInfoBlock, 1);
    CQmxInventoryReader reader(broken.daq.get());
    reader.AddTarget(&broken.inv);
    EXPECT_FALSE(reader.ReadAll());
    EXPECT_EQ(broken.inv.GetBlixChInfoList().GetSize(), 3);
    // A system that cannot count its boards was not read either.
    broken.sim->FailCall(QmxCall::GetBoardCount, 1);
    EXPECT_FALSE(reader.ReadAll());
    EXPECT_FALSE(broken.inv.HasHardware());
}

TEST(QmxInventoryReader, VerificationReportsReplacementsAndTakesStatusWords)
{
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
    CStatusBarFeedback boxes;
    Unit u("boards=2+2,1+0");
    ASSERT_TRUE(u.Read(u.inv));
    ASSERT_EQ(u.inv.GetBlixChInfoList().GetSize(), 10);

    // Status words: unit flag from 0x10000000, channel bits 8, 4, 2.
    u.sim->SetDeviceStatus(1, 129, 0x10000000 | 0x200000 | 0x8000);
    u.sim->SetDeviceStatus(1, 192, 0x400000);
    // The mismatches go to the interface's feedback: the windows give the status bar's boxes.
    u.daq->SetFeedback(&boxes);
    CQmxInventoryReader reader(u.daq.get());
    reader.AddTarget(&u.inv);
    {
        CScriptedPrompts prompts;
        EXPECT_TRUE(reader.VerifyAll());
        EXPECT_EQ(prompts.Count(), 0u);
    }
    EXPECT_EQ(u.inv.GetBlixChInfoList()[1].GetStatusBits(), 10);
    EXPECT_EQ(u.inv.GetBlixChInfoList()[4].GetStatusBits(), 4);
    EXPECT_EQ(u.inv.GetBlixChInfoList()[0].GetStatusBits(), 0);
    EXPECT_TRUE(u.inv.GetBlixInfoList()[0].IsStatusFlagSet());
    EXPECT_FALSE(u.inv.GetBlixInfoList()[1].IsStatusFlagSet());

    // A replaced board: message 7008 with the slot counted from 1, for each of its channels.
    u.sim->ReplaceBoard(2, "R77777");
    u.sim->SetDeviceStatus(2, 128, 0x200000);
    {
        CScriptedPrompts prompts;
        EXPECT_TRUE(reader.VerifyAll());
        ASSERT_EQ(prompts.Count(), 2u);
        EXPECT_EQ(prompts.Last().stringId, 7008u);
        EXPECT_EQ(prompts.Last().text, "The board in slot 3 was replaced.");
    }
    EXPECT_EQ(u.inv.GetBlixChInfoList()[8].GetStatusBits(), 0) << "left unchanged";

    // A changed unit: message 7009 with the serial just read.
    u.sim->ReplaceBoard(2, u.inv.GetBoardInfoList()[1].GetSerial());
    u.sim->ReplaceUnit(0, "99999");
    {
        CScriptedPrompts prompts;
        reader.VerifyAll();
        ASSERT_EQ(prompts.Count(), 2u);
        EXPECT_EQ(prompts.Last().stringId, 7009u);
        EXPECT_EQ(prompts.Last().text, "Unexpected unit serial 99999.");
    }

    // The inventory as stored reads back the same, linked.
    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        u.inv.Serialize(ar);
    }
    CQmxBlixChMgr back;
    CArchive in(bytes.data(), bytes.size());
    back.Serialize(in);
    ASSERT_EQ(back.GetBlixChInfoList().GetSize(), 10);
    EXPECT_EQ(back.GetBlixChInfoList()[1].GetStatusBits(), 10);
    EXPECT_EQ(back.GetBlixInfoList().GetSize(), 5);
    EXPECT_EQ(back.GetBlixChInfoList()[9].GetBlix(), &back.GetBlixInfoList()[4]);
    EXPECT_EQ(back.GetBlixInfoList()[4].GetBoard(), &back.GetBoardInfoList()[1]);
}

TEST(QmxInfoReader, BlockReadsAreBoundedAndClearedOnRefusal)
{
    Unit u("boards=1+0");
    const CQmxInfoReader reader(u.daq.get(), u.daq->GetSystemInterface(), u.daq->GetChannelInterface());
    unsigned char block[300];
    std::memset(block, 0xAB, sizeof block);
    u.sim->FailCall(QmxCall::GetDeviceInfoBlock, 1);
    EXPECT_EQ(reader.ReadBlock(1, 128, block, 256), 0);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(block[i], 0) << i;
    EXPECT_EQ(block[256], 0xAB);

    std::memset(block, 0xAB, sizeof block);
    EXPECT_EQ(reader.ReadBlock(1, 128, block, 8), 1);
    EXPECT_EQ(block[4], '0');
    EXPECT_EQ(block[8], 0xAB) << "a smaller buffer is not written past its end";
    EXPECT_EQ(reader.ReadBlock(1, 128, block, 256), 1);
    EXPECT_EQ(block[9], 1);

    block[3] = 0xFF;
    EXPECT_EQ(GetInfoPageByte3(block), 255u);

    const CQmxDriverAccess access(u.daq.get());
    EXPECT_EQ(access.GetBoardCount(), 2);
    EXPECT_EQ(access.GetDeviceType(1, 130), 0);
    u.sim->FailCall(QmxCall::GetDeviceType, 1);
    EXPECT_EQ(access.GetDeviceType(1, 128), -1);
    u.sim->FailCall(QmxCall::GetDeviceStatus, 1);
    EXPECT_EQ(access.GetStatusWord(1, 128), 0);
}
