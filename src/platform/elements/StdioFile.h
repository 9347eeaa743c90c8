#pragma once
// A text file read or written line by line: the data classes write their text exports and dumps
// through it and read their text imports from it. Writing goes to a temporary file that replaces
// the target only on Close, so an export that fails half-way leaves the previous file as it was.
// A file can also live in memory (clipboard texts, tests).
//
// Text is written as given ("\n" stays "\n"); reading takes "\n" and "\r\n" as line ends.
// Failures throw CFileException (platform/archive/Archive.h) with a text naming the file.
#include <cstdio>
#include <memory>
#include <string>

class CAtomicFile;

class CStdioFile
{
public:
    enum Mode
    {
        modeRead = 0,
        modeWrite = 1
    };

    // Lines longer than this are refused when reading (an untrusted file cannot exhaust memory).
    static constexpr size_t kMaxLineLength = 16u << 20;

    CStdioFile();
    ~CStdioFile(); // closes; an unclosed write is discarded
    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;

    // Opens a file on disk; false (with the reason in error when given) when it cannot be opened.
    bool Open(const std::string& path, Mode mode, std::string* error = nullptr);
    // Opens an in-memory file: empty for writing, or over text for reading.
    void OpenMemory(Mode mode, std::string text = {});
    // The whole of a file on disk, read once for readers that each take their own pass over it
    // (OpenShared); null with the reason in error when it cannot be opened or read, or is larger
    // than memory allows.
    static std::shared_ptr<const std::string> ReadAll(const std::string& path, std::string* error = nullptr);
    // Opens for reading over text that other readers share (no copy is made); path names the file
    // in messages.
    void OpenShared(std::shared_ptr<const std::string> text, const std::string& path);
    bool IsOpen() const { return m_mode >= 0; }
    bool IsWriting() const { return m_mode == modeWrite; }

    void WriteString(const std::string& text);
    // Reads the next line without its line end; false at the end of the file.
    bool ReadString(std::string& line);
    // Number of lines read so far: the number of the line ReadString gave last.
    int GetLineNumber() const { return m_lineNumber; }
    // Why a reader refused what it read, kept with the line it was on, so that the caller that
    // reports the failure can name the line (the first reason set wins; readers further up only
    // see that a nested reader failed).
    void SetReadError(const std::string& why);
    const std::string& GetReadError() const { return m_readError; }
    int GetReadErrorLine() const { return m_readErrorLine; }

    // Finishes the file: a written file on disk replaces its target now. Closing a closed file
    // does nothing.
    void Close();
    // Drops what was written; the previous file stays.
    void Abort();

    const std::string& GetFilePath() const { return m_path; }
    void SetFilePath(const std::string& path) { m_path = path; }
    // The text of an in-memory file (what was written, or what is being read).
    const std::string& GetMemoryText() const { return m_shared ? *m_shared : m_memory; }

private:
    int m_mode = -1;
    bool m_inMemory = false;
    std::string m_path;
    std::unique_ptr<CAtomicFile> m_out;
    std::FILE* m_in = nullptr;
    std::string m_memory;
    std::shared_ptr<const std::string> m_shared; // read instead of m_memory when set
    size_t m_readPos = 0;
    int m_lineNumber = 0;
    std::string m_readError;
    int m_readErrorLine = 0;
};
