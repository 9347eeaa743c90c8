#include "models/ModelStrings.h"

#include <cstdarg>

#include "platform/base/Format.h"
#include "platform/win/StringTable.h"

std::string ModelFormat(uint32_t id, const char* fallback, ...)
{
    std::string format;
    if (!LoadString(id, format) || format.empty())
        format = fallback;
    va_list args;
    va_start(args, fallback);
    std::string text = FormatV(format.c_str(), args);
    va_end(args);
    return text;
}

std::string ModelText(uint32_t id, const char* fallback)
{
    std::string text;
    if (!LoadString(id, text) || text.empty())
        text = fallback;
    return text;
}
