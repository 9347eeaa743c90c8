// The result commands from the main frame on the sample project, each run through its dialogs as
// a user would (answered through the test hooks): the comparison with another result (1083 and
// the result selection's answer), the comparison with the measurement (1084), the input-power
// export (1115), the SPL by single input powers of an analysis by order (1181, its report), and
// the input-power dialog of the project window (1056).
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "SampleProject.h"
#include "support/WidgetShot.h"
#include "app/AnalysisProject.h"
#include "app/CalcCommands.h"
#include "app/ModelProject.h"
#include "app/ResultCommands.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "app/ui/DlgInputPowerData.h"
#include "platform/elements/ZuPowerFunc.h"
#include "platform/ui/ZuTableDataFrame.h"
#include "app/ui/DockTreeWnd.h"
#include "app/ui/MTreeCtrlEx.h"
#include "app/ui/MainFrame.h"
#include "platform/ui/ProjectTreeModel.h"
#include "calculation/InputPowerFolder.h"
#include "calculation/ResultCompTable.h"
#include "calculation/SPLsFolder.h"
#include "calculation/ui/DlgExportInputPower.h"
#include "calculation/ui/DlgSelectCalcSubsystem.h"
#include "models/ASEAModelData.h"
#include "models/HSEAGeneralData.h"
#include "models/HSEAModelData.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "platform/win/ZuRegOptions.h"
#include "spectral/OrderList.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "spectral/ZuRpmResultData.h"
#include "views/ui/DlgSelectResult.h"
#include "calculation/ui/DlgSelectSubsystem.h"

namespace {
namespace fs = std::filesystem;
using R = CResultCommands;
using C = CCalcCommands;
const char* const kTarget = "Front Cabin-R";

CZuSubsystemTable Table(std::initializer_list<const char*> names)
{
    CZuSubsystemTable t;
    for (const char* n : names)
        t.Add(n);
    return t;
}

std::string FirstLine(const fs::path& path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

struct ResultCommandsUi : ::testing::Test
{
    void SetUp() override
    {
        ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
        auto owned = std::make_unique<CTALVODoc>();
        std::string error;
        ASSERT_TRUE(
            sample::Build(*owned, fs::path(ORVEX_SOURCE_DIR) / "samples", (dir / "Sample.orv").string(), &error))
            << error;
        doc = owned.get();
        model = doc->GetTALVOProject().GetModelProject();
        ASSERT_NE(
            model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)),
            nullptr);
        rpmProject = DynamicDowncast<CAnalysisProject>(doc->GetTALVOProject().GetProject(2));
        ASSERT_NE(rpmProject, nullptr);
        rpmProject->GetRPMOptions().SetRange(1000.0f, 1200.0f, 100.0f);
        // An analysis by order over 3000, 4500 and 6000 RPM with orders 2 and 4.
        CRPMOptions rpm;
        rpm.SetRange(3000.0f, 6000.0f, 1500.0f);
        COrderList orders;
        orders.Add(2.0);
        orders.Add(4.0);
        ot = owned->AddOrderAnalysisProject(owned->GetTALVOProject().GetDaqProject(0), &rpm, &orders, 50.0f);
        ASSERT_NE(ot, nullptr);
        owned->AddProjectsToViews();
        frame.AttachDocument(std::move(owned));
    }

    void AddRpmPowers()
    {
        const std::vector<double> f = rpmProject->GetOctaveManager()->GetFreqArray();
        const std::vector<double> rpms = {1000.0, 1100.0, 1200.0};
        CMElementList list;
        for (auto [name, scale] : {std::pair{"Roof", 1e-3}, std::pair{"Floor", 4e-3}}) {
            auto map = CZuRpmFunc::NewRpmFunc(std::string("IP ") + name, 3, nullptr, name, f.data(),
                                              static_cast<int>(f.size()), rpms.data(), 3);
            for (int r = 0; r < 3; ++r)
                for (int b = 0; b < map->GetFreqCount(); ++b)
                    map->DataValue(r, b) = scale * (1.0 + 0.1 * b) * (1.0 + r);
            list.Add(map.release());
        }
        Powers(rpmProject)->AddItems(list);
    }

