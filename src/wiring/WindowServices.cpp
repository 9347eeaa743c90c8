#include "wiring/WindowServices.h"

#include "acquisition/DAQ.h"
#include "app/CommandRegistry.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVOApp.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "app/automation/AutomationHost.h"
#include "app/automation/AutomationService.h"
#include "app/ui/AppCommands.h"
#include "app/ui/DlgInputPowerData.h"
#include "app/ui/FrameCommandHandler.h"
#include "app/ui/MainFrame.h"
#include "app/ui/MainFrameAutomationHost.h"
#include "app/ui/MeasuredDataServices.h"
#include "app/ui/ModelInformationDlg.h"
#include "app/ui/ProjectFileCommands.h"
#include "app/ui/StartupWarmUp.h"
#include "experiments/ui/DaqMenuCommands.h"
#include "experiments/ui/DlgExpProperty.h"
#include "app/ui/TALVOStartup.h"
#include "planning/ui/DlgDAQPPExpPlan.h"
#include "planning/ui/DlgDAQPPExpPlanEdit.h"
#include "planning/ui/DlgDAQPPExpPlanList.h"
#include "planning/ui/DlgWizSensorConfig.h"
#include "planning/ui/PlanningMenuCommands.h"
#include "platform/ui/ApplicationIcon.h"
#include "platform/ui/ProgramStyle.h"
#include "platform/ui/QtPromptService.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StatusBarFeedback.h"
#include "uff/ui/MkExtAnaProject.h"
#include "uff/ui/UFImportDialogs.h"
#include "views/ui/CalcMenuCommands.h"
#include "views/ui/DataViewOpeners.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "acquisition/ui/DlgSelectViewData.h"

#include <QCoreApplication>

#include <clocale>

#include <memory>

namespace {
CMainFrame* MainFrame()
{
    return dynamic_cast<CMainFrame*>(GetMainWindowTarget());
}

// The application object holds the automation server with the host it works through (the host
// outlives the server); releasing it withdraws the server's name from the bus.
CAutomationService* HoldAutomationObject(std::unique_ptr<IAutomationHost> host, bool windowless)
{
    struct AutomationObject
    {
        std::unique_ptr<IAutomationHost> host;
        std::unique_ptr<CAutomationService> service; // goes first
    };
    auto object = std::make_shared<AutomationObject>();
    object->host = std::move(host);
    object->service = std::make_unique<CAutomationService>(*object->host, windowless);
    CAutomationService* service = object->service.get();
    GetTALVOApp().HoldAutomationObject(object,
                                       [service] { service->RevokeAppActiveObject(&*CStatusBarFallback(nullptr)); });
    return service;
}

void InstallAutomation()
{
    // A start by automation serves its clients without a window.
    SetAutomationStartHook([] {
        CAutomationService* service = HoldAutomationObject(std::make_unique<CWindowlessAutomationHost>(), true);
        service->SetQuitHandler([] { QCoreApplication::quit(); });
        // Without the name no client can reach this instance: it ends.
        return service->RegisterAppActiveObject();
    });
    // A plain start publishes its object over the main window; a second running instance leaves
    // the name to the first one.
    SetRunningObjectHook([](CMainFrame& frame) {
        HoldAutomationObject(std::make_unique<CMainFrameAutomationHost>(frame), false)->RegisterAppActiveObject();
    });
}

// The element windows open in the main window's client area.
void InstallElementWindows()
{
    CTALVOApp& app = GetTALVOApp();
    app.SetTemplateWindows(IDR_SENSORTYPE, [](CMElement* element) {
        CMainFrame* frame = MainFrame();
        return frame && frame->OpenSensorWindow(element);
    });
    // One model window per model kind.
    for (uint32_t id : {IDR_3DMODEL, IDR_3DMODEL2})
        app.SetTemplateWindows(id, [](CMElement* element) {
            CMainFrame* frame = MainFrame();
            return frame && frame->OpenModelWindow(element);
        });
    InstallDataViewOpeners(
        [] {
            CMainFrame* frame = MainFrame();
            return frame ? frame->MdiArea() : nullptr;
        },
        true);
    // Measurement windows; with the check, not while another holds data that are not saved.
    app.SetDAQSystemViewOpener([](int checkUnsaved) -> IDAQSystemDocument* {
        CMainFrame* frame = MainFrame();
        return frame ? frame->OpenDAQSystemView(checkUnsaved) : nullptr;
    });
    // The planning wizard's sensor step works in the sensor window.
    CDlgWizSensorConfig::SetSensorCommand([](int command) {
        CMainFrame* frame = MainFrame();
        return frame && frame->RunSensorCommand(command);
    });
}

void InstallDialogs()
{
    // The subsystem of a new power function: any subsystem of the model, chosen without wave type.
    CDlgInputPowerData::SetSubsystemChooser([](CModelProject& model, std::string& name) {
        CDlgSelectSubsystem picker(&model);
        picker.SetSubsystemKind(CDlgSelectSubsystem::kAll);
        picker.EnableWaveType(false);
        // Without the wave-type choice the picker answers the plain name.
        if (picker.DoModal() != IDOK || picker.m_strName.empty())
            return false;
        name = picker.m_strName;
        return true;
    });
    // An experiment's map opens for one of its two subsystems, picked with its wave type.
    GetTALVOApp().SetExpSubsystemChooser([](CTALVOExp& experiment, std::string& name) {
        auto* daq = DynamicDowncast<CDaqProject>(experiment.GetParent());
        CTALVOProject* container = daq ? daq->GetOwner() : nullptr;
        CDlgSelectSubsystem picker(container ? container->GetModelProject() : nullptr, MainFrame());
        CZuSubsystemTable pair;
        pair.AddUnique(experiment.GetFirstSubsystem());
        pair.AddUnique(experiment.GetSecondSubsystem());
        picker.SetSubsystemTable(pair, 0);
        picker.EnableWaveType(true);
        picker.m_strName = name;
        if (picker.DoModal() != IDOK || picker.m_strName.empty())
            return false;
        name = picker.m_strName;
        return true;
    });
    // The view-data picker shows a data set's properties in the experiment property dialog;
    // outside data are only shown.
    CDlgSelectViewData::SetPropertiesOpener([](CMElement* element, QWidget* parent) {
        auto* dataSet = DynamicDowncast<CDAQExperiment>(element);
        if (!dataSet)
            return;
        CMElement* experiment = dataSet->GetParent();
        auto* daq = experiment ? DynamicDowncast<CDaqProject>(experiment->GetParent()) : nullptr;
        CDlgExpProperty::CModal dialog(parent);
        dialog.SetMode(daq && daq->IsUFData() == 1 ? CDlgExpProperty::modeReadOnly : CDlgExpProperty::modeStored);
        dialog.SetDAQProject(daq);
        CMElementList list;
        list.Add(dataSet);
        dialog.SetExperiment(list);
        dialog.DoModal();
    });
    // The vehicle model file of a new model is asked for in the model-information dialog.
    // Model data files and the files order results are dumped to are chosen with file choosers.
    CTALVOProject::SetModelDataFileAsker(&CProjectFileCommands::ChooseModelDataFile);
    GetTALVOApp().SetDumpFileChooser(&CProjectFileCommands::ChooseDumpFile);
    CModelProject::SetModelFileAsker([](CASEAModelData* existing, const std::string& start, std::string& path) {
        CModelInformationDlg dialog(existing, MainFrame());
        dialog.m_path = start;
        if (dialog.DoModal() != IDOK)
            return false;
        path = dialog.m_path;
        return true;
    });
    // The channel-plan editor hands channels to the second editor, and plans it stores show at
    // once in the open plan list.
    CDlgDAQPPExpPlan::SetDerivedEditorOpener([](CExtUFDaqProject* project, QWidget* owner) -> CDlgDAQPPExpPlan* {
        return CDlgDAQPPExpPlanEdit::ShowInstance(project, owner);
    });
    CDlgDAQPPExpPlan::SetPlanListNotifier([](CDlgDAQPPExpPlan::PlanListNotice notice) {
        if (CDlgDAQPPExpPlanList* list = CDlgDAQPPExpPlanList::GetInstance())
            if (notice == CDlgDAQPPExpPlan::planListChanged)
                list->Refill();
    });
    // The universal-file import asks its questions with the program's dialogs, and a new analysis
    // project without a DAQ project is built from outside data, its second half on a builder of
    // its own once the subsystems were chosen.
    InstallUFImportDialogs();
    CFrameCommandHandler::SetExtAnalysisBuilder([](CTALVODoc& doc, QWidget* parent) -> CAnalysisProject* {
        CMkExtAnaProject builder(doc, nullptr, parent);
        // The chosen subsystems go back to the frame's project commands, which check that the
        // project is still one of the open document's.
        const auto configure = [](const CZuSubsystemTable& selection, CAnalysisProject* project) {
            if (CMainFrame* frame = MainFrame())
                frame->Commands()->ConfigureExtAnalysis(&selection, project);
        };
        return builder.CreateProject(configure) ? builder.GetProject() : nullptr;
    });
    CFrameCommandHandler::SetExtAnalysisConfigurer(
        [](CTALVODoc& doc, CAnalysisProject& project, const CZuSubsystemTable& selection, QWidget* parent) {
            CMkExtAnaProject builder(doc, &project, parent);
            return builder.Configure(selection);
        });
}
} // namespace

