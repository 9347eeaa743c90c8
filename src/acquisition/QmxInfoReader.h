#pragma once
// Reads one 256-byte information block of a device (a Blix channel) from the driver.
#include <cstdint>

class CQMXDAQInterface;
class IQmxSystem;
class IQmxChannel;

class CQmxInfoReader
{
public:
    CQmxInfoReader(CQMXDAQInterface* owner, IQmxSystem* system, IQmxChannel* channel)
        : m_owner(owner), m_system(system), m_channel(channel)
    {}

    static constexpr unsigned kBlockSize = 256;

    // 1 when the block was read. The first min(size, 256) bytes of the buffer are cleared and, on
    // success, filled: a smaller buffer is never written past its end.
    int ReadBlock(int unit, int address, unsigned char* buffer, unsigned size) const;

    CQMXDAQInterface* GetOwner() const { return m_owner; }
    IQmxSystem* GetSystem() const { return m_system; }

private:
    CQMXDAQInterface* m_owner;
    IQmxSystem* m_system;
    IQmxChannel* m_channel;
};

// Byte 3 of a block: the unit value, 0 to 255.
inline unsigned GetInfoPageByte3(const unsigned char* block)
{
    return block[3];
}
