#include "spectral/BandInfoManager.h"
#include "spectral/OTBandMgr.h"
#include "spectral/OctFreqIndexMap.h"
#include "spectral/OrderBand.h"

#include "platform/archive/Archive.h"
#include "platform/gfx/OctaveManager.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

struct Band
{
    double centre, lower, upper;
};

COctaveManagerEx Bands(const std::vector<Band>& bands)
{
    COctaveManagerEx set(OCTAVE_BAND_USER);
    for (const Band& b : bands)
        set.AddFreqInfo(b.centre, b.lower, b.upper, OCTAVE_BAND_USER);
    return set;
}

// The band table as the definition reads: every line tested against every band.
CBandInfoList LineByLine(const COctaveManager& bands, double df, int lines)
{
    CBandInfoList list(static_cast<size_t>(bands.GetFreqCount()));
    for (int b = 0; b < bands.GetFreqCount(); ++b) {
        tagBandInfo& info = list[size_t(b)];
        info.dCentre = bands.GetFreq(b);
        for (int k = 0; k < lines; ++k) {
            const double f = k * df;
            if (bands.GetLowerFreq(b) <= f && f < bands.GetUpperFreq(b)) {
                if (info.nFirstLine == -1)
                    info.nFirstLine = k;
                ++info.nLineCount;
            }
        }
    }
    return list;
}

CBandInfoManager Manager(const COctaveManager* bands, double df, int lines)
{
    CBandInfoManager m;
    m.SetOctaveManager(bands);
    m.SetDf(df);
    m.SetLineCount(lines);
    return m;
}

} // namespace

TEST(BandInfoManager, LinesOfEachBand)
{
    const COctaveManagerEx bands = Bands({
        {1000.0, 891.0, 1122.0}, // one-third octave at 1 kHz
        {5.25, 5.0, 5.5},        // narrower than df = 4 and between two lines of that spacing
        {15.0, 10.0, 20.0},      // shares the edge at 20 Hz with the next band
        {25.0, 20.0, 30.0},
        {3000.0, 2000.0, 4000.0}, // partly beyond the last line
    });
    CBandInfoManager m = Manager(&bands, 1.0, 1000);
    ASSERT_EQ(m.CreateBandInfoList(), 1);
    const CBandInfoList& list = m.GetBandList();
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[0].dCentre, 1000.0);
    EXPECT_EQ(list[0].nFirstLine, 891);
    EXPECT_EQ(list[0].nLineCount, 109); // lines stop at 999 Hz
    EXPECT_EQ(list[2].nFirstLine, 10);
    EXPECT_EQ(list[2].nLineCount, 10); // 20 Hz belongs to the upper band
    EXPECT_EQ(list[3].nFirstLine, 20);
    EXPECT_EQ(list[3].nLineCount, 10);

    m.SetLineCount(2000);
    ASSERT_EQ(m.UpdateBandInfoList(), 1);
    EXPECT_EQ(m.GetBandList()[0].nFirstLine, 891);
    EXPECT_EQ(m.GetBandList()[0].nLineCount, 231);

    m.SetDf(4.0);
    ASSERT_EQ(m.CreateBandInfoList(), 1);
    EXPECT_EQ(m.GetBandList()[1].nFirstLine, -1);
    EXPECT_EQ(m.GetBandList()[1].nLineCount, 0);
}

TEST(BandInfoManager, AgreesWithTheLineByLineDefinition)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> edge(-20.0, 700.0);
    const double spacings[] = {1.0, 0.1, 1.0 / 3.0, 2.5, 16000.0 / 4096.0};
    for (double df : spacings) {
        for (int round = 0; round < 20; ++round) {
            std::vector<Band> raw;
            for (int b = 0; b < 12; ++b) {
                double lo = edge(rng), hi = edge(rng);
                if (b % 3 == 0)
                    lo = std::round(lo / df) * df; // edges exactly on lines
                if (b % 4 == 0)
                    hi = std::round(hi / df) * df;
                raw.push_back({(lo + hi) / 2, std::min(lo, hi), std::max(lo, hi)});
            }
            const COctaveManagerEx bands = Bands(raw);
            const int lines = 100 + round * 37;
            CBandInfoManager m = Manager(&bands, df, lines);
            ASSERT_EQ(m.CreateBandInfoList(), 1);
            const CBandInfoList want = LineByLine(bands, df, lines);
            for (size_t b = 0; b < want.size(); ++b) {
                EXPECT_EQ(m.GetBandList()[b].nFirstLine, want[b].nFirstLine) << "df " << df << " band " << b;
                EXPECT_EQ(m.GetBandList()[b].nLineCount, want[b].nLineCount) << "df " << df << " band " << b;
            }
        }
    }
}

