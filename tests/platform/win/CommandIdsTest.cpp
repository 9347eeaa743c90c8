#include "platform/win/CommandIds.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<std::string, int>> AllCommandIds()
{
#define ORVEX_LIST_COMMAND_ID(name, id) {#name, id},
    return {ORVEX_COMMAND_IDS(ORVEX_LIST_COMMAND_ID)};
#undef ORVEX_LIST_COMMAND_ID
}

// A number with two names would let one menu entry run another's command; a name with two numbers
// would leave callers disagreeing about which command they mean.
TEST(CommandIdsTest, EveryNumberHasOneNameAndEveryNameOneNumber)
{
    const auto ids = AllCommandIds();
    ASSERT_FALSE(ids.empty());
    std::map<int, std::string> nameOfNumber;
    std::map<std::string, int> numberOfName;
    for (const auto& [name, id] : ids) {
        const auto [byNumber, newNumber] = nameOfNumber.emplace(id, name);
        EXPECT_TRUE(newNumber) << id << " is both " << byNumber->second << " and " << name;
        const auto [byName, newName] = numberOfName.emplace(name, id);
        EXPECT_TRUE(newName) << name << " is both " << byName->second << " and " << id;
    }
}

TEST(CommandIdsTest, TheNamedConstantsAreTheListedNumbers)
{
    // The table is what callers see: a few ids that several windows and menus share.
    EXPECT_EQ(CommandId::ID_OPTIONS, 1184);
    EXPECT_EQ(CommandId::ID_LOCAL_POINTS, 1089);
    EXPECT_EQ(CommandId::ID_MEASURE_BY_SUBSYSTEM, 1110);
    EXPECT_EQ(CommandId::ID_ANALYSIS_OPTIONS, 1190);
    EXPECT_EQ(CommandId::ID_PLANNING_WIZARD, 1231);
}

} // namespace