    static CInputPowerFolder* Powers(CAnalysisProject* project)
    {
        CInputPowerFolder* folder = project->GetInputPowerFolder();
        return folder ? folder : project->AddChild(std::make_unique<CInputPowerFolder>(project));
    }

    // Selects the element in the tree of the project at index and refreshes the commands.
    void Select(int projectIndex, CMElement* element)
    {
        frame.TreeWindow()->SetActiveIndex(projectIndex);
        CMTreeCtrlEx* tree = frame.TreeWindow()->GetActiveTree();
        ASSERT_NE(tree, nullptr);
        const QModelIndex index = tree->Model()->IndexOf(element);
        ASSERT_TRUE(index.isValid()) << element->GetName();
        tree->setCurrentIndex(index);
        frame.UpdateCommandUI();
    }

    bool Enabled(int id) const { return frame.Action(id)->isEnabled(); }

    fs::path dir =
        fs::path(::testing::TempDir()) / ("orvex_result_ui_" + std::to_string(QCoreApplication::applicationPid()));
    // The frame hands the data windows to the templates it finds by their names: the names and
    // the templates come first.
    bool templates = [] {
        GetTALVOApp().SetLanguage(LANG_ENGLISH);
        if (GetTALVOApp().GetTemplateCount() == 0)
            GetTALVOApp().RegisterDocTemplates();
        return true;
    }();
    CMainFrame frame;
    CTALVODoc* doc = nullptr;
    CModelProject* model = nullptr;
    CAnalysisProject* rpmProject = nullptr;
    CAnalysisProject* ot = nullptr;
};
} // namespace

TEST_F(ResultCommandsUi, ComparesTheSelectedSplWithAnotherResultChosenInTheTree)
{
    AddRpmPowers();
    auto* both = DynamicDowncast<CZuRpmResultData>(rpmProject->CalcEnergyResult(Table({"Roof", "Floor"}), 0));
    auto* roof = DynamicDowncast<CZuRpmResultData>(rpmProject->CalcEnergyResult(Table({"Roof"}), 0));
    ASSERT_TRUE(both && roof);
    CMElement* spl = rpmProject->AddResult(both, rpmProject->CalcSPL(both, kTarget));
    ASSERT_NE(spl, nullptr);
    frame.TreeWindow()->RefreshItems();

    Select(2, both);
    EXPECT_FALSE(Enabled(R::ID_COMPARE_WITH_RESULT)) << "a result set is not compared";
    Select(2, spl);
    ASSERT_TRUE(Enabled(R::ID_COMPARE_WITH_RESULT));
    frame.Action(R::ID_COMPARE_WITH_RESULT)->trigger();
    CDlgSelectResult* selection = CDlgSelectResult::GetInstance();
    ASSERT_NE(selection, nullptr);

    // The user picks the second result set in the tree; OK hands both to the command.
    Select(2, roof);
    selection->Refresh();
    ASSERT_TRUE(selection->OkButton()->isEnabled());
    EXPECT_EQ(GrabAndCheckLayout(*selection, "orvex_app_ui", "DlgSelectResult").join(QLatin1Char('\n')).toStdString(),
              "");
    const int children = both->GetChildCount();
    selection->PressOK();
    EXPECT_EQ(CDlgSelectResult::GetInstance(), nullptr);
    ASSERT_EQ(both->GetChildCount(), children + 1);
    CMElement* table = both->GetChild(children);
    EXPECT_EQ(table->GetType(), ElementType::SplResultComparison);
    EXPECT_TRUE(frame.TreeWindow()->GetTree(2)->Model()->IndexOf(table).isValid()) << "the tree shows the table";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(ResultCommandsUi, ComparesAVibrationLevelWithTheMeasurement)
{
    AddRpmPowers();
    auto* set = DynamicDowncast<CZuRpmResultData>(rpmProject->CalcEnergyResult(Table({"Roof"}), 0));
    ASSERT_NE(set, nullptr);
    CMElement* level = rpmProject->AddResult(set, rpmProject->CalcVibrationLevel(set, "Roof"));
    ASSERT_NE(level, nullptr);
    frame.TreeWindow()->RefreshItems();
    Select(2, set);
    EXPECT_FALSE(Enabled(R::ID_COMPARE_WITH_MEASURED));
    Select(2, level);
    ASSERT_TRUE(Enabled(R::ID_COMPARE_WITH_MEASURED));
    CScriptedPrompts prompts;
    const int children = set->GetChildCount();
    frame.Action(R::ID_COMPARE_WITH_MEASURED)->trigger();
    ASSERT_EQ(set->GetChildCount(), children + 1) << (prompts.Count() ? prompts.Last().text : std::string());
    auto* table = DynamicDowncast<CZuRpmMultiVecFunc>(set->GetChild(children));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetLabel(), "Roof");
    ASSERT_GT(table->GetRpmCount(), 0);
    EXPECT_EQ(table->GetVecFunc(0)->GetSubsystem(0), "Exp");
    EXPECT_EQ(table->GetVecFunc(0)->GetSubsystem(1), "Calc");
    // Asked again: the earlier comparison is replaced.
    frame.Action(R::ID_COMPARE_WITH_MEASURED)->trigger();
    EXPECT_EQ(set->GetChildCount(), children + 1);
}

