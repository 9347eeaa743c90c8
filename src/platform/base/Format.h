#pragma once
// printf-style formatting of the system's texts ("DAQ%d", "%g [RPM]"), byte for byte as the
// C library produces them. Number formatting runs in the "C" locale (main sets LC_NUMERIC).
#include <cstdarg>
#include <string>

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, va_list args);
