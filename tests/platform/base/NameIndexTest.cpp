#include "platform/base/NameIndex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct NameAt
{
    const std::vector<std::string>* names;
    std::string_view operator()(std::size_t i) const { return (*names)[i]; }
};

// Names kept in a list, indexed as they are appended; a name met again keeps its first position.
TEST(NameIndex, FindsEveryNameAtItsFirstPositionAcrossGrowth)
{
    std::vector<std::string> names;
    CNameIndex<NameAt> index(NameAt{&names});
    constexpr int kNames = 5000; // grows the table from its smallest size many times
    for (int i = 0; i < kNames; ++i) {
        names.push_back("S" + std::to_string(i));
        const auto [at, added] = index.Insert(names.back(), names.size() - 1);
        ASSERT_TRUE(added);
        ASSERT_EQ(at, names.size() - 1);
    }
    names.push_back("S17");
    EXPECT_EQ(index.Insert(names.back(), names.size() - 1), std::make_pair(std::size_t(17), false));
    EXPECT_EQ(index.GetCount(), std::size_t(kNames));
    for (int i = 0; i < kNames; ++i)
        ASSERT_EQ(index.Find("S" + std::to_string(i)), std::size_t(i));
    for (const char* absent : {"", "S", "S5000", "s17", "S17 "})
        EXPECT_EQ(index.Find(absent), index.npos) << absent;
}

} // namespace
