#include "platform/elements/StdioFile.h"

#include <cerrno>
#include <cstring>

#include "platform/archive/Archive.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/RegularFile.h"

CStdioFile::CStdioFile() = default;

CStdioFile::~CStdioFile()
{
    if (m_in)
        std::fclose(m_in);
    // An unclosed write is discarded by the atomic file's destructor.
}

bool CStdioFile::Open(const std::string& path, Mode mode, std::string* error)
{
    Abort();
    m_path = path;
    m_inMemory = false;
    m_lineNumber = 0;
    m_readError.clear();
    m_readErrorLine = 0;
    if (mode == modeWrite) {
        auto out = std::make_unique<CAtomicFile>(path);
        if (!out->Open()) {
            if (error)
                *error = out->ErrorText();
            return false;
        }
        m_out = std::move(out);
    } else {
        std::string why;
        m_in = OpenRegularFile(path, &why);
        if (m_in == nullptr) {
            if (error)
                *error = path + ": " + why;
            return false;
        }
    }
    m_mode = mode;
    return true;
}

void CStdioFile::OpenMemory(Mode mode, std::string text)
{
    Abort();
    m_inMemory = true;
    m_mode = mode;
    m_memory = mode == modeRead ? std::move(text) : std::string();
    m_readPos = 0;
    m_lineNumber = 0;
    m_readError.clear();
    m_readErrorLine = 0;
}

void CStdioFile::WriteString(const std::string& text)
{
    if (m_mode != modeWrite)
        throw CFileException(m_path + ": not open for writing");
    if (m_inMemory) {
        m_memory += text;
        return;
    }
    if (!m_out->Write(text))
        throw CFileException(m_path + ": " + m_out->ErrorText());
}

bool CStdioFile::ReadString(std::string& line)
{
    if (m_mode != modeRead)
        throw CFileException(m_path + ": not open for reading");
    line.clear();
    bool any = false;
    if (m_inMemory) {
        if (m_readPos >= m_memory.size())
            return false;
        size_t end = m_memory.find('\n', m_readPos);
        size_t stop = end == std::string::npos ? m_memory.size() : end;
        line.assign(m_memory, m_readPos, stop - m_readPos);
        m_readPos = end == std::string::npos ? m_memory.size() : end + 1;
        any = true;
    } else {
        int c;
        while ((c = std::fgetc(m_in)) != EOF) {
            any = true;
            if (c == '\n')
                break;
            if (line.size() >= kMaxLineLength)
                throw CFileException(m_path + ": line too long");
            line.push_back(static_cast<char>(c));
        }
        if (std::ferror(m_in))
            throw CFileException(m_path + ": read error");
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (any)
        ++m_lineNumber;
    return any;
}

void CStdioFile::SetReadError(const std::string& why)
{
    if (!m_readError.empty())
        return;
    m_readError = why;
    m_readErrorLine = m_lineNumber;
}

void CStdioFile::Close()
{
    if (m_in) {
        std::fclose(m_in);
        m_in = nullptr;
    }
    if (m_out) {
        std::unique_ptr<CAtomicFile> out = std::move(m_out);
        m_mode = -1;
        if (!out->Commit())
            throw CFileException(m_path + ": " + out->ErrorText());
    }
    m_mode = -1;
}

void CStdioFile::Abort()
{
    if (m_in) {
        std::fclose(m_in);
        m_in = nullptr;
    }
    if (m_out) {
        m_out->Discard();
        m_out.reset();
    }
    m_mode = -1;
}
