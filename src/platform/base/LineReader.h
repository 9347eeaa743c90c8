#pragma once
// The lines of a text held in memory (a file read whole, a pasted text, an answer from a server),
// as every text reader of the program takes them: a line ends at "\n" or at the end of the text,
// a carriage return before that end is dropped ("\r\n" files read like "\n" files), and a final
// "\n" begins no further line ("a\n" is one line, "a\n\n" two, the second empty; an empty text
// has none). A line may be of any length and may hold any byte, NUL included: lines are views into
// the text, which must outlive the reader, and a reader that limits lengths checks what it gets.
#include <cstddef>
#include <string_view>

class CLineReader
{
public:
    explicit CLineReader(std::string_view text = {}) : m_text(text) {}

    // The next line without its line end; false at the end of the text.
    bool Next(std::string_view& line);
    // Number of the line Next gave last: 1 for the first, 0 before it.
    size_t GetLineNumber() const { return m_lineNumber; }
    // Where the next line begins in the text.
    size_t GetPos() const { return m_pos; }
    bool AtEnd() const { return m_pos >= m_text.size(); }

private:
    std::string_view m_text;
    size_t m_pos = 0;
    size_t m_lineNumber = 0;
};