TEST_F(ResultCommandsUi, ExportsTheInputPowersOfTheSelectedProject)
{
    Select(2, rpmProject);
    EXPECT_FALSE(Enabled(R::ID_EXPORT_INPUT_POWER)) << "nothing to export yet";
    AddRpmPowers();
    frame.UpdateCommandUI();
    ASSERT_TRUE(Enabled(R::ID_EXPORT_INPUT_POWER));
    const fs::path path = dir / "IP.txt";
    CScriptedDialogs dialogs;
    dialogs.Then([&](CZuDialog& dlg) {
        auto* exporter = dynamic_cast<CDlgExportInputPower*>(&dlg);
        if (!exporter)
            return dlg.PressCancel();
        EXPECT_EQ(exporter->KeyCombo()->currentText(), "1000");
        exporter->KindButton(0)->setChecked(true);
        exporter->PathEdit()->setText(QString::fromStdString(path.string()));
        EXPECT_EQ(GrabAndCheckLayout(dlg, "orvex_app_ui", "DlgExportInputPower").join(QLatin1Char('\n')).toStdString(),
                  "");
        return dlg.PressOK();
    });
    frame.Action(R::ID_EXPORT_INPUT_POWER)->trigger();
    ASSERT_EQ(dialogs.Records().size(), 1u);
    EXPECT_EQ(dialogs.Records()[0].result, IDOK);
    EXPECT_EQ(FirstLine(path).rfind("#@", 0), 0u) << FirstLine(path);
}

