// The Blix channel text import under libFuzzer: any file ends with a report, the database holds
// only rows that passed every check, and the units' bundles never hold more than eight sensors.
#include <cstdint>

#include "fuzz/BlixImportCheck.h"
#include "fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const CFuzzFile file(data, size, "blixtext_fuzz");
    CheckBlixImport(file.Path(), false);
    return 0;
}
