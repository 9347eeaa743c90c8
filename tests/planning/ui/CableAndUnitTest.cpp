// Unit registration, the unit-group choice, the cable map and the cable assignment.
#include <gtest/gtest.h>

#include "PlanFixture.h"
#include "acquisition/DAQ.h"
#include "acquisition/MultiQMXInterface.h"
#include "planning/QMXBlixList.h"
#include "planning/QMXSensorMap.h"
#include "planning/QMXSensorMapList.h"
#include "planning/SensorAssignment.h"
#include "planning/ui/DlgAssignCables.h"
#include "planning/ui/DlgExpPlanCableMap.h"
#include "planning/ui/DlgExpPlanList.h"
#include "planning/ui/DlgExpPlanMap.h"
#include "planning/ui/DlgRegQMXBlix.h"
#include "planning/ui/DlgRegSlotGroup.h"
#include "platform/qmx/QmxSimLayout.h"
#include "platform/ui/EditFlexGrid.h"
#include "platform/ui/EmbeddedGridWnd.h"
#include "platform/ui/FlexGridEx.h"
#include "platform/ui/FlexGridModel.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/PromptService.h"
#include "platform/win/ZuRegOptions.h"
#include "support/WidgetShot.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

void DeleteLater()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void AddGroup(CPlanFixture& f, int number, const char* prefix)
{
    auto g = std::make_unique<CQMXBlixList>(number);
    for (int s = 0; s < 32; ++s)
        for (int u = 0; u < 4; ++u)
            g->SetUnitName(s, u, std::string(prefix) + std::to_string(s * 4 + u + 1));
    f.project.GetBlixLists().Add(std::move(g));
    f.project.GetSensorMapList()->SetUnitGroups(f.project.GetBlixLists().Pointers());
}

} // namespace

TEST(UnitRegistration, CellsAreNormalisedDuplicatesBlockAndCancelUndoes)
{
    CPlanFixture f(32);
    CDlgRegQMXBlix dialog(&f.project);
    dialog.EnsureInitialized();
    CEditFlexGrid& grid = *dialog.Grid();
    EXPECT_EQ(grid.GetRows(), 5);
    EXPECT_EQ(grid.GetTextMatrix(0, 3), "BLIX #3");
    EXPECT_EQ(grid.GetTextMatrix(4, 0), "Slot 4");
    EXPECT_EQ(grid.GetTextMatrix(2, 2), "00006");

    // Typed text: a full stop is an ordinary character; the number before it is the serial.
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    grid.setFocus();
    grid.SetCurrentCell(1, 1);
    QTest::keyClick(&grid, '9');
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyClicks(QApplication::focusWidget(), "9.5");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents(); // the editor commits on the next turn of the loop
    EXPECT_EQ(grid.GetTextMatrix(1, 1), "99.5");
    grid.SetTextMatrix(1, 2, "0");
    grid.SetTextMatrix(1, 3, "xy");
    ASSERT_TRUE(dialog.StoreGrid());
    EXPECT_EQ(grid.GetTextMatrix(1, 1), "00099");
    EXPECT_EQ(grid.GetTextMatrix(1, 2), "");
    EXPECT_EQ(grid.GetTextMatrix(1, 3), "");
    EXPECT_EQ(grid.GetTextMatrix(2, 1), "00005"); // a registered name stays
    EXPECT_EQ(dialog.GetWorkingGroup(0)->GetUnitName(0, 1), "");
    // The project keeps its names until OK.
    EXPECT_EQ(f.project.GetBlixLists().GetAt(0)->GetUnitName(0, 0), "00001");

    // Slot 1 position 1 and slot 3 position 2 alike: OK is refused, naming both cells.
    grid.SetTextMatrix(3, 2, "99");
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    EXPECT_EQ(dialog.PressOK(), 0);
    EXPECT_EQ(prompts.Last().stringId, 7119u);
    EXPECT_NE(prompts.Last().text.find("row 1 column 1 and row 3 column 2"), std::string::npos) << prompts.Last().text;

    grid.SetTextMatrix(3, 2, "40");
    dialog.OnAddGroup();
    EXPECT_EQ(dialog.GetGroupCount(), 2);
    EXPECT_EQ(dialog.GroupList()->item(1)->text(), "Unit group 1");
    EXPECT_EQ(dialog.PressCancel(), IDCANCEL);
    EXPECT_EQ(f.project.GetBlixLists().GetSize(), 1);
    EXPECT_EQ(f.project.GetBlixLists().GetAt(0)->GetUnitName(0, 0), "00001");
    EXPECT_EQ(prompts.Unexpected(), 0u);
}

