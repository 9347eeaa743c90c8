#include "acquisition/DaqPictureFolder.h"

#include "platform/base/Format.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"

#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

CDaqPictureFolder::CDaqPictureFolder(const std::string& workFolder, const std::string& item)
    : m_item(item), m_valid(IsValidItemName(item) && !workFolder.empty())
{
    if (!workFolder.empty())
        m_folder = (fs::path(workFolder) / MessageTextOf(IDS_FOLDER_NAME)).string();
}

bool CDaqPictureFolder::IsValidItemName(const std::string& item)
{
    if (item.empty() || item == "." || item.find("..") != std::string::npos)
        return false;
    for (unsigned char c : item)
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == '*' || c == '?')
            return false;
    return true;
}

bool CDaqPictureFolder::IsPictureOf(const std::string& item, const std::string& fileName)
{
    if (!IsValidItemName(item) || fileName.size() <= item.size() + 1 || fileName.compare(0, item.size(), item) != 0 ||
        fileName[item.size()] != '~')
        return false;
    size_t i = item.size() + 1;
    const size_t digits = i;
    while (i < fileName.size() && fileName[i] >= '0' && fileName[i] <= '9')
        ++i;
    if (i == digits)
        return false;
    if (i == fileName.size())
        return true;
    if (fileName[i] != '.')
        return false;
    return fileName.find_first_of("/\\", i) == std::string::npos;
}

std::string CDaqPictureFolder::PathOf(const std::string& fileName) const
{
    if (!m_valid || !IsPictureOf(m_item, fileName))
        return std::string();
    return (fs::path(m_folder) / fileName).string();
}

int CDaqPictureFolder::List(std::vector<std::string>& names) const
{
    if (!m_valid)
        return 0;
    std::error_code ec;
    fs::create_directories(m_folder, ec);
    int count = 0;
    for (fs::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || !IsPictureOf(m_item, name))
            continue;
        names.push_back(name);
        ++count;
    }
    return count;
}

std::string CDaqPictureFolder::AddCopy(const std::string& source) const
{
    std::error_code ec;
    if (!m_valid || source.empty() || !fs::is_regular_file(source, ec))
        return std::string();
    fs::create_directories(m_folder, ec);
    std::string extension = fs::path(source).extension().string();
    // The extension becomes part of our file name: it must not lead anywhere else.
    if (extension.find_first_of("/\\") != std::string::npos)
        extension.clear();
    // The whole file is copied under a temporary name first, then linked to its final name, which
    // fails rather than replace a picture that is there already.
    const fs::path temporary = fs::path(m_folder) / Format(".%s.%d.part", m_item.c_str(), int(getpid()));
    fs::remove(temporary, ec);
    if (!fs::copy_file(source, temporary, fs::copy_options::none, ec))
        return std::string();
    std::string added;
    for (int n = 1; n <= kMaxNumber && added.empty(); ++n) {
        const std::string name = Format("%s~%d%s", m_item.c_str(), n, extension.c_str());
        const fs::path target = fs::path(m_folder) / name;
        if (fs::exists(target, ec))
            continue;
        std::error_code linkError;
        fs::create_hard_link(temporary, target, linkError);
        if (!linkError) {
            added = name;
        } else if (!fs::exists(target, ec)) {
            // A file system without hard links: a copy that refuses to overwrite.
            std::error_code copyError;
            if (fs::copy_file(temporary, target, fs::copy_options::none, copyError))
                added = name;
            else if (!fs::exists(target, ec))
                break;
        }
    }
    fs::remove(temporary, ec);
    return added;
}

bool CDaqPictureFolder::Remove(const std::string& fileName) const
{
    const std::string path = PathOf(fileName);
    if (path.empty())
        return false;
    std::error_code ec;
    return fs::remove(path, ec) && !ec;
}
