#include "app/CalcCommands.h"

#include "app/AnalysisProject.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "calculation/InputPowerFolder.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/WaitCursor.h"
#include "platform/win/ZuRegOptions.h"
#include "spectral/ZuOTDpFunc.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuOTPcFunc.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmDpFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "spectral/ZuRpmPcFunc.h"
#include "spectral/ZuRpmResultData.h"

namespace {

bool ResultFitsProject(const CAnalysisProject& project, const CMElement* result)
{
    if (project.GetProjectType() == CAnalysisProject::typeRpm)
        return DynamicDowncast<CZuRpmResultData>(const_cast<CMElement*>(result)) != nullptr;
    if (project.GetProjectType() == CAnalysisProject::typeOrder)
        return DynamicDowncast<CZuOTResultData>(const_cast<CMElement*>(result)) != nullptr;
    return false;
}

int InputFunctionCount(const CAnalysisProject& project)
{
    CZuSubsystemTable table;
    return project.GetInputPowerSubsystems(table);
}
} // namespace

bool CCalcCommands::IsEnabled(int id, const CAnalysisProject* project, const CMElement* first)
{
    if (!project)
        return false;
    switch (id) {
    case ID_CALC_INPUT_POWER:
        // Once input powers are held, the energy result is the next step.
        return InputFunctionCount(*project) == 0;
    case ID_CALC_ENERGY_RESULT:
        return InputFunctionCount(*project) > 0;
    case ID_SPL_BY_SINGLE_IP:
    case ID_SPL_BY_SINGLE_IP_COMP:
        return GetRegOptionByStringId(id == ID_SPL_BY_SINGLE_IP ? IDS_OPT_SPL_BY_SINGLE_IP
                                                                : IDS_OPT_SPL_BY_SINGLE_IP_COMP) != 0 &&
               InputFunctionCount(*project) > 0;
    case ID_CALC_VIBRATION_LEVEL:
    case ID_CALC_SPL:
    case ID_SEARCH_DOMINANT_PATH:
    case ID_CALC_POWER_CONTRIBUTION:
        return kResultPickerBuilt && ResultFitsProject(*project, first);
    default:
        return false;
    }
}

int CCalcCommands::GetOfferedSubsystems(int id, const CAnalysisProject& project, CZuSubsystemTable& table)
{
    table.Clear();
    if (id == ID_CALC_ENERGY_RESULT || id == ID_SPL_BY_SINGLE_IP || id == ID_SPL_BY_SINGLE_IP_COMP)
        return project.GetInputPowerSubsystems(table);
    if (id != ID_CALC_INPUT_POWER)
        return 0;
    if (project.GetInputEnergySubsystems(table) > 0)
        return table.GetCount();
    CDaqProject* daq = project.GetDaqProject();
    if (!daq)
        return 0;
    CMElementList used;
    daq->GetUsedDAQExperiments(used);
    auto add = [&table](const std::string& name) {
        if (!name.empty() && table.GetIndex(name) < 0)
            table.Add(name);
    };
    for (CMElement* e : used)
        if (auto* set = ElementCast<CDAQExperiment>(e))
            add(set->GetFirstInfoName());
    if (project.GetCalcIEOptions().GetUseSymmetric()) {
        const int measured = table.GetCount();
        for (int i = 0; i < measured; ++i) {
            std::string mirror;
            if (CGfxUtil::GetSymmetricSubsystem(table[i], &mirror))
                add(mirror);
        }
    }
    return table.GetCount();
}

int CCalcCommands::GetSubsystemKind(int id)
{
    switch (id) {
    case ID_CALC_VIBRATION_LEVEL:
        return 5;
    case ID_CALC_SPL:
        return 8;
    case ID_SEARCH_DOMINANT_PATH:
    case ID_CALC_POWER_CONTRIBUTION:
        return 9;
    default:
        return 0;
    }
}

bool CCalcCommands::IsWaveTypeEnabled(int id)
{
    return id == ID_CALC_VIBRATION_LEVEL || id == ID_SEARCH_DOMINANT_PATH || id == ID_CALC_POWER_CONTRIBUTION;
}

