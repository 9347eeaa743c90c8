#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <cstring>
#include <thread>
#include <vector>

#include "MapsTestSupport.h"
#include "platform/elements/StdioFile.h"
#include "platform/base/Format.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "spectral/ZuRpmFunc.h"

namespace {
const double kFreqs[] = {100.0, 125.0, 160.0};
const double kRpms[] = {1000.0, 2000.0, 3000.0, 4000.0};

// A 4 x 3 map of kind 3 (input power) with distinct values, rows shown as RPMs.
std::unique_ptr<CZuRpmFunc> MakeMap(int kind = 3)
{
    auto map = CZuRpmFunc::NewRpmFunc("Map", kind, nullptr, "Roof-F", kFreqs, 3, kRpms, 4);
    for (int r = 0; r < 4; ++r)
        for (int k = 0; k < 3; ++k)
            map->DataValue(r, k) = 1e-3 * (r + 1) + 1e-5 * (k + 1) + 1.0 / 3.0 * 1e-7;
    map->SetAxisFlag(1);
    return map;
}

std::string CopyText(CZuRpmFunc& map, int withLabels, int index, const CZuCellRect* sel = nullptr)
{
    std::vector<uint8_t> buf;
    CArchive ar(&buf, CArchive::store);
    map.CopyToClipboard(ar, withLabels, index, sel);
    return std::string(buf.begin(), buf.end());
}

void PasteText(CZuRpmFunc& map, const std::string& text, int index, const CZuCellPoint* point = nullptr)
{
    std::vector<uint8_t> buf(text.begin(), text.end());
    CArchive ar(&buf, CArchive::load);
    map.PasteFromClipboard(ar, index, point);
}
} // namespace

TEST(ZuRpmFuncTest, NewRpmFuncBuildsZeroRowsAndRefusesMissingArrays)
{
    EXPECT_EQ(CZuRpmFunc::NewRpmFunc("M", 3, nullptr, "S", nullptr, 2, kRpms, 1), nullptr);
    EXPECT_EQ(CZuRpmFunc::NewRpmFunc("M", 3, nullptr, "S", kFreqs, 1, nullptr, 2), nullptr);

    auto map = CZuRpmFunc::NewRpmFunc("M", 3, nullptr, "S", kFreqs, 3, kRpms, 4);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->GetAxisFlag(), 0);
    EXPECT_EQ(map->GetSubsystem(), "S");
    ASSERT_EQ(map->GetRpmCount(), 4);
    ASSERT_EQ(map->GetFreqCount(), 3);
    EXPECT_EQ(map->GetRowFunc(2)->GetName(), "3000");
    EXPECT_EQ(map->GetRowFunc(2)->DataIndex(1), 125.0);
    EXPECT_EQ(map->DataValue(3, 2), 0.0);
    EXPECT_EQ(map->GetRowFunc(4), nullptr);
}

