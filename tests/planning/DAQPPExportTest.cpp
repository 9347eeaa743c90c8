// The workbook of channel plans: the subsystem list, one sheet per plan with the channel table's
// cells, fills, bold headers and borders, read back through the workbook layer and by a second
// reader (openpyxl) that knows nothing of ours.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "planning/DAQPPExpPlanList.h"
#include "planning/ExportExpPlanToExcel.h"
#include "planning/SensorAssignment.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/excel/ExcelWrapper.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/base/Feedback.h"

namespace fs = std::filesystem;

namespace {
struct RecordingProgress : CFeedback
{
    void OnBegin(int level) override { begun = static_cast<int>(Ranges()[level].total); }
    void OnProgress(int level) override { steps.push_back(static_cast<int>(Ranges()[level].done)); }
    void OnEnd() override { ++ended; }
    int begun = -1;
    std::vector<int> steps;
    int ended = 0;
};

struct PlanExport : ::testing::Test
{
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("orvex_daqpp_export_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        model.Add("Roof");
        model.Add("Floor");
        assignment.SetSubsystems(&model);
        assignment.SetItemCount(assignment.FindRow("Roof"), 2);
        assignment.SetItem(assignment.FindRow("Roof"), 0, "S1");
        assignment.SetItem(assignment.FindRow("Roof"), 1, "S2");
        context.assignment = &assignment;
        context.globalNode = [](const std::string& subsystem, int lp) { return subsystem == "Roof" ? 7 + lp : 0; };
        context.isStructure = [](const std::string&) { return 1; };

        CDAQPPExpPlan* plan = plans.AddPlan(8, "Run:1/A");
        plan->SetComment("first run");
        plan->SetSensor(0, "S1");
        plan->SetSubsystem(0, "Roof");
        plan->SetSensor(1, "S2");
        plan->SetSubsystem(1, "Roof");
        plan->SetSensor(2, "S9"); // no subsystem: only its channel number shows
        plans.AddPlan(2, "Run1A");
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    CExportExpPlanToExcel Exporter(const CZuSubsystemTable* table)
    {
        return CExportExpPlanToExcel(table, "Body", nullptr, context, plans.GetColumns());
    }

    fs::path dir;
    CZuSubsystemTable model;
    CSensorAssignment assignment;
    DAQPPCellContext context;
    CDAQPPExpPlanList plans;
};

XlsxStyle Style(const CExcelWrapper& book, int row, int col)
{
    const XlsxCell* cell = book.GetCell(row, col);
    return cell ? book.GetWorkbook()->GetStyle(cell->style) : XlsxStyle();
}

// A thin continuous line between two neighbouring columns of a row, whichever cell carries it.
bool VerticalLine(const CExcelWrapper& book, int row, int leftCol)
{
    return Style(book, row, leftCol).right.style == XlsxBorderStyle::Thin ||
           Style(book, row, leftCol + 1).left.style == XlsxBorderStyle::Thin;
}

uint32_t Fill(const CExcelWrapper& book, int row, int col)
{
    return Style(book, row, col).fill;
}
} // namespace

TEST_F(PlanExport, SubsystemListAndPlanSheetsReadBackThroughTheWorkbookLayer)
{
    const fs::path path = dir / "plans.xlsx";
    CScriptedPrompts prompts;
    CExportExpPlanToExcel exporter = Exporter(&model);
    ASSERT_EQ(exporter.Export(plans, {0, 1}, path.string()), 1);
    EXPECT_EQ(prompts.Count(), 0u);
    EXPECT_EQ(exporter.GetLastColumn(), 14);

    CExcelWrapper book;
    ASSERT_TRUE(book.Create(false));
    ASSERT_TRUE(book.Open(path.string())) << book.ErrorText();
    // The second plan's name is taken once made valid, so it gets a unique form.
    ASSERT_EQ(book.GetSheetCount(), 4);
    ASSERT_TRUE(book.SelectSheet("SS List"));
    EXPECT_EQ(book.GetCellText(2, 3), "Subystem List");
    EXPECT_EQ(book.GetCellText(4, 2), "No.");
    EXPECT_EQ(book.GetCellText(4, 5), "Mass[Kg]/Volume[m3]");
    // Three subsystems: the model's two and the container's own, sorted.
    const CZuSubsystemTable& listed = exporter.GetSubsystems();
    ASSERT_EQ(listed.GetCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(book.GetCellText(5 + i, 2), std::to_string(i + 1));
        EXPECT_EQ(book.GetCellText(5 + i, 3), listed.At(i));
        EXPECT_FALSE(book.GetCellText(5 + i, 4).empty());
        EXPECT_EQ(book.GetCellText(5 + i, 5), "0");
    }
    EXPECT_TRUE(book.GetCellText(8, 2).empty());
    EXPECT_EQ(Fill(book, 4, 3), CXlsxWorkbook::PaletteColor(40));
    EXPECT_TRUE(Style(book, 4, 2).font.bold);
    EXPECT_FALSE(Style(book, 5, 2).font.bold);
    EXPECT_TRUE(VerticalLine(book, 7, 5)); // the right edge of the last row
    EXPECT_TRUE(VerticalLine(book, 6, 2));

    ASSERT_TRUE(book.SelectSheet("Run1A"));
    EXPECT_EQ(book.GetCellText(2, 3), "Run:1/A");
    EXPECT_EQ(book.GetCellText(2, 4), "first run");
    EXPECT_EQ(book.GetCellText(4, 2), "CH.");
    EXPECT_EQ(book.GetCellText(4, 3), "Global#");
    EXPECT_EQ(book.GetCellText(4, 14), "Local#");
    EXPECT_EQ(book.GetCellText(5, 2), "1");
    EXPECT_EQ(book.GetCellText(5, 3), "7");
    EXPECT_EQ(book.GetCellText(6, 3), "8");
    EXPECT_EQ(book.GetCellText(5, 4), "S1");
    EXPECT_EQ(book.GetCellText(5, 13), "Roof");
    EXPECT_EQ(book.GetCellText(6, 14), "02"); // text, not the number 2
    // A row without a subsystem shows only its channel number.
    EXPECT_EQ(book.GetCellText(7, 2), "3");
    for (int c = 3; c <= 14; ++c)
        EXPECT_TRUE(book.GetCellText(7, c).empty()) << c;
    // 8 channels: rows 4 to 12, columns 2 to 14, nothing below.
    EXPECT_EQ(book.GetCellText(12, 2), "8");
    EXPECT_TRUE(book.GetCellText(13, 2).empty());
    EXPECT_TRUE(book.GetCellText(4, 15).empty());

    EXPECT_EQ(Fill(book, 4, 2), CXlsxWorkbook::PaletteColor(15));
    EXPECT_EQ(Fill(book, 4, 3), CXlsxWorkbook::PaletteColor(45));
    EXPECT_EQ(Fill(book, 4, 4), CXlsxWorkbook::PaletteColor(35));
    EXPECT_EQ(Fill(book, 4, 13), CXlsxWorkbook::PaletteColor(15));
    EXPECT_EQ(Fill(book, 9, 2), CXlsxWorkbook::PaletteColor(15));
    EXPECT_EQ(Fill(book, 9, 3), CXlsxWorkbook::PaletteColor(45));
    EXPECT_EQ(Fill(book, 9, 4), CXlsxWorkbook::PaletteColor(2));
    EXPECT_EQ(Fill(book, 12, 14), CXlsxWorkbook::PaletteColor(15));
    EXPECT_EQ(Fill(book, 13, 4), kXlsxNoColor);
    EXPECT_TRUE(Style(book, 4, 14).font.bold);
    EXPECT_FALSE(Style(book, 5, 4).font.bold);
    // Borders: the left edge, lines between all columns up to the right edge of column 14, the
    // header's top and bottom and the table's bottom.
    EXPECT_EQ(Style(book, 8, 2).left.style, XlsxBorderStyle::Thin);
    for (int c = 2; c <= 14; ++c)
        EXPECT_TRUE(VerticalLine(book, 10, c)) << c;
    EXPECT_FALSE(VerticalLine(book, 10, 15));
    EXPECT_EQ(Style(book, 4, 8).top.style, XlsxBorderStyle::Thin);
    EXPECT_EQ(Style(book, 4, 8).bottom.style, XlsxBorderStyle::Thin);
    EXPECT_EQ(Style(book, 12, 8).bottom.style, XlsxBorderStyle::Thin);
    EXPECT_EQ(Style(book, 8, 8).bottom.style, XlsxBorderStyle::None);

    ASSERT_TRUE(book.SelectSheet(4));
    EXPECT_EQ(book.GetSheetName(), "Run1A~2");
    EXPECT_EQ(book.GetCellText(2, 3), "Run1A");
    EXPECT_EQ(book.GetCellText(6, 2), "2");
}

TEST_F(PlanExport, EmptyModelListsTheContainerAndProgressFollowsManyPlans)
{
    plans.AddPlan(4, "Third");
    RecordingProgress progress;
    CZuSubsystemTable empty;
    CExportExpPlanToExcel exporter = Exporter(&empty);
    exporter.SetFeedback(&progress);
    const fs::path path = dir / "many.xlsx";
    ASSERT_EQ(exporter.Export(plans, {2, 0, 1}, path.string()), 1);
    EXPECT_EQ(progress.begun, 4);
    EXPECT_EQ(progress.steps, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(progress.ended, 1);

    CExcelWrapper book;
    ASSERT_TRUE(book.Create(false));
    ASSERT_TRUE(book.Open(path.string()));
    ASSERT_TRUE(book.SelectSheet("SS List"));
    EXPECT_EQ(book.GetCellText(5, 3), "Body");
    EXPECT_TRUE(book.GetCellText(6, 3).empty());
    // Plans in the order asked for.
    ASSERT_TRUE(book.SelectSheet(3));
    EXPECT_EQ(book.GetSheetName(), "Third");

    // Two plans show no progress.
    RecordingProgress few;
    exporter.SetFeedback(&few);
    ASSERT_EQ(exporter.Export(plans, {0, 1}, (dir / "few.xlsx").string()), 1);
    EXPECT_EQ(few.begun, -1);
}

TEST_F(PlanExport, BinaryWorkbookNameIsRefusedAndLeavesNoFile)
{
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    const fs::path path = dir / "plans.xls";
    CStatusBarFeedback boxes; // the plan list's
    CExportExpPlanToExcel exporter = Exporter(&model);
    exporter.SetFeedback(&boxes);
    EXPECT_EQ(exporter.Export(plans, {0}, path.string()), 0);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_NE(prompts.Last().text.find(".xlsx"), std::string::npos) << prompts.Last().text;
    EXPECT_FALSE(fs::exists(path));
    // An existing workbook is not touched by a failed write to a folder that does not exist.
    EXPECT_EQ(exporter.Export(plans, {0}, (dir / "missing" / "p.xlsx").string()), 0);
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST_F(PlanExport, ASecondReaderSeesSheetsTextsFillAndBold)
{
    std::string python;
    for (const char* candidate : {"python3", "/usr/bin/python3"})
        if (python.empty() &&
            std::system((std::string(candidate) + " -c 'import openpyxl' >/dev/null 2>&1").c_str()) == 0)
            python = candidate;
    if (python.empty())
        GTEST_SKIP() << "python3 with openpyxl is not installed";
    const fs::path path = dir / "plans.xlsx";
    ASSERT_EQ(Exporter(&model).Export(plans, {0}, path.string()), 1);
    const fs::path script = dir / "read.py";
    const fs::path out = dir / "read.txt";
    std::ofstream(script)
        << "import openpyxl, sys\n"
           "wb = openpyxl.load_workbook(sys.argv[1])\n"
           "o = open(sys.argv[2], 'w')\n"
           "o.write('|'.join(wb.sheetnames) + '\\n')\n"
           "s = wb['SS List']\n"
           "o.write('%s|%s|%s|%s\\n' % (s['C2'].value, s['B4'].value, s['C4'].value, s['D4'].value))\n"
           "o.write('%s|%s\\n' % (s['B4'].font.b, s['B4'].fill.fgColor.rgb))\n"
           "p = wb['Run1A']\n"
           "o.write('%s|%s|%s|%s\\n' % (p['B4'].value, p['C4'].value, p['B5'].value, p['D5'].value))\n"
           "o.write('%s|%s|%s\\n' % (p['C4'].fill.fgColor.rgb, p['C4'].font.b, p['B5'].border.left.style))\n";
    ASSERT_EQ(std::system((python + " " + script.string() + " " + path.string() + " " + out.string()).c_str()), 0);
    std::ifstream in(out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Sheet1|SS List|Run1A");
    EXPECT_EQ(lines[1], "Subystem List|No.|Subsystem|Short Name");
    EXPECT_EQ(lines[2], "True|FFFFCC99");
    EXPECT_EQ(lines[3], "CH.|Global#|1|S1");
    EXPECT_EQ(lines[4], "FFFF9900|True|thin");
}
