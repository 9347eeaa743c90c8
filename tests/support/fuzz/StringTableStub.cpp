// Fuzz targets run without the language tables (and without Qt, which loads them): no string is
// found, and texts fall back to what the program has built in.
#include <cstdint>
#include <string>

#include "platform/win/StringTable.h"

bool LoadString(uint32_t, std::string&)
{
    return false;
}

std::string LoadString(uint32_t)
{
    return std::string();
}

std::string GetAppTitle()
{
    return "ORVEX";
}

std::string FormatString(uint32_t, ...)
{
    return std::string();
}
