#include <gtest/gtest.h>

#include <cmath>

#include "MapsTestSupport.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/OTConv.h"
#include "spectral/OTMultiVecFunc.h"
#include "spectral/OrderBand.h"
#include "spectral/RPMOptions.h"
#include "spectral/RpmManager.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuOTMultiVecFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"

namespace {
const CZuSubsystemTable kTable(std::vector<std::string>{"Roof-F", "Floor-F"});

std::unique_ptr<CZuVecFunc> MakeVec(double base, int kind = 64)
{
    auto v = std::make_unique<CZuVecFunc>("v", &kTable, 3, nullptr, kind);
    for (int i = 0; i < 3; ++i) {
        v->DataIndex(i) = 100.0 * (i + 1);
        for (int k = 0; k < 2; ++k)
            v->DataValue(i, k) = base + i + 10.0 * k;
    }
    return v;
}
} // namespace

TEST(ZuRpmMultiVecFuncTest, WithoutEntriesTheTableHasOneRow)
{
    CZuRpmMultiVecFunc map("SPL", nullptr, 64);
    EXPECT_EQ(map.GetFreqCount(), 0);
    EXPECT_EQ(map.GetSubsystemCount(), 0);
    EXPECT_EQ(map.GetTableRowCount(0), 1);
    EXPECT_EQ(map.GetTableColCount(0), 1);
    EXPECT_EQ(map.GetTableCellData(1, 1, 0, 2), "");
}

TEST(ZuRpmMultiVecFuncTest, OneAxisRuleForRowsLabelsAndCounts)
{
    CZuRpmMultiVecFunc map("SPL", nullptr, 64);
    map.AddRpmData(1000.0, MakeVec(1.0));
    map.AddRpmData(2000.0, MakeVec(2.0));
    // The initial flag (-1), 1 and 2 all mean RPM rows.
    for (int flag : {-1, 1, 2}) {
        map.SetAxisFlag(flag);
        EXPECT_EQ(map.GetTableRowCount(0), 3);
        EXPECT_EQ(map.GetTableFreqCount(), 3);
        EXPECT_EQ(map.GetTableColCount(0), 3);
        EXPECT_EQ(map.GetTableCellData(0, 0, 0, 2), "RPM");
        EXPECT_EQ(map.GetTableCellData(2, 0, 0, 2), "2000");
        EXPECT_EQ(map.GetTableCellData(0, 2, 0, 2), "Floor-F");
        EXPECT_EQ(map.GetFreqIndicator(2), "300");
        EXPECT_EQ(map.GetTableCellData(2, 2, 1, 3), "1.300e+01"); // entry 1, point 1, Floor-F
        EXPECT_EQ(map.GetAxisValue(1), 2000.0);
    }
    map.SetAxisFlag(0);
    EXPECT_EQ(map.GetTableRowCount(0), 4);
    EXPECT_EQ(map.GetTableFreqCount(), 2);
    EXPECT_EQ(map.GetFreqIndicator(1), "2000");
    EXPECT_EQ(map.GetTableCellData(2, 2, 1, 3), "1.300e+01");
    EXPECT_EQ(map.GetTableCellData(4, 0, 0, 2), "");
}

TEST(ZuRpmMultiVecFuncTest, SmoothingRunsOverEntries)
{
    CZuRpmMultiVecFunc map("SPL", nullptr, 64);
    for (int e = 0; e < 5; ++e)
        map.AddRpmData(1000.0 + 500.0 * e, MakeVec(1.0 + e));
    map.SetAxisFlag(1);
    map.SetSmoothingWidth(1);
    // Entry 2, point 0, subsystem 0: entries 1..3 hold 2, 3, 4.
    EXPECT_DOUBLE_EQ(map.GetSmoothedValue(0, 2, 0), std::sqrt((4.0 + 9.0 + 16.0) / 3.0));
    EXPECT_EQ(map.GetSmoothedValue(0, 0, 0), 0.0);
    EXPECT_EQ(map.GetSmoothedValue(0, 4, 0), 0.0);
}

