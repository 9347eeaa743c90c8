#include "support/FakeProjectLookups.h"

#include "common/ColorConv.h"
#include "common/DbgFile.h"
#include "common/ModuleInfo.h"
#include "common/PID.h"
#include "common/UUID.h"
#include "common/WorkFolder.h"
#include "platform/win/StringTable.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

namespace {

TEST(ColorConv, HueSaturationValueToRgb)
{
    struct Case
    {
        int hue;
        uint8_t s, v;
        uint8_t r, g, b;
    };
    const Case cases[] = {
        {0, 255, 255, 255, 0, 0},
        {120, 255, 255, 0, 255, 0},
        {240, 255, 255, 0, 0, 255},
        {60, 255, 255, 255, 255, 0},
        {180, 255, 255, 0, 255, 255},
        {300, 255, 255, 255, 0, 255},
        {30, 255, 255, 255, 127, 0},
        {359, 255, 255, 255, 0, 4},
        {200, 0, 77, 77, 77, 77},
        {90, 0, 200, 200, 200, 200},
        {330, 128, 200, 200, 99, 149},
        {45, 255, 0, 0, 0, 0},
        // A hue of 360 and more is the same colour as its remainder, also below 0.
        {360, 255, 255, 255, 0, 0},
        {480, 255, 255, 0, 255, 0},
        {-120, 255, 255, 0, 0, 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hue);
        COLORREF out = 0xDEADBEEF;
        HSVtoRGB(c.hue, c.s, c.v, &out);
        EXPECT_EQ(int(GetRValue(out)), c.r);
        EXPECT_EQ(int(GetGValue(out)), c.g);
        EXPECT_EQ(int(GetBValue(out)), c.b);
        EXPECT_EQ(out >> 24, 0u);
    }
    HSVtoRGB(10, 1, 1, nullptr); // no target: nothing happens
}

TEST(ColorConv, GreyForEveryHueWithoutSaturation)
{
    for (int hue = 0; hue < 360; hue += 7) {
        COLORREF out = 0;
        HSVtoRGB(hue, 0, 123, &out);
        EXPECT_EQ(out, RGB(123, 123, 123)) << hue;
    }
}

TEST(WorkFolder, FolderOfTheContainersDocument)
{
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
    CFakeProjectLookups project;
    struct Case
    {
        const char* path;
        const char* folder;
        const char* work;
    };
    const Case cases[] = {
        {"", "", ""},
        {"/data/car/Car1.orv", "/data/car/", "/data/car/DAQ"},
        {"/Car1.orv", "/", "/DAQ"},
        {"Car1.orv", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        project.documentPath = c.path;
        EXPECT_EQ(GetDocumentFolder(&project), c.folder);
        EXPECT_EQ(GetWorkFolderPath(&project), c.work);
    }
    EXPECT_EQ(GetDocumentFolder(nullptr), "");
    EXPECT_EQ(GetWorkFolderPath(nullptr), "");
}

TEST(UUID, NilCreateTextAndWords)
{
    CUUID nil;
    EXPECT_TRUE(nil.IsNil());
    EXPECT_EQ(nil.ToString(), "00000000-0000-0000-0000-000000000000");

    CUUID a, b;
    a.Create();
    b.Create();
    EXPECT_FALSE(a.IsNil());
    EXPECT_NE(a, b);
    CUUID back(a.ToString());
    EXPECT_EQ(back, a);

    CUUID parsed("0123ABCD-4567-89ab-cdef-0011223344FF");
    EXPECT_EQ(parsed.ToString(), "0123abcd-4567-89ab-cdef-0011223344ff");
    EXPECT_EQ(parsed.Word(0), 0x0123ABCDu);
    EXPECT_EQ(parsed.Word(1), 0x456789ABu);
    EXPECT_EQ(parsed.Word(2), 0xCDEF0011u);
    EXPECT_EQ(parsed.Word(3), 0x223344FFu);
    EXPECT_EQ(parsed.Word(4), 0u);

    for (const char* bad :
         {"", "not a guid", "{0123abcd-4567-89ab-cdef-0011223344ff}", "0123abcd-4567-89ab-cdef-0011223344f",
          "0123abcd-4567-89ab-cdef-0011223344fg", "0123abcd+4567-89ab-cdef-0011223344ff"}) {
        SCOPED_TRACE(bad);
        CUUID u = a;
        EXPECT_FALSE(u.FromString(bad));
        EXPECT_TRUE(u.IsNil());
    }
}

TEST(PID, FreshIdentityAndItsText)
{
    CPID p, q;
    EXPECT_FALSE(p.IsNil());
    EXPECT_NE(p, q);
    std::string text = p.ToPIDText();
    EXPECT_EQ(text.rfind("PID:", 0), 0u);
    CPID r;
    ASSERT_TRUE(r.FromPIDText(text));
    EXPECT_EQ(r, p);
    // An upper-case GUID that starts with D keeps its first digit.
    ASSERT_TRUE(r.FromPIDText("PID:D0000000-0000-0000-0000-000000000001"));
    EXPECT_EQ(r.Word(0), 0xD0000000u);
    EXPECT_FALSE(r.FromPIDText("PID:garbage"));
    EXPECT_TRUE(r.IsNil());
    EXPECT_FALSE(r.FromPIDText(""));
    EXPECT_TRUE(r.IsNil());
}

TEST(ModuleInfo, VersionTextParsing)
{
    struct Case
    {
        const char* text;
        int major, minor, release, build;
    };
    const Case cases[] = {
        {"2.1.3 build(45)", 2, 1, 3, 45},
        {"1.1.1 build(0040)", 1, 1, 1, 40},
        {"1.0.0 build(0)", 1, 0, 0, 0},
        {"3.2", 3, 2, -1, -1},
        {"7", 7, -1, -1, -1},
        {"1.2.3 build(", 1, 2, 3, -1},
        {"1.x.3 build(9)", 1, -1, 3, 9},
        {"", -1, -1, -1, -1},
        {nullptr, -1, -1, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "(null)");
        int a = 99, b = 99, r = 99, n = 99;
        ParseVersionText(c.text, &a, &b, &r, &n);
        EXPECT_EQ(a, c.major);
        EXPECT_EQ(b, c.minor);
        EXPECT_EQ(r, c.release);
        EXPECT_EQ(n, c.build);
    }
}

TEST(ModuleInfo, TheProgramsOwnModule)
{
    CModuleInfo self;
    std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
    EXPECT_EQ(self.GetFilePath(), exe);
    EXPECT_EQ(self.GetFileName(), "orvex_common_tests");
    EXPECT_GT(self.GetFileTime(), 0);
    EXPECT_EQ(GetModuleDirectory(), std::filesystem::path(exe).parent_path().string());
    EXPECT_EQ(GetProgramVersionText(), ORVEX_VERSION_TEXT);
    // The version text reads back through the parser.
    int a, b, r, n;
    ParseVersionText(self.GetFileVersionText().c_str(), &a, &b, &r, &n);
    EXPECT_EQ(std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(r), GetProgramVersionText());
    EXPECT_GE(n, 0);
    EXPECT_EQ(self.GetProductVersionText(), self.GetFileVersionText());

    CModuleInfo other;
    other.SetModule("/no/such/module.so");
    EXPECT_EQ(other.GetFileName(), "module.so");
    EXPECT_EQ(other.GetFileTime(), 0);
    EXPECT_EQ(other.GetFileVersionText(), "");
}

TEST(DbgFile, WritesAtItsPathAndClosesOnlyWhenOpen)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::string path = dir.path().toStdString() + "/debug.txt";
    CDbgFile file(path);
    file.Close(); // not open: nothing happens
    ASSERT_TRUE(file.Open());
    file.WriteString("line 1\n");
    file.WriteString("line 2\n");
    file.Close();
    file.Close();
    std::ifstream in(path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "line 1\nline 2\n");
}

} // namespace
