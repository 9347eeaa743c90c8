// The sensor catalogue read from a workbook and taken over into the sensor project.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "experiments/ImportSensorListFromExcel.h"
#include "experiments/SensorProject.h"
#include "platform/excel/ExcelWrapper.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"

namespace {

std::string TempPath(const std::string& name)
{
    const auto dir = std::filesystem::temp_directory_path() / ("orvex_sensor_xlsx_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

// The sensor window's feedback: refusals show as the boxes they always were.
CFeedback* StatusBarBoxes()
{
    static CStatusBarFeedback boxes;
    return &boxes;
}

void Row(CExcelWrapper& xl, int row, const std::vector<std::string>& cells)
{
    for (size_t c = 0; c < cells.size(); ++c)
        xl.SetCellText(row, static_cast<int>(c) + 1, cells[c]);
}

// "Accel" with a title block (data from row 5) and a gap in the serial numbers; "Mic" and
// "Hammer" with a header row.
std::string MakeCatalogue(bool withHammer = true)
{
    const std::string path = TempPath(withHammer ? "catalogue.xlsx" : "two-sheets.xlsx");
    CExcelWrapper xl;
    xl.Create(false);
    xl.Open();
    xl.AddSheet("Accel", 0);
    Row(xl, 1, {"#@Lab catalogue 2024"});
    Row(xl, 2, {"# C:/lab/sensors.txt"});
    Row(xl, 3, {"#"});
    Row(xl, 4, {"ID", "Maker", "Model", "Serial", "Sens.", "Unit", "Limit", "Comment"});
    Row(xl, 5, {"A-1", "Acme", "X1", "1001", "9.80665", " g ", "50", "roof"});
    Row(xl, 6, {"A-2", "Acme", "X1", "1002", "1.02", "m/s2", "490", ""});
    Row(xl, 7, {"A-3", "Acme", "X1", "", "1.0", "G", "50"}); // no serial number: the sheet ends
    Row(xl, 8, {"A-4", "Acme", "X1", "1004", "1.0", "G", "50"});
    xl.AddSheet("Mic", 1);
    Row(xl, 1, {"ID", "Maker", "Model", "Serial", "Sens.", "Limit", "Comment"});
    Row(xl, 2, {"M-1", "Sonic", "M5", "S-77", "50", "140", "driver's ear"});
    if (withHammer) {
        xl.AddSheet("Hammer", 2);
        Row(xl, 1, {"ID", "Maker", "Model", "Serial", "Sens.", "Limit"});
        Row(xl, 2, {"H-1", "Impact", "H2", "900", "2.25", "2000"});
    }
    EXPECT_TRUE(xl.SaveAs(path)) << xl.ErrorText();
    return path;
}

std::vector<std::string> ListRow(const CImportSensorListFromExcel& import, int sheet, int row)
{
    using I = CImportSensorListFromExcel;
    return {import.GetCell(sheet, I::colID, row),          import.GetCell(sheet, I::colManufacturer, row),
            import.GetCell(sheet, I::colModel, row),       import.GetCell(sheet, I::colSerial, row),
            import.GetCell(sheet, I::colSensitivity, row), import.GetUnitText(sheet, row),
            import.GetCell(sheet, I::colLimit, row),       import.GetCell(sheet, I::colComment, row)};
}

} // namespace

TEST(SensorExcelImport, ReadsTheThreeSheetsAsTheyAreLaidOut)
{
    CImportSensorListFromExcel import;
    ASSERT_TRUE(import.Read(MakeCatalogue())) << import.ErrorText();
    EXPECT_EQ(import.GetTitle(), "Lab catalogue 2024");
    ASSERT_EQ(import.GetRowCount(0), 2); // A-3 has no serial number; A-4 after it is not read
    EXPECT_EQ(ListRow(import, 0, 0),
              (std::vector<std::string>{"A-1", "Acme", "X1", "1001", "9.80665", "mV/G", "50", "roof"}));
    EXPECT_EQ(import.GetUnitText(0, 1), "mV/m/s2");
    ASSERT_EQ(import.GetRowCount(1), 1);
    // The sixth cell of a microphone row is its limit, not a unit.
    EXPECT_EQ(ListRow(import, 1, 0),
              (std::vector<std::string>{"M-1", "Sonic", "M5", "S-77", "50", "mV/Pa", "140", "driver's ear"}));
    ASSERT_EQ(import.GetRowCount(2), 1);
    EXPECT_EQ(import.GetUnitText(2, 0), "mV/N");

    // A missing sheet gives no rows and a false result; the others are still read.
    CImportSensorListFromExcel partial;
    EXPECT_FALSE(partial.Read(MakeCatalogue(false)));
    EXPECT_EQ(partial.GetRowCount(0), 2);
    EXPECT_EQ(partial.GetRowCount(2), 0);
    EXPECT_EQ(partial.GetTitle(), "Lab catalogue 2024");
}

TEST(SensorExcelImport, UnreadableWorkbookLeavesTheListEmptyAndSaysWhy)
{
    const std::string path = TempPath("old.xls");
    std::ofstream(path, std::ios::binary)
        << std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) << std::string(504, '\0');
    CImportSensorListFromExcel import;
    EXPECT_FALSE(import.Read(path));
    EXPECT_NE(import.ErrorText().find(".xlsx"), std::string::npos);
    EXPECT_EQ(import.GetRowCount(0) + import.GetRowCount(1) + import.GetRowCount(2), 0);
}

TEST(SensorExcelImport, TakenOverRowsAreCheckedAndStoredPerMetrePerSecondSquared)
{
    CImportSensorListFromExcel import;
    ASSERT_TRUE(import.Read(MakeCatalogue()));
    CScriptedPrompts prompts;
    CSensorProject project;

    const tagSENSORINFO accel = CImportSensorListFromExcel::MakeSensorInfo(ListRow(import, 0, 0), 1);
    EXPECT_EQ(accel.ChannelInfo.DataType, SENSOR_DATATYPE_ACCELERATION);
    EXPECT_EQ(accel.ChannelInfo.Unit, 1);
    CSensor* a = CImportSensorListFromExcel::AddToProject(project, accel);
    ASSERT_NE(a, nullptr);
    EXPECT_FLOAT_EQ(a->GetChannelInfo().Sensitivity, 1.0f);
    EXPECT_FLOAT_EQ(a->GetChannelInfo().Limit, static_cast<float>(50 * 9.80665));
    EXPECT_EQ(a->GetChannelInfo().Unit, 0);
    ASSERT_NE(CImportSensorListFromExcel::AddToProject(
                  project, CImportSensorListFromExcel::MakeSensorInfo(ListRow(import, 1, 0), 2)),
              nullptr);
    EXPECT_EQ(project.FindSensor("M-1")->GetType(), CSensorProject::categoryMicrophone);
    EXPECT_EQ(prompts.Count(), 0u);

    struct Refused
    {
        const char* id;
        const char* sensitivity;
        const char* limit;
        uint32_t message;
    };
    for (const Refused& r :
         {Refused{"A-1", "1", "1", 7137}, Refused{"N-1", "0", "1", 7138}, Refused{"N-2", "1", "-3", 7139},
          Refused{"N-3", "inf", "1", 7138}, Refused{"N-4", "1e39", "1", 7138}, Refused{"N-5", "1", "INF", 7139},
          Refused{"N-6", "nan", "1", 7138}}) {
        const auto row = std::vector<std::string>{r.id, "", "", "9", r.sensitivity, "mV/N", r.limit, ""};
        EXPECT_EQ(CImportSensorListFromExcel::AddToProject(project, CImportSensorListFromExcel::MakeSensorInfo(row, 3),
                                                           StatusBarBoxes()),
                  nullptr);
        EXPECT_EQ(prompts.Last().stringId, r.message) << r.id;
    }
    EXPECT_EQ(project.GetAllSensors().size(), 2u);
}

TEST(SensorExcelImport, RefusedRowsOfOneTakeOverShareOneMessage)
{
    CScriptedPrompts prompts;
    CSensorProject project;
    auto record = [](const std::string& id, const char* sensitivity) {
        return CImportSensorListFromExcel::MakeSensorInfo({id, "", "", "9", sensitivity, "mV/N", "10", ""}, 3);
    };
    ASSERT_NE(CImportSensorListFromExcel::AddToProject(project, record("H-0", "1")), nullptr);
    // A thousand rows repeat an ID the catalogue has, one has no sensitivity, two are new.
    std::vector<tagSENSORINFO> records(1000, record("H-0", "1"));
    records.push_back(record("H-1", "2"));
    records.push_back(record("H-2", "0"));
    records.push_back(record("H-3", "3"));
    records.push_back(record("H-1", "2")); // taken by a row of this very import
    const std::vector<CSensor*> added = CImportSensorListFromExcel::AddAllToProject(project, records, StatusBarBoxes());
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added[0]->GetID(), "H-1");
    EXPECT_EQ(added[1]->GetID(), "H-3");
    EXPECT_EQ(project.GetAllSensors().size(), 3u);
    ASSERT_EQ(prompts.Count(), 1u);
    const std::string& text = prompts.Last().text;
    EXPECT_EQ(text.find("A sensor with the ID H-0 already exists."), 0u) << text;
    EXPECT_NE(text.find("\n... and 982 more"), std::string::npos) << text;
}
