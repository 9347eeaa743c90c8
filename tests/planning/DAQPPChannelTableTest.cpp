// The channel table of DAQPP plans without a window: its texts, moves with the sort by local
// number, hand-over between plans, the copied text and the paste back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "planning/DAQPPChannelTable.h"
#include "planning/SensorAssignment.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "support/FakeProjectLookups.h"

namespace {
// Body (structure): S1, S2, S3; Cabin (cavity): M1, M2. S2 has sensitivity 2, M1 0.
class ChannelTableTest : public ::testing::Test
{
protected:
    ChannelTableTest()
    {
        assignment.AddRow("Body", {"S1", "S2", "S3"});
        assignment.AddRow("Cabin", {"M1", "M2"});
        lookups.sensitivity = [](const std::string& id) { return id == "S2" ? 2.0f : id == "M1" ? 0.0f : 10.0f; };
        layout.GetColumns() = CDAQPPExpPlanList::ParseColumns(CDAQPPExpPlanList::kDefaultColumns);
    }

    DAQPPCellContext Context(int revSens = 0)
    {
        DAQPPCellContext context;
        context.assignment = &assignment;
        context.globalNode = [](const std::string& b, int lp) { return b == "Body" && lp >= 0 ? 100 + lp : 0; };
        context.isStructure = [](const std::string& b) { return b == "Body" ? 1 : 0; };
        context.revSens = revSens;
        context.project = &lookups;
        return context;
    }

    // The plan as "sensor@subsystem" per channel, "-" for a free one.
    static std::string Describe(const CDAQPPExpPlan& plan)
    {
        std::string text;
        for (int c = 0; c < plan.GetChannelCount(); ++c) {
            tagDAQPP_SENSORMAP row;
            plan.GetRow(c, row);
            if (c)
                text += ' ';
            text += row.sensor.empty() && row.subsystem.empty() ? "-" : row.sensor + "@" + row.subsystem;
        }
        return text;
    }

    static void Put(CDAQPPExpPlan& plan, int c, const std::string& sensor, const std::string& subsystem)
    {
        plan.SetSensor(c, sensor);
        plan.SetSubsystem(c, subsystem);
    }

    CSensorAssignment assignment;
    CFakeProjectLookups lookups;
    CDAQPPExpPlanList layout;
};
} // namespace

TEST_F(ChannelTableTest, CopiedTextHasATabAfterEveryCellAndTheReversedSensitivity)
{
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
    CDAQPPExpPlan plan(2);
    Put(plan, 0, "S2", "Body");
    CDAQPPChannelTable table(plan, layout, Context());
    EXPECT_EQ(table.GetRowCount(), 3);
    EXPECT_EQ(table.GetColCount(), 13);
    const std::string header =
        "CH.\tGlobal#\tUser Channel ID\tChannel Group ID\tPoint\tDirection\tInput Mode\t"
        "Measured Quantity\tElectrical Unit\tActual Sensitivity\tunit\tSubsystem Name\tLocal#\t\n";
    EXPECT_EQ(table.CopyText(),
              header + "1\t101\tS2\tVibration\tBody:02\t\tICP\tAcceleration\tmV\t2\tmV/(m/s2)\tBody\t02\t\n"
                       "2\t\t\t\t\t\t\t\t\t\t\t\t\t\n");

    // Reversed: 1/2 in "%10.2e"; a sensitivity of 0 stays "0"; an acoustic subsystem's units.
    Put(plan, 1, "M1", "Cabin");
    table.SetContext(Context(1));
    std::vector<std::string> row = table.GetRowTexts(0);
    EXPECT_EQ(row[9], "  5.00e-01");
    EXPECT_EQ(row[10], "(m/s2)/mV");
    row = table.GetRowTexts(1);
    EXPECT_EQ(row[9], "0");
    EXPECT_EQ(row[10], "Pa/mV");
    EXPECT_EQ(row[3], "Acoustic");
    EXPECT_EQ(row[1], "") << "Cabin has no node";
}

