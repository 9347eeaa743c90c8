#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "MapsTestSupport.h"
#include "platform/elements/StdioFile.h"
#include "spectral/OrderBand.h"
#include "spectral/ZuOTFunc.h"

namespace {
std::unique_ptr<CZuOTFunc> MakeOT(TestProject* project, const std::vector<double>& orders)
{
    project->bands = std::make_unique<COctaveManagerEx>(OCTAVE_BAND_THIRD);
    const std::vector<double> freqs = project->bands->GetFreqArray();
    const double rpms[] = {1500.0, 3000.0};
    auto map = CZuOTFunc::BuildOTFunc("SPL", 64, project, "Cabin-", freqs.data(), static_cast<int>(freqs.size()), rpms,
                                      2, orders, 2.0f);
    return map;
}

std::string Copy(CZuOTFunc& map, int withLabels)
{
    std::vector<uint8_t> buf;
    CArchive ar(&buf, CArchive::store);
    map.CopyToClipboard(ar, withLabels, 0, nullptr);
    return std::string(buf.begin(), buf.end());
}

void Paste(CZuOTFunc& map, const std::string& text, const CZuCellPoint* point)
{
    std::vector<uint8_t> buf(text.begin(), text.end());
    CArchive ar(&buf, CArchive::load);
    map.PasteFromClipboard(ar, 0, point);
}
} // namespace

TEST(ZuOTFuncTest, AMapWithoutOrdersHasOnlyAHeaderRow)
{
    CZuOTFunc map("Empty", nullptr, 54);
    EXPECT_EQ(map.GetTableRowCount(0), 1);
    EXPECT_EQ(map.GetTableColCount(0), 1);
    EXPECT_EQ(map.GetTableCellData(1, 1, 0, 2), "");
    EXPECT_EQ(map.GetTableCellData(0, 1, 0, 2), "");
    EXPECT_EQ(Copy(map, 0), "");
    const CZuCellPoint at{1, 1};
    Paste(map, "1\t2\r\n", &at);
    EXPECT_EQ(map.GetOrderFunc(0), nullptr);
}

TEST(ZuOTFuncTest, NullMapsAreNotAdded)
{
    CZuOTFunc map("M", nullptr, 54);
    EXPECT_FALSE(map.AddOrder(1.0, static_cast<CZuRpmFunc*>(nullptr)));
    EXPECT_TRUE(map.AddOrder(2.0, std::make_unique<CZuRpmFunc>("o2", 0, nullptr, 54)));
    EXPECT_EQ(map.GetOrderCount(), 1);
    EXPECT_EQ(map.GetOrder(0), 2.0);
    EXPECT_NE(map.GetRpmFuncByOrder(2.0), nullptr);
    EXPECT_EQ(map.GetRpmFuncByOrder(2.0000001), nullptr);
}

TEST(ZuOTFuncTest, CellsReadTheBandOfTheOrderFrequency)
{
    TestProject project;
    auto map = MakeOT(&project, {1.0, 2.0});
    ASSERT_EQ(map->GetOrderCount(), 2);
    ASSERT_EQ(map->GetTableRowCount(0), 3);
    ASSERT_EQ(map->GetTableColCount(0), 3);
    // Factor 2: order 1 at 3000 RPM is 100 Hz.
    const int band = project.bands->FindBand(100.0);
    ASSERT_GE(band, 0);
    EXPECT_EQ(GetOrderBandIndexInt(3000.0, 1.0, 2.0, project.bands.get()), band);
    map->GetOrderFunc(0)->DataValue(1, band) = 0.02;
    EXPECT_EQ(map->GetTableCellData(2, 1, 0, 3), "2.000e-02");
    EXPECT_EQ(map->GetTableCellData(0, 0, 0, 3), "Pressure [Cabin-]");
    EXPECT_EQ(map->GetTableCellData(2, 0, 0, 3), "3000");
    EXPECT_EQ(map->GetTableCellData(3, 1, 0, 3), "");

    // Without an owning project no band set is found: every data cell is invalid.
    map->SetParent(nullptr);
    EXPECT_EQ(map->GetTableCellData(2, 1, 0, 3), "----");
}

