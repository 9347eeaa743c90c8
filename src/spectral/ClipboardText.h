#pragma once
// The tab-separated clipboard tables of the spectrum maps: how a pasted text is split into fields,
// how a number is recognised and whether the first line is a header. Shared by every map class so
// that all tables accept the same texts.
#include <string>
#include <vector>

class CArchive;

class CClipboardText
{
public:
    // Fields are cut at tabs; a field keeps at most this many characters.
    static constexpr size_t kMaxFieldLength = 255;

    static std::vector<std::string> SplitFields(const std::string& line);
    // Header test of a first line: true when a field does not read as a number ("%f").
    static bool IsHeaderLine(const std::string& line);
    // A value field read with "%lf"; false when it does not start with a number.
    static bool ParseValue(const std::string& field, double& value);

    // Reads the first data line of a pasted text: false when the text is empty. A first line that
    // is a header is skipped (the next line is read, which may be absent) and labelled is set, so
    // that the first field of every data line is taken as a row label.
    static bool ReadFirstDataLine(CArchive& ar, std::string& line, bool& labelled);
    // A copy with labels has a second header line, the column headers, whose first field is the
    // table's corner cell (columnHeader). It is not data either: when line is one, the next line is
    // read. False when the text ends there.
    static bool SkipColumnHeaderLine(CArchive& ar, std::string& line, bool labelled, const std::string& columnHeader);
};
