#include "acquisition/QmxInventoryReader.h"

#include "acquisition/QmxBlixChMgr.h"
#include "acquisition/QMXDAQInterface.h"
#include "acquisition/QmxDriverAccess.h"
#include "platform/base/Feedback.h"
#include "platform/qmx/QmxDriver.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

#include <array>

namespace {
constexpr int kFirstChain0 = 128;
constexpr int kFirstChain1 = 192;
constexpr int kLastDevice = 255;
} // namespace

bool CQmxInventoryReader::ReadAll()
{
    bool ok = true;
    for (CQmxBlixChMgr* inv : m_targets) {
        if (inv && !ReadSystem(*inv))
            ok = false;
    }
    return ok;
}

bool CQmxInventoryReader::ReadSystem(CQmxBlixChMgr& inventory)
{
    const CQmxDriverAccess access(m_source);
    const int count = access.GetBoardCount();
    inventory.RemoveAll();
    // A system that cannot say how many boards it has was not read, although nothing failed below.
    bool ok = count >= 0;
    for (int b = 0; b < count; ++b) {
        if (access.GetBoardType(b) != kQmxAcqBoardType)
            continue;
        if (!ReadBoard(inventory, b))
            ok = false;
        if (!ReadBoardUnits(inventory, b))
            ok = false;
    }
    inventory.Relink();
    return ok;
}

bool CQmxInventoryReader::ReadBoard(CQmxBlixChMgr& inventory, int board)
{
    const CQmxDriverAccess access(m_source);
    std::array<uint8_t, CQmxDriverAccess::kPageSize> page{};
    if (!access.ReadInfoPage(board, page.data(), page.size()))
        return false;
    CQmxBoardInfo info;
    info.SetSlot(static_cast<uint8_t>(board));
    info.SetFirstText(CQmxDriverAccess::TextAt(page.data(), page.size(), 8));
    info.SetSerial(CQmxDriverAccess::TextAt(page.data(), page.size(), 16));
    info.SetThirdText(CQmxDriverAccess::TextAt(page.data(), page.size(), 24));
    inventory.GetBoardInfoList().Add(info);
    return true;
}

bool CQmxInventoryReader::ReadBoardUnits(CQmxBlixChMgr& inventory, int board)
{
    const CQmxDriverAccess access(m_source);
    bool ok = true;
    for (int d = kFirstChain0; d <= kLastDevice; ++d) {
        if (access.GetDeviceType(board, d) != kQmxBlixDeviceType)
            continue;
        if (!ReadChannel(inventory, board, d < kFirstChain1 ? 0 : 1, d))
            ok = false;
    }
    return ok;
}

bool CQmxInventoryReader::ReadChannel(CQmxBlixChMgr& inventory, int board, int chain, int device)
{
    const CQmxDriverAccess access(m_source);
    std::array<uint8_t, CQmxDriverAccess::kBlockSize> block{};
    if (!access.ReadInfoBlock(board, device, block.data(), block.size()))
        return false;
    // The five serial bytes are taken as they are, NUL bytes included.
    const std::string serial(reinterpret_cast<const char*>(&block[4]), 5);
    if (inventory.GetBlixInfoList().FindBySerial(serial) < 0) {
        CQmxBlixInfo unit;
        unit.SetBoardSerial(access.ReadBoardSerial(board));
        unit.SetChain(static_cast<uint8_t>(chain));
        unit.SetSerialNumber(serial);
        unit.SetUnitText(std::string(reinterpret_cast<const char*>(&block[10]), 4));
        unit.SetUnitByte(static_cast<uint8_t>(GetInfoPageByte3(block.data())));
        unit.SetStatusFlag(0);
        inventory.GetBlixInfoList().Add(unit);
    }
    CQmxBlixChInfo ch;
    ch.SetBlixSerial(serial);
    ch.SetUnitChannel(block[9]);
    ch.SetDeviceAddress(static_cast<uint8_t>(device));
    ch.SetChannelNumber(static_cast<int16_t>(inventory.GetBlixChInfoList().GetSize()));
    ch.SetStatusBits(0);
    inventory.GetBlixChInfoList().Add(ch);
    return true;
}

bool CQmxInventoryReader::VerifyAll()
{
    for (CQmxBlixChMgr* inv : m_targets) {
        if (inv)
            Verify(*inv);
    }
    return true;
}

bool CQmxInventoryReader::Verify(CQmxBlixChMgr& inventory)
{
    const CQmxDriverAccess access(m_source);
    CFeedback* feedback = m_source ? m_source->GetFeedback() : SilentFeedback();
    CQmxBlixChInfoList& channels = inventory.GetBlixChInfoList();
    for (int i = 0; i < channels.GetSize(); ++i) {
        CQmxBlixChInfo& ch = channels[i];
        CQmxBlixInfo* unit = ch.GetBlix();
        if (!unit || !unit->GetBoard())
            continue;
        const int slot = unit->GetBoard()->GetSlot();
        const int device = ch.GetDeviceAddress();
        const std::string boardSerial = access.ReadBoardSerial(slot);
        const std::string unitSerial = access.ReadUnitSerial(slot, device);
        if (boardSerial != unit->GetBoard()->GetSerial()) {
            feedback->Warning(FormatString(IDS_BOARD_REPLACED, slot + 1), IDS_BOARD_REPLACED);
            continue;
        }
        if (unitSerial != ch.GetBlixSerial()) {
            feedback->Warning(FormatString(IDS_UNEXPECTED_UNIT_SERIAL, unitSerial.c_str()), IDS_UNEXPECTED_UNIT_SERIAL);
            continue;
        }
        unit->SetStatusFlag(access.TestUnitStatus(slot, device) ? 1 : 0);
        int bits = 0;
        if (access.TestStatus200000(slot, device))
            bits += 8;
        if (access.TestStatus400000(slot, device))
            bits += 4;
        if (access.TestStatus8000(slot, device))
            bits += 2;
        ch.SetStatusBits(static_cast<uint8_t>(bits));
    }
    return true;
}