TEST(ZuRpmFuncTest, TableShapeFollowsTheAxisFlag)
{
    auto empty = CZuRpmFunc::NewRpmFunc("E", 3, nullptr, "S", kFreqs, 3, nullptr, 0);
    empty->SetAxisFlag(1);
    EXPECT_EQ(empty->GetTableRowCount(0), 1);
    EXPECT_EQ(empty->GetTableFreqCount(), 3);
    empty->SetAxisFlag(0);
    EXPECT_EQ(empty->GetTableRowCount(0), 4);
    EXPECT_EQ(empty->GetTableFreqCount(), 0);

    auto map = MakeMap();
    // Any non-zero flag means RPM rows, for the counts and the labels alike.
    for (int flag : {1, 2}) {
        map->SetAxisFlag(flag);
        EXPECT_EQ(map->GetTableRowCount(0), 5);
        EXPECT_EQ(map->GetTableColCount(0), 2);
        EXPECT_EQ(map->GetTableFreqCount(), 3);
        EXPECT_EQ(map->GetFreqIndicator(1), "125");
        EXPECT_EQ(map->GetTableCellData(0, 0, 0, 3), "RPM");
        EXPECT_EQ(map->GetTableCellData(4, 0, 0, 3), "4000");
        EXPECT_EQ(map->GetTableCellData(5, 0, 0, 3), "");
        EXPECT_EQ(map->GetAxisValue(3), 4000.0);
    }
    map->SetAxisFlag(0);
    EXPECT_EQ(map->GetTableRowCount(0), 4);
    EXPECT_EQ(map->GetTableFreqCount(), 4);
    EXPECT_EQ(map->GetFreqIndicator(1), "2000");
    EXPECT_EQ(map->GetTableCellData(0, 0, 0, 3), "Freq. [Hz]");
    EXPECT_EQ(map->GetTableCellData(0, 1, 0, 3), "Input Power [W]");
    EXPECT_EQ(map->GetTableCellData(2, 0, 0, 3), "125");
    EXPECT_EQ(map->GetAxisValue(2), 160.0);
    EXPECT_EQ(map->GetAxisCount(), 3);
    // Row 2 of index 1 is frequency point 1 of RPM row 1.
    EXPECT_EQ(map->GetTableCellData(2, 1, 1, 3), "2.020e-03");
}

// A band is labelled the same whether bands run down the rows or across the indices: the nominal
// centre where the band set has one, the frequency itself elsewhere. RPMs carry no padding zeros.
TEST(ZuRpmFuncTest, BandAndRpmLabelsAgreeInBothOrientations)
{
    const double freqs[] = {std::pow(10.0, 2.1), std::pow(10.0, 1.5), 130.0}; // 125.893.., 31.62.., off-band
    const double rpms[] = {1000.0, 1234.5};
    auto map = CZuRpmFunc::NewRpmFunc("Map", 3, nullptr, "Roof-F", freqs, 3, rpms, 2);
    ASSERT_NE(map, nullptr);
    const char* labels[] = {"125", "31.5", "130"};
    for (int k = 0; k < 3; ++k) {
        map->SetAxisFlag(1);
        EXPECT_EQ(map->GetFreqIndicator(k), labels[k]);
        map->SetAxisFlag(0);
        EXPECT_EQ(map->GetTableCellData(k + 1, 0, 0, 2), labels[k]);
    }
    const char* rpmLabels[] = {"1000", "1234.5"};
    for (int r = 0; r < 2; ++r) {
        map->SetAxisFlag(0);
        EXPECT_EQ(map->GetFreqIndicator(r), rpmLabels[r]);
        map->SetAxisFlag(1);
        EXPECT_EQ(map->GetTableCellData(r + 1, 0, 0, 2), rpmLabels[r]);
    }
}

TEST(ZuRpmFuncTest, FindRpmIndexComparesExactly)
{
    auto map = MakeMap();
    EXPECT_EQ(map->FindRpmIndex(3000.0), 2);
    EXPECT_EQ(map->FindRpmIndex(std::nextafter(3000.0, 4000.0)), -1);
    EXPECT_EQ(map->FindRowFunc(9999.0), nullptr);
    EXPECT_EQ(CZuRpmFunc().FindRpmIndex(0.0), -1);
}

TEST(ZuRpmFuncTest, RemoveRowsKeepsAxisAndRowsParallel)
{
    auto map = MakeMap();
    map->RemoveRows(-1, 2);
    EXPECT_EQ(map->GetRpmCount(), 4);
    map->RemoveRows(1, 2);
    ASSERT_EQ(map->GetRpmCount(), 2);
    EXPECT_EQ(map->GetRpm(1), 4000.0);
    EXPECT_EQ(map->GetRowFunc(1)->GetName(), "4000");
    map->RemoveRows(1, 10);
    EXPECT_EQ(map->GetRpmCount(), 1);
    EXPECT_EQ(map->GetRowFunc(1), nullptr);
    map->RemoveAll();
    EXPECT_EQ(map->GetRpmCount(), 0);
    EXPECT_EQ(map->GetFreqCount(), 3);
}

