#include "app/ResultCommands.h"

#include "app/AnalysisProject.h"
#include "app/ModelProject.h"
#include "calculation/InputEnergyFolder.h"
#include "calculation/InputPowerFolder.h"
#include "calculation/OTInPcCreator.h"
#include "models/HSEAResultData.h"
#include "platform/win/Messages.h"
#include "spectral/ZuOTMultiVecFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"

namespace {
bool IsResponseFunction(const CMElement* e)
{
    return e && (e->GetType() == CHSEAResultData::kSplType || e->GetType() == CHSEAResultData::kVibrationLevelType);
}
} // namespace

bool CResultCommands::IsEnabled(int id, const CMElement* selectedProject, const CMElement* first)
{
    auto* project = dynamic_cast<const CAnalysisProject*>(selectedProject);
    switch (id) {
    case ID_INPUT_POWER_DATA:
        // Solving needs the model project: with any other project the dialog could not solve.
        return dynamic_cast<const CModelProject*>(selectedProject) != nullptr;
    case ID_COMPARE_WITH_RESULT:
        return project && IsResponseFunction(first);
    case ID_COMPARE_WITH_MEASURED:
        return project && project->CanCompareWithMeasured(first);
    case ID_EXPORT_INPUT_POWER:
        return project && (project->GetInputEnergyFolder() || project->GetInputPowerFolder());
    default:
        return false;
    }
}

CAnalysisProject* CResultCommands::FindAnalysisProject(CMElement* element)
{
    for (CMElement* e = element; e; e = e->GetParent())
        if (auto* project = dynamic_cast<CAnalysisProject*>(e))
            return project;
    return nullptr;
}

CZuRpmMultiVecFunc* CResultCommands::OnResultSelected(CMElement* first, CMElement* chosen)
{
    CAnalysisProject* project = FindAnalysisProject(first);
    if (!project || !IsResponseFunction(first) || !FindAnalysisProject(chosen))
        return nullptr;
    return project->CompareWithResult(first, dynamic_cast<CZuData*>(chosen));
}

int CResultCommands::GetReportType(uint32_t message)
{
    switch (message) {
    case WM_ZU_SPL_BY_SINGLE_IP:
        return COTInPcCreator::TYPE_SUBSYSTEMS;
    case WM_ZU_SPL_BY_SINGLE_IP_COMP:
        return COTInPcCreator::TYPE_STRUCTURE_ACOUSTIC;
    default:
        return 0;
    }
}

int CResultCommands::WriteSPLReport(CZuRpmSelFunc* table, int type, const std::string& path, IWorkProgress* progress)
{
    auto* byOrder = dynamic_cast<CZuOTMultiVecFunc*>(table);
    if (!byOrder || path.empty())
        return 0;
    COTInPcCreator report(byOrder);
    return report.WriteReport(type, path.c_str(), progress);
}
