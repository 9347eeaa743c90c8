// Unit groups, plans and the sensor assignment: their stored forms and the rules the project
// container relies on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "models/HSEARegOptions.h"
#include "planning/DAQPPExpPlanList.h"
#include "planning/QMXBlixList.h"
#include "planning/QMXSensorMapList.h"
#include "planning/SensorAssignment.h"
#include "platform/archive/Archive.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "platform/win/ZuRegOptions.h"

namespace {
template <class T>
std::unique_ptr<T> RoundTrip(const T& object)
{
    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        ar.WriteObject(&object);
    }
    CArchive in(bytes.data(), bytes.size());
    return in.ReadOwned<T>();
}
} // namespace

TEST(QMXBlixList, RowsAndStoredTable)
{
    CQMXBlixList group(3);
    EXPECT_EQ(group.SetUnitName(1, 2, "SN7"), 1);
    EXPECT_EQ(group.SetUnitName(32, 0, "x"), 0);
    std::string name;
    int slot = 0, pos = 0, ch = 0;
    group.GetRowUnit(13, name, slot, pos, ch);
    EXPECT_EQ(slot, 1);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(ch, 1);
    EXPECT_EQ(name, "SN7");
    auto read = RoundTrip(group);
    EXPECT_TRUE(*read == group);

    // A stored table larger than the hardware is refused rather than cut.
    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        ar.WriteClass(RUNTIME_CLASS(CQMXBlixList));
        ar << static_cast<int32_t>(33) << static_cast<int32_t>(4);
        for (int i = 0; i < 33 * 4; ++i)
            ar << std::string();
        ar << static_cast<int32_t>(0);
    }
    CArchive in(bytes.data(), bytes.size());
    EXPECT_THROW(in.ReadOwned<CQMXBlixList>(), CArchiveException);
}

TEST(QMXSensorMapList, PlansRoundTripWithoutTheirAssignedFlags)
{
    CQMXBlixList group(4);
    group.SetUnitName(0, 0, "U1");
    group.SetUnitName(0, 1, "U2");
    CQMXSensorMapList list({&group});
    CQMXSensorMap* plan = list.AddPlan(4, "");
    EXPECT_EQ(plan->GetName(), "Plan 1");
    EXPECT_EQ(plan->GetChannelCount(), 4);
    CSensorAssignment assignment;
    assignment.AddRow("A", {"s1", "s2", "s3"});
    EXPECT_EQ(plan->AssignSubsystem(assignment, 0), 1);
    EXPECT_EQ(plan->GetUsedChannelCount(), 4);
    plan->SetComment("c");

    auto read = RoundTrip(list);
    ASSERT_EQ(read->GetPlanCount(), 1);
    CQMXSensorMap* back = read->GetPlan(0);
    EXPECT_EQ(back->GetComment(), "c");
    EXPECT_EQ(back->GetUnitGroupNumber(), 4);
    for (int i = 0; i < 4; ++i) {
        tagSENSORMAP a, b;
        plan->GetRow(i, a);
        back->GetRow(i, b);
        EXPECT_EQ(b.assigned, 0);
        a.assigned = 0;
        EXPECT_EQ(a, b);
    }
    // Unit links come from the groups handed over after reading.
    EXPECT_EQ(back->GetUnitCount(), 128);
    read->SetUnitGroups({&group});
    EXPECT_EQ(back->GetUnitCount(), 2);
}

TEST(QMXSensorMapList, PlansAddedTogetherAreNamedAsOneByOne)
{
    // Names alike, a number taken by hand on the way, and unnamed plans.
    std::vector<std::pair<int, std::string>> rows;
    for (const char* name : {"Run", "Run", "Run 3", "Run", "", "", "Run 1 1"})
        rows.emplace_back(0, name);
    for (int k = 0; k < 200; ++k)
        rows.emplace_back(0, k % 2 ? "Run" : "Run 1");
    CQMXSensorMapList oneByOne, together;
    oneByOne.AddPlan(0, "Run 1");
    together.AddPlan(0, "Run 1");
    for (const auto& [group, name] : rows)
        oneByOne.AddPlan(group, name);
    together.AddPlans(rows);
    ASSERT_EQ(together.GetPlanCount(), oneByOne.GetPlanCount());
    for (int p = 0; p < oneByOne.GetPlanCount(); ++p)
        EXPECT_EQ(together.GetPlan(p)->GetName(), oneByOne.GetPlan(p)->GetName()) << p;
    EXPECT_EQ(together.GetPlan(4)->GetName(), "Run 4");
    EXPECT_EQ(together.GetPlan(5)->GetName(), "Plan 1");

    // Thousands of plans of one name take one look-up each, not a search through every number.
    CQMXSensorMapList many;
    many.AddPlans(std::vector<std::pair<int, std::string>>(20000, {0, "Idle"}));
    ASSERT_EQ(many.GetPlanCount(), 20000);
    EXPECT_EQ(many.GetPlan(19999)->GetName(), "Idle 19999");
}

