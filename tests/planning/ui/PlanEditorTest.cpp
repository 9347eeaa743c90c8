// The plan editor, the add-subsystem dialog and the plan list over a project of the sample model.
#include <gtest/gtest.h>

#include "PlanFixture.h"
#include "acquisition/BlixChDB.h"
#include "experiments/SensorBundle.h"
#include "experiments/SensorProject.h"
#include "planning/QMXBlixList.h"
#include "planning/QMXSensorMap.h"
#include "planning/QMXSensorMapList.h"
#include "planning/SensorAssignment.h"
#include "planning/ui/DlgExpPlanAddSubsystem.h"
#include "planning/ui/DlgExpPlanList.h"
#include "planning/ui/DlgExpPlanMap.h"
#include "platform/ui/EmbeddedGridWnd.h"
#include "platform/ui/FlexGridModel.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/Clipboard.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "support/WidgetShot.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

std::vector<tagSENSORMAP> Rows(const CQMXSensorMap& plan)
{
    std::vector<tagSENSORMAP> rows(static_cast<size_t>(plan.GetRowCount()));
    for (int i = 0; i < plan.GetRowCount(); ++i)
        plan.GetRow(i, rows[static_cast<size_t>(i)]);
    return rows;
}

// Subsystem and sensor of each row, which is what the editor moves.
std::vector<std::pair<std::string, std::string>> Contents(const CQMXSensorMap& plan)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const tagSENSORMAP& r : Rows(plan))
        out.emplace_back(r.subsystem, r.sensor);
    return out;
}

void DeleteLater()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// An editor on a new plan holding subsystem A (3 sensors: channels 0-2) and B (2: channels 4-5).
struct EditorRig
{
    explicit EditorRig(int channels = 96) : f(channels)
    {
        a = f.Structure(0);
        b = f.Structure(1);
        f.Assign(a, {"S1", "S2", "S3"});
        f.Assign(b, {"S4", "S5"});
        editor.EnsureInitialized();
        editor.SetMode(CDlgExpPlanMap::modeNew);
        editor.SetPlan(nullptr);
        const CSensorAssignment& as = *f.project.GetSensorAssignment();
        EXPECT_EQ(editor.GetWorkingCopy().AssignSubsystem(as, as.FindRow(a)), 1);
        EXPECT_EQ(editor.GetWorkingCopy().AssignSubsystem(as, as.FindRow(b)), 1);
        editor.SetPlan(nullptr);
    }
    std::string Subsystem(int row) const
    {
        tagSENSORMAP r;
        editor.GetWorkingCopy().GetRow(row, r);
        return r.subsystem;
    }
    CPlanFixture f;
    std::string a, b;
    mutable CDlgExpPlanMap editor{&f.project};
};

} // namespace

TEST(PlanEditor, GridOf96ChannelsHasThreeBandsLaidOutLikeTheHardware)
{
    EditorRig rig;
    CEmbeddedGridWnd& grid = *rig.editor.Grid();
    EXPECT_EQ(rig.editor.GetBandCount(), 3);
    EXPECT_EQ(grid.GetRows(), 33);
    EXPECT_EQ(grid.GetCols(), 16);
    // Widths in dialog units, shown at the dialog's font.
    const int widths[] = {50, 45, 35, 60, 150};
    const char* heads[] = {"Slot", "BLIX", "CH#", "Sensor", "Subsystem"};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(grid.GetColWidth(11 + k), rig.editor.DialogUnitsToPixelsX(widths[k]));
        EXPECT_EQ(grid.GetTextMatrix(0, 11 + k), heads[k]);
    }
    // Channel 45: band 1, row 14; slot 6 (cell joined from row 13 over 8 rows), unit B23 over 2.
    EXPECT_EQ(grid.GetTextMatrix(9, 6), "Slot 6");
    EXPECT_EQ(grid.rowSpan(8, 5), 8);
    EXPECT_EQ(grid.GetTextMatrix(13, 7), "00023");
    EXPECT_GT(grid.GetColWidth(7), grid.fontMetrics().horizontalAdvance("00023") + 6)
        << "the unit's serial shows whole";
    EXPECT_EQ(grid.rowSpan(12, 6), 2);
    EXPECT_EQ(grid.GetTextMatrix(14, 8), "2");
    EXPECT_EQ(grid.GridModel()->CellBackColor(14, 8), QColor(255, 255, 204));
    EXPECT_EQ(grid.GridModel()->CellBackColor(0, 9), QColor(204, 255, 204));
    // Rows placed by the assignment are red; the others black.
    EXPECT_EQ(grid.GetTextMatrix(1, 4), "S1");
    EXPECT_EQ(grid.GetTextMatrix(1, 5), rig.a);
    EXPECT_EQ(grid.GridModel()->CellForeColor(1, 4), QColor(255, 0, 0));
    EXPECT_EQ(grid.GridModel()->CellForeColor(8, 4), QColor(Qt::black));

    const QStringList faults = GrabAndCheckLayout(rig.editor, "orvex_planning_ui", "DlgExpPlanMap");
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
    rig.editor.resize(1200, 760);
    QApplication::processEvents();
    EXPECT_TRUE(rig.editor.grab().save(QDir(ShotFolder("orvex_planning_ui")).filePath("DlgExpPlanMap96.png")));
}

