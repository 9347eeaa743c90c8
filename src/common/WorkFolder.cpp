#include "common/WorkFolder.h"

#include "platform/base/Format.h"
#include "platform/win/StringTable.h"

namespace {
constexpr uint32_t IDS_WORK_FOLDER_PATTERN = 7046;

std::function<std::string()>& Provider()
{
    static std::function<std::string()> provider;
    return provider;
}
} // namespace

void SetMainDocumentPathProvider(std::function<std::string()> provider)
{
    Provider() = std::move(provider);
}

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

std::string GetDocumentFolder()
{
    return Provider() ? DocumentFolderOf(Provider()()) : std::string();
}

std::string GetWorkFolderPath()
{
    return WorkFolderOf(GetDocumentFolder());
}
