#include "views/ui/ResultCommandsUi.h"

#include "app/AnalysisProject.h"
#include "app/ResultCommands.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "calculation/ui/DlgExportInputPower.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/PromptService.h"
#include "platform/win/WaitCursor.h"
#include "platform/win/WinTypes.h"
#include "platform/win/StatusBarFallback.h"
#include "views/ui/DlgSelectResult.h"
#include "calculation/ui/DlgSelectSubsystem.h"

namespace {
constexpr int kTargetKind = CDlgSelectSubsystem::kCavities;
const char* const kReportFilter = "Text Files(*.txt)|*.txt|All Files(*.*)|*.*||";
} // namespace

void CResultCommandsUi::OpenResultSelection(CAnalysisProject* project, CMElement* first, const IProjectTreeWindow* tree,
                                            QWidget* parent, std::function<CTALVODoc*()> document)
{
    if (!project || !first)
        return;
    CDlgSelectResult::DestroyInstance();
    CDlgSelectResult::CreateInstance(project, first, tree, parent,
                                     [document = std::move(document)](CMElement* firstResult, CMElement* chosen) {
                                         if (CTALVODoc* doc = document ? document() : nullptr)
                                             OnResultSelected(firstResult, chosen, *doc);
                                     });
}

CZuRpmMultiVecFunc* CResultCommandsUi::OnResultSelected(CMElement* first, CMElement* chosen, const CTALVODoc& doc)
{
    CWaitCursor wait;
    std::vector<CAnalysisProject*> projects;
    const CTALVOProject& container = doc.GetTALVOProject();
    for (int i = 0; i < container.GetProjectCount(); ++i)
        if (auto* project = dynamic_cast<CAnalysisProject*>(container.GetProject(i)))
            projects.push_back(project);
    return CResultCommands::OnResultSelected(projects, first, chosen);
}

bool CResultCommandsUi::CompareWithMeasured(CAnalysisProject& project, CMElement* first)
{
    CWaitCursor wait;
    return project.CompareWithMeasured(first, &*CStatusBarFallback(nullptr)) != nullptr;
}

int CResultCommandsUi::ExportInputPower(CAnalysisProject* project, QWidget* parent)
{
    return CDlgExportInputPower::RunFor(project, parent);
}

intptr_t CResultCommandsUi::OnSPLBySingleInput(uint32_t message, const CZuSubsystemTable* table,
                                               CAnalysisProject* project, CTALVODoc& doc, QWidget* parent)
{
    const int type = CResultCommands::GetReportType(message);
    if (!table || !project || table->GetCount() == 0 || type == 0)
        return -1;
    // This road writes the order report; by RPM the frame opens the comparison windows.
    if (project->GetProjectType() != CAnalysisProject::typeOrder)
        return 0;
    CTALVOProject& container = doc.GetTALVOProject();
    CDlgSelectSubsystem picker(container.GetModelProject(), parent);
    picker.SetSubsystemKind(kTargetKind);
    picker.EnableWaveType(true);
    picker.SetCaption(doc.GetTitle());
    picker.m_strName = container.GetTargetSubsystem();
    if (picker.DoModal() != IDOK)
        return 0;

    CZuRpmSelFunc* spl = nullptr;
    {
        CWaitCursor wait;
        CStatusBarFeedback progress;
        spl = project->BuildSPLByInputPowers2(picker.m_strName, *table, 0, &progress);
    }
    if (!spl) {
        AfxMessageBox("Failed to create data.", MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    FileChooserOptions options;
    options.filter = kReportFilter;
    options.defaultExt = "txt";
    std::string path;
    if (!PromptSaveFile(options, path))
        return 0;
    CWaitCursor wait;
    CStatusBarFeedback progress;
    return CResultCommands::WriteSPLReport(spl, type, path, &progress);
}
