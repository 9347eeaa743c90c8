#include <gtest/gtest.h>

#include "TestTree.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuClfFunc.h"
#include "platform/elements/ZuData.h"
#include "platform/elements/ZuDlfFunc.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/OctaveManager.h"

using namespace elements_test;

TEST(ZuData, SerialNumbersFollowTheCreationCounter)
{
    CZuData::SetCreationCount(41);
    CZuData a("a", nullptr, 1, OCTAVE_BAND_FULL, 100.0, 1000.0);
    CZuData b("b", nullptr, 1, -1, 0.0, 0.0);
    EXPECT_EQ(a.GetSerialNumber(), 42u);
    EXPECT_EQ(b.GetSerialNumber(), 43u);
    EXPECT_EQ(CZuData::GetCreationCount(), 43u);
    EXPECT_EQ(b.GetOctaveManager(), nullptr);
    EXPECT_EQ(b.GetFreqCount(), 0);
    EXPECT_EQ(b.GetDomainType(), -1);
    EXPECT_GT(a.GetFreqCount(), 0);
    EXPECT_EQ(a.GetDomainType(), OCTAVE_BAND_FULL);

    // Reading data back does not move the counter: the project gives it back itself.
    auto back = Load(Store(a));
    EXPECT_EQ(DynamicDowncast<CZuData>(back.get())->GetSerialNumber(), 42u);
    EXPECT_EQ(CZuData::GetCreationCount(), 43u);
}

TEST(ZuData, QuantitiesAreFoundByTypeAndClfByEitherOrder)
{
    CZuSubsystemTable table({"A-F", "B-"});
    CZuData data("d", nullptr, 48, OCTAVE_BAND_THIRD, 100.0, 200.0);
    data.SetSubsystemTable(&table);
    int bands = data.GetFreqCount();
    EXPECT_EQ(data.GetEtaMatrix(1), nullptr);
    // A vector function of the eta type is not the eta matrix.
    data.AddChild(std::make_unique<CZuVecFunc>("wrong", &table, bands, &data, ElementType::EtaMatrix));
    EXPECT_EQ(data.GetEtaMatrix(1), nullptr);
    auto* eta = data.AddChild(std::make_unique<CZuMatFunc>("eta", &table, nullptr, bands, &data, 2));
    auto* n = data.AddChild(std::make_unique<CZuVecFunc>("n", &table, bands, &data, 4));
    auto* k = data.AddChild(std::make_unique<CZuVecFunc>("k", &table, bands, &data, 35));
    auto* clf = data.AddChild(std::make_unique<CZuClfFunc>("clf", "A-F", "B-", bands, &data, 36));
    auto* total = data.AddChild(std::make_unique<CZuDlfFunc>("t", "B-", bands, &data, 42));
    auto* intrinsic = data.AddChild(std::make_unique<CZuDlfFunc>("i", "B-", bands, &data, 43));
    EXPECT_EQ(data.GetEtaMatrix(1), eta);
    EXPECT_EQ(data.GetModalDensity(0), n);
    EXPECT_EQ(data.GetWaveNumber(0), k);
    EXPECT_EQ(data.GetTotalDlf("B-"), total);
    EXPECT_EQ(data.GetIntrinsicDlf("B-"), intrinsic);
    EXPECT_EQ(data.GetTotalDlf("A-F"), nullptr);

    std::string a = "A-F", b = "B-";
    EXPECT_EQ(data.GetClf(a, b), clf);
    EXPECT_EQ(a, "A-F");
    std::string c = "B-", d = "A-F";
    EXPECT_EQ(data.GetClf(c, d, 1), nullptr); // no retry
    EXPECT_EQ(data.GetClf(c, d), clf);
    EXPECT_EQ(c, "A-F"); // exchanged for the caller
    EXPECT_EQ(d, "B-");

    // The base extractions fail with their documented values.
    double out[2];
    EXPECT_EQ(data.ExtractClf("A-F", "B-", 0u), CZuData::kNoValue);
    EXPECT_EQ(data.ExtractTotalDlf("B-", out, 2u), 0);
    EXPECT_EQ(data.ExtractIntrinsicDlf("B-"), nullptr);
}

