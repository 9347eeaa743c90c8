#pragma once
// Reads a universal file line by line, from disk or from memory, and knows the byte position of
// every line: the index keeps the position of each dataset's header and the value reader seeks
// back to it. "\n" and "\r\n" both end a line; the line handed out has neither.
//
// A file on disk is mapped into memory read-only: its lines are views of the system's own copy of
// the file, so nothing is copied and a second reader of the same file shares the pages. A file
// that is read whole is instead read into a block of 2 MB pages on several threads at once: every
// page of a mapping costs a fault the first time it is touched, which on a machine whose faults
// are expensive takes longer than the copy. Only regular files are opened: a FIFO, a device or a
// folder is refused with the reason.
//
// A universal file is untrusted: a line longer than kMaxLineLength fails the read (the reader
// reports the end of the data and sets LineTooLong).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/ZeroedBlock.h"

class CUFLineReader
{
public:
    // Universal-file lines are 80 columns; anything near this is not a universal file.
    static constexpr size_t kMaxLineLength = 1u << 20;
    // A file read whole is copied into memory up to this size; a larger one is mapped, so its pages
    // stay the system's to drop.
    static constexpr size_t kMaxCopyBytes = size_t{1} << 30;

    CUFLineReader() = default;
    ~CUFLineReader();
    CUFLineReader(const CUFLineReader&) = delete;
    CUFLineReader& operator=(const CUFLineReader&) = delete;

    // Opens a regular file for reading; false when it cannot be opened or is no regular file
    // (GetOpenError says why; errno is kept for the system's failures). whole: the caller reads
    // the whole file, which is then read into memory on up to threads threads (0: one per core),
    // or, when larger than kMaxCopyBytes, mapped and its pages mapped in a part at a time by the
    // delimiter search's threads; a reader of a part of a large file leaves it unset, so only the
    // pages it reads are mapped.
    bool Open(const std::string& path, bool whole = false, int threads = 0);
    // Reads from text held elsewhere that outlives the reader (tests, fuzzing, clipboard, a file
    // another reader has open).
    void OpenMemory(std::string_view text, const std::string& name = std::string());
    void Close();
    bool IsOpen() const { return m_mapped || m_memory || m_copied.data(); }
    const std::string& GetFilePath() const { return m_path; }
    // Why the last Open failed.
    const std::string& GetOpenError() const { return m_openError; }
    // Every byte of the open file or text.
    std::string_view GetData() const { return m_data; }

    // The next line without its line end, valid while the reader (or the memory text) is open;
    // false at the end of the data and on a line longer than kMaxLineLength.
    bool ReadLine(std::string_view& line);
    bool ReadLine(std::string& line);
    // Passes over lines up to the next one that opens or closes a dataset ("    -1" and nothing but
    // blanks) and hands that one out: what ReadLine does until uf::IsDelimiter holds, a line too
    // long included, but the bytes between are searched block by block rather than line by line.
    bool ReadToDelimiter(std::string_view& line);
    // Threads the delimiter search may use ahead of the reader (0: one per core). The search of a
    // large file then runs on every core; its results are the same on any number of threads.
    void SetSearchThreads(int threads) { m_searchThreads = threads; }

    // Byte position of the next line.
    uint64_t Tell() const { return m_pos; }
    // Moves to a byte position; false when it lies beyond the end.
    bool Seek(uint64_t offset);
    // Size of the file or text in bytes; 0 when nothing is open.
    uint64_t GetSize() const { return m_data.size(); }
    bool LineTooLong() const { return m_tooLong; }

private:
    // Lists the line starts in [from, from + the window's size) that begin "    -1" and those of
    // lines longer than kMaxLineLength; from is a line start.
    void SearchAhead(size_t from);
    void ForgetSearch();
    // Reads the size bytes of fd into m_copied on up to threads threads; false when the file does
    // not give them all (m_copied is then released).
    bool CopyWhole(int fd, size_t size, int threads);

    bool m_mapped = false;
    bool m_memory = false;
    bool m_mapAhead = false; // the search maps the pages of what it searches first
    std::string m_path;
    std::string m_openError;
    CZeroedBlock m_copied;   // the bytes of a file read whole
    std::string_view m_data; // the mapped, copied (or memory) bytes
    size_t m_pos = 0;
    bool m_tooLong = false;
    int m_searchThreads = 1;
    // What SearchAhead found: line starts in [m_searchBegin, m_searchEnd), in file order.
    size_t m_searchBegin = 0;
    size_t m_searchEnd = 0;
    std::vector<size_t> m_delimiterStarts;
    std::vector<size_t> m_longStarts;
};