TEST(UnitRegistration, GroupsAreAddedAboveTheLargestNumberAndUsedOnesStay)
{
    CPlanFixture f(32);
    AddGroup(f, 5, "C");
    f.project.GetSensorMapList()->AddPlan(5, "Uses5");
    CDlgRegQMXBlix dialog(&f.project);
    dialog.EnsureInitialized();
    dialog.GroupList()->setCurrentRow(1);
    EXPECT_EQ(dialog.GetSelectedIndex(), 1);
    EXPECT_EQ(dialog.Grid()->GetTextMatrix(1, 1), "C1");

    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    dialog.OnDeleteGroup();
    EXPECT_EQ(prompts.Last().stringId, 7127u);
    EXPECT_EQ(dialog.GetGroupCount(), 2);

    dialog.OnAddGroup();
    EXPECT_EQ(dialog.GetWorkingGroup(2)->GetNumber(), 6);
    EXPECT_EQ(dialog.GetWorkingGroup(2)->GetUnitName(0, 0), "C1"); // a copy of the group shown
    prompts.Answer(IDOK);
    dialog.OnDeleteGroup();
    EXPECT_EQ(prompts.Last().stringId, 7017u);
    EXPECT_EQ(dialog.GetGroupCount(), 2);
    EXPECT_EQ(dialog.GetSelectedIndex(), 0);
    const QStringList faults = GrabAndCheckLayout(dialog, "orvex_planning_ui", "DlgRegQMXBlix");
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
    EXPECT_EQ(dialog.PressOK(), IDOK);
    EXPECT_EQ(f.project.GetBlixLists().GetSize(), 2);
    EXPECT_EQ(prompts.Unexpected(), 0u);
}

TEST(UnitRegistration, FillsFromTheConnectedSimulatedUnits)
{
    CDAQ::Destroy();
    WriteProfileString(CQmxSimLayout::kSettingsSection, "10.0.0.1", "boards=4+0,4+0; serial=1; address=10.0.0.1");
    WriteProfileString("QMX", "IP", "10.0.0.1");
    ASSERT_EQ(CDAQ::GetMultiInterface()->AddUnit(), 1);
    CPlanFixture f(16);
    CDlgRegQMXBlix dialog(&f.project);
    dialog.EnsureInitialized();
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    dialog.OnReadHardware();
    EXPECT_EQ(prompts.Last().stringId, 6168u);
    std::vector<std::string> cells;
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 4; ++c)
            cells.push_back(dialog.Grid()->GetTextMatrix(r, c));
    EXPECT_EQ(cells,
              (std::vector<std::string>{"00001", "00002", "00003", "00004", "00005", "00006", "00007", "00008"}));
    ASSERT_TRUE(dialog.StoreGrid());
    EXPECT_EQ(dialog.GetWorkingGroup(0)->GetUnitName(1, 3), "00008");
    CDAQ::Destroy();
}

