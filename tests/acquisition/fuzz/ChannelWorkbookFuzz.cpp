// The channel-assignment workbook import under libFuzzer: any workbook (hostile note ranges,
// merged ranges, stacked cells) ends with a report, the database holds only rows that passed every
// check, and the units' bundles never hold more than eight sensors.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "acquisition/BlixChDB.h"
#include "acquisition/BlixChIO.h"
#include "experiments/SensorProject.h"
#include "fuzz/FuzzFile.h"
#include "fuzz/FuzzWorkbook.h"
#include "fuzz/QuietPrompts.h"
#include "platform/elements/ZuSubsystemTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CQuietPrompts prompts;
    SetPromptService(&prompts);
    const std::string book =
        fuzzworkbook::Build(std::string_view(reinterpret_cast<const char*>(data), size), "Sensors");
    const CFuzzFile file(reinterpret_cast<const uint8_t*>(book.data()), book.size(), "channelxlsx_fuzz", ".xlsx");
    static const CZuSubsystemTable subsystems(std::vector<std::string>{"Door", "Roof"});
    CSensorProject sensors;
    for (const char* id : {"S1", "S2"}) {
        tagSENSORINFO info;
        info.ID = id;
        info.ChannelInfo.DataType = 7;
        sensors.AddSensor(info);
    }
    CBlixChDB db;
    const CBlixChIO::CParams params(file.Path(), &db, &subsystems, &sensors);
    CBlixChIO io;
    io.SetProgress(nullptr);
    io.SetParams(&params);
    std::string title;
    const int result = io.Import(title);
    if (result == 1 && io.GetErrRep()->GetCount() != 0)
        std::abort();
    if (result != 1 && io.GetErrRep()->GetCount() == 0)
        std::abort(); // a refusal always says why
    const CBlixChDB::CItemList* items = db.GetItemList();
    for (int i = 0; i < items->GetSize(); ++i)
        if (items->GetAt(i)->GetBlixCh() > 1 || subsystems.GetIndex(items->GetAt(i)->GetSubsystem()) < 0 ||
            !sensors.FindSensor(items->GetAt(i)->GetSensor()))
            std::abort();
    for (int b = 0; b < sensors.GetBundleCount(); ++b)
        if (sensors.GetBundle(b)->GetCount() > 8)
            std::abort();
    io.GetErrRep()->GetText();
    prompts.Take();
    return 0;
}
