// The Blix channel assignment exchange: text files written and read, the checks of every row and
// their report, the workbook form with its note, merge areas and crossed-out records, and the
// database and bundles a failed run leaves.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "acquisition/BlixChDB.h"
#include "acquisition/BlixChIO.h"
#include "experiments/SensorProject.h"
#include "platform/excel/XlsxWorkbook.h"
#include "platform/excel/XlsxWriter.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"

namespace fs = std::filesystem;

namespace {
class BlixChIOTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
        m_dir = fs::temp_directory_path() / ("orvex_blixchio_" + std::to_string(getpid()));
        fs::create_directories(m_dir);
        for (const char* id : {"S1", "S2", "S3", "S4"}) {
            tagSENSORINFO info;
            info.ID = id;
            info.ChannelInfo.DataType = 7;
            ASSERT_NE(m_sensors.AddSensor(info), nullptr);
        }
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    static void Write(const std::string& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Runs an import of path; the report's codes in report order.
    int Import(const std::string& path, std::string* title = nullptr)
    {
        m_params = CBlixChIO::CParams(path, &m_db, &m_subsystems, &m_sensors);
        m_io.SetParams(&m_params);
        m_io.SetFeedback(nullptr);
        std::string t;
        const int result = m_io.Import(t);
        if (title)
            *title = t;
        return result;
    }
    std::vector<int> Codes() const
    {
        std::vector<int> codes;
        for (int c = 0; c < CBlixChIO::errCodeCount; ++c) {
            std::vector<const CBlixChIO::CErrItem*> items;
            for (int k = m_io.GetErrRep()->GetItemsByCode(c, items); k > 0; --k)
                codes.push_back(c);
        }
        return codes;
    }
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < m_db.GetItemList()->GetSize(); ++i) {
            const CBlixChDB::CItem* item = m_db.GetItemList()->GetAt(i);
            out.push_back(item->GetSubsystem() + "," + item->GetBlixSN() + "," + std::to_string(item->GetBlixCh()) +
                          "," + item->GetSensor());
        }
        return out;
    }
    std::vector<std::string> BundleSensors(const std::string& id) const
    {
        const CSensorBundle* bundle = m_sensors.FindBundleByID(id);
        return bundle ? bundle->GetSensors() : std::vector<std::string>{"<no bundle>"};
    }

    fs::path m_dir;
    CZuSubsystemTable m_subsystems{std::vector<std::string>{"Door", "Roof"}};
    CSensorProject m_sensors;
    CBlixChDB m_db;
    CBlixChIO::CParams m_params;
    CBlixChIO m_io;
};
} // namespace

TEST_F(BlixChIOTest, ExportedFileImportsBackWithoutError)
{
    const std::string source = Path("source.txt");
    Write(source, "#@Rev 2\r\n# somewhere\r\n#\r\nRoof\t9\t1\tS3\r\n\r\n  Door\t\t12\t2\tS2  \r\nDoor\t12\t1\tS1\r\n");
    std::string title;
    ASSERT_EQ(Import(source, &title), 1) << m_io.GetErrRep()->GetText();
    EXPECT_EQ(title, "Rev 2");
    EXPECT_EQ(m_io.GetErrRep()->GetText(), "### NO ERROR ###\r\n");
    const std::vector<std::string> expected{"Door,00012,0,S1", "Door,00012,1,S2", "Roof,00009,0,S3"};
    EXPECT_EQ(Entries(), expected);
    EXPECT_EQ(BundleSensors("00012-BLIX"), (std::vector<std::string>{"S1", "S2"}));
    EXPECT_EQ(BundleSensors("00009-BLIX"), (std::vector<std::string>{"S3"}));

    // The export on the status bar the command gives: the main window's progress bar is shown and
    // hidden around it.
    CRecordingMessageTarget window;
    SetMainWindowTarget(&window);
    const std::string exported = Path("exported.txt");
    m_params = CBlixChIO::CParams(exported, &m_db, &m_subsystems, &m_sensors);
    CStatusBarFeedback statusBar;
    CBlixChIO io;
    io.SetParams(&m_params);
    io.SetFeedback(&statusBar);
    EXPECT_EQ(io.Export("tag"), 1);
    SetMainWindowTarget(nullptr);
    const auto messages = window.MessageNumbers();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front(), WM_ZU_PROGRESS_SHOW);
    EXPECT_EQ(messages.back(), WM_ZU_PROGRESS_HIDE);
    EXPECT_EQ(Read(exported), "#@tag\n# " + exported +
                                  "\n#\n[Subsystem]\t[BLIX SN]\t[BLIX CH]\t[Sensor]\n"
                                  "Door\t00012\t1\tS1\nDoor\t00012\t2\tS2\nRoof\t00009\t1\tS3\n");

    // Its column line is no row, and the stored serial numbers read back as the same units.
    CBlixChDB before;
    before.Swap(m_db);
    ASSERT_EQ(Import(exported), 1) << m_io.GetErrRep()->GetText();
    EXPECT_EQ(Entries(), expected);
    EXPECT_EQ(BundleSensors("00012-BLIX"), (std::vector<std::string>{"S1", "S2"}));

    // An empty database: the header lines and the column line only.
    CBlixChDB empty;
    m_params = CBlixChIO::CParams(exported, &empty, &m_subsystems, &m_sensors);
    EXPECT_EQ(io.Export(""), 1);
    EXPECT_EQ(Read(exported), "#@\n# " + exported + "\n#\n[Subsystem]\t[BLIX SN]\t[BLIX CH]\t[Sensor]\n");
}

