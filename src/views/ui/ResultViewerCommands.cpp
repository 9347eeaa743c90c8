#include "views/ui/ResultViewerCommands.h"

#include "app/AnalysisProject.h"
#include "app/DaqProject.h"
#include "app/TALVOProject.h"
#include "calculation/OTCavPcCreator.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/WaitCursor.h"
#include "platform/win/StatusBarFeedback.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuOTPcFunc.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "spectral/ZuRpmPcFunc.h"
#include "views/ui/DlgCavPcView.h"
#include "views/ui/DlgCompSplBySingleIP.h"
#include "views/ui/DlgCompStAcSplBySingleIP.h"
#include "views/ui/DlgDaqERComp.h"
#include "calculation/ui/DlgSelectSubsystem.h"

namespace {
const char* const kReportFilter = "Text Files(*.txt)|*.txt|All Files(*.*)|*.*||";
} // namespace

bool CResultViewerCommands::CanViewPowerContribution(const CBaseProject* project, const CMElement* first)
{
    const auto* analysis = dynamic_cast<const CAnalysisProject*>(project);
    if (!analysis)
        return false;
    if (analysis->GetProjectType() == CAnalysisProject::typeRpm)
        return dynamic_cast<const CZuRpmPcFunc*>(first) != nullptr;
    // By order the contributions go to a text report, which reads the target's SPL and volume:
    // only a cavity's map can be reported.
    const auto* byOrder = dynamic_cast<const CZuOTPcFunc*>(first);
    const CTALVOProject* container = analysis->GetOwner();
    if (analysis->GetProjectType() != CAnalysisProject::typeOrder || !byOrder || !container)
        return false;
    // The map names its target with the wave sign.
    std::string target = byOrder->GetSubsystem();
    CGfxUtil::RemoveWaveSign(target);
    return container->IsAcoustic(target) != 0;
}

bool CResultViewerCommands::ViewPowerContribution(CBaseProject* project, CMElement* first, QWidget* parent)
{
    if (!CanViewPowerContribution(project, first))
        return false;
    if (auto* byOrder = dynamic_cast<CZuOTPcFunc*>(first))
        return WriteOrderReport(*dynamic_cast<CAnalysisProject*>(project), byOrder);
    return CDlgCavPcView::ShowInstance(dynamic_cast<CZuRpmPcFunc*>(first), parent) != nullptr;
}

bool CResultViewerCommands::CanCompareTargetEnergy(const CBaseProject* project, const CMElement*)
{
    return dynamic_cast<const CDaqProject*>(project) != nullptr;
}

bool CResultViewerCommands::CompareTargetEnergy(CBaseProject* project, CMElement* first, QWidget* parent)
{
    if (!CanCompareTargetEnergy(project, first))
        return false;
    return CDlgDaqERComp::Open(dynamic_cast<CDaqProject*>(project), parent) != nullptr;
}

bool CResultViewerCommands::WriteOrderReport(CAnalysisProject& project, CZuOTPcFunc* contributions)
{
    FileChooserOptions options;
    options.filter = kReportFilter;
    options.defaultExt = "txt";
    std::string path;
    if (!contributions || !PromptSaveFile(options, path) || path.empty())
        return false;
    CWaitCursor wait;
    CStatusBarFeedback progress;
    COTCavPcCreator report(contributions);
    // The cavity's SPL by order is computed into the result data when the report needs it first.
    report.SetSplCalculation([&project](CZuOTResultData& data, const std::string& cavity) {
        return project.AddResult(&data, project.CalcSPLOT(&data, cavity, 0, &*CStatusBarFallback(nullptr)));
    });
    // The file is written whole or not at all: an existing report stays as it was on failure.
    return report.WriteReport(path.c_str(), &progress) == 1;
}

intptr_t CResultViewerCommands::OnSplBySingleIP(uint32_t msg, const CZuSubsystemTable* inputs,
                                                CAnalysisProject* project, QWidget* parent,
                                                const EnergyTableBuilder& energies)
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
    if (msg == WM_ZU_SPL_BY_SINGLE_IP && energies) {
        std::unique_ptr<CZuRpmMultiVecFunc> built;
        {
            CWaitCursor wait;
            built = energies(*project, target, *inputs);
        }
        if (!built) {
            AfxMessageBox("Failed to create data.", MB_OK | MB_ICONEXCLAMATION);
            return -1;
        }
        return CDlgCompSplBySingleIP::OpenEnergies(project, target, std::move(built), parent) ? 0 : -1;
    }
    CZuRpmMultiVecFunc* table = nullptr;
    {
        CWaitCursor wait;
        table = dynamic_cast<CZuRpmMultiVecFunc*>(
            project->BuildSPLByInputPowers(target, *inputs, 0, &*CStatusBarFallback(nullptr)));
    }
    if (!table) {
        AfxMessageBox("Failed to create data.", MB_OK | MB_ICONEXCLAMATION);
        return -1;
    }
    const bool opened = msg == WM_ZU_SPL_BY_SINGLE_IP
                            ? CDlgCompSplBySingleIP::Open(project, target, table, parent) != nullptr
                            : CDlgCompStAcSplBySingleIP::Open(project, target, table, parent) != nullptr;
    return opened ? 0 : -1;
}
