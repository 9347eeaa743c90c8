// The main frame's project commands: enable rules over typical selections without a window, and
// what the commands open or change, with the dialogs and questions answered by the test hooks.
#include "wiring/WindowServices.h"

#include <QComboBox>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "SampleProject.h"
#include "support/WidgetShot.h"
#include "acquisition/DAQ.h"
#include "acquisition/ui/DlgDAQConfig.h"
#include "acquisition/ui/DlgQMXConnection.h"
#include "app/AnalysisProject.h"
#include "app/CalcCommands.h"
#include "app/DaqProject.h"
#include "app/FrameCommands.h"
#include "app/InputPowerSets.h"
#include "app/ModelProject.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "app/ZuText2Excel.h"
#include "app/ui/3DModelView.h"
#include "app/CommandRegistry.h"
#include "app/ui/DockShortcutWnd.h"
#include "app/ui/DockTreeWnd.h"
#include "app/ui/FrameCommandHandler.h"
#include "app/ui/MTreeCtrlEx.h"
#include "app/ui/MainFrame.h"
#include "platform/ui/ProjectTreeModel.h"
#include "app/ui/TreePickers.h"
#include "calculation/ui/DlgSelectCalcSubsystem.h"
#include "experiments/CalcOptions.h"
#include "models/ASEAModelData.h"
#include "models/HSEAGeneralData.h"
#include "models/HSEAModelData.h"
#include "models/HSEAResultData.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "views/ui/DlgSelectSubsystemPair.h"
#include "experiments/DAQConfig.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/modeldb/3DModelDoc.h"
#include "platform/modeldb/ModelData.h"
#include "platform/modeldb/ModelSubsystem.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmResultData.h"
#include "platform/win/Messages.h"
#include "uff/UFImportUI.h"
#include "views/ui/DlgSelectDaqProject.h"
#include "views/ui/DlgSrcTrgDefinition.h"
#include "views/ui/PPageTargetLP.h"
#include "app/DAQExperiment.h"
#include "platform/ui/ZuPropertySheet.h"
#include "platform/elements/MElementList.h"
#include "platform/win/StringIds.h"

#include <QTreeWidget>

namespace {
using C = CFrameCommands;

// A message box answered with one button.
PromptAnswer Reply(int result)
{
    PromptAnswer answer;
    answer.result = result;
    return answer;
}

// The sample project (model 0, DAQ 1, analysis 2) in a frame.
class FrameCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
        if (GetTALVOApp().GetTemplateCount() == 0)
            GetTALVOApp().RegisterDocTemplates();
        frame = std::make_unique<CMainFrame>();
        auto built = std::make_unique<CTALVODoc>();
        std::string error;
        ASSERT_TRUE(sample::Build(*built, std::filesystem::path(ORVEX_SOURCE_DIR) / "samples",
                                  dir.filePath("Sample.orv").toStdString(), &error))
            << error;
        doc = built.get();
        frame->AttachDocument(std::move(built));
        doc->SetModifiedFlag(0);
        ASSERT_EQ(frame->TreeWindow()->GetTreeCount(), Container().GetProjectCount());
    }
    // The units a test connected are the program's: they go with the test's program.
    void TearDown() override
    {
        frame.reset();
        CDAQ::Destroy();
    }

    CTALVOProject& Container() { return doc->GetTALVOProject(); }
    // The model's own HSEA model, one input-power set with a power on Roof-F, and its solve.
    CHSEAResultData* SolveModelsOwnResult()
    {
        CModelProject* model = Container().GetModelProject();
        if (!model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)))
            return nullptr;
        CHSEAGeneralData* set = CInputPowerSets::CreateSet(*model);
        if (!set || !set->AddPowerFunc("Roof-F", 0))
            return nullptr;
        return CInputPowerSets::Solve(model, set);
    }
    CDaqProject* Daq() { return DynamicDowncast<CDaqProject>(Container().GetProject(1)); }
    CAnalysisProject* Analysis() { return DynamicDowncast<CAnalysisProject>(Container().GetProject(2)); }

    // Selects a project's tab and an element of its tree (the project itself when null).
    void Select(int projectIndex, CMElement* element = nullptr)
    {
        frame->TreeWindow()->SetActiveIndex(projectIndex);
        CMTreeCtrlEx* tree = frame->TreeWindow()->GetActiveTree();
        ASSERT_NE(tree, nullptr);
        tree->setCurrentIndex(
            tree->Model()->IndexOf(element ? element : static_cast<CMElement*>(Container().GetProject(projectIndex))));
        frame->UpdateCommandUI();
    }

    QTemporaryDir dir;
    std::unique_ptr<CMainFrame> frame;
    CTALVODoc* doc = nullptr;
};
} // namespace

TEST_F(FrameCommandsTest, EnableRulesOverTypicalSelections)
{
    CFrameSelection none;
    CFrameSelection docOnly{doc, nullptr, -1, {}, LANG_ENGLISH};
    CFrameSelection model{doc, Container().GetProject(0), 0, {Container().GetProject(0)}, LANG_ENGLISH};
    CFrameSelection daq{doc, Daq(), 1, {Daq()}, LANG_ENGLISH};
    CFrameSelection analysis{doc, Analysis(), 2, {Analysis()}, LANG_ENGLISH};
    auto* result = new CMElement("Result", Analysis(), 53);
    Analysis()->AddChild(result);
    CFrameSelection onResult{doc, Analysis(), 2, {result}, LANG_ENGLISH};

    struct Case
    {
        int id;
        bool none, docOnly, model, daq, analysis, result;
    };
    const Case cases[] = {
        {C::ID_MODEL_UPDATE, false, true, true, true, true, true},
        {C::ID_COPY_ANALYSIS_PROJECT, false, false, false, false, true, true},
        {C::ID_MERGE_ANALYSIS_PROJECTS, false, false, false, false, true, true},
        {C::ID_RENAME_PROJECT, false, false, false, true, true, true},
        {C::ID_REMOVE_PROJECT, false, false, false, true, true, true},
        {C::ID_DAQ_SETTINGS, false, false, false, true, false, false},
        {C::ID_DAQ_CALC_OPTIONS, false, false, false, true, false, false},
        {C::ID_DAQ_CALC_OPTIONS_RECALC, false, false, false, true, false, false},
        {C::ID_BLIX_CHANNEL_EXCHANGE, false, true, true, true, true, true},
        {C::ID_REMOVE_PROJECT_AT, false, false, false, true, true, true},
        {C::ID_RENAME_PROJECT_AT, false, false, false, true, true, true},
        {C::ID_ADD_MODEL_VARIANT, false, true, true, true, true, true},
        {C::ID_NEW_ANALYSIS_PROJECT, false, true, true, true, true, true},
        {C::ID_NEW_DAQ_PROJECT, false, false, false, false, false, false},
        {C::ID_MODEL_VIEW, false, false, true, true, true, true},
        {C::ID_IMPORTED_FILE_LIST, false, true, true, true, true, true},
        {C::ID_EDIT_CUT, false, false, false, false, false, true},
    };
    // The rules are the registry's, over the selection alone: no window is asked.
    const CCommandRegistry& registry = CCommandRegistry::Frame();
    const auto enabled = [&registry](int id, const CFrameSelection& selection) {
        CCommandState state;
        state.selection = selection;
        return registry.IsEnabled(id, state);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        ASSERT_NE(registry.Find(c.id), nullptr);
        EXPECT_EQ(enabled(c.id, none), c.none);
        EXPECT_EQ(enabled(c.id, docOnly), c.docOnly);
        EXPECT_EQ(enabled(c.id, model), c.model);
        EXPECT_EQ(enabled(c.id, daq), c.daq);
        EXPECT_EQ(enabled(c.id, analysis), c.analysis);
        EXPECT_EQ(enabled(c.id, onResult), c.result);
    }

    // The result test of the project window, and the sound pressure level on an RPM project only
    // for an RPM result.
    for (int type : {3, 5, 51, 53, 54, 55, 56, 90, 91, 92, 95, 96, 97, 104, 105}) {
        CMElement e("e", nullptr, type);
        EXPECT_TRUE(C::IsResultElement(&e)) << type;
    }
    for (int type : {0, 1, 2, 21, 52, 57, 72, 103}) {
        CMElement e("e", nullptr, type);
        EXPECT_FALSE(C::IsResultElement(&e)) << type;
    }
    EXPECT_FALSE(C::IsResultElement(nullptr));
    CZuOTResultData orderResult;
    EXPECT_FALSE(CCalcCommands::AppliesToResultSet(Analysis(), &orderResult));
}

