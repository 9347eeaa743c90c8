#include "uff/UFValueBlock.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#include <sys/mman.h>

namespace {

constexpr size_t kHugePage = size_t{2} << 20;
// Below this the heap serves the block: a dataset read alone reuses what the last one freed.
constexpr size_t kMapBytes = size_t{4} << 20;

} // namespace

std::shared_ptr<CUFValueBlock> CUFValueBlock::Make(size_t count)
{
    if (count > SIZE_MAX / sizeof(double) - kHugePage)
        throw std::bad_alloc();
    const size_t bytes = count * sizeof(double);
    if (bytes < kMapBytes) {
        // calloc, not new[]: zeroed without a pass when the heap takes fresh pages.
        auto* data = static_cast<double*>(std::calloc(count ? count : 1, sizeof(double)));
        if (!data)
            throw std::bad_alloc();
        try {
            return std::shared_ptr<CUFValueBlock>(new CUFValueBlock(data, count, 0));
        } catch (...) {
            std::free(data);
            throw;
        }
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
    auto* data = reinterpret_cast<double*>(aligned);
#if defined(MADV_HUGEPAGE)
    ::madvise(data, length, MADV_HUGEPAGE); // advice only: without huge pages the block still works
#endif
    try {
        return std::shared_ptr<CUFValueBlock>(new CUFValueBlock(data, count, length));
    } catch (...) {
        ::munmap(data, length);
        throw;
    }
}

CUFValueBlock::~CUFValueBlock()
{
    if (m_mappedBytes)
        ::munmap(m_data, m_mappedBytes);
    else
        std::free(m_data);
}
