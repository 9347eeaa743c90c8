// The channel-plan editor of universal-file DAQ projects and its column chooser, over a project
// of the sample model with an 8-channel plan size.
#include <gtest/gtest.h>

#include "PlanFixture.h"
#include "models/HSEARegOptions.h"
#include "planning/DAQPPChannelTable.h"
#include "planning/DAQPPExpPlanList.h"
#include "planning/SensorAssignment.h"
#include "planning/ui/DlgDAQPPChListOptions.h"
#include "planning/ui/DlgDAQPPExpPlan.h"
#include "planning/ui/DlgExpPlanAddSubsystem.h"
#include "platform/ui/EditFlexGrid.h"
#include "platform/ui/EmbeddedGridWnd.h"
#include "platform/ui/FlexGridModel.h"
#include "platform/ui/ZuDataTipCtrl.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/Clipboard.h"
#include "platform/win/PromptService.h"
#include "support/WidgetShot.h"
#include "uff/ExtUFDaqProject.h"

#include <QApplication>
#include <QHeaderView>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

void DeleteLater()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The project's own subsystem A holds S1..S3, B holds S4, S5; plans have 8 channels.
struct DaqppRig
{
    DaqppRig()
    {
        a = f.Structure(0);
        b = f.Structure(1);
        f.Assign(a, {"S1", "S2", "S3"});
        f.Assign(b, {"S4", "S5"});
        f.project.SetTargetSubsystem(a);
        project = static_cast<CExtUFDaqProject*>(f.project.AddExtDaqProject(std::make_unique<CExtUFDaqProject>()));
        project->SetPlanMaxChannel(8);
    }
    ~DaqppRig()
    {
        CDlgDAQPPExpPlan::DestroyInstance();
        CDlgDAQPPExpPlan::SetDerivedEditorOpener(nullptr);
        CDlgDAQPPExpPlan::SetPlanListNotifier(nullptr);
        DeleteLater();
    }
    // A stored plan: A on channels 0-2, B on 4-5.
    CDAQPPExpPlan* AddStored(const std::string& name)
    {
        CDAQPPExpPlan* plan = project->GetExpPlans().AddPlan(8, name);
        const CSensorAssignment& as = *f.project.GetSensorAssignment();
        plan->AssignSubsystem(as, as.FindRow(a));
        plan->AssignSubsystem(as, as.FindRow(b));
        plan->SwapRows(4, 5);
        plan->SwapRows(3, 4);
        plan->SetPointValue(3, 5);
        return plan;
    }
    CDlgDAQPPExpPlan* Open(int mode, CDAQPPExpPlan* plan)
    {
        CDlgDAQPPExpPlan* e = CDlgDAQPPExpPlan::ShowInstance(project);
        e->SetMode(mode);
        e->SetPlan(plan);
        return e;
    }
    static std::string Sensors(const CDAQPPExpPlan& plan)
    {
        std::string text;
        for (int c = 0; c < plan.GetChannelCount(); ++c) {
            tagDAQPP_SENSORMAP row;
            plan.GetRow(c, row);
            text += (c ? " " : "") + (row.sensor.empty() ? std::string("-") : row.sensor);
        }
        return text;
    }

    CPlanFixture f{16};
    std::string a, b;
    CExtUFDaqProject* project = nullptr;
};

// A second editor as the plan list's derived editor behaves: it refuses to close while it holds
// channels.
class CHoldingEditor : public CDlgDAQPPExpPlan
{
public:
    using CDlgDAQPPExpPlan::CDlgDAQPPExpPlan;
    bool CanClose() override
    {
        for (int c = 0; c < GetWorkingPlan().GetChannelCount(); ++c)
            if (!GetWorkingPlan().IsRowEmpty(c))
                return false;
        return true;
    }
};

} // namespace

