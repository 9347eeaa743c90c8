#pragma once
// Helpers of the element library's text blocks (internal to platform/elements): escaped fields,
// exact numbers, tab-separated lines.
#include <string>
#include <vector>

class CStdioFile;

namespace zu_text {
// Tabs, line ends and backslashes in a field are written as \t, \n, \r and \\.
std::string Escape(const std::string& field);
std::string Unescape(const std::string& field);
// Shortest text that reads back to the same double ("%.17g"; "inf", "-inf", "nan" included).
std::string Number(double value);
// The whole field must be a number.
bool ParseDouble(const std::string& field, double& value);
bool ParseInt(const std::string& field, int& value);
// Splits at tabs (no length limit; an empty line is one empty field).
std::vector<std::string> Split(const std::string& line);
// Numbers joined by tabs; fields = the parsed values of a line (false unless exactly count parse).
std::string JoinNumbers(const std::vector<double>& values, size_t first, size_t count);
bool ParseNumbers(const std::string& line, size_t count, std::vector<double>& out);
// The fields of the next line that is not blank (blank lines may stand between blocks); false at
// the end of the file.
bool ReadHeadFields(CStdioFile& file, std::vector<std::string>& fields);
} // namespace zu_text