TEST(ZuRpmFuncTest, SmoothingOverRpmRows)
{
    // Ten rows at one frequency: values 1..10 except row 4 which is negative and row 6 which is 0.
    std::vector<double> rpms;
    for (int i = 0; i < 10; ++i)
        rpms.push_back(1000.0 + 100.0 * i);
    const double f = 100.0;
    struct Case
    {
        int kind;
        int row;
        double expected;
    };
    // Rows 3..7 hold 4, -5, 6, 0, 8: the values above 0 are 4, 6 and 8.
    const Case cases[] = {
        {3, 1, 0.0}, // the window leaves the rows
        {3, 8, 0.0},
        {3, 5, (4.0 + 6.0 + 8.0) / 3.0},                // input power: arithmetic mean
        {64, 5, std::sqrt((16.0 + 36.0 + 64.0) / 3.0)}, // pressure: root mean square
        {66, 5, std::sqrt((16.0 + 36.0 + 64.0) / 3.0)}, // velocity
        {87, 5, std::sqrt((16.0 + 36.0 + 64.0) / 3.0)},
        {103, 5, std::sqrt((16.0 + 36.0 + 64.0) / 3.0)},
        {54, 5, (4.0 + 6.0 + 8.0) / 3.0},
    };
    for (const Case& c : cases) {
        auto map = CZuRpmFunc::NewRpmFunc("M", c.kind, nullptr, "S", &f, 1, rpms.data(), 10);
        for (int r = 0; r < 10; ++r)
            map->DataValue(r, 0) = r + 1.0;
        map->DataValue(4, 0) = -5.0;
        map->DataValue(6, 0) = 0.0;
        map->SetAxisFlag(1);
        map->SetSmoothingWidth(2);
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " row " << c.row);
        EXPECT_DOUBLE_EQ(map->GetSmoothedValue(0, c.row), c.expected);
        // The same cell with the axes swapped: index is the RPM row.
        map->SetAxisFlag(0);
        EXPECT_DOUBLE_EQ(map->GetSmoothedValue(c.row, 0), c.expected);
    }
    // Width 0 gives the plain value; no positive value gives 0.
    auto map = CZuRpmFunc::NewRpmFunc("M", 3, nullptr, "S", &f, 1, rpms.data(), 10);
    map->DataValue(5, 0) = -2.0;
    EXPECT_EQ(map->GetSmoothedValue(5, 0), -2.0);
    map->SetSmoothingWidth(1);
    EXPECT_EQ(map->GetSmoothedValue(5, 0), 0.0);
}

TEST(ZuRpmFuncTest, OverallLevelOfABandRange)
{
    DisplayOptionsOwner display(1);
    const double freqs[] = {100.0, 125.0, 160.0, 200.0};
    const double rpm = 1000.0;
    auto map = CZuRpmFunc::NewRpmFunc("M", 3, nullptr, "S", freqs, 4, &rpm, 1);
    map->SetAxisFlag(1);
    map->DataValue(0, 0) = 0.01;
    map->DataValue(0, 1) = 0.02;
    map->DataValue(0, 2) = 0.04;
    map->DataValue(0, 3) = 0.0; // a missing value adds nothing
    map->SetOverallBandRange(1, 3);
    EXPECT_NEAR(map->GetOverallLevel(0, 0, 0, 0), 10.0 * std::log10(0.06), 1e-12);
    map->SetOverallBandRange(0, 9); // bands beyond the axis hold nothing
    EXPECT_NEAR(map->GetOverallLevel(0, 0, 0, 0), 10.0 * std::log10(0.07), 1e-12);
    display.Show(map.get());
    EXPECT_EQ(map->GetTableCellData(1, 1, 0, 2), Format("%.2f", 10.0 * std::log10(0.07)));
    // A reversed range shows the smoothed value itself.
    map->SetOverallBandRange(3, 1);
    EXPECT_EQ(map->GetOverallLevel(2, 0, 0, 0), 0.04);
    EXPECT_EQ(map->GetTableCellData(1, 1, 2, 2), Format("%.2f", 10.0 * std::log10(0.04)));
    // A kind without a dB rule adds its values linearly.
    auto other = CZuRpmFunc::NewRpmFunc("M", 200, nullptr, "S", freqs, 4, &rpm, 1);
    other->SetAxisFlag(1);
    other->DataValue(0, 0) = 2.0;
    other->DataValue(0, 1) = 3.0;
    other->SetOverallBandRange(0, 1);
    EXPECT_NEAR(other->GetOverallLevel(0, 0, 0, 0), 10.0 * std::log10(5.0), 1e-12);
}