TEST_F(FrameCommandsTest, CopyOfAnAnalysisProjectGetsAFreshId)
{
    Select(2);
    const int before = Container().GetProjectCount();
    const int trees = frame->TreeWindow()->GetTreeCount();
    {
        CScriptedPrompts prompts;
        prompts.Answer(IDCANCEL);
        ASSERT_TRUE(frame->OnCommand(C::ID_COPY_ANALYSIS_PROJECT));
        EXPECT_EQ(prompts.Last().stringId, 6043u);
        EXPECT_EQ(Container().GetProjectCount(), before) << "cancel copies nothing";
    }
    CScriptedPrompts prompts;
    prompts.Answer(IDOK).Answer(IDOK);
    ASSERT_TRUE(frame->OnCommand(C::ID_COPY_ANALYSIS_PROJECT));
    Select(2);
    ASSERT_TRUE(frame->OnCommand(C::ID_COPY_ANALYSIS_PROJECT));
    ASSERT_EQ(Container().GetProjectCount(), before + 2);
    std::set<int> ids;
    for (int i = 0; i < Container().GetProjectCount(); ++i)
        EXPECT_TRUE(ids.insert(Container().GetProject(i)->GetID()).second) << "project " << i << " shares its ID";
    auto* copy = DynamicDowncast<CAnalysisProject>(Container().GetProject(before));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetName(), "Copy of " + Analysis()->GetName());
    EXPECT_EQ(copy->GetDaqProjectID(), Analysis()->GetDaqProjectID());
    EXPECT_EQ(frame->TreeWindow()->GetTreeCount(), trees + 2);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(FrameCommandsTest, RemoveProjectAnsweredNoKeepsIt)
{
    Select(1);
    const int before = Container().GetProjectCount();
    CScriptedPrompts prompts;
    prompts.Answer(IDNO);
    ASSERT_TRUE(frame->OnCommand(C::ID_REMOVE_PROJECT));
    EXPECT_EQ(prompts.Last().stringId, 7015u);
    EXPECT_NE(prompts.Last().text.find(Daq()->GetName()), std::string::npos);
    EXPECT_EQ(Container().GetProjectCount(), before);
    EXPECT_FALSE(doc->IsModified());
    prompts.Answer(IDYES);
    ASSERT_TRUE(frame->OnCommand(C::ID_REMOVE_PROJECT));
    EXPECT_EQ(Container().GetProjectCount(), before - 1);
    EXPECT_EQ(frame->TreeWindow()->GetTreeCount(), before - 1);
    // The model project is never removed by it.
    Select(0);
    EXPECT_FALSE(frame->IsCommandEnabled(C::ID_REMOVE_PROJECT));
    EXPECT_FALSE(frame->OnCommand(C::ID_REMOVE_PROJECT));
}

TEST_F(FrameCommandsTest, LanguageCommandsCheckExactlyOne)
{
    for (uint32_t lang : {LANG_JAPANESE, LANG_ENGLISH}) {
        ASSERT_TRUE(frame->OnCommand(lang == LANG_ENGLISH ? ID_LANGUAGE_ENGLISH : ID_LANGUAGE_JAPANESE));
        frame->UpdateCommandUI();
        EXPECT_EQ(frame->Action(ID_LANGUAGE_ENGLISH)->isChecked(), lang == LANG_ENGLISH);
        EXPECT_EQ(frame->Action(ID_LANGUAGE_JAPANESE)->isChecked(), lang == LANG_JAPANESE);
    }
}

TEST_F(FrameCommandsTest, AcquisitionSettingsInEditModeChangeOnlyRealDifferences)
{
    // The rule alone: a step below the float resolution is no change.
    CDAQConfig config;
    config.SetPulsesPerRev(2.0f);
    config.SetRpmRatio(1.0f);
    EXPECT_FALSE(C::TakePulseSettings(config, 2.0f, 1.0f));
    EXPECT_FALSE(C::TakePulseSettings(config, 2.0f + 1e-7f, 1.0f)) << "below the tolerance";
    EXPECT_TRUE(C::TakePulseSettings(config, 2.0f, 1.5f));
    EXPECT_FLOAT_EQ(config.GetRpmRatio(), 1.5f);
    EXPECT_FLOAT_EQ(config.GetPulsesPerRev(), 2.0f);

    // Through the command: the dialog answered with the stored values changes nothing.
    Select(1);
    CDAQConfig* stored = Daq()->GetDAQConfig();
    // A configuration the dialog accepts (the sample sets only its sampling frequency).
    stored->SetMaxFreq(stored->GetSamplingFreq() / 2.56f);
    const CDAQConfig before = *stored;
    {
        CScriptedDialogs dialogs;
        dialogs.Then([&](CZuDialog& dlg) {
            auto* settings = dynamic_cast<CDlgDAQConfig*>(&dlg);
            EXPECT_NE(settings, nullptr);
            EXPECT_TRUE(dlg.grab().save(dir.filePath("daq-settings.png")));
            return dlg.PressOK();
        });
        CScriptedPrompts prompts;
        ASSERT_TRUE(frame->OnCommand(C::ID_DAQ_SETTINGS));
        EXPECT_EQ(prompts.Count(), 0u);
        EXPECT_TRUE(*stored == before);
        EXPECT_FALSE(doc->IsModified());
    }
    // A new RPM ratio is taken (measured data with RPM functions ask about recalculating; no keeps
    // the value without recalculating).
    CScriptedDialogs dialogs;
    dialogs.Then([&](CZuDialog& dlg) {
        auto* settings = dynamic_cast<CDlgDAQConfig*>(&dlg);
        if (!settings)
            return dlg.PressCancel();
        settings->m_fRpmRatio = before.GetRpmRatio() * 2.0f;
        settings->UpdateData(false);
        return dlg.PressOK();
    });
    CScriptedPrompts prompts;
    prompts.Answer(IDNO);
    ASSERT_TRUE(frame->OnCommand(C::ID_DAQ_SETTINGS));
    EXPECT_FLOAT_EQ(stored->GetRpmRatio(), before.GetRpmRatio() * 2.0f);
    EXPECT_FLOAT_EQ(stored->GetSamplingFreq(), before.GetSamplingFreq());
    EXPECT_TRUE(doc->IsModified());
    for (const PromptRecord& r : prompts.Records())
        EXPECT_EQ(r.stringId, 6255u);
}

