#pragma once
// How every tab-separated text of the program is cut into fields: files we read, text pasted from
// a spreadsheet, exchange files written by hand. Plainly configured it splits at every tab and
// keeps every field, empty ones included ("a\t\tb" is three fields, an empty line one empty field,
// a trailing tab an empty last field). The readers whose files were always read in another way
// choose that way here, so each keeps reading what it read before:
//   CutFieldsAt(n)       a field keeps at most its first n bytes (the 255-character fields of the
//                        exchange files); the rest of a longer field is dropped, not carried over.
//   TakeFields(n)        exactly n fields: the first n of the line, missing ones empty.
//   SkipEmptyFields()    a run of tabs separates like one tab and leading or trailing tabs
//                        separate nothing: no field is empty, and an empty line has none.
//   TrimBlanks()         spaces and carriage returns off both ends of each field.
//   DropEmptyLastField() the text after the last tab is a field only when it is not empty.
// Cutting applies after trimming. Fields are bytes: a NUL or a carriage return inside a line is
// part of its field, so the caller hands lines without their line end (see CLineReader).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CTabSplitter
{
public:
    static constexpr size_t npos = static_cast<size_t>(-1);

    CTabSplitter& CutFieldsAt(size_t length)
    {
        m_maxFieldLength = length;
        return *this;
    }
    CTabSplitter& TakeFields(size_t count)
    {
        m_fieldCount = count;
        return *this;
    }
    CTabSplitter& SkipEmptyFields()
    {
        m_skipEmpty = true;
        return *this;
    }
    CTabSplitter& TrimBlanks()
    {
        m_trim = true;
        return *this;
    }
    CTabSplitter& DropEmptyLastField()
    {
        m_dropEmptyLast = true;
        return *this;
    }

    // The fields of line as views into it, in fields (cleared first; reused by readers that split
    // many lines, so that a row costs no allocation).
    void Split(std::string_view line, std::vector<std::string_view>& fields) const;
    // The fields of line as strings.
    std::vector<std::string> Split(std::string_view line) const;

private:
    size_t m_maxFieldLength = npos;
    size_t m_fieldCount = npos;
    bool m_skipEmpty = false;
    bool m_trim = false;
    bool m_dropEmptyLast = false;
};
