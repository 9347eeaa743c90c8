// The windows of universal-file DAQ projects: the channel-plan list and its dialogs, the global
// node assignment and the planning wizard, driven offscreen through the dialog and prompt hooks.
#include <gtest/gtest.h>

#include "PlanFixture.h"
#include "common/SubsystemManager.h"
#include "models/HSEARegOptions.h"
#include "planning/DAQPPExpPlanList.h"
#include "planning/SensorAssignment.h"
#include "planning/ui/DlgDAQPPExpPlan.h"
#include "planning/ui/DlgDAQPPExpPlanEdit.h"
#include "planning/ui/DlgAssignGlobalNode.h"
#include "planning/ui/DlgAssignSensors.h"
#include "planning/ui/DlgDAQPPExpPlanList.h"
#include "planning/ui/DlgDAQPPMaxCh.h"
#include "planning/ui/DlgDAQPPSSList.h"
#include "planning/ui/DlgWizDAQPPMenu.h"
#include "planning/ui/DlgWizExpPlan.h"
#include "planning/ui/DlgWizGlobalNode.h"
#include "planning/ui/DlgWizSensorAssign.h"
#include "planning/ui/DlgWizSensorConfig.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/ui/ColorButton.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/Clipboard.h"
#include "platform/win/PromptService.h"
#include "support/WidgetShot.h"
#include "uff/ExtUFDaqProject.h"
#include "uff/ui/UFImportDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <filesystem>

namespace fs = std::filesystem;

namespace {
void Shot(QWidget& window, const char* name)
{
    const QStringList faults = GrabAndCheckLayout(window, "orvex_planning_ui", QString::fromLatin1(name));
    EXPECT_TRUE(faults.isEmpty()) << name << ": " << faults.join("; ").toStdString();
}

struct UFRig
{
    UFRig()
    {
        uf = static_cast<CExtUFDaqProject*>(f.project.AddExtDaqProject(std::make_unique<CExtUFDaqProject>()));
        roof = f.Structure(0);
        floor = f.Structure(1);
        f.Assign(roof, {"S1", "S2", "S3"});
        // The editors and the list linked as the program's start-up links them.
        CDlgDAQPPExpPlan::SetDerivedEditorOpener([](CExtUFDaqProject* p, QWidget* owner) -> CDlgDAQPPExpPlan* {
            return CDlgDAQPPExpPlanEdit::ShowInstance(p, owner);
        });
        CDlgDAQPPExpPlan::SetPlanListNotifier([](CDlgDAQPPExpPlan::PlanListNotice notice) {
            if (CDlgDAQPPExpPlanList* list = CDlgDAQPPExpPlanList::GetInstance())
                if (notice == CDlgDAQPPExpPlan::planListChanged)
                    list->Refill();
        });
    }
    ~UFRig()
    {
        CDlgDAQPPExpPlan::SetDerivedEditorOpener(nullptr);
        CDlgDAQPPExpPlan::SetPlanListNotifier(nullptr);
    }
    CPlanFixture f;
    CExtUFDaqProject* uf = nullptr;
    std::string roof, floor;
};

void DeleteLater()
{
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
} // namespace

TEST(DAQPPPlanList, ReorderDeleteExportAndTheEditor)
{
    UFRig rig;
    CDAQPPExpPlanList& plans = rig.uf->GetExpPlans();
    plans.AddPlan(16, "Front")->SetComment("front axle");
    plans.AddPlan(8, "Rear");
    plans.AddPlan(4, "Cabin");

    CDlgDAQPPExpPlanList* list = CDlgDAQPPExpPlanList::ShowInstance(rig.uf);
    EXPECT_EQ(CDlgDAQPPExpPlanList::ShowInstance(rig.uf), list);
    Shot(*list, "DlgDAQPPExpPlanList");
    QTableWidget* rows = list->ListCtrl();
    ASSERT_EQ(rows->rowCount(), 3);
    EXPECT_EQ(rows->item(0, 1)->text(), "16");
    EXPECT_EQ(rows->item(0, 2)->text(), "front axle");

    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    // Nothing selected: commands do nothing, the export says why.
    list->OnEdit();
    list->OnCopy();
    list->OnUp();
    list->OnDelete();
    EXPECT_EQ(CDlgDAQPPExpPlan::GetInstance(), nullptr);
    list->OnExport();
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6287u);