TEST(BandInfoManager, RefusesWithoutLinesAndFindsBands)
{
    const COctaveManagerEx bands = Bands({{15.0, 10.0, 20.0}, {25.0, 20.0, 30.0}, {50.0, 40.0, 60.0}});
    struct Case
    {
        const COctaveManager* bands;
        double df;
        int lines;
    };
    const Case refused[] = {{&bands, 0.0, 100}, {&bands, -1.0, 100}, {&bands, 1.0, 0}, {nullptr, 1.0, 100}};
    for (const Case& c : refused) {
        CBandInfoManager m = Manager(c.bands, c.df, c.lines);
        m.GetBandList().resize(3);
        EXPECT_EQ(m.CreateBandInfoList(), 0);
        EXPECT_TRUE(m.GetBandList().empty());
        EXPECT_EQ(m.FindBand(15.0), -1);
    }

    CBandInfoManager m = Manager(&bands, 1.0, 100);
    EXPECT_EQ(m.FindBand(15.0), -1); // list not built yet
    ASSERT_EQ(m.CreateBandInfoList(), 1);
    EXPECT_EQ(m.FindBand(10.0), 0);
    EXPECT_EQ(m.FindBand(20.0), 1);
    EXPECT_EQ(m.FindBand(59.9), 2);
    EXPECT_EQ(m.FindBand(35.0), -1); // gap
    EXPECT_EQ(m.FindBand(60.0), -1);
    EXPECT_EQ(m.FindBand(5.0), -1);
    EXPECT_EQ(m.FindBandByCentre(25.0), 1);
    EXPECT_EQ(m.FindBandByCentre(25.000001), -1);
}

TEST(OctFreqIndexMap, MapsCentresAndFillsGaps)
{
    const COctaveManagerEx target = Bands({{5.0, 0.0, 10.0}, {15.0, 10.0, 20.0}, {25.0, 20.0, 30.0}});
    struct Case
    {
        const char* what;
        std::vector<double> centres;
        std::vector<int> map;
    };
    const Case cases[] = {
        // A centre on a target edge belongs to no band and takes the band before it.
        {"edge", {5.0, 10.0, 15.0, 25.0}, {0, 0, 1, 2}},
        // Leading source bands below every target band take the first band that maps.
        {"leading gap", {-4.0, -2.0, 0.0, 15.0, 40.0}, {1, 1, 1, 1, 1}},
        {"single unmapped", {100.0}, {-1}},
        {"nothing maps", {-1.0, 30.0, 31.0}, {-1, -1, -1}},
        {"empty", {}, {}},
    };
    for (const Case& c : cases) {
        std::vector<Band> raw;
        for (double centre : c.centres)
            raw.push_back({centre, centre - 0.5, centre + 0.5});
        const COctaveManagerEx source = Bands(raw);
        COctFreqIndexMap map(&source, &target);
        ASSERT_EQ(map.Build(), 1) << c.what;
        EXPECT_EQ(map.GetMap(), c.map) << c.what;
    }
    COctFreqIndexMap none;
    EXPECT_EQ(none.Build(), 0);
    COctFreqIndexMap half(&target, nullptr);
    EXPECT_EQ(half.Build(), 0);
    EXPECT_EQ(half.GetAt(0), -1);
}

TEST(OctFreqIndexMap, ThirdOctavesOntoOctaves)
{
    const COctaveManagerEx thirds(OCTAVE_BAND_THIRD, 20.0, 10000.0);
    const COctaveManagerEx octaves(OCTAVE_BAND_FULL, 31.5, 8000.0);
    COctFreqIndexMap map(&thirds, &octaves);
    ASSERT_EQ(map.Build(), 1);
    ASSERT_EQ(map.GetSize(), thirds.GetFreqCount());
    for (int i = 0; i < map.GetSize(); ++i) {
        const int j = map.GetAt(i);
        ASSERT_GE(j, 0);
        const double c = thirds.GetFreq(i);
        if (c > octaves.GetLowerFreq(0) && c < octaves.GetUpperFreq(octaves.GetFreqCount() - 1)) {
            EXPECT_LT(octaves.GetLowerFreq(j), c);
            EXPECT_GT(octaves.GetUpperFreq(j), c);
        }
    }
}

TEST(OctFreqIndexMap, SerializesAndRefusesForgedCounts)
{
    const COctaveManagerEx target = Bands({{5.0, 0.0, 10.0}, {15.0, 10.0, 20.0}});
    const COctaveManagerEx source = Bands({{2.0, 1.0, 3.0}, {12.0, 11.0, 13.0}, {13.0, 12.5, 13.5}});
    COctFreqIndexMap map(&source, &target);
    map.Build();
    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        map.Serialize(ar);
    }
    ASSERT_EQ(bytes.size(), 4u + 3u * 4u);
    EXPECT_EQ(bytes[0], 3);
    COctFreqIndexMap loaded;
    {
        CArchive ar(&bytes, CArchive::load);
        loaded.Serialize(ar);
    }
    EXPECT_EQ(loaded.GetMap(), (std::vector<int>{0, 1, 1}));

    for (std::vector<uint8_t> forged :
         {std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 0, 0}, std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF},
          std::vector<uint8_t>{2, 0, 0, 0, 1, 0, 0, 0}, std::vector<uint8_t>{1, 0}}) {
        COctFreqIndexMap target2;
        CArchive ar(&forged, CArchive::load);
        EXPECT_THROW(target2.Serialize(ar), CArchiveException);
        EXPECT_EQ(target2.GetSize(), 0);
    }
}

