// Unit groups, plans and the sensor assignment: their stored forms and the rules the project
// container relies on.
#include <gtest/gtest.h>

#include "planning/QMXBlixList.h"
#include "planning/QMXSensorMapList.h"
#include "planning/SensorAssignment.h"
#include "platform/archive/Archive.h"
#include "platform/elements/ZuSubsystemTable.h"

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