    // Edit opens the editor on the selected plan; a second command only brings it forward.
    list->SelectRows({1});
    list->OnEdit();
    CDlgDAQPPExpPlan* editor = CDlgDAQPPExpPlan::GetInstance();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetMode(), CDlgDAQPPExpPlan::modeEdit);
    EXPECT_EQ(editor->GetSourcePlan(), plans.GetPlan(1));
    list->OnNew();
    EXPECT_EQ(CDlgDAQPPExpPlan::GetInstance(), editor);
    EXPECT_EQ(editor->GetMode(), CDlgDAQPPExpPlan::modeEdit);

    // Up from row 1, then up again at the first row: nothing moves.
    list->OnUp();
    EXPECT_EQ(plans.GetPlan(0)->GetName(), "Rear");
    EXPECT_EQ(rows->item(0, 0)->text(), "Rear");
    EXPECT_EQ(list->SelectedPlans(), (std::vector<int>{0}));
    list->OnUp();
    EXPECT_EQ(plans.GetPlan(0)->GetName(), "Rear");
    list->SelectRows({2});
    list->OnDown();
    EXPECT_EQ(plans.GetPlan(2)->GetName(), "Cabin");

    // Delete asks; Cancel keeps the plans. Deleting the edited plan closes its editor.
    list->SelectRows({0, 2});
    prompts.Answer(IDCANCEL);
    list->OnDelete();
    EXPECT_EQ(plans.GetPlanCount(), 3);
    EXPECT_EQ(CDlgDAQPPExpPlan::GetInstance(), editor);
    prompts.Answer(IDOK);
    list->OnDelete();
    ASSERT_EQ(plans.GetPlanCount(), 1);
    EXPECT_EQ(plans.GetPlan(0)->GetName(), "Front");
    EXPECT_EQ(rows->rowCount(), 1);
    EXPECT_EQ(CDlgDAQPPExpPlan::GetInstance(), nullptr);
    DeleteLater();

    // Copy opens a new plan made from the selected one.
    list->SelectRows({0});
    list->OnCopy();
    ASSERT_NE(CDlgDAQPPExpPlan::GetInstance(), nullptr);
    EXPECT_EQ(CDlgDAQPPExpPlan::GetInstance()->GetMode(), CDlgDAQPPExpPlan::modeNew);
    CDlgDAQPPExpPlan::DestroyInstance();
    DeleteLater();

    // The export offers an .xlsx named after the first selected plan and writes it.
    const fs::path book = rig.f.dir / "plans.xlsx";
    prompts.ChooseFile(book.string());
    list->OnExport();
    const PromptRecord& save = prompts.Last();
    EXPECT_EQ(save.kind, PromptKind::SaveFile);
    EXPECT_EQ(save.file.defaultExt, "xlsx");
    EXPECT_EQ(save.file.initialName, "Front.xlsx");
    EXPECT_EQ(save.file.initialFolder, rig.f.dir.string());
    EXPECT_TRUE(fs::exists(book));
    EXPECT_EQ(prompts.Unexpected(), 0u);

    CDlgDAQPPExpPlanList::DestroyInstance();
    EXPECT_EQ(CDlgDAQPPExpPlanList::GetInstance(), nullptr);
}

