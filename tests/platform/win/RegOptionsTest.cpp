#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <thread>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

// Every test gets an empty settings folder of its own, the English strings and the registry key
// the application sets at start-up.
class RegOptionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_previous = CZuRegOptions::GetSettingsFolder();
        CZuRegOptions::SetSettingsFolder(m_dir.path().toStdString());
        CZuRegOptions::SetRegistryKey("Velmora");
        CZuRegOptions::SetAppName("ORVEX");
        ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
    }
    void TearDown() override { CZuRegOptions::SetSettingsFolder(m_previous); }

    // Points the settings at a path below a regular file: the folder cannot be created.
    void MakeSettingsUnopenable()
    {
        std::string file = m_dir.path().toStdString() + "/not-a-folder";
        std::ofstream(file) << "x";
        CZuRegOptions::SetSettingsFolder(file + "/settings");
    }

    std::string IniText() const
    {
        CZuRegOptions::Flush();
        QFile f(QString::fromStdString(CZuRegOptions::GetSettingsFilePath()));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return f.readAll().toStdString();
    }

    QTemporaryDir m_dir;
    std::string m_previous;
};

struct FrameworkValue
{
    const char* name;
    uint32_t (*read)();
    bool (*write)(uint32_t);
    uint32_t defaultValue;
};

const FrameworkValue kFrameworkValues[] = {
    {"Language", &GetLanguageOption, &SetLanguageOption, 9},
    {"AutoCheckLastVer", &GetAutoCheckLastVerOption, &SetAutoCheckLastVerOption, 1},
};

TEST_F(RegOptionsTest, FrameworkValuesReadTheirDefaultsWhenMissing)
{
    for (const FrameworkValue& v : kFrameworkValues) {
        SCOPED_TRACE(v.name);
        EXPECT_EQ(v.read(), v.defaultValue);
        EXPECT_EQ(ReadFrameworkDWORD(v.name, v.defaultValue), v.defaultValue);
    }
    // Reading creates no value.
    EXPECT_EQ(IniText().find("Language"), std::string::npos);
}

TEST_F(RegOptionsTest, FrameworkValuesReadWhatWasWritten)
{
    const uint32_t written[] = {17, 0, 0xFFFFFFFEu, 12345};
    for (const FrameworkValue& v : kFrameworkValues) {
        for (uint32_t value : written) {
            SCOPED_TRACE(std::string(v.name) + " = " + std::to_string(value));
            ASSERT_TRUE(v.write(value));
            EXPECT_EQ(v.read(), value);
        }
    }
    // They live under the maker's key, in the settings folder that the tests chose.
    std::string ini = IniText();
    EXPECT_NE(ini.find("[Software]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Velmora\\Language="), std::string::npos) << ini;
}

TEST_F(RegOptionsTest, FrameworkValueOfWrongTypeOrMalformedKeepsDefault)
{
    {
        CZuRegOptions reg(kVelmoraKeyPath);
        ASSERT_TRUE(reg.Open());
        // A text where a DWORD is expected does not fit the DWORD reader.
        ASSERT_TRUE(reg.SetString("Language", "17 and much more text"));
    }
    EXPECT_EQ(GetLanguageOption(), 9u);

    // A hand-damaged file: the value is there but is not a DWORD.
    std::string ini = IniText();
    ASSERT_FALSE(ini.empty());
    {
        std::ofstream out(CZuRegOptions::GetSettingsFilePath(), std::ios::trunc);
        out << "[Software]\nVelmora\\AutoCheckLastVer=dword:zz\nVelmora\\Language=dword:000000110\n";
    }
    EXPECT_EQ(GetAutoCheckLastVerOption(), 1u);
    EXPECT_EQ(GetLanguageOption(), 9u);
}

TEST_F(RegOptionsTest, UnopenableKeyReportsOnceAndKeepsDefaults)
{
    MakeSettingsUnopenable();
    CScriptedPrompts prompts;
    prompts.Answer(IDOK).Answer(IDOK).Answer(IDOK).Answer(IDOK);

    EXPECT_EQ(GetLanguageOption(), 9u);
    EXPECT_EQ(GetAutoCheckLastVerOption(), 1u);
    EXPECT_FALSE(SetLanguageOption(17));
    EXPECT_EQ(GetLanguageOption(), 9u);

    ASSERT_EQ(prompts.Count(), 4u); // one message per failed open
    for (const PromptRecord& r : prompts.Records()) {
        EXPECT_EQ(r.stringId, 12302u);
        EXPECT_EQ(r.style & MB_ICONMASK, MB_ICONSTOP);
        EXPECT_EQ(r.text, LoadString(12302));
    }
}