TEST(OTBandMgr, WidensTheOrderBandUntilItHoldsALine)
{
    COTBandMgr m;
    m.SetDf(4.0);
    m.SetLineCount(1000);
    int first = -7, count = -7;
    // 1998 RPM, order 1: 33.3 Hz. Width 2: 32.3 to 34.3 Hz holds no line; twice as wide holds 32 Hz.
    EXPECT_EQ(m.FindOrderLines(1.0, 1.0f, 1998.0, 2.0, &first, &count), 2.0);
    EXPECT_EQ(first, 8);
    EXPECT_EQ(count, 1);

    // A band that holds lines at once.
    EXPECT_EQ(m.FindOrderLines(2.0, 1.0f, 3000.0, 20.0, &first, &count), 1.0); // 100 Hz, 90 to 110
    EXPECT_EQ(first, 23);
    EXPECT_EQ(count, 5);
    // Order 0 sits on line 0.
    EXPECT_EQ(m.FindOrderLines(0.0, 1.0f, 3000.0, 2.0, &first, &count), 1.0);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(count, 1);

    // Beyond the last line no widening helps.
    COTBandMgr few;
    few.SetDf(1.0);
    few.SetLineCount(5);
    EXPECT_EQ(few.FindOrderLines(10.0, 1.0f, 60000.0, 1.0, &first, &count), 100.0);
    EXPECT_EQ(count, 0);
}

TEST(OTBandMgr, InvalidInputLeavesTheOutputs)
{
    struct Case
    {
        const char* what;
        double df;
        int lines;
        double order, rpm, bandwidth;
        bool firstOut, countOut;
    };
    const Case cases[] = {
        {"rpm 0", 1.0, 100, 1.0, 0.0, 2.0, true, true},
        {"negative order", 1.0, 100, -1.0, 60.0, 2.0, true, true},
        {"bandwidth 0", 1.0, 100, 1.0, 60.0, 0.0, true, true},
        {"df 0", 0.0, 100, 1.0, 60.0, 2.0, true, true},
        {"no lines", 1.0, 0, 1.0, 60.0, 2.0, true, true},
        {"no first", 1.0, 100, 1.0, 60.0, 2.0, false, true},
        {"no count", 1.0, 100, 1.0, 60.0, 2.0, true, false},
    };
    for (const Case& c : cases) {
        COTBandMgr m;
        m.SetDf(c.df);
        m.SetLineCount(c.lines);
        int first = -7, count = -7;
        EXPECT_EQ(m.FindOrderLines(c.order, 1.0f, c.rpm, c.bandwidth, c.firstOut ? &first : nullptr,
                                   c.countOut ? &count : nullptr),
                  0.0)
            << c.what;
        EXPECT_EQ(first, -7) << c.what;
        EXPECT_EQ(count, -7) << c.what;
    }
}

TEST(OrderBand, BandOfAFrequency)
{
    const COctaveManagerEx bands = Bands({{15.0, 10.0, 19.5}, {22.0, 19.5, 25.0}, {50.0, 40.0, 60.0}});
    struct Case
    {
        double f;
        int band;
    };
    const Case cases[] = {
        {1.0, 0},  {15.0, 0}, {16.0, 0}, {19.5, 1}, {24.9, 1}, {30.0, -1}, // gap between bands
        {45.0, 2}, {50.0, 2}, {1e6, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindOctaveBandIndex(c.f, &bands), c.band) << c.f;

    const COctaveManagerEx empty(OCTAVE_BAND_USER);
    EXPECT_EQ(FindOctaveBandIndex(15.0, &empty), -1);
    EXPECT_EQ(FindOctaveBandIndex(15.0, nullptr), -1); // no band set: no band

    EXPECT_DOUBLE_EQ(GetOrderFrequency(3000.0, 2.0, 1.5), 150.0);
    // 1188 RPM: 19.8 Hz lies in band 1, its whole-Hz part 19 in band 0.
    EXPECT_EQ(GetOrderBandIndex(1188.0, 1.0, 1.0, &bands), 1);
    EXPECT_EQ(GetOrderBandIndexInt(1188.0, 1.0, 1.0, &bands), 0);
}
