#pragma once
// Reads a sensor catalogue kept in a workbook: sheets "Accel", "Mic" and "Hammer", one row per
// sensor (ID, manufacturer, model, serial number, sensitivity, then for "Accel" the unit, the
// limit and a comment, for the others the limit and a comment). A sheet whose cell A1 begins with
// "#@" carries the import title there and its data from row 5; otherwise row 1 is the header row
// and data start at row 2. A sheet ends at the first row without a serial number.
#include <array>
#include <string>
#include <vector>

#include "experiments/SensorInfo.h"
#include "platform/base/Feedback.h"

class CSensor;
class CSensorProject;

class CImportSensorListFromExcel
{
public:
    static constexpr int kSheetCount = 3;
    static constexpr int kColumnCount = 9;
    // Positions of the string arrays of a sheet.
    enum
    {
        colID = 0,
        colManufacturer,
        colModel,
        colSerial,
        colSensitivity,
        colUnit,
        colLimit,
        colUnused,
        colComment
    };
    static const char* const kSheetNames[kSheetCount];

    // Reads the workbook; true only when all three sheets were found. A missing sheet contributes
    // no rows; a workbook that cannot be read leaves everything empty and ErrorText says why.
    bool Read(const std::string& path);

    int GetRowCount(int sheet) const;
    const std::string& GetCell(int sheet, int column, int row) const;
    const std::string& GetTitle() const { return m_title; }
    const std::string& ErrorText() const { return m_error; }

    // The unit text shown for a row: "mV/G" or "mV/m/s2" for accelerometers (by the unit cell,
    // trimmed and upper-cased, being "G"), "mV/Pa" for microphones, "mV/N" for hammers.
    std::string GetUnitText(int sheet, int row) const;
    // A list row as a sensor record (data type by sheet, unit code 1 for "mV/G").
    static tagSENSORINFO MakeSensorInfo(const std::vector<std::string>& columns, int sheetImage);

    // Adds a record taken over from the import: refused with a message when its ID is taken
    // (7137), its sensitivity (7138) or its limit (7139) is not a finite value above 0; an
    // accelerometer given per G is stored per m/s2. Null when refused.
    static CSensor* AddToProject(CSensorProject& project, tagSENSORINFO info, CFeedback* feedback = SilentFeedback());
    // Adds the records in order by the same checks, looking IDs up in an index of the catalogue
    // made once, and reports one warning for all refused records through the feedback: the one
    // record's own message, or the first of them and how many more. The sensors added, in order.
    static std::vector<CSensor*> AddAllToProject(CSensorProject& project, const std::vector<tagSENSORINFO>& records,
                                                 CFeedback* feedback = SilentFeedback());

private:
    std::array<std::array<std::vector<std::string>, kColumnCount>, kSheetCount> m_cells;
    std::string m_title;
    std::string m_error;
};
