#include "experiments/ImportSensorListFromExcel.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "experiments/SensorProject.h"
#include "platform/excel/ExcelWrapper.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"

namespace {
constexpr uint32_t IDS_DEFAULT_IMPORT_TITLE = 6214;
constexpr uint32_t IDS_IMPORT_ID_TAKEN = 7137;
constexpr uint32_t IDS_IMPORT_SENSITIVITY = 7138;
constexpr uint32_t IDS_IMPORT_LIMIT = 7139;

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
    m_title = LoadString(IDS_DEFAULT_IMPORT_TITLE);
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

CSensor* CImportSensorListFromExcel::AddToProject(CSensorProject& project, tagSENSORINFO info)
{
    if (project.FindOne(info.ID, -1) != nullptr) {
        AfxFormatMessageBox(IDS_IMPORT_ID_TAKEN, MB_ICONEXCLAMATION, info.ID.c_str());
        return nullptr;
    }
    CHANNELINFO& ch = info.ChannelInfo;
    if (!(ch.Sensitivity > 0.0f)) {
        AfxFormatMessageBox(IDS_IMPORT_SENSITIVITY, MB_ICONEXCLAMATION, info.ID.c_str());
        return nullptr;
    }
    if (!(ch.Limit > 0.0f)) {
        AfxFormatMessageBox(IDS_IMPORT_LIMIT, MB_ICONEXCLAMATION, info.ID.c_str());
        return nullptr;
    }
    if (ch.DataType == SENSOR_DATATYPE_ACCELERATION && ch.Unit == 1) {
        ch.Sensitivity = static_cast<float>(ch.Sensitivity / CSensorProject::kGravity);
        ch.Limit = static_cast<float>(ch.Limit * CSensorProject::kGravity);
        ch.Unit = 0;
    }
    return project.AddSensor(info);
}