unsigned CCalcCommands::GetCaptionId(int id)
{
    switch (id) {
    case ID_CALC_INPUT_POWER:
        return IDS_INPUT_ENERGY_CAPTION;
    case ID_CALC_ENERGY_RESULT:
        return IDS_INPUT_POWER_CAPTION;
    case ID_SPL_BY_SINGLE_IP:
    case ID_SPL_BY_SINGLE_IP_COMP:
        return IDS_SPL_BY_INPUT_CAPTION;
    default:
        return 0;
    }
}

unsigned CCalcCommands::GetNotifyMessage(int id)
{
    switch (id) {
    case ID_CALC_INPUT_POWER:
        return WM_ZU_CALC_INPUT_ENERGY;
    case ID_CALC_ENERGY_RESULT:
        return WM_ZU_CALC_INPUT_POWER;
    case ID_SPL_BY_SINGLE_IP:
        return WM_ZU_SPL_BY_SINGLE_IP;
    case ID_SPL_BY_SINGLE_IP_COMP:
        return WM_ZU_SPL_BY_SINGLE_IP_COMP;
    default:
        return 0;
    }
}

namespace {
// The end of a calculation command: "finished", or "failed" with the reason below it. Both were
// always shown with the information icon, and stay so.
void ReportCalculationEnd(bool ok, const CAnalysisProject& project, CFeedback* feedback)
{
    if (ok)
        feedback->Information(MessageTextOf(IDS_CALCULATION_FINISHED), IDS_CALCULATION_FINISHED);
    else
        feedback->Information(MessageWithReason(IDS_CALCULATION_FAILED, project.GetFailureReason()),
                                                  IDS_CALCULATION_FAILED);
}
} // namespace

int CCalcCommands::OnCalcInputEnergy(const CZuSubsystemTable& table, CAnalysisProject* project, int revise,
                                     CFeedback* feedback)
{
    if (!project)
        return 0;
    int ok = 0;
    {
        CWaitCursor wait;
        ok = project->CalcInputPowerChain(table, 0, revise, feedback);
    }
    // A chain that stops says so too: the dialog has gone, and nothing else would tell.
    ReportCalculationEnd(ok != 0, *project, feedback);
    return ok;
}

int CCalcCommands::OnCalcEnergyResult(const CZuSubsystemTable& table, CAnalysisProject* project, CFeedback* feedback)
{
    if (!project)
        return 0;
    CMElement* result = nullptr;
    {
        CWaitCursor wait;
        result = project->CalcInputPowerByName(table, 1, feedback);
    }
    ReportCalculationEnd(result != nullptr, *project, feedback);
    return result ? 1 : 0;
}

CMElement* CCalcCommands::RunResultCommand(int id, CAnalysisProject& project, CMElement* result,
                                           const std::string& name)
{
    if (!ResultFitsProject(project, result))
        return nullptr;
    CWaitCursor wait;
    if (project.GetProjectType() == CAnalysisProject::typeRpm) {
        auto* set = static_cast<CZuRpmResultData*>(result);
        switch (id) {
        case ID_CALC_VIBRATION_LEVEL:
            return project.AddResult(set, project.CalcVibrationLevel(set, name));
        case ID_CALC_SPL:
            return project.AddResult(set, project.CalcSPL(set, name));
        case ID_SEARCH_DOMINANT_PATH:
            return project.AddResult(set, project.SearchDominantPath(set, name, 0.0));
        case ID_CALC_POWER_CONTRIBUTION:
            return project.AddResult(set, project.CalcPowerContribution(set, name, 0.0));
        default:
            return nullptr;
        }
    }
    auto* set = static_cast<CZuOTResultData*>(result);
    switch (id) {
    case ID_CALC_VIBRATION_LEVEL:
        return project.AddResult(set, project.CalcVibrationLevelOT(set, name));
    case ID_CALC_SPL:
        return project.AddResult(set, project.CalcSPLOT(set, name, 1));
    case ID_SEARCH_DOMINANT_PATH:
        return project.AddResult(set, project.SearchDominantPathOT(set, name));
    case ID_CALC_POWER_CONTRIBUTION:
        return project.AddResult(set, project.CalcPowerContributionOT(set, name));
    default:
        return nullptr;
    }
}
