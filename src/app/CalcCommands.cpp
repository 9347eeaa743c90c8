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

bool HasInputPowers(const CAnalysisProject* project)
{
    return project && InputFunctionCount(*project) > 0;
}

bool SplBySingleIPApplies(const CAnalysisProject* project, uint32_t option)
{
    return project && GetRegOptionByStringId(option) != 0 && InputFunctionCount(*project) > 0;
}

int OfferInputPowerSubsystems(const CAnalysisProject& project, CZuSubsystemTable& table)
{
    table.Clear();
    return project.GetInputPowerSubsystems(table);
}

int OfferInputEnergySubsystems(const CAnalysisProject& project, CZuSubsystemTable& table)
{
    table.Clear();
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

// The driver of a result command for a result set that fits the project: by RPM or by order.
template <class ByRpm, class ByOrder>
CMElement* RunOnResultSet(CAnalysisProject& project, CMElement* result, ByRpm byRpm, ByOrder byOrder)
{
    if (!ResultFitsProject(project, result))
        return nullptr;
    CWaitCursor wait;
    if (project.GetProjectType() == CAnalysisProject::typeRpm)
        return byRpm(static_cast<CZuRpmResultData*>(result));
    return byOrder(static_cast<CZuOTResultData*>(result));
}
} // namespace

const CCalcCommands::SubsystemSelection CCalcCommands::kInputPowerSelection = {
    IDS_INPUT_ENERGY_CAPTION, WM_ZU_CALC_INPUT_ENERGY, &OfferInputEnergySubsystems,
    [](const CAnalysisProject* project) { return project && InputFunctionCount(*project) == 0; }};
const CCalcCommands::SubsystemSelection CCalcCommands::kEnergyResultSelection = {
    IDS_INPUT_POWER_CAPTION, WM_ZU_CALC_INPUT_POWER, &OfferInputPowerSubsystems, &HasInputPowers};
const CCalcCommands::SubsystemSelection CCalcCommands::kSplBySingleIPSelection = {
    IDS_SPL_BY_INPUT_CAPTION, WM_ZU_SPL_BY_SINGLE_IP, &OfferInputPowerSubsystems,
    [](const CAnalysisProject* project) { return SplBySingleIPApplies(project, IDS_OPT_SPL_BY_SINGLE_IP); }};
const CCalcCommands::SubsystemSelection CCalcCommands::kSplBySingleIPCompSelection = {
    IDS_SPL_BY_INPUT_CAPTION, WM_ZU_SPL_BY_SINGLE_IP_COMP, &OfferInputPowerSubsystems,
    [](const CAnalysisProject* project) { return SplBySingleIPApplies(project, IDS_OPT_SPL_BY_SINGLE_IP_COMP); }};

bool CCalcCommands::AppliesToResultSet(const CAnalysisProject* project, const CMElement* first)
{
    return project && kResultPickerBuilt && ResultFitsProject(*project, first);
}

const CCalcCommands::ResultCommand CCalcCommands::kVibrationLevel = {
    5, true, [](CAnalysisProject& p, CMElement* result, const std::string& name, CFeedback* feedback) {
        return RunOnResultSet(
            p, result,
            [&](CZuRpmResultData* set) { return p.AddResult(set, p.CalcVibrationLevel(set, name, feedback)); },
            [&](CZuOTResultData* set) { return p.AddResult(set, p.CalcVibrationLevelOT(set, name, feedback)); });
    }};
const CCalcCommands::ResultCommand CCalcCommands::kSpl = {
    8, false, [](CAnalysisProject& p, CMElement* result, const std::string& name, CFeedback* feedback) {
        return RunOnResultSet(
            p, result, [&](CZuRpmResultData* set) { return p.AddResult(set, p.CalcSPL(set, name, feedback)); },
            [&](CZuOTResultData* set) { return p.AddResult(set, p.CalcSPLOT(set, name, 1, feedback)); });
    }};
const CCalcCommands::ResultCommand CCalcCommands::kDominantPaths = {
    9, true, [](CAnalysisProject& p, CMElement* result, const std::string& name, CFeedback* feedback) {
        return RunOnResultSet(
            p, result,
            [&](CZuRpmResultData* set) { return p.AddResult(set, p.SearchDominantPath(set, name, 0.0, feedback)); },
            [&](CZuOTResultData* set) { return p.AddResult(set, p.SearchDominantPathOT(set, name, feedback)); });
    }};
const CCalcCommands::ResultCommand CCalcCommands::kPowerContributions = {
    9, true, [](CAnalysisProject& p, CMElement* result, const std::string& name, CFeedback* feedback) {
        return RunOnResultSet(
            p, result,
            [&](CZuRpmResultData* set) { return p.AddResult(set, p.CalcPowerContribution(set, name, 0.0, feedback)); },
            [&](CZuOTResultData* set) { return p.AddResult(set, p.CalcPowerContributionOT(set, name, feedback)); });
    }};

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