TEST_F(FrameCommandsTest, OrderAnalysisProjectFromDaqListsBandRpms)
{
    CDaqProject* daq = Daq();
    EXPECT_EQ(doc->AddOrderAnalysisProjectFromDaq(nullptr), nullptr);
    COrderList& orders = daq->GetCalcOptions()->GetOrderList();
    orders = COrderList();
    const int before = Container().GetProjectCount();
    EXPECT_EQ(doc->AddOrderAnalysisProjectFromDaq(daq), nullptr) << "no first order: no project";
    EXPECT_EQ(Container().GetProjectCount(), before);

    orders.Add(2.0);
    orders.Add(4.0);
    CAnalysisProject* project = doc->AddOrderAnalysisProjectFromDaq(daq);
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project->GetProjectType(), CAnalysisProject::typeOrder);
    EXPECT_EQ(project->GetDaqProjectID(), daq->GetID());
    const CRPMOptions* rpm = &project->GetRPMOptions();
    ASSERT_NE(rpm, nullptr);
    EXPECT_EQ(rpm->GetMode(), CRPMOptions::modeList);
    const COctaveManagerEx* bands = daq->GetOctaveManager();
    ASSERT_NE(bands, nullptr);
    ASSERT_EQ(static_cast<int>(rpm->GetRpmList()->size()), bands->GetFreqCount());
    for (int i = 0; i < bands->GetFreqCount(); ++i)
        EXPECT_FLOAT_EQ((*rpm->GetRpmList())[static_cast<size_t>(i)], static_cast<float>(bands->GetFreq(i) * 30.0));
    EXPECT_EQ(project->GetOrderList().GetCount(), 2);
}

TEST_F(FrameCommandsTest, NewAnalysisProjectByRpmThenInputPowers)
{
    Select(0);
    const int before = Container().GetProjectCount();
    {
        CScriptedDialogs dialogs;
        dialogs.PressCancel();
        ASSERT_TRUE(frame->OnCommand(C::ID_NEW_ANALYSIS_PROJECT));
        EXPECT_EQ(Container().GetProjectCount(), before) << "cancel makes nothing";
    }
    CScriptedDialogs dialogs;
    dialogs
        .Then([&](CZuDialog& dlg) {
            auto* choose = dynamic_cast<CDlgSelectDaqProject*>(&dlg);
            EXPECT_NE(choose, nullptr);
            if (choose) {
                EXPECT_EQ(choose->Combo()->currentText().toStdString(), Daq()->GetName());
            }
            return dlg.PressOK();
        })
        .Then([](CZuDialog& dlg) { return dlg.PressOK(); }) // the kind, when order tracking is offered
        .Then([](CZuDialog& dlg) { return dlg.PressOK(); });
    ASSERT_TRUE(frame->OnCommand(C::ID_NEW_ANALYSIS_PROJECT));
    ASSERT_EQ(Container().GetProjectCount(), before + 1);
    auto* project = DynamicDowncast<CAnalysisProject>(Container().GetProject(before));
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project->GetProjectType(), CAnalysisProject::typeRpm);
    EXPECT_EQ(project->GetDaqProjectID(), Daq()->GetID());
    const CDAQConfig* config = Daq()->GetDAQConfig();
    EXPECT_FLOAT_EQ(project->GetRPMOptions().GetRpmMin(), static_cast<float>(config->GetRpmLow()));
    // The options sheet's OK leads to the input powers of the new project.
    CDlgSelectCalcSubsystem* calc = CDlgSelectCalcSubsystem::GetInstance();
    EXPECT_NE(calc, nullptr);
    CDlgSelectCalcSubsystem::DestroyInstance();
}

TEST_F(FrameCommandsTest, ModelViewShowsSubsystemsAndTheDialogsSelection)
{
    Select(0);
    ASSERT_TRUE(frame->IsCommandEnabled(C::ID_MODEL_VIEW));
    ASSERT_TRUE(frame->OnCommand(C::ID_MODEL_VIEW));
    CModelData* model = Container().GetModelData();
    ASSERT_NE(model, nullptr);
    C3DModelView* view = C3DModelView::GetInstance(C3DModelView::KindKey(model->GetFileKind() == 1 ? 1 : 0));
    ASSERT_NE(view, nullptr);
    ASSERT_FALSE(view->Subsystems().empty());
    EXPECT_FALSE(view->Connections().empty()) << "the sample's subsystems are coupled";
    // Opening again replaces the window: one per kind.
    ASSERT_TRUE(frame->OnCommand(C::ID_MODEL_VIEW));
    C3DModelView* again = C3DModelView::GetInstance(C3DModelView::KindKey(model->GetFileKind() == 1 ? 1 : 0));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(frame->MdiArea()->subWindowList().size(), 1);
    view = again;

    // A dialog's selection and colour reach the window through the open model documents.
    const std::string first = view->Subsystems().front()->GetName();
    CZuSubsystemTable names;
    names.Add(first);
    C3DModelDoc::SelectInOpenDocuments(names);
    EXPECT_TRUE(view->GetDocument()->IsSelected(first));
    EXPECT_EQ(view->GetDocument()->ColorSubsystem(sample::kResponse, 1.0f, 0.2f, 0.2f), 1);

    // A click on another subsystem selects it.
    view->resize(640, 480);
    const int last = static_cast<int>(view->Subsystems().size()) - 1;
    const QRectF r = view->ItemRect(last);
    EXPECT_GT(r.width(), 20.0);
    EXPECT_GT(r.height(), 10.0);
    EXPECT_EQ(view->HitTest(r.center().toPoint()), last);
    QTest::mouseClick(view, Qt::LeftButton, {}, r.center().toPoint());
    EXPECT_TRUE(view->GetDocument()->IsSelected(view->Subsystems()[static_cast<size_t>(last)]->GetName()));
    EXPECT_FALSE(view->GetDocument()->IsSelected(first));
    // At its default size and in a tall, narrow window no subsystem covers another.
    for (const QSize size : {QSize(640, 480), QSize(485, 700)}) {
        view->resize(size);
        for (int a = 0; a <= last; ++a)
            for (int b = a + 1; b <= last; ++b)
                EXPECT_FALSE(view->ItemRect(a).intersects(view->ItemRect(b)))
                    << view->Subsystems()[static_cast<size_t>(a)]->GetName() << " covers "
                    << view->Subsystems()[static_cast<size_t>(b)]->GetName() << " at " << size.width() << "x"
                    << size.height();
    }
    view->resize(640, 480);
    const QImage image = view->grab().toImage();
    EXPECT_TRUE(image.save(dir.filePath("model-view.png")));
    if (qEnvironmentVariableIsSet("ORVEX_KEEP_GRABS"))
        image.save(qEnvironmentVariable("ORVEX_KEEP_GRABS") + QStringLiteral("/model-view.png"));

    // Closing the document closes the model window with it.
    ASSERT_TRUE(frame->CloseMainDocument());
    EXPECT_EQ(C3DModelView::GetInstance(C3DModelView::KindKey(0)), nullptr);
    EXPECT_EQ(C3DModelView::GetInstance(C3DModelView::KindKey(1)), nullptr);
}