TEST(DAQPPPlanEditor, TableFollowsTheLayoutAndIsTheOnlyEditor)
{
    DaqppRig rig;
    CScriptedPrompts prompts;
    CDlgDAQPPExpPlan* e = rig.Open(CDlgDAQPPExpPlan::modeNewOwn, nullptr);
    EXPECT_EQ(CDlgDAQPPExpPlan::ShowInstance(rig.project), e);
    EXPECT_EQ(CDlgDAQPPExpPlan::GetInstance(), e);
    EXPECT_TRUE(e->IsChanged());
    EXPECT_EQ(rig.Sensors(e->GetWorkingPlan()), "S1 S2 S3 - - - - -") << "the own subsystem placed first";
    EXPECT_EQ(e->NameEdit()->text(), "Plan 1");

    CEmbeddedGridWnd& grid = *e->Grid();
    EXPECT_EQ(grid.GetRows(), 9);
    EXPECT_EQ(grid.GetCols(), 13);
    EXPECT_EQ(grid.GetTextMatrix(0, 0), "CH.");
    EXPECT_EQ(grid.GetTextMatrix(0, 11), "Subsystem Name");
    EXPECT_EQ(grid.GetTextMatrix(3, 0), "3");
    EXPECT_EQ(grid.GetTextMatrix(3, 2), "S3");
    EXPECT_EQ(grid.GetTextMatrix(3, 4), rig.a + ":03");
    EXPECT_EQ(grid.GetTextMatrix(3, 12), "03");
    EXPECT_EQ(grid.GetTextMatrix(3, 7), "Acceleration");
    EXPECT_EQ(grid.GetTextMatrix(5, 2), "");
    // At least the widths by type, wider where a heading needs it.
    EXPECT_GE(grid.GetColWidth(1), 50);
    EXPECT_GE(grid.GetColWidth(5), 70);
    EXPECT_GE(grid.GetColWidth(11), 100);
    EXPECT_GT(grid.GetColWidth(2), grid.horizontalHeader()->fontMetrics().horizontalAdvance("User Channel ID"));
    EXPECT_EQ(grid.GridModel()->CellBackColor(2, 1), QColor(255, 160, 90));
    EXPECT_EQ(grid.GridModel()->CellBackColor(2, 12), QColor(225, 225, 225));
    EXPECT_EQ(grid.GridModel()->CellBackColor(0, 2), QColor(204, 255, 204));

    // The move tip names the channels; 3 channels do not fit from row 7 of 8.
    e->SelectChannels(0, 2);
    e->OnMove();
    ASSERT_TRUE(e->IsMoving());
    EXPECT_EQ(e->MoveTip()->GetText(), "Moving, 1ch, 2ch, 3ch");
    prompts.Answer(IDOK);
    e->OnDrop(7);
    EXPECT_EQ(prompts.Last().stringId, 6295u);
    EXPECT_EQ(rig.Sensors(e->GetWorkingPlan()), "S1 S2 S3 - - - - -");
    // Pressing the command again while the tip shows ends the move.
    e->OnMove();
    EXPECT_TRUE(e->IsMoving());
    e->OnMove();
    EXPECT_FALSE(e->IsMoving());

    // The own subsystem cannot be cleared.
    grid.SetCurrentCell(1, 2);
    prompts.Answer(IDOK);
    e->OnClearSubsystem();
    EXPECT_EQ(prompts.Last().stringId, 6229u);
    EXPECT_EQ(rig.Sensors(e->GetWorkingPlan()), "S1 S2 S3 - - - - -");

    const QStringList faults = GrabAndCheckLayout(*e, "orvex_planning_ui", "DlgDAQPPExpPlan");
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
    EXPECT_GE(grid.width(), 480);
    EXPECT_EQ(prompts.Unexpected(), 0u);
}

