#include "platform/elements/StdioFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <sys/stat.h>

#include "platform/archive/Archive.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/LineReader.h"
#include "platform/base/MemoryBudget.h"
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
    m_shared.reset();
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
    m_shared.reset();
    m_readPos = 0;
    m_lineNumber = 0;
    m_readError.clear();
    m_readErrorLine = 0;
}

std::shared_ptr<const std::string> CStdioFile::ReadAll(const std::string& path, std::string* error)
{
    std::string why;
    std::FILE* in = OpenRegularFile(path, &why);
    if (!in) {
        if (error)
            *error = path + ": " + why;
        return nullptr;
    }
    auto text = std::make_shared<std::string>();
    try {
        struct stat st
        {};
        if (::fstat(::fileno(in), &st) == 0 && st.st_size > 0) {
            if (!CMemoryBudget::Fits(static_cast<uint64_t>(st.st_size)))
                throw std::bad_alloc();
            text->reserve(static_cast<size_t>(st.st_size));
        }
        char buffer[1 << 16];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
            text->append(buffer, n);
    } catch (const std::bad_alloc&) {
        why = "the file is larger than memory allows";
        text.reset();
    }
    if (text && std::ferror(in)) {
        why = "read error";
        text.reset();
    }
    std::fclose(in);
    if (!text && error)
        *error = path + ": " + why;
    return text;
}

void CStdioFile::OpenShared(std::shared_ptr<const std::string> text, const std::string& path)
{
    OpenMemory(modeRead);
    m_shared = text ? std::move(text) : std::make_shared<const std::string>();
    m_path = path;
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
    if (m_inMemory) {
        const std::string& text = m_shared ? *m_shared : m_memory;
        CLineReader lines(std::string_view(text).substr(std::min(m_readPos, text.size())));
        std::string_view view;
        if (!lines.Next(view))
            return false;
        line.assign(view);
        m_readPos += lines.GetPos();
        ++m_lineNumber;
        return true;
    }
    // A file on disk is read as it comes, a line at a time, so that its size does not matter; its
    // lines end as CLineReader ends them.
    bool any = false;
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
