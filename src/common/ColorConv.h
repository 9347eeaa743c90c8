#pragma once
// Colour of result graphs from hue, saturation and value.
#include "platform/win/WinTypes.h"

#include <cstdint>

// hue in degrees (taken modulo 360, so 360 is red again), saturation and value 0 to 255.
void HSVtoRGB(int hue, uint8_t saturation, uint8_t value, COLORREF* out);
