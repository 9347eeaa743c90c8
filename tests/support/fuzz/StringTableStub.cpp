// Fuzz targets run without the language tables (and without Qt, which loads them): no string is
// found, and texts fall back to what the program has built in; only the few texts that name a part
// of a file the readers look for (a worksheet) are given, as the English table has them.
#include <cstdint>
#include <string>

#include "platform/win/StringTable.h"

bool LoadString(uint32_t, std::string&)
{
    return false;
}

std::string LoadString(uint32_t id)
{
    // The worksheet of a channel-assignment workbook.
    if (id == 6217)
        return "Sensors";
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
