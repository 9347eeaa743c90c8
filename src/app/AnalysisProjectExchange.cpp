#include "app/AnalysisProjectExchange.h"

#include "app/AnalysisProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOApp.h"
#include "app/TALVOProject.h"
#include "platform/archive/Archive.h"
#include "platform/win/PromptService.h"

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

void ExportAnalysisProject(CAnalysisProject& project, const std::string& path)
{
    // The archive over a path writes a temporary file that replaces the target on Close.
    CArchive ar(path, CArchive::store);
    ar.WriteObject(&project);
    ar.Close();
}

CAnalysisProject* ImportAnalysisProject(CTALVOProject& container, const std::string& path)
{
    CArchive ar(path, CArchive::load);
    auto project = ar.ReadOwned<CAnalysisProject>();
    if (!project)
        CArchive::Throw(CArchiveException::badClass, "The file holds no analysis project.");
    // The file holds one analysis project and nothing else.
    ar.ExpectEnd("analysis project");
    return container.AddImportedAnalysisProject(std::move(project));
}

int ExportAnalysisProjectDialog()
{
    auto* project = DynamicDowncast<CAnalysisProject>(GetTALVOApp().GetProject(-1));
    if (!project)
        return 0;
    FileChooserOptions options = ExchangeFileOptions("Export Analysis Project");
    options.initialName = project->GetName();
    std::string path;
    if (!PromptSaveFile(options, path))
        return 0;
    ExportAnalysisProject(*project, path);
    return 1;
}

CAnalysisProject* ImportAnalysisProjectDialog(CTALVODoc& doc)
{
    std::string path;
    if (!PromptOpenFile(ExchangeFileOptions("Import Analysis Project"), path))
        return nullptr;
    CAnalysisProject* project = ImportAnalysisProject(doc.GetTALVOProject(), path);
    doc.AddProjectToViews(project);
    // The imported analysis lives only in memory until the document is saved.
    doc.SetModifiedFlag();
    return project;
}
