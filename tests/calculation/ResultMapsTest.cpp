#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "models/HSEADominantPathData.h"
#include "models/HSEAPowerContribution.h"
#include "platform/archive/Archive.h"
#include "platform/elements/StdioFile.h"
#include "platform/gfx/OctaveManager.h"
#include "spectral/BandSetOwner.h"
#include "spectral/ZuOTDpFunc.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuOTPcFunc.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmDpFunc.h"
#include "spectral/ZuRpmPcFunc.h"
#include "spectral/ZuRpmResultData.h"

namespace {
// An analysis project whose acquisition multiplies order frequencies by 2.
class CFactorProject : public CMElement, public IBandSetOwner
{
public:
    CFactorProject() : CMElement("Analysis", nullptr, 0) {}
    COctaveManagerEx* GetOctaveManager() override { return nullptr; }
    double GetDaqConfigValue() const override { return 2.0; }
};

const CZuSubsystemTable& Subsystems()
{
    static const CZuSubsystemTable table(std::vector<std::string>{"A-F", "B-F", "C-"});
    return table;
}

// Contributions into C over two bands: A feeds 3 W (scaled) in band 0, B takes 1 W.
std::unique_ptr<CHSEAPowerContribution> Contribution(double scale, const CZuSubsystemTable* table)
{
    auto pc = std::make_unique<CHSEAPowerContribution>("C-", table, 2);
    pc->DataIndex(0) = 500.0;
    pc->DataIndex(1) = 630.0;
    pc->CellValue(0, 0, CHSEAPowerContribution::COL_POWER) = 3.0 * scale;
    pc->CellValue(0, 1, CHSEAPowerContribution::COL_POWER) = -1.0;
    pc->RecomputeRates(-1);
    return pc;
}

std::unique_ptr<CHSEADominantPathData> Paths(const std::string& first)
{
    auto paths = std::make_unique<CHSEADominantPathData>("C-", 1, 2);
    paths->DataIndex(0) = 500.0;
    paths->AddPathStep(0, 0, first, 2.5);
    paths->AddPathStep(0, 1, "B-F", 0.5);
    return paths;
}

std::vector<uint8_t> StoreObject(const CObject& obj)
{
    std::vector<uint8_t> buf;
    CArchive ar(&buf, CArchive::store);
    ar.WriteObject(&obj);
    return buf;
}

template <class T>
std::unique_ptr<T> LoadObject(const std::vector<uint8_t>& buf)
{
    CArchive in(buf.data(), buf.size());
    return in.ReadOwned<T>();
}

std::string Copy(CZuTableData& table, int withLabels)
{
    std::vector<uint8_t> buf;
    CArchive ar(&buf, CArchive::store);
    table.CopyToClipboard(ar, withLabels, 0, nullptr);
    return std::string(buf.begin(), buf.end());
}

std::string Dump(IDataWriter& writer)
{
    CStdioFile file;
    file.OpenMemory(CStdioFile::modeWrite);
    EXPECT_EQ(writer.WriteDump(file, ""), 1);
    return file.GetMemoryText();
}
} // namespace

