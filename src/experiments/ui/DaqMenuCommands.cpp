// The acquisition and measured-data commands of the main frame: new DAQ projects, their
// settings, calculation options and engine rotation, the measurement by subsystem, the database
// check, the unit channel exchange and the sensor window.
#include "experiments/ui/DaqMenuCommands.h"

#include "app/CommandContext.h"
#include "app/CommandRegistry.h"
#include "app/DaqProject.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "acquisition/DAQ.h"
#include "acquisition/MultiQMXInterface.h"
#include "acquisition/ui/DlgDaqDataManagement.h"
#include "acquisition/ui/DlgQMXConnection.h"
#include "app/DAQExperiment.h"
#include "app/TALVOExp.h"
#include "experiments/ui/DaqProjectCommands.h"
#include "experiments/ui/DlgExpProperty.h"
#include "experiments/ui/ExpDataComparison.h"
#include "experiments/ui/UFDaqProjectCommands.h"
#include "experiments/SensorProject.h"
#include "platform/elements/MElement.h"
#include "platform/elements/MElementList.h"
#include "platform/win/CommandIds.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/WinTypes.h"

#include <QGuiApplication>

namespace {
using C = CFrameCommands;

const char* const kTextFilter = "Text Files(*.txt)|*.txt|All Files(*.*)|*.*||";
// Workbooks are written and read as .xlsx. The reader takes either kind, so the chooser first
// shows both.
const char* const kChannelFileFilter =
    "Channel Assignment Files (*.xlsx;*.txt)|*.xlsx;*.txt|Excel Files(*.xlsx)|*.xlsx|"
    "Text Files(*.txt)|*.txt|All Files(*.*)|*.*||";

bool DaqSelected(const CCommandState& s)
{
    return s.selection.Daq() != nullptr;
}

// The unit channel assignment: imported from a workbook or text file, or exported to a text file.
bool ExchangeBlixChannels(const CCommandState& s, bool exporting)
{
    CTALVODoc& doc = *s.Doc();
    CTALVOProject& container = doc.GetTALVOProject();
    FileChooserOptions options;
    options.filter = exporting ? kTextFilter : kChannelFileFilter;
    options.defaultExt = exporting ? "txt" : "xlsx";
    options.overwritePrompt = exporting;
    std::string path;
    if (!(exporting ? PromptSaveFile(options, path) : PromptOpenFile(options, path)))
        return true;
    CStatusBarFallback bar(nullptr);
    const int ok =
        exporting ? container.ExportBlixChannelFile(path, &*bar) : container.ImportBlixChannelFile(path, &*bar);
    if (ok && !exporting)
        doc.SetModifiedFlag(1);
    AfxMessageBox(ok ? IDS_FINISHED : IDS_OPERATION_FAILED, MB_OK | (ok ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
    return true;
}
constexpr int ID_DAQ_DATA_MANAGEMENT = CommandId::ID_DAQ_DATA_MANAGEMENT;
constexpr int ID_QMX_CONNECTION = CommandId::ID_QMX_CONNECTION;

bool OpenDataManagement(CMElement* experiment, QWidget* parent)
{
    CDlgDaqDataManagement* dialog = CDlgDaqDataManagement::CreateInstance(experiment, parent);
    if (!dialog) {
        CDlgDaqDataManagement* open = CDlgDaqDataManagement::GetInstance();
        if (!open)
            return false;
        open->showNormal();
        open->raise();
        open->activateWindow();
        return true;
    }
    dialog->SetPropertiesHandler([](CDAQExperiment* dataSet, int mode, QWidget* owner) {
        auto* daq =
            dataSet ? DynamicDowncast<CDaqProject>(dataSet->GetParent() ? dataSet->GetParent()->GetParent() : nullptr)
                    : nullptr;
        CDlgExpProperty* properties = CDlgExpProperty::CreateInstance(dataSet, owner);
        if (!properties)
            return;
        properties->SetMode(mode == 3 ? CDlgExpProperty::modeReadOnly : CDlgExpProperty::modeStored);
        properties->SetDAQProject(daq);
        CMElementList list;
        list.Add(dataSet);
        properties->SetExperiment(list);
        properties->Create();
    });
    dialog->Create();
    return true;
}
} // namespace

void RegisterDaqMenuCommands(CCommandRegistry& r)
{
    {
        CCommandEntry e = MenuEntry(C::ID_NEW_DAQ_PROJECT, "New &DAQ Project...", "Project", 1,
                                    [](const CCommandState& s) { return s.Doc() && C::CanAddDaqProject(*s.Doc()); });
        e.icon = "daq-new";
        e.shortcutItem = 6;
        e.run = [](ICommandContext& f, const CCommandState&) {
            f.Projects().NewDaqProject();
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e =
            MenuEntry(C::ID_DAQ_SETTINGS, "&Acquisition Settings...", "Project", 200, [](const CCommandState& s) {
                // Imported universal-file data were not measured with these settings.
                const CDaqProject* daq = s.selection.Daq();
                return daq && !daq->IsUFData();
            });
        e.run = [](ICommandContext& f, const CCommandState& s) {
            f.Projects().EditDaqSettings(*DynamicDowncast<CDaqProject>(s.selection.project));
            return true;
        };
        r.Add(e);
    }
    for (const auto& [id, text, pos] :
         {std::tuple{int(C::ID_DAQ_CALC_OPTIONS), "&Calculation Options...", 201},
          std::tuple{int(C::ID_DAQ_CALC_OPTIONS_RECALC), "Calculation Options and &Recalculation...", 202}}) {
        CCommandEntry e = MenuEntry(id, text, "Project", pos, DaqSelected);
        const bool recalc = id == C::ID_DAQ_CALC_OPTIONS_RECALC;
        e.run = [recalc](ICommandContext& f, const CCommandState& s) {
            f.Projects().RunDaqCalcOptions(*DynamicDowncast<CDaqProject>(s.selection.project), recalc);
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e = MenuEntry(C::ID_BLIX_CHANNEL_EXCHANGE, "Acquisition Unit C&hannels...", "Project", 203,
                                    [](const CCommandState& s) { return s.Doc() != nullptr; });
        // With Shift, Ctrl and Alt held the exchange exports, as it always did.
        e.run = [](ICommandContext&, const CCommandState& s) {
            const Qt::KeyboardModifiers all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
            return ExchangeBlixChannels(s, (QGuiApplication::queryKeyboardModifiers() & all) == all);
        };
        r.Add(e);
    }
    {
        CCommandEntry e = MenuEntry(C::ID_BLIX_CHANNEL_EXPORT, "E&xport Acquisition Unit Channels...", "Project", 204,
                                    [](const CCommandState& s) { return s.Doc() != nullptr; });
        e.run = [](ICommandContext&, const CCommandState& s) { return ExchangeBlixChannels(s, true); };
        r.Add(e);
    }
    {
        // The units of the acquisition interface, open also while units are connected.
        CCommandEntry e = MenuEntry(ID_QMX_CONNECTION, "Acquisition &Units...", "Project", 205,
                                    [](const CCommandState& s) { return s.Doc() != nullptr; });
        e.run = [](ICommandContext& f, const CCommandState& s) {
            CMultiQMXInterface* units = CDAQ::GetMultiInterface();
            if (!units)
                return false;
            CDlgQMXConnection dialog(units, f.ParentWidget());
            dialog.DoModal();
            CTALVOProject& container = s.Doc()->GetTALVOProject();
            if (units->GetUnitCount() > 0)
                container.SetSystemChannelCount(units->GetMaxChannels());
            units->MergeUnitInfo();
            return true;
        };
        r.Add(e);
    }
    {
        // The data sets of the one selected experiment; an open one is brought forward.
        CCommandEntry e = MenuEntry(ID_DAQ_DATA_MANAGEMENT, "Measured &Data Management...", "Project", 206,
                                    [](const CCommandState& s) {
                                        return s.Doc() && s.selection.elements.size() == 1 &&
                                               DynamicDowncast<CTALVOExp>(s.selection.elements.front());
                                    });
        e.contextMenus = kContextElement;
        e.run = [](ICommandContext& f, const CCommandState& s) {
            return OpenDataManagement(s.selection.First(), f.ParentWidget());
        };
        r.Add(e);
    }

    {
        // The local points of an experiment of universal-file data, from the menu and the tree.
        using U = CUFDaqProjectCommands;
        CCommandEntry e;
        e.id = U::ID_LOCAL_POINTS;
        e.text = "&Local Points...";
        e.menu = "Project";
        e.menuPos = 204;
        e.contextMenus = kContextElement;
        e.contextPos = 500;
        e.enabled = [](const CCommandState& s) { return U::CanEditLocalPoints(s.selection); };
        e.run = [](ICommandContext& f, const CCommandState& s) {
            return U::EditLocalPoints(s.selection, f.ParentWidget());
        };
        r.Add(e);
    }

    // The windows over the selected DAQ project.
    using Daq = CDaqProjectCommands;
    for (const auto& [id, text, pos, rule, action] :
         {std::tuple{Daq::ID_MEASURE_BY_SUBSYSTEM, "&Measurement by Subsystem...", 102, &Daq::IsMeasuredHere,
                     &Daq::MeasureBySubsystem},
          std::tuple{Daq::ID_ENGINE_ROTATION, "&Engine Rotation Setup...", 103, &Daq::IsMeasuredHere,
                     &Daq::ShowEngineRotation},
          std::tuple{Daq::ID_DATABASE_CHECK, "Experimental &Database Check...", 104, &Daq::IsDaqProject,
                     &Daq::CheckDatabase}}) {
        CCommandEntry e;
        e.id = id;
        e.text = text;
        e.menu = "View";
        e.menuPos = pos;
        const auto applies = rule;
        const auto open = action;
        e.enabled = [applies](const CCommandState& s) { return s.Doc() && applies(s.selection.project); };
        e.run = [open](ICommandContext& f, const CCommandState& s) {
            return open(s.selection.project, f.ParentWidget());
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = CommandId::ID_SENSOR_VIEW;
        e.text = "&Sensors...";
        e.icon = "sensor";
        e.menu = "View";
        e.menuPos = 100;
        e.enabled = [](const CCommandState& s) {
            return s.Doc() && s.Doc()->GetTALVOProject().GetSensorProject() != nullptr;
        };
        e.run = [](ICommandContext&, const CCommandState& s) {
            GetTALVOApp().OpenSensorView(s.Doc()->GetTALVOProject().GetSensorProject());
            return true;
        };
        r.Add(e);
    }

    // The comparisons of an experiment's measured data, from the experiment in the tree.
    using Road = CExpDataComparison;
    for (const auto& [id, text, pos] :
         {std::tuple{int(Road::ID_COMPARE_EXP_DATA), "Compare &Experiment Data...", 120},
          std::tuple{int(Road::ID_COMPARE_EXP_LP_DATA), "Compare &Local Point Data...", 121}}) {
        CCommandEntry e;
        e.id = id;
        e.text = text;
        e.menu = "View";
        e.menuPos = pos;
        e.contextMenus = kContextElement;
        e.contextPos = pos;
        const bool points = id == Road::ID_COMPARE_EXP_LP_DATA;
        e.enabled = [points](const CCommandState& s) {
            return points ? Road::CanCompareExpLPData(s.selection) : Road::CanCompareExpData(s.selection);
        };
        e.run = [points](ICommandContext& f, const CCommandState& s) {
            return points ? Road::CompareExpLPData(s.selection, f.ParentWidget(), f.ParentWidget())
                          : Road::CompareExpData(s.selection, f.ParentWidget(), f.ParentWidget());
        };
        r.Add(e);
    }
}
