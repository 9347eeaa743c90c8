#include "app/FrameCommands.h"

#include "app/AnalysisProject.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "common/ElementCopy.h"
#include "experiments/DAQConfig.h"
#include "platform/elements/MElement.h"
#include "platform/win/ZuRegOptions.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {
// The option that allows more than one DAQ project in a document.
constexpr uint32_t kOptionManyDaqProjects = 6175;

const CAnalysisProject* AsAnalysis(const CFrameSelection& s)
{
    return s.doc ? DynamicDowncast<CAnalysisProject>(s.project) : nullptr;
}

const CDaqProject* AsDaq(const CFrameSelection& s)
{
    return s.doc ? DynamicDowncast<CDaqProject>(s.project) : nullptr;
}

const CModelProject* ModelOf(const CFrameSelection& s)
{
    return s.doc ? s.doc->GetTALVOProject().GetModelProject() : nullptr;
}

void CollectResultSets(const CMElement* element, std::vector<CMElement*>& out)
{
    for (int i = 0; i < element->GetChildCount(); ++i) {
        CMElement* child = element->GetChild(i);
        if (!child)
            continue;
        if (child->GetType() == 51)
            out.push_back(child);
        CollectResultSets(child, out);
    }
}
} // namespace

const std::vector<int>& CFrameCommands::Commands()
{
    static const std::vector<int> ids = {
        ID_MODEL_UPDATE,
        ID_COPY_ANALYSIS_PROJECT,
        ID_RENAME_PROJECT,
        ID_DAQ_SETTINGS,
        ID_BLIX_CHANNEL_EXCHANGE,
        ID_MERGE_ANALYSIS_PROJECTS,
        ID_REMOVE_PROJECT_AT,
        ID_RENAME_PROJECT_AT,
        ID_ADD_MODEL_VARIANT,
        ID_NEW_ANALYSIS_PROJECT,
        ID_NEW_DAQ_PROJECT,
        ID_REMOVE_PROJECT,
        ID_MODEL_VIEW,
        ID_IMPORTED_FILE_LIST,
        ID_EDIT_CUT,
        ID_DAQ_CALC_OPTIONS,
        ID_DAQ_CALC_OPTIONS_RECALC,
        ID_EXTRACT_CLF,
        ID_EXTRACT_INTRINSIC_DLF,
        ID_CAVITY_PAIR_PICKER,
    };
    return ids;
}

bool CFrameCommands::Handles(int id)
{
    const std::vector<int>& ids = Commands();
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

bool CFrameCommands::IsEnabled(int id, const CFrameSelection& s)
{
    const bool hasDoc = s.doc != nullptr;
    switch (id) {
    case ID_MODEL_UPDATE:
        return ModelOf(s) != nullptr;
    case ID_EXTRACT_CLF:
    case ID_EXTRACT_INTRINSIC_DLF:
    case ID_CAVITY_PAIR_PICKER: {
        // Loss factors come out of the hybrid model of the selected model project.
        const auto* model = s.doc ? DynamicDowncast<CModelProject>(s.project) : nullptr;
        return model && model->GetHSEAModelData() != nullptr;
    }
    case ID_COPY_ANALYSIS_PROJECT:
    case ID_MERGE_ANALYSIS_PROJECTS:
        return AsAnalysis(s) != nullptr;
    case ID_RENAME_PROJECT:
    case ID_REMOVE_PROJECT:
        return AsAnalysis(s) || AsDaq(s);
    case ID_DAQ_SETTINGS: {
        const CDaqProject* daq = AsDaq(s);
        return daq && !daq->IsUFData();
    }
    case ID_DAQ_CALC_OPTIONS:
    case ID_DAQ_CALC_OPTIONS_RECALC:
        return AsDaq(s) != nullptr;
    case ID_BLIX_CHANNEL_EXCHANGE:
    case ID_ADD_MODEL_VARIANT:
    case ID_IMPORTED_FILE_LIST:
        return hasDoc;
    case ID_REMOVE_PROJECT_AT:
    case ID_RENAME_PROJECT_AT:
        return hasDoc && s.project && s.projectIndex > 0;
    case ID_NEW_ANALYSIS_PROJECT:
        return ModelOf(s) != nullptr;
    case ID_NEW_DAQ_PROJECT:
        // A second DAQ project only where the option allows more than one.
        return hasDoc && (GetRegOptionByStringId(kOptionManyDaqProjects) != 0 ||
                          s.doc->GetTALVOProject().GetDaqProject(0) == nullptr);
    case ID_MODEL_VIEW: {
        const CModelProject* model = ModelOf(s);
        return s.project && model && model->GetModelData(0) != nullptr;
    }
    case ID_EDIT_CUT:
        return hasDoc && IsResultElement(s.First());
    default:
        return false;
    }
}

bool CFrameCommands::IsResultElement(const CMElement* element)
{
    if (!element)
        return false;
    static const int types[] = {3, 5, 51, 53, 54, 55, 56, 90, 91, 92, 95, 96, 97, 104, 105};
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
        {1003, false, 9, 0, 0, 7023}, {1013, false, 9, 0, 0, 0}, {1023, true, 9, 1, 0, 0},
        {1036, false, 9, 0, 0, 7036}, {1046, false, 8, 0, 0, 0}, {1057, false, 8, 0, 0, 7038},
        {1067, false, 5, 0, 0, 7041}, {1138, true, 9, 1, 1, 0},  {1146, true, 9, 1, 1, 0},
        {1139, false, 9, 0, 0, 0},    {1147, false, 9, 0, 0, 0}, {1142, false, 9, 0, 0, 0},
        {1149, false, 9, 0, 0, 0},    {1140, true, 8, 0, 1, 0},  {1141, true, 8, 0, 1, 0},
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