TEST_F(FrameCommandsTest, DeletingResultsAsksForEachAndSkipsTheirChildren)
{
    auto* set = new CMElement("Results", Analysis(), 51);
    Analysis()->AddChild(set);
    auto* inner = new CMElement("SPL", set, 54);
    set->AddChild(inner);
    auto* other = new CMElement("Vibration", Analysis(), 53);
    Analysis()->AddChild(other);
    frame->TreeWindow()->RefreshItems();
    Select(2, set);
    CMTreeCtrlEx* tree = frame->TreeWindow()->GetActiveTree();
    for (CMElement* e : {inner, other})
        tree->selectionModel()->select(tree->Model()->IndexOf(e), QItemSelectionModel::Select);
    frame->UpdateCommandUI();
    EXPECT_TRUE(frame->TreeWindow()->IsResultSelected());
    ASSERT_TRUE(frame->Action(C::ID_EDIT_CUT)->isEnabled());
    EXPECT_EQ(C::FindResultSets(Analysis()), std::vector<CMElement*>{set});

    CScriptedPrompts prompts;
    prompts.Answer(IDYES).Answer(IDNO);
    const int children = Analysis()->GetChildCount();
    ASSERT_TRUE(frame->OnCommand(C::ID_EDIT_CUT));
    ASSERT_EQ(prompts.Count(), 2u) << "the SPL below the set goes with it, unasked";
    EXPECT_EQ(Analysis()->GetChildCount(), children - 1);
    EXPECT_EQ(Analysis()->GetChildIndex(other) >= 0, true);
    EXPECT_TRUE(doc->IsModified());
    Select(2);
    EXPECT_FALSE(frame->TreeWindow()->IsResultSelected());
    EXPECT_FALSE(frame->Action(C::ID_EDIT_CUT)->isEnabled());
}

TEST_F(FrameCommandsTest, ShortcutGroupsOfferTheirCommands)
{
    Select(0);
    for (int item = 2; item <= 7; ++item) {
        SCOPED_TRACE(item);
        std::unique_ptr<QMenu> menu(frame->ShortcutBar()->MenuFor(item));
        ASSERT_NE(menu, nullptr);
        EXPECT_FALSE(menu->actions().isEmpty());
    }
    EXPECT_TRUE(frame->IsShortcutEnabled(2));
    EXPECT_TRUE(frame->IsShortcutEnabled(7));
    EXPECT_FALSE(frame->IsShortcutEnabled(6)) << "a new DAQ project waits for its set-up dialogs";
    // Every project command has a menu text of its own.
    for (int id : {C::ID_MODEL_UPDATE,
                   C::ID_COPY_ANALYSIS_PROJECT,
                   C::ID_RENAME_PROJECT,
                   C::ID_DAQ_SETTINGS,
                   C::ID_BLIX_CHANNEL_EXCHANGE,
                   C::ID_MERGE_ANALYSIS_PROJECTS,
                   C::ID_REMOVE_PROJECT_AT,
                   C::ID_RENAME_PROJECT_AT,
                   C::ID_ADD_MODEL_VARIANT,
                   C::ID_NEW_ANALYSIS_PROJECT,
                   C::ID_NEW_DAQ_PROJECT,
                   C::ID_REMOVE_PROJECT,
                   C::ID_MODEL_VIEW,
                   C::ID_IMPORTED_FILE_LIST,
                   C::ID_EDIT_CUT,
                   C::ID_DAQ_CALC_OPTIONS,
                   C::ID_DAQ_CALC_OPTIONS_RECALC,
                   C::ID_EXTRACT_CLF,
                   C::ID_EXTRACT_INTRINSIC_DLF,
                   C::ID_CAVITY_PAIR_PICKER}) {
        const CCommandEntry* entry = CCommandRegistry::Frame().Find(id);
        ASSERT_NE(entry, nullptr) << id;
        EXPECT_STRNE(entry->text, "") << id;
    }
}

TEST_F(FrameCommandsTest, AliasesFollowTheCommandTheySend)
{
    // Each alias is enabled exactly when the command it sends is, over typical selections.
    auto* result = new CMElement("Result", Analysis(), 53);
    Analysis()->AddChild(result);
    const CCommandRegistry& registry = CCommandRegistry::Frame();
    // The aliases of the shortcut bar and the project tree, and what each sends.
    const std::map<int, int> sends = {{1206, 57600}, {1207, 57601}, {1208, 1100}, {1209, 1100}, {1210, 1172},
                                      {1211, 1126},  {1212, 1136},  {1213, 1110}, {1214, 1092}, {1215, 1098},
                                      {1216, 1087},  {1217, 1090},  {1218, 1033}, {1221, 1177}};
    int aliases = 0;
    for (const auto& [id, e] : registry.Entries())
        aliases += e.aliasOf != 0;
    EXPECT_EQ(aliases, static_cast<int>(sends.size()));
    for (int project : {0, 1, 2}) {
        Select(project);
        for (const auto& [alias, target] : sends) {
            SCOPED_TRACE(testing::Message() << "project " << project << " alias " << alias);
            ASSERT_NE(frame->Action(alias), nullptr);
            const CCommandEntry* entry = registry.Find(alias);
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(entry->aliasOf, target);
            // 1214 to 1217 go to the experiment window's tree.
            EXPECT_EQ(entry->aliasToExperimentWindow, alias >= 1214 && alias <= 1217);
            if (entry->aliasToExperimentWindow)
                EXPECT_FALSE(frame->IsCommandEnabled(alias)) << "no experiment window is open";
            else
                EXPECT_EQ(frame->IsCommandEnabled(alias), frame->IsCommandEnabled(target));
        }
    }
    Select(2);
    EXPECT_TRUE(frame->IsCommandEnabled(1218)) << "the input powers of the selected analysis project";
    Select(1);
    EXPECT_FALSE(frame->IsCommandEnabled(1218)) << "no analysis project selected";

    // The alias runs what it sends: the acquisition settings of the selected DAQ project.
    CScriptedDialogs dialogs;
    dialogs.PressCancel();
    ASSERT_TRUE(frame->OnCommand(1211));
    ASSERT_EQ(dialogs.Records().size(), 1u);
    EXPECT_EQ(dialogs.Records()[0].className, "CDlgDAQConfig");

    // 1213 is the measurement by subsystem of the selected DAQ project.
    Select(1);
    EXPECT_TRUE(frame->IsCommandEnabled(1213));
    Select(0);
    EXPECT_FALSE(frame->IsCommandEnabled(1213)) << "a model project takes no measurement";

    // 1208 and 1209 open the one target-and-sources dialog over the project list; asked again,
    // the open one stays; closing the document closes it.
    ASSERT_TRUE(frame->IsCommandEnabled(1208));
    ASSERT_TRUE(frame->OnCommand(1208));
    CDlgSrcTrgDefinition* open = CDlgSrcTrgDefinition::GetInstance();
    ASSERT_NE(open, nullptr);
    EXPECT_TRUE(frame->OnCommand(1209));
    EXPECT_EQ(CDlgSrcTrgDefinition::GetInstance(), open);
    EXPECT_TRUE(open->grab().save(dir.filePath("src-trg.png")));
    EXPECT_GT(open->TargetCombo()->width(), 50);
    EXPECT_GT(open->SourceList()->height(), 30);
    ASSERT_TRUE(frame->CloseMainDocument());
    EXPECT_EQ(CDlgSrcTrgDefinition::GetInstance(), nullptr);
    EXPECT_FALSE(frame->IsCommandEnabled(1208)) << "no document";
}

