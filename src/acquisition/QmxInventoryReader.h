#pragma once
// Turns what the boards and Blix channels of one system report about themselves into the records
// of hardware inventories, then checks them against a second reading and takes each channel's
// status bits. Boards are read in index order, devices in address order (chain 0, then chain 1),
// so channel numbers follow the driver layer's numbering.
#include <vector>

class CQMXDAQInterface;
class CQmxBlixChMgr;

class CQmxInventoryReader
{
public:
    explicit CQmxInventoryReader(CQMXDAQInterface* source) : m_source(source) {}

    void AddTarget(CQmxBlixChMgr* inventory) { m_targets.push_back(inventory); }

    bool ReadAll();
    // False when the board count, a board page or a device block could not be read; the inventory
    // keeps what was read.
    bool ReadSystem(CQmxBlixChMgr& inventory);
    bool ReadBoard(CQmxBlixChMgr& inventory, int board);
    bool ReadBoardUnits(CQmxBlixChMgr& inventory, int board);
    bool ReadChannel(CQmxBlixChMgr& inventory, int board, int chain, int device);

    // Mismatches with the hardware are reported as warnings on the source's feedback and leave the
    // records as they are.
    bool VerifyAll();
    bool Verify(CQmxBlixChMgr& inventory);

    static constexpr int kStatusUnit = 0x10000000;

private:
    CQMXDAQInterface* m_source;
    std::vector<CQmxBlixChMgr*> m_targets; // not owned
};