// A column read as the chart reads it, whole or a stretch at a time (also by several threads side
// by side, with the display options asked once), holds each cell's own value in every display
// (linear, dB, A-weighted, smoothed), and NaN where the cell shows no number.
TEST(ZuRpmFuncTest, ColumnValuesAreTheCellValues)
{
    constexpr int kRows = 300;
    const double freqs[] = {100.0, 1000.0};
    std::vector<double> rpms;
    for (int r = 0; r < kRows; ++r)
        rpms.push_back(800.0 + 10.0 * r);
    struct Case
    {
        int kind, inDb, aWeighting, smoothing;
    };
    const Case cases[] = {{3, 0, 0, 0}, {3, 1, 0, 0}, {64, 1, 1, 0}, {64, 0, 0, 0}, {53, 0, 1, 0}, {64, 1, 0, 2}};
    for (const Case& c : cases) {
        DisplayOptionsOwner display(c.inDb, c.aWeighting);
        auto map = CZuRpmFunc::NewRpmFunc("M", c.kind, nullptr, "S", freqs, 2, rpms.data(), kRows);
        display.Show(map.get());
        for (int r = 0; r < kRows; ++r)
            for (int k = 0; k < 2; ++k)
                map->DataValue(r, k) = 1e-3 * (1 + (r * 7 + k * 13) % 101);
        map->DataValue(5, 1) = 0.0;
        map->DataValue(6, 1) = -1.0;
        map->DataValue(7, 1) = NAN;
        map->DataValue(8, 1) = HUGE_VAL;
        map->SetSmoothingWidth(c.smoothing);
        for (int axis : {1, 0}) {
            map->SetAxisFlag(axis);
            const int rows = map->GetTableRowCount(0) - 1;
            for (int index = 0; index < map->GetTableFreqCount(); ++index) {
                SCOPED_TRACE(testing::Message()
                             << "kind " << c.kind << " dB " << c.inDb << " A " << c.aWeighting << " smoothing "
                             << c.smoothing << " axis " << axis << " index " << index);
                std::vector<double> whole;
                map->GetTableColumnValues(1, index, whole);
                ASSERT_EQ(static_cast<int>(whole.size()), rows);
                std::vector<double> pieces(static_cast<size_t>(rows) + 5, 0.0);
                for (int first = 0; first < rows; first += 7)
                    map->GetTableColumnValues(1, index, first, 7, pieces.data() + first);
                std::vector<double> sideBySide(static_cast<size_t>(rows), 0.0);
                {
                    const CZuRpmFunc::ColumnOptions options = map->GetColumnOptions();
                    const CZuRpmFunc& shared = *map;
                    constexpr int kThreads = 4, kStretch = 11;
                    std::vector<std::thread> readers;
                    for (int t = 0; t < kThreads; ++t)
                        readers.emplace_back([&, t] {
                            for (int first = t * kStretch; first < rows; first += kThreads * kStretch)
                                shared.GetTableColumnValues(1, index, first, std::min(kStretch, rows - first),
                                                            sideBySide.data() + first, options);
                        });
                    for (std::thread& reader : readers)
                        reader.join();
                }
                for (int r = 0; r < rows; ++r) {
                    double cell = 0.0;
                    if (!map->GetTableCellValue(r + 1, 1, index, cell))
                        cell = NAN;
                    const auto same = [&](double v) { return v == cell || (std::isnan(v) && std::isnan(cell)); };
                    ASSERT_TRUE(same(whole[static_cast<size_t>(r)])) << r << ": " << whole[r] << " vs " << cell;
                    ASSERT_TRUE(same(pieces[static_cast<size_t>(r)])) << r << ": " << pieces[r] << " vs " << cell;
                    ASSERT_TRUE(same(sideBySide[static_cast<size_t>(r)]))
                        << r << ": " << sideBySide[r] << " vs " << cell;
                }
                EXPECT_TRUE(std::isnan(pieces[static_cast<size_t>(rows)])) << "a stretch past the end reads nothing";
            }
        }
    }
}

