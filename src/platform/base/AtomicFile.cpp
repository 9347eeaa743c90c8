#include "platform/base/AtomicFile.h"

#include <cerrno>
#include <cstring>
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
} // namespace

CAtomicFile::CAtomicFile(std::string targetPath) : m_target(std::move(targetPath)) {}

CAtomicFile::~CAtomicFile() { Discard(); }

bool CAtomicFile::Open()
{
    Discard();
    m_error.clear();
    m_failed = false;
    const std::string folder = FolderOf(m_target);
    const auto slash = m_target.find_last_of('/');
    std::string name = slash == std::string::npos ? m_target : m_target.substr(slash + 1);
    std::string pattern = folder + "/." + name + ".tmp-XXXXXX";
    int fd = mkstemp(pattern.data());
    if (fd < 0) {
        m_error = "Cannot create a file in " + folder + ": " + std::strerror(errno);
        return false;
    }
    // Keep the permissions of the file we replace; new files get the usual ones.
    struct stat st{};
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
    return true;
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