TEST(ZuRpmMultiVecFuncTest, StoredAndReadBack)
{
    CZuRpmMultiVecFunc map("SPL", nullptr, 64);
    map.SetLabel("Cabin-");
    map.AddRpmData(1000.0, MakeVec(1.0));
    map.AddRpmData(1500.0, MakeVec(2.0));
    auto back = LoadObject<CZuRpmMultiVecFunc>(StoreObject(&map));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetLabel(), "Cabin-");
    ASSERT_EQ(back->GetRpmCount(), 2);
    EXPECT_EQ(back->GetRpm(1), 1500.0);
    EXPECT_EQ(back->GetVecFunc(1)->DataValue(2, 1), 2.0 + 2 + 10.0);

    CStdioFile file;
    file.OpenMemory(CStdioFile::modeWrite);
    EXPECT_EQ(back->WriteDump(file, ""), 1);
    EXPECT_EQ(file.GetMemoryText().substr(0, 34), "1000\tRoof-F\tFloor-F\n100\t1.000000e+");
}

TEST(ZuOTMultiVecFuncTest, NoTableAndARoundTrip)
{
    CZuOTMultiVecFunc map("OT", nullptr, 54);
    auto entry = std::make_unique<CZuRpmSelFunc>("o1", nullptr, 54);
    auto v = MakeVec(1.0);
    v->DataValue(0, 1) = HUGE_VAL;
    entry->AddRpmData(2000.0, std::move(v));
    EXPECT_FALSE(map.AddOrder(0.5, static_cast<CZuRpmSelFunc*>(nullptr)));
    EXPECT_TRUE(map.AddOrder(1.0, std::move(entry)));
    map.SetLabel("Cabin-");
    map.SetDaqConfigFactor(2.0f);
    EXPECT_EQ(map.GetTableRowCount(0), 0);
    EXPECT_EQ(map.GetTableColCount(0), 0);
    EXPECT_EQ(map.GetTableCellData(1, 1, 0, 2), "");

    auto back = LoadObject<CZuOTMultiVecFunc>(StoreObject(&map));
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->GetOrderCount(), 1);
    EXPECT_EQ(back->GetOrder(0), 1.0);
    EXPECT_EQ(back->GetOrderFactor(), 2.0f);
    EXPECT_EQ(back->GetLabel(), "Cabin-");
    ASSERT_NE(back->GetOrderEntry(0), nullptr);
    EXPECT_EQ(back->GetOrderEntry(0)->GetRpm(0), 2000.0);

    CStdioFile file;
    file.OpenMemory(CStdioFile::modeWrite);
    back->WriteDump(file, "");
    EXPECT_EQ(file.GetMemoryText().substr(0, 120),
              std::string("##### CZuOTMultiVecFunc #####\nSUBSYSTEM:\tCabin-\n\nORDER:1, RPM:2000\tRoof-F\tFloor-F\n"
                          "100\t1.000000e+00\t---\n200\t2.000000e+00\t1.200000e+01\n300\t3.0")
                  .substr(0, 120));
}

TEST(MultiVectorFunctionTest, SchemaOneHasNoSubsystemName)
{
    CMultiVectorFunction f("IE", &kTable, 2, nullptr, 5);
    f.SetLabel("Roof-F");
    f.DataIndex(1) = 2000.0;
    f.DataValue(1, 1) = 0.25;
    std::vector<uint8_t> buf = StoreObject(&f);
    EXPECT_EQ(buf[2], 2);
    auto back = LoadObject<CMultiVectorFunction>(buf);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetLabel(), "Roof-F");
    EXPECT_EQ(back->DataValue(1, 1), 0.25);
    EXPECT_EQ(*back->GetSubsystemTable(), kTable);

    // The schema-1 form: the same without the name at the end.
    std::vector<uint8_t> old(buf.begin(), buf.end() - 7);
    old[2] = 1;
    auto oldBack = LoadObject<CMultiVectorFunction>(old);
    ASSERT_NE(oldBack, nullptr);
    EXPECT_EQ(oldBack->GetLabel(), "");
    EXPECT_EQ(oldBack->DataValue(1, 1), 0.25);
    old[2] = 3;
    EXPECT_THROW(LoadObject<CMultiVectorFunction>(old), CArchiveException);
}

