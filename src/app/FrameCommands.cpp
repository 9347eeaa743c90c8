#include "app/FrameCommands.h"

#include "app/AnalysisProject.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "common/ElementCopy.h"
#include "experiments/DAQConfig.h"
#include "models/HSEADominantPathData.h"
#include "models/HSEAPowerContribution.h"
#include "models/HSEAResultData.h"
#include "platform/elements/MElement.h"
#include "platform/elements/ZuData.h"
#include "platform/elements/ZuFunc.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

void CollectResultSets(const CMElement* element, std::vector<CMElement*>& out)
{
    for (int i = 0; i < element->GetChildCount(); ++i) {
        CMElement* child = element->GetChild(i);
        if (!child)
            continue;
        if (child->GetType() == ElementType::ResultSet)
            out.push_back(child);
        CollectResultSets(child, out);
    }
}
} // namespace

CAnalysisProject* CFrameSelection::Analysis() const
{
    return doc ? DynamicDowncast<CAnalysisProject>(project) : nullptr;
}

CDaqProject* CFrameSelection::Daq() const
{
    return doc ? DynamicDowncast<CDaqProject>(project) : nullptr;
}

CModelProject* CFrameSelection::ModelProject() const
{
    return doc ? DynamicDowncast<CModelProject>(project) : nullptr;
}

CModelProject* CFrameSelection::DocModel() const
{
    return doc ? doc->GetTALVOProject().GetModelProject() : nullptr;
}

bool CFrameCommands::CanAddDaqProject(const CTALVODoc& doc)
{
    return GetRegOptionByStringId(IDS_OPT_ALWAYS_NEW_DAQ_PROJECT) != 0 ||
           doc.GetTALVOProject().GetDaqProject(0) == nullptr;
}

bool CFrameCommands::IsResultElement(const CMElement* element)
{
    if (!element)
        return false;
    static const int types[] = {ElementType::InputPower,
                                ElementType::Energy,
                                ElementType::ResultSet,
                                ElementType::VibrationLevel,
                                ElementType::Spl,
                                ElementType::DominantPath,
                                ElementType::PowerContribution,
                                ElementType::RpmResultSet,
                                ElementType::VibrationComparison,
                                ElementType::SplComparison,
                                ElementType::OTResultSet,
                                ElementType::SplTable,
                                ElementType::SplFolder,
                                ElementType::VibrationResultComparison,
                                ElementType::SplResultComparison};
    return std::find(std::begin(types), std::end(types), element->GetType()) != std::end(types);
}

CAnalysisProject* CFrameCommands::CopyAnalysisProject(CTALVODoc& doc, const CAnalysisProject& source)
{
    std::unique_ptr<CMElement> copy = CopyElementViaTempFile(&source);
    auto* project = DynamicDowncast<CAnalysisProject>(copy.get());
    if (!project)
        return nullptr;
    copy.release();
    std::unique_ptr<CAnalysisProject> owned(project);
    owned->SetName("Copy of " + source.GetName());
    // The copy is a project of its own: the container numbers it, so no two projects share an ID.
    CAnalysisProject* added = doc.GetTALVOProject().AddImportedAnalysisProject(std::move(owned));
    if (!added)
        return nullptr;
    doc.AddProjectToViews(added);
    doc.SetModifiedFlag(1);
    return added;
}

bool CFrameCommands::TakePulseSettings(CDAQConfig& config, float pulsesPerRev, float rpmRatio)
{
    bool changed = false;
    if (std::fabs(static_cast<double>(pulsesPerRev) - config.GetPulsesPerRev()) >= kPulseSettingTolerance) {
        config.SetPulsesPerRev(pulsesPerRev);
        changed = true;
    }
    if (std::fabs(static_cast<double>(rpmRatio) - config.GetRpmRatio()) >= kPulseSettingTolerance) {
        config.SetRpmRatio(rpmRatio);
        changed = true;
    }
    return changed;
}

std::vector<CMElement*> CFrameCommands::FindResultSets(const CMElement* project)
{
    std::vector<CMElement*> out;
    if (project)
        CollectResultSets(project, out);
    return out;
}

