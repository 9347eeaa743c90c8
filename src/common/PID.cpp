#include "common/PID.h"

CPID::CPID()
{
    Create();
}

std::string CPID::ToPIDText() const
{
    return "PID:" + ToString();
}

bool CPID::FromPIDText(const std::string& text)
{
    // Only the prefix itself is cut: trimming every leading 'P', 'I', 'D' and ':' would eat the
    // first digit of a GUID written in upper case that begins with D.
    std::string guid = text.compare(0, 4, "PID:") == 0 ? text.substr(4) : text;
    return FromString(guid);
}
