// Sensors put on plans from the sensor assignment: a whole assignment applied, one subsystem's
// sensors replaced (and the refusal that restores every row), the assignment's own row edits.
#include <gtest/gtest.h>

#include "planning/QMXBlixList.h"
#include "planning/QMXSensorMapList.h"
#include "planning/SensorAssignment.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"

namespace {
// Sensor and subsystem of the first n rows, "sensor/subsystem" each.
std::vector<std::string> Rows(const CQMXSensorMap& plan, int n)
{
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) {
        tagSENSORMAP row;
        plan.GetRow(i, row);
        out.push_back(row.sensor + "/" + row.subsystem);
    }
    return out;
}

std::vector<tagSENSORMAP> AllRows(const CQMXSensorMap& plan)
{
    std::vector<tagSENSORMAP> out(static_cast<size_t>(plan.GetRowCount()));
    for (int i = 0; i < plan.GetRowCount(); ++i)
        plan.GetRow(i, out[static_cast<size_t>(i)]);
    return out;
}
} // namespace

TEST(QMXSensorMap, ApplyAssignmentFillsEachUnitOfItsSubsystem)
{
    CQMXSensorMap plan;
    CSensorAssignment assignment;
    assignment.AddRow("A", {"a1", "a2", "a3"});
    assignment.AddRow("B", {"b1"});
    ASSERT_EQ(plan.AssignSubsystem(assignment, 0), 1); // rows 0, 1, 2
    ASSERT_EQ(plan.AssignSubsystem(assignment, 1), 1); // row 4
    EXPECT_EQ(Rows(plan, 6), (std::vector<std::string>{"a1/A", "a2/A", "a3/A", "/", "b1/B", "/"}));

    // A grows to four sensors: its second unit's second channel joins it. B gets a second sensor.
    // C is in no plan and changes nothing.
    CSensorAssignment changed;
    changed.AddRow("A", {"x1", "x2", "x3", "x4", "x5"});
    changed.AddRow("B", {"c1", "c2"});
    changed.AddRow("C", {"z"});
    plan.ApplyAssignment(changed);
    EXPECT_EQ(Rows(plan, 6), (std::vector<std::string>{"x1/A", "x2/A", "x3/A", "x4/A", "c1/B", "c2/B"}));
    EXPECT_EQ(plan.IsSubsystemUsed("C"), 0);

    // An odd count frees the second channel of the unit that takes the last sensor.
    CSensorAssignment odd;
    odd.AddRow("A", {"y1", "y2", "y3"});
    plan.ApplyAssignment(odd);
    EXPECT_EQ(Rows(plan, 4), (std::vector<std::string>{"y1/A", "y2/A", "y3/A", "/"}));
}

TEST(QMXSensorMap, ReplaceSubsystemSensorsOrRestoreEveryRow)
{
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
    CQMXBlixList group(1);
    group.SetUnitName(0, 0, "U1");
    group.SetUnitName(0, 1, "U2");
    CQMXSensorMapList list({&group});
    CQMXSensorMap* plan = list.AddPlan(1, "Front");
    CSensorAssignment assignment;
    assignment.AddRow("A", {"a1", "a2", "a3"});
    ASSERT_EQ(plan->AssignSubsystem(assignment, 0), 1);

    // Fewer sensors: the rows left over are freed.
    EXPECT_EQ(plan->ReplaceSubsystemSensors("A", {"p", "q"}), 1);
    EXPECT_EQ(Rows(*plan, 4), (std::vector<std::string>{"p/A", "q/A", "/", "/"}));
    // More: free rows of the two units take the rest.
    EXPECT_EQ(plan->ReplaceSubsystemSensors("A", {"p", "q", "r", "s"}), 1);
    EXPECT_EQ(Rows(*plan, 4), (std::vector<std::string>{"p/A", "q/A", "r/A", "s/A"}));
    // A subsystem the plan does not use is left alone.
    EXPECT_EQ(plan->ReplaceSubsystemSensors("B", {"t"}), 1);
    EXPECT_EQ(plan->IsSubsystemUsed("B"), 0);

    // Five sensors on two units cannot be wired: every row comes back and the user is told. The
    // positions without a unit are never used, though the plan has rows for them.
    const std::vector<tagSENSORMAP> before = AllRows(*plan);
    CScriptedPrompts prompts;
    CStatusBarFeedback boxes; // the window's feedback: the refusal shows as its box
    EXPECT_EQ(plan->ReplaceSubsystemSensors("A", {"1", "2", "3", "4", "5"}, &boxes), 0);
    EXPECT_EQ(AllRows(*plan), before);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 7123u);
    EXPECT_NE(prompts.Last().text.find("Front"), std::string::npos);

    // Across plans: the first that refuses ends the run; plans before it keep their new sensors.
    CQMXSensorMap* roomy = list.AddPlan(99, "Roomy"); // no such group: 128 units
    list.SwapPlans(0, 1);
    ASSERT_EQ(roomy->AssignSubsystem(assignment, 0), 1);
    EXPECT_EQ(list.ReplaceSubsystemSensorsInAll("A", {"1", "2", "3", "4", "5"}), 0);
    EXPECT_EQ(Rows(*roomy, 5), (std::vector<std::string>{"1/A", "2/A", "3/A", "4/A", "5/A"}));
    EXPECT_EQ(AllRows(*plan), before);
    EXPECT_EQ(list.ReplaceSubsystemSensorsInAll("A", {"k"}), 1);
    EXPECT_EQ(Rows(*plan, 2), (std::vector<std::string>{"k/A", "/"}));
}

TEST(SensorAssignment, AddItemAppendsToAnExistingRow)
{
    CSensorAssignment assignment;
    assignment.AddRow("Door", {"S1"});
    EXPECT_EQ(assignment.AddItem(0, "S2"), 0);
    EXPECT_EQ(assignment.GetItem(0, 1), "S2");
    EXPECT_EQ(assignment.AddItem(1, "S3"), -1);
    EXPECT_EQ(assignment.AddItem(-1, "S3"), -1);
    EXPECT_EQ(assignment.GetItemCount(0), 2);
}
