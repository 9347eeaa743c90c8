#include "platform/base/HeapReuse.h"

#include <malloc.h>

bool KeepFreedMemoryForReuse(std::size_t keepBytes)
{
    // 32 MB is the largest block the heap agrees to serve itself on 64-bit machines; larger
    // blocks are mapped and unmapped as before.
    constexpr int kLargestHeapBlock = 32 << 20;
    const int keep = keepBytes > std::size_t(1) << 30 ? 1 << 30 : static_cast<int>(keepBytes);
    const bool served = mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock) != 0;
    const bool kept = mallopt(M_TRIM_THRESHOLD, keep) != 0;
    // The heap grows in steps of 32 MB ahead of what it hands out, so that sample blocks can
    // advise the memory for huge pages before anything touches it (HugePageAllocator.h).
    constexpr int kGrowthStep = 32 << 20;
    const bool grows = mallopt(M_TOP_PAD, kGrowthStep) != 0;
    return served && kept && grows;
}
