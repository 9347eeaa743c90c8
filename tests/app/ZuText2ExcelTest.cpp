// The "#@" data texts turned into workbook sheets.
#include <gtest/gtest.h>

#include <fstream>

#include "ProjectTestEnv.h"
#include "app/ZuText2Excel.h"
#include "platform/win/PromptService.h"

namespace {

std::string WriteText(const std::string& name, const std::string& text)
{
    const std::string path = (AppTestTempDir() / name).string();
    std::ofstream(path) << text;
    return path;
}

const char* const kHead = "#@2024/01/01 ORVEX 1.0 [HSEA]\n# /data/model.txt\n#\n";
const char* const kBands =
    "USER_DEFINED_FREQUENCY_DOMAIN\n100\n200\n100\t89\t112\n125\t112\t141\n160\t141\t178\n200\t178\t224\n\n";

std::string Cells(CExcelWrapper& xl, int row, int col1, int col2)
{
    std::string out;
    for (int c = col1; c <= col2; ++c)
        out += (c > col1 ? "|" : "") + xl.GetCellText(row, c);
    return out;
}

} // namespace

TEST(ZuText2Excel, EachDataTypeGetsItsSheetLayout)
{
    const std::string dlf =
        WriteText("dlf.txt", std::string(kHead) + "#Total DLFs Data\n[Model A]\n" + kBands +
                                 "[Total DLFs]\n\n[Total DLF [Roof]]\t1\nRoof\t0.01\t0.02\t0.03\t0.04\n"
                                 "[Total DLF [Floor]]\t1\nFloor\t0.05\t0.06\t0.07\t0.08\n\n");
    const std::string clf = WriteText(
        "clf.txt", std::string(kHead) + "#CLFs Data\n[Model A]\n200 400\n\n[CLFs]\n\n"
                                        "[CLF [Roof <-> Floor]]\t2\nRoof-Floor\t1\t2\t3\t4\nFloor-Roof\t5\t6\t7\t8\n");
    // Input powers: the first group's item has more values than there are bands.
    const std::string ip =
        WriteText("ip.txt", std::string(kHead) + "#Input Power Data\n[Run 1]\n" + kBands +
                                "[Input powers]\n[Roof]\t3\nRoof\t1\t2\t3\t4\t5\t6\t7\n"
                                "[Floor]\t3\nFloor\t8\t9\t10\t11\n[Roof]\t5\nRoof\t0.1\t0.2\t0.3\t0.4\n\n");
    const std::string out = (AppTestTempDir() / "data.xlsx").string();
    CScriptedPrompts prompts;
    {
        CZuText2Excel conv(StatusBarBoxes());
        ASSERT_TRUE(conv.Export(out, {dlf, clf, ip}));
    }
    EXPECT_EQ(prompts.Count(), 0u);

    CExcelWrapper xl;
    xl.Create(false);
    ASSERT_TRUE(xl.Open(out)) << xl.ErrorText();
    ASSERT_EQ(xl.GetSheetCount(), 3);
    EXPECT_EQ(xl.FindSheet("Sheet3"), 3);

    // Total loss factors: head lines, name, bands in rows 6 to 8, labels from A11, items from B10.
    xl.SelectSheet(1);
    EXPECT_EQ(xl.GetCellText(1, 1), "#@2024/01/01 ORVEX 1.0 [HSEA]");
    EXPECT_EQ(xl.GetCellText(4, 1), "#Total DLFs Data");
    EXPECT_EQ(xl.GetCellText(5, 1), "Model A");
    EXPECT_EQ(Cells(xl, 6, 1, 4), "100|125|160|200");
    EXPECT_EQ(Cells(xl, 8, 1, 4), "112|141|178|224");
    EXPECT_EQ(Cells(xl, 10, 1, 3), "|Roof|Floor");
    EXPECT_EQ(Cells(xl, 11, 1, 3), "100|0.01|0.05");
    EXPECT_EQ(Cells(xl, 14, 1, 3), "200|0.04|0.08");

    // Coupling loss factors: one-third octave bands from the two numbers, labels from A12 (one row
    // below the first value), two columns per item.
    xl.SelectSheet(2);
    EXPECT_EQ(Cells(xl, 6, 1, 2), "200|400");
    EXPECT_EQ(Cells(xl, 10, 2, 3), "Roof-Floor|Floor-Roof");
    EXPECT_EQ(Cells(xl, 11, 1, 3), "|1|5");
    EXPECT_EQ(Cells(xl, 12, 1, 3), "200|2|6");
    EXPECT_EQ(Cells(xl, 14, 1, 3), "315|4|8");
    EXPECT_EQ(xl.GetCellText(15, 1), "400");

    // Input powers: groups by kind; the second group starts below the first group's lowest value.
    xl.SelectSheet(3);
    EXPECT_EQ(Cells(xl, 9, 1, 3), "#IP|Roof|Floor");
    EXPECT_EQ(Cells(xl, 10, 1, 3), "100|1|8");
    EXPECT_EQ(Cells(xl, 13, 1, 3), "200|4|11");
    EXPECT_EQ(xl.GetCellText(16, 2), "7"); // beyond the bands
    EXPECT_EQ(Cells(xl, 17, 1, 2), "#IE|Roof");
    EXPECT_EQ(Cells(xl, 18, 1, 2), "100|0.1");
    EXPECT_EQ(Cells(xl, 21, 1, 2), "200|0.4");
}

TEST(ZuText2Excel, FilesThatAreNoDataTextsAreRefusedWithTheirMessage)
{
    struct Case
    {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"#Input Power Data\n[x]\n", "ZuExcel2Text: This is not a data sheet [Sheet1]."},
        {"#@head\n#\n#\n#Input Power Data \n[x]\n", "ZuExcel2Text: Invalid data type [#Input Power Data ]."},
        {"#@head\n#\n#\n#CLFs Data\n\n", "ZuExcel2Text: Empty data name."},
        {"#@head\n#\n#\n#CLFs Data\n[x]\nabc\n", "ZuExcel2Text: Failed to export frequencies."},
    };
    const std::string out = (AppTestTempDir() / "refused.xlsx").string();
    for (const Case& c : cases) {
        const std::string path = WriteText("refused.txt", c.text);
        CScriptedPrompts prompts;
        CZuText2Excel conv(StatusBarBoxes());
        EXPECT_THROW(conv.Export(out, {path}), CUserException) << c.message;
        ASSERT_EQ(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().text, c.message);
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    CScriptedPrompts prompts;
    CZuText2Excel conv(StatusBarBoxes());
    EXPECT_THROW(conv.Export(out, {(AppTestTempDir() / "absent.txt").string()}), CUserException);
    EXPECT_EQ(prompts.Last().text.rfind("ZuText2Excel: Failed to open a text file.", 0), 0u);
}
