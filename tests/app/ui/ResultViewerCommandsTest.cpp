// The result viewers from the main frame on the sample project: the power-contribution viewer on
// the selected result, the SPL comparison on its message and the target energy comparison on the
// selected DAQ project.
#include <QCoreApplication>
#include <QComboBox>
#include <QEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "SampleProject.h"
#include "app/AnalysisProject.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "app/ui/DockTreeWnd.h"
#include "app/ui/MTreeCtrlEx.h"
#include "app/ui/MainFrame.h"
#include "platform/ui/ProjectTreeModel.h"
#include "models/ASEAModelData.h"
#include "models/HSEAModelData.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/WinTypes.h"
#include "spectral/ZuRpmPcFunc.h"
#include "spectral/ZuRpmResultData.h"
#include "views/ui/CalcMenuCommands.h"
#include "views/ui/DlgCavPcView.h"
#include "views/ui/DlgCompSplBySingleIP.h"
#include "views/ui/DlgDaqERComp.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "views/ui/ResultViewerCommands.h"

TEST(ResultViewerCommands, OpenFromTheMainFrame)
{
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    QTemporaryDir dir;
    CScriptedPrompts prompts;
    prompts.responder = [](const PromptRecord&) { return PromptAnswer{}; };
    CMainFrame frame;
    auto doc = std::make_unique<CTALVODoc>();
    std::string error;
    ASSERT_TRUE(sample::Build(*doc, std::filesystem::path(ORVEX_SOURCE_DIR) / "samples",
                              dir.filePath("Sample.orv").toStdString(), &error))
        << error;
    auto* project = DynamicDowncast<CAnalysisProject>(doc->GetTALVOProject().GetProject(2));
    ASSERT_NE(project, nullptr);
    CModelProject* model = doc->GetTALVOProject().GetModelProject();
    ASSERT_NE(model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)),
              nullptr);
    project->GetRPMOptions().SetRange(1000.0f, 1200.0f, 100.0f);
    CZuSubsystemTable roof;
    roof.Add("Roof");
    ASSERT_EQ(project->CalcInputPowerChain(roof, 0, 0), 1);
    auto* set = DynamicDowncast<CZuRpmResultData>(project->CalcEnergyResult(roof, 1));
    ASSERT_NE(set, nullptr);
    CZuRpmPcFunc* pc = project->AddResult(set, project->CalcPowerContribution(set, "Front Cabin-R", 0.0));
    ASSERT_NE(pc, nullptr);
    CDaqProject* daq = doc->GetTALVOProject().GetDaqProject(0);
    ASSERT_NE(daq, nullptr);
    doc->AddProjectsToViews();
    frame.AttachDocument(std::move(doc));
    using R = CResultViewerCommands;

    frame.TreeWindow()->SetActiveIndex(2);
    CMTreeCtrlEx* tree = frame.TreeWindow()->GetActiveTree();
    ASSERT_NE(tree, nullptr);
    tree->setCurrentIndex(tree->Model()->IndexOf(set));
    frame.UpdateCommandUI();
    EXPECT_FALSE(frame.Action(R::ID_VIEW_POWER_CONTRIBUTION)->isEnabled()) << "a result set is no contribution";
    EXPECT_FALSE(frame.Action(R::ID_COMPARE_TARGET_ENERGY)->isEnabled());
    tree->setCurrentIndex(tree->Model()->IndexOf(pc));
    frame.UpdateCommandUI();
    ASSERT_TRUE(frame.Action(R::ID_VIEW_POWER_CONTRIBUTION)->isEnabled());
    frame.Action(R::ID_VIEW_POWER_CONTRIBUTION)->trigger();
    CDlgCavPcView* viewer = CDlgCavPcView::GetInstance(pc);
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    frame.Action(R::ID_VIEW_POWER_CONTRIBUTION)->trigger();
    EXPECT_EQ(CDlgCavPcView::GetInstance(pc), viewer);

    // The SPL comparison: the target from the cavity picker, then the dialog of the project.
    CScriptedDialogs dialogs;
    dialogs.Then([](CZuDialog& dlg) {
        auto* picker = dynamic_cast<CDlgSelectSubsystem*>(&dlg);
        const int at = picker ? picker->Combo()->findText(QStringLiteral("Front Cabin-R")) : -1;
        if (at < 0)
            return dlg.PressCancel();
        picker->Combo()->setCurrentIndex(at);
        return dlg.PressOK();
    });
    EXPECT_EQ(AnswerCalcSubsystems(frame, WM_ZU_SPL_BY_SINGLE_IP, &roof, project), 0);
    CDlgCompSplBySingleIP* comparison = CDlgCompSplBySingleIP::GetInstance(project);
    ASSERT_NE(comparison, nullptr);
    EXPECT_EQ(comparison->Data().GetSourceCount(), 1);
    // The table is built from the roof's input-power result, which keeps the target's energy over RPM.
    CMElement* power = project->FindInputPower(roof);
    ASSERT_NE(power, nullptr);
    EXPECT_NE(power->FindOneChild("Energy [Front Cabin-R-]"), nullptr);
    EXPECT_EQ(AnswerCalcSubsystems(frame, WM_ZU_SPL_BY_SINGLE_IP, nullptr, project), -1);
    // Nothing to build from (the floor has no input power): the user is told so, no window opens.
    CDlgCompSplBySingleIP::DestroyInstance(project);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    CZuSubsystemTable floor;
    floor.Add("Floor");
    for (uint32_t msg : {WM_ZU_SPL_BY_SINGLE_IP, WM_ZU_SPL_BY_SINGLE_IP_COMP}) {
        SCOPED_TRACE(msg);
        CScriptedPrompts failed;
        dialogs.Then([](CZuDialog& dlg) {
            auto* picker = dynamic_cast<CDlgSelectSubsystem*>(&dlg);
            const int at = picker ? picker->Combo()->findText(QStringLiteral("Front Cabin-R")) : -1;
            if (at < 0)
                return dlg.PressCancel();
            picker->Combo()->setCurrentIndex(at);
            return dlg.PressOK();
        });
        EXPECT_EQ(AnswerCalcSubsystems(frame, msg, &floor, project), -1);
        // The calculation's reason first, then what became of the command.
        ASSERT_GE(failed.Count(), 2u);
        EXPECT_EQ(failed.Records().front().stringId, IDS_INPUT_POWER_NOT_CALCULATED);
        EXPECT_EQ(failed.Last().text, "Failed to create data.");
        EXPECT_EQ(CDlgCompSplBySingleIP::GetInstance(project), nullptr);
    }

    // The target energy comparison is the DAQ project's.
    frame.TreeWindow()->SetActiveIndex(1);
    frame.UpdateCommandUI();
    ASSERT_EQ(GetTALVOApp().GetProject(-1), daq);
    EXPECT_FALSE(frame.Action(R::ID_VIEW_POWER_CONTRIBUTION)->isEnabled());
    EXPECT_TRUE(frame.Action(R::ID_COMPARE_TARGET_ENERGY)->isEnabled());

    CDlgCavPcView::DestroyInstance(pc);
    CDlgCompSplBySingleIP::DestroyInstance(project);
    CDlgDaqERComp::DestroyInstance();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
