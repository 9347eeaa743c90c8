// libFuzzer target: any bytes scanned as a universal file by the import's file step: datasets
// found between delimiters, binary datasets passed over by their declared size, declared counts
// and RPMs held against the import's checks, spectrum and order values read, spectra placed in
// runs by RPM, order functions merged, and the RPM grid built, ending in runs or a clean abandon,
// never a crash, a hang or a huge allocation.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Feedback.h"
#include "uff/DAQPPFreqData.h"
#include "uff/DAQPPRpmData.h"
#include "uff/UFScanner.h"
#include "uff/UFLineReader.h"
#include "uff/UFRpmInfo.h"

namespace {
// Stops a scan after a bounded number of delimiters; the position told never passes the file's end.
class CBoundedScan : public CFeedback
{
protected:
    void OnProgress(int /*level*/) override
    {
        const SRange& range = Ranges().back();
        if (range.done < 0 || (range.total > 0 && range.done > range.total))
            __builtin_trap();
    }
    void Poll() override
    {
        if (++m_polls > 100000)
            Cancel();
    }

private:
    int m_polls = 0;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CUFLineReader reader;
    reader.OpenMemory(text, "fuzz.unv");
    TAG_UFRPMINFO run;
    CUFScanner scan;
    CBoundedScan bounded;
    bounded.Begin(std::string(), static_cast<int64_t>(reader.GetSize()));
    scan.feedback = &bounded;
    scan.dataset = [&](std::unique_ptr<CDAQPPUFIndex>& record, CUFLineReader& file) {
        CDAQPPUFIndex& index = *record;
        const bool order = index.GetFuncType() == 27;
        // What the import refuses never reaches a run.
        const uint64_t left = file.GetSize() > file.Tell() ? file.GetSize() - file.Tell() : 0;
        if (!CDAQPPUFData::CheckCount(index.GetNumValues(), CDAQPPUFData::NumbersPerValue(index), left).empty())
            return;
        if (!order) {
            if (!TAG_UFRPMINFO::CheckRpm(index.GetZValue()).empty())
                return;
            CDAQPPFreqData block;
            block.SetIndex(index);
            std::string error;
            if (block.ReadValues(file, UFReadOptions(), &error) &&
                block.GetValues().size() != static_cast<size_t>(index.GetNumValues()))
                __builtin_trap();
            if (run.rpms.size() < 10000)
                run.FindOrInsertRpm(index.GetZValue());
            return;
        }
        CDAQPPRpmData block;
        block.SetIndex(index);
        std::string error;
        if (block.ReadValues(file, UFReadOptions(), &error))
            for (double r : block.GetRpm())
                if (run.rpms.size() < 10000 && TAG_UFRPMINFO::CheckRpm(r).empty())
                    run.FindOrInsertRpm(r);
    };
    std::string error;
    if (!scan.Scan(reader, &error))
        return 0;
    TAG_UFRPMINFO::Grid grid;
    if (run.BuildGrid(grid))
        for (int k : run.gridIndexes)
            if (k < 0 || k >= static_cast<int>(run.rpms.size()))
                __builtin_trap();
    return 0;
}