TEST(PlanEditor, SelectionTakesWholeUnitsAndMovesStopAtTheEnds)
{
    EditorRig rig;
    CDlgExpPlanMap& e = rig.editor;
    // The second channel of unit 2 brings its first.
    e.SelectChannels(5, 5);
    EXPECT_EQ(e.GetSelection(), (std::vector<int>{4, 5}));
    e.SelectChannels(1, 2);
    EXPECT_EQ(e.GetSelection(), (std::vector<int>{0, 1, 2, 3}));

    const auto before = Contents(e.GetWorkingCopy());
    e.SelectChannels(0, 1);
    e.OnUp();
    EXPECT_EQ(Contents(e.GetWorkingCopy()), before);
    e.SelectChannels(94, 95);
    e.OnDown();
    EXPECT_EQ(Contents(e.GetWorkingCopy()), before);

    // B's unit up one: A's second unit and B's exchange places, sensors laid again in order.
    e.SelectChannels(4, 5);
    e.OnUp();
    EXPECT_EQ(e.GetSelection(), (std::vector<int>{2, 3}));
    EXPECT_EQ(rig.Subsystem(2), rig.b);
    EXPECT_EQ(rig.Subsystem(4), rig.a);
    tagSENSORMAP r;
    e.GetWorkingCopy().GetRow(2, r);
    EXPECT_EQ(r.sensor, "S4");
    e.GetWorkingCopy().GetRow(4, r);
    EXPECT_EQ(r.sensor, "S3");
    EXPECT_EQ(e.Grid()->GetTextMatrix(3, 5), rig.b);
    // Down again with the stored selection brings it back.
    e.OnDown();
    EXPECT_EQ(rig.Subsystem(4), rig.b);
}

TEST(PlanEditor, DropLandsOnTheUnitsFirstChannelAndAnOverflowMovesNothing)
{
    EditorRig rig(16);
    CDlgExpPlanMap& e = rig.editor;
    // A drop on channel 9 (second channel of unit 4) lands on channel 8.
    e.SelectChannels(4, 5);
    e.OnMoveByDrag();
    EXPECT_TRUE(e.IsDragging());
    e.OnDrop(CDlgExpPlanMap::ChannelRow(9), CDlgExpPlanMap::ChannelCol(9) + 3);
    EXPECT_FALSE(e.IsDragging());
    EXPECT_EQ(rig.Subsystem(8), rig.b);
    EXPECT_EQ(rig.Subsystem(9), rig.b);
    EXPECT_EQ(rig.Subsystem(4), "");

    // Two units dropped on the last unit would pass channel 15: nothing moves.
    const auto before = Contents(e.GetWorkingCopy());
    e.SelectChannels(0, 3);
    e.OnMoveByDrag();
    e.OnDrop(CDlgExpPlanMap::ChannelRow(14), CDlgExpPlanMap::ChannelCol(14) + 3);
    EXPECT_EQ(Contents(e.GetWorkingCopy()), before);
}