namespace {
// The picks on the hybrid model's result: its functions are made, named and added below the
// result (the level functions, the dominant paths and the contributions) or found and refreshed
// there (energy, energy ratio). The other data elements extract their loss factors.
CHSEAResultData* HseaResult(CZuData& data)
{
    return dynamic_cast<CHSEAResultData*>(&data);
}

CMElement* AddToResult(CHSEAResultData& result, std::unique_ptr<CMElement> made, const std::string& resultName)
{
    if (!made)
        return nullptr;
    if (!resultName.empty())
        made->SetName(resultName);
    return result.AddChild(std::move(made));
}

CMElement* DominantPaths(CZuData& data, const std::string& target, const std::string&, const std::string& resultName,
                         CFeedback* feedback)
{
    CHSEAResultData* result = HseaResult(data);
    return result ? AddToResult(*result, result->CreateDominantPathData(target, -1, feedback), resultName) : nullptr;
}

CMElement* PowerContributions(CZuData& data, const std::string& target, const std::string&,
                              const std::string& resultName, CFeedback* feedback)
{
    CHSEAResultData* result = HseaResult(data);
    return result ? AddToResult(*result, result->CreatePowerContribution(target, -1, feedback), resultName) : nullptr;
}

CMElement* SplFunction(CZuData& data, const std::string& cavity, const std::string&, const std::string& resultName,
                       CFeedback* feedback)
{
    CHSEAResultData* result = HseaResult(data);
    return result ? AddToResult(*result, result->CreateSPLFunc(cavity, feedback), resultName) : nullptr;
}

CMElement* VibrationLevelFunction(CZuData& data, const std::string& structure, const std::string&,
                                  const std::string& resultName, CFeedback* feedback)
{
    CHSEAResultData* result = HseaResult(data);
    return result ? AddToResult(*result, result->CreateVibrationLevelFunc(structure, feedback), resultName) : nullptr;
}

CMElement* SubsystemEnergy(CZuData& data, const std::string& subsystem, const std::string&, const std::string&,
                           CFeedback* feedback)
{
    CHSEAResultData* result = HseaResult(data);
    return result ? result->FindOrAddSubsystemFunc(subsystem, feedback) : nullptr;
}

// The pair picker of the energy ratio asks no wave type: a subsystem named as the model project
// lists it is the one of the wave type the model project gives it, as the result's table names it.
std::string AsInResult(const CHSEAResultData& result, const std::string& name)
{
    if (result.GetSubsystemTable()->GetIndex(name) >= 0)
        return name;
    for (const CMElement* e = result.GetParent(); e; e = e->GetParent())
        if (const auto* project = dynamic_cast<const CBaseProject*>(e)) {
            CModelProject* model = project->GetOwner() ? project->GetOwner()->GetModelProject() : nullptr;
            std::string typed = name;
            if (model)
                model->GetSubsystemType(typed, 1);
            return typed;
        }
    return name;
}

CMElement* EnergyRatio(CZuData& data, const std::string& a, const std::string& b, const std::string&,
                       CFeedback* feedback)
{
    CHSEAResultData* result = HseaResult(data);
    return result ? result->CreateEnergyRatioFunc(AsInResult(*result, a), AsInResult(*result, b), feedback) : nullptr;
}

CMElement* CouplingLossFactor(CZuData& data, const std::string& a, const std::string& b, const std::string&,
                              CFeedback* feedback)
{
    return HseaResult(data) ? nullptr : data.ExtractClf(a, b, feedback);
}

CMElement* IntrinsicLossFactor(CZuData& data, const std::string& subsystem, const std::string&, const std::string&,
                               CFeedback* feedback)
{
    return HseaResult(data) ? nullptr : data.ExtractIntrinsicDlf(subsystem, feedback);
}

CMElement* TotalLossFactor(CZuData& data, const std::string& subsystem, const std::string&, const std::string&,
                           CFeedback* feedback)
{
    return HseaResult(data) ? nullptr : data.ExtractTotalDlf(subsystem, feedback);
}
} // namespace

const std::vector<CFrameCommands::PickerCommand>& CFrameCommands::PickerCommands()
{
    static const std::vector<PickerCommand> table = {
        {1003, false, 9, 0, 0, IDS_DOMINANT_PATH_NAME, &DominantPaths},
        {1013, false, 9, 0, 0, 0, &SubsystemEnergy},
        {1023, true, 9, 1, 0, 0, &EnergyRatio},
        {1036, false, 9, 0, 0, IDS_POWER_CONTRIBUTION_NAME, &PowerContributions},
        {1046, false, 8, 0, 0, 0, nullptr},
        {1057, false, 8, 0, 0, IDS_SPL_NAME, &SplFunction},
        {1067, false, 5, 0, 0, IDS_VIBRATION_LEVEL_NAME, &VibrationLevelFunction},
        {1138, true, 9, 1, 1, 0, &CouplingLossFactor},
        {1146, true, 9, 1, 1, 0, &CouplingLossFactor},
        {1139, false, 9, 0, 0, 0, &IntrinsicLossFactor},
        {1147, false, 9, 0, 0, 0, &IntrinsicLossFactor},
        {1142, false, 9, 0, 0, 0, &TotalLossFactor},
        {1149, false, 9, 0, 0, 0, &TotalLossFactor},
        {1140, true, 8, 0, 1, 0, nullptr},
        {1141, true, 8, 0, 1, 0, nullptr},
        {1148, true, 8, 0, 1, 0, nullptr},
    };
    return table;
}

const CFrameCommands::PickerCommand* CFrameCommands::FindPickerCommand(int id)
{
    for (const PickerCommand& c : PickerCommands())
        if (c.id == id)
            return &c;
    return nullptr;
}
