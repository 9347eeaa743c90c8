// The calculation and result commands of the main frame: input energies and powers, the result
// calculations with their subsystem pickers, the comparisons, the input-power data and export,
// and the result viewers.
#include "views/ui/CalcMenuCommands.h"

#include "app/AnalysisProject.h"
#include "app/CalcCommands.h"
#include "app/CommandContext.h"
#include "app/CommandRegistry.h"
#include "app/ResultCommands.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "calculation/ui/DlgSelectCalcSubsystem.h"
#include "models/HSEAResultData.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "uff/InputPowerMultiVecFunc.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "views/ui/ResultCommandsUi.h"
#include "views/ui/ResultSetCommands.h"
#include "views/ui/ResultViewerCommands.h"

namespace {
using Calc = CCalcCommands;
using Res = CResultCommands;
using View = CResultViewerCommands;

CAnalysisProject* SelectedAnalysis(const CCommandState& s)
{
    return s.Doc() ? DynamicDowncast<CAnalysisProject>(s.selection.project) : nullptr;
}

// The modeless subsystem selection of the input-power (1033), energy-result (1177) and SPL by
// single input powers (1181, 1182) commands; its answer comes back to the frame as a message.
bool OpenCalcSubsystemSelection(ICommandContext& frame, const CCommandState& s, const Calc::SubsystemSelection& choice)
{
    CAnalysisProject* project = SelectedAnalysis(s);
    if (!project)
        return true;
    // The model window first, so that the user sees the subsystems being chosen from.
    frame.Projects().OpenModelView();
    CZuSubsystemTable offered;
    if (!choice.offer(*project, offered))
        return true;
    CDlgSelectCalcSubsystem* dialog = CDlgSelectCalcSubsystem::CreateInstance(frame.ParentWidget());
    if (!dialog)
        return true; // one is open already
    dialog->setWindowTitle(QString::fromStdString(LoadString(choice.captionId)));
    // The dialog lives no longer than the frame it belongs to.
    ICommandContext* context = &frame;
    const uint32_t message = choice.notifyMessage;
    dialog->SetAnswer([context, message, project](const CZuSubsystemTable& ticked) {
        AnswerCalcSubsystems(*context, message, &ticked, project);
    });
    for (int i = 0; i < offered.GetCount(); ++i)
        dialog->AddSubsystem(offered[i], 1);
    dialog->Create();
    return true;
}

// The hybrid model's own result (a solve of the model project) selected first.
CHSEAResultData* SelectedHseaResult(const CCommandState& s)
{
    return s.Doc() ? dynamic_cast<CHSEAResultData*>(s.selection.First()) : nullptr;
}

// A command on the hybrid model's result: the project window's picker asks for the subsystems
// and makes the function below the result.
bool SendToTreePicker(ICommandContext& frame, int id, CHSEAResultData* result)
{
    const CFrameCommands::PickerCommand* picker = CFrameCommands::FindPickerCommand(id);
    if (!picker || !result)
        return false;
    frame.SendToProjectTree(picker->pair ? WM_ZU_SUBSYSTEM_PAIR_PICKED : WM_ZU_SUBSYSTEM_PICKED,
                            static_cast<uintptr_t>(id), reinterpret_cast<intptr_t>(result));
    return true;
}

// A result command on the first selected element: on a result set of an analysis project the
// target from the model's subsystem picker, then the driver under a wait cursor; on the hybrid
// model's result the project window's picker.
bool RunResultCommand(ICommandContext& frame, const CCommandState& s, int id, const Calc::ResultCommand& command)
{
    if (CHSEAResultData* hsea = SelectedHseaResult(s))
        return SendToTreePicker(frame, id, hsea);
    CAnalysisProject* project = SelectedAnalysis(s);
    CMElement* result = s.selection.First();
    if (!project || !result)
        return true;
    CTALVOProject& container = s.Doc()->GetTALVOProject();
    CDlgSelectSubsystem picker(container.GetModelProject(), frame.ParentWidget());
    picker.SetSubsystemKind(command.subsystemKind);
    picker.EnableWaveType(command.waveType);
    picker.SetCaption(result->GetName());
    picker.m_strName = container.GetTargetSubsystem();
    if (picker.DoModal() != IDOK)
        return true;
    command.run(*project, result, picker.m_strName, &*CStatusBarFallback(nullptr));
    return true;
}

bool IsOpenProject(const CTALVODoc* doc, const CAnalysisProject* project)
{
    if (!doc || !project)
        return false;
    const CTALVOProject& container = doc->GetTALVOProject();
    for (int i = 0; i < container.GetProjectCount(); ++i)
        if (container.GetProject(i) == project)
            return true;
    return false;
}

CCommandEntry CalcEntry(int id, const char* text, const char* icon, int pos)
{
    CCommandEntry e;
    e.id = id;
    e.text = text;
    e.icon = icon;
    e.menu = "Calculation";
    e.menuPos = pos;
    return e;
}
} // namespace