TEST(ZuRpmFuncTest, CopyThenPasteGivesTheSameValues)
{
    for (int inDb : {0, 1}) {
        for (int flag : {0, 1}) {
            for (int withLabels : {0, 1}) {
                DisplayOptionsOwner display(inDb);
                auto src = MakeMap(64);
                display.Show(src.get());
                src->SetAxisFlag(flag);
                // The whole map, then one index.
                for (int index : {-1, 1}) {
                    auto dst = CZuRpmFunc::NewRpmFunc("D", 64, nullptr, "Roof-F", kFreqs, 3, kRpms, 4);
                    display.Show(dst.get());
                    dst->SetAxisFlag(flag);
                    PasteText(*dst, CopyText(*src, withLabels, index), index);
                    SCOPED_TRACE(testing::Message() << "dB " << inDb << " flag " << flag << " labels " << withLabels
                                                    << " index " << index);
                    for (int r = 0; r < 4; ++r)
                        for (int k = 0; k < 3; ++k) {
                            const bool copied = index == -1 || (flag ? k == index : r == index);
                            EXPECT_NEAR(dst->DataValue(r, k), copied ? src->DataValue(r, k) : 0.0,
                                        1e-12 * src->DataValue(r, k));
                        }
                }
            }
        }
    }
}

TEST(ZuRpmFuncTest, ClipboardTextLayout)
{
    auto map = CZuRpmFunc::NewRpmFunc("M", 3, nullptr, "Roof-F", kFreqs, 2, kRpms, 2);
    map->DataValue(0, 0) = 1.5;
    map->DataValue(1, 1) = 2.5;
    map->SetAxisFlag(0);
    const std::string one = CopyText(*map, 1, 1);
    EXPECT_EQ(one.substr(0, one.find("\r\n") + 2), "Roof-F\t2000 [RPM]\r\n");
    EXPECT_NE(one.find("Freq. [Hz]\tInput Power [W]\r\n100\t"), std::string::npos) << one;
    const std::string whole = CopyText(*map, 1, -1);
    EXPECT_EQ(whole.substr(0, whole.find("\r\n", whole.find("\r\n") + 2) + 2),
              "Roof-F\tInput Power [W]\r\nFreq. [Hz]\t1000 [RPM]\t2000 [RPM]\r\n");
    map->SetAxisFlag(1);
    const std::string byFreq = CopyText(*map, 1, -1);
    EXPECT_NE(byFreq.find("RPM\t100 [Hz]\t125 [Hz]\r\n"), std::string::npos) << byFreq;
    // A selection whose top row is 0 starts at data row 1; its bottom ends the block.
    const CZuCellRect sel{0, 0, 1, 1};
    EXPECT_EQ(CopyText(*map, 0, 0, &sel), map->GetTableCellData(1, 1, 0, CZuRpmFunc::kClipboardDigits) + "\r\n");
}

