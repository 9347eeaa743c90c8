// A new user's first session, from an empty main frame: a project from the sample model through
// File > New, the sample's measured run-up, a new analysis project, the input energies, input
// powers and sound pressure level through the menus, the result windows and an export, with every
// dialog and question answered by script. The main window is grabbed with its result windows.
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "SampleProject.h"
#include "app/AnalysisProject.h"
#include "app/CalcCommands.h"
#include "app/DaqProject.h"
#include "app/FrameCommands.h"
#include "app/ModelProject.h"
#include "app/ResultCommands.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "app/ui/DlgNewModel.h"
#include "app/ui/DlgNewProject.h"
#include "app/ui/DockTreeWnd.h"
#include "app/ui/MTreeCtrlEx.h"
#include "app/ui/MainFrame.h"
#include "app/ui/ModelInformationDlg.h"
#include "platform/ui/SXButton.h"
#include "platform/ui/ProjectTreeModel.h"
#include "calculation/InputPowerFolder.h"
#include "calculation/ui/DlgExportInputPower.h"
#include "calculation/ui/DlgSelectCalcSubsystem.h"
#include "experiments/DAQConfig.h"
#include "models/ASEAModelData.h"
#include "models/HSEAModelData.h"
#include "platform/elements/ZuData.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "spectral/ZuRpmFunc.h"
#include "support/RoadSteps.h"

namespace {

// A message box answered with one button.
PromptAnswer Reply(int result)
{
    PromptAnswer answer;
    answer.result = result;
    return answer;
}

using road::Click;
using road::ConfirmCalcSubsystems;
using road::Select;
using road::Shown;
} // namespace

