#include "platform/base/MemoryBudget.h"

#include <atomic>
#include <initializer_list>
#include <limits>
#include <sys/resource.h>
#include <unistd.h>

namespace {
std::atomic<uint64_t> g_limit{0};
}

void CMemoryBudget::SetLimit(uint64_t bytes)
{
    g_limit = bytes;
}

uint64_t CMemoryBudget::AvailableBytes()
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    uint64_t bytes = pages > 0 && pageSize > 0 ? Product(static_cast<uint64_t>(pages), static_cast<uint64_t>(pageSize))
                                               : std::numeric_limits<uint64_t>::max();
    for (int resource : {RLIMIT_AS, RLIMIT_DATA}) {
        struct rlimit limit
        {};
        if (::getrlimit(resource, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < bytes)
            bytes = limit.rlim_cur;
    }
    const uint64_t limit = g_limit;
    if (limit != 0 && limit < bytes)
        bytes = limit;
    return bytes;
}

bool CMemoryBudget::Fits(uint64_t bytes)
{
    return bytes <= AvailableBytes() / 4;
}

uint64_t CMemoryBudget::Product(uint64_t a, uint64_t b, uint64_t c, uint64_t d)
{
    uint64_t out = 0;
    if (__builtin_mul_overflow(a, b, &out) || __builtin_mul_overflow(out, c, &out) ||
        __builtin_mul_overflow(out, d, &out))
        return std::numeric_limits<uint64_t>::max();
    return out;
}
