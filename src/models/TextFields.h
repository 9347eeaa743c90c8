#pragma once
// Reading the tab-separated lines of model text files, which come from outside and are treated as
// untrusted: every field is bounded, every number must be one, and a line that holds fewer values
// than the model has bands is refused with a message that says so rather than read past its end.
#include <string>
#include <vector>

namespace model_text {

// Longest field of a line.
inline constexpr size_t kMaxField = 255;

// Splits a line at tabs. False (and error) when a field is longer than kMaxField. A trailing
// carriage return is dropped.
bool SplitFields(const std::string& line, std::vector<std::string>& fields, std::string& error);
// The field as a finite decimal number: the whole field must be one (surrounding blanks allowed).
bool ParseNumber(const std::string& field, double& value);
// Reads count numbers from fields[first..]; false (and error naming what is wrong) when the line
// holds fewer or a field is not a number. Fields after the count are ignored.
bool ParseValues(const std::vector<std::string>& fields, size_t first, size_t count, std::vector<double>& values,
                 std::string& error);

} // namespace model_text
