#include "platform/base/RegularFile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string KindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "it is a folder, not a file";
    if (S_ISFIFO(mode))
        return "it is a pipe, not a file";
    if (S_ISSOCK(mode))
        return "it is a socket, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "it is a device, not a file";
    return "it is not a regular file";
}
} // namespace

int OpenRegularFileDescriptor(const std::string& path, std::string* why)
{
    // Without waiting: a FIFO opens at once instead of blocking until a writer comes.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (why)
            *why = std::strerror(errno);
        return -1;
    }
    struct stat st
    {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (why)
            *why = KindOf(st.st_mode);
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

std::FILE* OpenRegularFile(const std::string& path, std::string* why)
{
    const int fd = OpenRegularFileDescriptor(path, why);
    if (fd < 0)
        return nullptr;
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        if (why)
            *why = std::strerror(errno);
        ::close(fd);
    }
    return file;
}

bool IsRegularFile(const std::string& path, std::string* why)
{
    struct stat st
    {};
    if (::stat(path.c_str(), &st) != 0) {
        if (why)
            *why = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        if (why)
            *why = KindOf(st.st_mode);
        return false;
    }
    return true;
}
