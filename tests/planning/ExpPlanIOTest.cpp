// The planning workbook and the one-plan text: written and read back equal, sheet by sheet and
// cell by cell; sheet names of awkward plan names; an import that fails half-way changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "support/fuzz/MemoryPlanOwner.h"
#include "planning/ExpPlanIO.h"
#include "planning/ExpPlanOwner.h"
#include "planning/QMXBlixList.h"
#include "planning/QMXSensorMapList.h"
#include "planning/SensorAssignment.h"
#include "platform/elements/StdioFile.h"
#include "platform/excel/ExcelWrapper.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"

namespace fs = std::filesystem;

namespace {
using CTestOwner = CMemoryPlanOwner;

// The planning command's feedback: the messages show as the boxes they always were.
CFeedback* StatusBarBoxes()
{
    static CStatusBarFeedback boxes;
    return &boxes;
}

// Everything an owner holds, as text, for comparing two owners.
std::string Describe(CTestOwner& o)
{
    std::string d = "channels " + std::to_string(o.channels) + "\n";
    for (int g = 0; g < o.groups.GetSize(); ++g) {
        const CQMXBlixList* group = o.groups.GetAt(g);
        d += "group " + std::to_string(group->GetNumber()) + ":";
        for (int s = 0; s < CQMXBlixList::kSlotCount; ++s)
            for (int u = 0; u < CQMXBlixList::kUnitsPerSlot; ++u)
                d += group->GetUnitName(s, u) + ",";
        d += "\n";
    }
    for (int i = 0; i < o.assignment.GetRowCount(); ++i) {
        d += "lp " + o.assignment.GetSubsystemName(i) + ":";
        for (int k = 0; k < o.assignment.GetItemCount(i); ++k)
            d += o.assignment.GetItem(i, k) + ",";
        d += "\n";
    }
    for (int p = 0; p < o.plans.GetPlanCount(); ++p) {
        const CQMXSensorMap* plan = o.plans.GetPlan(p);
        d += "plan " + plan->GetName() + "|" + plan->GetComment() + "|" + std::to_string(plan->GetUnitGroupNumber()) +
             "|" + std::to_string(plan->GetChannelCount()) + "\n";
        for (int i = 0; i < plan->GetRowCount(); ++i) {
            tagSENSORMAP r;
            plan->GetRow(i, r);
            if (!r.sensor.empty() || !r.subsystem.empty() || !r.unitName.empty())
                d += " " + std::to_string(i) + ":" + std::to_string(r.slot) + "," + r.unitName + "," +
                     std::to_string(r.channel) + "," + r.sensor + "," + r.subsystem + "\n";
        }
    }
    return d;
}

// Every sheet's name and every cell's text of a workbook file.
std::vector<std::string> Cells(const std::string& path)
{
    CExcelWrapper excel;
    excel.Create(false);
    EXPECT_TRUE(excel.Open(path)) << excel.ErrorText();
    std::vector<std::string> out;
    for (int s = 1; s <= excel.GetSheetCount(); ++s) {
        excel.SelectSheet(s);
        out.push_back("[" + excel.GetSheetName() + "]");
        for (const auto& [key, cell] : excel.GetActiveSheet()->Cells())
            out.push_back(CExcelWrapper::CellName(key.first, key.second) + "=" +
                          excel.GetCellText(key.first, key.second));
    }
    return out;
}

class ExpPlanIOTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("orvex_expplanio_" + std::to_string(getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    // A 96-channel system: group 1 fills its 12 slots, group 5 holds three units; a plan on
    // group 1 uses all 96 channels over three blocks, and the plan names need their sheet forms.
    static void Fill(CTestOwner& o)
    {
        o.channels = 96;
        auto g1 = std::make_unique<CQMXBlixList>(1);
        for (int s = 0; s < 12; ++s)
            for (int u = 0; u < 4; ++u)
                g1->SetUnitName(s, u, "SN" + std::to_string(100 + s * 4 + u));
        auto g5 = std::make_unique<CQMXBlixList>(5);
        g5->SetUnitName(0, 0, "A1");
        g5->SetUnitName(0, 3, "A2");
        g5->SetUnitName(11, 2, "A3");
        o.groups.Add(std::move(g1));
        o.groups.Add(std::move(g5));

        std::vector<std::string> sixty;
        for (int k = 0; k < 60; ++k)
            sixty.push_back("D" + std::to_string(k));
        o.assignment.AddRow("Door", sixty);
        o.assignment.AddRow("Floor", {});
        o.assignment.AddRow("Roof", {"R1", "R2", "R3"});
        o.plans.SetUnitGroups(o.groups.Pointers());

        CQMXSensorMap* full = o.plans.AddPlan(1, "Run-up 1/2: [front]");
        full->SetComment("all channels");
        ASSERT_EQ(full->AssignSubsystem(o.assignment, 0), 1); // 60 channels
        ASSERT_EQ(full->AssignSubsystem(o.assignment, 2), 1); // 3 (+1 of the half-used unit)
        for (int i = 64; i < 96; ++i) {
            full->SetSubsystem(i, "Floor");
            full->SetSensor(i, "F" + std::to_string(i));
        }
        ASSERT_EQ(full->GetUsedChannelCount(), 96);
        o.plans.AddPlan(5, "Idle");
        o.plans.AddPlan(5, "IDLE");
        o.plans.AddPlan(1, "BLIXs");
        o.plans.AddPlan(1, "A plan name much longer than thirty-one");
        CQMXSensorMap* last = o.plans.AddPlan(5, "A plan name much longer than thirty-one characters");
        last->SetSubsystem(6, "Roof");
        last->SetSensor(6, "R9");
    }

    fs::path m_dir;
};
} // namespace

TEST_F(ExpPlanIOTest, WorkbookWrittenAndReadBackEqual)
{
    CTestOwner source;
    Fill(source);
    const std::string path = Path("plans.xlsx");
    CScriptedPrompts prompts;
    CExpPlanIO out(&source);
    out.SetFeedback(StatusBarBoxes());
    EXPECT_EQ(out.GetMaxSlot(), 12);
    ASSERT_EQ(out.ExportToExcel(path), 1);
    EXPECT_EQ(prompts.Count(), 0u);

    const std::vector<std::string> cells = Cells(path);
    auto has = [&cells](const std::string& c) { return std::find(cells.begin(), cells.end(), c) != cells.end(); };
    std::vector<std::string> sheets;
    for (const std::string& c : cells)
        if (c.front() == '[')
            sheets.push_back(c);
    EXPECT_EQ(sheets, (std::vector<std::string>{
                          "[BLIXs]", "[Local Points]", "[Exp. Plans]", "[Run-up 12 front]", "[Idle]", "[IDLE (2)]",
                          "[BLIXs (2)]", "[A plan name much longer than th]", "[A plan name much longer tha (2)]"}));
    for (const char* c : {"B3=Max CH#",
                          "C3=96",
                          "B4=Max QMX Slot#",
                          "C4=12",
                          "B6=1",
                          "C6=BLIX #1",
                          "F6=BLIX #4",
                          "B7=Slot 1",
                          "C7=SN100",
                          "B18=Slot 12",
                          "F18=SN147",
                          "B20=5",
                          "C21=A1",
                          "F21=A2",
                          "E32=A3",
                          "B2=Subsystem",
                          "C2=LP#01",
                          "BJ2=LP#60",
                          "B3=Door",
                          "BJ3=D59",
                          "B5=Roof",
                          "E5=R3",
                          "B2=Name",
                          "F2=Comments",
                          "B3=Run-up 1/2: [front]",
                          "C3=48",
                          "D3=96",
                          "E3=1",
                          "F3=all channels",
                          "E4=5"})
        EXPECT_TRUE(has(c)) << c;
    // The full plan's sheet: three blocks of five columns, B to P, 32 rows from row 3.
    const auto first = std::find(cells.begin(), cells.end(), "[Run-up 12 front]");
    const auto next = std::find(first, cells.end(), "[Idle]");
    std::vector<std::string> planCells(first + 1, next);
    // 96 channels, sensor and subsystem of 95 of them (Roof leaves its unit's second channel
    // free), 12 slot and 48 unit names.
    EXPECT_EQ(planCells.size(), 96u + 2 * 95 + 12 + 48);
    for (const char* c : {"B3=Slot 1", "C3=SN100", "D3=1", "E3=D0", "F3=Door", "D4=2", "C4=", "B11=Slot 2", "G3=Slot 5",
                          "L3=Slot 9", "P34=Floor", "O34=F95", "N34=2"})
        EXPECT_EQ(std::count(planCells.begin(), planCells.end(), c), std::string(c).back() == '=' ? 0 : 1) << c;

    // Read into a project holding other things: it takes over everything.
    CTestOwner target;
    target.assignment.AddRow("Door", {"old"});
    target.assignment.AddRow("Floor", {"old"});
    target.assignment.AddRow("Roof", {});
    target.groups.Add(std::make_unique<CQMXBlixList>(9));
    target.plans.AddPlan(9, "Old plan");
    CExpPlanIO in(&target);
    in.SetFeedback(StatusBarBoxes());
    ASSERT_EQ(in.ImportFromExcel(path), 1);
    EXPECT_EQ(prompts.Count(), 0u);
    EXPECT_EQ(Describe(target), Describe(source));

    // Written again, the workbook is the same cell for cell.
    CExpPlanIO again(&target);
    again.SetFeedback(StatusBarBoxes());
    ASSERT_EQ(again.ExportToExcel(Path("again.xlsx")), 1);
    EXPECT_EQ(Cells(Path("again.xlsx")), cells);
}

TEST_F(ExpPlanIOTest, AnImportThatFailsChangesNothing)
{
    CTestOwner source;
    Fill(source);
    const std::string path = Path("plans.xlsx");
    CExpPlanIO out(&source);
    out.SetFeedback(StatusBarBoxes());
    ASSERT_EQ(out.ExportToExcel(path), 1);

    CTestOwner target;
    target.channels = 32;
    target.assignment.AddRow("Door", {"keep"});
    target.groups.Add(std::make_unique<CQMXBlixList>(3));
    target.plans.SetUnitGroups(target.groups.Pointers());
    target.plans.AddPlan(3, "Mine")->SetSubsystem(0, "Door");
    const std::string before = Describe(target);

    struct Case
    {
        const char* what;
        void (*damage)(CExcelWrapper&);
        std::string message;
    };
    const Case cases[] = {
        {"third plan sheet missing", [](CExcelWrapper& x) { x.GetWorkbook()->RemoveSheet(5); },
         "The excel worksheet is not found.\n[IDLE (2)]"},
        {"no unit sheet", [](CExcelWrapper& x) { x.GetWorkbook()->RemoveSheet(0); },
         "The excel worksheet is not found.\n[BLIXs]"},
        {"no channel count",
         [](CExcelWrapper& x) {
             x.SelectSheet(1);
             x.SetCellString(3, 3, "many");
         },
         "Invalid Max Ch#."},
        {"more channels than a project holds",
         [](CExcelWrapper& x) {
             x.SelectSheet(1);
             x.SetCellString(3, 3, "65537");
         },
         "Invalid Max Ch#.\nThe channel count 65537 is above 65536, the most a project holds."},
        {"channel count past int",
         [](CExcelWrapper& x) {
             x.SelectSheet(1);
             x.SetCellString(3, 3, "99999999999");
         },
         "Invalid Max Ch#.\nThe channel count 99999999999 is above 65536, the most a project holds."},
        {"no slot count",
         [](CExcelWrapper& x) {
             x.SelectSheet(1);
             x.SetCellString(4, 3, "0");
         },
         "Invalid Max QMX Slot#."},
        // The list names as many plans as its sheet has rows and the workbook holds none of their
        // sheets: refused before any plan is made, so neither time nor memory follow the list.
        {"plan list far longer than the workbook's sheets",
         [](CExcelWrapper& x) {
             x.SelectSheet(CExpPlanIO::kPlanListSheet);
             int row = CExpPlanIO::kPlanFirstRow;
             while (!x.GetCellText(row, 2).empty())
                 ++row;
             for (int n = 0; row <= CExpPlanIO::kLastReadRow; ++row, ++n)
                 x.SetCellString(row, 2, "Extra " + std::to_string(n));
         },
         "The excel worksheet is not found.\n[Extra 0]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CExcelWrapper x;
        x.Create(false);
        ASSERT_TRUE(x.Open(path));
        c.damage(x);
        const std::string damaged = Path("damaged.xlsx");
        ASSERT_TRUE(x.SaveAs(damaged));
        CScriptedPrompts prompts;
        CExpPlanIO in(&target);
        in.SetFeedback(StatusBarBoxes());
        EXPECT_EQ(in.ImportFromExcel(damaged), 0);
        ASSERT_EQ(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().text, c.message);
        EXPECT_EQ(Describe(target), before);
    }

    // A binary workbook is refused with the reason.
    const std::string xls = Path("old.xls");
    std::ofstream(xls, std::ios::binary) << std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)
                                         << std::string(512, '\0');
    CScriptedPrompts prompts;
    CExpPlanIO in(&target);
    in.SetFeedback(StatusBarBoxes());
    EXPECT_EQ(in.ImportFromExcel(xls), 0);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_NE(prompts.Last().text.find(".xlsx"), std::string::npos);
    EXPECT_EQ(Describe(target), before);
}

TEST_F(ExpPlanIOTest, PlanRowsOfUnknownGroupsAndAlikeNames)
{
    // A hand-made workbook: two plan rows named alike, one on a group nobody has.
    CExcelWrapper x;
    x.Create(false);
    x.Open();
    x.AddSheet("BLIXs", 1);
    x.SetCellString(3, 3, "64");
    x.SetCellString(4, 3, "8");
    x.AddSheet("Local Points", 2);
    x.AddSheet("Exp. Plans", 3);
    x.SetCellString(3, 2, "X");
    x.SetCellString(3, 5, "7");
    x.SetCellString(4, 2, "X");
    x.AddSheet("X", 4);
    x.SetCellString(3, 5, "S1");
    x.SetCellString(3, 6, "Door");
    x.SetCellString(4, 5, "S2"); // no subsystem: the channel is cleared
    x.AddSheet("X (2)", 5);
    x.SetCellString(34, 10, "S3"); // channel 63: block 1, row 31
    x.SetCellString(34, 11, "Roof");
    const std::string path = Path("hand.xlsx");
    ASSERT_TRUE(x.SaveAs(path));

    CTestOwner target;
    CExpPlanIO in(&target);
    in.SetFeedback(StatusBarBoxes());
    ASSERT_EQ(in.ImportFromExcel(path), 1);
    EXPECT_EQ(target.channels, 64);
    ASSERT_EQ(target.plans.GetPlanCount(), 2);
    const CQMXSensorMap* first = target.plans.GetPlan(0);
    EXPECT_EQ(first->GetName(), "X");
    EXPECT_EQ(first->GetChannelCount(), 256);
    EXPECT_EQ(first->GetUnitGroupNumber(), 0);
    EXPECT_EQ(target.plans.GetPlan(1)->GetName(), "X 1");
    tagSENSORMAP row;
    first->GetRow(0, row);
    EXPECT_EQ(row.sensor + "/" + row.subsystem, "S1/Door");
    first->GetRow(1, row);
    EXPECT_EQ(row.sensor + "/" + row.subsystem, "/");
    target.plans.GetPlan(1)->GetRow(63, row);
    EXPECT_EQ(row.sensor + "/" + row.subsystem, "S3/Roof");
}

TEST_F(ExpPlanIOTest, PlanTextThroughExportAndImport)
{
    CTestOwner source;
    Fill(source);
    CExpPlanIO io(&source);
    const CQMXSensorMap* plan = source.plans.GetPlan(0);

    CStdioFile out;
    out.OpenMemory(CStdioFile::modeWrite);
    io.ExportPlanText(out, *plan);
    const std::string text = out.GetMemoryText();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 32);
    EXPECT_EQ(text.substr(0, text.find('\n')),
              "Slot 1\tSN100\t1\tD0\tDoor\tSlot 5\tSN116\t1\tD32\tDoor\tSlot 9\tSN132\t1\tF64\tFloor");
    EXPECT_EQ(text.substr(text.find('\n') + 1, 12), "\t\t2\tD1\tDoor\t");