TEST(DAQPPPlanList, SecondEditorTakesRowsAndClosesOnlyWhenEmpty)
{
    UFRig rig;
    rig.uf->SetPlanMaxChannel(8);
    CDAQPPExpPlan* stored = rig.uf->GetExpPlans().AddPlan(8, "Front");
    for (int c = 0; c < 3; ++c) {
        stored->SetSensor(c, "S" + std::to_string(c + 1));
        stored->SetSubsystem(c, rig.roof);
    }
    CScriptedPrompts prompts;
    CDlgDAQPPExpPlan* editor = OpenDAQPPPlanEditor(rig.uf, CDlgDAQPPExpPlan::modeEdit, stored);
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->Button(3278)->isEnabled());
    editor->SelectChannels(1, 2);
    editor->Button(3278)->click();
    CDlgDAQPPExpPlanEdit* second = CDlgDAQPPExpPlanEdit::GetInstance();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->TemplateId(), 4208);
    EXPECT_FALSE(second->GetWorkingPlan().IsRowEmpty(1));
    EXPECT_TRUE(editor->GetWorkingPlan().IsRowEmpty(1));
    EXPECT_TRUE(editor->IsChanged());
    Shot(*second, "DlgDAQPPExpPlanEdit");

    // Holding channels, it refuses to close.
    prompts.Answer(IDOK);
    second->Button(3008)->click();
    EXPECT_EQ(prompts.Last().stringId, 6294u);
    EXPECT_EQ(CDlgDAQPPExpPlanEdit::GetInstance(), second);
    // Handed back, it closes without asking.
    second->SelectChannels(1, 2);
    second->Button(3278)->click();
    EXPECT_FALSE(editor->GetWorkingPlan().IsRowEmpty(2));
    second->Button(3008)->click();
    DeleteLater();
    EXPECT_EQ(CDlgDAQPPExpPlanEdit::GetInstance(), nullptr);
    EXPECT_EQ(prompts.Count(), 1u);
    CDlgDAQPPExpPlan::DestroyInstance();
    DeleteLater();
}

TEST(DAQPPPlanList, MaximumChannelsAndShortNames)
{
    UFRig rig;
    rig.uf->SetPlanMaxChannel(32);
    CScriptedDialogs scripted;
    scripted.PressCancel().Then([](CZuDialog& d) {
        auto& dialog = dynamic_cast<CDlgDAQPPMaxCh&>(d);
        EXPECT_EQ(dialog.CountEdit()->value(), 32);
        dialog.CountEdit()->setValue(64);
        dialog.DefaultCheck()->setChecked(true);
        Shot(dialog, "DlgDAQPPMaxCh");
        return dialog.PressOK();
    });
    CDlgDAQPPMaxCh(rig.uf).DoModal();
    EXPECT_EQ(rig.uf->GetPlanMaxChannel(), 32);
    CDlgDAQPPMaxCh(rig.uf).DoModal();
    EXPECT_EQ(rig.uf->GetPlanMaxChannel(), 64);
    EXPECT_EQ(CHSEARegOptions::ReadDWORD(kRegMaxChannel, 0), 64u);

    CZuSubsystemTable table;
    table.Add("Front Door Panel-R");
    table.Add("Roof Panel");
    CZuSubsystemTable shortNames;
    CSubsystemManager manager(&table, &shortNames);
    CDlgDAQPPSSList dialog;
    dialog.SetSubsystems(&table, &manager);
    dialog.EnsureInitialized();
    QTableWidget* grid = dialog.Grid();
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(0, 0)->text(), "Front Door Panel-R");
    const QString first = grid->item(0, 1)->text();
    EXPECT_FALSE(first.isEmpty());
    grid->item(1, 1)->setText("RFP");
    EXPECT_EQ(manager.GetShortName("Roof Panel"), "RFP");
    // An empty text gives the stored name back.
    grid->item(1, 1)->setText("");
    EXPECT_EQ(grid->item(1, 1)->text(), "RFP");
    EXPECT_EQ(manager.GetShortName("Roof Panel"), "RFP");
    Shot(dialog, "DlgDAQPPSSList");
}

