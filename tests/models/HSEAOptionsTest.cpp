#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "ModelTestSupport.h"
#include "models/HSEAOptions.h"
#include "models/HSEARegOptions.h"
#include "platform/archive/Archive.h"
#include "platform/win/PromptService.h"
#include "platform/win/ZuRegOptions.h"

namespace {

// Each test starts without the option key.
struct OptionsFixture : ::testing::Test
{
    OptionsFixture() { Clear(); }
    ~OptionsFixture() override
    {
        CZuRegOptions::SetSettingsFolder(folder);
        Clear();
    }
    static void Clear()
    {
        std::error_code ec;
        std::filesystem::remove(CZuRegOptions::GetSettingsFilePath(), ec);
    }
    std::string folder = SettingsFolder();
};

void ExpectDisplayDefaults(const CHSEAOptions& o)
{
    EXPECT_EQ(o.m_nSolver, 0);
    EXPECT_EQ(o.HSS_ClfConstraint, 0);
    EXPECT_EQ(o.HSS_DlfConstraint, 0);
    EXPECT_EQ(o.HSS_KeepClfReciprocity, 0);
    EXPECT_EQ(o.HSS_SymmetricCopy, 0);
    EXPECT_EQ(o.HSS_DecimalPlaces, 2);
    EXPECT_EQ(o.HSS_TableCellWidth, 10);
    EXPECT_EQ(o.HSS_IconWidth, 0);
    EXPECT_EQ(o.HSS_PlotAllData, 0);
    EXPECT_EQ(o.HSS_ShowDataInDB, 1);
    EXPECT_EQ(o.WeightingFilter, 1);
    EXPECT_EQ(o.m_nMeanMethod, 2);
    EXPECT_EQ(o.m_booleanLabels[1], "TRUE");
    EXPECT_EQ(o.m_solverLabels[1], "SVD");
    EXPECT_EQ(o.m_firstWaveLabels[1], "F-F Wave");
}

void ExpectValueDefaults()
{
    EXPECT_EQ(CHSEARegOptions::GetDataWindowing(), 0u);
    EXPECT_EQ(CHSEARegOptions::GetIPReviseRate(), 0.95);
    EXPECT_EQ(CHSEARegOptions::GetExpDataCheckInputRange(), 0.75);
    EXPECT_EQ(CHSEARegOptions::GetExpDataCheckOverLoad(), 0.95);
    EXPECT_EQ(CHSEARegOptions::GetDaqGraphBandType(), 0u);
    EXPECT_EQ(CHSEARegOptions::GetDaqGraphColor(), 0u);
    EXPECT_EQ(CHSEARegOptions::GetDaqInputRange(), 0u);
    EXPECT_EQ(CHSEARegOptions::GetReverseSensitivity(), 0u);
    EXPECT_EQ(CHSEARegOptions::GetChannelTableColumns(), CHSEARegOptions::kDefaultChannelTableColumns);
}

} // namespace

TEST_F(OptionsFixture, NoKeyGivesEveryDefault)
{
    CScriptedPrompts prompts;
    CHSEAOptions o;
    ExpectDisplayDefaults(o);
    ExpectValueDefaults();
    EXPECT_EQ(prompts.Count(), 0u);
}

TEST_F(OptionsFixture, AKeyThatCannotBeOpenedGivesDefaultsAndTellsSo)
{
    CTempFolder blocked;
    WriteTextFile(blocked.File("file"), "x");
    CZuRegOptions::SetSettingsFolder(blocked.File("file") + "/settings");
    CScriptedPrompts prompts;
    CHSEAOptions o;
    ExpectDisplayDefaults(o);
    ASSERT_EQ(prompts.Count(), 2u); // one for the model flags, one for the display options
    EXPECT_EQ(prompts.Records()[0].stringId, 12302u);
    EXPECT_EQ(prompts.Records()[0].style & MB_ICONMASK, MB_ICONSTOP);
    EXPECT_EQ(o.SaveDisplayOptions(), 0);
    EXPECT_EQ(CHSEARegOptions::GetIPReviseRate(), 0.95);
}