TEST_F(RegOptionsTest, AccessorFailsWhileClosedAndLeavesOutputsAlone)
{
    CZuRegOptions reg(kVelmoraKeyPath);
    uint32_t value = 77;
    std::string text = "keep";
    EXPECT_FALSE(reg.IsOpen());
    EXPECT_FALSE(reg.GetDWORD("Language", value));
    EXPECT_FALSE(reg.SetDWORD("Language", 1));
    EXPECT_FALSE(reg.GetString("Name", text));
    EXPECT_FALSE(reg.SetString("Name", "x"));
    EXPECT_EQ(value, 77u);
    EXPECT_EQ(text, "keep");

    ASSERT_TRUE(reg.Open());
    EXPECT_FALSE(reg.GetDWORD("Missing", value));
    EXPECT_FALSE(reg.GetString("Missing", text));
    EXPECT_EQ(value, 77u);
    EXPECT_EQ(text, "keep");

    // A failed reopen closes what was held.
    MakeSettingsUnopenable();
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    EXPECT_FALSE(reg.Open());
    EXPECT_FALSE(reg.IsOpen());
    EXPECT_FALSE(reg.GetDWORD("Missing", value));
}

TEST_F(RegOptionsTest, DefaultPathIsTheApplicationSettingsKey)
{
    CZuRegOptions reg;
    EXPECT_EQ(reg.GetKeyPath(), "Software\\Velmora\\ORVEX\\Settings");
    CZuRegOptions given("Software\\Other");
    EXPECT_EQ(given.GetKeyPath(), "Software\\Other");
}

TEST_F(RegOptionsTest, StringsAndDwordsRoundTripAndKeysDoNotMix)
{
    {
        CZuRegOptions a("Software\\Velmora\\ORVEX\\Settings");
        CZuRegOptions b("Software\\Velmora\\ORVEX\\Other");
        ASSERT_TRUE(a.Open());
        ASSERT_TRUE(b.Open());
        ASSERT_TRUE(a.SetDWORD("DAQ_MAX_CH", 32));
        ASSERT_TRUE(b.SetDWORD("DAQ_MAX_CH", 64));
        ASSERT_TRUE(a.SetString("DAQPP_CHTABLECOL", "No.,1,Sensor,2, spaced ,3"));
        ASSERT_TRUE(a.SetString("Japanese", "センサー=\"値\";[x]"));
        ASSERT_TRUE(a.SetString("Empty", ""));
    }
    // A fresh accessor sees what the others wrote.
    CZuRegOptions a("Software\\Velmora\\ORVEX\\Settings");
    CZuRegOptions b("Software\\Velmora\\ORVEX\\Other");
    ASSERT_TRUE(a.Open());
    ASSERT_TRUE(b.Open());
    uint32_t va = 0, vb = 0;
    ASSERT_TRUE(a.GetDWORD("DAQ_MAX_CH", va));
    ASSERT_TRUE(b.GetDWORD("DAQ_MAX_CH", vb));
    EXPECT_EQ(va, 32u);
    EXPECT_EQ(vb, 64u);
    std::string text;
    ASSERT_TRUE(a.GetString("DAQPP_CHTABLECOL", text));
    EXPECT_EQ(text, "No.,1,Sensor,2, spaced ,3");
    ASSERT_TRUE(a.GetString("Japanese", text));
    EXPECT_EQ(text, "センサー=\"値\";[x]");
    ASSERT_TRUE(a.GetString("Empty", text));
    EXPECT_EQ(text, "");
    // Type is kept: a DWORD is not a string and the reverse.
    EXPECT_FALSE(a.GetString("DAQ_MAX_CH", text));
    EXPECT_FALSE(a.GetDWORD("DAQPP_CHTABLECOL", va));
    EXPECT_EQ(va, 32u);
}

