#include "app/ui/ProjectFileCommands.h"

#include "app/AnalysisProject.h"
#include "app/AnalysisProjectExchange.h"
#include "app/ModelProject.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "models/HSEAModelData.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

namespace {
FileChooserOptions ExchangeFileOptions(const char* title)
{
    FileChooserOptions options;
    options.title = title;
    options.filter = kAnalysisProjectFilter;
    options.defaultExt = "oap";
    options.overwritePrompt = true;
    return options;
}
} // namespace

int CProjectFileCommands::ExportAnalysisProject(CTALVODoc& doc)
{
    auto* project = DynamicDowncast<CAnalysisProject>(GetTALVOApp().GetProject(-1));
    if (!project)
        return 0;
    FileChooserOptions options = ExchangeFileOptions("Export Analysis Project");
    options.initialName = project->GetName();
    std::string path;
    if (!PromptSaveFile(options, path))
        return 0;
    return doc.ExportAnalysisProjectFile(path, &*CStatusBarFallback(nullptr));
}

CAnalysisProject* CProjectFileCommands::ImportAnalysisProject(CTALVODoc& doc)
{
    std::string path;
    if (!PromptOpenFile(ExchangeFileOptions("Import Analysis Project"), path))
        return nullptr;
    return doc.ImportAnalysisProjectFile(path, &*CStatusBarFallback(nullptr));
}

int CProjectFileCommands::ExportHSEAModelText(CTALVODoc& doc)
{
    CModelProject* project = doc.GetTALVOProject().GetModelProject();
    CHSEAModelData* model = project ? project->GetHSEAModelData() : nullptr;
    if (!model)
        return 0;
    FileChooserOptions options;
    options.defaultExt = "txt";
    options.initialName = model->GetName();
    options.filter = LoadString(IDS_MODEL_DATA_FILTER);
    options.title = LoadString(IDS_EXPORT_HSEA_TITLE);
    options.overwritePrompt = true;
    std::string path;
    if (!PromptSaveFile(options, path))
        return 0;
    return doc.ExportHSEAModelText(path, &*CStatusBarFallback(nullptr));
}

CZuData* CProjectFileCommands::ReadModelData(CTALVODoc& doc)
{
    if (!doc.GetTALVOProject().GetModelProject())
        return nullptr;
    FileChooserOptions options;
    options.defaultExt = "dmd";
    options.filter = LoadString(IDS_MODEL_DATA_FILTER);
    options.title = LoadString(IDS_OPEN_MODEL_DATA);
    std::string path;
    if (!PromptOpenFile(options, path))
        return nullptr;
    return doc.ReadModelDataFile(path, &*CStatusBarFallback(nullptr));
}

bool CProjectFileCommands::RemoveProjectAt(CTALVODoc& doc, int index)
{
    // The model project is refused without a question; an index of no project asks nothing.
    if (index != 0 && (index < 0 || index >= doc.GetTALVOProject().GetProjectCount()))
        return false;
    if (index != 0 && AfxMessageBox(IDS_REMOVE_SELECTED_PROJECT, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return false;
    return doc.RemoveProjectAt(index, &*CStatusBarFallback(nullptr));
}

bool CProjectFileCommands::ChooseModelDataFile(std::string& path)
{
    FileChooserOptions options;
    options.filter = LoadString(IDS_MODEL_DATA_FILTER);
    options.title = LoadString(IDS_MODEL_OPEN_TITLE);
    options.allowMultiple = true;
    std::vector<std::string> paths;
    if (!PromptOpenFiles(options, paths) || paths.empty())
        return false;
    path = paths.front();
    return true;
}

bool CProjectFileCommands::ChooseDumpFile(std::string& path)
{
    FileChooserOptions options;
    options.filter = "Text Files(*.txt)|*.txt|All Files(*.*)|*.*||";
    options.defaultExt = "txt";
    return PromptSaveFile(options, path);
}