TEST(DAQPPPlanEditor, RowOperationsCopyPasteAndClear)
{
    DaqppRig rig;
    CScriptedPrompts prompts;
    CDAQPPExpPlan* stored = rig.AddStored("Front");
    CDlgDAQPPExpPlan* e = rig.Open(CDlgDAQPPExpPlan::modeEdit, stored);
    EXPECT_FALSE(e->IsChanged());
    EXPECT_EQ(rig.Sensors(e->GetWorkingPlan()), "S1 S2 S3 - S4 S5 - -");

    // Down: B's rows to 5-6; up from the first row does nothing.
    e->SelectChannels(4, 5);
    e->OnMoveDown();
    EXPECT_EQ(rig.Sensors(e->GetWorkingPlan()), "S1 S2 S3 - - S4 S5 -");
    EXPECT_EQ(e->GetSelectedChannels(), (std::vector<int>{5, 6}));
    EXPECT_TRUE(e->IsChanged());
    e->SelectChannels(0, 0);
    e->OnMoveUp();
    EXPECT_EQ(rig.Sensors(e->GetWorkingPlan()), "S1 S2 S3 - - S4 S5 -");
    // Dropping S1 on row 3 puts A back in local order over the places it holds.
    e->OnMove();
    e->OnDrop(3);
    EXPECT_EQ(rig.Sensors(e->GetWorkingPlan()), "S1 S2 S3 - - S4 S5 -");
    EXPECT_EQ(e->Grid()->GetTextMatrix(1, 2), "S1");

    // Copy gives the table's text; a short line is refused without a change; the copied text
    // pastes back.
    prompts.Answer(IDOK);
    e->OnCopy();
    EXPECT_EQ(prompts.Last().stringId, 6269u);
    std::string copied;
    ASSERT_TRUE(GetClipboardText(copied));
    CDAQPPChannelTable table(e->GetWorkingPlan(), rig.project->GetExpPlans(), rig.project->MakeCellContext());
    EXPECT_EQ(copied, table.CopyText());
    ASSERT_TRUE(SetClipboardText("CH.\n1\tonly\n"));
    prompts.Answer(IDOK);
    e->OnPaste();
    EXPECT_EQ(prompts.Last().stringId, 6070u);
    EXPECT_EQ(rig.Sensors(e->GetWorkingPlan()), "S1 S2 S3 - - S4 S5 -");

    // Clearing B (asked with its name), then pasting the copy restores it.
    e->Grid()->SetCurrentCell(6, 2);
    prompts.Answer(IDOK);
    e->OnClearSubsystem();
    EXPECT_EQ(prompts.Last().stringId, 7017u);
    EXPECT_NE(prompts.Last().text.find(rig.b), std::string::npos);
    EXPECT_EQ(rig.Sensors(e->GetWorkingPlan()), "S1 S2 S3 - - - - -");
    ASSERT_TRUE(SetClipboardText(copied));
    prompts.Answer(IDOK);
    e->OnPaste();
    EXPECT_EQ(prompts.Last().stringId, 6268u);
    EXPECT_EQ(rig.Sensors(e->GetWorkingPlan()), "S1 S2 S3 - - S4 S5 -");
    EXPECT_EQ(e->Grid()->GetTextMatrix(6, 11), rig.b);
    EXPECT_EQ(prompts.Unexpected(), 0u);
}

