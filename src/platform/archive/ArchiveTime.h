#pragma once
// The class library's date and time (CTime) as our files hold it: 32-bit seconds since 1970.
#include <cstdint>

// A time outside the range of the file's format (before December 1901 or after January 2038) is
// held at the nearer end instead of wrapping round to another date.
inline int32_t ArchiveTime(int64_t seconds)
{
    if (seconds > INT32_MAX)
        return INT32_MAX;
    if (seconds < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(seconds);
}
