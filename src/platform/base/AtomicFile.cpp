#include "platform/base/AtomicFile.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The folder the target lies in: the temporary file is made there, so the rename never crosses
// file systems, and it is the folder synced after the rename.
std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}
std::string NameOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The temporary files of a target are named ".<name>.tmp-" and six characters of mkstemp.
constexpr const char* kTempInfix = ".tmp-";
constexpr size_t kTempSuffixLength = 6;

bool IsTemporaryOf(const std::string& entry, const std::string& name)
{
    const std::string prefix = "." + name + kTempInfix;
    return entry.size() == prefix.size() + kTempSuffixLength && entry.compare(0, prefix.size(), prefix) == 0;
}

// Temporary files being written by this process right now: never stale.
std::mutex g_openMutex;
std::set<std::string>& OpenTemporaries()
{
    static std::set<std::string> open;
    return open;
}

void Register(const std::string& temp, bool open)
{
    std::lock_guard<std::mutex> lock(g_openMutex);
    if (open)
        OpenTemporaries().insert(temp);
    else
        OpenTemporaries().erase(temp);
}

// A file larger than the process may write raises SIGXFSZ, which ends the program: ignored, the
// write fails with EFBIG instead, which a save reports with the previous file intact.
void IgnoreFileSizeSignal()
{
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}
} // namespace

std::string CAtomicFile::ResolveTarget(const std::string& path)
{
    // Saving through a symbolic link writes the file it points to; the link stays a link.
    std::error_code ec;
    const std::filesystem::path p(path);
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(p, ec)))
        return path;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(p, ec);
    return ec ? path : resolved.string();
}

int CAtomicFile::RemoveStaleTemporaries(const std::string& targetPath)
{
    const std::string target = ResolveTarget(targetPath);
    const std::string name = NameOf(target);
    std::error_code ec;
    int removed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FolderOf(target), ec)) {
        const std::string entryName = entry.path().filename().string();
        if (!IsTemporaryOf(entryName, name) || !entry.is_regular_file(ec))
            continue;
        {
            std::lock_guard<std::mutex> lock(g_openMutex);
            if (OpenTemporaries().count(entry.path().string()))
                continue;
        }
        if (std::filesystem::remove(entry.path(), ec))
            ++removed;
    }
    return removed;
}

CAtomicFile::CAtomicFile(std::string targetPath) : m_target(std::move(targetPath)) {}

CAtomicFile::~CAtomicFile()
{
    Discard();
}

bool CAtomicFile::Open()
{
    Discard();
    m_error.clear();
    m_failed = false;
    m_streaming = true;
    m_written = m_handed = m_released = 0;
    IgnoreFileSizeSignal();
    m_target = ResolveTarget(m_target);
    // A file the user made read-only is not replaced behind their back (the rename would do it,
    // as the folder is writable).
    struct stat existing
    {};
    if (::stat(m_target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode) &&
        ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(m_target.c_str(), W_OK) != 0)) {
        m_error = "The file " + m_target + " is read-only.";
        return false;
    }
    // What a save killed part way left behind is of no use to anyone.
    RemoveStaleTemporaries(m_target);
    const std::string folder = FolderOf(m_target);
    std::string pattern = folder + "/." + NameOf(m_target) + kTempInfix + "XXXXXX";
    int fd = mkstemp(pattern.data());
    if (fd < 0) {
        m_error = "Cannot create a file in " + folder + ": " + std::strerror(errno);
        return false;
    }
    // Keep the permissions of the file we replace; new files get the usual ones.
    struct stat st
    {};
    if (::stat(m_target.c_str(), &st) == 0)
        ::fchmod(fd, st.st_mode & 07777);
    else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    m_file = ::fdopen(fd, "wb");
    if (!m_file) {
        m_error = std::strerror(errno);
        ::close(fd);
        ::unlink(pattern.c_str());
        return false;
    }
    m_temp = pattern;
    Register(m_temp, true);
    return true;
}

bool CAtomicFile::Write(const void* data, size_t size)
{
    if (!m_file || m_failed)
        return false;
    if (size && std::fwrite(data, 1, size, m_file) != size) {
        m_failed = true;
        m_error = std::string("Write error: ") + std::strerror(errno);
        return false;
    }
    m_written += size;
    if (m_streaming && m_written - m_handed >= kStreamBytes)
        StreamOut();
    return !m_failed;
}

void CAtomicFile::StreamOut()
{
    if (std::fflush(m_file) != 0) {
        m_failed = true;
        m_error = std::string("Write error: ") + std::strerror(errno);
        return;
    }
    // Stretches end on a boundary of whole pages: a page cut by the end of a stretch would go to
    // the disk with it and be written into again by the next bytes, and the wait for the stretch
    // would then wait for that page's second write, which goes out with the next stretch. The
    // bytes after the boundary go with the next stretch.
    const size_t end = m_written & ~(kStreamAlign - 1);
    if (end <= m_handed)
        return;
    const int fd = ::fileno(m_file);
    const auto offset = [](size_t at) { return static_cast<off_t>(at); };
    if (::sync_file_range(fd, offset(m_handed), offset(end - m_handed), SYNC_FILE_RANGE_WRITE) != 0) {
        // A file system that cannot do this gets the whole file synced at Commit, as before.
        m_streaming = false;
        return;
    }
    if (m_handed > m_released) {
        // The stretch handed over before is on the disk by now, or nearly: wait for it, then give
        // its pages back. A failure here is the write's failure: the sync at Commit would no
        // longer report it.
        constexpr unsigned kWaitAndWrite =
            SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
        if (::sync_file_range(fd, offset(m_released), offset(m_handed - m_released), kWaitAndWrite) != 0) {
            m_failed = true;
            m_error = std::string("Write error: ") + std::strerror(errno);
            return;
        }
        ::posix_fadvise(fd, offset(m_released), offset(m_handed - m_released), POSIX_FADV_DONTNEED);
        m_released = m_handed;
    }
    m_handed = end;
}

bool CAtomicFile::Commit()
{
    if (!m_file) {
        if (m_error.empty())
            m_error = "The file was not opened.";
        return false;
    }
    bool ok = !m_failed && std::fflush(m_file) == 0 && ::fsync(::fileno(m_file)) == 0;
    if (!ok && m_error.empty())
        m_error = std::string("Write error: ") + std::strerror(errno);
    if (std::fclose(m_file) != 0 && ok) {
        ok = false;
        m_error = std::string("Write error: ") + std::strerror(errno);
    }
    m_file = nullptr;
    if (ok && ::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        ok = false;
        m_error = "Cannot replace " + m_target + ": " + std::strerror(errno);
    }
    if (ok) {
        // The new name lives in the folder: sync the folder too, so that it survives a crash
        // right after the save.
        const int dfd = ::open(FolderOf(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dfd >= 0) {
            ::fsync(dfd);
            ::close(dfd);
        }
    }
    if (!ok)
        ::unlink(m_temp.c_str());
    Register(m_temp, false);
    m_temp.clear();
    return ok;
}

void CAtomicFile::Discard()
{
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_temp.empty()) {
        ::unlink(m_temp.c_str());
        Register(m_temp, false);
        m_temp.clear();
    }
}

bool CAtomicFile::WriteFile(const std::string& path, const std::string& data, std::string* error)
{
    CAtomicFile f(path);
    bool ok = f.Open() && f.Write(data) && f.Commit();
    if (!ok && error)
        *error = f.ErrorText();
    return ok;
}