TEST_F(BlixChIOTest, EveryRowIsCheckedAndReportedInCodeOrder)
{
    const std::string path = Path("rows.txt");
    Write(path,
          "#@t\n# p\n#\n"
          "Door\t12\t1\n"      // line 4: three fields
          "Door\t12\t3\tS1\n"  // channel 3
          "Hood\t12\t1\tS1\n"  // no such subsystem
          "Door\t12\t2\tS9\n"  // no such sensor
          "Door\tabc\t1\tS1\n" // no unit number at all
          "Roof\t7\t2\tS4\n"); // passes
    EXPECT_EQ(Import(path), 0);
    EXPECT_EQ(Codes(), (std::vector<int>{3, 4, 5, 6, 7}));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Roof,00007,1,S4"}));
    // Channel 2 of a bundle without channel 1 keeps the place of the first channel free.
    EXPECT_EQ(BundleSensors("00007-BLIX"), (std::vector<std::string>{"", "S4"}));
    // A unit gets a bundle only from a row that was imported.
    EXPECT_EQ(m_sensors.FindBundleByID("00000-BLIX"), nullptr);

    const std::string text = m_io.GetErrRep()->GetText();
    EXPECT_EQ(text.substr(0, text.find("### SUBSYSTEM")),
              "### DATA IS MISSING ###\r\n[Line#]\t[Line Text]\r\n4\tDoor\t12\t1\r\n\r\n");
    EXPECT_LT(text.find("### SUBSYSTEM NOT FOUND ###"), text.find("### SENSOR NOT FOUND ###"));
    EXPECT_NE(
        text.find("### INVALID BLIX CH ###\r\n[Subsystem]\t[BLIX SN]\t[BLIX CH]\t[Sensor ID]\r\nDoor\t12\t3\tS1\r\n"),
        std::string::npos);

    // The report file beside the channel file has plain line ends.
    const std::string report = path + ".err.txt";
    ASSERT_EQ(m_io.WriteErrorReport(report), 1);
    const std::string written = Read(report);
    EXPECT_EQ(written.find('\r'), std::string::npos);
    EXPECT_EQ(written.substr(0, 24), "### DATA IS MISSING ###\n");
    EXPECT_EQ(m_io.WriteErrorReport(Path("no-folder/x.err.txt")), 0);

    // Codes 7 and 4 added in that order print 4 first.
    CBlixChIO::CErrRep rep;
    rep.Add(7, {"a"});
    rep.Add(4, {"b"});
    const std::string two = rep.GetText();
    EXPECT_LT(two.find("SUBSYSTEM NOT FOUND"), two.find("SENSOR NOT FOUND"));
}

