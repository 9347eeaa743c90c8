#pragma once
// Reads a universal file line by line, from disk or from memory, and knows the byte position of
// every line: the index keeps the position of each dataset's header and the value reader seeks
// back to it. "\n" and "\r\n" both end a line; the line handed out has neither.
//
// A universal file is untrusted: a line longer than kMaxLineLength fails the read (the reader
// reports the end of the data and sets LineTooLong), so a file without line ends cannot make us
// hold it whole.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

class CUFLineReader
{
public:
    // Universal-file lines are 80 columns; anything near this is not a universal file.
    static constexpr size_t kMaxLineLength = 1u << 20;

    CUFLineReader() = default;
    ~CUFLineReader();
    CUFLineReader(const CUFLineReader&) = delete;
    CUFLineReader& operator=(const CUFLineReader&) = delete;

    // Opens a file for reading; false (errno kept) when it cannot be opened.
    bool Open(const std::string& path);
    // Reads from text held elsewhere that outlives the reader (tests, fuzzing, clipboard).
    void OpenMemory(std::string_view text, const std::string& name = std::string());
    void Close();
    bool IsOpen() const { return m_file != nullptr || m_memory; }
    const std::string& GetFilePath() const { return m_path; }

    // The next line without its line end, valid until the next call; false at the end of the data,
    // on a read error and on a line longer than kMaxLineLength.
    bool ReadLine(std::string_view& line);
    bool ReadLine(std::string& line);
    // Byte position of the next line.
    uint64_t Tell() const { return m_bufferStart + m_pos; }
    // Moves to a byte position; false when it lies beyond the end or the file cannot seek.
    bool Seek(uint64_t offset);
    // The bytes the caller expects to read from here on: a reader of one small dataset then fetches
    // a little more than it, not a whole chunk of the file.
    void SetReadHint(uint64_t bytes);
    // Size of the file or text in bytes; 0 when nothing is open.
    uint64_t GetSize() const;
    bool LineTooLong() const { return m_tooLong; }
    bool ReadError() const { return m_error; }

private:
    bool Fill();

    std::FILE* m_file = nullptr;
    bool m_memory = false;
    std::string m_path;
    std::vector<char> m_buffer; // file data from m_bufferStart
    std::string_view m_data;    // the buffered (or memory) bytes
    uint64_t m_bufferStart = 0;
    size_t m_chunk = 1u << 16; // bytes fetched at a time
    size_t m_pos = 0;
    bool m_eof = false;
    bool m_tooLong = false;
    bool m_error = false;
};
