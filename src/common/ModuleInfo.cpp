#include "common/ModuleInfo.h"

#include "platform/base/Format.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

#ifndef ORVEX_VERSION_TEXT
#define ORVEX_VERSION_TEXT "0.0.0"
#endif
#ifndef ORVEX_BUILD_NUMBER
#define ORVEX_BUILD_NUMBER 0
#endif

namespace {

std::string ExecutablePath()
{
    std::error_code ec;
    std::filesystem::path p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
}

// A number of the whole text, or -1.
int ToNumber(const std::string& s)
{
    if (s.empty())
        return -1;
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    if (errno != 0 || end == s.c_str() || *end != '\0' || v < INT_MIN || v > INT_MAX)
        return -1;
    return int(v);
}

struct Version
{
    int major = 0, minor = 0, release = 0, build = 0;
};

Version ProgramVersion()
{
    Version v;
    int a = -1, b = -1, c = -1, unused = -1;
    ParseVersionText(ORVEX_VERSION_TEXT, &a, &b, &c, &unused);
    v.major = a < 0 ? 0 : a;
    v.minor = b < 0 ? 0 : b;
    v.release = c < 0 ? 0 : c;
    v.build = ORVEX_BUILD_NUMBER;
    return v;
}

} // namespace

CModuleInfo::CModuleInfo() = default;

void CModuleInfo::SetModule(const std::string& path)
{
    m_path = path;
}

std::string CModuleInfo::GetFilePath() const
{
    return m_path.empty() ? ExecutablePath() : m_path;
}

std::string CModuleInfo::GetFileName() const
{
    std::string path = GetFilePath();
    return path.empty() ? std::string() : std::filesystem::path(path).filename().string();
}

std::time_t CModuleInfo::GetFileTime() const
{
    std::string path = GetFilePath();
    if (path.empty())
        return 0;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return 0;
    return st.st_mtime;
}

std::string CModuleInfo::GetFileVersionText() const
{
    if (!m_path.empty() && m_path != ExecutablePath())
        return std::string();
    Version v = ProgramVersion();
    return Format("%d.%d.%d build(%d)", v.major, v.minor, v.release, v.build);
}

std::string CModuleInfo::GetProductVersionText() const
{
    return GetFileVersionText();
}

std::string GetModuleDirectory()
{
    std::string path = ExecutablePath();
    if (path.empty())
        return std::string();
    std::string folder = std::filesystem::path(path).parent_path().string();
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

std::string GetProgramVersionText()
{
    Version v = ProgramVersion();
    return Format("%d.%d.%d", v.major, v.minor, v.release);
}

void ParseVersionText(const char* text, int* major, int* minor, int* release, int* build)
{
    int* parts[3] = {major, minor, release};
    for (int* p : parts)
        if (p)
            *p = -1;
    if (build)
        *build = -1;
    if (!text)
        return;
    std::string s(text);
    // The version is the first word; " build(<n>)" follows it.
    size_t space = s.find_first_of(" \t");
    std::string version = s.substr(0, space);
    if (space != std::string::npos && build) {
        size_t open = s.find("build(", space);
        if (open != std::string::npos) {
            size_t first = open + 6;
            size_t close = s.find(')', first);
            if (close != std::string::npos)
                *build = ToNumber(s.substr(first, close - first));
        }
    }
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        size_t dot = version.find('.', start);
        std::string part = version.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (parts[i])
            *parts[i] = ToNumber(part);
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
}
