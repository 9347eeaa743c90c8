#include "platform/base/BlockPrefault.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

#include <sys/mman.h>
#include <unistd.h>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23 // Linux 5.14 on; older kernels answer EINVAL
#endif

namespace {

constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
static_assert(CBlockPrefault::kStretchBytes >= kHugePage, "a stretch reaches past its first 2 MB boundary");

std::atomic<int> g_helpers{CBlockPrefault::kDefaultHelpers};
std::atomic<int> g_live{0};
// Whether the kernel knows the populating advice: it answers a zero-length call with 0 if so,
// with EINVAL if not (EINVAL also answers a range it will not populate, so a failed stretch does
// not tell).
bool CanPopulate(void* pageAligned)
{
    static const bool can = ::madvise(pageAligned, 0, MADV_POPULATE_WRITE) == 0;
    return can;
}

uintptr_t PageSize()
{
    static const uintptr_t size = [] {
        const long s = ::sysconf(_SC_PAGESIZE);
        return s > 0 ? static_cast<uintptr_t>(s) : uintptr_t{4096};
    }();
    return size;
}

} // namespace

CBlockPrefault::~CBlockPrefault()
{
    Stop();
}

void CBlockPrefault::SetHelpersPerBlock(int helpers)
{
    g_helpers = std::max(helpers, 0);
}

int CBlockPrefault::HelpersPerBlock()
{
    return g_helpers;
}

int CBlockPrefault::LiveHelpers()
{
    return g_live;
}

size_t CBlockPrefault::PopulatedBytes() const
{
    return m_shared ? m_shared->populated.load() : 0;
}

void CBlockPrefault::Start(const std::vector<Range>& ranges, int helpers)
{
    Stop();
    m_shared.reset();
    if (helpers <= 0)
        return;
    auto shared = std::make_unique<Shared>();
    // Whole pages (madvise takes page-aligned addresses), cut on 2 MB boundaries so that a
    // stretch holds whole huge pages: a stop never leaves a huge page half populated.
    const uintptr_t page = PageSize();
    for (const Range& range : ranges) {
        if (!range.data || range.bytes == 0)
            continue;
        uintptr_t at = reinterpret_cast<uintptr_t>(range.data) & ~(page - 1);
        const uintptr_t end = (reinterpret_cast<uintptr_t>(range.data) + range.bytes + page - 1) & ~(page - 1);
        while (at < end) {
            const uintptr_t cut = std::min(end, (at + kStretchBytes) & ~(kHugePage - 1));
            shared->stretches.push_back({reinterpret_cast<char*>(at), static_cast<size_t>(cut - at)});
            at = cut;
        }
    }
    if (shared->stretches.empty() || !CanPopulate(shared->stretches.front().begin))
        return;
    m_shared = std::move(shared);
    const int count = std::min<size_t>(static_cast<size_t>(helpers), m_shared->stretches.size());
    for (int i = 0; i < count; ++i) {
        try {
            m_threads.emplace_back([s = m_shared.get()] { Help(*s); });
            ++g_live;
        } catch (const std::system_error&) {
            break; // fewer helpers; the writer faults what they do not reach
        }
    }
}

void CBlockPrefault::RequestStop()
{
    if (m_shared)
        m_shared->stop = true;
}

void CBlockPrefault::Stop()
{
    RequestStop();
    for (std::thread& t : m_threads) {
        if (t.joinable()) {
            t.join();
            --g_live;
        }
    }
    m_threads.clear();
}

void CBlockPrefault::Help(Shared& shared)
{
    const size_t n = shared.stretches.size();
    while (!shared.stop.load(std::memory_order_relaxed)) {
        const size_t claimed = shared.next.fetch_add(1);
        if (claimed >= n)
            return;
        const Stretch& s = shared.stretches[claimed];
        if (::madvise(s.begin, s.bytes, MADV_POPULATE_WRITE) != 0) {
            // Whatever the kernel refused (no memory, a stretch not mapped or not writable) the
            // writer meets on its own, as it would without helpers: the helpers just end.
            shared.stop = true;
            return;
        }
        shared.populated += s.bytes;
    }
}
