#include "app/ui/ModelImporter.h"

#include "app/ModelProject.h"
#include "app/ProjectHistory.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "app/ui/DlgImportHSEAModel.h"
#include "app/ui/DlgNewModel.h"
#include "models/ASEAModelData.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WaitCursor.h"

#include <memory>

namespace {

// The source the user chose in the new-model dialog; -1 when cancelled.
int AskSource(QWidget* parent)
{
    CDlgNewModel dlg(parent);
    if (dlg.DoModal() != IDOK)
        return -1;
    return dlg.m_source;
}

// The SOLMOX project's history goes under the document's own.
void AddHistory(CTALVODoc& document, CDlgImportHSEAModel& dlg)
{
    std::unique_ptr<CProjectHistory> history = dlg.TakeProjectHistory();
    if (history && document.GetProjectHistory())
        document.GetProjectHistory()->AddChild(std::move(history));
}
} // namespace

CModelImporter::CModelImporter(CTALVODoc& document, QWidget* parent)
    : m_document(document), m_container(document.GetTALVOProject()), m_parent(parent)
{}

CModelImporter::~CModelImporter() = default;

std::string CModelImporter::AskProjectFile() const
{
    FileChooserOptions options;
    options.filter = LoadString(IDS_SOLMOX_PROJECT_FILTER);
    options.title = LoadString(IDS_SOLMOX_PROJECT_TITLE);
    std::string path;
    if (!PromptOpenFile(options, path))
        return {};
    return path;
}

int CModelImporter::NewModel()
{
    CWaitCursor wait;
    m_modelProject = nullptr;
    switch (AskSource(m_parent)) {
    case CDlgNewModel::kFromSolmox:
        return NewModelFromSolmox();
    case CDlgNewModel::kFromFile:
        m_modelProject = m_container.CreateModelProject(&*CStatusBarFallback(nullptr));
        return m_modelProject != nullptr;
    default:
        return 0;
    }
}

std::unique_ptr<CDlgImportHSEAModel> CModelImporter::ExportFromSolmox(bool withDialog) const
{
    const std::string file = AskProjectFile();
    if (file.empty())
        return nullptr;
    auto dlg = std::make_unique<CDlgImportHSEAModel>(file, m_parent);
    const bool exported = withDialog ? dlg->DoModal() == IDOK : dlg->ExportWithoutDialog();
    return exported ? std::move(dlg) : nullptr;
}

int CModelImporter::NewModelFromSolmox()
{
    // The dialog holds SOLMOX and the files it wrote; both go with it once the model is read.
    std::unique_ptr<CDlgImportHSEAModel> dlg = ExportFromSolmox(true);
    if (!dlg)
        return 0;
    m_analyticalFile = dlg->GetAnalyticalModelFile();
    m_hseaFile = dlg->GetHSEAModelFile();
    m_modelProject =
        m_container.CreateModelProjectFromFiles(m_analyticalFile, m_hseaFile, &*CStatusBarFallback(nullptr));
    if (!m_modelProject)
        return 0;
    AddHistory(m_document, *dlg);
    return 1;
}

int CModelImporter::ImportASEAModel()
{
    CModelProject* project = m_container.GetModelProject();
    if (!project)
        return 0;
    CWaitCursor wait;
    m_modelData = nullptr;
    switch (AskSource(m_parent)) {
    case CDlgNewModel::kFromSolmox:
        return ASEAModelFromSolmox(project);
    case CDlgNewModel::kFromFile:
        m_modelData = project->ShowModelInformation(project->GetASEAModelData(), &*CStatusBarFallback(nullptr));
        return m_modelData != nullptr;
    default:
        return 0;
    }
}

int CModelImporter::ASEAModelFromSolmox(CModelProject* project)
{
    std::unique_ptr<CDlgImportHSEAModel> dlg = ExportFromSolmox(false);
    if (!dlg)
        return 0;
    m_analyticalFile = dlg->GetAnalyticalModelFile();
    auto model = std::make_unique<CASEAModelData>(project);
    if (!model->BuildFromModel(m_analyticalFile, &*CStatusBarFallback(nullptr))) {
        AfxMessageBox(IDS_MODEL_NOT_CREATED);
        return 0;
    }
    m_modelData = project->ReplaceModel(std::move(model), &*CStatusBarFallback(nullptr));
    if (!m_modelData)
        return 0;
    AddHistory(m_document, *dlg);
    return 1;
}

int CModelImporter::ImportModelData()
{
    CModelProject* project = m_container.GetModelProject();
    if (!project)
        return 0;
    CWaitCursor wait;
    switch (AskSource(m_parent)) {
    case CDlgNewModel::kFromSolmox:
        return ModelDataFromSolmox(project);
    case CDlgNewModel::kFromFile:
        return m_container.ImportModelFileDialog(project, &*CStatusBarFallback(nullptr));
    default:
        return 0;
    }
}

int CModelImporter::ModelDataFromSolmox(CModelProject* project)
{
    std::unique_ptr<CDlgImportHSEAModel> dlg = ExportFromSolmox(true);
    if (!dlg)
        return 0;
    m_hseaFile = dlg->GetHSEAModelFile();
    // Without a chosen HSEA model there are no model data to read.
    if (m_hseaFile.empty() || !m_container.ImportModelFile(project, m_hseaFile, &*CStatusBarFallback(nullptr)))
        return 0;
    AddHistory(m_document, *dlg);
    return 1;
}
