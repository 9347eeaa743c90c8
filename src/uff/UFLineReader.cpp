#include "uff/UFLineReader.h"

#include <algorithm>
#include <cstring>

#include <sys/stat.h>

namespace {
constexpr size_t kChunk = 1u << 16;
}

CUFLineReader::~CUFLineReader()
{
    Close();
}

bool CUFLineReader::Open(const std::string& path)
{
    Close();
    m_file = std::fopen(path.c_str(), "rb");
    if (!m_file)
        return false;
    m_path = path;
    return true;
}

void CUFLineReader::OpenMemory(std::string_view text, const std::string& name)
{
    Close();
    m_memory = true;
    m_data = text;
    m_eof = true;
    m_path = name;
}

void CUFLineReader::Close()
{
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
    m_memory = false;
    m_buffer.clear();
    m_data = {};
    m_bufferStart = 0;
    m_pos = 0;
    m_chunk = kChunk;
    m_eof = false;
    m_tooLong = false;
    m_error = false;
}

// Keeps the unread tail and appends the next chunk of the file; false when nothing was added.
bool CUFLineReader::Fill()
{
    if (m_eof || !m_file)
        return false;
    const size_t tail = m_data.size() - m_pos;
    if (m_pos > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_pos, tail);
        m_bufferStart += m_pos;
        m_pos = 0;
    }
    m_buffer.resize(tail + m_chunk);
    const size_t got = std::fread(m_buffer.data() + tail, 1, m_chunk, m_file);
    // Later fetches go back to whole chunks: a hint only sizes the first.
    const bool full = got == m_chunk;
    m_chunk = kChunk;
    if (!full) {
        m_eof = true;
        if (std::ferror(m_file))
            m_error = true;
    }
    m_buffer.resize(tail + got);
    m_data = std::string_view(m_buffer.data(), m_buffer.size());
    return got > 0;
}

bool CUFLineReader::ReadLine(std::string_view& line)
{
    if (m_tooLong || m_error)
        return false;
    size_t searchFrom = m_pos;
    for (;;) {
        const char* begin = m_data.data() + m_pos;
        const size_t avail = m_data.size() - m_pos;
        const size_t searched = searchFrom - m_pos;
        const void* nl = avail > searched ? std::memchr(begin + searched, '\n', avail - searched) : nullptr;
        if (nl) {
            size_t len = static_cast<const char*>(nl) - begin;
            if (len > kMaxLineLength) {
                m_tooLong = true;
                return false;
            }
            m_pos += len + 1;
            if (len > 0 && begin[len - 1] == '\r')
                --len;
            line = std::string_view(begin, len);
            return true;
        }
        if (avail > kMaxLineLength) {
            m_tooLong = true;
            return false;
        }
        const size_t before = avail;
        if (!Fill()) {
            if (avail == 0)
                return false;
            // The last line has no line end.
            begin = m_data.data() + m_pos;
            size_t len = m_data.size() - m_pos;
            m_pos = m_data.size();
            if (len > 0 && begin[len - 1] == '\r')
                --len;
            line = std::string_view(begin, len);
            return true;
        }
        searchFrom = m_pos + before;
    }
}

bool CUFLineReader::ReadLine(std::string& line)
{
    std::string_view view;
    if (!ReadLine(view))
        return false;
    line.assign(view.data(), view.size());
    return true;
}

void CUFLineReader::SetReadHint(uint64_t bytes)
{
    constexpr uint64_t kLeast = 4096;
    m_chunk = static_cast<size_t>(std::clamp<uint64_t>(bytes, kLeast, kChunk));
}

uint64_t CUFLineReader::GetSize() const
{
    if (m_memory)
        return m_data.size();
    struct stat st
    {};
    if (!m_file || fstat(fileno(m_file), &st) != 0 || st.st_size < 0)
        return 0;
    return static_cast<uint64_t>(st.st_size);
}

bool CUFLineReader::Seek(uint64_t offset)
{
    m_tooLong = false;
    if (m_memory) {
        if (offset > m_data.size())
            return false;
        m_pos = static_cast<size_t>(offset);
        return true;
    }
    if (!m_file)
        return false;
    if (offset >= m_bufferStart && offset <= m_bufferStart + m_data.size()) {
        m_pos = static_cast<size_t>(offset - m_bufferStart);
        return true;
    }
    if (offset > static_cast<uint64_t>(INT64_MAX) || fseeko(m_file, static_cast<off_t>(offset), SEEK_SET) != 0)
        return false;
    // A position beyond the end is refused like the end of a memory text.
    if (fseeko(m_file, 0, SEEK_END) != 0)
        return false;
    const off_t size = ftello(m_file);
    if (size < 0 || offset > static_cast<uint64_t>(size) || fseeko(m_file, static_cast<off_t>(offset), SEEK_SET) != 0)
        return false;
    m_buffer.clear();
    m_data = {};
    m_bufferStart = offset;
    m_pos = 0;
    m_eof = false;
    m_error = false;
    return true;
}