TEST_F(FrameCommandsTest, OpenSelectionOpensEachElementOnce)
{
    // The measured spectra of the DAQ project: every selected one in a window of its own, and a
    // second opening brings the window forward.
    std::vector<CMElement*> spectra;
    std::function<void(CMElement*)> collect = [&](CMElement* e) {
        for (int i = 0; i < e->GetChildCount() && spectra.size() < 2; ++i) {
            if (DynamicDowncast<CZuRpmFunc>(e->GetChild(i)))
                spectra.push_back(e->GetChild(i));
            else
                collect(e->GetChild(i));
        }
    };
    collect(Daq());
    ASSERT_EQ(spectra.size(), 2u);
    Select(1);
    frame->TreeWindow()->GetActiveTree()->SelectElements(spectra);
    QMdiArea* area = frame->MdiArea();
    const qsizetype before = area->subWindowList().size();
    ASSERT_TRUE(frame->OnCommand(ID_OPEN_SELECTION));
    EXPECT_EQ(area->subWindowList().size(), before + 2);
    ASSERT_TRUE(frame->OnCommand(ID_OPEN_SELECTION));
    EXPECT_EQ(area->subWindowList().size(), before + 2);
}

namespace {
// The acquisition-source choice answered by script: 0 the hardware, -1 cancelled.
struct ScriptedSource : IUFImportUI
{
    int choice = 0;
    ScriptedSource() { SetUFImportUI(this); }
    ~ScriptedSource() override { SetUFImportUI(nullptr); }
    int SelectDAQSystem() override { return choice; }
    bool RunImportDialog(CUFImportSettings&) override { return false; }
    bool RunDataCheck(CUFDataCheckInput&) override { return false; }
    CFeedback* ShowProgress() override { return nullptr; }
    void CloseProgress() override {}
};
} // namespace

TEST_F(FrameCommandsTest, NewDaqProjectRunsItsSetUpAndKeepsNothingHalfMade)
{
    Select(0);
    EXPECT_FALSE(frame->IsCommandEnabled(C::ID_NEW_DAQ_PROJECT)) << "one DAQ project is there already";
    ASSERT_GE(doc->RemoveProject(Daq()), 0);
    Select(0);
    ASSERT_TRUE(frame->IsCommandEnabled(C::ID_NEW_DAQ_PROJECT));
    const int before = Container().GetProjectCount();
    ScriptedSource source;
    CScriptedPrompts prompts;
    prompts.responder = [](const PromptRecord&) { return Reply(IDOK); };
    {
        // The source choice cancelled, then the hardware connection closed unconnected: nothing
        // stays.
        source.choice = -1;
        ASSERT_TRUE(frame->OnCommand(C::ID_NEW_DAQ_PROJECT));
        EXPECT_EQ(Container().GetProjectCount(), before);
        source.choice = 0;
        CScriptedDialogs dialogs;
        dialogs.PressCancel();
        ASSERT_TRUE(frame->OnCommand(C::ID_NEW_DAQ_PROJECT));
        EXPECT_EQ(Container().GetProjectCount(), before);
        EXPECT_EQ(frame->TreeWindow()->GetTreeCount(), before);
    }
    // Connected, then the settings, the calculation options and the engine rotation confirmed.
    CScriptedDialogs dialogs;
    std::vector<std::string> shown;
    dialogs.Then([](CZuDialog& d) {
        static_cast<CDlgQMXConnection&>(d).Button(2001)->click();
        return IDCANCEL;
    });
    for (int i = 0; i < 3; ++i)
        dialogs.Then([&](CZuDialog& d) {
            shown.push_back(d.metaObject()->className());
            return d.PressOK();
        });
    ASSERT_TRUE(frame->OnCommand(C::ID_NEW_DAQ_PROJECT));
    ASSERT_EQ(Container().GetProjectCount(), before + 1);
    EXPECT_NE(DynamicDowncast<CDaqProject>(Container().GetProject(before)), nullptr);
    EXPECT_EQ(shown, (std::vector<std::string>{"CDlgDAQConfig", "CPSheetAnaOptions", "CDlgEngineRotationSetup"}));
    EXPECT_FALSE(frame->IsCommandEnabled(C::ID_NEW_DAQ_PROJECT));
}

TEST_F(FrameCommandsTest, LossFactorPickersExtractIntoTheModelTree)
{
    CModelProject* model = Container().GetModelProject();
    ASSERT_NE(model, nullptr);
    if (!model->GetHSEAModelData()) {
        ASSERT_NE(
            model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)),
            nullptr);
    }
    Select(1);
    EXPECT_FALSE(frame->IsCommandEnabled(C::ID_EXTRACT_INTRINSIC_DLF)) << "a DAQ project holds no model";
    Select(0);
    ASSERT_TRUE(frame->IsCommandEnabled(C::ID_EXTRACT_INTRINSIC_DLF));
    ASSERT_TRUE(frame->IsCommandEnabled(C::ID_EXTRACT_CLF));

    // The single picker: the internal loss factor of the roof, added to the model's tree.
    ASSERT_TRUE(frame->OnCommand(C::ID_EXTRACT_INTRINSIC_DLF));
    CTreePickers* pickers = frame->TreeWindow()->Pickers();
    ASSERT_NE(pickers, nullptr);
    CDlgSelectSubsystem* single = pickers->SinglePicker();
    ASSERT_NE(single, nullptr);
    EXPECT_TRUE(single->isVisible());
    const int roof = single->Combo()->findText(QStringLiteral("Roof"));
    ASSERT_GE(roof, 0);
    single->Combo()->setCurrentIndex(roof);
    EXPECT_TRUE(single->grab().save(dir.filePath("dlf-picker.png")));
    CScriptedPrompts prompts;
    const int children = model->GetHSEAModelData()->GetChildCount();
    single->PressOK();
    EXPECT_EQ(prompts.Count(), 0u) << "no failure message";
    ASSERT_EQ(model->GetHSEAModelData()->GetChildCount(), children + 1);
    CMElement* dlf = model->GetHSEAModelData()->GetChild(children);
    CMTreeCtrlEx* tree = frame->TreeWindow()->GetTree(0);
    EXPECT_TRUE(tree->Model()->IndexOf(dlf).isValid());

    // The pair picker is another window; the single one is reused when asked again.
    ASSERT_TRUE(frame->OnCommand(C::ID_EXTRACT_CLF));
    ASSERT_NE(pickers->PairPicker(), nullptr);
    EXPECT_TRUE(pickers->PairPicker()->isVisible());
    ASSERT_TRUE(frame->OnCommand(C::ID_EXTRACT_INTRINSIC_DLF));
    EXPECT_EQ(pickers->SinglePicker(), single);
    // An element that yields nothing shows the failure and adds nothing.
    EXPECT_EQ(CTreePickers::RunOperation(1146, model->GetHSEAModelData(), "Roof", "Roof"), nullptr);
    EXPECT_EQ(CTreePickers::RunOperation(1148, model->GetHSEAModelData(), "Roof", "Front Cabin-R"), nullptr);
}

TEST_F(FrameCommandsTest, AUserExceptionEndsTheCommandQuietly)
{
    // A window opener that gives up after telling the user why: the command ends, nothing more is
    // shown and the frame goes on.
    CZuMultiDocTemplate* tal = GetTALVOApp().FindTemplateByStringId(IDR_TALDATA);
    ASSERT_NE(tal, nullptr);
    tal->SetOpener([](CMElement*) -> bool { throw CUserException("stopped"); });
    CMElement* spectrum = nullptr;
    std::function<void(CMElement*)> find = [&](CMElement* e) {
        for (int i = 0; i < e->GetChildCount() && !spectrum; ++i) {
            if (DynamicDowncast<CZuRpmFunc>(e->GetChild(i)))
                spectrum = e->GetChild(i);
            else
                find(e->GetChild(i));
        }
    };
    find(Daq());
    ASSERT_NE(spectrum, nullptr);
    Select(1, spectrum);
    CScriptedPrompts prompts;
    EXPECT_FALSE(frame->OnCommand(ID_OPEN_SELECTION));
    EXPECT_EQ(prompts.Count(), 0u);
    EXPECT_TRUE(frame->IsCommandEnabled(ID_OPEN_SELECTION));
    // The program's own opener back for the tests that follow.
    InstallWindowServices();
}