TEST_F(OptionsFixture, StoredValuesAreReadAndAllOnesReadsAsMissing)
{
    ASSERT_EQ(CHSEARegOptions::WriteDWORD(kRegHSSClfConstraint, 1), 1);
    ASSERT_EQ(CHSEARegOptions::WriteDWORD(kRegHSSSymmetricCopy, 1), 1);
    ASSERT_EQ(CHSEARegOptions::WriteDWORD(kRegHSSDecimalPlaces, 0xFFFFFFFFu), 1);
    ASSERT_EQ(CHSEARegOptions::WriteDWORD(kRegHSSShowDataInDB, 0), 1);
    ASSERT_EQ(CHSEARegOptions::WriteDWORD(kRegDataWindowing, 0xFFFFFFFFu), 1);
    ASSERT_EQ(CHSEARegOptions::WriteDWORD(kRegDaqGraphColor, 3), 1);
    CHSEAOptions o;
    EXPECT_EQ(o.HSS_ClfConstraint, 1);
    EXPECT_EQ(o.HSS_SymmetricCopy, 1);
    EXPECT_EQ(o.HSS_DecimalPlaces, 2);
    EXPECT_EQ(o.HSS_ShowDataInDB, 0);
    EXPECT_EQ(CHSEARegOptions::GetDataWindowing(), 0u);
    EXPECT_EQ(CHSEARegOptions::GetDaqGraphColor(), 3u);
    CHSEARegOptions reg;
    ASSERT_EQ(reg.Open(), 1);
    EXPECT_EQ(reg.GetDWORD(kRegHSSDecimalPlaces), CHSEARegOptions::kNoValue);
    EXPECT_EQ(reg.GetDWORD("NoSuchValue"), CHSEARegOptions::kNoValue);
}

TEST_F(OptionsFixture, StringValues)
{
    struct Case
    {
        const char* text;
        double rate;
    };
    const Case cases[] = {{"0", 0.95}, {"-1", 0.95}, {"abc", 0.95}, {"", 0.95}, {"0.8", 0.8}, {"1.5e-1", 0.15}};
    for (const Case& c : cases) {
        ASSERT_EQ(CHSEARegOptions::WriteString(kRegIPReviseRate, c.text), 1);
        EXPECT_EQ(CHSEARegOptions::GetIPReviseRate(), c.rate) << c.text;
    }
    CZuRegOptions raw(GetOptionsKeyPath().c_str());
    ASSERT_TRUE(raw.Open());
    ASSERT_TRUE(raw.SetString(kRegIPReviseRate, "0." + std::string(300, '5'))); // too long to read
    EXPECT_EQ(CHSEARegOptions::GetIPReviseRate(), 0.95);

    ASSERT_EQ(CHSEARegOptions::SaveExpDataCheckInputRange(0.5), 1);
    EXPECT_EQ(CHSEARegOptions::ReadString(kRegExpDataCheckInputRange, ""), "5.000000e-01");
    EXPECT_EQ(CHSEARegOptions::GetExpDataCheckInputRange(), 0.5);

    ASSERT_EQ(CHSEARegOptions::SaveChannelTableColumns(""), 1);
    EXPECT_EQ(CHSEARegOptions::GetChannelTableColumns(), CHSEARegOptions::kDefaultChannelTableColumns);
    ASSERT_EQ(CHSEARegOptions::SaveChannelTableColumns("Point,1"), 1);
    EXPECT_EQ(CHSEARegOptions::GetChannelTableColumns(), "Point,1");
    ASSERT_EQ(CHSEARegOptions::SaveMaxChannel(64), 1);
    EXPECT_EQ(CHSEARegOptions::ReadDWORD(kRegMaxChannel, 0), 64u);
}

