#include "experiments/ImportSensorListFromExcel.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "experiments/Sensor.h"
#include "experiments/SensorProject.h"
#include "platform/base/Format.h"
#include "platform/base/NameIndex.h"
#include "platform/excel/ExcelWrapper.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

namespace {

std::string TrimUpper(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(" \t\r\n");
    std::string out = text.substr(first, last - first + 1);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}
} // namespace

const char* const CImportSensorListFromExcel::kSheetNames[kSheetCount] = {"Accel", "Mic", "Hammer"};

bool CImportSensorListFromExcel::Read(const std::string& path)
{
    for (auto& sheet : m_cells)
        for (auto& column : sheet)
            column.clear();
    m_title = LoadString(IDS_NO_TITLE);
    m_error.clear();

    CExcelWrapper xl;
    if (!xl.Create(false) || !xl.Open(path)) {
        m_error = xl.ErrorText();
        return false;
    }
    // Which workbook column fills which array, per sheet.
    static const int kAccel[] = {colID,          colManufacturer, colModel, colSerial,
                                 colSensitivity, colUnit,         colLimit, colComment};
    static const int kOther[] = {colID, colManufacturer, colModel, colSerial, colSensitivity, colLimit, colComment};
    int found = 0;
    for (int s = 0; s < kSheetCount; ++s) {
        const int index = xl.FindSheet(kSheetNames[s]);
        if (index < 1)
            continue;
        ++found;
        int row = 2;
        const std::string first = xl.GetCellText(index, 1, 1);
        if (first.compare(0, 2, "#@") == 0) {
            m_title = first.substr(2);
            row = 5;
        }
        const int* columns = s == 0 ? kAccel : kOther;
        const int columnCount = s == 0 ? static_cast<int>(std::size(kAccel)) : static_cast<int>(std::size(kOther));
        // Bounded by the sheet itself: a row past the last one holds no serial number.
        for (; row <= kXlsxMaxRows; ++row) {
            if (xl.GetCellText(index, row, 4).empty())
                break;
            for (int c = 0; c < columnCount; ++c)
                m_cells[static_cast<size_t>(s)][static_cast<size_t>(columns[c])].push_back(
                    xl.GetCellText(index, row, c + 1));
        }
    }
    xl.Close(false);
    xl.Quit();
    return found == kSheetCount;
}

int CImportSensorListFromExcel::GetRowCount(int sheet) const
{
    if (sheet < 0 || sheet >= kSheetCount)
        return 0;
    return static_cast<int>(m_cells[static_cast<size_t>(sheet)][colID].size());
}

const std::string& CImportSensorListFromExcel::GetCell(int sheet, int column, int row) const
{
    static const std::string empty;
    if (sheet < 0 || sheet >= kSheetCount || column < 0 || column >= kColumnCount)
        return empty;
    const auto& values = m_cells[static_cast<size_t>(sheet)][static_cast<size_t>(column)];
    return row >= 0 && row < static_cast<int>(values.size()) ? values[static_cast<size_t>(row)] : empty;
}

std::string CImportSensorListFromExcel::GetUnitText(int sheet, int row) const
{
    switch (sheet) {
    case 0:
        return TrimUpper(GetCell(sheet, colUnit, row)) == "G" ? "mV/G" : "mV/m/s2";
    case 1:
        return "mV/Pa";
    default:
        return "mV/N";
    }
}

tagSENSORINFO CImportSensorListFromExcel::MakeSensorInfo(const std::vector<std::string>& columns, int sheetImage)
{
    auto column = [&](size_t i) { return i < columns.size() ? columns[i] : std::string(); };
    tagSENSORINFO info;
    info.ID = column(0);
    info.Manufacturer = column(1);
    info.Model = column(2);
    info.SerialNumber = column(3);
    CHANNELINFO& ch = info.ChannelInfo;
    ch.Sensitivity = static_cast<float>(std::atof(column(4).c_str()));
    ch.DataType = sheetImage == 1   ? SENSOR_DATATYPE_ACCELERATION
                  : sheetImage == 2 ? SENSOR_DATATYPE_PRESSURE
                  : sheetImage == 3 ? SENSOR_DATATYPE_FORCE
                                    : -1;
    ch.Unit = column(5) == "mV/G" ? 1 : 0;
    ch.Limit = static_cast<float>(std::atof(column(6).c_str()));
    ch.Channel = -1;
    return info;
}