// The factories of both sets: names, kinds, targets, and the order factor of the project above.
TEST(ResultSets, FactoriesMakeTheResultMapsWithTheProjectsOrderFactor)
{
    CFactorProject project;
    CZuOTResultData ot("", &project, ElementType::OTResultSet, OCTAVE_BAND_THIRD, 500.0, 800.0, &Subsystems());
    auto dp = ot.CreateDominantPathFunc("C-");
    auto pc = ot.CreatePowerContributionFunc("C-");
    auto spl = ot.CreateSplFunc("C-");
    auto vib = ot.CreateVibrationFunc("A-F");
    ASSERT_TRUE(dp && pc && spl && vib);
    EXPECT_EQ(dp->GetType(), 55);
    EXPECT_EQ(pc->GetType(), 56);
    EXPECT_EQ(dp->GetSubsystem(), "C-");
    EXPECT_EQ(pc->GetParent(), &ot);
    for (float factor : {dp->GetOrderFactor(), pc->GetOrderFactor(), spl->GetOrderFactor(), vib->GetOrderFactor()})
        EXPECT_EQ(factor, 2.0f);
    EXPECT_EQ(ot.CreateDominantPathFunc(""), nullptr);
    EXPECT_EQ(ot.CreatePowerContributionFunc(""), nullptr);

    // Without an analysis project the maps keep the plain factor.
    CZuOTResultData alone("", nullptr, ElementType::OTResultSet, OCTAVE_BAND_THIRD, 500.0, 800.0);
    EXPECT_EQ(alone.CreatePowerContributionFunc("C-")->GetOrderFactor(), 1.0f);

    CZuRpmResultData rpm("", nullptr, ElementType::RpmResultSet, OCTAVE_BAND_THIRD, 500.0, 800.0);
    auto rpmPc = rpm.CreatePowerContributionFunc("C-");
    auto rpmDp = rpm.CreateDominantPathFunc("C-");
    ASSERT_TRUE(rpmPc && rpmDp);
    EXPECT_EQ(rpmPc->GetType(), 56);
    EXPECT_EQ(rpmDp->GetTargetName(), "C-");
    EXPECT_EQ(rpm.CreatePowerContributionFunc(""), nullptr);
}

// An order map shows the table of its first order's first RPM, and nothing can be changed in it.
TEST(OrderResultMaps, ShowTheFirstTableAndIgnoreEdits)
{
    CZuOTDpFunc empty("Paths", nullptr, 55);
    EXPECT_EQ(empty.GetTableRowCount(0), 0); // no order: no table
    EXPECT_EQ(empty.GetTableCellData(0, 0, 0, 6), "");
    EXPECT_FALSE(empty.AddOrder(2.0, nullptr));
    EXPECT_EQ(empty.GetOrderCount(), 0);

    CZuOTDpFunc map("Paths", nullptr, 55);
    map.SetSubsystem("C-");
    for (double order : {2.0, 4.0}) {
        auto f = std::make_unique<CZuRpmDpFunc>("o", nullptr, 55);
        f->AddRpmData(1000.0, Paths(order == 2.0 ? "A-F" : "X-F"));
        f->AddRpmData(2000.0, Paths("Y-F"));
        ASSERT_TRUE(map.AddOrder(order, std::move(f)));
    }
    CZuTableData* shown = map.GetShownTable();
    ASSERT_EQ(shown, map.GetOrderFunc(0)->GetRpmData(0));
    EXPECT_EQ(map.GetTableRowCount(0), 3);
    EXPECT_EQ(map.GetTableColCount(0), shown->GetTableColCount(0));
    EXPECT_EQ(map.GetTableFreqCount(), 1);
    EXPECT_EQ(map.GetTableCellData(1, 1, 0, 6), shown->GetTableCellData(1, 1, 0, 6));
    EXPECT_NE(map.GetTableCellData(1, 1, 0, 6).find("A-F"), std::string::npos);
    EXPECT_EQ(map.GetTableCellData(3, 1, 0, 6), "");
    EXPECT_EQ(map.GetTableCellData(1, 9, 0, 6), "");
    EXPECT_EQ(map.GetFreqIndicator(0), "");
    EXPECT_EQ(map.GetTableCellColor(1, 1, 0), 0u);

    const std::string before = Copy(map, 1);
    std::string text = "1\t2\r\n";
    std::vector<uint8_t> buf(text.begin(), text.end());
    CArchive paste(&buf, CArchive::load);
    const CZuCellPoint at{1, 1};
    map.PasteFromClipboard(paste, 0, &at);
    map.ChangeDataValue(0, 0, 0, 5.0, 1);
    EXPECT_EQ(Copy(map, 1), before);
    EXPECT_EQ(before.substr(0, before.find("\r\n")).substr(0, 3), "C-\t");
    // Without labels: the data rows of the shown table, cells tab-separated.
    const std::string plain = Copy(map, 0);
    EXPECT_EQ(std::count(plain.begin(), plain.end(), '\n'), 2);
    EXPECT_NE(plain.find("A-F"), std::string::npos);
    EXPECT_EQ(plain.find("X-F"), std::string::npos);

    // The dump lists every order and RPM with content.
    const std::string dump = Dump(map);
    EXPECT_EQ(dump.substr(0, 3), "C-\n");
    for (const char* head : {"O=2,R=1000,F=500\t", "O=2,R=2000,F=500\t", "O=4,R=1000,F=500\t", "O=4,R=2000,F=500\t"})
        EXPECT_NE(dump.find(head), std::string::npos) << head;
    EXPECT_NE(dump.find("X-F"), std::string::npos);
}