TEST(PlanEditor, CopyThenPasteIntoAnotherPlanGivesEqualRows)
{
    EditorRig rig;
    CScriptedPrompts prompts;
    prompts.Answer(IDOK).Answer(IDOK);
    rig.editor.OnCopy();
    std::string text;
    ASSERT_TRUE(GetClipboardText(text));
    CDlgExpPlanMap other(&rig.f.project);
    other.EnsureInitialized();
    other.OnPaste();
    EXPECT_EQ(Contents(other.GetWorkingCopy()), Contents(rig.editor.GetWorkingCopy()));
    EXPECT_EQ(other.Grid()->GetTextMatrix(1, 5), rig.a);
    EXPECT_EQ(prompts.Records()[1].stringId, 6168u);

    // An empty clipboard: 6018, nothing changes.
    SetClipboardText("");
    prompts.Answer(IDOK);
    other.OnPaste();
    EXPECT_EQ(prompts.Last().stringId, 6018u);
    EXPECT_EQ(prompts.Unexpected(), 0u);
}

TEST(PlanEditor, StoreNamesNewPlansUniquelyEditsInPlaceAndViewPutsToUse)
{
    EditorRig rig;
    CQMXSensorMapList& plans = *rig.f.project.GetSensorMapList();
    plans.AddPlan(0, "X");
    rig.editor.NameEdit()->setText("X");
    rig.editor.CommentEdit()->setText("front");
    rig.editor.OnStore();
    ASSERT_EQ(plans.GetPlanCount(), 2);
    CQMXSensorMap* stored = plans.GetPlan(1);
    EXPECT_EQ(stored->GetName(), "X 1");
    EXPECT_EQ(stored->GetComment(), "front");
    EXPECT_EQ(Contents(*stored), Contents(rig.editor.GetWorkingCopy()));
    EXPECT_EQ(rig.editor.EndResult(), IDOK);

    // Edit: the stored plan takes the copy; a name another plan bears gets its variant.
    CDlgExpPlanMap edit(&rig.f.project);
    edit.EnsureInitialized();
    edit.SetMode(CDlgExpPlanMap::modeEdit);
    edit.SetPlan(stored);
    EXPECT_EQ(edit.NameEdit()->text(), "X 1");
    edit.GetWorkingCopy().ClearSubsystem(rig.b);
    edit.NameEdit()->setText("X");
    edit.OnStore();
    EXPECT_EQ(stored->GetName(), "X 2");
    EXPECT_FALSE(stored->IsSubsystemUsed(rig.b));

    // View: the comment is stored and the plan is put to use.
    CDlgExpPlanMap view(&rig.f.project);
    view.EnsureInitialized();
    view.SetMode(CDlgExpPlanMap::modeView);
    view.SetPlan(stored);
    EXPECT_FALSE(view.NameEdit()->isEnabled());
    EXPECT_FALSE(view.Button(3005)->isEnabled());
    view.CommentEdit()->setText("used");
    view.OnStore();
    EXPECT_EQ(stored->GetComment(), "used");
    EXPECT_EQ(rig.f.project.GetBlixChDB()->GetItemList()->GetSize(), 3);
}

TEST(PlanEditor, TheProjectsOwnSubsystemComesFirstAndCannotBeRemoved)
{
    CPlanFixture f;
    const std::string own = f.Structure(2);
    const std::string other = f.Structure(3);
    f.project.SetTargetSubsystem(own);
    f.Assign(own, {"S1", "S2"});
    f.Assign(other, {"S3"});
    CDlgExpPlanMap e(&f.project);
    e.EnsureInitialized();
    e.SetMode(CDlgExpPlanMap::modeNew);
    e.SetPlan(nullptr);
    tagSENSORMAP r;
    e.GetWorkingCopy().GetRow(1, r);
    EXPECT_EQ(r.subsystem, own);
    EXPECT_EQ(r.sensor, "S2");
    const CSensorAssignment& as = *f.project.GetSensorAssignment();
    e.GetWorkingCopy().AssignSubsystem(as, as.FindRow(other));

    CScriptedPrompts prompts;
    prompts.Answer(IDOK).Answer(IDOK);
    e.Grid()->SetCurrentCell(1, 5);
    e.OnRemoveSubsystem();
    EXPECT_EQ(prompts.Last().stringId, 6229u);
    EXPECT_TRUE(e.GetWorkingCopy().IsSubsystemUsed(own));
    e.Grid()->SetCurrentCell(3, 4);
    e.OnRemoveSubsystem();
    EXPECT_EQ(prompts.Last().stringId, 7017u);
    EXPECT_FALSE(e.GetWorkingCopy().IsSubsystemUsed(other));
    EXPECT_EQ(e.Grid()->GetTextMatrix(3, 5), "");
}

