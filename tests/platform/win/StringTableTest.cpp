#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>

namespace {

// Starts each test with the built-in English table and restores it afterwards.
class StringTableTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH)); }
    void TearDown() override
    {
        SetStringTableFolder("");
        LoadLanguageStrings(LANG_ENGLISH);
    }
};

CStringTable BuiltIn(uint32_t language)
{
    CStringTable table;
    std::string error;
    EXPECT_TRUE(table.LoadFile(":/lang/" + GetStringTableFileName(language), &error)) << error;
    return table;
}

// The printf conversions of a text, in order ("%s", "%02d", ...); "%%" is no conversion.
std::vector<std::string> Conversions(const std::string& text)
{
    static const std::regex conv("%[-+ #0]*[0-9*]*(\\.[0-9*]+)?(hh|h|ll|l|L|z|j|t)?[diouxXeEfFgGaAcspn%]");
    std::vector<std::string> out;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), conv); it != std::sregex_iterator(); ++it)
        if (it->str() != "%%")
            out.push_back(it->str());
    return out;
}

TEST_F(StringTableTest, BothBuiltInTablesLoadWithTitle)
{
    struct Case
    {
        uint32_t language;
        uint32_t loaded;
        const char* message12302;
    };
    const Case cases[] = {
        {LANG_JAPANESE, LANG_JAPANESE, "設定を開けませんでした。"},
        {LANG_ENGLISH, LANG_ENGLISH, "The settings could not be opened."},
        {1041, 1041, "The settings could not be opened."}, // any other language is English
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        std::string error;
        ASSERT_TRUE(LoadLanguageStrings(c.language, &error)) << error;
        EXPECT_EQ(GetLoadedLanguage(), c.loaded);
        EXPECT_EQ(GetAppTitle(), "ORVEX");
        EXPECT_EQ(LoadString(12302), c.message12302);
    }
    EXPECT_EQ(GetStringTableFileName(17), "orvex_jpn.txt");
    EXPECT_EQ(GetStringTableFileName(9), "orvex_eng.txt");
    EXPECT_EQ(GetStringTableFileName(0), "orvex_eng.txt");
}

TEST_F(StringTableTest, TablesHoldTheSameIdsWithTheSameFormatArguments)
{
    CStringTable eng = BuiltIn(LANG_ENGLISH);
    CStringTable jpn = BuiltIn(LANG_JAPANESE);
    ASSERT_GT(eng.Size(), 300u);
    EXPECT_EQ(eng.Size(), jpn.Size());
    for (const auto& [id, text] : eng.Strings()) {
        SCOPED_TRACE(id);
        std::string other;
        ASSERT_TRUE(jpn.Find(id, other));
        // A translation must take the arguments its callers pass, or formatting it goes wrong.
        EXPECT_EQ(Conversions(text), Conversions(other)) << text << " / " << other;
        EXPECT_FALSE(text.empty());
    }
}

TEST_F(StringTableTest, TextsThatNameStoredThingsAgreeAcrossLanguages)
{
    CStringTable eng = BuiltIn(LANG_ENGLISH);
    CStringTable jpn = BuiltIn(LANG_JAPANESE);
    // Folder names found by name, file header words, option value names, the settings key.
    for (uint32_t id : {6064u, 6092u, 6096u, 6003u, 6123u, 6087u, 6187u, 7046u, 7059u, 7060u, 7061u,
                        7062u, 6082u, 6172u, 6177u, 6319u, 7001u, 7016u, 7044u, 7067u, 7068u}) {
        SCOPED_TRACE(id);
        std::string e, j;
        ASSERT_TRUE(eng.Find(id, e));
        ASSERT_TRUE(jpn.Find(id, j));
        EXPECT_EQ(e, j);
    }
    std::string exeName;
    ASSERT_TRUE(eng.Find(7061, exeName));
    EXPECT_NE(exeName.find("EXENAME:"), std::string::npos);
}

TEST_F(StringTableTest, EveryIdTheCodeNamesIsInBothLanguagesUnderOneName)
{
    // A string the code asks for but a table lacks shows as an empty text or box in that language.
    for (uint32_t language : {LANG_ENGLISH, LANG_JAPANESE}) {
        SCOPED_TRACE(language);
        CStringTable table = BuiltIn(language);
        for (uint32_t id : kAllStringIds)
            EXPECT_TRUE(table.Contains(id)) << "string " << id;
    }
    // One name per id: a number named twice lets the two names drift to different texts.
    std::set<uint32_t> ids(std::begin(kAllStringIds), std::end(kAllStringIds));
    EXPECT_EQ(ids.size(), std::size(kAllStringIds));
}