TEST_F(OptionsFixture, DisplayOptionsAreSavedForTheNextProject)
{
    CHSEAOptions o;
    o.HSS_DecimalPlaces = 4;
    o.HSS_TableCellWidth = 12;
    o.HSS_IconWidth = 3;
    o.HSS_PlotAllData = 1;
    o.HSS_ShowDataInDB = 0;
    o.WeightingFilter = 0;
    o.HSS_ClfConstraint = 1; // a model flag: never written
    ASSERT_EQ(o.SaveDisplayOptions(), 1);
    CHSEAOptions next;
    EXPECT_EQ(next.HSS_DecimalPlaces, 4);
    EXPECT_EQ(next.HSS_TableCellWidth, 12);
    EXPECT_EQ(next.HSS_IconWidth, 3);
    EXPECT_EQ(next.HSS_PlotAllData, 1);
    EXPECT_EQ(next.HSS_ShowDataInDB, 0);
    EXPECT_EQ(next.WeightingFilter, 0);
    EXPECT_EQ(next.HSS_ClfConstraint, 0);
}

TEST_F(OptionsFixture, StoredWithTheProjectAndOlderSchema)
{
    CHSEAOptions o;
    o.m_nSolver = 1;
    o.HSS_ClfConstraint = 1;
    o.HSS_DlfConstraint = 1;
    o.HSS_KeepClfReciprocity = 1;
    o.HSS_SymmetricCopy = 1;
    o.m_nMeanMethod = 0;
    o.HSS_DecimalPlaces = 7; // display options do not travel
    std::vector<uint8_t> buf;
    {
        CArchive ar(&buf, CArchive::store);
        ar.WriteObject(&o);
    }
    {
        CArchive in(buf.data(), buf.size());
        auto back = in.ReadOwned<CHSEAOptions>();
        ASSERT_TRUE(back);
        EXPECT_EQ(back->m_nSolver, 1);
        EXPECT_EQ(back->HSS_ClfConstraint, 1);
        EXPECT_EQ(back->HSS_DlfConstraint, 1);
        EXPECT_EQ(back->HSS_KeepClfReciprocity, 1);
        EXPECT_EQ(back->HSS_SymmetricCopy, 1);
        EXPECT_EQ(back->m_nMeanMethod, 0);
        EXPECT_EQ(back->HSS_DecimalPlaces, 2);
    }
    // Schema 4: no mean method stored; it stays 2.
    const std::string name = "CHSEAOptions";
    const size_t schemaAt =
        static_cast<size_t>(std::search(buf.begin(), buf.end(), name.begin(), name.end()) - buf.begin()) - 4;
    ASSERT_EQ(buf[schemaAt], 5);
    std::vector<uint8_t> old(buf.begin(), buf.end() - 4);
    old[schemaAt] = 4;
    CArchive in(old.data(), old.size());
    auto back = in.ReadOwned<CHSEAOptions>();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_nMeanMethod, 2);
    EXPECT_EQ(back->HSS_SymmetricCopy, 1);
}

TEST_F(OptionsFixture, AssignmentLeavesTheViewsOwnChoices)
{
    CHSEAOptions a, b;
    a.m_nSolver = 1;
    a.HSS_TableCellWidth = 30;
    a.m_nMeanMethod = 1;
    a.HSS_PlotAllData = 1;
    a.HSS_ShowDataInDB = 0;
    a.WeightingFilter = 0;
    a.m_solverLabels[0] = "x";
    b = a;
    EXPECT_EQ(b.m_nSolver, 1);
    EXPECT_EQ(b.HSS_TableCellWidth, 30);
    EXPECT_EQ(b.m_nMeanMethod, 1);
    EXPECT_EQ(b.HSS_PlotAllData, 1);
    EXPECT_EQ(b.m_solverLabels[0], "x");
    EXPECT_EQ(b.HSS_ShowDataInDB, 1);
    EXPECT_EQ(b.WeightingFilter, 1);
    b.SetSymmetricCopy(1);
    EXPECT_EQ(b.HSS_SymmetricCopy, 1);
}