TEST(ZuRpmFuncTest, PasteRecognisesHeadersAndLabels)
{
    DisplayOptionsOwner display;
    auto map = CZuRpmFunc::NewRpmFunc("M", 3, nullptr, "S", kFreqs, 3, kRpms, 2);
    display.Show(map.get());
    map->SetAxisFlag(1);
    // Three numbers: data from the first line, no label column, whole map from row 0.
    PasteText(*map, "1\t2\t3\r\n", -1);
    EXPECT_EQ(map->DataValue(0, 0), 1.0);
    EXPECT_EQ(map->DataValue(0, 1), 2.0);
    EXPECT_EQ(map->DataValue(0, 2), 3.0);
    EXPECT_EQ(map->DataValue(1, 0), 0.0);

    // Two words are a header; the word of the next line is a row label.
    display.inDb = 1;
    PasteText(*map, "a\tb\r\nx\t5\r\n", -1);
    EXPECT_NEAR(map->DataValue(0, 0), std::pow(10.0, 0.5), 1e-12);
    EXPECT_EQ(map->DataValue(0, 1), 2.0); // a shorter line leaves the rest

    // One index from the paste point's row; a non-number sets 0.0; a longer text stops at the end.
    display.inDb = 0;
    const CZuCellPoint at{1, 2};
    PasteText(*map, "7\r\n8\r\n9\r\n", 2, &at);
    EXPECT_EQ(map->DataValue(1, 2), 7.0);
    EXPECT_EQ(map->DataValue(0, 2), 3.0);
    PasteText(*map, "x\r\n", 2, &at); // a header line with nothing after it
    EXPECT_EQ(map->DataValue(1, 2), 7.0);
    PasteText(*map, "4\r\nword\r\n", 2);
    EXPECT_EQ(map->DataValue(0, 2), 4.0);
    EXPECT_EQ(map->DataValue(1, 2), 0.0);
    PasteText(*map, "", -1);
    PasteText(*map, "5\r\n", 7); // an index outside the table changes nothing
    EXPECT_EQ(map->DataValue(0, 2), 4.0);
}

TEST(ZuRpmFuncTest, StoredAndReadBackEqual)
{
    auto map = MakeMap(64);
    map->SetAxisFlag(0);
    map->SetSmoothingWidth(3);
    map->SetOverallBandRange(0, 2);
    const std::vector<uint8_t> buf = StoreObject(map.get());
    // The class record: new-class tag, versionable schema 0, name.
    EXPECT_EQ(buf[0], 0xFF);
    EXPECT_EQ(buf[1], 0xFF);
    EXPECT_EQ(buf[2], 0);
    auto back = LoadObject<CZuRpmFunc>(buf);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetName(), "Map");
    EXPECT_EQ(back->GetType(), 64);
    EXPECT_EQ(back->GetSubsystem(), "Roof-F");
    EXPECT_EQ(back->GetRpmArray(), map->GetRpmArray());
    EXPECT_EQ(back->GetFreqArray(), map->GetFreqArray());
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(back->GetRowFunc(r)->GetName(), map->GetRowFunc(r)->GetName());
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(back->DataValue(r, k), map->DataValue(r, k));
    }
    // View state is not stored.
    EXPECT_EQ(back->GetAxisFlag(), 1);
    EXPECT_EQ(back->GetSmoothingWidth(), 0);
    EXPECT_EQ(back->GetOverallFirst(), -1);
    EXPECT_EQ(back->GetOverallLast(), -1);
}

TEST(ZuRpmFuncTest, ARowCountThatDiffersFromTheRpmAxisFailsTheLoad)
{
    auto map = MakeMap();
    map->SetSubsystem("SUBSYS");
    std::vector<uint8_t> buf = StoreObject(map.get());
    const size_t at = FindBytes(buf, "SUBSYS");
    ASSERT_NE(at, std::string::npos);
    const size_t countPos = at + 6;
    int32_t stored = 0;
    std::memcpy(&stored, &buf[countPos], 4);
    ASSERT_EQ(stored, 4);
    for (int32_t forged : {3, 5, -1, 0x7FFFFFFF}) {
        std::vector<uint8_t> bad = buf;
        std::memcpy(&bad[countPos], &forged, 4);
        EXPECT_THROW(LoadObject<CZuRpmFunc>(bad), CArchiveException) << forged;
    }
    // A truncated file fails as well.
    std::vector<uint8_t> cut(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(buf.size() - 5));
    EXPECT_THROW(LoadObject<CZuRpmFunc>(cut), CArchiveException);
}