TEST(UnitGroupChoice, NeedsATickAndAtMostTheGroupsThatFit)
{
    CPlanFixture f(32);
    for (int n = 1; n <= 4; ++n)
        AddGroup(f, n, "G");
    CDlgRegSlotGroup dialog(&f.project);
    dialog.SetMaxTicked(4);
    dialog.EnsureInitialized();
    dialog.GroupList()->setCurrentRow(2);
    EXPECT_EQ(dialog.Grid()->GetTextMatrix(1, 1), "G1");
    CScriptedPrompts prompts;
    prompts.Answer(IDOK).Answer(IDOK);
    EXPECT_EQ(dialog.PressOK(), 0);
    EXPECT_EQ(prompts.Last().stringId, 6259u);
    for (int i = 0; i < 5; ++i)
        dialog.SetTicked(i, true);
    EXPECT_EQ(dialog.PressOK(), 0);
    EXPECT_NE(prompts.Last().text.find("4"), std::string::npos);
    dialog.SetTicked(1, false);
    const QStringList faults = GrabAndCheckLayout(dialog, "orvex_planning_ui", "DlgRegSlotGroup");
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
    EXPECT_EQ(dialog.PressOK(), IDOK);
    EXPECT_EQ(dialog.GetSelection(), (std::vector<int>{0, 2, 3, 4}));
}

// Cable Map... in the plan list asks which unit groups to lay out under a title of its own, not
// under that of the unit registration, in both languages.
TEST(CableMap, TheButtonAsksForTheUnitGroupsUnderItsOwnTitle)
{
    CPlanFixture f(32);
    AddGroup(f, 2, "G");
    CDlgExpPlanList* list = CDlgExpPlanList::ShowInstance(&f.project);
    list->SetMode(CDlgExpPlanList::modeManage);
    QString title;
    QStringList faults;
    CScriptedDialogs dialogs;
    dialogs.Then([&](CZuDialog& d) {
        EXPECT_NE(dynamic_cast<CDlgRegSlotGroup*>(&d), nullptr);
        title = d.windowTitle();
        faults = GrabAndCheckLayout(d, "orvex_planning_ui", "DlgRegSlotGroup-CableMap");
        return IDCANCEL;
    });
    ASSERT_NE(list->Button(2009), nullptr);
    list->Button(2009)->click();
    EXPECT_EQ(dialogs.Unexpected(), 0u);
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
    EXPECT_EQ(title, "Choose Unit Groups");
    CDlgRegQMXBlix registration(&f.project);
    EXPECT_NE(title, registration.windowTitle());
    CDlgExpPlanList::DestroyInstance();
    DeleteLater();
}

TEST(CableAssignment, ChoosingAnotherRowsCableExchangesThem)
{
    CDlgAssignCables dialog;
    dialog.SetOrder({0, 2, 4});
    dialog.EnsureInitialized();
    EXPECT_EQ(dialog.Grid()->GetTextMatrix(3, 0), "Slot 3");
    EXPECT_EQ(dialog.Grid()->GetTextMatrix(3, 1), "Cable 5");
    ASSERT_TRUE(dialog.ChooseCable(1, 4));
    EXPECT_EQ(dialog.GetOrder(), (std::vector<int>{4, 2, 0}));
    EXPECT_EQ(dialog.Grid()->GetTextMatrix(3, 1), "Cable 1");
    ASSERT_TRUE(dialog.ChooseCable(2, 2));
    EXPECT_EQ(dialog.GetOrder(), (std::vector<int>{4, 2, 0}));
    // Enter neither closes the dialog nor reaches the grid.
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.EndResult(), 0);
    const QStringList faults = GrabAndCheckLayout(dialog, "orvex_planning_ui", "DlgAssignCables");
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
}