// Maps by order and by RPM stored in their result sets and read back equal; the power-contribution
// tables are bound to the read set's subsystem table again.
TEST(OrderResultMaps, StoredInTheirSetsAndReadBackBound)
{
    CFactorProject project;
    CZuOTResultData ot("", &project, ElementType::OTResultSet, OCTAVE_BAND_THIRD, 500.0, 800.0, &Subsystems());
    auto order = std::make_unique<CZuRpmResultData>("", nullptr, ElementType::RpmResultSet, OCTAVE_BAND_THIRD, 500.0,
                                                    800.0, &Subsystems());
    // The by-RPM set of the order carries by-RPM maps of its own.
    CZuRpmPcFunc* rpmPc = order->AddChild(order->CreatePowerContributionFunc("C-"));
    rpmPc->AddRpmData(1000.0, Contribution(1.0, order->GetSubsystemTable()));
    CZuRpmDpFunc* rpmDp = order->AddChild(order->CreateDominantPathFunc("C-"));
    rpmDp->AddRpmData(1000.0, Paths("A-F"));
    ot.AddResult(2.0, std::move(order));

    CZuOTPcFunc* pc = ot.AddChild(ot.CreatePowerContributionFunc("C-"));
    for (double o : {2.0, 4.0}) {
        auto f = std::make_unique<CZuRpmPcFunc>("o", nullptr, 56);
        f->SetTargetName("C-");
        f->AddRpmData(1000.0, Contribution(o, ot.GetSubsystemTable()));
        f->AddRpmData(3000.0, Contribution(2 * o, ot.GetSubsystemTable()));
        pc->AddOrder(o, std::move(f));
    }
    CZuOTDpFunc* dp = ot.AddChild(ot.CreateDominantPathFunc("C-"));
    auto f = std::make_unique<CZuRpmDpFunc>("o", nullptr, 55);
    f->AddRpmData(1500.0, Paths("A-F"));
    dp->AddOrder(3.0, std::move(f));

    std::unique_ptr<CZuOTResultData> back = LoadObject<CZuOTResultData>(StoreObject(ot));
    ASSERT_TRUE(back);
    auto* pcBack = DynamicDowncast<CZuOTPcFunc>(back->FindOneChild(56));
    auto* dpBack = DynamicDowncast<CZuOTDpFunc>(back->FindOneChild(55));
    ASSERT_TRUE(pcBack && dpBack);
    EXPECT_EQ(pcBack->GetName(), pc->GetName());
    EXPECT_EQ(pcBack->GetSubsystem(), "C-");
    EXPECT_EQ(pcBack->GetOrderFactor(), 2.0f);
    EXPECT_EQ(pcBack->GetOrderArray(), (std::vector<double>{2.0, 4.0}));
    ASSERT_EQ(pcBack->GetOrderFunc(1)->GetRpmCount(), 2);
    EXPECT_EQ(pcBack->GetOrderFunc(1)->GetRpm(1), 3000.0);
    EXPECT_EQ(pcBack->GetOrderFunc(1)->GetTargetName(), "C-");
    auto* table = dynamic_cast<CHSEAPowerContribution*>(pcBack->GetOrderFunc(1)->GetRpmData(1));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->GetSubsystemTable(), back->GetSubsystemTable());
    EXPECT_EQ(table->GetRowName(0), "A-F");
    EXPECT_EQ(table->CellValue(0, 0, CHSEAPowerContribution::COL_POWER), 24.0);
    EXPECT_EQ(Copy(*pcBack, 1), Copy(*pc, 1));
    EXPECT_EQ(Dump(*dpBack), Dump(*dp));
    EXPECT_EQ(dpBack->GetOrderFunc(0)->GetRpm(0), 1500.0);

    CZuRpmResultData* orderBack = back->GetResult(0);
    ASSERT_TRUE(orderBack);
    EXPECT_EQ(back->GetKey(0), 2.0);
    EXPECT_EQ(orderBack->GetParent(), back.get());
    auto* rpmPcBack = DynamicDowncast<CZuRpmPcFunc>(orderBack->FindOneChild(56));
    auto* rpmDpBack = DynamicDowncast<CZuRpmDpFunc>(orderBack->FindOneChild(55));
    ASSERT_TRUE(rpmPcBack && rpmDpBack);
    EXPECT_EQ(rpmPcBack->GetTargetName(), "C-");
    EXPECT_EQ(rpmDpBack->GetTargetName(), "C-");
    EXPECT_EQ(dynamic_cast<CHSEAPowerContribution*>(rpmPcBack->GetRpmData(0))->GetRowName(1), "B-F");
    EXPECT_EQ(rpmDpBack->GetRpmData(0)->GetTableCellData(1, 1, 0, 6),
              rpmDp->GetRpmData(0)->GetTableCellData(1, 1, 0, 6));

    // A map read without its set has unbound tables: empty names, no crash.
    std::unique_ptr<CZuOTPcFunc> loose = LoadObject<CZuOTPcFunc>(StoreObject(*pc));
    ASSERT_TRUE(loose);
    EXPECT_EQ(dynamic_cast<CHSEAPowerContribution*>(loose->GetOrderFunc(0)->GetRpmData(0))->GetRowName(0), "");

    // A damaged stream fails with an archive error.
    const std::vector<uint8_t> buf = StoreObject(*dp);
    for (size_t cut = 1; cut < buf.size(); cut += 5) {
        std::vector<uint8_t> part(buf.begin(), buf.begin() + static_cast<long>(cut));
        EXPECT_THROW(LoadObject<CZuOTDpFunc>(part), CArchiveException) << cut;
    }
}