TEST_F(FrameCommandsTest, ResultContextMenuOnlyOverAResultSet)
{
    Select(2);
    EXPECT_EQ(frame->CreateResultContextMenu(frame.get()), nullptr) << "a project is no result set";
    auto* plain = new CMElement("Result", Analysis(), 53);
    Analysis()->AddChild(plain);
    auto* rpmSet = new CZuRpmResultData("Result #90", Analysis(), 51, 0, 100.0, 5000.0);
    Analysis()->AddChild(rpmSet);
    auto* orderSet = new CZuOTResultData("Result #91", Analysis(), 51, 0, 100.0, 5000.0);
    Analysis()->AddChild(orderSet);
    frame->TreeWindow()->RefreshItems();
    Select(2, plain);
    EXPECT_EQ(frame->CreateResultContextMenu(frame.get()), nullptr) << "an element that holds no result set";

    QTemporaryDir shots;
    for (CMElement* set : {static_cast<CMElement*>(rpmSet), static_cast<CMElement*>(orderSet)}) {
        SCOPED_TRACE(set->GetName());
        Select(2, set);
        std::unique_ptr<QMenu> menu(frame->CreateResultContextMenu(frame.get()));
        ASSERT_NE(menu, nullptr);
        std::set<int> ids;
        for (QAction* a : menu->actions()) {
            if (a->isSeparator())
                continue;
            const int id = a->data().toInt();
            ids.insert(id);
            // Each item keeps its command's own enable rule.
            EXPECT_EQ(a->isEnabled(), frame->IsCommandEnabled(id)) << id;
        }
        for (int id : {1003, 1036, 1057, 1067})
            EXPECT_EQ(ids.count(id), 1u) << id;
        EXPECT_TRUE(menu->grab().save(shots.filePath(QStringLiteral("result-menu.png"))));
        if (qEnvironmentVariableIsSet("ORVEX_KEEP_GRABS"))
            menu->grab().save(qEnvironmentVariable("ORVEX_KEEP_GRABS") + QStringLiteral("/result-menu.png"));
        EXPECT_GT(menu->sizeHint().width(), 100);
    }

    // The tree's right button shows it over the window that holds the frame.
    frame->SendMessage(WM_ZU_TREE_RBUTTONDOWN, 0, 0);
    auto* shown = frame->findChild<QMenu*>(QStringLiteral("ResultContextMenu"));
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    shown->close();
}

TEST_F(FrameCommandsTest, OneDataWindowPerElementBroughtForwardWhenOpenedAgain)
{
    std::function<CZuRpmFunc*(CMElement*)> firstMap = [&firstMap](CMElement* e) -> CZuRpmFunc* {
        if (auto* map = DynamicDowncast<CZuRpmFunc>(e))
            return map;
        for (int i = 0; i < e->GetChildCount(); ++i)
            if (CZuRpmFunc* hit = firstMap(e->GetChild(i)))
                return hit;
        return nullptr;
    };
    CZuRpmFunc* map = firstMap(Daq());
    ASSERT_NE(map, nullptr);
    CZuRpmFunc* other = nullptr;
    for (CMElement* p = map->GetParent(); p && !other; p = p->GetParent())
        for (int i = 0; i < p->GetChildCount() && !other; ++i)
            if (auto* candidate = firstMap(p->GetChild(i)); candidate && candidate != map)
                other = candidate;
    ASSERT_NE(other, nullptr);
    QMdiArea* area = frame->MdiArea();
    ASSERT_TRUE(GetTALVOApp().OpenDataView(map));
    ASSERT_EQ(area->subWindowList().size(), 1);
    QMdiSubWindow* first = area->subWindowList().front();
    ASSERT_TRUE(GetTALVOApp().OpenDataView(other));
    EXPECT_EQ(area->subWindowList().size(), 2);
    EXPECT_NE(area->activeSubWindow(), first);
    // Opened again, the element's own window comes forward; no second one.
    ASSERT_TRUE(GetTALVOApp().OpenDataView(map));
    EXPECT_EQ(area->subWindowList().size(), 2);
    EXPECT_EQ(area->activeSubWindow(), first);
    // Asked through the template to open or activate: the window comes forward, nothing new opens.
    ASSERT_TRUE(GetTALVOApp().OpenDataView(other));
    EXPECT_FALSE(GetTALVOApp().OpenOrActivateElementFrame("TalDataView", map));
    EXPECT_EQ(area->subWindowList().size(), 2);
    EXPECT_EQ(area->activeSubWindow(), first);
}

TEST_F(FrameCommandsTest, ResultPopupsListTheProjectsResultSetsAndRunOnTheChosenOne)
{
    for (int id : {CCalcCommands::ID_SEARCH_DOMINANT_PATH, CCalcCommands::ID_CALC_POWER_CONTRIBUTION,
                   CCalcCommands::ID_CALC_SPL, CCalcCommands::ID_CALC_VIBRATION_LEVEL})
        EXPECT_NE(frame->ResultPopup(id), nullptr) << id;
    EXPECT_EQ(frame->ResultPopup(CCalcCommands::ID_CALC_INPUT_POWER), nullptr);

    // An analysis project without results: one grayed "no result".
    Select(2);
    QMenu* spl = frame->ResultPopup(CCalcCommands::ID_CALC_SPL);
    ASSERT_NE(spl, nullptr);
    frame->FillResultPopup(CCalcCommands::ID_CALC_SPL);
    ASSERT_EQ(spl->actions().size(), 1);
    EXPECT_EQ(spl->actions()[0]->text(), QStringLiteral("no result"));
    EXPECT_FALSE(spl->actions()[0]->isEnabled());

    // Two result sets, the second below a folder: listed in tree order, filled anew on each opening.
    auto* first = Analysis()->AddChild(std::make_unique<CZuRpmResultData>());
    first->SetName("Result A");
    first->SetType(51);
    CMElement* folder = Analysis()->AddChild(std::make_unique<CMElement>("Folder", Analysis(), 100));
    auto* second = folder->AddChild(std::make_unique<CZuRpmResultData>());
    second->SetName("Result B");
    second->SetType(51);
    frame->TreeWindow()->RefreshItems();
    Select(2);
    frame->FillResultPopup(CCalcCommands::ID_CALC_SPL);
    ASSERT_EQ(spl->actions().size(), 2);
    EXPECT_EQ(spl->actions()[0]->text(), QStringLiteral("Result A"));
    EXPECT_EQ(spl->actions()[1]->text(), QStringLiteral("Result B"));
    EXPECT_TRUE(spl->actions()[1]->isEnabled());

    // Choosing one runs the command on that set: its picker is captioned with the set's name.
    std::string caption;
    CScriptedDialogs dialogs;
    dialogs.Then([&caption](CZuDialog& dlg) {
        caption = dlg.windowTitle().toStdString();
        return dlg.PressCancel();
    });
    spl->actions()[1]->trigger();
    EXPECT_EQ(caption, "Result B");
    CMElementList selection;
    GetTALVOApp().GetSelectedElements(selection);
    ASSERT_EQ(selection.GetSize(), 1);
    EXPECT_EQ(selection[0], second);
}

