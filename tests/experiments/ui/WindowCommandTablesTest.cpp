// The windows' own command tables: every id they hold is named in the one command-id table, so no
// window gives a number a meaning of its own that a menu gives another command.
#include <gtest/gtest.h>

#include "acquisition/ui/DlgDaqDataManagement.h"
#include "experiments/ui/ExpFrame.h"
#include "experiments/ui/ExpTreeView.h"
#include "experiments/ui/SensorBundleView.h"
#include "experiments/ui/SensorDoc.h"
#include "experiments/ui/SensorFrame.h"
#include "experiments/ui/SensorGroupView.h"
#include "experiments/ui/SensorListView.h"
#include "platform/ui/ZuTableGrid.h"
#include "platform/win/CommandIds.h"

#include <map>
#include <string>
#include <vector>

namespace {

template <class Table>
std::vector<int> IdsOf(const Table& table)
{
    std::vector<int> ids;
    for (const auto& entry : table.Entries())
        ids.push_back(entry.first);
    return ids;
}

TEST(WindowCommandTables, EveryIdIsNamedInTheCommandIdTable)
{
    std::map<int, std::string> named;
#define ORVEX_NAME_COMMAND_ID(name, id) named[id] = #name;
    ORVEX_COMMAND_IDS(ORVEX_NAME_COMMAND_ID)
#undef ORVEX_NAME_COMMAND_ID
    const std::map<std::string, std::vector<int>> tables = {
        {"ExpFrame", IdsOf(CExpFrame::Commands())},
        {"ExpTreeView", IdsOf(CExpTreeView::Commands())},
        {"SensorFrame", IdsOf(CSensorFrame::Commands())},
        {"SensorDoc", IdsOf(CSensorDoc::Commands())},
        {"SensorListView", IdsOf(CSensorListView::Commands())},
        {"SensorBundleView", IdsOf(CSensorBundleView::Commands())},
        {"SensorGroupView", IdsOf(CSensorGroupView::Commands())},
        {"DlgDaqDataManagement", IdsOf(CDlgDaqDataManagement::Commands())},
        {"ZuTableGrid", IdsOf(CZuTableGrid::Commands())},
    };
    for (const auto& [window, ids] : tables) {
        EXPECT_FALSE(ids.empty()) << window;
        for (int id : ids)
            EXPECT_TRUE(named.count(id)) << window << " holds " << id << ", which the command-id table does not name";
    }
}

} // namespace
