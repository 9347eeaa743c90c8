#include "views/ui/ResultViewerCommands.h"

#include "app/AnalysisProject.h"
#include "app/DaqProject.h"
#include "app/TALVOProject.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/Messages.h"
#include "platform/win/WaitCursor.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "spectral/ZuRpmPcFunc.h"
#include "views/ui/DlgCavPcView.h"
#include "views/ui/DlgCompSplBySingleIP.h"
#include "views/ui/DlgCompStAcSplBySingleIP.h"
#include "views/ui/DlgDaqERComp.h"
#include "views/ui/DlgSelectSubsystem.h"

bool CResultViewerCommands::IsEnabled(int id, const CBaseProject* project, const CMElement* first)
{
    switch (id) {
    case ID_VIEW_POWER_CONTRIBUTION: {
        // A project by order reports its contributions as text, which this command does not write.
        const auto* analysis = dynamic_cast<const CAnalysisProject*>(project);
        return analysis && analysis->GetProjectType() == CAnalysisProject::typeRpm &&
               dynamic_cast<const CZuRpmPcFunc*>(first) != nullptr;
    }
    case ID_COMPARE_TARGET_ENERGY:
        return dynamic_cast<const CDaqProject*>(project) != nullptr;
    default:
        return false;
    }
}

bool CResultViewerCommands::Run(int id, CBaseProject* project, CMElement* first, QWidget* parent)
{
    if (!IsEnabled(id, project, first))
        return false;
    if (id == ID_VIEW_POWER_CONTRIBUTION)
        return CDlgCavPcView::OpenViewer(dynamic_cast<CZuRpmPcFunc*>(first), parent) != nullptr;
    return CDlgDaqERComp::Open(dynamic_cast<CDaqProject*>(project), parent) != nullptr;
}

intptr_t CResultViewerCommands::OnSplBySingleIP(uint32_t msg, const CZuSubsystemTable* inputs,
                                                CAnalysisProject* project, QWidget* parent)
{
    if (!inputs || !project || inputs->GetCount() == 0 || project->GetProjectType() != CAnalysisProject::typeRpm)
        return -1;
    CTALVOProject* container = project->GetOwner();
    CDlgSelectSubsystem picker(container ? container->GetModelProject() : nullptr, parent);
    picker.SetSubsystemKind(CDlgSelectSubsystem::kCavities);
    picker.EnableWaveType(true);
    picker.m_strName = container ? container->GetTargetSubsystem() : std::string();
    if (picker.DoModal() != IDOK)
        return -1;
    const std::string target = picker.m_strName;
    CZuRpmMultiVecFunc* table = nullptr;
    {
        CWaitCursor wait;
        table = dynamic_cast<CZuRpmMultiVecFunc*>(project->BuildSPLByInputPowers(target, *inputs, 0));
    }
    if (!table)
        return -1;
    const bool opened = msg == WM_ZU_SPL_BY_SINGLE_IP
                            ? CDlgCompSplBySingleIP::Open(project, target, table, parent) != nullptr
                            : CDlgCompStAcSplBySingleIP::Open(project, target, table, parent) != nullptr;
    return opened ? 0 : -1;
}