TEST_F(RegOptionsTest, StringLongerThanTheReaderBufferFailsTheRead)
{
    CZuRegOptions reg(kVelmoraKeyPath);
    ASSERT_TRUE(reg.Open());
    std::string fits(CZuRegOptions::kMaxStringBytes, 'a');
    std::string tooLong(CZuRegOptions::kMaxStringBytes + 1, 'a');
    ASSERT_TRUE(reg.SetString("Fits", fits));
    ASSERT_TRUE(reg.SetString("TooLong", tooLong));
    std::string text = "default";
    ASSERT_TRUE(reg.GetString("Fits", text));
    EXPECT_EQ(text, fits);
    text = "default";
    EXPECT_FALSE(reg.GetString("TooLong", text));
    EXPECT_EQ(text, "default");
}

TEST_F(RegOptionsTest, OptionReadByStringId)
{
    // 6319 and 6182 name option values; 1 is no string at all.
    const std::string key = GetOptionsKeyPath();
    EXPECT_EQ(key, "Software\\Velmora\\ORVEX\\Settings");
    {
        CZuRegOptions reg(key.c_str());
        ASSERT_TRUE(reg.Open());
        ASSERT_TRUE(reg.SetDWORD(LoadString(6319).c_str(), 5));
        ASSERT_TRUE(reg.SetDWORD(LoadString(6182).c_str(), 0xFFFFFFFFu));
    }
    struct Case
    {
        uint32_t id;
        bool ok;
        uint32_t value; // out value after the call (starting from 42)
        uint32_t byId;  // GetRegOptionByStringId
    };
    const Case cases[] = {
        {6319, true, 5, 5},
        {6182, false, 0xFFFFFFFFu, 0}, // stored -1 reads as absent
        {6183, false, 0xFFFFFFFFu, 0}, // missing value
        {1, false, 42, 0},             // no such string: value untouched
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        uint32_t value = 42;
        EXPECT_EQ(ReadRegOptionById(c.id, value), c.ok);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(GetRegOptionByStringId(c.id), c.byId);
    }
}

TEST_F(RegOptionsTest, OptionReadWithUnopenableKeyGivesZero)
{
    MakeSettingsUnopenable();
    CScriptedPrompts prompts;
    prompts.Answer(IDOK).Answer(IDOK);
    uint32_t value = 42;
    EXPECT_FALSE(ReadRegOptionById(6319, value));
    EXPECT_EQ(value, 42u);
    EXPECT_EQ(GetRegOptionByStringId(6319), 0u);
    EXPECT_EQ(prompts.Count(), 2u);
}

TEST_F(RegOptionsTest, ProfileEntriesLiveUnderTheApplicationKey)
{
    EXPECT_EQ(GetProfileString("QMX", "IP", "192.168.0.10"), "192.168.0.10");
    EXPECT_EQ(GetProfileInt("Recent File List", "Count", 4), 4u);
    ASSERT_TRUE(WriteProfileString("QMX", "IP", "10.0.0.7"));
    ASSERT_TRUE(WriteProfileInt("Recent File List", "Count", 2));
    EXPECT_EQ(GetProfileString("QMX", "IP"), "10.0.0.7");
    EXPECT_EQ(GetProfileInt("Recent File List", "Count", 4), 2u);
    CZuRegOptions reg("Software\\Velmora\\ORVEX\\QMX");
    ASSERT_TRUE(reg.Open());
    std::string ip;
    ASSERT_TRUE(reg.GetString("IP", ip));
    EXPECT_EQ(ip, "10.0.0.7");

    // The profile never shows the settings message.
    MakeSettingsUnopenable();
    CScriptedPrompts prompts;
    EXPECT_EQ(GetProfileString("QMX", "IP", "dflt"), "dflt");
    EXPECT_FALSE(WriteProfileString("QMX", "IP", "x"));
    EXPECT_EQ(prompts.Count(), 0u);
}

} // namespace

TEST_F(RegOptionsTest, WritesReachTheFileTogetherWhenTheProgramIsIdle)
{
    auto onDisk = [] {
        QFile f(QString::fromStdString(CZuRegOptions::GetSettingsFilePath()));
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
    };
    CZuRegOptions reg(kVelmoraKeyPath);
    ASSERT_TRUE(reg.Open());
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(reg.SetDWORD(("Value" + std::to_string(i)).c_str(), static_cast<uint32_t>(i)));
    // Read back at once from the program's own settings, before the file has them.
    uint32_t value = 0;
    ASSERT_TRUE(reg.GetDWORD("Value7", value));
    EXPECT_EQ(value, 7u);
    EXPECT_EQ(onDisk().find("Value9"), std::string::npos);

    QCoreApplication::processEvents(); // idle: all ten go to the file in one write
    const std::string text = onDisk();
    for (int i = 0; i < 10; ++i)
        EXPECT_NE(text.find("Velmora\\Value" + std::to_string(i) + "=dword:"), std::string::npos) << text;

    // Where no event loop comes back (another thread), a write reaches the file at once.
    std::thread worker([] { EXPECT_TRUE(WriteFrameworkDWORD("FromWorker", 5)); });
    worker.join();
    EXPECT_NE(onDisk().find("FromWorker=dword:00000005"), std::string::npos);
}

