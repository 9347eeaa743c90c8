// libFuzzer target: any text read as a node table gives a map whose table reads back to itself.
#include <cstddef>
#include <cstdint>
#include <string>

#include "uff/UFNodeMap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CUFNodeMap map;
    try {
        map.ReadText(text);
    } catch (const CFileException&) {
        return 0; // a line too long for a table
    }
    const std::string written = map.WriteText();
    CUFNodeMap again;
    again.ReadText(written);
    if (again.WriteText() != written)
        __builtin_trap();
    return 0;
}
