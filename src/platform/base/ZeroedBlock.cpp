#include "platform/base/ZeroedBlock.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>

#include <sys/mman.h>

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

} // namespace

CZeroedBlock::CZeroedBlock(size_t bytes)
{
    if (bytes > SIZE_MAX - 2 * kHugePage)
        throw std::bad_alloc();
    if (bytes < kMapBytes) {
        // calloc, not new[]: zeroed without a pass when the heap takes fresh pages.
        m_data = std::calloc(bytes ? bytes : 1, 1);
        if (!m_data)
            throw std::bad_alloc();
        m_bytes = bytes;
        return;
    }
    // A mapping that starts on a 2 MB boundary, so the kernel can fill it with whole huge pages;
    // the bytes over before the boundary and after the end are given back at once.
    const size_t length = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    void* raw = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        throw std::bad_alloc();
    const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t aligned = (start + kHugePage - 1) & ~uintptr_t{kHugePage - 1};
    if (aligned > start)
        ::munmap(raw, aligned - start);
    const uintptr_t tail = aligned + length;
    const uintptr_t end = start + length + kHugePage;
    if (end > tail)
        ::munmap(reinterpret_cast<void*>(tail), end - tail);
    m_data = reinterpret_cast<void*>(aligned);
#if defined(MADV_HUGEPAGE)
    ::madvise(m_data, length, MADV_HUGEPAGE); // advice only: without huge pages the block still works
#endif
    m_bytes = bytes;
    m_mappedBytes = length;
}

CZeroedBlock::~CZeroedBlock()
{
    Release();
}

CZeroedBlock::CZeroedBlock(CZeroedBlock&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_bytes(std::exchange(other.m_bytes, 0)),
      m_mappedBytes(std::exchange(other.m_mappedBytes, 0))
{}

CZeroedBlock& CZeroedBlock::operator=(CZeroedBlock&& other) noexcept
{
    if (this != &other) {
        Release();
        m_data = std::exchange(other.m_data, nullptr);
        m_bytes = std::exchange(other.m_bytes, 0);
        m_mappedBytes = std::exchange(other.m_mappedBytes, 0);
    }
    return *this;
}

void CZeroedBlock::Release() noexcept
{
    if (m_mappedBytes)
        ::munmap(m_data, m_mappedBytes);
    else
        std::free(m_data);
    m_data = nullptr;
    m_bytes = 0;
    m_mappedBytes = 0;
}
