// The sensor-list workbook import under libFuzzer: any workbook ends in rows or a reason, every
// row taken over into the catalogue has a unique ID and a finite sensitivity and limit above 0,
// and all refused rows of one import give one message.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "experiments/ImportSensorListFromExcel.h"
#include "experiments/Sensor.h"
#include "experiments/SensorProject.h"
#include "fuzz/FuzzFile.h"
#include "fuzz/FuzzWorkbook.h"
#include "fuzz/QuietPrompts.h"
#include "platform/win/StatusBarFeedback.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CQuietPrompts prompts;
    // The sensor window's feedback, whose boxes the prompts count.
    static CStatusBarFeedback boxes;
    SetPromptService(&prompts);
    const std::string book = fuzzworkbook::Build(std::string_view(reinterpret_cast<const char*>(data), size), "Accel");
    const CFuzzFile file(reinterpret_cast<const uint8_t*>(book.data()), book.size(), "sensorxlsx_fuzz", ".xlsx");

    using I = CImportSensorListFromExcel;
    I import;
    if (!import.Read(file.Path()) && !import.ErrorText().empty()) {
        for (int s = 0; s < I::kSheetCount; ++s)
            if (import.GetRowCount(s) != 0)
                std::abort(); // an unreadable workbook leaves everything empty
        return 0;
    }
    // Every row goes over, as when the user selects the whole list.
    std::vector<tagSENSORINFO> records;
    for (int s = 0; s < I::kSheetCount; ++s)
        for (int r = 0; r < import.GetRowCount(s); ++r)
            records.push_back(
                I::MakeSensorInfo({import.GetCell(s, I::colID, r), import.GetCell(s, I::colManufacturer, r),
                                   import.GetCell(s, I::colModel, r), import.GetCell(s, I::colSerial, r),
                                   import.GetCell(s, I::colSensitivity, r), import.GetUnitText(s, r),
                                   import.GetCell(s, I::colLimit, r), import.GetCell(s, I::colComment, r)},
                                  s + 1));
    CSensorProject project;
    tagSENSORINFO existing;
    existing.ID = "S1";
    existing.ChannelInfo.DataType = 7;
    existing.ChannelInfo.Sensitivity = 1.0f;
    existing.ChannelInfo.Limit = 1.0f;
    project.AddSensor(existing);
    prompts.Take();
    const std::vector<CSensor*> added = I::AddAllToProject(project, records, &boxes);
    const int messages = prompts.Take();
    if (messages > 1 || (added.size() < records.size()) != (messages == 1))
        std::abort();
    const std::vector<CSensor*> all = project.GetAllSensors();
    if (all.size() != added.size() + 1)
        std::abort();
    for (size_t i = 0; i < added.size(); ++i) {
        const CHANNELINFO& ch = added[i]->GetChannelInfo();
        if (!(ch.Sensitivity > 0.0f) || !std::isfinite(ch.Sensitivity) || !(ch.Limit > 0.0f) ||
            !std::isfinite(ch.Limit) || added[i]->GetID() == "S1")
            std::abort();
        for (size_t k = 0; k < i; ++k)
            if (added[k]->GetID() == added[i]->GetID())
                std::abort();
    }
    return 0;
}