TEST(MultiVectorFunctionTest, CopyThenPaste)
{
    DisplayOptionsOwner display(1);
    CMultiVectorFunction f("IE", &kTable, 2, nullptr, 5);
    display.Show(&f);
    f.SetLabel("Roof-F");
    f.DataValue(0, 0) = 0.5;
    f.DataValue(0, 1) = 0.25;
    f.DataValue(1, 0) = 2.0;
    f.DataValue(1, 1) = 0.125;
    std::vector<uint8_t> buf;
    {
        CArchive ar(&buf, CArchive::store);
        f.CopyToClipboard(ar, 1, 0, nullptr);
    }
    CMultiVectorFunction g("IE", &kTable, 2, nullptr, 5);
    display.Show(&g);
    CArchive in(&buf, CArchive::load);
    g.PasteFromClipboard(in, 0, nullptr);
    for (int i = 0; i < 2; ++i)
        for (int k = 0; k < 2; ++k)
            EXPECT_NEAR(g.DataValue(i, k), f.DataValue(i, k), 1e-12);
}

TEST(OTMultiVecFuncTest, ConversionReplacesChildrenAndTellsTheProject)
{
    TestProject project;
    CMElement* folder = project.AddChild(std::make_unique<CMElement>("Input energies", &project, 7));
    CZuSubsystemTable six;
    for (int j = 0; j < 6; ++j)
        six.Add(Format("c%d", j));
    auto energy = std::make_unique<CMultiVectorFunction>("IE_Roof", &six, 2, folder, 5);
    energy->SetLabel("Roof-F");
    energy->DataIndex(1) = 3000.0;
    energy->DataValue(1, 5) = 7.0;
    folder->AddChild(std::move(energy));
    folder->AddChild(std::make_unique<CMultiVectorFunction>("VL", &six, 2, folder, 53));
    folder->AddChild(std::make_unique<COTMultiVecFunc>("Done", &six, 2, folder, 5));
    folder->AddChild(std::make_unique<CMElement>("Other", folder, 5));
    project.events.clear(); // what the conversion alone announces

    EXPECT_EQ(COTMultiVecFunc::ConvertToOTMultiVecFuncs(folder), 1);
    ASSERT_EQ(folder->GetChildCount(), 4);
    EXPECT_EQ(folder->GetChild(0)->GetName(), "VL");
    EXPECT_EQ(folder->GetChild(1)->GetName(), "Done");
    auto* converted = DynamicDowncast<COTMultiVecFunc>(folder->GetChild(3));
    ASSERT_NE(converted, nullptr);
    EXPECT_EQ(converted->GetName(), "IE_Roof");
    EXPECT_EQ(converted->GetLabel(), "Roof-F");
    EXPECT_EQ(converted->GetType(), 5);
    EXPECT_EQ(converted->GetOrderList().Values(), (std::vector<double>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(converted->DataValue(1, 5), 7.0);
    EXPECT_EQ(converted->GetTableCellData(2, 0, 0, 2), "3000");
    EXPECT_EQ(project.events, (std::vector<std::string>{"removed IE_Roof CMultiVectorFunction in tree",
                                                        "added IE_Roof COTMultiVecFunc in tree"}));
    // Nothing is left to convert.
    EXPECT_EQ(COTMultiVecFunc::ConvertToOTMultiVecFuncs(folder), 0);

    auto back = LoadObject<COTMultiVecFunc>(StoreObject(converted));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetOrderList().Values(), converted->GetOrderList().Values());
    EXPECT_EQ(back->GetLabel(), "Roof-F");
}

TEST(OTConvTest, PlacesEachOrderInTheBandOfItsFrequency)
{
    COTConv conv;
    CMultiVectorFunction plain("p", &kTable, 1, nullptr, 5);
    EXPECT_EQ(conv.Convert(&plain), nullptr);
    EXPECT_EQ(conv.Convert(nullptr), nullptr);

    // Two bands with a gap between 150 and 250 Hz.
    COctaveManagerEx bands(OCTAVE_BAND_USER);
    bands.AddFreqInfo(100.0, 50.0, 150.0, OCTAVE_BAND_USER);
    bands.AddFreqInfo(300.0, 250.0, 350.0, OCTAVE_BAND_USER);
    bands.AddFreqInfo(1000.0, 900.0, 1100.0, OCTAVE_BAND_USER);
    conv.SetOctaveManager(&bands);
    conv.SetOrderFactor(1.0f);

    COTMultiVecFunc table("IE", &kTable, 2, nullptr, 5);
    table.SetLabel("Roof-F");
    table.DataIndex(0) = 6000.0;  // order 1: 100 Hz, order 2: 200 Hz (in the gap)
    table.DataIndex(1) = 18000.0; // order 1: 300 Hz, order 2: 600 Hz (in the gap)
    COrderList orders;
    orders.Add(1.0);
    orders.Add(2.0);
    table.SetOrderList(orders);
    for (int r = 0; r < 2; ++r)
        for (int o = 0; o < 2; ++o)
            table.DataValue(r, o) = 1.0 + r + 10.0 * o;
    std::unique_ptr<CZuOTFunc> map = conv.Convert(&table);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->GetType(), 5);
    EXPECT_EQ(map->GetSubsystem(), "Roof-F");
    ASSERT_EQ(map->GetOrderCount(), 2);
    const CZuRpmFunc* o1 = map->GetOrderFunc(0);
    const CZuRpmFunc* o2 = map->GetOrderFunc(1);
    ASSERT_EQ(o1->GetRpmCount(), 2);
    ASSERT_EQ(o1->GetFreqCount(), 3);
    EXPECT_EQ(o1->DataValue(0, 0), 1.0);
    EXPECT_EQ(o1->DataValue(1, 1), 2.0);
    EXPECT_EQ(o1->DataValue(0, 1) + o1->DataValue(0, 2) + o1->DataValue(1, 0) + o1->DataValue(1, 2), 0.0);
    for (int r = 0; r < 2; ++r)
        for (int b = 0; b < 3; ++b)
            EXPECT_EQ(o2->DataValue(r, b), 0.0) << r << " " << b; // both in the gap
}

