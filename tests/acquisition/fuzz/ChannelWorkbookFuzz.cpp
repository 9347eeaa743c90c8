// The channel-assignment workbook import under libFuzzer: any workbook (hostile note ranges,
// merged ranges, stacked cells) ends with a report, the database holds only rows that passed every
// check, and the units' bundles never hold more than eight sensors.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/BlixImportCheck.h"
#include "fuzz/FuzzFile.h"
#include "fuzz/FuzzWorkbook.h"
#include "fuzz/QuietPrompts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CQuietPrompts prompts;
    SetPromptService(&prompts);
    const std::string book =
        fuzzworkbook::Build(std::string_view(reinterpret_cast<const char*>(data), size), "Sensors");
    const CFuzzFile file(reinterpret_cast<const uint8_t*>(book.data()), book.size(), "channelxlsx_fuzz", ".xlsx");
    CheckBlixImport(file.Path(), true); // a refusal always says why
    prompts.Take();
    return 0;
}
