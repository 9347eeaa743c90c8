#include "acquisition/QmxInfoReader.h"

#include "platform/qmx/QmxDriver.h"

#include <algorithm>
#include <array>
#include <cstring>

int CQmxInfoReader::ReadBlock(int unit, int address, unsigned char* buffer, unsigned size) const
{
    if (!buffer)
        return 0;
    const size_t n = std::min<size_t>(size, kBlockSize);
    std::memset(buffer, 0, n);
    if (!m_channel)
        return 0;
    std::array<uint8_t, kBlockSize> block{};
    if (QmxFailed(m_channel->GetDeviceInfoBlock(unit, address, block.data(), kQmxDeviceBlockSize)))
        return 0;
    std::memcpy(buffer, block.data(), n);
    return 1;
}
