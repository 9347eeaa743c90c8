#include "platform/base/BlockPrefault.h"
#include "platform/base/ZeroedBlock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr size_t kMB = size_t{1} << 20;

// The resident pages of [p, p + bytes) (p on a page boundary).
size_t ResidentPages(const char* p, size_t bytes)
{
    const auto page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> flags((bytes + page - 1) / page);
    if (::mincore(const_cast<char*>(p), bytes, flags.data()) != 0)
        return SIZE_MAX;
    size_t n = 0;
    for (unsigned char f : flags)
        n += f & 1u;
    return n;
}

size_t Pages(size_t bytes)
{
    return bytes / static_cast<size_t>(::sysconf(_SC_PAGESIZE));
}

bool WaitUntil(const std::function<bool()>& pred)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Whether the kernel knows the populating advice (Linux 5.14 on).
bool KernelCanPopulate(void* pageAligned)
{
#ifdef MADV_POPULATE_WRITE
    return ::madvise(pageAligned, 0, MADV_POPULATE_WRITE) == 0;
#else
    return ::madvise(pageAligned, 0, 23) == 0;
#endif
}

// Bytes of [p, p + bytes) that are not value.
size_t Differing(const char* p, size_t bytes, char value)
{
    size_t n = 0;
    for (size_t i = 0; i < bytes; ++i)
        n += p[i] != value;
    return n;
}

} // namespace

// Two ranges of a block with a gap between them (a disabled channel's samples), one starting off a
// page boundary, while a writer fills the second: the helpers fault in exactly the ranges' pages,
// leave the gap untaken, change no byte the writer or an earlier write put there, and are joined
// when stopped.
TEST(BlockPrefault, FaultsInItsRangesOnlyAndLeavesEveryByteAsWritten)
{
    CZeroedBlock block(24 * kMB);
    ASSERT_TRUE(block.IsMapped());
    char* p = static_cast<char*>(block.data());
    if (!KernelCanPopulate(p))
        GTEST_SKIP() << "the kernel cannot populate";
    std::memset(p, 0x11, 4096); // written before the helpers start

    CBlockPrefault prefault;
    prefault.Start({{p + 100, 8 * kMB - 100}, {p + 16 * kMB, 8 * kMB}}, 3);
    EXPECT_TRUE(prefault.IsRunning());
    std::memset(p + 16 * kMB, 0x22, 5 * kMB + 7); // the writer, side by side with the helpers
    ASSERT_TRUE(WaitUntil([&] { return prefault.PopulatedBytes() == 16 * kMB; })) << prefault.PopulatedBytes();
    prefault.Stop();
    EXPECT_FALSE(prefault.IsRunning());
    EXPECT_EQ(CBlockPrefault::LiveHelpers(), 0);

    EXPECT_EQ(ResidentPages(p, 8 * kMB), Pages(8 * kMB));
    EXPECT_EQ(ResidentPages(p + 16 * kMB, 8 * kMB), Pages(8 * kMB));
    EXPECT_EQ(ResidentPages(p + 8 * kMB, 8 * kMB), 0u);

    EXPECT_EQ(Differing(p, 4096, 0x11), 0u);
    EXPECT_EQ(Differing(p + 4096, 16 * kMB - 4096, 0), 0u);
    EXPECT_EQ(Differing(p + 16 * kMB, 5 * kMB + 7, 0x22), 0u);
    EXPECT_EQ(Differing(p + 21 * kMB + 7, 3 * kMB - 7, 0), 0u);
}

// What starts no helper, and a range the kernel refuses (reserved, not writable): the helpers end
// on their own, nothing is populated, and a later start on a good block still works.
TEST(BlockPrefault, StartsNothingForNothingAndEndsOnARefusedRange)
{
    CZeroedBlock block(8 * kMB);
    char* p = static_cast<char*>(block.data());
    struct Case
    {
        const char* what;
        std::vector<CBlockPrefault::Range> ranges;
        int helpers;
    };
    const std::vector<Case> idle = {
        {"no helpers", {{p, 8 * kMB}}, 0},
        {"no ranges", {}, 2},
        {"empty ranges", {{p, 0}, {nullptr, 4 * kMB}}, 2},
    };
    for (const Case& c : idle) {
        CBlockPrefault prefault;
        prefault.Start(c.ranges, c.helpers);
        EXPECT_FALSE(prefault.IsRunning()) << c.what;
        EXPECT_EQ(prefault.PopulatedBytes(), 0u) << c.what;
    }

    if (!KernelCanPopulate(p))
        GTEST_SKIP() << "the kernel cannot populate";
    void* reserved = ::mmap(nullptr, 4 * kMB, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(reserved, MAP_FAILED);
    {
        CBlockPrefault prefault;
        prefault.Start({{reserved, 4 * kMB}}, 2);
        prefault.RequestStop();
        prefault.Stop();
        EXPECT_EQ(prefault.PopulatedBytes(), 0u);
        EXPECT_EQ(CBlockPrefault::LiveHelpers(), 0);
    }
    ::munmap(reserved, 4 * kMB);
    CBlockPrefault prefault;
    prefault.Start({{p, 8 * kMB}}, 2);
    EXPECT_TRUE(WaitUntil([&] { return prefault.PopulatedBytes() == 8 * kMB; })) << prefault.PopulatedBytes();
}