intptr_t AnswerCalcSubsystems(ICommandContext& context, uint32_t message, const CZuSubsystemTable* ticked,
                              CAnalysisProject* project)
{
    // The project travels with the dialog's answer; it may have gone with its document since.
    CTALVODoc* doc = context.GetDocument();
    const bool open = IsOpenProject(doc, project);
    switch (message) {
    case WM_ZU_SPL_BY_SINGLE_IP:
    case WM_ZU_SPL_BY_SINGLE_IP_COMP:
        if (!open)
            return -1;
        // By RPM the comparison windows show the table; by order it is written as a report.
        if (project->GetProjectType() == CAnalysisProject::typeRpm)
            return View::OnSplBySingleIP(
                message, ticked, project, context.ParentWidget(),
                [](CAnalysisProject& analysis, const std::string& target, const CZuSubsystemTable& inputs) {
                    // A source without input power is passed over only when the user agrees.
                    return MakeInputPowerMultiVecFunc(
                        analysis, target, inputs, &*CStatusBarFallback(nullptr), [](const std::string& source) {
                            return AfxFormatMessageBox(IDS_NO_POSITIVE_INPUT_POWER, MB_OKCANCEL | MB_ICONQUESTION,
                                                       source.c_str()) != IDCANCEL;
                        });
                });
        return CResultCommandsUi::OnSPLBySingleInput(message, ticked, project, *doc, context.ParentWidget());
    case WM_ZU_CALC_INPUT_ENERGY:
    case WM_ZU_CALC_INPUT_POWER:
        if (!ticked || !open)
            return 0;
        return message == WM_ZU_CALC_INPUT_ENERGY
                   ? Calc::OnCalcInputEnergy(*ticked, project, CResultSetCommands::AskRevisePowers(),
                                             &*CStatusBarFallback(nullptr))
                   : Calc::OnCalcEnergyResult(*ticked, project, &*CStatusBarFallback(nullptr));
    default:
        return 0;
    }
}