TEST(ZuRpmFuncTest, TextDump)
{
    auto map = CZuRpmFunc::NewRpmFunc("M", 3, nullptr, "Roof-F", kFreqs, 2, kRpms, 2);
    map->DataValue(1, 0) = 0.5;
    CStdioFile file;
    file.OpenMemory(CStdioFile::modeWrite);
    EXPECT_EQ(map->WriteDump(file, ""), 1);
    EXPECT_EQ(file.GetMemoryText(),
              "##### SUBSYSTEM #####\n\nRoof-F\n"
              "\n##### RPM INDEX #####\n\n0\t1000\n1\t2000\n"
              "\n##### FREQ INDEX #####\n\n0\t100\n1\t125\n"
              "\n##### DATA #####\n\n0\t0.000000e+00\t0.000000e+00\n1\t5.000000e-01\t0.000000e+00\n");
}

TEST(ZuRpmFuncTest, DestructionClosesItsWindows)
{
    CRecordingMessageTarget window;
    {
        auto map = MakeMap();
        map->SetWindow(1, &window);
    }
    ASSERT_EQ(window.MessageNumbers().size(), 1u);
    EXPECT_EQ(window.MessageNumbers()[0], WM_CLOSE);
}

// A map read on another thread is changed only once the read has ended, whichever change comes
// (rows added or removed, a value written, the view state set): the reader never sees rows freed or
// moved. Setting the view state the map already has does not wait.
TEST(ZuRpmFuncTest, ChangesWaitForTheReadsInFlight)
{
    constexpr int kRows = 2000;
    const double freqs[] = {100.0, 1000.0};
    std::vector<double> rpms;
    for (int r = 0; r < kRows; ++r)
        rpms.push_back(800.0 + r);
    const std::vector<std::function<void(CZuRpmFunc&)>> changes = {
        [](CZuRpmFunc& m) { m.AddRow(5000.0); },
        [](CZuRpmFunc& m) { m.RemoveRows(0, 1000); },
        [](CZuRpmFunc& m) { m.RemoveAll(); },
        [](CZuRpmFunc& m) { m.DataValue(3, 1) = 7.0; },
        [](CZuRpmFunc& m) { m.SetAxisFlag(m.GetAxisFlag() == 0 ? 1 : 0); },
        [](CZuRpmFunc& m) { m.SetOverallBandRange(0, 1); },
    };
    for (size_t c = 0; c < changes.size(); ++c) {
        SCOPED_TRACE(c);
        auto map = CZuRpmFunc::NewRpmFunc("M", 64, nullptr, "S", freqs, 2, rpms.data(), kRows);
        map->BeginSharedRead();
        map->SetAxisFlag(map->GetAxisFlag()); // no change: does not wait for the read
        std::atomic<bool> started{false}, changed{false};
        std::thread writer([&] {
            started = true;
            changes[c](*map);
            changed = true;
        });
        while (!started)
            std::this_thread::yield();
        // The read goes on over every row, long after the change was asked for; the change cannot
        // have come meanwhile.
        std::vector<double> column(static_cast<size_t>(kRows));
        const CZuRpmFunc::ColumnOptions options = map->GetColumnOptions();
        bool early = false;
        for (int round = 0; round < 200; ++round) {
            static_cast<const CZuRpmFunc&>(*map).GetTableColumnValues(1, 1, 0, kRows, column.data(), options);
            early = early || changed;
        }
        map->EndSharedRead();
        writer.join();
        EXPECT_FALSE(early);
        EXPECT_TRUE(changed);
    }
}
