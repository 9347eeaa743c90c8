#pragma once
// The program's debug file: lines a developer reads after the fact (results the program goes on
// without, such as a hardware inventory that could not be read). Each line is appended with a time
// stamp; the file is "orvex-debug.log" in the system's temporary folder unless $ORVEX_DEBUG_LOG or
// SetPath names another. Writing never fails the caller.
#include <string>

class CDebugLog
{
public:
    static void Write(const std::string& line);
    static void Writef(const char* format, ...) __attribute__((format(printf, 1, 2)));

    static void SetPath(const std::string& path); // empty: back to the default
    static std::string GetPath();
};