TEST(CableMap, TwoGroupsGiveSixteenCablesAndOkMakesGroupAndPlanInCableOrder)
{
    CPlanFixture f(40);
    AddGroup(f, 5, "C");
    const std::string a = f.Structure(0);
    f.Assign(a, {"S1", "S2", "S3"});
    CDlgExpPlanList* list = CDlgExpPlanList::ShowInstance(&f.project);
    list->SetMode(CDlgExpPlanList::modeManage);

    CDlgExpPlanCableMap map(&f.project, {0, 1});
    map.EnsureInitialized();
    CEmbeddedGridWnd& grid = *map.Grid();
    EXPECT_EQ(map.GetChannelCount(), 128);
    EXPECT_EQ(map.GetBandCount(), 4);
    EXPECT_EQ(grid.GetTextMatrix(0, 16), "Cable");
    EXPECT_EQ(grid.GetColWidth(16), map.DialogUnitsToPixelsX(80));
    // Slot 9 is the first slot of the second group.
    EXPECT_EQ(grid.GetTextMatrix(1, 11), "Cable 9");
    EXPECT_EQ(grid.GridModel()->CellCheck(1, 11), 0);
    EXPECT_EQ(grid.GetTextMatrix(1, 12), "C1");
    EXPECT_EQ(map.GetOwnGroup().GetUnitName(8, 0), "C1");
    // The sensors of slot 9 (channels 64-66) go with its cable.
    const CSensorAssignment& as = *f.project.GetSensorAssignment();
    map.GetWorkingCopy().AssignSubsystem(as, as.FindRow(a));
    for (int c = 0; c < 3; ++c)
        map.GetWorkingCopy().SwapRows(c, 64 + c);

    // 40 channels need 5 cables.
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    for (int s : {1, 3, 5, 8})
        map.SetCableTicked(s, true);
    map.PressOK();
    EXPECT_EQ(prompts.Last().stringId, 6260u);
    EXPECT_NE(prompts.Last().text.find("5"), std::string::npos);
    EXPECT_EQ(map.GetCreatedPlan(), nullptr);

    map.SetCableTicked(12, true);
    CScriptedDialogs dialogs;
    dialogs.Then([](CZuDialog& d) {
        auto& assign = static_cast<CDlgAssignCables&>(d);
        EXPECT_EQ(assign.GetOrder(), (std::vector<int>{1, 3, 5, 8, 12}));
        // Cable 9 (slot 8) to the first position.
        assign.ChooseCable(1, 8);
        return assign.PressOK();
    });
    map.PressOK();
    EXPECT_EQ(dialogs.Unexpected(), 0u);
    CQMXSensorMap* plan = map.GetCreatedPlan();
    ASSERT_NE(plan, nullptr);
    const CQMXBlixList* group = f.project.GetBlixLists().FindGroup(6);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(plan->GetUnitGroupNumber(), 6);
    EXPECT_EQ(plan->GetName(), "Plan 1");
    EXPECT_EQ(group->GetUnitName(0, 0), "C1");    // slot 8 first
    EXPECT_EQ(group->GetUnitName(3, 0), "00005"); // slot 1 took slot 8's position
    EXPECT_EQ(group->GetUnitName(4, 0), "C17");   // slot 12
    EXPECT_EQ(group->GetUnitName(5, 0), "");
    tagSENSORMAP row;
    plan->GetRow(2, row);
    EXPECT_EQ(row.subsystem, a);
    EXPECT_EQ(row.sensor, "S3");
    EXPECT_EQ(row.unitName, "C2");
    // The list shows the new plan and the editor opens on it.
    EXPECT_EQ(list->ListCtrl()->rowCount(), 1);
    ASSERT_NE(CDlgExpPlanMap::GetInstance(), nullptr);
    EXPECT_EQ(CDlgExpPlanMap::GetInstance()->GetStoredPlan(), plan);
    EXPECT_EQ(CDlgExpPlanMap::GetInstance()->GetMode(), CDlgExpPlanMap::modeEdit);
    const QStringList faults = GrabAndCheckLayout(map, "orvex_planning_ui", "DlgExpPlanCableMap");
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
    CDlgExpPlanMap::DestroyInstance();
    CDlgExpPlanList::DestroyInstance();
    DeleteLater();
    EXPECT_EQ(CDlgExpPlanMap::GetInstance(), nullptr);
    EXPECT_EQ(prompts.Unexpected(), 0u);
}
