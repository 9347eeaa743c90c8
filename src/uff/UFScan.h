#pragma once
// Scanning the fields of universal-file lines: integers, words and numbers as the C library's
// scanf reads them ("%d", "%s", "%lf": whitespace skipped, a field ends where its syntax ends), so
// two numbers that touch ("-1.2E+01-3.4E+01") read as two. Numbers are converted with
// std::from_chars after a fast path for the short fixed forms the files hold (E13.5 fields):
// digits and a power of ten that are both exact doubles give the correctly rounded value in one
// multiplication or division, the same value from_chars gives.
#include <cstdint>
#include <string>
#include <string_view>

namespace uf {

// "    -1" in columns 1 to 6 with nothing but blanks after it: the line that opens and closes a
// dataset.
bool IsDelimiter(std::string_view line);
// The line's first six characters are "    -1" (the split counts datasets by this alone).
bool StartsWithDelimiter(std::string_view line);

// The C library's atoi: leading whitespace, a sign, digits; 0 when there are none. Values beyond
// the 32-bit range are clamped.
int32_t Atoi(std::string_view text);

// The text as UTF-8: kept when it is UTF-8 already, else decoded from the legacy code page (files
// written by older programs carry 8-bit names).
std::string ToUtf8(std::string_view text);

// Trailing blanks, tabs and carriage returns removed.
std::string_view TrimRight(std::string_view text);
std::string_view Trim(std::string_view text);

// Reads at most max numbers from the line, stopping at the first field that is not one; returns
// how many were converted.
int ScanNumbers(std::string_view line, double* out, int max);

// Reads whole lines of six E13.5 fields from pos while count leaves room for six more numbers, as
// ScanNumbers would read them line by line, and moves pos past them; stops at the first line of
// another form (a delimiter line among them). Returns how many numbers were read into out.
size_t ScanFixedLines(std::string_view data, size_t& pos, double* out, size_t count);
// ScanFixedLines one field at a time, as a processor without 512-bit registers reads the lines;
// both read the same lines to the same bits.
size_t ScanFixedLinesPortable(std::string_view data, size_t& pos, double* out, size_t count);

// One line's fields in order, scanf-like.
class CFieldScanner
{
public:
    explicit CFieldScanner(std::string_view text) : m_text(text) {}
    bool Int(int32_t& value);
    bool Word(std::string& value);
    bool Double(double& value);
    // Nothing but whitespace is left.
    bool AtEnd();

private:
    void SkipSpace();
    std::string_view m_text;
    size_t m_pos = 0;
};

// Parses one number at text; returns the characters used, 0 when there is no number.
size_t ParseNumber(const char* text, const char* end, double& value);

} // namespace uf