TEST(PlanEditor, AddingSubsystemsCountsWholeUnitsAndRefillsOnCancelToo)
{
    CPlanFixture f(8);
    const std::string a = f.Structure(0), b = f.Structure(1), empty = f.Structure(2), used = f.Structure(3);
    f.Assign(a, {"S1", "S2", "S3"});
    f.Assign(b, {"S4", "S5"});
    f.Assign(used, {"S6"});
    f.project.GetSensorMapList()->AddPlan(0, "P")->AssignSubsystem(*f.project.GetSensorAssignment(),
                                                                   f.project.GetSensorAssignment()->FindRow(used));
    CDlgExpPlanMap e(&f.project);
    e.EnsureInitialized();
    e.SetPlan(nullptr);
    // Five channels taken (a unit half used counts whole): three free channels, two free units.
    CQMXSensorMap& plan = e.GetWorkingCopy();
    for (int row : {1, 2, 3, 4, 5}) {
        plan.SetSensor(row, "X");
        plan.SetSubsystem(row, "Busy");
    }
    ASSERT_EQ(plan.GetUsedChannelCount(), 5);

    CScriptedDialogs dialogs;
    CScriptedPrompts prompts;
    dialogs.Then([&](CZuDialog& d) {
        auto& add = static_cast<CDlgExpPlanAddSubsystem&>(d);
        std::vector<std::string> names;
        for (int i = 0; i < add.GetItemCount(); ++i)
            names.push_back(add.GetItemName(i));
        // A subsystem of a stored plan shows only with "show all".
        EXPECT_EQ(std::count(names.begin(), names.end(), used), 0);
        EXPECT_EQ(std::count(names.begin(), names.end(), empty), 1);
        for (int i = 0; i < add.GetItemCount(); ++i)
            add.SetTicked(i, add.GetItemName(i) == a);
        EXPECT_EQ(add.ChannelText(), "4/3");
        EXPECT_EQ(add.UnitText(), "2/2");
        prompts.Answer(IDOK);
        EXPECT_EQ(add.PressOK(), 0);
        EXPECT_EQ(prompts.Last().stringId, 6235u);
        // The first placements stay when a later one cannot be made; the editor shows them.
        plan.SetSensor(0, "");
        plan.SetSubsystem(0, "");
        plan.SetSensor(0, "S9");
        plan.SetSubsystem(0, "Late");
        add.SetShowAll(true);
        EXPECT_GT(add.GetItemCount(), static_cast<int>(names.size()));
        return add.PressCancel();
    });
    e.OnAddSubsystem();
    EXPECT_EQ(e.Grid()->GetTextMatrix(1, 5), "Late");

    // A subsystem without sensors is skipped; B goes on the free unit.
    for (int row : {0, 1, 2, 3, 4, 5}) {
        plan.SetSensor(row, "");
        plan.SetSubsystem(row, "");
    }
    dialogs.Then([&](CZuDialog& d) {
        auto& add = static_cast<CDlgExpPlanAddSubsystem&>(d);
        for (int i = 0; i < add.GetItemCount(); ++i)
            add.SetTicked(i, add.GetItemName(i) == b || add.GetItemName(i) == empty);
        EXPECT_EQ(add.ChannelText(), "2/8");
        return add.PressOK();
    });
    e.OnAddSubsystem();
    EXPECT_TRUE(plan.IsSubsystemUsed(b));
    EXPECT_FALSE(plan.IsSubsystemUsed(empty));
    EXPECT_EQ(e.Grid()->GetTextMatrix(2, 5), b);
    EXPECT_EQ(prompts.Unexpected(), 0u);
    EXPECT_EQ(dialogs.Unexpected(), 0u);
}

