#include "uff/UFLineReader.h"

#include <cerrno>
#include <cstring>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/RegularFile.h"

CUFLineReader::~CUFLineReader()
{
    Close();
}

bool CUFLineReader::Open(const std::string& path, bool whole)
{
    Close();
    m_openError.clear();
    errno = 0;
    const int fd = OpenRegularFileDescriptor(path, &m_openError);
    if (fd < 0) {
        if (errno == 0)
            errno = EINVAL; // no system failure: the path names no regular file
        return false;
    }
    struct stat st
    {};
    if (::fstat(fd, &st) != 0 || st.st_size < 0) {
        const int err = errno;
        m_openError = std::strerror(err);
        ::close(fd);
        errno = err;
        return false;
    }
    const size_t size = static_cast<size_t>(st.st_size);
    void* map = nullptr;
    if (size > 0) {
        // A file read whole has its pages mapped in one go, which costs far less than a fault
        // every few pages while the lines are walked.
        map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | (whole ? MAP_POPULATE : 0), fd, 0);
        if (map == MAP_FAILED) {
            const int err = errno;
            m_openError = std::strerror(err);
            ::close(fd);
            errno = err;
            return false;
        }
    }
    ::close(fd); // the mapping keeps the file
    m_mapped = size > 0;
    m_memory = size == 0;
    m_data = std::string_view(static_cast<const char*>(map), size);
    m_path = path;
    return true;
}

void CUFLineReader::OpenMemory(std::string_view text, const std::string& name)
{
    Close();
    m_memory = true;
    m_data = text;
    m_path = name;
}

void CUFLineReader::Close()
{
    if (m_mapped)
        ::munmap(const_cast<char*>(m_data.data()), m_data.size());
    m_mapped = false;
    m_memory = false;
    m_data = {};
    m_pos = 0;
    m_tooLong = false;
}

bool CUFLineReader::ReadLine(std::string_view& line)
{
    if (m_tooLong || m_pos >= m_data.size())
        return false;
    const char* begin = m_data.data() + m_pos;
    const size_t avail = m_data.size() - m_pos;
    const size_t window = avail < kMaxLineLength + 1 ? avail : kMaxLineLength + 1;
    const void* nl = std::memchr(begin, '\n', window);
    size_t len = 0;
    if (nl) {
        len = static_cast<size_t>(static_cast<const char*>(nl) - begin);
        m_pos += len + 1;
    } else if (avail > kMaxLineLength) {
        m_tooLong = true;
        return false;
    } else {
        len = avail; // the last line has no line end
        m_pos = m_data.size();
    }
    if (len > 0 && begin[len - 1] == '\r')
        --len;
    line = std::string_view(begin, len);
    return true;
}

bool CUFLineReader::ReadLine(std::string& line)
{
    std::string_view view;
    if (!ReadLine(view))
        return false;
    line.assign(view.data(), view.size());
    return true;
}

bool CUFLineReader::Seek(uint64_t offset)
{
    m_tooLong = false;
    if (!IsOpen() || offset > m_data.size())
        return false;
    m_pos = static_cast<size_t>(offset);
    return true;
}
