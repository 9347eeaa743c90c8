// The universal-file import through its dialogs (answered by the dialog test hook), the octave
// page of the import, the acquisition-source choice and the analysis project for external data.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTreeWidget>

#include <filesystem>

#include "../UFTestFiles.h"
#include "../../views/ui/GrabCheck.h"
#include "app/AnalysisProject.h"
#include "app/DAQExperiment.h"
#include "app/TALVODoc.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "calculation/ui/DlgSelectCalcSubsystem.h"
#include "experiments/SubsystemLPInfo.h"
#include "common/SubsystemManager.h"
#include "planning/SensorAssignment.h"
#include "planning/ui/DlgDAQPPSSList.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/ui/ZuDialog.h"
#include "platform/ui/ZuPropertySheet.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/StringIds.h"
#include "platform/win/WinTypes.h"
#include "uff/ExtUFDaqProject.h"
#include "uff/MkExtDaqProject.h"
#include "uff/UFNodeMap.h"
#include "uff/ui/DlgImportUFDaqData.h"
#include "uff/ui/DlgSelectDAQSystem.h"
#include "uff/ui/DlgUFDataCheck.h"
#include "uff/ui/MkExtAnaProject.h"
#include "uff/ui/PPageUfOctave.h"
#include "uff/ui/UFImportDialogs.h"

namespace fs = std::filesystem;

namespace {
const std::string kModel = std::string(ORVEX_SOURCE_DIR) + "/samples/sample-model.dmd";

std::string PickSubsystem(CTALVOProject& container, bool structure)
{
    const CZuSubsystemTable& table = *container.GetModelSubsystemTable();
    for (int i = 0; i < table.GetCount(); ++i) {
        std::string n = table[i];
        if ((container.GetSubsystemType(n, 0) < 5) == structure)
            return table[i];
    }
    return std::string();
}
} // namespace