void RegisterCalcMenuCommands(CCommandRegistry& r)
{
    r.AddMenu({"Calculation", 8, "&Calculation", 30, "CalculationMenu"});

    // Through the modeless calculation-subsystem selection.
    for (const auto& [id, text, icon, pos, selection] :
         {std::tuple{int(Calc::ID_CALC_INPUT_POWER), "&Input Powers...", "input-power", 0, &Calc::kInputPowerSelection},
          std::tuple{int(Calc::ID_CALC_ENERGY_RESULT), "&Energy Result...", "energy", 1, &Calc::kEnergyResultSelection},
          std::tuple{int(Calc::ID_SPL_BY_SINGLE_IP), "SPL by &Single Input Powers...", "power", 6,
                     &Calc::kSplBySingleIPSelection},
          std::tuple{int(Calc::ID_SPL_BY_SINGLE_IP_COMP), "SPL by Single Input Powers (&Structure/Acoustic)...",
                     "power", 7, &Calc::kSplBySingleIPCompSelection}}) {
        CCommandEntry e = CalcEntry(id, text, icon, pos);
        const Calc::SubsystemSelection* choice = selection;
        e.enabled = [choice](const CCommandState& s) { return s.Doc() && choice->applies(SelectedAnalysis(s)); };
        e.run = [choice](ICommandContext& f, const CCommandState& s) {
            return OpenCalcSubsystemSelection(f, s, *choice);
        };
        r.Add(e);
    }
    // On a result set: a sub-menu of the project's result sets in the menu, the plain command on
    // the result set's context menu.
    for (const auto& [id, text, icon, pos, contextPos, driver] :
         {std::tuple{int(Calc::ID_CALC_VIBRATION_LEVEL), "&Vibration Level...", "vibration", 2, 0,
                     &Calc::kVibrationLevel},
          std::tuple{int(Calc::ID_CALC_SPL), "Sound &Pressure Level...", "spl", 3, 1, &Calc::kSpl},
          std::tuple{int(Calc::ID_SEARCH_DOMINANT_PATH), "&Dominant Paths...", "path", 4, 2, &Calc::kDominantPaths},
          std::tuple{int(Calc::ID_CALC_POWER_CONTRIBUTION), "Power &Contributions...", "contribution", 5, 3,
                     &Calc::kPowerContributions}}) {
        CCommandEntry e = CalcEntry(id, text, icon, pos);
        e.resultPopup = true;
        e.contextMenus = kContextResultSet;
        e.contextPos = contextPos;
        const int command = id;
        const Calc::ResultCommand* calc = driver;
        e.enabled = [](const CCommandState& s) {
            return s.Doc() &&
                   (SelectedHseaResult(s) || Calc::AppliesToResultSet(SelectedAnalysis(s), s.selection.First()));
        };
        e.run = [command, calc](ICommandContext& f, const CCommandState& s) {
            return RunResultCommand(f, s, command, *calc);
        };
        r.Add(e);
    }
    // The hybrid model's result only: one subsystem's energy, and the ratio of two subsystems'.
    for (const auto& [id, text, pos, contextPos] :
         {std::tuple{int(Calc::ID_CALC_SUBSYSTEM_ENERGY), "Subsystem &Energy...", 8, 4},
          std::tuple{int(Calc::ID_CALC_ENERGY_RATIO), "Energy &Ratio...", 9, 5}}) {
        CCommandEntry e;
        e.id = id;
        e.text = text;
        e.icon = "energy";
        e.menu = "Calculation";
        e.menuPos = pos;
        e.resultPopup = true;
        e.contextMenus = kContextResultSet;
        e.contextPos = contextPos;
        e.enabled = [](const CCommandState& s) { return SelectedHseaResult(s) != nullptr; };
        const int command = id;
        e.run = [command](ICommandContext& f, const CCommandState& s) {
            return SendToTreePicker(f, command, SelectedHseaResult(s));
        };
        r.Add(e);
    }

    // The comparisons and the input-power data.
    const auto resultRule = [](bool (*applies)(const CMElement* project, const CMElement* first)) {
        return
            [applies](const CCommandState& s) { return s.Doc() && applies(s.selection.project, s.selection.First()); };
    };
    {
        CCommandEntry e;
        e.id = Res::ID_COMPARE_WITH_RESULT;
        e.text = "Compare with Another &Result...";
        e.menu = "Calculation";
        e.menuPos = 100;
        e.contextMenus = kContextResultSet;
        e.contextPos = 100;
        e.enabled = resultRule(&Res::CanCompareWithResult);
        e.run = [](ICommandContext& f, const CCommandState& s) {
            ICommandContext* context = &f;
            CResultCommandsUi::OpenResultSelection(SelectedAnalysis(s), s.selection.First(), f.ProjectTree(),
                                                   f.ParentWidget(), [context] { return context->GetDocument(); });
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = Res::ID_COMPARE_WITH_MEASURED;
        e.text = "Compare with &Measured Data";
        e.menu = "Calculation";
        e.menuPos = 101;
        e.contextMenus = kContextResultSet;
        e.contextPos = 101;
        e.enabled = resultRule(&Res::CanCompareWithMeasured);
        e.run = [](ICommandContext&, const CCommandState& s) {
            if (CAnalysisProject* project = SelectedAnalysis(s))
                CResultCommandsUi::CompareWithMeasured(*project, s.selection.First());
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = Res::ID_INPUT_POWER_DATA;
        e.text = "Input Power &Data...";
        e.icon = "input-power";
        e.menu = "Calculation";
        e.menuPos = 102;
        e.contextMenus = kContextResultSet;
        e.contextPos = 102;
        e.enabled = resultRule(&Res::CanOpenInputPowerData);
        e.run = [](ICommandContext& f, const CCommandState& s) {
            f.SendToProjectTree(WM_ZU_INPUT_POWER_DATA, static_cast<uintptr_t>(Res::ID_INPUT_POWER_DATA),
                                reinterpret_cast<intptr_t>(s.selection.project));
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = Res::ID_EXPORT_INPUT_POWER;
        e.text = "Export Input P&owers...";
        e.menu = "File";
        e.menuPos = 402;
        e.enabled = resultRule(&Res::CanExportInputPower);
        e.run = [](ICommandContext& f, const CCommandState& s) {
            CResultCommandsUi::ExportInputPower(SelectedAnalysis(s), f.ParentWidget());
            return true;
        };
        r.Add(e);
    }

    // The result viewers.
    for (const auto& [id, text, pos, rule, action] :
         {std::tuple{int(View::ID_VIEW_POWER_CONTRIBUTION), "Power Contribution &Viewer...", 103,
                     &View::CanViewPowerContribution, &View::ViewPowerContribution},
          std::tuple{int(View::ID_COMPARE_TARGET_ENERGY), "&Target Energy Comparison...", 104,
                     &View::CanCompareTargetEnergy, &View::CompareTargetEnergy}}) {
        CCommandEntry e;
        e.id = id;
        e.text = text;
        e.menu = "Calculation";
        e.menuPos = pos;
        e.contextMenus = kContextResultSet;
        e.contextPos = pos;
        const auto applies = rule;
        const auto open = action;
        e.enabled = [applies](const CCommandState& s) {
            return s.Doc() && applies(s.selection.project, s.selection.First());
        };
        e.run = [open](ICommandContext& f, const CCommandState& s) {
            open(s.selection.project, s.selection.First(), f.ParentWidget());
            return true;
        };
        r.Add(e);
    }

    // What the selected result set was calculated from, and the choice of what to calculate on it.
    using Road = CResultSetCommands;
    {
        CCommandEntry e;
        e.id = Road::ID_INPUT_POWER_SOURCES;
        e.text = "Input Power &Sources...";
        e.menu = "Calculation";
        e.menuPos = 105;
        e.contextMenus = kContextResultSet;
        e.contextPos = 105;
        e.enabled = [](const CCommandState& s) { return Road::CanShowInputPowerSources(s.selection); };
        e.run = [](ICommandContext& f, const CCommandState& s) {
            return Road::ShowInputPowerSources(s.selection, f.ParentWidget());
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = Road::ID_SELECT_RESULT_TYPE;
        e.text = "Calculate on &Result...";
        e.menu = "Calculation";
        e.menuPos = 8;
        e.contextMenus = kContextResultSet;
        e.contextPos = 4;
        e.enabled = [](const CCommandState& s) { return Road::CanSelectResultType(s.selection); };
        e.run = [](ICommandContext& f, const CCommandState&) {
            // The kinds are offered as the frame enables their commands now; the chosen one runs
            // as if its menu item was clicked.
            return Road::SelectResultType([&f](int id) { return f.IsCommandEnabled(id); },
                                          [&f](int id) { f.OnCommand(id); }, f.ParentWidget());
        };
        r.Add(e);
    }
}