TEST(DAQPPPlanEditor, ClosingAsksByModeAndAppliesOnYes)
{
    struct Case
    {
        const char* what;
        int mode;
        std::function<void(CDlgDAQPPExpPlan&)> edit;
        uint32_t asked; // 0: closes without asking
        int answer;
        bool stillOpen;
        bool listTold; // the plan list is told to fill again
        std::function<void(DaqppRig&, CDAQPPExpPlan& source)> check;
    };
    auto planCount = [](int n) {
        return [n](DaqppRig& rig, CDAQPPExpPlan&) { EXPECT_EQ(rig.project->GetExpPlans().GetPlanCount(), n); };
    };
    const std::vector<Case> cases = {
        {"new with the own subsystem, No", CDlgDAQPPExpPlan::modeNewOwn, nullptr, 6289, IDNO, false, false,
         planCount(1)},
        {"new from a copy, Yes", CDlgDAQPPExpPlan::modeNew,
         [](CDlgDAQPPExpPlan& e) { e.CommentEdit()->setText("copy"); }, 6289, IDYES, false, true,
         [](DaqppRig& rig, CDAQPPExpPlan& source) {
             ASSERT_EQ(rig.project->GetExpPlans().GetPlanCount(), 2);
             const CDAQPPExpPlan* made = rig.project->GetExpPlans().GetPlan(1);
             EXPECT_EQ(made->GetName(), "Plan 1");
             EXPECT_EQ(made->GetComment(), "copy");
             EXPECT_EQ(DaqppRig::Sensors(*made), DaqppRig::Sensors(source));
             tagDAQPP_SENSORMAP row;
             made->GetRow(3, row);
             EXPECT_EQ(row.pointValue, 5);
             EXPECT_EQ(source.GetName(), "Front");
         }},
        {"edit unchanged", CDlgDAQPPExpPlan::modeEdit, nullptr, 0, 0, false, false, planCount(1)},
        {"edit, only the name changed, Yes", CDlgDAQPPExpPlan::modeEdit,
         [](CDlgDAQPPExpPlan& e) { e.NameEdit()->setText("Rear"); }, 6290, IDYES, false, true,
         [](DaqppRig&, CDAQPPExpPlan& source) { EXPECT_EQ(source.GetName(), "Rear"); }},
        {"edit, a row moved, No", CDlgDAQPPExpPlan::modeEdit,
         [](CDlgDAQPPExpPlan& e) {
             e.SelectChannels(4, 5);
             e.OnMoveDown();
         },
         6290, IDNO, false, false,
         [](DaqppRig&, CDAQPPExpPlan& source) { EXPECT_EQ(DaqppRig::Sensors(source), "S1 S2 S3 - S4 S5 - -"); }},
        {"edit, a row moved, Yes", CDlgDAQPPExpPlan::modeEdit,
         [](CDlgDAQPPExpPlan& e) {
             e.SelectChannels(4, 5);
             e.OnMoveDown();
         },
         6290, IDYES, false, false,
         [](DaqppRig&, CDAQPPExpPlan& source) {
             EXPECT_EQ(DaqppRig::Sensors(source), "S1 S2 S3 - - S4 S5 -");
             EXPECT_EQ(source.GetName(), "Front");
         }},
        {"edit, Cancel keeps the editor", CDlgDAQPPExpPlan::modeEdit,
         [](CDlgDAQPPExpPlan& e) { e.CommentEdit()->setText("x"); }, 6290, IDCANCEL, true, false,
         [](DaqppRig&, CDAQPPExpPlan& source) { EXPECT_EQ(source.GetComment(), ""); }},
        {"view, the comment changed, Yes", CDlgDAQPPExpPlan::modeView,
         [](CDlgDAQPPExpPlan& e) {
             EXPECT_FALSE(e.NameEdit()->isEnabled());
             for (int id : {57637, 3005, 3031, 3036, 3032, 3034, 3278})
                 EXPECT_FALSE(e.Button(id)->isEnabled()) << id;
             EXPECT_TRUE(e.Button(57634)->isEnabled());
             e.CommentEdit()->setText("seen");
         },
         6290, IDYES, false, true, [](DaqppRig&, CDAQPPExpPlan& source) { EXPECT_EQ(source.GetComment(), "seen"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DaqppRig rig;
        CDAQPPExpPlan* source = rig.AddStored("Front");
        int listTold = 0;
        CDlgDAQPPExpPlan::SetPlanListNotifier(
            [&](CDlgDAQPPExpPlan::PlanListNotice n) { listTold += n == CDlgDAQPPExpPlan::planListChanged; });
        CDlgDAQPPExpPlan* e = rig.Open(c.mode, c.mode == CDlgDAQPPExpPlan::modeNewOwn ? nullptr : source);
        if (c.edit)
            c.edit(*e);
        CScriptedPrompts prompts;
        if (c.asked)
            prompts.Answer(c.answer);
        e->Button(3008)->click();
        if (c.asked) {
            ASSERT_EQ(prompts.Count(), 1u);
            EXPECT_EQ(prompts.Last().stringId, c.asked);
            EXPECT_EQ(prompts.Last().style & 0xF, MB_YESNOCANCEL);
        } else {
            EXPECT_EQ(prompts.Count(), 0u);
        }
        EXPECT_EQ(CDlgDAQPPExpPlan::GetInstance() != nullptr, c.stillOpen);
        c.check(rig, *source);
        EXPECT_EQ(listTold > 0, c.listTold);
        CDlgDAQPPExpPlan::SetPlanListNotifier(nullptr);
    }
}

TEST(DAQPPPlanEditor, RowsHandedToTheSecondEditorSurviveClosing)
{
    DaqppRig rig;
    CScriptedPrompts prompts;
    CDAQPPExpPlan* stored = rig.AddStored("Front");
    CDlgDAQPPExpPlan* e = rig.Open(CDlgDAQPPExpPlan::modeEdit, stored);
    EXPECT_FALSE(e->Button(3278)->isEnabled()) << "no second editor to hand to";
    QPointer<CHoldingEditor> second;
    CDlgDAQPPExpPlan::SetDerivedEditorOpener([&](CExtUFDaqProject* p, QWidget* parent) -> CDlgDAQPPExpPlan* {
        if (!second) {
            second = new CHoldingEditor(p, parent, 4208);
            second->Create();
        }
        return second.data();
    });
    EXPECT_TRUE(e->Button(3278)->isEnabled());
    e->SelectChannels(4, 5);
    e->Button(3278)->click();
    ASSERT_TRUE(second);
    EXPECT_EQ(rig.Sensors(e->GetWorkingPlan()), "S1 S2 S3 - - - - -");
    EXPECT_EQ(rig.Sensors(second->GetWorkingPlan()), "- - - - S4 S5 - -");
    EXPECT_EQ(second->Grid()->GetTextMatrix(5, 2), "S4");
    EXPECT_TRUE(e->IsChanged());
    EXPECT_TRUE(second->IsChanged());

    // The second editor holds rows: closing the first stops there, nothing asked or lost.
    e->Button(3008)->click();
    EXPECT_EQ(prompts.Count(), 0u);
    EXPECT_EQ(CDlgDAQPPExpPlan::GetInstance(), e);
    // Handed back, both close; the first asks and stores on Yes.
    second->SelectChannels(4, 5);
    second->HandSelectedRowsTo(*e);
    prompts.Answer(IDYES);
    e->Button(3008)->click();
    EXPECT_EQ(prompts.Last().stringId, 6290u);
    EXPECT_EQ(CDlgDAQPPExpPlan::GetInstance(), nullptr);
    DeleteLater();
    EXPECT_FALSE(second);
    EXPECT_EQ(rig.Sensors(*stored), "S1 S2 S3 - S4 S5 - -");
}

TEST(DAQPPColumnChooser, OkAppliesStoreKeepsDefaultsAndCancelKeepsTheProjectLayout)
{
    DaqppRig rig;
    CScriptedPrompts prompts;
    ASSERT_EQ(CHSEARegOptions::SaveChannelTableColumns(""), 1);
    ASSERT_EQ(CHSEARegOptions::SaveReverseSensitivity(0), 1);
    std::vector<tagCHTABLECOL>& columns = rig.project->GetExpPlans().GetColumns();
    const std::string sensor = CDAQPPExpPlanList::GetColumnTypeName(2);
    {
        CDlgDAQPPChListOptions d(rig.project);
        d.EnsureInitialized();
        EXPECT_EQ(d.GetCell(1, 1), "Global#");
        EXPECT_EQ(d.GetCell(12, 2), CDAQPPExpPlanList::GetColumnTypeName(12));
        EXPECT_EQ(d.Grid()->GridModel()->CellBackColor(5, 2), QColor(204, 255, 204));
        EXPECT_EQ(d.Grid()->GetColWidth(1), 150);
        // Row 3 emptied: two columns, whatever follows; the registry stays as it was.
        d.SetCell(3, 1, "");
        d.SetCell(2, 2, "no such type");
        d.ReverseBox()->setChecked(true);
        const QStringList faults = GrabAndCheckLayout(d, "orvex_planning_ui", "DlgDAQPPChListOptions");
        EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
        EXPECT_EQ(d.PressOK(), IDOK);
    }
    EXPECT_EQ(columns, (std::vector<tagCHTABLECOL>{{1, "Global#"}, {0, "User Channel ID"}}));
    EXPECT_EQ(rig.project->GetRevSensMode(), 1);
    EXPECT_EQ(CHSEARegOptions::GetChannelTableColumns(), CDAQPPExpPlanList::kDefaultColumns);
    EXPECT_EQ(CHSEARegOptions::GetReverseSensitivity(), 0u);

    {
        // 3277 shows the default layout only; Cancel leaves the project's.
        CDlgDAQPPChListOptions d(rig.project);
        d.EnsureInitialized();
        EXPECT_EQ(d.GetCell(3, 1), "");
        d.Button(3277)->click();
        EXPECT_EQ(d.GetCell(3, 1), "Channel Group ID");
        EXPECT_EQ(d.ReadLayout().size(), 12u);
        EXPECT_EQ(d.PressCancel(), IDCANCEL);
    }
    EXPECT_EQ(columns.size(), 2u);

    {
        // 3276 applies and stores both values; the dialog stays open.
        CDlgDAQPPChListOptions d(rig.project);
        d.EnsureInitialized();
        d.SetCell(3, 1, "Who");
        d.SetCell(3, 2, sensor);
        d.Button(3276)->click();
        EXPECT_EQ(d.EndResult(), 0);
        EXPECT_EQ(columns.size(), 3u);
        EXPECT_EQ(CHSEARegOptions::GetChannelTableColumns(), "Global#,1,User Channel ID,0,Who,2");
        EXPECT_EQ(CHSEARegOptions::GetReverseSensitivity(), 1u);
        EXPECT_EQ(d.PressCancel(), IDCANCEL);
    }
    ASSERT_EQ(CHSEARegOptions::SaveChannelTableColumns(""), 1);
    ASSERT_EQ(CHSEARegOptions::SaveReverseSensitivity(0), 1);
    EXPECT_EQ(prompts.Unexpected(), 0u);
}

TEST(DAQPPColumnChooser, GridEditsUndoRedoCutAndPaste)
{
    DaqppRig rig;
    CDlgDAQPPChListOptions d(rig.project);
    d.EnsureInitialized();
    EXPECT_FALSE(d.CanUndo());
    d.SetCell(1, 1, "First");
    EXPECT_TRUE(d.CanUndo());
    d.Button(57643)->click();
    EXPECT_EQ(d.GetCell(1, 1), "Global#");
    d.Button(57644)->click();
    EXPECT_EQ(d.GetCell(1, 1), "First");

    // Cut two rows of both columns and paste them at row 20.
    d.Grid()->SelectCells(1, 1, 2, 2);
    d.Button(57635)->click();
    EXPECT_EQ(d.GetCell(1, 1), "");
    EXPECT_EQ(d.GetCell(2, 2), "");
    d.Grid()->SetCurrentCell(20, 1);
    d.Button(57637)->click();
    EXPECT_EQ(d.GetCell(20, 1), "First");
    EXPECT_EQ(d.GetCell(21, 2), CDAQPPExpPlanList::GetColumnTypeName(2));
    EXPECT_TRUE(d.ReadLayout().empty()) << "an empty first label ends the layout";
    d.Button(57643)->click();
    d.Button(57643)->click();
    EXPECT_EQ(d.GetCell(1, 1), "First");
    EXPECT_EQ(d.GetCell(20, 1), "");
}

TEST(DAQPPPlanEditor, ColumnChooserOkRebuildsTheTable)
{
    DaqppRig rig;
    CScriptedPrompts prompts;
    CDlgDAQPPExpPlan* e = rig.Open(CDlgDAQPPExpPlan::modeNewOwn, nullptr);
    CScriptedDialogs dialogs;
    dialogs.Then([](CZuDialog& dialog) {
        auto& d = static_cast<CDlgDAQPPChListOptions&>(dialog);
        d.SetCell(4, 1, "");
        d.ReverseBox()->setChecked(true);
        return d.PressOK();
    });
    e->OnChooseColumns();
    EXPECT_EQ(dialogs.Records().size(), 1u);
    EXPECT_EQ(e->Grid()->GetCols(), 4);
    EXPECT_EQ(e->Grid()->GetTextMatrix(0, 3), "Channel Group ID");
}

TEST(DAQPPPlanEditor, OpenerActivatesTheOpenEditorAndSubsystemsAreAdded)
{
    DaqppRig rig;
    CScriptedPrompts prompts;
    CDAQPPExpPlan* stored = rig.AddStored("Front");
    CDlgDAQPPExpPlan* e = CDlgDAQPPExpPlan::Open(rig.project, CDlgDAQPPExpPlan::modeEdit, stored);
    EXPECT_EQ(e->GetMode(), CDlgDAQPPExpPlan::modeEdit);
    EXPECT_EQ(e->GetSourcePlan(), stored);
    e->Grid()->SetCurrentCell(5, 2);
    prompts.Answer(IDOK);
    e->OnClearSubsystem();
    // Opened again for a new plan: the same editor, its work kept.
    EXPECT_EQ(CDlgDAQPPExpPlan::Open(rig.project, CDlgDAQPPExpPlan::modeNewOwn, nullptr), e);
    EXPECT_EQ(e->GetMode(), CDlgDAQPPExpPlan::modeEdit);
    EXPECT_EQ(rig.Sensors(e->GetWorkingPlan()), "S1 S2 S3 - - - - -");

    // Add subsystem: B ticked in the subsystem dialog goes on the first free channels.
    e->SetChanged(false);
    CScriptedDialogs dialogs;
    dialogs.Then([&](CZuDialog& dialog) {
        auto& d = static_cast<CDlgExpPlanAddSubsystem&>(dialog);
        for (int r = 0; r < d.GetItemCount(); ++r)
            if (d.GetItemName(r) == rig.b)
                d.SetTicked(r, true);
        return d.PressOK();
    });
    e->Button(3005)->click();
    EXPECT_EQ(rig.Sensors(e->GetWorkingPlan()), "S1 S2 S3 S4 S5 - - -");
    EXPECT_EQ(e->Grid()->GetTextMatrix(4, 11), rig.b);
    EXPECT_TRUE(e->IsChanged());
    CDlgDAQPPExpPlan::DestroyInstance();
    DeleteLater();

    // Too few channels for the own subsystem: 7117 with its name, nothing placed.
    rig.project->SetPlanMaxChannel(2);
    prompts.Answer(IDOK);
    e = CDlgDAQPPExpPlan::Open(rig.project, CDlgDAQPPExpPlan::modeNewOwn, nullptr);
    EXPECT_EQ(prompts.Last().stringId, 7117u);
    EXPECT_NE(prompts.Last().text.find(rig.a), std::string::npos);
    EXPECT_EQ(rig.Sensors(e->GetWorkingPlan()), "- -");
    EXPECT_EQ(prompts.Unexpected(), 0u);
}
