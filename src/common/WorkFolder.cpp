#include "common/WorkFolder.h"

#include "common/ProjectLookups.h"

#include "platform/base/Format.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

std::string DocumentFolderOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string WorkFolderOf(const std::string& documentFolder)
{
    if (documentFolder.empty())
        return std::string();
    std::string pattern;
    if (!LoadString(IDS_WORK_FOLDER_PATTERN, pattern))
        pattern = "%sDAQ";
    return Format(pattern.c_str(), documentFolder.c_str());
}

std::string GetDocumentFolder(const IProjectLookups* project)
{
    return project ? DocumentFolderOf(project->GetDocumentPath()) : std::string();
}

std::string GetWorkFolderPath(const IProjectLookups* project)
{
    return WorkFolderOf(GetDocumentFolder(project));
}