TEST(PlanList, UseRebuildsDatabaseAndBundlesFromThePlanAndSends1110)
{
    CPlanFixture f(16);
    // An imported database survives opening the list.
    auto old = std::make_unique<CBlixChDB::CItem>();
    old->SetSubsystem("Old");
    f.project.GetBlixChDB()->GetItemList()->Add(std::move(old));
    CQMXSensorMap* plan = f.project.GetSensorMapList()->AddPlan(0, "P");
    auto set = [plan](int row, const char* sensor, const char* subsystem) {
        plan->SetSensor(row, sensor);
        plan->SetSubsystem(row, subsystem);
    };
    set(8, "S1", "A");  // B5 channel 1
    set(11, "S2", "A"); // B6 channel 2, its first channel empty
    set(12, "S3", "");  // no subsystem: no entry
    set(14, "", "A");   // no sensor: no entry
    f.project.GetSensorProject()->AddBundle("00006-BLIX")->AddSensor("Stale");

    CRecordingMessageTarget frame;
    CMainWindowTargetScope scope(&frame);
    CDlgExpPlanList* list = CDlgExpPlanList::ShowInstance(&f.project);
    list->SetMode(CDlgExpPlanList::modeChoose);
    EXPECT_EQ(f.project.GetBlixChDB()->GetItemList()->GetSize(), 1);
    const QStringList faults = GrabAndCheckLayout(*list, "orvex_planning_ui", "DlgExpPlanList");
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
    EXPECT_EQ(list->ListCtrl()->item(0, 1)->text(), "1");
    EXPECT_EQ(list->ListCtrl()->item(0, 2)->text(), "3");
    list->SelectRows({0});
    list->OnUse();
    DeleteLater();
    EXPECT_EQ(CDlgExpPlanList::GetInstance(), nullptr);

    const CBlixChDB::CItemList& items = *f.project.GetBlixChDB()->GetItemList();
    ASSERT_EQ(items.GetSize(), 2);
    EXPECT_EQ(items.GetAt(0)->GetBlixSN(), "00005");
    EXPECT_EQ(items.GetAt(0)->GetBlixCh(), 0);
    EXPECT_EQ(items.GetAt(1)->GetBlixSN(), "00006");
    EXPECT_EQ(items.GetAt(1)->GetBlixCh(), 1);
    EXPECT_EQ(items.GetAt(1)->GetSensor(), "S2");
    const CSensorBundle* b5 = f.project.GetSensorProject()->FindBundleByID("00005-BLIX");
    const CSensorBundle* b6 = f.project.GetSensorProject()->FindBundleByID("00006-BLIX");
    ASSERT_TRUE(b5 && b6);
    EXPECT_EQ(b5->GetSensors(), (std::vector<std::string>{"S1"}));
    EXPECT_EQ(b6->GetSensors(), (std::vector<std::string>{"", "S2"}));
    ASSERT_EQ(frame.Records().size(), 1u);
    EXPECT_EQ(frame.Records()[0].msg, WM_COMMAND);
    EXPECT_EQ(frame.Records()[0].wParam, 1110u);
}

TEST(PlanList, ManagingDeletesSelectedPlansByNameAndReorders)
{
    CPlanFixture f;
    CQMXSensorMapList& plans = *f.project.GetSensorMapList();
    for (const char* name : {"P1", "P2", "P3", "P4"})
        plans.AddPlan(0, name);
    CDlgExpPlanList list(&f.project);
    list.EnsureInitialized();
    list.SetMode(CDlgExpPlanList::modeManage);
    EXPECT_FALSE(list.Button(2003)->isVisibleTo(&list));
    EXPECT_TRUE(list.Button(2001)->isVisibleTo(&list));
    list.SelectRows({0});
    list.OnUp();
    EXPECT_EQ(plans.GetPlan(0)->GetName(), "P1");
    list.OnDown();
    EXPECT_EQ(plans.GetPlan(1)->GetName(), "P1");
    EXPECT_EQ(list.ListCtrl()->item(1, 0)->text(), "P1");

    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    list.SelectRows({0, 2, 3});
    list.OnDelete();
    EXPECT_EQ(prompts.Last().stringId, 6048u);
    ASSERT_EQ(plans.GetPlanCount(), 1);
    EXPECT_EQ(plans.GetPlan(0)->GetName(), "P1");
    EXPECT_EQ(list.ListCtrl()->rowCount(), 1);
}