TEST_F(ResultCommandsUi, WritesTheOrderReportOfTheSplBySingleInputPowers)
{
    {
        CZuRegOptions reg(GetOptionsKeyPath().c_str());
        ASSERT_TRUE(reg.Open());
        ASSERT_TRUE(reg.SetDWORD(LoadString(IDS_OPT_SPL_BY_SINGLE_IP).c_str(), 1));
    }
    const int otIndex = doc->GetProjectIndex(ot);
    Select(otIndex, ot);
    EXPECT_FALSE(Enabled(C::ID_SPL_BY_SINGLE_IP)) << "no input powers yet";
    const std::vector<double> f = ot->GetOctaveManager()->GetFreqArray();
    const std::vector<double> rpms = {3000.0, 4500.0, 6000.0};
    CMElementList list;
    for (const char* name : {"Roof", "Floor"}) {
        auto map = CZuOTFunc::BuildOTFunc(std::string("IP ") + name, 3, nullptr, name, f.data(),
                                          static_cast<int>(f.size()), rpms.data(), 3, {2.0, 4.0}, 1.0f);
        map->SetLabel(name);
        for (int o = 0; o < 2; ++o)
            for (int r = 0; r < 3; ++r)
                for (int b = 0; b < static_cast<int>(f.size()); ++b)
                    map->GetOrderFunc(o)->DataValue(r, b) = 1e-3 * (1 + o + r);
        list.Add(map.release());
    }
    Powers(ot)->AddItems(list);
    frame.UpdateCommandUI();
    ASSERT_TRUE(Enabled(C::ID_SPL_BY_SINGLE_IP));

    frame.Action(C::ID_SPL_BY_SINGLE_IP)->trigger();
    CDlgSelectCalcSubsystem* inputs = CDlgSelectCalcSubsystem::GetInstance();
    ASSERT_NE(inputs, nullptr);
    EXPECT_EQ(inputs->windowTitle().toStdString(), LoadString(IDS_SPL_BY_INPUT_CAPTION));
    ASSERT_EQ(inputs->List()->count(), 2);
    EXPECT_EQ(GrabAndCheckLayout(*inputs, "orvex_app_ui", "SplBySingleInputs").join(QLatin1Char('\n')).toStdString(),
              "");

    // The target from the model's cavities, then the report's file.
    const fs::path path = dir / "SplReport.txt";
    CScriptedDialogs dialogs;
    dialogs.Then([&](CZuDialog& dlg) {
        auto* picker = dynamic_cast<CDlgSelectSubsystem*>(&dlg);
        const int at = picker ? picker->Combo()->findText(kTarget) : -1;
        if (at < 0)
            return dlg.PressCancel();
        picker->Combo()->setCurrentIndex(at);
        return dlg.PressOK();
    });
    CScriptedPrompts prompts;
    prompts.ChooseFile(path.string());
    inputs->PressOK();
    EXPECT_EQ(dialogs.Unexpected(), 0u);
    ASSERT_EQ(prompts.Count(), 1u) << prompts.Last().text;
    EXPECT_EQ(prompts.Last().file.filter, "Text Files(*.txt)|*.txt|All Files(*.*)|*.*||");
    EXPECT_EQ(FirstLine(path), "##### LINE [dB] #####");
    ASSERT_NE(ot->GetSPLsFolder(), nullptr);
    EXPECT_EQ(ot->GetSPLsFolder()->GetChildCount(), 1);
    CDlgSelectCalcSubsystem::DestroyInstance();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The structure/acoustic form: the stored table, summed over structures and cavities.
    {
        CZuRegOptions reg(GetOptionsKeyPath().c_str());
        ASSERT_TRUE(reg.Open());
        ASSERT_TRUE(reg.SetDWORD(LoadString(IDS_OPT_SPL_BY_SINGLE_IP_COMP).c_str(), 1));
    }
    frame.UpdateCommandUI();
    ASSERT_TRUE(Enabled(C::ID_SPL_BY_SINGLE_IP_COMP));
    frame.Action(C::ID_SPL_BY_SINGLE_IP_COMP)->trigger();
    inputs = CDlgSelectCalcSubsystem::GetInstance();
    ASSERT_NE(inputs, nullptr);
    dialogs.Then([&](CZuDialog& dlg) {
        auto* picker = dynamic_cast<CDlgSelectSubsystem*>(&dlg);
        const int at = picker ? picker->Combo()->findText(kTarget) : -1;
        if (at < 0)
            return dlg.PressCancel();
        picker->Combo()->setCurrentIndex(at);
        return dlg.PressOK();
    });
    const fs::path summed = dir / "SplReportStAc.txt";
    prompts.ChooseFile(summed.string());
    inputs->PressOK();
    std::ifstream in(summed);
    std::string heading, title;
    std::getline(in, heading);
    std::getline(in, title);
    EXPECT_EQ(title.rfind("TYPE:2, ORDER:0\tST\tAC\t", 0), 0u) << title;
    EXPECT_EQ(ot->GetSPLsFolder()->GetChildCount(), 1);
    CDlgSelectCalcSubsystem::DestroyInstance();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(ResultCommandsUi, TheProjectWindowOpensTheInputPowerDialogToSolveTheModel)
{
    Select(2, rpmProject);
    EXPECT_FALSE(Enabled(R::ID_INPUT_POWER_DATA)) << "an analysis project cannot be solved";
    Select(0, model);
    ASSERT_TRUE(Enabled(R::ID_INPUT_POWER_DATA));
    frame.Action(R::ID_INPUT_POWER_DATA)->trigger();
    CDlgInputPowerData* dialog = frame.TreeWindow()->InputPowerDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetMode(), CDlgInputPowerData::modeSolve);
    EXPECT_EQ(dialog->Button(IDOK)->text(), "Solve");

    // A new set, and a power function for a subsystem chosen in the model's picker.
    dialog->OnNewSet();
    ASSERT_NE(dialog->SelectedSet(), nullptr);
    CMTreeCtrlEx* modelTree = frame.TreeWindow()->GetTree(0);
    EXPECT_TRUE(modelTree->Model()->IndexOf(dialog->SelectedSet()).isValid()) << "the tree shows the new set";
    ASSERT_TRUE(dialog->Button(CDlgInputPowerData::IDC_ADD_FUNCTION)->isEnabled());
    CScriptedDialogs dialogs;
    dialogs.Then([&](CZuDialog& dlg) {
        auto* picker = dynamic_cast<CDlgSelectSubsystem*>(&dlg);
        const int at = picker ? picker->Combo()->findText("Roof") : -1;
        if (at < 0)
            return dlg.PressCancel();
        picker->Combo()->setCurrentIndex(at);
        return dlg.PressOK();
    });
    dialog->Button(CDlgInputPowerData::IDC_ADD_FUNCTION)->click();
    EXPECT_EQ(dialogs.Unexpected(), 0u);
    ASSERT_EQ(dialog->FunctionList()->count(), 1);
    EXPECT_EQ(dialog->FunctionList()->item(0)->text().left(4), "Roof");
    dialog->FunctionList()->setCurrentRow(0);
    // Open shows the power function in its data window, once however often it is asked.
    QPushButton* open = dialog->Button(CDlgInputPowerData::IDC_OPEN);
    ASSERT_TRUE(open->isEnabled());
    auto* power = dynamic_cast<CZuTableData*>(
        dialog->SelectedSet()->FindFuncByKind(dialog->FunctionList()->item(0)->text().toStdString(), 0));
    ASSERT_NE(power, nullptr);
    EXPECT_EQ(CZuTableDataFrame::FindFrame(power), nullptr);
    open->click();
    QApplication::processEvents();
    CZuTableDataFrame* window = CZuTableDataFrame::FindFrame(power);
    ASSERT_NE(window, nullptr) << "the power function's data window opened";
    EXPECT_TRUE(dialog->OnOpenFunction());
    EXPECT_EQ(CZuTableDataFrame::FindFrame(power), window) << "a second open activates the same window";
    delete window;
    EXPECT_EQ(
        GrabAndCheckLayout(*dialog, "orvex_app_ui", "DlgInputPowerDataSolve").join(QLatin1Char('\n')).toStdString(),
        "");

    // The same dialog serves a second request; solving adds the set's result to the model and
    // the tree, then the project window closes the dialog.
    frame.Action(R::ID_INPUT_POWER_DATA)->trigger();
    EXPECT_EQ(frame.TreeWindow()->InputPowerDialog(), dialog);
    CScriptedPrompts prompts;
    dialog->PressOK();
    EXPECT_EQ(prompts.Count(), 0u) << prompts.Last().text;
    CMElement* result = model->FindOneChild("Result [Input Power Data]");
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(modelTree->Model()->IndexOf(result).isValid());
    EXPECT_EQ(frame.TreeWindow()->InputPowerDialog(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // An open dialog goes with the document whose model it edits.
    frame.Action(R::ID_INPUT_POWER_DATA)->trigger();
    ASSERT_NE(frame.TreeWindow()->InputPowerDialog(), nullptr);
    prompts.responder = [](const PromptRecord&) {
        PromptAnswer no;
        no.result = IDNO; // not saved
        return std::optional<PromptAnswer>(no);
    };
    ASSERT_TRUE(frame.CloseMainDocument());
    EXPECT_EQ(frame.TreeWindow()->InputPowerDialog(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