    CQMXSensorMap back(source.groups.GetAt(0));
    back.SetSubsystem(200, "Untouched");
    CStdioFile in;
    in.OpenMemory(CStdioFile::modeRead, text);
    io.ImportPlanText(in, back);
    for (int i = 0; i < 96; ++i) {
        tagSENSORMAP a, b;
        plan->GetRow(i, a);
        back.GetRow(i, b);
        EXPECT_EQ(a.sensor + "/" + a.subsystem, b.sensor + "/" + b.subsystem) << i;
    }
    EXPECT_EQ(back.IsSubsystemUsed("Untouched"), 1);

    // A sensor without its subsystem clears the channel; short lines clear what they lack.
    CStdioFile edited;
    edited.OpenMemory(CStdioFile::modeRead, "Slot 1\tSN100\t1\tD0\t\r\n\t\t2\tX\tRoof\n");
    io.ImportPlanText(edited, back);
    tagSENSORMAP r;
    back.GetRow(0, r);
    EXPECT_EQ(r.sensor + "/" + r.subsystem, "/");
    back.GetRow(1, r);
    EXPECT_EQ(r.sensor + "/" + r.subsystem, "X/Roof");
    back.GetRow(32, r);
    EXPECT_EQ(r.sensor + "/" + r.subsystem, "/");
    back.GetRow(2, r);
    EXPECT_EQ(r.sensor + "/" + r.subsystem, "D2/Door");
}