namespace {
// Why a record cannot be added (its message id), 0 when it can; an accelerometer given per G is
// turned into one per m/s2.
uint32_t CheckRecord(tagSENSORINFO& info)
{
    CHANNELINFO& ch = info.ChannelInfo;
    // An infinite sensitivity turns every measured value into 0 or NaN.
    if (!(ch.Sensitivity > 0.0f) || !std::isfinite(ch.Sensitivity))
        return IDS_IMPORT_SENSITIVITY;
    if (!(ch.Limit > 0.0f) || !std::isfinite(ch.Limit))
        return IDS_IMPORT_LIMIT;
    if (ch.DataType == SENSOR_DATATYPE_ACCELERATION && ch.Unit == 1) {
        const float sensitivity = static_cast<float>(ch.Sensitivity / CSensorProject::kGravity);
        const float limit = static_cast<float>(ch.Limit * CSensorProject::kGravity);
        if (!(sensitivity > 0.0f))
            return IDS_IMPORT_SENSITIVITY;
        if (!std::isfinite(limit))
            return IDS_IMPORT_LIMIT;
        ch.Sensitivity = sensitivity;
        ch.Limit = limit;
        ch.Unit = 0;
    }
    return 0;
}

struct Refusal
{
    uint32_t message;
    std::string id;
};

void ReportRefusals(const std::vector<Refusal>& refused, CFeedback* feedback)
{
    if (refused.empty())
        return;
    if (refused.size() == 1) {
        feedback->Warning(FormatString(refused[0].message, refused[0].id.c_str()), refused[0].message);
        return;
    }
    constexpr size_t kShown = 20;
    std::string text;
    for (size_t i = 0; i < refused.size() && i < kShown; ++i)
        text += (i > 0 ? "\n" : "") + FormatString(refused[i].message, refused[i].id.c_str());
    if (refused.size() > kShown)
        text += Format("\n... and %zu more", refused.size() - kShown);
    feedback->Warning(text, refused[0].message);
}
} // namespace

CSensor* CImportSensorListFromExcel::AddToProject(CSensorProject& project, tagSENSORINFO info, CFeedback* feedback)
{
    const std::vector<CSensor*> added = AddAllToProject(project, {std::move(info)}, feedback);
    return added.empty() ? nullptr : added.front();
}

std::vector<CSensor*> CImportSensorListFromExcel::AddAllToProject(CSensorProject& project,
                                                                  const std::vector<tagSENSORINFO>& records,
                                                                  CFeedback* feedback)
{
    // Every name below the catalogue makes an ID taken, as FindOne finds it.
    std::vector<std::string> names;
    std::vector<const CMElement*> stack{&project};
    while (!stack.empty()) {
        const CMElement* element = stack.back();
        stack.pop_back();
        for (int i = 0; i < element->GetChildCount(); ++i) {
            const CMElement* child = element->GetChild(i);
            names.push_back(child->GetName());
            stack.push_back(child);
        }
    }
    names.reserve(names.size() + records.size());
    CNameIndex taken([&names](size_t i) { return std::string_view(names[i]); }, names.size() + records.size());
    for (size_t i = 0; i < names.size(); ++i)
        taken.Insert(names[i], i);

    std::vector<CSensor*> added;
    std::vector<Refusal> refused;
    for (tagSENSORINFO info : records) {
        if (taken.Find(info.ID) != taken.npos) {
            refused.push_back({IDS_IMPORT_ID_TAKEN, info.ID});
            continue;
        }
        if (const uint32_t why = CheckRecord(info)) {
            refused.push_back({why, info.ID});
            continue;
        }
        const int category = CSensorProject::CategoryOfDataType(info.ChannelInfo.DataType);
        CMElement* parent = project.GetCategory(category);
        if (!parent)
            continue; // no sensor's data type
        auto sensor = std::make_unique<CSensor>(info.ID, parent, category);
        sensor->SetSensorInfo(info);
        CSensor* placed = parent->AddChild(std::move(sensor));
        if (!placed)
            continue;
        added.push_back(placed);
        names.push_back(info.ID);
        taken.Insert(names.back(), names.size() - 1);
    }
    ReportRefusals(refused, feedback);
    return added;
}
