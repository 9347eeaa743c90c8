#include "app/FrameCommands.h"

#include "app/AnalysisProject.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "common/ElementCopy.h"
#include "experiments/DAQConfig.h"
#include "platform/elements/MElement.h"
#include "platform/win/StringIds.h"
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

const std::vector<CFrameCommands::PickerCommand>& CFrameCommands::PickerCommands()
{
    static const std::vector<PickerCommand> table = {
        {1003, false, 9, 0, 0, IDS_DOMINANT_PATH_NAME},
        {1013, false, 9, 0, 0, 0},
        {1023, true, 9, 1, 0, 0},
        {1036, false, 9, 0, 0, IDS_POWER_CONTRIBUTION_NAME},
        {1046, false, 8, 0, 0, 0},
        {1057, false, 8, 0, 0, IDS_SPL_NAME},
        {1067, false, 5, 0, 0, IDS_VIBRATION_LEVEL_NAME},
        {1138, true, 9, 1, 1, 0},
        {1146, true, 9, 1, 1, 0},
        {1139, false, 9, 0, 0, 0},
        {1147, false, 9, 0, 0, 0},
        {1142, false, 9, 0, 0, 0},
        {1149, false, 9, 0, 0, 0},
        {1140, true, 8, 0, 1, 0},
        {1141, true, 8, 0, 1, 0},
        {1148, true, 8, 0, 1, 0},
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
