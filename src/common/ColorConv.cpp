#include "common/ColorConv.h"

namespace {
uint32_t Channel(double x)
{
    // Truncated toward zero and kept to 8 bits, as the channels always were.
    return uint32_t(int(x)) & 0xFF;
}
} // namespace

void HSVtoRGB(int hue, uint8_t saturation, uint8_t value, COLORREF* out)
{
    if (!out)
        return;
    // A hue of 360 (or any beyond) is the same colour as its remainder; without this the sector
    // would run past the last one.
    int h = hue % 360;
    if (h < 0)
        h += 360;
    const double v = value;
    const double m = v - double(saturation) * v * 0.00392156862745098;
    const double d = (v - m) * 0.016666666666666666;
    double r, g, b;
    if (h < 60) {
        r = v;
        g = h * d + m;
        b = m;
    } else if (h < 120) {
        r = v - (h - 60) * d;
        g = v;
        b = m;
    } else if (h < 180) {
        r = m;
        g = v;
        b = (h - 120) * d + m;
    } else if (h < 240) {
        r = m;
        g = v - (h - 180) * d;
        b = v;
    } else if (h < 300) {
        r = (h - 240) * d + m;
        g = m;
        b = v;
    } else {
        r = v;
        g = m;
        b = v - (h - 300) * d;
    }
    *out = Channel(r) + Channel(g) * 256 + Channel(b) * 65536;
}