TEST(AssignGlobalNode, NumbersPointsRefusesDuplicatesAndRoundTrips)
{
    UFRig rig;
    CUFNodeMap& map = rig.uf->GetNodeMap();
    map.SetAt(CUFNode(1, rig.floor, 0));
    CTALVOProject& c = rig.f.project;
    auto dialog = std::make_unique<CDlgAssignGlobalNode>(&map, c.GetModelSubsystemTable(), c.GetTargetSubsystem(),
                                                         c.GetSensorAssignment());
    dialog->EnsureInitialized();
    // Three points of a new subsystem get the lowest free numbers; the floor's node stays.
    CUFNode n(rig.roof, 2);
    ASSERT_TRUE(map.FindNode(n));
    EXPECT_EQ(n.m_nNode, 4);
    EXPECT_EQ(map.GetCount(), 4);
    const std::vector<std::string>& names = dialog->RowNames();
    const int row = static_cast<int>(std::find(names.begin(), names.end(), rig.roof) - names.begin());
    ASSERT_LT(row, static_cast<int>(names.size()));
    QTableWidget* grid = dialog->Grid();
    EXPECT_EQ(grid->columnCount(), 61);
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "LP\n#01");
    EXPECT_EQ(grid->item(row, 1)->text(), "2");
    EXPECT_EQ(grid->item(row, 3)->text(), "4");
    Shot(*dialog, "DlgAssignGlobalNode");

    CScriptedPrompts prompts;
    // A number another cell holds is refused and the map's number comes back.
    grid->item(row, 1)->setText("4");
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 7131u);
    EXPECT_EQ(grid->item(row, 1)->text(), "2");

    // Copy and paste reproduce the map; text that is no node table changes nothing.
    dialog->OnCopy();
    EXPECT_EQ(prompts.Last().stringId, 6269u);
    const CUFNodeMap before = map;
    SetClipboardText("not a node table");
    dialog->OnPaste();
    EXPECT_EQ(prompts.Last().stringId, 6019u);
    EXPECT_EQ(map.Nodes(), before.Nodes());
    SetClipboardText(before.WriteText());
    map.RemoveAll();
    dialog->OnPaste();
    EXPECT_EQ(prompts.Last().stringId, 6268u);
    EXPECT_EQ(map.Nodes(), before.Nodes());

    // Saving where no file can be made reports a failure and keeps the map; so does a bad load.
    prompts.ChooseFile((rig.f.dir / "missing" / "UFNodeTable.txt").string());
    dialog->OnSave();
    EXPECT_EQ(prompts.Last().stringId, 6169u);
    const fs::path table = rig.f.dir / "UFNodeTable.txt";
    prompts.ChooseFile(table.string());
    dialog->OnSave();
    ASSERT_TRUE(fs::exists(table));
    prompts.Answer(IDYES).ChooseFile((rig.f.dir / "none.txt").string());
    dialog->OnOpen();
    EXPECT_EQ(prompts.Last().stringId, 6169u);
    EXPECT_EQ(map.Nodes(), before.Nodes());
    map.RemoveAll();
    prompts.Answer(IDYES).ChooseFile(table.string());
    dialog->OnOpen();
    EXPECT_EQ(map.Nodes(), before.Nodes());

    // A gap ends the row on OK: the points after it lose their nodes.
    grid->item(row, 2)->setText("");
    dialog->PressOK();
    CUFNode first(rig.roof, 0), third(rig.roof, 2);
    EXPECT_TRUE(map.FindNode(first));
    EXPECT_FALSE(map.FindNode(third));

    // Cancel keeps the nodes that opening added.
    CDlgAssignGlobalNode again(&map, c.GetModelSubsystemTable(), c.GetTargetSubsystem(), c.GetSensorAssignment());
    again.EnsureInitialized();
    again.PressCancel();
    EXPECT_TRUE(map.FindNode(third));
}