TEST_F(BlixChIOTest, AFileThatCannotBeReadLeavesTheDatabase)
{
    const std::string good = Path("good.txt");
    Write(good, "Door\t12\t1\tS1\n");
    ASSERT_EQ(Import(good), 1);
    const std::vector<std::string> before = Entries();

    struct Case
    {
        std::string path;
        int code;
    };
    Write(Path("binary.XLS"), std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(512, '\0'));
    Write(Path("text.xlsx"), "Door\t12\t1\tS1\n");
    fs::create_directories(Path("folder.txt"));
    const Case cases[] = {
        {Path("missing.txt"), CBlixChIO::errOpenImport},
        {Path("folder.txt"), -1}, // opened or not, nothing is read from a folder
        {Path("binary.XLS"), CBlixChIO::errOpenWorkbook},
        {Path("text.xlsx"), CBlixChIO::errOpenWorkbook},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(Import(c.path), 0);
        ASSERT_EQ(m_io.GetErrRep()->GetCount(), 1);
        if (c.code >= 0)
            EXPECT_EQ(Codes().front(), c.code);
        else
            EXPECT_TRUE(Codes().front() == CBlixChIO::errOpenImport || Codes().front() == CBlixChIO::errRead);
        EXPECT_EQ(Entries(), before);
        EXPECT_EQ(BundleSensors("00012-BLIX"), (std::vector<std::string>{"S1"}));
    }
    // A binary workbook is refused with its cause: save it as .xlsx.
    Import(Path("binary.XLS"));
    std::vector<const CBlixChIO::CErrItem*> items;
    m_io.GetErrRep()->GetItemsByCode(CBlixChIO::errOpenWorkbook, items);
    ASSERT_EQ(items.size(), 1u);
    ASSERT_EQ(items[0]->GetParams().size(), 2u);
    EXPECT_NE(items[0]->GetParams()[1].find(".xlsx"), std::string::npos);
}

// Only what a run imports reaches the sensor catalogue: a unit named only by refused rows gets no
// bundle, and a unit that had one keeps its sensors.
TEST_F(BlixChIOTest, RefusedRowsLeaveTheSensorCatalogueAlone)
{
    Write(Path("good.txt"), "Door\t12\t1\tS1\n");
    ASSERT_EQ(Import(Path("good.txt")), 1);
    const int bundles = m_sensors.GetBundleCount();
    const std::string path = Path("refused.txt");
    Write(path, "Door\t12\t3\tS1\n"  // unit 12: channel 3
                "Door\t31\t1\tS9\n"  // unit 31: no such sensor
                "Roof\t7\t1\tS2\n"); // passes
    EXPECT_EQ(Import(path), 0);
    EXPECT_EQ(Codes(), (std::vector<int>{CBlixChIO::errBlixCh, CBlixChIO::errSensor}));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Roof,00007,0,S2"}));
    EXPECT_EQ(BundleSensors("00012-BLIX"), (std::vector<std::string>{"S1"}));
    EXPECT_EQ(m_sensors.FindBundleByID("00031-BLIX"), nullptr);
    EXPECT_EQ(BundleSensors("00007-BLIX"), (std::vector<std::string>{"S2"}));
    EXPECT_EQ(m_sensors.GetBundleCount(), bundles + 1);
    // Two units new to the catalogue take the next bundle numbers in the order of the database.
    Write(path, "Door\t41\t1\tS1\nDoor\t40\t2\tS2\n");
    ASSERT_EQ(Import(path), 1);
    const CSensorBundle* b40 = m_sensors.FindBundleByID("00040-BLIX");
    const CSensorBundle* b41 = m_sensors.FindBundleByID("00041-BLIX");
    ASSERT_TRUE(b40 && b41);
    EXPECT_EQ(b41->GetNumber(), b40->GetNumber() + 1);
    EXPECT_EQ(BundleSensors("00040-BLIX"), (std::vector<std::string>{"", "S2"}));
}