TEST(RpmManagerTest, ResamplesLinearlyAndHoldsTheEnds)
{
    CRPMOptions options; // 1000 .. 6000 by 50
    CRpmManager manager(&options);
    ASSERT_EQ(manager.GetRpms().size(), 101u);
    const double freqs[] = {100.0, 200.0};
    const double rpms[] = {1500.0, 2000.0, 2500.0, 3000.0};
    auto src = CZuRpmFunc::NewRpmFunc("VL", 66, nullptr, "Roof-F", freqs, 2, rpms, 4);
    for (int r = 0; r < 4; ++r) {
        src->DataValue(r, 0) = 10.0 * (r + 1);
        src->DataValue(r, 1) = -1.0 * (r + 1);
    }
    std::unique_ptr<CZuRpmFunc> out = manager.CreateRpmFunc(src.get());
    ASSERT_EQ(out->GetRpmCount(), 101);
    EXPECT_EQ(out->GetLabel(), "Roof-F");
    EXPECT_EQ(out->GetType(), 66);
    EXPECT_EQ(out->GetFreqArray(), src->GetFreqArray());
    auto at = [&](double rpm, int k) { return out->DataValue(out->FindRpmIndex(rpm), k); };
    EXPECT_EQ(at(1000.0, 0), 10.0); // below the measured range: the first row
    EXPECT_EQ(at(1450.0, 1), -1.0);
    EXPECT_EQ(at(1500.0, 0), 10.0);
    EXPECT_DOUBLE_EQ(at(2250.0, 0), 25.0); // halfway between 2000 and 2500
    EXPECT_DOUBLE_EQ(at(2100.0, 1), -2.2);
    EXPECT_EQ(at(3000.0, 0), 40.0); // the last row and above
    EXPECT_EQ(at(6000.0, 1), -4.0);
    EXPECT_EQ(out->GetRowFunc(0)->GetName(), "1000");

    // A single measured row holds for every RPM; no rows give no rows.
    auto single = CZuRpmFunc::NewRpmFunc("S", 66, nullptr, "R", freqs, 2, rpms + 1, 1);
    single->DataValue(0, 0) = 3.0;
    auto held = manager.CreateRpmFunc(single.get());
    EXPECT_EQ(held->DataValue(0, 0), 3.0);
    EXPECT_EQ(held->DataValue(100, 0), 3.0);
    auto none = CZuRpmFunc::NewRpmFunc("N", 66, nullptr, "R", freqs, 2, nullptr, 0);
    EXPECT_EQ(manager.CreateRpmFunc(none.get())->GetRpmCount(), 0);

    // Options with a step of 0 read from a file give no RPMs, hence maps without rows.
    std::vector<uint8_t> buf;
    {
        CArchive ar(&buf, CArchive::store);
        ar << int32_t(0) << 1000.0f << 2000.0f << 0.0f << 50.0f;
        ar.WriteCount(0);
    }
    CRPMOptions zeroStep;
    CArchive in(&buf, CArchive::load);
    zeroStep.Serialize(in);
    CRpmManager empty(&zeroStep);
    EXPECT_EQ(empty.CreateRpmFunc(src.get())->GetRpmCount(), 0);
}

