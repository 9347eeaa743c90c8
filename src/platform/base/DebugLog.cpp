#include "platform/base/DebugLog.h"

#include "platform/base/Format.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>

namespace {
std::mutex g_mutex;
std::string g_path;

std::string DefaultPath()
{
    if (const char* env = std::getenv("ORVEX_DEBUG_LOG"); env && *env)
        return env;
    std::error_code ec;
    const auto dir = std::filesystem::temp_directory_path(ec);
    return ((ec ? std::filesystem::path("/tmp") : dir) / "orvex-debug.log").string();
}
} // namespace

void CDebugLog::Write(const std::string& line)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    const std::string path = g_path.empty() ? DefaultPath() : g_path;
    std::FILE* f = std::fopen(path.c_str(), "a");
    if (!f)
        return;
    char stamp[32] = "";
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (localtime_r(&now, &tm))
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &tm);
    std::fprintf(f, "%s\t%s\n", stamp, line.c_str());
    std::fclose(f);
}

void CDebugLog::Writef(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = FormatV(format, args);
    va_end(args);
    Write(text);
}

void CDebugLog::SetPath(const std::string& path)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_path = path;
}

std::string CDebugLog::GetPath()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_path.empty() ? DefaultPath() : g_path;
}