TEST_F(StringTableTest, MissingTableIsReportedAndKeepsTheCurrentOne)
{
    ASSERT_TRUE(LoadLanguageStrings(LANG_JAPANESE));
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    SetStringTableFolder(empty.path().toStdString());
    for (uint32_t language : {LANG_ENGLISH, LANG_JAPANESE}) {
        std::string error;
        EXPECT_FALSE(LoadLanguageStrings(language, &error));
        EXPECT_NE(error.find(GetStringTableFileName(language)), std::string::npos) << error;
    }
    EXPECT_EQ(GetLoadedLanguage(), LANG_JAPANESE);
    EXPECT_EQ(LoadString(12302), "設定を開けませんでした。");
}

TEST_F(StringTableTest, TablesLoadFromAFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::ofstream(dir.path().toStdString() + "/orvex_eng.txt")
        << "# comment\r\n\r\n0xE000\tTitle\r\n12302\tNo settings\r\n";
    SetStringTableFolder(dir.path().toStdString());
    std::string error;
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH, &error)) << error;
    EXPECT_EQ(GetAppTitle(), "Title");
    EXPECT_EQ(LoadString(12302), "No settings");
    std::string text = "untouched";
    EXPECT_FALSE(LoadString(6000, text));
    EXPECT_EQ(text, "untouched");
    EXPECT_EQ(LoadString(6000), "");
}

TEST_F(StringTableTest, MalformedTablesAreRefusedWithTheLine)
{
    struct Case
    {
        const char* content;
        const char* error; // part of the error text; null: parses
    };
    const Case cases[] = {
        {"1\tone\n0x10\tsixteen\n", nullptr},
        {"\xEF\xBB\xBF"
         "1\tBOM first\n",
         nullptr},
        {"1\ta\\tb\\nc\\\\d\n", nullptr},
        {"1\tone\n2 two\n", "line 2: no tab"},
        {"x1\tone\n", "line 1: bad string id"},
        {"-1\tone\n", "bad string id"},
        {"4294967296\tone\n", "bad string id"},
        {"\ttext\n", "bad string id"},
        {"1\tone\n1\tagain\n", "line 2: duplicate"},
        {"1\tbad \\q escape\n", "bad escape"},
        {"1\ttrailing backslash\\\n", "bad escape"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        CStringTable table;
        std::string error;
        bool ok = table.Parse(c.content, &error);
        if (!c.error) {
            EXPECT_TRUE(ok) << error;
        } else {
            EXPECT_FALSE(ok);
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
            EXPECT_EQ(table.Size(), 0u);
        }
    }
    CStringTable table;
    ASSERT_TRUE(table.Parse("1\ta\\tb\\nc\\\\d\n"));
    std::string text;
    ASSERT_TRUE(table.Find(1, text));
    EXPECT_EQ(text, "a\tb\nc\\d");
}

TEST_F(StringTableTest, TableWithoutTitleIsNoLanguageTable)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::ofstream(dir.path().toStdString() + "/orvex_jpn.txt") << "12302\tno title here\n";
    std::ofstream(dir.path().toStdString() + "/orvex_eng.txt") << "12302\tbroken\n3 no tab\n0xE000\tT\n";
    SetStringTableFolder(dir.path().toStdString());
    std::string error;
    EXPECT_FALSE(LoadLanguageStrings(LANG_JAPANESE, &error));
    EXPECT_NE(error.find("title"), std::string::npos) << error;
    EXPECT_FALSE(LoadLanguageStrings(LANG_ENGLISH, &error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_EQ(GetLoadedLanguage(), LANG_ENGLISH); // the fixture's built-in table stays
}

TEST_F(StringTableTest, FormatStringUsesTheTextAsFormat)
{
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
    EXPECT_EQ(FormatString(7046, "/data/car/"), "/data/car/DAQ");
    EXPECT_EQ(FormatString(6187, "Velmora"), "Software\\Velmora\\ORVEX\\Settings");
    EXPECT_EQ(FormatString(7001, "12-Front", 3), "12-Front #3");
}

} // namespace