TEST_F(ChannelTableTest, MovesKeepEachSubsystemInLocalOrder)
{
    // Each case starts from: S3@Body at 0, M1@Cabin at 1, S1@Body at 3, the rest of 8 free.
    struct Case
    {
        const char* what;
        std::vector<int> selection;
        int op; // -1 up, 1 down, otherwise move to target
        int target;
        CDAQPPChannelTable::MoveResult result;
        std::string plan;
        std::vector<int> selectionAfter;
    };
    const std::string start = "S3@Body M1@Cabin - S1@Body - - - -";
    const std::vector<Case> cases = {
        {"3 rows to row 7 of 8", {0, 1, 3}, 0, 6, CDAQPPChannelTable::moveDoesNotFit, start, {0, 1, 3}},
        {"2 rows to row 7 of 8",
         {1, 2},
         0,
         6,
         CDAQPPChannelTable::moveDone,
         "S1@Body - - S3@Body - - M1@Cabin -",
         {1, 2}},
        {"no selection", {}, 0, 4, CDAQPPChannelTable::moveNothing, start, {}},
        {"Cabin to the top sorts Body",
         {1},
         0,
         0,
         CDAQPPChannelTable::moveDone,
         "M1@Cabin S1@Body - S3@Body - - - -",
         {1}},
        {"up from the first row", {0, 3}, -1, 0, CDAQPPChannelTable::moveNothing, start, {0, 3}},
        {"up", {1, 3}, -1, 0, CDAQPPChannelTable::moveDone, "M1@Cabin S1@Body S3@Body - - - - -", {0, 2}},
        {"down from the last row", {3, 7}, 1, 0, CDAQPPChannelTable::moveNothing, start, {3, 7}},
        {"down", {0, 1}, 1, 0, CDAQPPChannelTable::moveDone, "- S1@Body M1@Cabin S3@Body - - - -", {1, 2}},
    };
    for (const Case& c : cases) {
        CDAQPPExpPlan plan(8);
        Put(plan, 0, "S3", "Body");
        Put(plan, 1, "M1", "Cabin");
        Put(plan, 3, "S1", "Body");
        plan.SetInputMode(0, "AC");
        CDAQPPChannelTable table(plan, layout, Context());
        std::vector<int> selection = c.selection;
        CDAQPPChannelTable::MoveResult result;
        if (c.op < 0)
            result = table.MoveUp(selection);
        else if (c.op > 0)
            result = table.MoveDown(selection);
        else
            result = table.MoveTo(selection, c.target);
        EXPECT_EQ(result, c.result) << c.what;
        EXPECT_EQ(Describe(plan), c.plan) << c.what;
        EXPECT_EQ(selection, c.selectionAfter) << c.what;
        // Whole rows move: the input mode goes with S3, the channel index stays with the position.
        for (int ch = 0; ch < 8; ++ch) {
            tagDAQPP_SENSORMAP row;
            plan.GetRow(ch, row);
            EXPECT_EQ(row.channel, ch) << c.what;
            EXPECT_EQ(row.inputMode == "AC", row.sensor == "S3") << c.what << " channel " << ch;
        }
    }
}

TEST_F(ChannelTableTest, SortLeavesRowsOfOtherSubsystemsAndUnknownSensorsInPlace)
{
    CDAQPPExpPlan plan(6);
    Put(plan, 0, "S3", "Body");
    Put(plan, 1, "M2", "Cabin");
    Put(plan, 2, "S2", "Body");
    Put(plan, 3, "M1", "Cabin");
    Put(plan, 4, "X9", "Body"); // not in the assignment: local index -1, sorts first
    Put(plan, 5, "S1", "");     // half a row is no subsystem's
    CDAQPPChannelTable table(plan, layout, Context());
    table.SortWithinSubsystems();
    EXPECT_EQ(Describe(plan), "X9@Body M1@Cabin S2@Body M2@Cabin S3@Body S1@");
    EXPECT_TRUE(table.SortWithinSubsystems().empty()) << "a sorted plan stays";
}

TEST_F(ChannelTableTest, RowsHandedOnlyToFreeRowsOfTheSameChannel)
{
    CDAQPPExpPlan from(4), to(3);
    Put(from, 0, "S1", "Body");
    Put(from, 1, "S2", "Body");
    Put(from, 3, "S3", "Body");
    from.SetThirdText(0, "t");
    from.SetInputMode(0, "DC");
    from.SetPointValue(0, 7);
    Put(to, 1, "M1", "Cabin");
    EXPECT_EQ(CDAQPPChannelTable::HandRows(from, to, {0, 1, 3}), (std::vector<int>{0}));
    EXPECT_EQ(Describe(from), "- S2@Body - S3@Body");
    EXPECT_EQ(Describe(to), "S1@Body M1@Cabin -");
    tagDAQPP_SENSORMAP row;
    to.GetRow(0, row);
    EXPECT_EQ(row, (tagDAQPP_SENSORMAP{0, "S1", "Body", "t", "DC", 7}));
    from.GetRow(0, row);
    EXPECT_EQ(row, (tagDAQPP_SENSORMAP{0, "", "", "", "", -1}));
}

