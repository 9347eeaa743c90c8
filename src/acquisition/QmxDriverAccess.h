#pragma once
// The driver calls the inventory reader makes of one system, each failure reported as a plain
// value: -1 for a count or type that cannot be read, 0 for a status word.
#include "acquisition/QmxInfoReader.h"

#include <cstddef>
#include <cstdint>
#include <string>

class CQMXDAQInterface;
class IQmxSystem;
class IQmxChannel;

class CQmxDriverAccess
{
public:
    explicit CQmxDriverAccess(CQMXDAQInterface* source);

    static constexpr size_t kPageSize = 1030;
    static constexpr size_t kBlockSize = 256;

    // The buffer (at most its size, up to a page) is cleared first and filled on success.
    bool ReadInfoPage(int board, uint8_t* buffer, size_t size) const;
    bool ReadInfoBlock(int board, int device, uint8_t* buffer, size_t size) const;
    int GetBoardCount() const;
    int GetBoardType(int board) const;
    int GetDeviceType(int board, int device) const;
    int32_t GetStatusWord(int board, int device) const;
    int32_t TestUnitStatus(int board, int device) const { return GetStatusWord(board, device) & 0x10000000; }
    int32_t TestStatus8000(int board, int device) const { return GetStatusWord(board, device) & 0x8000; }
    int32_t TestStatus400000(int board, int device) const { return GetStatusWord(board, device) & 0x400000; }
    int32_t TestStatus200000(int board, int device) const { return GetStatusWord(board, device) & 0x200000; }

    // The board's serial text (offset 16 of its page); empty when the page cannot be read.
    std::string ReadBoardSerial(int board) const;
    // The device's unit serial (bytes 4-8 of its block, taken as they are); empty on failure.
    std::string ReadUnitSerial(int board, int device) const;

    // A NUL-terminated text at offset of a page, bounded by the page.
    static std::string TextAt(const uint8_t* page, size_t size, size_t offset);

private:
    CQMXDAQInterface* m_source;
    IQmxSystem* m_system;
    IQmxChannel* m_channel;
};
