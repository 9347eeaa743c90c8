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
    return e && (e->GetType() == ElementType::Spl || e->GetType() == ElementType::VibrationLevel);
}

bool HoldsElement(const CMElement& parent, const CMElement* element)
{
    if (&parent == element)
        return true;
    for (int i = 0; i < parent.GetChildCount(); ++i)
        if (HoldsElement(*parent.GetChild(i), element))
            return true;
    return false;
}
} // namespace

bool CResultCommands::CanOpenInputPowerData(const CMElement* selectedProject, const CMElement*)
{
    // Solving needs the model project: with any other project the dialog could not solve.
    return dynamic_cast<const CModelProject*>(selectedProject) != nullptr;
}

bool CResultCommands::CanCompareWithResult(const CMElement* selectedProject, const CMElement* first)
{
    return dynamic_cast<const CAnalysisProject*>(selectedProject) && IsResponseFunction(first);
}

bool CResultCommands::CanCompareWithMeasured(const CMElement* selectedProject, const CMElement* first)
{
    auto* project = dynamic_cast<const CAnalysisProject*>(selectedProject);
    return project && project->CanCompareWithMeasured(first);
}

bool CResultCommands::CanExportInputPower(const CMElement* selectedProject, const CMElement*)
{
    auto* project = dynamic_cast<const CAnalysisProject*>(selectedProject);
    return project && (project->GetInputEnergyFolder() || project->GetInputPowerFolder());
}

CAnalysisProject* CResultCommands::FindAnalysisProject(const std::vector<CAnalysisProject*>& projects,
                                                       const CMElement* element)
{
    if (!element)
        return nullptr;
    for (CAnalysisProject* project : projects)
        if (project && HoldsElement(*project, element))
            return project;
    return nullptr;
}

CZuRpmMultiVecFunc* CResultCommands::OnResultSelected(const std::vector<CAnalysisProject*>& projects, CMElement* first,
                                                      CMElement* chosen)
{
    CAnalysisProject* project = FindAnalysisProject(projects, first);
    if (!project || !FindAnalysisProject(projects, chosen) || !IsResponseFunction(first))
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

int CResultCommands::WriteSPLReport(CZuRpmSelFunc* table, int type, const std::string& path, CFeedback* progress)
{
    auto* byOrder = dynamic_cast<CZuOTMultiVecFunc*>(table);
    if (!byOrder || path.empty())
        return 0;
    COTInPcCreator report(byOrder);
    return report.WriteReport(type, path.c_str(), progress);
}