TEST(SensorAssignment, SubsystemsAreAddedSortedAndStored)
{
    CSensorAssignment assignment;
    assignment.AddRow("Door", {"S1"});
    CZuSubsystemTable table(std::vector<std::string>{"Roof", "Door", "Apillar"});
    assignment.SetSubsystems(&table);
    ASSERT_EQ(assignment.GetRowCount(), 3);
    EXPECT_EQ(assignment.GetSubsystemName(0), "Apillar");
    EXPECT_EQ(assignment.GetSubsystemName(1), "Door");
    EXPECT_EQ(assignment.GetItem(1, 0), "S1");
    EXPECT_EQ(assignment.GetItemCount(5), -1);
    auto read = RoundTrip(assignment);
    EXPECT_TRUE(*read == assignment);
}

TEST(SensorAssignment, TextFileExportedAndImported)
{
    const auto dir = std::filesystem::temp_directory_path() / ("orvex_planning_tests_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "LocalPoints.txt").string();

    CSensorAssignment source;
    source.AddRow("Door", {"S1", "S2"});
    source.AddRow("Roof", {});
    ASSERT_EQ(source.ExportText(path, "Local Points"), 1);
    {
        std::ifstream in(path, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), {});
        EXPECT_EQ(text, "#@Local Points\n# " + path + "\n#\nDoor\tS1\tS2\nRoof\n");
    }
    CSensorAssignment back;
    back.AddRow("Roof", {"old"});
    back.AddRow("Door", {"old"});
    ASSERT_EQ(back.ImportText(path, "another tag"), 1);
    EXPECT_EQ(back.GetItemCount(0), 0); // the file lists Roof without sensors
    EXPECT_EQ(back.GetItemCount(1), 2);
    EXPECT_EQ(back.GetItem(1, 1), "S2");

    // Unknown subsystems are skipped, empty fields add nothing, an empty line ends the rows, a first
    // line with "#" is a header and one without is data.
    struct Case
    {
        const char* text;
        std::vector<std::string> door;
    };
    const Case cases[] = {
        {"header\nDoor\tA\t\tB\n", {"A", "B"}},
        {"header\nHood\tX\nDoor\tC\n\nDoor\tD\n", {"C"}},
        {"Door\tE\n", {"E"}},
        {"# own header\nDoor\tG\n", {"G"}},
        {"#@tag\n# p\n#\nDoor\tF\r\n", {"F"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::ofstream(path, std::ios::binary) << c.text;
        CSensorAssignment assignment;
        assignment.AddRow("Door", {"old"});
        ASSERT_EQ(assignment.ImportText(path, "tag"), 1);
        EXPECT_EQ(assignment.GetRowCount(), 1);
        ASSERT_EQ(assignment.GetItemCount(0), static_cast<int>(c.door.size()));
        for (size_t k = 0; k < c.door.size(); ++k)
            EXPECT_EQ(assignment.GetItem(0, static_cast<int>(k)), c.door[k]);
    }

    EXPECT_EQ(back.ImportText((dir / "missing.txt").string(), "tag"), 0);
    EXPECT_EQ(source.ExportText((dir / "no-folder" / "x.txt").string(), "tag"), 0);
    std::filesystem::remove_all(dir);
}

TEST(QMXSensorMap, ASubsystemThatDoesNotFitIsNotPlacedAtAll)
{
    // No unit group: 128 units, 256 channels. Every first channel is held by a subsystem without a
    // sensor, so no channel counts as used, yet no row is free for another subsystem.
    CQMXSensorMap plan;
    for (int r = 0; r < plan.GetRowCount(); r += 2)
        plan.SetSubsystem(r, "X");
    ASSERT_EQ(plan.GetUsedChannelCount(), 0);
    CSensorAssignment assignment;
    assignment.AddRow("A", {"s1", "s2"});
    EXPECT_EQ(plan.AssignSubsystem(assignment, 0), 0);
    EXPECT_EQ(plan.IsSubsystemUsed("A"), 0);

    // With one unit free the pair lands on its two channels.
    plan.SetSubsystem(6, "");
    EXPECT_EQ(plan.AssignSubsystem(assignment, 0), 1);
    tagSENSORMAP first, second;
    ASSERT_EQ(plan.GetRow(6, first), 1);
    ASSERT_EQ(plan.GetRow(7, second), 1);
    EXPECT_EQ(first.subsystem, "A");
    EXPECT_EQ(first.sensor, "s1");
    EXPECT_EQ(second.sensor, "s2");
    EXPECT_EQ(second.assigned, 1);
}

TEST(DAQPPExpPlanList, PlansNamedUniquelyAndColumnsFromTheSettings)
{
    {
        CDAQPPExpPlanList list;
        EXPECT_EQ(list.GetColumns().size(), 12u);
        EXPECT_EQ(list.GetColumns().front(), (tagCHTABLECOL{1, "Global#"}));
        EXPECT_EQ(list.AddPlan(4, "")->GetName(), "Plan 1");
        EXPECT_EQ(list.AddPlan(4, "")->GetName(), "Plan 2");
        EXPECT_EQ(list.AddPlan(4, "Run")->GetName(), "Run");
        EXPECT_EQ(list.AddPlan(4, "Run")->GetName(), "Run 1");
    }
    ASSERT_EQ(CHSEARegOptions::SaveChannelTableColumns("Point,4,Local#,12"), 1);
    CDAQPPExpPlanList list;
    EXPECT_EQ(list.GetColumns(), (std::vector<tagCHTABLECOL>{{4, "Point"}, {12, "Local#"}}));
    ASSERT_EQ(CHSEARegOptions::SaveChannelTableColumns(""), 1);
}

TEST(DAQPPExpPlan, RowsOutsideThePlanAreNeverEmpty)
{
    CDAQPPExpPlan plan(2);
    EXPECT_EQ(plan.IsRowEmpty(0), 1);
    EXPECT_EQ(plan.IsRowEmpty(-1), 0);
    EXPECT_EQ(plan.IsRowEmpty(2), 0);
}

TEST(DAQPPExpPlanList, ColumnLayoutsOfTheSettings)
{
    EXPECT_EQ(CDAQPPExpPlanList::ParseColumns("A,0,B,12"), (std::vector<tagCHTABLECOL>{{0, "A"}, {12, "B"}}));
    EXPECT_EQ(CDAQPPExpPlanList::ParseColumns("A,1,,2"), (std::vector<tagCHTABLECOL>{{1, "A"}}));
    EXPECT_EQ(CDAQPPExpPlanList::ParseColumns("A,x"), (std::vector<tagCHTABLECOL>{{0, "A"}}));

    CDAQPPExpPlanList list;
    ASSERT_EQ(list.SaveColumns(), 1);
    std::string stored;
    {
        CHSEARegOptions reg;
        ASSERT_EQ(reg.Open(), 1);
        ASSERT_TRUE(reg.GetString(kRegChannelTableColumns, stored));
    }
    EXPECT_EQ(stored, CDAQPPExpPlanList::kDefaultColumns);
    EXPECT_EQ(stored.size(), 174u);

    // A layout longer than the other settings strings may be still comes back.
    std::vector<tagCHTABLECOL> many;
    for (int i = 0; i < 30; ++i)
        many.push_back({i % 13, "Column label " + std::to_string(i)});
    list.GetColumns() = many;
    ASSERT_EQ(list.SaveColumns(), 1);
    EXPECT_GT(CDAQPPExpPlanList::FormatColumns(many).size(), 300u);
    CDAQPPExpPlanList reloaded;
    EXPECT_EQ(reloaded.GetColumns(), many);
    ASSERT_EQ(CHSEARegOptions::SaveChannelTableColumns(""), 1);
}

TEST(DAQPPExpPlanList, PlansRemovedSwappedAndColumnTypesNamed)
{
    CDAQPPExpPlanList list;
    list.AddPlan(2, "A");
    list.AddPlan(3, "B");
    EXPECT_EQ(list.MakeUniqueName("A"), "A 1");
    EXPECT_EQ(list.MakeUniqueName("C"), "C");
    EXPECT_EQ(list.SwapPlans(0, 1), 1);
    EXPECT_EQ(list.GetPlan(0)->GetName(), "B");
    EXPECT_EQ(list.SwapPlans(0, 2), 0);
    EXPECT_EQ(list.RemovePlan("B"), 1);
    EXPECT_EQ(list.RemovePlan("B"), 0);
    ASSERT_EQ(list.GetPlanCount(), 1);
    EXPECT_EQ(list.GetPlanByName("A"), list.GetPlan(0));

    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
    EXPECT_EQ(CDAQPPExpPlanList::GetColumnTypeName(0), LoadString(IDS_COLUMN_NONE));
    EXPECT_EQ(CDAQPPExpPlanList::GetColumnTypeName(2), LoadString(IDS_COLUMN_SENSOR));
    EXPECT_EQ(CDAQPPExpPlanList::GetColumnTypeName(13), "");
    EXPECT_EQ(CDAQPPExpPlanList::GetColumnTypeName(-1), "");
    EXPECT_EQ(CDAQPPExpPlanList::FindColumnType("no such column"), -1);
    for (int type = 0; type < CDAQPPExpPlanList::kColumnTypeCount; ++type) {
        const std::string name = CDAQPPExpPlanList::GetColumnTypeName(type);
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(CDAQPPExpPlanList::FindColumnType(name), type) << name;
    }
}

TEST(DAQPPExpPlan, AnEmptySubsystemNameIsNeverInUse)
{
    CDAQPPExpPlan plan(4);
    EXPECT_EQ(plan.IsSubsystemUsed(""), 0);
    CSensorAssignment assignment;
    assignment.AddRow("", {"s1"});
    assignment.AddRow("Roof", {"s1", "s2", "s3"});
    EXPECT_EQ(plan.AssignSubsystem(assignment, 0), 1); // nothing to place
    EXPECT_EQ(plan.GetUsedChannelCount(), 0);
    EXPECT_EQ(plan.AssignSubsystem(assignment, 1), 1);
    EXPECT_EQ(plan.GetUsedChannelCount(), 3);
    EXPECT_EQ(plan.IsSubsystemUsed(""), 0);
    EXPECT_EQ(plan.IsSubsystemUsed("Roof"), 1);
}
