#include "acquisition/QmxDriverAccess.h"

#include "acquisition/QMXDAQInterface.h"
#include "platform/qmx/QmxDriver.h"

#include <algorithm>
#include <array>
#include <cstring>

CQmxDriverAccess::CQmxDriverAccess(CQMXDAQInterface* source)
    : m_source(source), m_system(source ? source->GetSystemInterface() : nullptr),
      m_channel(source ? source->GetChannelInterface() : nullptr)
{}

bool CQmxDriverAccess::ReadInfoPage(int board, uint8_t* buffer, size_t size) const
{
    if (!buffer)
        return false;
    const size_t n = std::min(size, kPageSize);
    std::memset(buffer, 0, n);
    if (!m_system)
        return false;
    std::array<uint8_t, kPageSize> page{};
    if (QmxFailed(m_system->GetBoardInfoPage(board, page.data(), kQmxBoardPageSize)))
        return false;
    std::memcpy(buffer, page.data(), n);
    return true;
}

bool CQmxDriverAccess::ReadInfoBlock(int board, int device, uint8_t* buffer, size_t size) const
{
    const CQmxInfoReader reader(m_source, m_system, m_channel);
    return reader.ReadBlock(board, device, buffer, static_cast<unsigned>(std::min(size, kBlockSize))) != 0;
}

int CQmxDriverAccess::GetBoardCount() const
{
    int n = 0;
    return m_system && QmxSucceeded(m_system->GetBoardCount(&n)) ? n : -1;
}

int CQmxDriverAccess::GetBoardType(int board) const
{
    int t = 0;
    return m_system && QmxSucceeded(m_system->GetBoardType(board, &t)) ? t : -1;
}

int CQmxDriverAccess::GetDeviceType(int board, int device) const
{
    int t = 0;
    return m_system && QmxSucceeded(m_system->GetDeviceType(board, device, &t)) ? t : -1;
}

int32_t CQmxDriverAccess::GetStatusWord(int board, int device) const
{
    int w = 0;
    return m_system && QmxSucceeded(m_system->GetDeviceStatus(board, device, &w)) ? w : 0;
}

std::string CQmxDriverAccess::TextAt(const uint8_t* page, size_t size, size_t offset)
{
    if (offset >= size)
        return {};
    const char* at = reinterpret_cast<const char*>(page + offset);
    return std::string(at, strnlen(at, size - offset));
}

std::string CQmxDriverAccess::ReadBoardSerial(int board) const
{
    std::array<uint8_t, kPageSize> page{};
    if (!ReadInfoPage(board, page.data(), page.size()))
        return {};
    return TextAt(page.data(), page.size(), 16);
}

std::string CQmxDriverAccess::ReadUnitSerial(int board, int device) const
{
    std::array<uint8_t, kBlockSize> block{};
    if (!ReadInfoBlock(board, device, block.data(), block.size()))
        return {};
    return std::string(reinterpret_cast<const char*>(&block[4]), 5);
}
