#include "planning/ui/DlgWizGlobalNode.h"

#include "app/TALVOProject.h"
#include "planning/ui/DlgAssignGlobalNode.h"
#include "planning/ui/PlanDialogServices.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "uff/ExtUFDaqProject.h"

#include <filesystem>

CDlgWizGlobalNode::CDlgWizGlobalNode(CExtUFDaqProject* project, QWidget* parent)
    : CZuDlgWizard(parent, kTemplateId), m_project(project)
{
    setObjectName(QStringLiteral("DlgWizGlobalNode"));
    setWindowTitle(QStringLiteral("Global Nodes"));
    UseBackground();
    SetFirstStepId(2001);
    BuildStepColumn({{2001, "Load node table..."}, {2002, "Assign global nodes..."}}, [this](int id) { OnStep(id); });
}

int CDlgWizGlobalNode::RunNodeDialog(CExtUFDaqProject& project, QWidget* parent)
{
    CTALVOProject* owner = project.GetOwner();
    CDlgAssignGlobalNode dialog(&project.GetNodeMap(), owner ? owner->GetModelSubsystemTable() : nullptr,
                                owner ? owner->GetTargetSubsystem() : std::string(),
                                owner ? owner->GetSensorAssignment() : nullptr, parent);
    dialog.SetTableTitle(project.GetName());
    const int result = dialog.DoModal();
    // Opening numbers every local point, so even a cancelled dialog may have changed the map.
    if (owner)
        MarkProjectModified(*owner);
    return result;
}

void CDlgWizGlobalNode::OnStep(int id)
{
    if (!m_project) {
        EndDialog(IDOK);
        return;
    }
    bool show = true;
    if (id == 2001) {
        FileChooserOptions options;
        options.defaultExt = "txt";
        options.initialName = CUFNodeMap::kTableFileName;
        options.filter = LoadString(IDS_MODEL_DATA_FILTER);
        if (const CTALVOProject* owner = m_project->GetOwner(); owner && !owner->GetDocumentPath().empty())
            options.initialFolder = std::filesystem::path(owner->GetDocumentPath()).parent_path().string();
        std::string path;
        show = PromptOpenFile(options, path);
        if (show) {
            CUFNodeMap loaded;
            std::string title;
            try {
                loaded.ReadTextFile(path, title);
                m_project->GetNodeMap() = loaded;
            } catch (const std::exception&) {
                AfxMessageBox(IDS_OPERATION_FAILED, MB_OK | MB_ICONEXCLAMATION);
                show = false;
            }
        }
    }
    if (show)
        RunNodeDialog(*m_project, this);
    EndDialog(IDOK);
}