TEST(UFImportDialogs, ImportThroughTheDialogs)
{
    const fs::path dir = fs::temp_directory_path() / ("orvex_uf_dialogs_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    CTALVOProject container;
    ASSERT_NE(container.CreateModelProjectFromFile(0, kModel), nullptr);
    const std::string roof = PickSubsystem(container, true);
    container.SetTargetSubsystem(PickSubsystem(container, false));
    container.GetSensorAssignment()->SetSubsystems(container.GetModelSubsystemTable());
    auto* uf = static_cast<CExtUFDaqProject*>(container.AddExtDaqProject(std::make_unique<CExtUFDaqProject>()));
    const int row = container.GetSensorAssignment()->FindRow(roof);
    std::string text;
    for (int lp = 0; lp < 2; ++lp) {
        container.GetSensorAssignment()->AddItem(row, "S" + std::to_string(lp));
        uf->GetNodeMap().SetAt(CUFNode(lp + 1, roof, lp));
        for (int rpm = 1000; rpm <= 1400; rpm += 100) {
            UF58Fields ds;
            ds.funcType = 12;
            ds.respNode = lp + 1;
            ds.absInc = 100.0;
            ds.zValue = rpm;
            ds.numbers = {1, 0, 2, 0, 3, 0, 4, 0};
            text += Dataset58(ds);
        }
    }
    const fs::path file = dir / "dialogs.unv";
    WriteFile(file, text);

    CUFImportDialogs dialogs;
    SetUFImportUI(&dialogs);
    CScriptedPrompts prompts;
    prompts.ChooseFiles({file.string()}).Answer(IDOK);
    CScriptedDialogs scripted;
    scripted.Then([&](CZuDialog& d) -> int {
        auto& dialog = dynamic_cast<CDlgImportUFDaqData&>(d);
        EXPECT_FALSE(dialog.OkButton()->isEnabled()); // no file yet
        dialog.OnAddFiles();
        dialog.OnAddFiles(); // the same file again: listed once
        EXPECT_EQ(dialog.FileList()->topLevelItemCount(), 1);
        EXPECT_TRUE(dialog.OkButton()->isEnabled());
        dialog.Choices()->button(1)->click();
        GrabAndCheck(dialog, "DlgImportUFDaqData", QSize(560, 380));
        return dialog.PressOK();
    });
    scripted.Then([&](CZuDialog& d) -> int {
        auto& dialog = dynamic_cast<CDlgUFDataCheck&>(d);
        EXPECT_EQ(dialog.Sets()->topLevelItemCount(), 1);
        EXPECT_EQ(dialog.Sets()->topLevelItem(0)->text(1), "01-2");
        EXPECT_EQ(dialog.Points()->topLevelItemCount(), 2);
        // The second local point is left out.
        if (QTreeWidgetItem* second = dialog.Points()->topLevelItem(1))
            second->setCheckState(0, Qt::Unchecked);
        GrabAndCheck(dialog, "DlgUFDataCheck", QSize(640, 320));
        return dialog.PressOK();
    });
    CMkExtDaqProject builder(container, uf);
    CStatusBarFeedback statusBar; // the import command's
    ASSERT_EQ(builder.ImportUFData(&statusBar), 1);
    EXPECT_EQ(scripted.Unexpected(), 0u);
    ASSERT_EQ(uf->GetChildCount(), 1);
    auto* set = ElementCast<CDAQExperiment>(uf->GetChild(0)->GetChild(0));
    ASSERT_NE(set, nullptr);
    const CSubsystemLPInfo& selection = set->GetCalcOptions()->GetSubsystemLPInfoList()[0];
    ASSERT_EQ(selection.GetSize(), 2);
    EXPECT_EQ(selection.GetAt(0), 1);
    EXPECT_EQ(selection.GetAt(1), 0);
    SetUFImportUI(nullptr);
    fs::remove_all(dir);
}

TEST(UFImportDialogs, OctavePageBandValue)
{
    struct Case
    {
        double value;
        int choice;
        const char* text;
    };
    for (const Case c : {Case{0.3321125 * 1.01, 0, "1.0"}, Case{0.34, 1, "0.340000"}}) {
        double value = c.value;
        CPPageUfOctave page;
        page.SetBandValue(&value);
        EXPECT_EQ(page.GetValueChoice(), c.choice);
        EXPECT_EQ(page.GetValueText(), c.text);
    }
    COctaveManager model(OCTAVE_BAND_THIRD, 100.0, 1000.0);
    COctaveManagerEx current(model);
    double value = 0.5;
    int doubling = 1;
    int option = 1;
    CZuPropertySheet sheet("Options");
    auto* page = new CPPageUfOctave;
    page->SetOctaveManagers(&model, &current);
    page->SetReadOnly(false);
    page->SetValueChoiceAllowed(true);
    page->SetBandValue(&value);
    page->SetCheckTarget(&doubling);
    page->SetOptionTarget(&option);
    sheet.AddPage(page);
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    CScriptedDialogs scripted;
    scripted.Then([&](CZuDialog&) {
        page->EnsureInitialized();
        EXPECT_TRUE(page->ValueEdit()->isEnabled());
        page->ValueEdit()->setText("0");
        EXPECT_FALSE(page->OnApply()); // refused: the value must be positive
        EXPECT_EQ(prompts.Last().stringId, 6266u);
        page->ValueEdit()->setText("0.25");
        page->DoublingBox()->setChecked(false);
        page->DataBandsButton()->click();
        GrabAndCheck(sheet, "PPageUfOctave", QSize(560, 520));
        return sheet.PressOK();
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(value, 0.25);
    EXPECT_EQ(doubling, 0);
    EXPECT_EQ(current.GetBandType(), CPPageUfOctave::kDataBands);
    EXPECT_EQ(current.GetFreqCount(), 0);
}

TEST(UFImportDialogs, SelectDAQSystemAndExternalAnalysisProject)
{
    CScriptedDialogs scripted;
    scripted.Then([](CZuDialog& d) {
        auto& dialog = dynamic_cast<CDlgSelectDAQSystem&>(d);
        dialog.Choices()->button(1)->click();
        GrabAndCheck(dialog, "DlgSelectDAQSystem", QSize(320, 160));
        return dialog.PressOK();
    });
    CUFImportDialogs dialogs;
    EXPECT_EQ(dialogs.SelectDAQSystem(), 1);

    CTALVODoc doc;
    ASSERT_NE(doc.GetTALVOProject().CreateModelProjectFromFile(0, kModel), nullptr);
    const int projects = doc.GetTALVOProject().GetProjectCount();
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    scripted.PressOK();
    CMkExtAnaProject first(doc);
    ASSERT_EQ(first.CreateProject(), 1);
    ASSERT_NE(first.GetProject(), nullptr);
    EXPECT_EQ(doc.GetTALVOProject().GetProjectCount(), projects + 1);
    ASSERT_NE(CDlgSelectCalcSubsystem::GetInstance(), nullptr);
    CDlgSelectCalcSubsystem::DestroyInstance();
    // The second half: Cancel at the RPM set-up removes the project again.
    CZuSubsystemTable selection;
    selection.Add((*doc.GetTALVOProject().GetModelSubsystemTable())[0]);
    scripted.PressCancel();
    CMkExtAnaProject second(doc, first.GetProject());
    EXPECT_EQ(second.Configure(selection), 0);
    EXPECT_EQ(doc.GetTALVOProject().GetProjectCount(), projects);
}

TEST(UFImportDialogs, NamesFromDatasetsShowTheShortNamesToEdit)
{
    CZuSubsystemTable subsystems;
    subsystems.Add("Front Door Panel-R");
    subsystems.Add("Roof Panel");
    CZuSubsystemTable shortNames;
    std::vector<std::string> files;
    CUFImportSettings settings;
    settings.files = &files;
    settings.subsystems = &subsystems;
    settings.shortNames = &shortNames;
    CDlgImportUFDaqData dialog(settings);
    dialog.EnsureInitialized();
    CScriptedDialogs scripted;
    scripted.Then([](CZuDialog& d) {
        auto& list = dynamic_cast<CDlgDAQPPSSList&>(d);
        EXPECT_EQ(list.Grid()->rowCount(), 2);
        list.Grid()->item(1, 1)->setText("RP1");
        return list.PressOK();
    });
    auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("c3049"));
    ASSERT_NE(box, nullptr);
    box->click(); // checked: the list opens
    box->click(); // unchecked: nothing opens
    EXPECT_EQ(scripted.Pending(), 0u);
    EXPECT_EQ(scripted.Unexpected(), 0u);
    // The import matches point names against the edited short names.
    EXPECT_EQ(CSubsystemManager(&subsystems, &shortNames).FindByShortName("rp1"), "Roof Panel");
}

// Node Table... reads the table the user chooses into the import's node map and shows its path; a
// table that names no node is refused with its reason; Cancel leaves the project's map as it was.
TEST(UFImportDialogs, NodeTableIsChosenInTheDialog)
{
    const fs::path dir = fs::temp_directory_path() / ("orvex_uf_nodetable_" + std::to_string(::getpid()));
    fs::create_directories(dir / "tables");
    CUFNodeMap written;
    written.SetAt(CUFNode(7, "Roof", 0));
    written.SetAt(CUFNode(8, "Roof", 1));
    const fs::path good = dir / "tables" / "roof.txt";
    written.WriteTextFile(good.string(), "roof");
    const fs::path empty = dir / "tables" / "empty.txt";
    WriteFile(empty, "#@none\n# x\n#\n");
    std::vector<std::string> files = {(dir / "run.unv").string()};
    CUFNodeMap project;
    project.SetAt(CUFNode(1, "Floor", 0));
    const CUFNodeMap original = project;
    CUFImportSettings settings;
    settings.files = &files;
    settings.nodeMap = &project;

    CUFImportDialogs dialogs;
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        CScriptedPrompts prompts;
        prompts.ChooseFile(empty.string()).Answer(IDOK).ChooseFile(good.string());
        CScriptedDialogs scripted;
        scripted.Then([&](CZuDialog& d) {
            auto& dialog = dynamic_cast<CDlgImportUFDaqData&>(d);
            // The project's own table, so nothing is looked for beside the file.
            EXPECT_TRUE(dialog.NodeTableEdit()->text().isEmpty());
            EXPECT_EQ(dialog.NodeTableEdit()->placeholderText(), "The project's node table");
            auto* open = dialog.findChild<QPushButton*>(QStringLiteral("c3140"));
            open->click();
            EXPECT_EQ(prompts.Last().stringId, IDS_UF_NODE_TABLE_UNREADABLE);
            EXPECT_NE(prompts.Last().text.find("empty.txt"), std::string::npos) << prompts.Last().text;
            EXPECT_TRUE(dialog.NodeTableEdit()->text().isEmpty());
            open->click();
            EXPECT_EQ(fs::path(dialog.NodeTableEdit()->text().toStdString()), good);
            EXPECT_EQ(prompts.Records().front().file.initialFolder, dir.string());
            return ok ? dialog.PressOK() : dialog.PressCancel();
        });
        EXPECT_EQ(dialogs.RunImportDialog(settings), ok);
        EXPECT_EQ(project.Nodes(), (ok ? written : original).Nodes());
        EXPECT_EQ(prompts.Unexpected(), 0u);
    }
    EXPECT_EQ(fs::path(settings.nodeTable), good);
    fs::remove_all(dir);
}
