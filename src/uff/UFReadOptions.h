#pragma once
// How the values of a universal-file dataset are read, given by the caller of the value readers.
#include <cstdint>

struct UFReadOptions
{
    int32_t bReload = 0;    // read again even when the values are loaded
    int32_t bConjugate = 0; // negate the imaginary parts
    int32_t bGToSI = 0;     // values in g become m/s2 (x 9.80665)
    int32_t bSqrt = 0;      // square root of each value (spectra only)
};