// Schemas 13 and 14 of both sets carry a band set after their records, which replaces the set's
// own; older ones are refused.
TEST(ResultSets, LegacySchemasCarryTheirBandSet)
{
    std::vector<uint8_t> legacyBands;
    {
        COctaveManagerEx bands(OCTAVE_BAND_FULL, 125.0, 1000.0);
        CArchive ar(&legacyBands, CArchive::store);
        bands.Serialize(ar);
    }
    auto check = [&](const CZuData& set, const std::string& name, auto load) {
        const std::vector<uint8_t> buf = StoreObject(set);
        const size_t schemaAt =
            static_cast<size_t>(std::search(buf.begin(), buf.end(), name.begin(), name.end()) - buf.begin()) - 4;
        ASSERT_EQ(buf[schemaAt], 15) << name;
        EXPECT_EQ(load(buf)->GetFreqCount(), 3);
        for (uint8_t schema : {14, 13, 12}) {
            std::vector<uint8_t> old = buf;
            old[schemaAt] = schema;
            old.insert(old.end(), legacyBands.begin(), legacyBands.end());
            if (schema == 12)
                EXPECT_THROW(load(old), CArchiveException) << name;
            else
                EXPECT_EQ(load(old)->GetFreqCount(), 4) << name << " " << int(schema);
        }
    };
    CZuRpmResultData rpm("", nullptr, ElementType::RpmResultSet, OCTAVE_BAND_THIRD, 500.0, 800.0, &Subsystems());
    check(rpm, "CZuRpmResultData", [](const std::vector<uint8_t>& b) { return LoadObject<CZuRpmResultData>(b); });
    CZuOTResultData ot("", nullptr, ElementType::OTResultSet, OCTAVE_BAND_THIRD, 500.0, 800.0, &Subsystems());
    ot.AddResult(2.0, std::make_unique<CZuRpmResultData>("", nullptr, ElementType::RpmResultSet, OCTAVE_BAND_THIRD,
                                                         500.0, 800.0));
    check(ot, "CZuOTResultData", [](const std::vector<uint8_t>& b) { return LoadObject<CZuOTResultData>(b); });
}