TEST(PlanningWizard, MenuStepsAndTheImport)
{
    UFRig rig;
    // The import files experiments against the target, so the project has one.
    rig.f.project.SetTargetSubsystem(rig.floor);
    // Not a universal-file project: nothing opens.
    EXPECT_EQ(OpenPlanningWizard(rig.f.project.GetProject(0)), nullptr);
    EXPECT_EQ(OpenPlanningWizard(nullptr), nullptr);
    EXPECT_EQ(CDlgWizDAQPPMenu::GetInstance(), nullptr);

    CDlgWizDAQPPMenu* menu = OpenPlanningWizard(rig.uf);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(OpenPlanningWizard(rig.uf), menu);
    EXPECT_EQ(menu->GetProject(), rig.uf);
    EXPECT_EQ(menu->StepButton(2003)->GetFaceColor(), CZuDlgWizard::kAvailableColor);
    Shot(*menu, "DlgWizDAQPPMenu");
    // Escape does not close a wizard dialog.
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_TRUE(menu->isVisible());

    std::vector<int> commands;
    CDlgWizSensorConfig::SetSensorCommand([&](int command) {
        commands.push_back(command);
        return true;
    });
    CScriptedDialogs scripted;
    // 1: sensors, the workbook import of the sensor window.
    scripted.Then([&](CZuDialog& d) {
        auto& step = dynamic_cast<CDlgWizSensorConfig&>(d);
        // The step lies under its anchor on the menu.
        const QWidget* anchor = menu->Anchor(2001);
        EXPECT_EQ(step.pos(), anchor->mapToGlobal(QPoint(0, anchor->height())));
        EXPECT_TRUE(step.HasBackground());
        Shot(step, "DlgWizSensorConfig");
        step.OnStep(2001);
        return step.EndResult();
    });
    // 2: the sensor assignment dialog.
    scripted.Then([](CZuDialog& d) {
        auto& step = dynamic_cast<CDlgWizSensorAssign&>(d);
        Shot(step, "DlgWizSensorAssign");
        step.OnStep(2002);
        return step.EndResult();
    });
    scripted.Then([](CZuDialog& d) {
        EXPECT_NE(dynamic_cast<CDlgAssignSensors*>(&d), nullptr);
        return d.PressCancel();
    });
    // 3: global nodes: the dialog numbers the roof's points.
    scripted.Then([](CZuDialog& d) {
        auto& step = dynamic_cast<CDlgWizGlobalNode&>(d);
        Shot(step, "DlgWizGlobalNode");
        step.OnStep(2002);
        return step.EndResult();
    });
    scripted.PressOK();
    // 4: channel plans: channels of new plans.
    scripted.Then([](CZuDialog& d) {
        auto& step = dynamic_cast<CDlgWizExpPlan&>(d);
        EXPECT_EQ(step.StepButton(2001)->GetFaceColor(), CZuDlgWizard::kCurrentColor);
        Shot(step, "DlgWizExpPlan");
        step.OnStep(2001);
        return step.EndResult();
    });
    scripted.Then([](CZuDialog& d) {
        dynamic_cast<CDlgDAQPPMaxCh&>(d).CountEdit()->setValue(48);
        return d.PressOK();
    });
    // 5: the import, its first dialog cancelled.
    InstallUFImportDialogs();
    scripted.PressCancel();

    for (int id = 2001; id <= 2005; ++id)
        menu->OnStep(id);
    EXPECT_EQ(commands, (std::vector<int>{CDlgWizSensorConfig::kCmdExcelImport}));
    CUFNode node(rig.roof, 2);
    EXPECT_TRUE(rig.uf->GetNodeMap().FindNode(node));
    EXPECT_EQ(rig.uf->GetPlanMaxChannel(), 48);
    EXPECT_EQ(scripted.Pending(), 0u);
    EXPECT_EQ(scripted.Unexpected(), 0u);
    ASSERT_FALSE(scripted.Records().empty());
    EXPECT_EQ(scripted.Records().back().templateId, 4103); // the import dialog

    // The close button ends the menu.
    menu->OnStep(2006);
    EXPECT_EQ(CDlgWizDAQPPMenu::GetInstance(), nullptr);
    QApplication::processEvents();
    CDlgWizSensorConfig::SetSensorCommand(nullptr);
    SetUFImportUI(nullptr);
}
