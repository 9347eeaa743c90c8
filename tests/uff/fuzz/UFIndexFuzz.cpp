// libFuzzer target: any text read as a universal file is indexed and its values read, ending in
// records, values or a clean failure, never a crash, a hang or a huge allocation.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/archive/Archive.h"
#include "uff/DAQPPFreqData.h"
#include "uff/DAQPPRpmData.h"
#include "uff/UFLineReader.h"
#include "uff/UFScanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    UFReadOptions options;
    options.bConjugate = data[0] & 1;
    options.bGToSI = (data[0] >> 1) & 1;
    options.bSqrt = (data[0] >> 2) & 1;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    CUFLineReader reader;
    reader.OpenMemory(text, "fuzz.unv");
    std::vector<std::unique_ptr<CDAQPPUFIndex>> index;
    std::string error;
    CUFScanner::Scan(reader, index, &error);
    for (const auto& x : index) {
        CDAQPPFreqData freq;
        CDAQPPRpmData rpm;
        freq.SetIndex(*x);
        rpm.SetIndex(*x);
        for (CDAQPPUFData* d : {static_cast<CDAQPPUFData*>(&freq), static_cast<CDAQPPUFData*>(&rpm)}) {
            if (!reader.Seek(static_cast<uint64_t>(x->GetOffset())))
                continue;
            std::string_view line;
            int skipped = 0;
            while (skipped < 11 && reader.ReadLine(line))
                ++skipped;
            if (skipped == 11)
                d->ReadValues(reader, options, &error);
        }
        // The record stores and loads back.
        std::vector<uint8_t> bytes;
        {
            CArchive ar(&bytes, CArchive::store);
            ar.WriteObject(x.get());
        }
        CArchive ar(bytes.data(), bytes.size());
        auto back = ar.ReadOwned<CDAQPPUFIndex>();
        if (!back || back->GetNumValues() != x->GetNumValues() || back->GetUID() != x->GetUID())
            __builtin_trap();
    }
    return 0;
}
