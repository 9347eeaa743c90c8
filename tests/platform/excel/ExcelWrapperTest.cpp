#include "platform/excel/ExcelWrapper.h"
#include "platform/excel/SheetNameSet.h"
#include "platform/excel/XlsxReader.h"
#include "platform/excel/XlsxWriter.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <zip.h>

#include "ZipBuilder.h"

namespace fs = std::filesystem;

namespace {

class ExcelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/orvex_excel_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    static void WriteBytes(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string ReadBytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path m_dir;
};

TEST(ExcelNames, CellNamesSheetNamesAndExtensions)
{
    const struct
    {
        int row, col;
        const char* name;
    } cells[] = {{1, 1, "A1"},     {1, 26, "Z1"}, {3, 27, "AA3"}, {10, 702, "ZZ10"},
                 {4, 703, "AAA4"}, {0, 1, ""},    {1, 0, ""}};
    for (const auto& c : cells)
        EXPECT_EQ(CExcelWrapper::CellName(c.row, c.col), c.name) << c.row << "," << c.col;

    std::string name = "a/b:c[1]";
    CExcelWrapper::MakeValidSheetName(name);
    EXPECT_EQ(name, "abc1");
    name = std::string(40, 'x');
    CExcelWrapper::MakeValidSheetName(name);
    EXPECT_EQ(name, std::string(31, 'x'));
    name = "?*\\" + std::string(35, 'y');
    CExcelWrapper::MakeValidSheetName(name);
    EXPECT_EQ(name, std::string(31, 'y'));
    // Characters, not bytes: a Japanese name is not cut inside a character.
    name.clear();
    for (int i = 0; i < 40; ++i)
        name += "\xE3\x81\x82"; // one kana
    CExcelWrapper::MakeValidSheetName(name);
    EXPECT_EQ(name.size(), 31u * 3);

    EXPECT_TRUE(CExcelWrapper::IsExcelFile("a/b.xlsx"));
    EXPECT_TRUE(CExcelWrapper::IsExcelFile("B.XLS"));
    EXPECT_TRUE(CExcelWrapper::IsExcelFile("c.XlSx"));
    EXPECT_FALSE(CExcelWrapper::IsExcelFile("d.csv"));
    EXPECT_FALSE(CExcelWrapper::IsExcelFile("xlsx"));
}

TEST(ExcelWrapper, EveryOperationNeedsWhatItActsOn)
{
    CExcelWrapper xl;
    EXPECT_FALSE(xl.Open());
    EXPECT_EQ(xl.GetSheetCount(), -1);
    EXPECT_EQ(xl.FindSheet("Sheet1"), -1);
    EXPECT_FALSE(xl.SetCellText(1, 1, "x"));
    EXPECT_EQ(xl.GetCellText(1, 1), "");
    EXPECT_FALSE(xl.SaveAs("/tmp/never.xlsx"));
    EXPECT_FALSE(xl.Close(false));
    EXPECT_FALSE(xl.Quit());

    ASSERT_TRUE(xl.Create(false));
    ASSERT_TRUE(xl.Open());
    EXPECT_EQ(xl.GetSheetCount(), 1);
    EXPECT_EQ(xl.GetSheetName(), "Sheet1");
    EXPECT_FALSE(xl.SetCellText(0, 1, "x"));
    EXPECT_EQ(xl.GetCellText(0, 1), "");
    EXPECT_EQ(xl.GetCellText(2, 1, 1), ""); // no second sheet
    EXPECT_FALSE(xl.SelectSheet(2));
    EXPECT_FALSE(xl.SelectSheet("sheet1")); // names are compared exactly
    EXPECT_FALSE(xl.SetRangeBold(0, 1, 2, 2, true));
    EXPECT_EQ(xl.GetRange(2, 3, 0, 0), (XlsxRange{2, 3, 2, 3}));
    // Sheet names a workbook cannot hold are refused, as is a second sheet of one name.
    EXPECT_FALSE(xl.AddSheet("a/b", 1));
    EXPECT_FALSE(xl.AddSheet("SHEET1", 1));
    EXPECT_TRUE(xl.AddSheet("Second", 1));
    EXPECT_EQ(xl.FindSheet("Second"), 2);
    EXPECT_EQ(xl.GetSheetName(), "Second");
    // A huge range is refused instead of filling memory with formatted cells.
    EXPECT_FALSE(xl.SetRangeColor(1, 1, kXlsxMaxRows, kXlsxMaxCols, 6));
    EXPECT_TRUE(xl.Quit());
    EXPECT_EQ(xl.GetSheetCount(), -1);
}

// What the layer writes it reads back: text, numbers, sheets, formats, merged ranges, notes.
TEST_F(ExcelTest, WrittenWorkbookReadsBackTheSame)
{
    const std::string path = Path("round.xlsx");
    {
        CExcelWrapper xl;
        xl.Create(false);
        ASSERT_TRUE(xl.Open());
        xl.SetCellText(1, 1, "Sensor ID");
        xl.SetCellText(1, 2, "\xE6\x84\x9F\xE5\xBA\xA6"); // Japanese text
        xl.SetCellText(2, 1, "12.5");                     // a number as typed
        xl.SetCellString(2, 2, "007");                    // kept as text
        xl.SetCellText(3, 1, "-1e-3");
        xl.SetCellText(3, 2, " 5 "); // blanks: text
        xl.SetRangeBold(1, 1, 1, 2, true);
        xl.SetRangeColor(1, 1, 1, 2, 6);
        xl.SetRangeBorders(1, 1, 3, 2, xlEdgeBottom, xlContinuous, xlMedium, 3);
        xl.SetRangeBorders(2, 2, 2, 2, xlDiagonalUp, xlContinuous, xlThin, -1);
        xl.GetActiveSheet()->MergedRanges().push_back({5, 1, 5, 3});
        xl.SetCellText(5, 1, "merged");
        xl.GetActiveSheet()->Notes()[{1, 1}] = "the sensor's name";
        ASSERT_TRUE(xl.AutoFitColumns(1, 3));
        ASSERT_TRUE(xl.SetColumnWidth(4, 20.0));
        ASSERT_TRUE(xl.AddSheet("Mic", 1));
        xl.SetCellText(1, 1, "second sheet");
        ASSERT_TRUE(xl.SaveAs(path)) << xl.ErrorText();
    }
    CExcelWrapper xl;
    xl.Create(false);
    ASSERT_TRUE(xl.Open(path)) << xl.ErrorText();
    ASSERT_EQ(xl.GetSheetCount(), 2);
    EXPECT_EQ(xl.FindSheet("Mic"), 2);
    EXPECT_EQ(xl.GetCellText(1, 1), "Sensor ID");
    EXPECT_EQ(xl.GetCellText(1, 2), "\xE6\x84\x9F\xE5\xBA\xA6");
    EXPECT_EQ(xl.GetCellText(2, 1), "12.5");
    EXPECT_EQ(xl.GetCell(2, 1)->type, XlsxCellType::Number);
    EXPECT_EQ(xl.GetCellText(2, 2), "007");
    EXPECT_EQ(xl.GetCell(2, 2)->type, XlsxCellType::String);
    EXPECT_EQ(xl.GetCellText(3, 1), "-0.001");
    EXPECT_EQ(xl.GetCellText(3, 2), " 5 ");
    EXPECT_EQ(xl.GetCellText(2, 1, 1), "second sheet");

    const CXlsxWorkbook& book = *xl.GetWorkbook();
    const XlsxStyle& head = book.GetStyle(xl.GetCell(1, 1)->style);
    EXPECT_TRUE(head.font.bold);
    EXPECT_EQ(head.fill, 0xFFFF00u);
    const XlsxStyle& bottom = book.GetStyle(xl.GetCell(3, 1)->style);
    EXPECT_EQ(bottom.bottom.style, XlsxBorderStyle::Medium);
    EXPECT_EQ(bottom.bottom.color, 0xFF0000u);
    const XlsxStyle& diagonal = book.GetStyle(xl.GetCell(2, 2)->style);
    EXPECT_TRUE(diagonal.diagonalUp);
    EXPECT_FALSE(diagonal.diagonalDown);
    EXPECT_EQ(diagonal.diagonal.style, XlsxBorderStyle::Thin);

    const CXlsxSheet& sheet = *xl.GetActiveSheet();
    ASSERT_EQ(sheet.MergedRanges().size(), 1u);
    EXPECT_EQ(sheet.MergedRanges()[0], (XlsxRange{5, 1, 5, 3}));
    EXPECT_EQ(sheet.GetNote(1, 1), "the sensor's name");
    ASSERT_TRUE(sheet.ColumnWidths().count(1));
    EXPECT_GE(sheet.ColumnWidths().at(1), 9.0); // "Sensor ID", bold
    EXPECT_DOUBLE_EQ(sheet.ColumnWidths().at(4), 20.0);
}

TEST_F(ExcelTest, SaveAsTakesXlsxInAnyCaseAndRefusesBinaryWorkbooks)
{
    CExcelWrapper xl;
    xl.Create(false);
    ASSERT_TRUE(xl.Open());
    xl.SetCellText(1, 1, "kept");
    const std::string upper = Path("UPPER.XLSX");
    EXPECT_TRUE(xl.SaveAs(upper, xlExcel9795)) << xl.ErrorText();
    EXPECT_TRUE(fs::exists(upper));

    for (const std::string& refused : {Path("old.xls"), Path("old.XLS"), Path("plain.bin")}) {
        EXPECT_FALSE(xl.SaveAs(refused, xlExcel8)) << refused;
        EXPECT_NE(xl.ErrorText().find(".xlsx"), std::string::npos);
        EXPECT_FALSE(fs::exists(refused));
    }
    // A failed write leaves the previous file as it was.
    const std::string before = ReadBytes(upper);
    fs::create_directory(Path("folder.xlsx"));
    EXPECT_FALSE(xl.SaveAs(Path("folder.xlsx")));
    EXPECT_EQ(ReadBytes(upper), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 2); // no temporary left
}

TEST_F(ExcelTest, ReaderTakesWhatOtherWritersPut)
{
    // Prefixed element names, inline strings, rich text, phonetic runs, cells without addresses,
    // booleans, formula results, errors and dates.
    const std::string sst = "<x:sst xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                            "<x:si><x:t>plain</x:t></x:si>"
                            "<x:si><x:r><x:rPr><x:b/></x:rPr><x:t>bold "
                            "</x:t></x:r><x:r><x:rPr><x:strike/></x:rPr><x:t>struck</x:t></x:r></x:si>"
                            "<x:si><x:t>\xE6\xBC\xA2\xE5\xAD\x97</x:t><x:rPh sb=\"0\" "
                            "eb=\"1\"><x:t>\xE3\x81\x8B\xE3\x82\x93</x:t></x:rPh></x:si>"
                            "<x:si><x:t xml:space=\"preserve\"> </x:t></x:si>"
                            "<x:si><x:t>line_x000D_end</x:t></x:si>"
                            "</x:sst>";
    const std::string sheet = SheetXml(
        "<dimension ref=\"A1:XFD1048576\"/><sheetData>"
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c t=\"s\"><v>1</v></c><c t=\"s\"><v>2</v></c></row>"
        "<row><c t=\"inlineStr\"><is><t>inline</t></is></c><c t=\"b\"><v>1</v></c><c t=\"str\"><f>A1</f><v>calc</v></c>"
        "<c t=\"e\"><v>#DIV/0!</v></c><c t=\"s\"><v>3</v></c><c t=\"s\"><v>4</v></c></row>"
        "<row r=\"1048576\"><c r=\"XFD1048576\"><v>42</v></c></row>"
        "</sheetData>");
    const std::string bytes = BuildStoredZip(MinimalWorkbookParts(sheet, sst));
    CXlsxReader reader;
    CXlsxWorkbook book;
    ASSERT_TRUE(reader.ReadMemory(bytes.data(), bytes.size(), book)) << reader.ErrorText();
    const CXlsxSheet& s = *book.GetSheet(0);
    auto text = [&](int r, int c) {
        return s.FindCell(r, c) ? book.CellText(*s.FindCell(r, c)) : std::string("<none>");
    };
    EXPECT_EQ(text(1, 1), "plain");
    EXPECT_EQ(text(1, 2), "bold struck");
    ASSERT_EQ(s.FindCell(1, 2)->runs.size(), 2u);
    EXPECT_TRUE(s.FindCell(1, 2)->runs[0].font.bold);
    EXPECT_TRUE(s.FindCell(1, 2)->runs[1].font.strike);
    EXPECT_EQ(text(1, 3), "\xE6\xBC\xA2\xE5\xAD\x97"); // without its reading
    EXPECT_EQ(text(2, 1), "inline");
    EXPECT_EQ(text(2, 2), "TRUE");
    EXPECT_EQ(text(2, 3), "calc");
    EXPECT_EQ(text(2, 4), "#DIV/0!");
    EXPECT_EQ(text(2, 5), " ");
    EXPECT_EQ(text(2, 6), "line\rend");
    EXPECT_EQ(text(1048576, 16384), "42");
    EXPECT_EQ(s.CellCount(), 10u); // the dimension claimed the whole sheet; only cells are kept

    EXPECT_EQ(CXlsxWorkbook::DateText(45292.0, false), "2024-01-01");
    EXPECT_EQ(CXlsxWorkbook::DateText(45292.75, false), "2024-01-01 18:00:00");
    EXPECT_EQ(CXlsxWorkbook::DateText(60.0, false), "1900-02-29");
    EXPECT_EQ(CXlsxWorkbook::DateText(1.0, false), "1900-01-01");
    EXPECT_EQ(CXlsxWorkbook::DateText(0.0, true), "1904-01-01");
}

TEST_F(ExcelTest, UntrustedWorkbooksFailWithAMessage)
{
    struct Case
    {
        const char* what;
        std::string bytes;
        const char* message; // a piece of the expected message
    };
    const std::string ok = "<sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c></row></sheetData>";
    auto with = [](const std::string& body, const std::string& sst = "") {
        return BuildStoredZip(MinimalWorkbookParts(SheetXml(body), sst));
    };
    auto withoutPart = [&](const std::string& part) {
        auto parts = MinimalWorkbookParts(SheetXml(ok));
        std::erase_if(parts, [&](const auto& p) { return p.first == part; });
        return BuildStoredZip(parts);
    };
    const std::string compound = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0');
    std::string truncated = with(ok);
    truncated.resize(truncated.size() / 2);
    const Case cases[] = {
        {"binary workbook", compound, ".xlsx"},
        {"not a package", "just some text, not a zip", "not an .xlsx"},
        {"cut-off package", truncated, "not an .xlsx"},
        {"no workbook part", withoutPart("xl/workbook.xml"), "no workbook part"},
        {"missing sheet part", withoutPart("xl/worksheets/sheet1.xml"), "sheet1.xml is missing"},
        {"malformed XML", with("<sheetData><row><c><v>1</v></row></sheetData>"), "not well-formed"},
        {"row 0", with("<sheetData><row r=\"0\"/></sheetData>"), "bad row number"},
        {"row past the sheet", with("<sheetData><row r=\"1048577\"/></sheetData>"), "bad row number"},
        {"column past the sheet", with("<sheetData><row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row></sheetData>"),
         "bad cell reference"},
        {"cell in another row", with("<sheetData><row r=\"1\"><c r=\"A2\"><v>1</v></c></row></sheetData>"),
         "bad cell reference"},
        {"missing shared string", with("<sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>7</v></c></row></sheetData>"),
         "missing shared string"},
        {"huge shared string index",
         with("<sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>99999999999999999999999</v></c></row></sheetData>"),
         "missing shared string"},
        {"bad number", with("<sheetData><row r=\"1\"><c r=\"A1\"><v>1e99999</v></c></row></sheetData>"), "bad number"},
        {"bad merged range", with(ok + "<mergeCells><mergeCell ref=\"A1:ZZZZ9\"/></mergeCells>"), "bad merged range"},
    };
    for (const Case& c : cases) {
        CXlsxReader reader;
        CXlsxWorkbook book;
        EXPECT_FALSE(reader.ReadMemory(c.bytes.data(), c.bytes.size(), book, "case.xlsx")) << c.what;
        EXPECT_NE(reader.ErrorText().find(c.message), std::string::npos) << c.what << ": " << reader.ErrorText();
        EXPECT_EQ(book.GetSheetCount(), 0) << c.what;
    }

    // Through the wrapper, a binary workbook named .xls and one in disguise are both refused.
    CExcelWrapper xl;
    xl.Create(false);
    WriteBytes(Path("old.xls"), compound);
    WriteBytes(Path("disguised.xlsx"), compound);
    for (const char* name : {"old.xls", "disguised.xlsx"}) {
        EXPECT_FALSE(xl.Open(Path(name)));
        EXPECT_NE(xl.ErrorText().find("as an .xlsx"), std::string::npos) << xl.ErrorText();
    }
    EXPECT_FALSE(xl.Open(Path("absent.xlsx")));
    EXPECT_EQ(xl.GetSheetCount(), -1);
}

// A part that unpacks far beyond its bound is cut off while reading, whatever its entry claims.
TEST_F(ExcelTest, ZipBombIsRefusedWithinItsBound)
{
    const std::string path = Path("bomb.xlsx");
    std::string huge = "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
    huge += std::string(3 << 20, ' ');
    huge += "</sheetData></worksheet>";
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    ASSERT_NE(z, nullptr);
    const auto parts = MinimalWorkbookParts("");
    for (const auto& [name, data] : parts) {
        const std::string& body = name == "xl/worksheets/sheet1.xml" ? huge : data;
        zip_source_t* src = zip_source_buffer(z, body.data(), body.size(), 0);
        ASSERT_GE(zip_file_add(z, name.c_str(), src, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(z), 0);
    EXPECT_LT(fs::file_size(path), 64u * 1024); // deflated to almost nothing

    XlsxReadLimits limits;
    limits.maxPartBytes = 1 << 20;
    CXlsxReader reader(limits);
    CXlsxWorkbook book;
    EXPECT_FALSE(reader.ReadFile(path, book));
    EXPECT_NE(reader.ErrorText().find("more than 1 MB"), std::string::npos) << reader.ErrorText();

    limits.maxPartBytes = 8 << 20;
    limits.maxTotalBytes = 2 << 20;
    CXlsxReader totalBound(limits);
    EXPECT_FALSE(totalBound.ReadFile(path, book));
    EXPECT_NE(totalBound.ErrorText().find("exceed"), std::string::npos) << totalBound.ErrorText();

    limits = XlsxReadLimits();
    limits.maxCells = 2;
    CXlsxReader cellBound(limits);
    const std::string three = BuildStoredZip(MinimalWorkbookParts(
        SheetXml("<sheetData><row r=\"1\"><c><v>1</v></c><c><v>2</v></c><c><v>3</v></c></row></sheetData>")));
    EXPECT_FALSE(cellBound.ReadMemory(three.data(), three.size(), book));
    EXPECT_NE(cellBound.ErrorText().find("more than 2 cells"), std::string::npos);
}

// ---- the independent reader and writer ----

// The first Python that has openpyxl: the one on the path, else the system's own (the Debian
// package installs there); empty when there is none.
std::string PythonWithOpenpyxl()
{
    for (const char* python : {"python3", "/usr/bin/python3"})
        if (std::system((std::string(python) + " -c 'import openpyxl' >/dev/null 2>&1").c_str()) == 0)
            return python;
    return std::string();
}

TEST_F(ExcelTest, OpenpyxlReadsWhatTheLayerWrites)
{
    const std::string python = PythonWithOpenpyxl();
    if (python.empty())
        GTEST_SKIP() << "python3 with openpyxl is not installed";
    const std::string path = Path("ours.xlsx");
    CExcelWrapper xl;
    xl.Create(false);
    ASSERT_TRUE(xl.Open());
    xl.SetCellText(1, 1, "ID");
    xl.SetCellText(1, 2, "\xE6\x84\x9F\xE5\xBA\xA6");
    xl.SetCellText(2, 1, "A-01");
    xl.SetCellText(2, 2, "2.5");
    xl.SetRangeBold(1, 1, 1, 2, true);
    xl.SetRangeColor(2, 1, 2, 1, 4);
    xl.SetRangeBorders(2, 2, 2, 2, xlEdgeLeft, xlDash, xlThin, -1);
    xl.SetColumnWidth(1, 20);
    ASSERT_TRUE(xl.AddSheet("Hammer", 1));
    xl.SetCellText(3, 3, "x");
    ASSERT_TRUE(xl.SaveAs(path)) << xl.ErrorText();

    const std::string script = Path("read.py");
    std::ofstream(script)
        << "import openpyxl, sys\n"
           "wb = openpyxl.load_workbook(sys.argv[1])\n"
           "out = open(sys.argv[2], 'w', encoding='utf-8')\n"
           "for ws in wb.worksheets:\n"
           "  for row in ws.iter_rows():\n"
           "    for c in row:\n"
           "      if c.value is not None:\n"
           "        out.write('%s|%s|%r|%s|%s|%s\\n' % (ws.title, c.coordinate, c.value, c.font.b,\n"
           "          c.fill.fgColor.rgb if c.fill.fill_type == 'solid' else '-', c.border.left.style))\n"
           "out.write('width|%s\\n' % wb['Sheet1'].column_dimensions['A'].width)\n";
    const std::string out = Path("read.txt");
    ASSERT_EQ(std::system((python + " " + script + " " + path + " " + out).c_str()), 0);
    EXPECT_EQ(ReadBytes(out),
              "Sheet1|A1|'ID'|True|-|None\n"
              "Sheet1|B1|'\xE6\x84\x9F\xE5\xBA\xA6'|True|-|None\n"
              "Sheet1|A2|'A-01'|False|FF00FF00|None\n"
              "Sheet1|B2|2.5|False|-|dashed\n"
              "Hammer|C3|'x'|False|-|None\n"
              "width|20.7109375\n"); // 20 characters and the cell padding, as the file stores widths
}

TEST_F(ExcelTest, LayerReadsWhatOpenpyxlWrites)
{
    const std::string python = PythonWithOpenpyxl();
    if (python.empty())
        GTEST_SKIP() << "python3 with openpyxl is not installed";
    const std::string path = Path("theirs.xlsx");
    const std::string script = Path("write.py");
    std::ofstream(script) << "import openpyxl, sys\n"
                             "from openpyxl.styles import Font, PatternFill, Border, Side\n"
                             "from openpyxl.comments import Comment\n"
                             "wb = openpyxl.Workbook()\n"
                             "ws = wb.active\n"
                             "ws.title = 'Accel'\n"
                             "ws['A1'] = 'Sensor ID'\n"
                             "ws['B1'] = 'Sensor ID'\n" // a shared string used twice
                             "ws['A2'] = 10.25\n"
                             "ws['B2'] = 7\n"
                             "ws['C2'] = '\xE5\x8A\xA0\xE9\x80\x9F\xE5\xBA\xA6'\n"
                             "ws['A1'].font = Font(bold=True, strike=True)\n"
                             "ws['B2'].fill = PatternFill('solid', fgColor='FFCC99')\n"
                             "ws['C2'].border = Border(diagonal=Side(style='thin'), diagonalDown=True)\n"
                             "ws['A2'].comment = Comment('calibrated', 'lab')\n"
                             "ws.merge_cells('A4:C5')\n"
                             "ws['A4'] = 'block'\n"
                             "ws['D6'] = None\n"
                             "wb.create_sheet('Mic')['B3'] = 'second'\n"
                             "wb.create_sheet('Hammer')['A1'] = True\n"
                             "wb.save(sys.argv[1])\n";
    ASSERT_EQ(std::system((python + " " + script + " " + path).c_str()), 0);

    CExcelWrapper xl;
    xl.Create(false);
    ASSERT_TRUE(xl.Open(path)) << xl.ErrorText();
    ASSERT_EQ(xl.GetSheetCount(), 3);
    EXPECT_EQ(xl.FindSheet("Mic"), 2);
    EXPECT_EQ(xl.GetCellText(1, 1), "Sensor ID");
    EXPECT_EQ(xl.GetCellText(1, 2), "Sensor ID");
    EXPECT_EQ(xl.GetCellText(2, 1), "10.25");
    EXPECT_EQ(xl.GetCellText(2, 2), "7");
    EXPECT_EQ(xl.GetCellText(2, 3), "\xE5\x8A\xA0\xE9\x80\x9F\xE5\xBA\xA6");
    EXPECT_EQ(xl.GetCellText(2, 3, 2), "second");
    EXPECT_EQ(xl.GetCellText(3, 1, 1), "TRUE");
    const CXlsxWorkbook& book = *xl.GetWorkbook();
    EXPECT_TRUE(book.GetStyle(xl.GetCell(1, 1)->style).font.bold);
    EXPECT_TRUE(book.GetStyle(xl.GetCell(1, 1)->style).font.strike);
    EXPECT_EQ(book.GetStyle(xl.GetCell(2, 2)->style).fill, 0xFFCC99u);
    EXPECT_TRUE(book.GetStyle(xl.GetCell(2, 3)->style).diagonalDown);
    EXPECT_EQ(book.GetStyle(xl.GetCell(2, 3)->style).diagonal.style, XlsxBorderStyle::Thin);
    EXPECT_EQ(xl.GetActiveSheet()->GetNote(2, 1).find("calibrated") != std::string::npos, true);
    ASSERT_EQ(xl.GetActiveSheet()->MergedRanges().size(), 1u);
    EXPECT_EQ(xl.GetActiveSheet()->MergedRanges()[0], (XlsxRange{4, 1, 5, 3}));
    EXPECT_EQ(xl.GetCellText(4, 1), "block");
}

} // namespace

TEST(ExcelNames, UniqueSheetNames)
{
    const std::vector<std::string> taken{"BLIXs", "Plan", "Plan (2)", std::string(31, 'x')};
    const struct
    {
        const char* name;
        std::string sheet;
    } cases[] = {
        {"plan", "plan (3)"},   // case does not make a name another
        {"'quoted'", "quoted"}, // no apostrophe at either end
        {"[]:", "Sheet"},       // nothing left of it
        {"New", "New"},         {"", "Sheet"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CExcelWrapper::MakeUniqueSheetName(c.name, taken), c.sheet) << c.name;
    EXPECT_EQ(CExcelWrapper::MakeUniqueSheetName(std::string(40, 'x'), taken), std::string(27, 'x') + " (2)");
    // With a mark the number follows it, and the head still leaves the name within 31.
    EXPECT_EQ(CExcelWrapper::MakeUniqueSheetName(std::string(40, 'x'), taken, "~"), std::string(29, 'x') + "~2");
}

TEST(ExcelNames, SheetNamesOfManyAlikePlansAreTakenInTurn)
{
    CSheetNameSet taken({"BLIXs", "Run (3)"});
    EXPECT_EQ(taken.Take("run"), "run");
    EXPECT_EQ(taken.Take("Run"), "Run (2)");
    EXPECT_EQ(taken.Take("RUN"), "RUN (4)"); // (3) was there before
    EXPECT_EQ(taken.Take("Run", "~"), "Run~2");
    std::string last;
    for (int k = 0; k < 20000; ++k)
        last = taken.Take("Run");
    EXPECT_EQ(last, "Run (20004)");
    // Each form agrees with the one-off rule against the same names.
    std::vector<std::string> names{"BLIXs"};
    CSheetNameSet set(names);
    for (const std::string& name :
         std::vector<std::string>{"a/b", "a/b", std::string(40, 'x'), std::string(40, 'x'), "'q'"}) {
        const std::string expected = CExcelWrapper::MakeUniqueSheetName(name, names);
        EXPECT_EQ(set.Take(name), expected);
        names.push_back(expected);
    }
}

TEST_F(ExcelTest, EveryCellFormatOfALargeStylesPartIsKept)
{
    // A styles part of 200,000 cell formats, each of its own number format.
    constexpr int kFormats = 200000;
    std::string styles = "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><cellXfs>";
    for (int i = 0; i < kFormats; ++i)
        styles += "<xf numFmtId=\"" + std::to_string(i) + "\"/>";
    styles += "</cellXfs></styleSheet>";
    auto parts = MinimalWorkbookParts(SheetXml("<sheetData><row r=\"1\"><c r=\"A1\" s=\"199999\"><v>1</v></c>"
                                               "<c r=\"B1\" s=\"14\"><v>2</v></c></row></sheetData>"));
    for (auto& [name, data] : parts)
        if (name == "xl/_rels/workbook.xml.rels")
            data.insert(data.rfind("</Relationships>"),
                        "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                        "relationships/styles\" Target=\"styles.xml\"/>");
    parts.emplace_back("xl/styles.xml", styles);
    const std::string bytes = BuildStoredZip(parts);
    CXlsxReader reader;
    CXlsxWorkbook book;
    ASSERT_TRUE(reader.ReadMemory(bytes.data(), bytes.size(), book)) << reader.ErrorText();
    EXPECT_EQ(book.GetStyleCount(), kFormats); // the first equals the default style
    const CXlsxSheet* sheet = book.GetSheet(0);
    EXPECT_EQ(book.GetStyle(sheet->FindCell(1, 1)->style).numFmtId, 199999);
    EXPECT_EQ(book.CellText(*sheet->FindCell(1, 2)), "1900-01-02"); // format 14 is a date
    // Adding a style the workbook has gives its index.
    XlsxStyle again;
    again.numFmtId = 123456;
    EXPECT_EQ(book.GetStyle(book.AddStyle(again)).numFmtId, 123456);
    EXPECT_EQ(book.GetStyleCount(), kFormats);
}

// Styles added as a list get the indices they get one by one: repeats within the list, across its
// batches and of styles the workbook had are found, and every field comes back as it went in.
TEST(XlsxStyles, AListOfStylesGetsTheIndicesAddedOneByOne)
{
    std::vector<XlsxStyle> styles;
    for (int i = 0; i < 1000; ++i) {
        XlsxStyle s;
        s.font.bold = i % 2 == 0;
        s.font.color = i % 3 == 0 ? kXlsxNoColor : 0x112233u * uint32_t(i % 5);
        s.fill = i % 7 == 0 ? kXlsxNoColor : 0xFFCC00u + uint32_t(i % 11);
        s.left.style = static_cast<XlsxBorderStyle>(i % 4);
        s.diagonal = {XlsxBorderStyle::Thin, uint32_t(i % 13)};
        s.diagonalDown = i % 17 == 0;
        s.numFmtId = 164 + i % 97;
        s.numFmt = i % 5 == 0 ? std::string() : "0.0" + std::string(size_t(i % 9), '0') + " \"m\"";
        styles.push_back(s);
    }
    styles.push_back(XlsxStyle());   // the default style
    styles.push_back(styles[3]);     // a repeat from an earlier batch
    styles.push_back(styles.back()); // a repeat next to it

    CXlsxWorkbook single, listed;
    std::vector<int> one, all(styles.size());
    for (const XlsxStyle& s : styles)
        one.push_back(single.AddStyle(s));
    listed.AddStyle(styles[500]); // a style the workbook has before the list
    listed.AddStyles(styles.data(), styles.size(), all.data());
    for (size_t i = 0; i < styles.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(single.GetStyle(one[i]), styles[i]);
        EXPECT_EQ(listed.GetStyle(all[i]), styles[i]);
        for (size_t j = 0; j < i; ++j)
            if (styles[j] == styles[i]) {
                EXPECT_EQ(all[i], all[j]);
                break;
            }
    }
    EXPECT_EQ(all[1000], 0);
    EXPECT_EQ(listed.GetStyleCount(), single.GetStyleCount());
}

// A styles part declaring far more formats than its bytes can hold reads the formats it has.
TEST_F(ExcelTest, AForgedFormatCountReservesOnlyWhatThePartCanHold)
{
    auto parts = MinimalWorkbookParts(SheetXml("<sheetData><row r=\"1\"><c r=\"A1\" s=\"1\"><v>1</v></c></row>"
                                               "</sheetData>"));
    for (auto& [name, data] : parts)
        if (name == "xl/_rels/workbook.xml.rels")
            data.insert(data.rfind("</Relationships>"),
                        "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                        "relationships/styles\" Target=\"styles.xml\"/>");
    parts.emplace_back("xl/styles.xml", "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/"
                                        "main\"><cellXfs count=\"4294967295\"><xf/><xf numFmtId=\"14\"/></cellXfs>"
                                        "</styleSheet>");
    const std::string bytes = BuildStoredZip(parts);
    CXlsxReader reader;
    CXlsxWorkbook book;
    ASSERT_TRUE(reader.ReadMemory(bytes.data(), bytes.size(), book)) << reader.ErrorText();
    EXPECT_EQ(book.GetStyleCount(), 2);
    EXPECT_EQ(book.CellText(*book.GetSheet(0)->FindCell(1, 1)), "1900-01-01");
}

// Numbers written to a workbook read back as the same doubles, bit for bit, in our reader and in
// an independent one: the writer keeps every digit a double needs (the library alone keeps 16).
TEST_F(ExcelTest, AwkwardDoublesReadBackBitForBit)
{
    const double third = 1.0 / 3.0;
    const std::vector<double> values = {0.1 + 0.2,
                                        third,
                                        1.2345678901234568e-05,
                                        1e-300,
                                        DBL_MAX,
                                        -DBL_MAX,
                                        -0.0,
                                        0.0,
                                        DBL_MIN,
                                        DBL_TRUE_MIN,
                                        DBL_MIN - DBL_TRUE_MIN, // the largest subnormal
                                        123456789012345680.0,
                                        -2.5,
                                        std::nextafter(1.0, 2.0)};
    CXlsxWorkbook book;
    CXlsxSheet* plain = book.InsertSheet(0, "Plain");
    plain->GetCell(1, 1)->type = XlsxCellType::Number;
    plain->GetCell(1, 1)->number = 2.5; // a sheet whose numbers the library writes exactly
    CXlsxSheet* sheet = book.InsertSheet(1, "Awkward");
    for (size_t i = 0; i < values.size(); ++i) {
        XlsxCell* cell = sheet->GetCell(static_cast<int>(i) + 1, 2);
        cell->type = XlsxCellType::Number;
        cell->number = values[i];
        XlsxCell* label = sheet->GetCell(static_cast<int>(i) + 1, 1);
        label->type = XlsxCellType::String;
        label->text = "v" + std::to_string(i);
    }
    const std::string path = Path("numbers.xlsx");
    CXlsxWriter writer;
    ASSERT_TRUE(writer.Write(book, path)) << writer.ErrorText();

    auto bits = [](double v) {
        uint64_t u = 0;
        std::memcpy(&u, &v, sizeof u);
        return u;
    };
    CXlsxWorkbook back;
    CXlsxReader reader;
    ASSERT_TRUE(reader.ReadFile(path, back)) << reader.ErrorText();
    ASSERT_EQ(back.GetSheetCount(), 2);
    for (size_t i = 0; i < values.size(); ++i) {
        const XlsxCell* cell = back.GetSheet(1)->FindCell(static_cast<int>(i) + 1, 2);
        ASSERT_NE(cell, nullptr) << i;
        EXPECT_EQ(cell->type, XlsxCellType::Number) << i;
        EXPECT_EQ(bits(cell->number), bits(values[i])) << i << ": " << values[i];
        const XlsxCell* label = back.GetSheet(1)->FindCell(static_cast<int>(i) + 1, 1);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text, "v" + std::to_string(i));
    }
    ASSERT_NE(back.GetSheet(0)->FindCell(1, 1), nullptr);
    EXPECT_EQ(back.GetSheet(0)->FindCell(1, 1)->number, 2.5);

    const std::string python = PythonWithOpenpyxl();
    if (python.empty())
        GTEST_SKIP() << "python3 with openpyxl is not installed";
    const std::string script = Path("read_numbers.py");
    std::ofstream(script) << "import openpyxl, sys\n"
                             "ws = openpyxl.load_workbook(sys.argv[1])['Awkward']\n"
                             "with open(sys.argv[2], 'w') as out:\n"
                             "  for row in ws.iter_rows(min_col=2, max_col=2):\n"
                             "    out.write(float(row[0].value).hex() + '\\n')\n";
    const std::string out = Path("numbers.txt");
    ASSERT_EQ(std::system((python + " " + script + " " + path + " " + out).c_str()), 0);
    std::ifstream in(out);
    for (size_t i = 0; i < values.size(); ++i) {
        std::string hex;
        ASSERT_TRUE(std::getline(in, hex)) << i;
        EXPECT_EQ(bits(std::strtod(hex.c_str(), nullptr)), bits(values[i])) << i << ": " << hex;
    }
}
