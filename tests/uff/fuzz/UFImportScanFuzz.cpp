// libFuzzer target: any bytes scanned as a universal file by the import's file step: datasets
// found between delimiters, binary datasets passed over by their declared size, spectra placed in
// runs by RPM, order functions read and merged, and the RPM grid built, ending in runs or a clean
// abandon, never a crash, a hang or a huge allocation.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "uff/DAQPPRpmData.h"
#include "uff/SplitUf.h"
#include "uff/UFImportScan.h"
#include "uff/UFLineReader.h"
#include "uff/UFRpmInfo.h"

int AfxMessageBox(const char*, unsigned)
{
    return 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CUFLineReader reader;
    reader.OpenMemory(text, "fuzz.unv");
    TAG_UFRPMINFO run;
    CUFImportScan scan;
    int steps = 0;
    scan.progress = [&](int percent) {
        if (percent < 0 || percent > 100)
            __builtin_trap();
        return ++steps > 100000;
    };
    scan.dataset = [&](CDAQPPUFIndex& index, CUFLineReader& file, bool order) {
        if (!order) {
            if (run.rpms.size() < 10000)
                run.FindOrInsertRpm(index.GetZValue());
            return;
        }
        CDAQPPRpmData block;
        block.SetIndex(index);
        std::string error;
        if (block.ReadValues(file, UFReadOptions(), &error))
            for (double r : block.GetRpm())
                if (run.rpms.size() < 10000)
                    run.FindOrInsertRpm(r);
    };
    try {
        scan.Scan(reader);
    } catch (const CUFImportAbort&) {
        return 0;
    }
    TAG_UFRPMINFO::Grid grid;
    if (run.BuildGrid(grid))
        for (int k : run.gridIndexes)
            if (k < 0 || k >= static_cast<int>(run.rpms.size()))
                __builtin_trap();
    return 0;
}
