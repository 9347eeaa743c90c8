// The calculation commands from the main frame on the sample project: the input powers through the
// calculation-subsystem selection, its notification running the chain, then the energy result.
#include <QCoreApplication>
#include <QEvent>
#include <QComboBox>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "SampleProject.h"
#include "app/AnalysisProject.h"
#include "app/CalcCommands.h"
#include "app/ModelProject.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "app/ui/3DModelView.h"
#include "app/ui/AnalysisRoadCommands.h"
#include "views/ui/ResultSetCommands.h"
#include "app/ui/DockTreeWnd.h"
#include "app/ui/MTreeCtrlEx.h"
#include "app/ui/MainFrame.h"
#include "platform/ui/ProjectTreeModel.h"
#include "calculation/InputPowerFolder.h"
#include "models/ASEAModelData.h"
#include "models/HSEAModelData.h"
#include "calculation/ui/DlgSelectCalcSubsystem.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "platform/win/ZuRegOptions.h"

TEST(CalcCommandsUi, InputPowersThenEnergyResultFromTheMenu)
{
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    // The frame hands the model window to the template it finds by name.
    if (GetTALVOApp().GetTemplateCount() == 0)
        GetTALVOApp().RegisterDocTemplates();
    QTemporaryDir dir;
    CMainFrame frame;
    auto doc = std::make_unique<CTALVODoc>();
    std::string error;
    ASSERT_TRUE(sample::Build(*doc, std::filesystem::path(ORVEX_SOURCE_DIR) / "samples",
                              dir.filePath("Sample.orv").toStdString(), &error))
        << error;
    auto* project = DynamicDowncast<CAnalysisProject>(doc->GetTALVOProject().GetProject(2));
    ASSERT_NE(project, nullptr);
    // The hybrid model of the analytical model.
    CModelProject* model = doc->GetTALVOProject().GetModelProject();
    ASSERT_NE(model, nullptr);
    ASSERT_NE(model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)),
              nullptr);
    doc->AddProjectsToViews();
    frame.AttachDocument(std::move(doc));
    using C = CCalcCommands;
    EXPECT_FALSE(frame.Action(C::ID_CALC_INPUT_POWER)->isEnabled()) << "no analysis project selected";

    frame.TreeWindow()->SetActiveIndex(2);
    CMTreeCtrlEx* tree = frame.TreeWindow()->GetActiveTree();
    ASSERT_NE(tree, nullptr);
    tree->setCurrentIndex(tree->Model()->IndexOf(project));
    frame.UpdateCommandUI();
    ASSERT_TRUE(frame.Action(C::ID_CALC_INPUT_POWER)->isEnabled());
    EXPECT_FALSE(frame.Action(C::ID_CALC_ENERGY_RESULT)->isEnabled());
    for (int id :
         {C::ID_CALC_VIBRATION_LEVEL, C::ID_CALC_SPL, C::ID_SEARCH_DOMINANT_PATH, C::ID_CALC_POWER_CONTRIBUTION})
        EXPECT_FALSE(frame.Action(id)->isEnabled()) << id;

    // The model window opens first; the selection offers the excited roof, ticked; its OK runs
    // the chain in the frame.
    C3DModelView::CloseAll();
    frame.Action(C::ID_CALC_INPUT_POWER)->trigger();
    EXPECT_TRUE(C3DModelView::GetInstance(C3DModelView::KindKey(0)) ||
                C3DModelView::GetInstance(C3DModelView::KindKey(1)))
        << "the model window";
    CDlgSelectCalcSubsystem* dialog = CDlgSelectCalcSubsystem::GetInstance();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle().toStdString(), LoadString(IDS_INPUT_ENERGY_CAPTION));
    ASSERT_EQ(dialog->List()->count(), 1);
    EXPECT_EQ(dialog->List()->item(0)->text().toStdString(), "Roof");
    EXPECT_EQ(dialog->List()->item(0)->checkState(), Qt::Checked);
    EXPECT_GT(dialog->List()->width(), 0);
    EXPECT_TRUE(dialog->grab().save(dir.filePath("calc-subsystems.png")));
    if (qEnvironmentVariableIsSet("ORVEX_KEEP_GRABS"))
        dialog->grab().save(qEnvironmentVariable("ORVEX_KEEP_GRABS") + QStringLiteral("/calc-subsystems.png"));
    CScriptedPrompts prompts;
    dialog->PressOK();
    ASSERT_GE(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6170u);
    ASSERT_NE(project->GetInputPowerFolder(), nullptr);
    EXPECT_NE(project->GetInputPowerFolder()->FindRpmItem("Roof"), nullptr);

    // The dialog goes once the event loop lets it.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(CDlgSelectCalcSubsystem::GetInstance(), nullptr);
    frame.UpdateCommandUI();
    EXPECT_FALSE(frame.Action(C::ID_CALC_INPUT_POWER)->isEnabled());
    ASSERT_TRUE(frame.Action(C::ID_CALC_ENERGY_RESULT)->isEnabled());
    frame.Action(C::ID_CALC_ENERGY_RESULT)->trigger();
    dialog = CDlgSelectCalcSubsystem::GetInstance();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle().toStdString(), LoadString(IDS_INPUT_POWER_CAPTION));
    prompts.Clear();
    dialog->PressOK();
    ASSERT_GE(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6170u);
    CZuSubsystemTable roof;
    roof.Add("Roof");
    CMElement* set = project->FindEnergyResult(roof);
    ASSERT_NE(set, nullptr);
    CDlgSelectCalcSubsystem::DestroyInstance();

    // A result command on the energy result: the target from the model's subsystem picker.
    tree->setCurrentIndex(tree->Model()->IndexOf(set));
    frame.UpdateCommandUI();
    ASSERT_TRUE(frame.Action(C::ID_CALC_SPL)->isEnabled());
    CScriptedDialogs dialogs;
    bool grabbed = false;
    dialogs.Then([&](CZuDialog& dlg) {
        auto* picker = dynamic_cast<CDlgSelectSubsystem*>(&dlg);
        if (!picker)
            return dlg.PressCancel();
        const int at = picker->Combo()->findText(QStringLiteral("Front Cabin-R"));
        if (at < 0)
            return dlg.PressCancel();
        picker->Combo()->setCurrentIndex(at);
        EXPECT_GT(picker->Combo()->width(), 0);
        grabbed = picker->grab().save(dir.filePath("result-target.png"));
        if (qEnvironmentVariableIsSet("ORVEX_KEEP_GRABS"))
            picker->grab().save(qEnvironmentVariable("ORVEX_KEEP_GRABS") + QStringLiteral("/result-target.png"));
        return dlg.PressOK();
    });
    frame.Action(C::ID_CALC_SPL)->trigger();
    EXPECT_TRUE(grabbed);
    EXPECT_NE(set->FindOne(FormatString(IDS_SPL_NAME, "Front Cabin-R-"), 1, 1), nullptr)
        << FormatString(IDS_SPL_NAME, "Front Cabin-R-");
}

TEST(CalcCommandsUi, RevisingPowersIsAskedOnlyWhenTheOptionSaysSo)
{
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    CZuRegOptions options(GetOptionsKeyPath().c_str());
    ASSERT_TRUE(options.Open());
    struct Case
    {
        uint32_t option;
        int answer; // 0: nothing asked
        int revise;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{1, IDYES, 1}, Case{1, IDNO, 0}}) {
        SCOPED_TRACE(c.answer);
        ASSERT_TRUE(options.SetDWORD("IP_AskRecalcIE", c.option));
        CScriptedPrompts prompts;
        if (c.answer)
            prompts.Answer(c.answer);
        EXPECT_EQ(CResultSetCommands::AskRevisePowers(), c.revise);
        ASSERT_EQ(prompts.Count(), c.answer ? 1u : 0u);
        if (c.answer) {
            EXPECT_EQ(prompts.Last().stringId, 6192u);
            EXPECT_EQ(prompts.Last().style, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
        }
    }
    options.SetDWORD("IP_AskRecalcIE", 0);
}
