// The one call that wires the windows to the core sets every hook, and the element windows it
// wires stay wired when the templates are made again and reach whichever main window is open; the
// hardware's messages reach the user.
#include "acquisition/BaseDAQInterface.h"
#include "acquisition/DAQ.h"
#include "acquisition/ui/DlgDaqDbCheck.h"
#include "app/DaqProject.h"
#include "app/TALVOApp.h"
#include "app/ui/DlgInputPowerData.h"
#include "app/ui/FrameCommandHandler.h"
#include "app/ui/MainFrame.h"
#include "app/ui/TALVOStartup.h"
#include "experiments/ui/SensorDoc.h"
#include "planning/ui/DlgDAQPPExpPlan.h"
#include "planning/ui/DlgWizSensorConfig.h"
#include "platform/audio/WaveOut.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/PromptService.h"
#include "platform/win/WinTypes.h"
#include "uff/UFImportUI.h"
#include "wiring/WindowServices.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

namespace {
// The templates whose windows the program opens over elements of the tree.
constexpr uint32_t kElementTemplates[] = {IDR_SENSORTYPE,  IDR_3DMODEL, IDR_3DMODEL2,     IDR_TALDATA,
                                          IDR_SWAXISTABLE, IDR_RMVDATA, IDR_HSEADATATABLE};

CZuMultiDocTemplate* Template(uint32_t id)
{
    for (int i = 0; i < GetTALVOApp().GetTemplateCount(); ++i)
        if (GetTALVOApp().GetTemplate(i)->GetResourceId() == id)
            return GetTALVOApp().GetTemplate(i);
    return nullptr;
}
} // namespace

TEST(WindowServices, OneCallSetsEveryHook)
{
    InstallWindowServices();
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    // Made after the call, as at start-up, and made again: the element windows stay wired.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        GetTALVOApp().RegisterDocTemplates();
        for (uint32_t id : kElementTemplates) {
            SCOPED_TRACE(id);
            ASSERT_NE(Template(id), nullptr);
            EXPECT_TRUE(Template(id)->CanOpen());
        }
    }
    const struct
    {
        const char* hook;
        bool set;
    } hooks[] = {
        {"automation start", HasAutomationStartHook()},
        {"running object", HasRunningObjectHook()},
        {"measurement window", GetTALVOApp().HasDAQSystemViewOpener()},
        {"wizard's sensor step", CDlgWizSensorConfig::HasSensorCommand()},
        {"power function's subsystem", CDlgInputPowerData::HasSubsystemChooser()},
        {"second plan editor", CDlgDAQPPExpPlan::HasDerivedEditorOpener()},
        {"plan list", CDlgDAQPPExpPlan::HasPlanListNotifier()},
        {"universal-file import", GetUFImportUI() != nullptr},
        {"analysis from outside data", CFrameCommandHandler::HasExtAnalysisServices()},
        {"recalculation", CDaqProject::HasRecalculatorFactory()},
        {"RPM axis", CDaqProject::HasRpmOptionsEditor()},
        {"database mapping", CDlgDaqDbCheck::HasMappingEditor()},
        {"measurement files", CSensorDoc::HasMeasuredDataSaver()},
    };
    for (const auto& h : hooks)
        EXPECT_TRUE(h.set) << h.hook;
}

TEST(WindowServices, WindowsOpenInTheMainWindowThatIsOpen)
{
    InstallWindowServices();
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    GetTALVOApp().RegisterDocTemplates();
    CRecordingMessageTarget none;
    {
        // No main window (a start by automation): nothing opens.
        CMainWindowTargetScope scope(&none);
        EXPECT_EQ(GetTALVOApp().OpenDAQSystemView(0), nullptr);
    }
    for (int frameNumber = 0; frameNumber < 2; ++frameNumber) {
        SCOPED_TRACE(frameNumber);
        CMainFrame frame;
        IDAQSystemDocument* doc = GetTALVOApp().OpenDAQSystemView(0);
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(frame.MdiArea()->subWindowList().size(), 1);
    }
    EXPECT_EQ(GetMainWindowTarget(), nullptr);
    EXPECT_EQ(GetTALVOApp().OpenDAQSystemView(0), nullptr);
}

// What the acquisition hardware tells (here a noise device that cannot play) shows as a box over
// the main window, whether the program's interface was made before the windows were wired or
// after.
TEST(WindowServices, TheProgramsAcquisitionInterfaceShowsItsMessagesAsBoxes)
{
    const struct
    {
        const char* what;
        bool madeBefore;
    } cases[] = {{"made after the wiring", false}, {"made before the wiring", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CDAQ::Destroy();
        CDAQ::SetFeedback(nullptr);
        if (c.madeBefore) {
            ASSERT_NE(CDAQ::GetInterface(), nullptr);
        }
        InstallWindowServices();
        CScriptedPrompts prompts;
        prompts.Answer(IDOK);
        CWaveOut::SetMode(WaveOutMode::None);
        CBaseDAQInterface* daq = CDAQ::GetInterface();
        ASSERT_NE(daq, nullptr);
        EXPECT_FALSE(daq->SetNoiseType(1));
        CWaveOut::SetMode(WaveOutMode::Auto);
        ASSERT_EQ(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().text, "No Sound Output Device");
    }
    CDAQ::Destroy();
}