TEST(RpmManagerTest, SubsystemTablesFollowTheSameRule)
{
    CRPMOptions options;
    options.SetRange(1000.0f, 3000.0f, 500.0f);
    CRpmManager manager(&options);
    CMultiVectorFunction src("IE", &kTable, 2, nullptr, 5);
    src.SetLabel("Roof-F");
    src.DataIndex(0) = 1500.0;
    src.DataIndex(1) = 2500.0;
    src.DataValue(0, 1) = 4.0;
    src.DataValue(1, 1) = 8.0;
    std::unique_ptr<CMultiVectorFunction> out = manager.CreateSubsystemTable(&src);
    ASSERT_EQ(out->GetDataCount(), 5);
    EXPECT_EQ(out->GetLabel(), "Roof-F");
    EXPECT_EQ(out->GetSubsystem(1), "Floor-F");
    EXPECT_EQ(out->DataIndex(2), 2000.0);
    const double expected[] = {4.0, 4.0, 6.0, 8.0, 8.0};
    for (int j = 0; j < 5; ++j)
        EXPECT_DOUBLE_EQ(out->DataValue(j, 1), expected[j]) << j;
}

namespace {
// Both kinds of RPM map close the windows that show them when they go; a slot outside 0 and 1
// holds nothing.
TEST(MapWindows, EveryRpmMapClosesItsWindowsWhenItGoes)
{
    CRecordingMessageTarget single;
    CRecordingMessageTarget multi[2];
    CRecordingMessageTarget ignored;
    {
        auto map = CZuRpmFunc::NewRpmFunc("M", 3, nullptr, "Roof-F", nullptr, 0, nullptr, 0);
        ASSERT_NE(map, nullptr);
        map->SetWindow(0, &single);
        CZuRpmMultiVecFunc vecMap("m", nullptr, 64);
        vecMap.SetWindow(0, &multi[0]);
        vecMap.SetWindow(1, &multi[1]);
        vecMap.SetWindow(2, &ignored);
        vecMap.SetWindow(-1, &ignored);
        EXPECT_EQ(vecMap.GetWindow(1), &multi[1]);
        EXPECT_EQ(vecMap.GetWindow(2), nullptr);
        EXPECT_EQ(map->GetWindow(-1), nullptr);
    }
    for (const CRecordingMessageTarget* window : {&single, &multi[0], &multi[1]}) {
        ASSERT_EQ(window->MessageNumbers().size(), 1u);
        EXPECT_EQ(window->MessageNumbers()[0], WM_CLOSE);
    }
    EXPECT_TRUE(ignored.MessageNumbers().empty());
}
} // namespace