TEST(ZuOTFuncTest, PasteSkipsWordsWithoutTakingAColumn)
{
    TestProject project;
    auto map = MakeOT(&project, {1.0, 2.0});
    const CZuCellPoint at{1, 1};
    Paste(*map, "RPM\tOrder 1\tOrder 2\r\nL\t1\tword\t2\r\n", &at);
    const int b1 = GetOrderBandIndexInt(1500.0, 1.0, 2.0, project.bands.get());
    const int b2 = GetOrderBandIndexInt(1500.0, 2.0, 2.0, project.bands.get());
    EXPECT_EQ(map->GetOrderFunc(0)->DataValue(0, b1), 1.0);
    EXPECT_EQ(map->GetOrderFunc(1)->DataValue(0, b2), 2.0);
    // Copy with labels gives the same values back into a fresh map.
    auto copy = MakeOT(&project, {1.0, 2.0});
    Paste(*copy, Copy(*map, 1), &at);
    EXPECT_EQ(copy->GetOrderFunc(0)->DataValue(0, b1), 1.0);
    EXPECT_EQ(copy->GetOrderFunc(1)->DataValue(0, b2), 2.0);
    // Without a paste point nothing happens.
    Paste(*map, "5\t6\r\n", nullptr);
    EXPECT_EQ(map->GetOrderFunc(0)->DataValue(0, b1), 1.0);
}

TEST(ZuOTFuncTest, StoredAndReadBackAndOlderSchemasRefused)
{
    TestProject project;
    auto map = MakeOT(&project, {1.0, 2.5});
    map->GetOrderFunc(1)->DataValue(1, 3) = 0.75;
    std::vector<uint8_t> buf = StoreObject(map.get());
    EXPECT_EQ(buf[2], 2); // schema 2
    auto back = LoadObject<CZuOTFunc>(buf);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetOrderArray(), (std::vector<double>{1.0, 2.5}));
    EXPECT_EQ(back->GetSubsystem(), "Cabin-");
    EXPECT_EQ(back->GetOrderFactor(), 2.0f);
    EXPECT_EQ(back->GetOrderFunc(1)->DataValue(1, 3), 0.75);
    EXPECT_EQ(back->GetOrderFunc(1)->GetParent(), back.get());

    for (uint8_t old : {0, 1}) {
        std::vector<uint8_t> bad = buf;
        bad[2] = old;
        try {
            LoadObject<CZuOTFunc>(bad);
            ADD_FAILURE() << "schema " << int(old) << " was read";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::badSchema);
        }
    }
}

TEST(ZuOTFuncTest, AnOrderWhoseMapReadsAsNullIsDroppedWithIt)
{
    // Written by hand: two orders, the first map a null record.
    CZuOTFunc shell("OT", nullptr, 54);
    CZuRpmFunc map("m", 0, nullptr, 54);
    std::vector<uint8_t> buf;
    {
        CArchive ar(&buf, CArchive::store);
        ar.WriteClass(RUNTIME_CLASS(CZuOTFunc));
        shell.CZuTableData::Serialize(ar);
        ar << int32_t(2) << 1.0 << 2.0 << int32_t(2);
        ar.WriteObject(nullptr);
        ar.WriteObject(&map);
        ar << std::string("Cabin-") << 1.0f;
    }
    std::vector<uint8_t> copy = buf;
    CArchive in(&copy, CArchive::load);
    std::unique_ptr<CZuOTFunc> back(static_cast<CZuOTFunc*>(in.ReadObject(RUNTIME_CLASS(CZuOTFunc))));
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->GetOrderCount(), 1);
    EXPECT_EQ(back->GetOrder(0), 2.0);
    EXPECT_NE(back->GetOrderFunc(0), nullptr);
}

TEST(ZuOTFuncTest, TextDump)
{
    CZuOTFunc map("M", nullptr, 54);
    map.SetSubsystem("Cabin-");
    const double f[] = {100.0};
    const double r[] = {1000.0};
    auto m = CZuRpmFunc::NewRpmFunc("m", 54, nullptr, "Cabin-", f, 1, r, 1);
    m->DataValue(0, 0) = 2.0;
    map.AddOrder(1.5, std::move(m));
    CStdioFile file;
    file.OpenMemory(CStdioFile::modeWrite);
    EXPECT_EQ(map.WriteDump(file, ""), 1);
    EXPECT_EQ(file.GetMemoryText(), "Cabin-\n1\t100\n1000\t2.000000e+00\n\n");
}