TEST(EndToEnd, NewUserFromEmptyStartToResultWindowsAndExport)
{
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    if (GetTALVOApp().GetTemplateCount() == 0)
        GetTALVOApp().RegisterDocTemplates();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CMainFrame frame;
    frame.resize(1280, 800);
    frame.show();
    ASSERT_EQ(frame.GetDocument(), nullptr);

    // File > New: the question, the project's folder and name, the model from the sample files.
    road::NewProjectFromSample(frame, dir.path(), QStringLiteral("FirstCar"));
    ASSERT_NE(frame.GetDocument(), nullptr);
    CTALVODoc* doc = frame.GetDocument();
    CTALVOProject& container = doc->GetTALVOProject();
    ASSERT_NE(container.GetModelProject(), nullptr);

    // The hybrid model over the analytical one, as the input powers solve it.
    CModelProject* model = container.GetModelProject();
    ASSERT_NE(model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)),
              nullptr);

    // The sample's measured run-up comes in as a DAQ project of its own.
    std::string error;
    CDaqProject* daq = sample::AddMeasuredRunUp(*doc, &error);
    ASSERT_NE(daq, nullptr) << error;
    ASSERT_EQ(frame.TreeWindow()->GetTreeCount(), container.GetProjectCount());
    // A short stretch of the run-up keeps the calculations quick.
    daq->GetDAQConfig()->SetRpmLow(1000);
    daq->GetDAQConfig()->SetRpmHigh(1200);
    daq->GetDAQConfig()->SetRpmMargin(100);

    // Project > New analysis project: the DAQ project, the options sheet, then the input energies
    // and input powers of the offered subsystems (1033).
    const int before = container.GetProjectCount();
    {
        CScriptedDialogs dialogs;
        dialogs.PressOK().PressOK().PressOK();
        ASSERT_TRUE(Click(frame, CFrameCommands::ID_NEW_ANALYSIS_PROJECT));
    }
    ASSERT_EQ(container.GetProjectCount(), before + 1);
    auto* project = DynamicDowncast<CAnalysisProject>(container.GetProject(before));
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project->GetDaqProjectID(), daq->GetID());
    {
        CScriptedPrompts prompts;
        prompts.responder = [](const PromptRecord&) { return Reply(IDYES); };
        ConfirmCalcSubsystems();
        ASSERT_GE(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().stringId, 6170u) << Shown(prompts);
    }
    ASSERT_NE(project->GetInputPowerFolder(), nullptr);
    EXPECT_NE(project->GetInputPowerFolder()->FindRpmItem(sample::kExcited), nullptr);

    // Calculation > energy result from the input powers (1177).
    Select(frame, before, project);
    ASSERT_TRUE(Click(frame, CCalcCommands::ID_CALC_ENERGY_RESULT));
    {
        CScriptedPrompts prompts;
        ConfirmCalcSubsystems();
        ASSERT_GE(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().stringId, 6170u) << Shown(prompts);
    }
    CZuSubsystemTable excited;
    excited.Add(sample::kExcited);
    CMElement* result = project->FindEnergyResult(excited);
    ASSERT_NE(result, nullptr);

    // Calculation > sound pressure level of the cabin on that result (1057).
    Select(frame, before, result);
    {
        CScriptedDialogs dialogs;
        dialogs.Then(road::PickSubsystem(sample::kResponse));
        ASSERT_TRUE(Click(frame, CCalcCommands::ID_CALC_SPL));
    }
    CMElement* spl = result->FindOne(FormatString(IDS_SPL_NAME, (std::string(sample::kResponse) + "-").c_str()), 1, 1);
    ASSERT_NE(spl, nullptr);

    // The result windows from the project window: the input power over RPM, the measured spectra
    // it came from and the sound pressure level; opening one again brings its window forward and
    // makes no second one.
    QMdiArea* area = frame.MdiArea();
    const qsizetype windowsBefore = area->subWindowList().size();
    CMElement* power = project->GetInputPowerFolder()->FindRpmItem(sample::kExcited);
    ASSERT_NE(power, nullptr);
    Select(frame, before, power);
    ASSERT_TRUE(frame.OnCommand(ID_OPEN_SELECTION));
    ASSERT_EQ(area->subWindowList().size(), windowsBefore + 1);
    QMdiSubWindow* powerWindow = area->activeSubWindow();
    CMElement* measured = nullptr;
    std::function<void(CMElement*)> find = [&](CMElement* e) {
        for (int i = 0; i < e->GetChildCount() && !measured; ++i) {
            if (DynamicDowncast<CZuRpmFunc>(e->GetChild(i)))
                measured = e->GetChild(i);
            else
                find(e->GetChild(i));
        }
    };
    find(daq);
    ASSERT_NE(measured, nullptr);
    Select(frame, container.GetProjectIndex(daq), measured);
    ASSERT_TRUE(frame.OnCommand(ID_OPEN_SELECTION));
    EXPECT_EQ(area->subWindowList().size(), windowsBefore + 2);
    Select(frame, before, power);
    ASSERT_TRUE(frame.OnCommand(ID_OPEN_SELECTION));
    EXPECT_EQ(area->subWindowList().size(), windowsBefore + 2);
    EXPECT_EQ(area->activeSubWindow(), powerWindow);
    Select(frame, before, spl);
    ASSERT_TRUE(frame.OnCommand(ID_OPEN_SELECTION));
    EXPECT_EQ(area->subWindowList().size(), windowsBefore + 3);

    // File > Export input power to a workbook.
    const QString workbook = dir.filePath(QStringLiteral("input-power.xlsx"));
    Select(frame, before, project);
    {
        CScriptedDialogs dialogs;
        dialogs.Then([&workbook](CZuDialog& d) {
            auto& dlg = dynamic_cast<CDlgExportInputPower&>(d);
            for (int kind = 0; kind < 3; ++kind)
                if (dlg.KindButton(kind)->isEnabled()) {
                    dlg.KindButton(kind)->setChecked(true);
                    break;
                }
            dlg.PathEdit()->setText(workbook);
            return dlg.PressOK();
        });
        CScriptedPrompts prompts;
        prompts.responder = [](const PromptRecord&) { return Reply(IDOK); };
        ASSERT_TRUE(Click(frame, CResultCommands::ID_EXPORT_INPUT_POWER));
        EXPECT_EQ(dialogs.Records().size(), 1u);
    }
    EXPECT_TRUE(std::filesystem::exists(workbook.toStdString()));
    EXPECT_GT(std::filesystem::file_size(workbook.toStdString()), 0u);

    // The main window with its result windows side by side.
    area->tileSubWindows();
    QCoreApplication::processEvents();
    const QPixmap shot = frame.grab();
    EXPECT_TRUE(shot.save(dir.filePath(QStringLiteral("end-to-end.png"))));
    if (qEnvironmentVariableIsSet("ORVEX_KEEP_GRABS"))
        shot.save(qEnvironmentVariable("ORVEX_KEEP_GRABS") + QStringLiteral("/end-to-end.png"));
    for (QMdiSubWindow* sub : area->subWindowList())
        EXPECT_GT(sub->widget()->width(), 100);
    // The whole window, result windows and all, still fits a 1280x800 screen.
    EXPECT_LE(frame.minimumSizeHint().width(), 1280);
    EXPECT_LE(frame.width(), 1280);
}
