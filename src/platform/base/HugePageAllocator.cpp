#include "platform/base/HugePageAllocator.h"

#include <sys/mman.h>
#include <unistd.h>

void AdviseHugePages(void* block, std::size_t bytes)
{
#if defined(MADV_HUGEPAGE)
    constexpr uintptr_t kHuge = CHugePageAllocator<char>::kHugePage;
    const auto start = reinterpret_cast<uintptr_t>(block);
    uintptr_t end = start + bytes;
    // Within the heap, the advice reaches to its end: the heap grows ahead of the blocks it hands
    // out, and memory advised before its first touch is what takes huge pages.
    const auto heapEnd = reinterpret_cast<uintptr_t>(::sbrk(0));
    if (heapEnd != uintptr_t(-1) && start < heapEnd && heapEnd - start < (uintptr_t(1) << 40))
        end = heapEnd;
    const uintptr_t from = (start + kHuge - 1) & ~(kHuge - 1);
    const uintptr_t to = end & ~(kHuge - 1);
    if (to > from)
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE); // advice only
#else
    (void)block;
    (void)bytes;
#endif
}
