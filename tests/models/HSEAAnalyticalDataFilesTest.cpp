#include <gtest/gtest.h>

#include <vector>

#include "models/HSEAAnalyticalDataFiles.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"

namespace {

void FillSet(CHSEAAnalyticalDataFiles& set)
{
    set.SetEtaMatrixFile("/data/eta.txt");
    for (int k : {0, 1, 6}) {
        set.SetUseFlag(k, 1);
        set.SetModalDensityFile(k, Format("/data/md_%d.txt", k));
        set.SetWaveNumberFile(k, Format("/data/wn_%d.txt", k));
        set.SetPathListEntry(k, Format("/data/list_%d", k));
        set.SetPropertyFile(k, Format("/data/mass_%d.txt", k));
    }
    set.SetOption1(true);
    set.SetOption2(false);
    set.SetOption3(true);
    set.SetOption4(false);
}

// Hand-made stored set of an older schema: options as given, then the paths.
std::vector<uint8_t> OldStoredSet(uint16_t schema, const std::vector<int32_t>& options)
{
    std::vector<uint8_t> buf;
    CArchive ar(&buf, CArchive::store);
    const std::string name = "CHSEAAnalyticalDataFiles";
    ar << uint16_t(0xFFFF) << schema << uint16_t(name.size());
    ar.Write(name.data(), name.size());
    for (int32_t v : options)
        ar << v;
    ar << std::string("/eta");
    for (int k = 0; k < 8; ++k)
        ar << std::string("w") << std::string("l") << std::string("m") << int32_t(k == 2);
    return buf;
}

} // namespace

TEST(HSEAAnalyticalDataFiles, PathOfUnusedTypeIsEmpty)
{
    CHSEAAnalyticalDataFiles set;
    set.SetModalDensityFile(3, "/x");
    set.SetWaveNumberFile(3, "/x");
    set.SetPathListEntry(3, "/x");
    set.SetPropertyFile(3, "/x");
    EXPECT_EQ(set.GetModalDensityFile(3), "");
    EXPECT_EQ(set.GetWaveNumberFile(3), "");
    EXPECT_EQ(set.GetPathListEntry(3), "");
    EXPECT_EQ(set.GetPropertyFile(3), "");
    set.SetUseFlag(3, 1);
    set.SetModalDensityFile(3, "/x");
    EXPECT_EQ(set.GetModalDensityFile(3), "/x");
    // Out-of-range types neither crash nor store.
    set.SetModalDensityFile(8, "/y");
    EXPECT_EQ(set.GetModalDensityFile(8), "");
    EXPECT_EQ(set.GetUseFlag(-1), 0);
}

TEST(HSEAAnalyticalDataFiles, StoresAndReadsBackWithoutMassFiles)
{
    CHSEAAnalyticalDataFiles set;
    FillSet(set);
    std::vector<uint8_t> buf;
    {
        CArchive ar(&buf, CArchive::store);
        ar.WriteObject(&set);
    }
    CArchive in(buf.data(), buf.size());
    auto back = in.ReadOwned<CHSEAAnalyticalDataFiles>();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetEtaMatrixFile(), "/data/eta.txt");
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(back->GetUseFlag(k), set.GetUseFlag(k)) << k;
        EXPECT_EQ(back->GetModalDensityFile(k), set.GetModalDensityFile(k)) << k;
        EXPECT_EQ(back->GetWaveNumberFile(k), set.GetWaveNumberFile(k)) << k;
        EXPECT_EQ(back->GetPathListEntry(k), set.GetPathListEntry(k)) << k;
        EXPECT_EQ(back->GetPropertyFile(k), "") << k; // mass/volume paths are not stored
    }
    EXPECT_EQ(set.GetPropertyFile(1), "/data/mass_1.txt");
    EXPECT_TRUE(back->GetOption1());
    EXPECT_FALSE(back->GetOption2());
    EXPECT_TRUE(back->GetOption3());
    EXPECT_FALSE(back->GetOption4());
}

TEST(HSEAAnalyticalDataFiles, OlderSchemasLoadWithTheirDefaults)
{
    struct Case
    {
        uint16_t schema;
        std::vector<int32_t> stored; // fourth, first, second[, third]
        bool o1, o2, o3, o4;
    };
    const Case cases[] = {
        {0, {}, true, true, true, true},
        {1, {0, 0, 0}, false, false, true, false},
        {1, {5, 0, 2}, false, true, true, true},
        {2, {0, 1, 0, 0}, true, false, false, false},
    };
    for (const Case& c : cases) {
        auto buf = OldStoredSet(c.schema, c.stored);
        CArchive in(buf.data(), buf.size());
        auto back = in.ReadOwned<CHSEAAnalyticalDataFiles>();
        ASSERT_TRUE(back);
        EXPECT_EQ(back->GetOption1(), c.o1) << c.schema;
        EXPECT_EQ(back->GetOption2(), c.o2) << c.schema;
        EXPECT_EQ(back->GetOption3(), c.o3) << c.schema;
        EXPECT_EQ(back->GetOption4(), c.o4) << c.schema;
        EXPECT_EQ(back->GetEtaMatrixFile(), "/eta");
        EXPECT_EQ(back->GetUseFlag(2), 1);
        EXPECT_EQ(back->GetModalDensityFile(2), "m");
    }
}

TEST(HSEAAnalyticalDataFiles, CopyTakesOnlyTheFourthOption)
{
    CHSEAAnalyticalDataFiles set;
    FillSet(set);
    set.SetOption4(true);
    CHSEAAnalyticalDataFiles copy(set);
    EXPECT_FALSE(copy.GetOption1());
    EXPECT_FALSE(copy.GetOption3());
    EXPECT_TRUE(copy.GetOption4());
    EXPECT_EQ(copy.GetModalDensityFile(6), "/data/md_6.txt");
    EXPECT_EQ(copy.GetPropertyFile(6), "/data/mass_6.txt");
    EXPECT_EQ(copy.GetUseFlag(6), 1);
}