TEST_F(RegOptionsTest, WritingBackWhatTheFileHoldsLeavesTheFileAlone)
{
    CZuRegOptions reg(kVelmoraKeyPath);
    ASSERT_TRUE(reg.Open());
    ASSERT_TRUE(reg.SetDWORD("Language", 17));
    ASSERT_TRUE(reg.SetString("Name", "same"));
    ASSERT_TRUE(reg.SetBinary("Bytes", {1, 2, 3}));
    CZuRegOptions::Flush();
    const std::filesystem::path file = CZuRegOptions::GetSettingsFilePath();
    const auto old = std::filesystem::last_write_time(file) - std::chrono::hours(1);
    std::filesystem::last_write_time(file, old);

    // The same values again, and the removal of one that is not there: the file is not written.
    ASSERT_TRUE(reg.SetDWORD("Language", 17));
    ASSERT_TRUE(reg.SetString("Name", "same"));
    ASSERT_TRUE(reg.SetBinary("Bytes", {1, 2, 3}));
    ASSERT_TRUE(reg.DeleteValue("Missing"));
    CZuRegOptions::Flush();
    QCoreApplication::processEvents();
    EXPECT_EQ(std::filesystem::last_write_time(file), old);

    // A value that differs, in type or in content, is written.
    struct Change
    {
        const char* what;
        std::function<bool()> write;
        const char* expected;
    };
    const Change changes[] = {
        {"dword", [&] { return reg.SetDWORD("Language", 9); }, "Language=dword:00000009"},
        {"string over a dword", [&] { return reg.SetString("Language", "9"); }, "Language=sz:9"},
        {"binary",
         [&] {
             return reg.SetBinary("Bytes", {1, 2});
         },
         "Bytes=hex:0102"},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        ASSERT_TRUE(change.write());
        EXPECT_NE(IniText().find(change.expected), std::string::npos) << IniText();
    }
    EXPECT_NE(std::filesystem::last_write_time(file), old);
    ASSERT_TRUE(reg.DeleteValue("Name"));
    EXPECT_EQ(IniText().find("Name="), std::string::npos);
}

// The settings file is read again only when it changed, but every change made outside is seen: a
// rewrite, a replacement, and the settings folder going away.
TEST_F(RegOptionsTest, ChangesMadeOutsideAreSeenByTheNextRead)
{
    ASSERT_TRUE(SetLanguageOption(17));
    CZuRegOptions::Flush();
    EXPECT_EQ(GetLanguageOption(), 17u);
    EXPECT_EQ(GetLanguageOption(), 17u); // the file as it was read

    const std::string file = CZuRegOptions::GetSettingsFilePath();
    // Each text of another length than the one before, so that no check of the file's size and
    // time could take it for the same.
    auto rewrite = [&](const std::string& target, const char* value, int blankLines) {
        std::ofstream(target, std::ios::trunc) << "[Software]\nVelmora\\Language=dword:" << value << "\n"
                                               << std::string(static_cast<size_t>(blankLines), '\n');
    };
    rewrite(file, "00000012", 3);
    EXPECT_EQ(GetLanguageOption(), 18u) << "rewritten";
    EXPECT_EQ(GetLanguageOption(), 18u);
    rewrite(file + ".new", "00000013", 6);
    std::filesystem::rename(file + ".new", file);
    EXPECT_EQ(GetLanguageOption(), 19u) << "replaced";

    std::filesystem::remove_all(CZuRegOptions::GetSettingsFolder());
    EXPECT_EQ(GetLanguageOption(), 9u) << "gone: the default";
    ASSERT_TRUE(SetLanguageOption(20));
    CZuRegOptions::Flush();
    EXPECT_NE(IniText().find("Language=dword:00000014"), std::string::npos) << "the folder is made again";
}
