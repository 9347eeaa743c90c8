// libFuzzer target: any bytes read as a BMP end in an image or a refusal, never a crash, undefined
// behaviour or an unbounded allocation; an image that was read resamples and writes back into a
// BMP that reads again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "views/DibStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DibStream stream;
    if (!stream.ReadMemory(data, size))
        return 0;
    // Small targets chosen by the input itself, one-pixel ones included.
    const int w = 1 + (size > 2 ? data[size - 1] % 48 : 0);
    const int h = 1 + (size > 3 ? data[size - 2] % 48 : 0);
    if (!stream.Resample(w, h))
        std::abort();
    const std::vector<uint8_t> out = stream.WriteMemory();
    DibStream again;
    if (!again.ReadMemory(out.data(), out.size()) || again.Width() != w || again.Height() != h)
        std::abort();
    return 0;
}