void InstallWindowServices()
{
    // The main frame's commands, each registered by the window library that holds its dialogs.
    CCommandRegistry::FillFrame({RegisterAppCommands, RegisterCalcMenuCommands, RegisterDaqMenuCommands,
                                 RegisterPlanningMenuCommands,
                                 // Last: the aliases copy the text of what they send.
                                 RegisterAliasCommands});
    InstallAutomation();
    InstallElementWindows();
    InstallDialogs();
    // Measured data: recalculation, the database check's mapping, the RPM axis, the sensor
    // catalogue's measurement files.
    InstallMeasuredDataServices();
    // What the acquisition hardware reports (a channel not available, a unit that does not match
    // its inventory, a noise device that cannot play) shows as boxes over the main window. The
    // feedback lives as long as the program: the interface it is given to is deleted only at exit.
    static CStatusBarFeedback* const hardwareMessages = new CStatusBarFeedback;
    CDAQ::SetFeedback(hardwareMessages);
}

void SetUpProgram(CStartupWarmUp& warmUp)
{
    warmUp.ApplicationMade();
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationName(QStringLiteral("orvex"));
    // Before any window: none may show the toolkit's logo.
    CApplicationIcon::Install();
    CProgramStyle::Install();
    // Qt sets the user's locale; our texts and files format numbers the one way.
    std::setlocale(LC_NUMERIC, "C");
    // Dialogs, windows and the automation server, over the main window in a plain start and
    // without a window when the program is started by automation.
    InstallWindowServices();
    // Questions, file choosers, the clipboard and the wait cursor of the desktop, for as long as the
    // application object lives. Tests leave them out and answer through the core's own services.
    InstallQtPlatformServices();
    QObject::connect(QCoreApplication::instance(), &QObject::destroyed, [] { RemoveQtPlatformServices(); });
}
