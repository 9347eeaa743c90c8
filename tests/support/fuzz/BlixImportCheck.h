#pragma once
// The channel-assignment import run over one fuzzed file, shared by the text and workbook fuzz
// targets: two subsystems and two sensors known; the run aborts when the import ends without its
// report, keeps a row that failed a check, or fills a unit's bundle past eight sensors.
#include <cstdlib>
#include <string>
#include <vector>

#include "acquisition/BlixChDB.h"
#include "acquisition/BlixChIO.h"
#include "experiments/SensorProject.h"
#include "platform/elements/ZuSubsystemTable.h"

// With `refusalSaysWhy`, a refused file must also leave at least one line in the report.
inline int CheckBlixImport(const std::string& path, bool refusalSaysWhy)
{
    static const CZuSubsystemTable subsystems(std::vector<std::string>{"Door", "Roof"});
    CSensorProject sensors;
    for (const char* id : {"S1", "S2"}) {
        tagSENSORINFO info;
        info.ID = id;
        info.ChannelInfo.DataType = 7;
        sensors.AddSensor(info);
    }
    CBlixChDB db;
    const CBlixChIO::CParams params(path, &db, &subsystems, &sensors);
    CBlixChIO io;
    io.SetFeedback(nullptr);
    io.SetParams(&params);
    std::string title;
    const int result = io.Import(title);
    if (result == 1 && io.GetErrRep()->GetCount() != 0)
        std::abort();
    if (refusalSaysWhy && result != 1 && io.GetErrRep()->GetCount() == 0)
        std::abort();
    const CBlixChDB::CItemList* items = db.GetItemList();
    for (int i = 0; i < items->GetSize(); ++i)
        if (items->GetAt(i)->GetBlixCh() > 1 || subsystems.GetIndex(items->GetAt(i)->GetSubsystem()) < 0 ||
            !sensors.FindSensor(items->GetAt(i)->GetSensor()))
            std::abort();
    for (int b = 0; b < sensors.GetBundleCount(); ++b)
        if (sensors.GetBundle(b)->GetCount() > 8)
            std::abort();
    io.GetErrRep()->GetText();
    return result;
}
