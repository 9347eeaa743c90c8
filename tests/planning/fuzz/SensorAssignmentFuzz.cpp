// The sensor-assignment text import under libFuzzer: any file gives rows or a clean failure.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzFile.h"
#include "planning/SensorAssignment.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const CFuzzFile file(data, size, "sensorassign_fuzz");
    CSensorAssignment assignment;
    assignment.AddRow("Door", {"old"});
    assignment.AddRow("Roof", {});
    assignment.ImportText(file.Path(), "tag");
    // What was read are non-empty sensor names of the fields' bounded length.
    for (int i = 0; i < assignment.GetRowCount(); ++i)
        for (int k = 0; k < assignment.GetItemCount(i); ++k)
            if (assignment.GetItem(i, k).empty() || assignment.GetItem(i, k).size() > 255)
                std::abort();
    return 0;
}
