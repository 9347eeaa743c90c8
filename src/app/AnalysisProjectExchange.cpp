#include "app/AnalysisProjectExchange.h"

#include "app/AnalysisProject.h"
#include "app/TALVOProject.h"
#include "platform/archive/Archive.h"

void ExportAnalysisProject(CAnalysisProject& project, const std::string& path)
{
    // The archive over a path writes a temporary file that replaces the target on Close.
    CArchive ar(path, CArchive::store);
    ar.WriteObject(&project);
    ar.Close();
}

CAnalysisProject* ImportAnalysisProject(CTALVOProject& container, const std::string& path, CFeedback* feedback)
{
    CArchive ar(path, CArchive::load);
    ar.SetFeedback(feedback);
    auto project = ar.ReadOwned<CAnalysisProject>();
    if (!project)
        CArchive::Throw(CArchiveException::badClass, "The file holds no analysis project.");
    // The file holds one analysis project and nothing else.
    ar.ExpectEnd("analysis project");
    return container.AddImportedAnalysisProject(std::move(project));
}