TEST_F(BlixChIOTest, WorkbookRecordsOfTheExportRangeWithoutCrossedOutOnes)
{
    CXlsxWorkbook book;
    book.InsertSheet(0, "Other");
    CXlsxSheet* sheet = book.InsertSheet(1, "Sensors");
    sheet->Notes()[{1, 1}] = "Planner:\nFILE_VERSION=Rev 7\nEXPORT_RANGE=$B$2:$C$17\n";
    auto put = [&](int row, int col, const std::string& text, int style = 0) {
        XlsxCell* cell = sheet->GetCell(row, col);
        cell->type = XlsxCellType::String;
        cell->text = text;
        cell->style = style;
        return cell;
    };
    auto putNumber = [&](int row, int col, double value, int style = 0) {
        XlsxCell* cell = sheet->GetCell(row, col);
        cell->type = XlsxCellType::Number;
        cell->number = value;
        cell->style = style;
    };
    XlsxStyle struck;
    struck.font.strike = true;
    XlsxStyle diagonal;
    diagonal.diagonal.style = XlsxBorderStyle::Thin;
    diagonal.diagonalDown = true;
    const int struckStyle = book.AddStyle(struck);
    const int diagonalStyle = book.AddStyle(diagonal);

    // Column B. Record 1: serial number merged over rows 2-3, then channel, sensor, subsystem.
    putNumber(2, 2, 12);
    sheet->MergedRanges().push_back({2, 2, 3, 2});
    putNumber(4, 2, 1);
    put(5, 2, "S1");
    put(6, 2, "Door");
    // Record 2: its channel cell is struck through.
    putNumber(7, 2, 12);
    putNumber(8, 2, 2, struckStyle);
    put(9, 2, "S2");
    put(10, 2, "Roof");
    // Record 3: the subsystem merged over two rows.
    putNumber(11, 2, 9);
    putNumber(12, 2, 2);
    put(13, 2, "S3");
    put(14, 2, "Roof");
    sheet->MergedRanges().push_back({14, 2, 15, 2});
    // Column C. Record 4: a diagonal line over the channel cell. Record 5: one struck run in the
    // channel cell's text. Record 6: a sensor no catalogue has. Rows past the range are not read.
    put(2, 3, "12");
    put(3, 3, "2", diagonalStyle);
    put(4, 3, "S4");
    put(5, 3, "Door");
    put(6, 3, "9");
    XlsxCell* rich = put(7, 3, " 1");
    rich->runs = {{" ", struck.font}, {"1", struck.font}};
    put(8, 3, "S4");
    put(9, 3, "Door");
    put(10, 3, "9");
    put(11, 3, "1");
    put(12, 3, "S9");
    put(13, 3, "Door");
    put(18, 3, "9");
    put(19, 3, "1");
    put(20, 3, "S4");
    put(21, 3, "Door");
    const std::string path = Path("channels.xlsx");
    CXlsxWriter writer;
    ASSERT_TRUE(writer.Write(book, path)) << writer.ErrorText();

    std::string title;
    EXPECT_EQ(Import(path, &title), 0);
    EXPECT_EQ(title, "Rev 7");
    EXPECT_EQ(Codes(), (std::vector<int>{CBlixChIO::errSensor}));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Door,00012,0,S1", "Roof,00009,1,S3"}));
    EXPECT_EQ(BundleSensors("00012-BLIX"), (std::vector<std::string>{"S1"}));
    EXPECT_EQ(BundleSensors("00009-BLIX"), (std::vector<std::string>{"", "S3"}));

    // Without the sheet of the channel assignment: error 13 naming file and sheet.
    book.GetSheet(1)->SetName("Renamed");
    ASSERT_TRUE(writer.Write(book, path));
    EXPECT_EQ(Import(path), 0);
    EXPECT_EQ(Codes(), (std::vector<int>{CBlixChIO::errWorksheet}));
    EXPECT_NE(m_io.GetErrRep()->GetText().find(path + "\tSensors\r\n"), std::string::npos);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Door,00012,0,S1", "Roof,00009,1,S3"}));
}

TEST_F(BlixChIOTest, WorkbookRangeOfTheWholeSheetIsWalkedByWhatItHolds)
{
    // The note names every cell of the sheet while the file holds two records: one at the top of
    // column B, one at the foot of the last column with its serial number merged over four rows.
    CXlsxWorkbook book;
    CXlsxSheet* sheet = book.InsertSheet(0, "Sensors");
    sheet->Notes()[{1, 1}] = "FILE_VERSION=1\nEXPORT_RANGE=A1:XFD1048576";
    auto put = [&](int row, int col, const std::string& text) {
        XlsxCell* cell = sheet->GetCell(row, col);
        cell->type = XlsxCellType::String;
        cell->text = text;
    };
    put(1, 2, "12");
    put(2, 2, "1");
    put(3, 2, "S1");
    put(4, 2, "Door");
    const int last = kXlsxMaxCols, foot = kXlsxMaxRows;
    put(foot - 7, last, "9");
    sheet->MergedRanges().push_back({foot - 7, last, foot - 4, last});
    put(foot - 3, last, "2");
    put(foot - 2, last, "S3");
    put(foot - 1, last, "Roof");
    const std::string path = Path("whole.xlsx");
    CXlsxWriter writer;
    ASSERT_TRUE(writer.Write(book, path)) << writer.ErrorText();
    EXPECT_EQ(Import(path), 1);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Door,00012,0,S1", "Roof,00009,1,S3"}));

    // Merged ranges that overlap have no top cell to read: the run is refused and says where.
    sheet->MergedRanges().push_back({foot - 5, last - 1, foot - 2, last});
    ASSERT_TRUE(writer.Write(book, path));
    EXPECT_EQ(Import(path), 0);
    EXPECT_EQ(Codes(), (std::vector<int>{CBlixChIO::errRead}));
    EXPECT_NE(m_io.GetErrRep()->GetText().find("overlap"), std::string::npos) << m_io.GetErrRep()->GetText();
}