TEST_F(ChannelTableTest, PasteTakesSensorModeAndSubsystemFromTheirColumns)
{
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
    CDAQPPExpPlan source(3);
    Put(source, 0, "S1", "Body");
    Put(source, 2, "M2", "Cabin");
    source.SetInputMode(2, "Voltage");
    const std::string copied = CDAQPPChannelTable(source, layout, Context()).CopyText();

    struct Case
    {
        const char* what;
        std::string columns;
        std::string text;
        CDAQPPChannelTable::PasteStatus status;
        int rows;
        std::string plan;
        std::string modes;
    };
    const std::string kept = "S9@Body S9@Body S9@Body";
    const std::vector<Case> cases = {
        {"the copied table", "", copied, CDAQPPChannelTable::pasteDone, 3, "S1@Body - M2@Cabin", "ICP//Voltage"},
        {"sensor and subsystem without a mode column", "Id,2,Sub,11", "h\nx\tS1\tBody\n", CDAQPPChannelTable::pasteDone,
         1, "S1@Body S9@Body S9@Body", "old/old/old"},
        {"no subsystem column", "Mode,6,Id,2", "h\n1\tDC\tS5\n2\t\t\n", CDAQPPChannelTable::pasteDone, 2,
         "S5@Body @Body S9@Body", "DC//old"},
        {"an empty line ends it", "Id,2,Sub,11", "h\n1\tS1\tBody\n\n3\tS3\tBody\n", CDAQPPChannelTable::pasteDone, 1,
         "S1@Body S9@Body S9@Body", "old/old/old"},
        {"CR LF lines", "Id,2,Sub,11", "h\r\n1\tS1\tBody\r\n\r\n", CDAQPPChannelTable::pasteDone, 1,
         "S1@Body S9@Body S9@Body", "old/old/old"},
        {"more lines than channels", "Id,2", "h\n1\ta\n2\tb\n3\tc\n4\td\n", CDAQPPChannelTable::pasteDone, 3,
         "a@Body b@Body c@Body", "old/old/old"},
        {"a short line refuses everything", "Id,2,Sub,11", "h\n1\tS1\tBody\n2\tS2\n",
         CDAQPPChannelTable::pasteShortLine, 0, kept, "old/old/old"},
        {"plain text", "Id,2", "hello\nworld\n", CDAQPPChannelTable::pasteShortLine, 0, kept, "old/old/old"},
        {"no text", "Id,2", "", CDAQPPChannelTable::pasteNoText, 0, kept, "old/old/old"},
        {"a layout without pasted columns", "Point,4", "h\n1\tx\n", CDAQPPChannelTable::pasteDone, 1, kept,
         "old/old/old"},
    };
    for (const Case& c : cases) {
        CDAQPPExpPlanList own;
        own.GetColumns() = CDAQPPExpPlanList::ParseColumns(c.columns);
        CDAQPPExpPlan plan(3);
        for (int ch = 0; ch < 3; ++ch) {
            Put(plan, ch, "S9", "Body");
            plan.SetInputMode(ch, "old");
        }
        CDAQPPChannelTable table(plan, own, Context());
        std::vector<int> changed;
        const CDAQPPChannelTable::PasteResult result = table.Paste(c.text, &changed);
        EXPECT_EQ(result.status, c.status) << c.what;
        EXPECT_EQ(result.rows, c.rows) << c.what;
        EXPECT_EQ(static_cast<int>(changed.size()), c.rows) << c.what;
        EXPECT_EQ(Describe(plan), c.plan) << c.what;
        std::string modes;
        for (int ch = 0; ch < 3; ++ch) {
            tagDAQPP_SENSORMAP row;
            plan.GetRow(ch, row);
            modes += (ch ? "/" : "") + row.inputMode;
        }
        EXPECT_EQ(modes, c.modes) << c.what;
        if (c.status == CDAQPPChannelTable::pasteShortLine) {
            EXPECT_GE(result.badLine, 2) << c.what;
        }
    }
}

TEST(DAQPPChannelTable, ChooserRowsMakeALayoutUpToTheFirstEmptyLabel)
{
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
    const std::string sensor = CDAQPPExpPlanList::GetColumnTypeName(2);
    EXPECT_EQ(CDAQPPChannelTable::ColumnsFromTexts({{"A", sensor}, {"B", "no such type"}, {"", sensor}, {"D", sensor}}),
              (std::vector<tagCHTABLECOL>{{2, "A"}, {0, "B"}}));
    std::vector<std::pair<std::string, std::string>> many(40, {"L", sensor});
    EXPECT_EQ(CDAQPPChannelTable::ColumnsFromTexts(many).size(), 30u);
}