TEST_F(FrameCommandsTest, AnRpmResultSetTakesAnEditedLabelThatIsFreeUnderItsParent)
{
    auto* set = Analysis()->AddChild(std::make_unique<CZuRpmResultData>("Result #1", Analysis(), 51, 0, 100.0, 5000.0));
    CMElement* folder = Analysis()->AddChild(std::make_unique<CMElement>("Folder", Analysis(), 100));
    folder->AddChild(std::make_unique<CMElement>("Taken", folder, 53));
    auto* orderSet =
        Analysis()->AddChild(std::make_unique<CZuOTResultData>("Order #1", Analysis(), 51, 0, 100.0, 5000.0));
    orderSet->SetName("Sibling");
    const std::string original = set->GetName();
    frame->TreeWindow()->RefreshItems();
    Select(2, set);
    CProjectTreeModel* model = frame->TreeWindow()->GetActiveTree()->Model();
    const QModelIndex index = model->IndexOf(set);
    ASSERT_TRUE(model->flags(index) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->flags(model->IndexOf(folder)) & Qt::ItemIsEditable) << "a folder keeps its name";
    EXPECT_FALSE(model->flags(model->IndexOf(orderSet)) & Qt::ItemIsEditable) << "only sets over RPM";
    EXPECT_FALSE(model->flags(model->IndexOf(Analysis())) & Qt::ItemIsEditable);

    struct Case
    {
        const char* text;
        bool taken;
        const char* nameAfter;
    };
    const Case cases[] = {
        {"", false, nullptr},        // empty: refused
        {"Taken", false, nullptr},   // a deeper element below the same parent has it
        {"Sibling", false, nullptr}, // a sibling has it
        {"Cabin at idle", true, "Cabin at idle"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        doc->SetModifiedFlag(0);
        EXPECT_EQ(model->setData(index, QString::fromUtf8(c.text), Qt::EditRole), c.taken);
        const std::string after = c.nameAfter ? c.nameAfter : original;
        EXPECT_EQ(set->GetName(), after);
        EXPECT_EQ(model->data(index).toString().toStdString(), after);
        EXPECT_EQ(doc->IsModified(), c.taken);
    }
    // The message itself, as the tree sends it with another element selected, refuses.
    Select(2, folder);
    int renamed = 1;
    frame->SendMessage(WM_ZU_TREE_LABEL_EDITED, reinterpret_cast<uintptr_t>("Other"),
                       reinterpret_cast<intptr_t>(&renamed));
    EXPECT_EQ(renamed, 0);
    EXPECT_EQ(folder->GetName(), "Folder");
}

TEST_F(FrameCommandsTest, TheTabRowsFourButtonsStepThroughTheProjects)
{
    CDockTreeWnd* window = frame->TreeWindow();
    ASSERT_EQ(window->GetTreeCount(), 3);
    frame->resize(900, 700);
    frame->show();
    window->SetActiveIndex(0);
    QToolButton* first = window->TabButton(CDockTreeWnd::kTabFirst);
    QToolButton* previous = window->TabButton(CDockTreeWnd::kTabPrevious);
    QToolButton* next = window->TabButton(CDockTreeWnd::kTabNext);
    QToolButton* last = window->TabButton(CDockTreeWnd::kTabLast);
    ASSERT_TRUE(first && previous && next && last);
    const auto enabled = [&] {
        return std::vector<bool>{first->isEnabled(), previous->isEnabled(), next->isEnabled(), last->isEnabled()};
    };
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, true, true}));
    struct Step
    {
        QToolButton* button;
        int activeAfter;
    };
    for (const Step& step : {Step{next, 1}, Step{next, 2}, Step{next, 2}, Step{previous, 1}, Step{first, 0},
                             Step{previous, 0}, Step{last, 2}}) {
        step.button->click();
        EXPECT_EQ(window->GetActiveIndex(), step.activeAfter) << step.button->objectName().toStdString();
    }
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, false, false}));
    // The commands follow the tab the buttons brought forward.
    EXPECT_EQ(GetTALVOApp().GetProject(-1), Analysis());
    // Square, a scroll bar's width and one, side by side in the tab row.
    const int side = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 1;
    for (QToolButton* b : {first, previous, next, last}) {
        EXPECT_EQ(b->size(), QSize(side, side));
        EXPECT_TRUE(b->isVisible());
    }
    EXPECT_LT(first->x(), previous->x());
    EXPECT_LT(next->x(), last->x());
    // The jumps to the ends show an icon; the steps by one the style's arrows.
    for (QToolButton* b : {first, last})
        EXPECT_FALSE(b->icon().pixmap(b->iconSize()).isNull()) << b->objectName().toStdString();
    // A double-click on a button opens no selection.
    QSignalSpy opens(window, &CDockTreeWnd::OpenSelectionRequested);
    QTest::mouseDClick(first, Qt::LeftButton);
    EXPECT_EQ(opens.count(), 0);
    // A cleared bit hides its button; the others close up.
    window->SetTabButtonMask(0b1011);
    EXPECT_FALSE(next->isVisible());
    EXPECT_TRUE(last->isVisible());
    window->SetTabButtonMask(15);
    QCoreApplication::processEvents();
    const QString shots = ShotFolder(QStringLiteral("FrameCommands"));
    EXPECT_TRUE(window->grab().save(shots + QStringLiteral("/tab-buttons.png")));
    if (qEnvironmentVariableIsSet("ORVEX_KEEP_GRABS"))
        window->grab().save(qEnvironmentVariable("ORVEX_KEEP_GRABS") + QStringLiteral("/tab-buttons.png"));
    // Without a project there is nowhere to step.
    ASSERT_TRUE(frame->CloseMainDocument());
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false, false}));
}