TEST(ZuData, ConnectionFlags)
{
    CZuSubsystemTable all({"A", "B", "C"});
    CZuData data("d", nullptr, 48, OCTAVE_BAND_FULL, 100.0, 1000.0);
    EXPECT_EQ(data.CreateConnectionInfo(nullptr), 0);
    ASSERT_EQ(data.CreateConnectionInfo(&all), 1);
    int bands = data.GetFreqCount();
    ASSERT_GE(bands, 2);
    data.SetConnection(0, 2, 1, 1);
    data.SetConnection(1, 0, 0, 16);
    data.SetConnection(5, 0, 0, 1); // outside: ignored
    EXPECT_EQ(data.GetConnection(5, 0, 0), 0);
    EXPECT_EQ(data.IsConnected("A", "C", 1), 1);
    EXPECT_EQ(data.IsConnected("A", "C", 0), 0);
    EXPECT_EQ(data.IsConnected("A", "C"), 1);
    EXPECT_EQ(data.IsConnected("C", "A"), 0);
    EXPECT_EQ(data.IsConnected("B", "A"), 0);
    EXPECT_EQ(data.IsConnected("A", "Nowhere"), 0);
    CZuSubsystemTable out;
    EXPECT_EQ(data.GetConnections("A", out), 1);
    EXPECT_EQ(out[0], "C");
}

TEST(ZuData, TextPartReadsBackAndRefusesBrokenText)
{
    CZuSubsystemTable table({"Roof-F", "Cabin-"});
    CZuData data("d", nullptr, 48, OCTAVE_BAND_THIRD, 50.0, 5000.0);
    data.SetSubsystemTable(&table);
    CStdioFile out;
    out.OpenMemory(CStdioFile::modeWrite);
    ASSERT_EQ(data.Export(out), 1);
    std::string text = out.GetMemoryText();

    CZuData back;
    CStdioFile in;
    in.OpenMemory(CStdioFile::modeRead, text);
    ASSERT_EQ(back.Import(in), 1);
    EXPECT_EQ(back.GetDomainType(), OCTAVE_BAND_THIRD);
    ASSERT_EQ(back.GetFreqCount(), data.GetFreqCount());
    for (int i = 0; i < data.GetFreqCount(); ++i)
        EXPECT_EQ(back.GetFreq(i), data.GetFreq(i));
    EXPECT_EQ(back.GetSubsystemTable()->Names(), table.Names());

    // A user-defined band set comes back with its own bands.
    CZuData user("u", nullptr, 1, OCTAVE_BAND_USER, 0.0, 0.0);
    user.GetOctaveManager()->AddFreqInfo(123.0, 120.0, 126.0, 3);
    CStdioFile userOut;
    userOut.OpenMemory(CStdioFile::modeWrite);
    ASSERT_EQ(user.Export(userOut), 1);
    CStdioFile userIn;
    userIn.OpenMemory(CStdioFile::modeRead, userOut.GetMemoryText());
    CZuData userBack;
    ASSERT_EQ(userBack.Import(userIn), 1);
    ASSERT_EQ(userBack.GetFreqCount(), 1);
    EXPECT_EQ(userBack.GetFreq(0), 123.0);

    // Every text cut before its end line fails and changes nothing.
    for (size_t cut = 0; cut + 1 < text.size(); cut += 7) {
        CZuData target("t", nullptr, 1, OCTAVE_BAND_FULL, 100.0, 1000.0);
        int before = target.GetFreqCount();
        CStdioFile partial;
        partial.OpenMemory(CStdioFile::modeRead, text.substr(0, cut));
        EXPECT_EQ(target.Import(partial), 0) << cut;
        EXPECT_EQ(target.GetFreqCount(), before);
        EXPECT_EQ(target.GetSubsystemTable()->GetCount(), 0);
    }
}

// 2^17 subsystems and 2^30 bands make 2^64 connection flags, which wraps round to a stored count of
// 0: the image must be refused, not read into flags that every look-up would index past.
TEST(ZuData, ConnectionSizesWhoseProductWrapsRoundAreRefused)
{
    CZuSubsystemTable all(std::vector<std::string>(size_t{1} << 17));
    CZuData data("d", nullptr, 48, -1, 0.0, 0.0); // no band set: no flags
    ASSERT_EQ(data.CreateConnectionInfo(&all), 1);
    std::vector<uint8_t> bytes = Store(data);
    EXPECT_TRUE(Load(bytes));
    // The image ends with the band count (4 bytes) and the flag count (8 bytes, 0).
    ASSERT_GE(bytes.size(), 12u);
    const uint32_t bands = uint32_t{1} << 30;
    for (int k = 0; k < 4; ++k)
        bytes[bytes.size() - 12 + static_cast<size_t>(k)] = static_cast<uint8_t>(bands >> (8 * k));
    EXPECT_THROW(Load(bytes), CArchiveException);
}
