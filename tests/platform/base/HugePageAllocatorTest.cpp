#include "platform/base/HugePageAllocator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The flags of the mapping of /proc/self/smaps that holds address, or empty.
std::string VmFlagsAt(uintptr_t address)
{
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool inside = false;
    while (std::getline(smaps, line)) {
        uintptr_t from = 0, to = 0;
        char dash = 0;
        std::istringstream head(line);
        if (head >> std::hex >> from >> dash >> to && dash == '-' && line.find(':') > line.find(' ')) {
            inside = from <= address && address < to;
            continue;
        }
        if (inside && line.rfind("VmFlags:", 0) == 0)
            return line;
    }
    return {};
}

} // namespace

// Sample arrays small and large keep their values through growth and copies; the whole huge
// pages of a large block are advised for huge pages where the kernel offers them.
TEST(HugePageAllocator, KeepsValuesAndAdvisesLargeBlocks)
{
    using CArray = std::vector<float, CHugePageAllocator<float>>;
    for (size_t n :
         {size_t{1}, size_t{1000}, CHugePageAllocator<float>::kHugePage / sizeof(float) - 1, size_t{3} << 20}) {
        CArray a;
        for (size_t i = 0; i < n; ++i)
            a.push_back(static_cast<float>(i % 4093));
        CArray b = a;
        b.resize(n + 5, -1.0f);
        ASSERT_EQ(a.size(), n);
        size_t wrong = 0;
        for (size_t i = 0; i < n; ++i)
            wrong += a[i] != static_cast<float>(i % 4093) || b[i] != a[i];
        EXPECT_EQ(wrong, 0u) << n;
        EXPECT_EQ(b.back(), -1.0f);
    }
    if (!std::filesystem::exists("/sys/kernel/mm/transparent_hugepage/enabled"))
        GTEST_SKIP() << "the kernel offers no huge pages";
    CArray large(size_t{3} << 20); // 12 MB: at least five whole huge pages
    const auto start = reinterpret_cast<uintptr_t>(large.data());
    const uintptr_t page = CHugePageAllocator<float>::kHugePage;
    const uintptr_t inner = (start + page - 1) & ~(page - 1);
    EXPECT_NE(VmFlagsAt(inner).find(" hg"), std::string::npos) << VmFlagsAt(inner);
}