TEST_F(FrameCommandsTest, TheModelsOwnResultMakesItsFunctionsThroughTheProjectWindowsPickers)
{
    CHSEAResultData* result = SolveModelsOwnResult();
    ASSERT_NE(result, nullptr);
    frame->TreeWindow()->RefreshItems();
    Select(0, result);
    // Offered on the result's own menu and enabled for it, as on a result set of an analysis.
    std::unique_ptr<QMenu> menu(frame->CreateTreeContextMenu(frame.get()));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), QStringLiteral("ResultContextMenu"));
    for (int id : {1003, 1013, 1023, 1036, 1057, 1067})
        EXPECT_TRUE(frame->IsCommandEnabled(id)) << id;
    Select(2);
    EXPECT_FALSE(frame->IsCommandEnabled(1013)) << "an analysis project has no hybrid result";
    Select(0, result);

    // The SPL of the front cabin, named by the result-name string; made again, it replaces the first.
    CTreePickers* pickers = nullptr;
    const auto pickCabin = [&] {
        ASSERT_TRUE(frame->OnCommand(1057));
        pickers = frame->TreeWindow()->Pickers();
        ASSERT_NE(pickers, nullptr);
        CDlgSelectSubsystem* single = pickers->SinglePicker();
        ASSERT_NE(single, nullptr);
        EXPECT_TRUE(single->isVisible());
        const int cabin = single->Combo()->findText(QStringLiteral("Front Cabin-R"));
        ASSERT_GE(cabin, 0);
        single->Combo()->setCurrentIndex(cabin);
        single->PressOK();
    };
    CScriptedPrompts prompts;
    pickCabin();
    ASSERT_EQ(prompts.Count(), 0u) << prompts.Last().text;
    const std::string name = FormatString(IDS_SPL_NAME, pickers->SinglePicker()->m_strName.c_str());
    CMElement* first = result->FindOneChild(name);
    ASSERT_NE(first, nullptr) << name;
    EXPECT_EQ(first->GetType(), ElementType::Spl);
    CMTreeCtrlEx* tree = frame->TreeWindow()->GetTree(0);
    EXPECT_TRUE(tree->Model()->IndexOf(first).isValid());
    const int children = result->GetChildCount();
    pickCabin();
    EXPECT_EQ(result->GetChildCount(), children) << "one function of each name";
    CMElement* second = result->FindOneChild(name);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(tree->Model()->IndexOf(second).isValid());

    // The energy ratio of two subsystems goes through the pair picker.
    Select(0, result);
    ASSERT_TRUE(frame->OnCommand(1023));
    ASSERT_NE(pickers->PairPicker(), nullptr);
    EXPECT_TRUE(pickers->PairPicker()->isVisible());

    // Each picker row runs its own operation on the result, the made functions named by the row's
    // string; the loss factors are extracted from model data, never from a result.
    struct Pick
    {
        int id;
        const char* name1;
        int type;
        uint32_t nameId;
    };
    for (const Pick& p :
         {Pick{1003, "Front Cabin-R-", ElementType::DominantPath, IDS_DOMINANT_PATH_NAME},
          Pick{1013, "Roof-F", ElementType::Energy, 0}, Pick{1023, "Roof-F", ElementType::EnergyRatio, 0},
          Pick{1036, "Front Cabin-R-", ElementType::PowerContribution, IDS_POWER_CONTRIBUTION_NAME},
          Pick{1067, "Roof-F", ElementType::VibrationLevel, IDS_VIBRATION_LEVEL_NAME}}) {
        CMElement* made = CTreePickers::RunOperation(p.id, result, p.name1, "Front Cabin-R");
        ASSERT_NE(made, nullptr) << p.id;
        EXPECT_EQ(made->GetType(), p.type) << p.id;
        EXPECT_EQ(made->GetParent(), result) << p.id;
        if (p.nameId) {
            EXPECT_EQ(made->GetName(), FormatString(p.nameId, p.name1)) << p.id;
        }
    }
    for (int id : {1138, 1139, 1142, 1146, 1147, 1149, 1046, 1148})
        EXPECT_EQ(CTreePickers::RunOperation(id, result, "Roof-F", "Front Cabin-R"), nullptr) << id;
}

TEST_F(FrameCommandsTest, APickOfASubsystemTheModelLacksShowsWhyInABox)
{
    // The picker operations report a subsystem missing from the loss-factor matrix to the feedback
    // the project window gives them: the main window's status bar, which shows the box it always
    // showed, once per pick.
    CModelProject* model = Container().GetModelProject();
    CHSEAResultData* result = SolveModelsOwnResult();
    ASSERT_NE(result, nullptr);
    CMElement* hsea = model->GetHSEAModelData();
    const std::string missing = "Nowhere-F";
    struct Pick
    {
        int id;
        CMElement* element;
    };
    for (const Pick& p : {Pick{1003, result}, Pick{1013, result}, Pick{1023, result}, Pick{1036, result},
                          Pick{1067, result}, Pick{1146, hsea}, Pick{1147, hsea}, Pick{1149, hsea}}) {
        CScriptedPrompts prompts;
        prompts.Answer(IDOK);
        EXPECT_EQ(CTreePickers::RunOperation(p.id, p.element, missing, "Front Cabin-R"), nullptr) << p.id;
        ASSERT_EQ(prompts.Count(), 1u) << p.id;
        EXPECT_EQ(prompts.Last().stringId, 11611u) << p.id;
        EXPECT_EQ(prompts.Last().text, FormatString(11611, missing.c_str())) << p.id;
    }
}

TEST_F(FrameCommandsTest, RecalculationWithNoDataSetInUseSaysSoAndCalculatesNothing)
{
    Select(1);
    CMElementList used;
    ASSERT_GT(Daq()->GetUsedDAQExperiments(used), 0);
    for (CMElement* set : used)
        static_cast<CDAQExperiment*>(set)->SetUseFlag(0);
    CScriptedDialogs dialogs;
    dialogs.PressOK();
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    ASSERT_TRUE(frame->OnCommand(C::ID_DAQ_CALC_OPTIONS_RECALC));
    ASSERT_EQ(prompts.Records().size(), 1u);
    EXPECT_EQ(prompts.Last().stringId, IDS_RECALC_NONE_USED);
    EXPECT_NE(prompts.Last().text.find(Daq()->GetName()), std::string::npos) << prompts.Last().text;
    for (CMElement* set : used)
        static_cast<CDAQExperiment*>(set)->SetUseFlag(1);
}

TEST_F(FrameCommandsTest, TargetLocalPointsTickedInTheOptionsReachTheDataSets)
{
    Select(1);
    CMElementList used;
    ASSERT_GT(Daq()->GetUsedDAQExperiments(used), 0);
    const CSubsystemLPInfoList& list =
        static_cast<CDAQExperiment*>(used[0])->GetCalcOptions()->GetSubsystemLPInfoList();
    ASSERT_GE(list.GetSize(), 2);
    ASSERT_EQ(list[1].GetName(), sample::kResponse);
    ASSERT_EQ(list[1].GetSize(), 1);
    ASSERT_EQ(list[1].GetAt(0), 1);

    // The cabin microphone's local point unticked on the target page, then OK.
    CScriptedDialogs dialogs;
    bool shown = false;
    dialogs.Then([&](CZuDialog& d) {
        auto* sheet = dynamic_cast<CZuPropertySheet*>(&d);
        CPPageTargetLP* page = nullptr;
        for (int i = 0; sheet && i < sheet->GetPageCount() && !page; ++i)
            page = dynamic_cast<CPPageTargetLP*>(sheet->GetPage(i));
        if (!page || !sheet->SetActivePage(page))
            return d.PressCancel();
        QTreeWidgetItem* root = page->Tree()->topLevelItem(0);
        if (!root || root->text(0).toStdString() != sample::kResponse || root->childCount() != 1)
            return d.PressCancel();
        root->child(0)->setCheckState(0, Qt::Unchecked);
        shown = true;
        EXPECT_TRUE(d.grab().save(dir.filePath("target-local-points.png")));
        if (qEnvironmentVariableIsSet("ORVEX_KEEP_GRABS"))
            d.grab().save(qEnvironmentVariable("ORVEX_KEEP_GRABS") + QStringLiteral("/target-local-points.png"));
        EXPECT_GE(page->Tree()->width(), 200);
        return d.PressOK();
    });
    CScriptedPrompts prompts;
    ASSERT_TRUE(frame->OnCommand(C::ID_DAQ_CALC_OPTIONS_RECALC));
    ASSERT_TRUE(shown);
    EXPECT_EQ(list[1].GetAt(0), 0);
    EXPECT_TRUE(doc->IsModified());

    // Kept in the project file.
    std::string error;
    const std::string file = dir.filePath("Targets.orv").toStdString();
    ASSERT_TRUE(doc->OnSaveDocument(file, &error)) << error;
    CTALVODoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(file, &error)) << error;
    auto* daq = DynamicDowncast<CDaqProject>(reopened.GetTALVOProject().GetProject(1));
    ASSERT_NE(daq, nullptr);
    CMElementList again;
    ASSERT_GT(daq->GetUsedDAQExperiments(again), 0);
    EXPECT_EQ(static_cast<CDAQExperiment*>(again[0])->GetCalcOptions()->GetSubsystemLPInfoList()[1].GetAt(0), 0);
    reopened.OnCloseDocument();
}
