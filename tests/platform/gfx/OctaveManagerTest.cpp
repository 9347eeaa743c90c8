#include "platform/archive/Archive.h"
#include "platform/gfx/OctaveManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {
// Reference values written out from the standard's definitions, independent of the class.
double ThirdCentre(int x)
{
    return 1000.0 * std::pow(10.0, x / 10.0);
}
double OctaveCentre(int k)
{
    return 1000.0 * std::pow(10.0, 3.0 * k / 10.0);
}

void ExpectRel(double expected, double actual, const std::string& what)
{
    EXPECT_LE(std::fabs(actual - expected), 1e-9 * std::fabs(expected)) << what << ": " << actual << " vs " << expected;
}

std::vector<uint8_t> Store(const COctaveManager& m)
{
    std::vector<uint8_t> buf;
    CArchive ar(&buf, CArchive::store);
    const_cast<COctaveManager&>(m).Serialize(ar);
    ar.Close();
    return buf;
}
} // namespace

TEST(OctaveManager, ThirdOctaveCentresEdgesAndLabelsFrom10HzTo20kHz)
{
    const std::vector<std::string> labels = {"10",   "12.5", "16",   "20",    "25",    "31.5",  "40",   "50",   "63",
                                             "80",   "100",  "125",  "160",   "200",   "250",   "315",  "400",  "500",
                                             "630",  "800",  "1000", "1250",  "1600",  "2000",  "2500", "3150", "4000",
                                             "5000", "6300", "8000", "10000", "12500", "16000", "20000"};
    COctaveManager m(OCTAVE_BAND_THIRD, 10.0, 20000.0);
    ASSERT_EQ(m.GetFreqCount(), 34);
    EXPECT_EQ(m.GetDomainType(), OCTAVE_BAND_THIRD);
    for (int i = 0; i < m.GetFreqCount(); ++i) {
        const int x = i - 20;
        ExpectRel(ThirdCentre(x), m.GetFreq(i), "centre " + labels[i]);
        ExpectRel(ThirdCentre(x) * std::pow(10.0, -1.0 / 20.0), m.GetLowerFreq(i), "lower " + labels[i]);
        ExpectRel(ThirdCentre(x) * std::pow(10.0, 1.0 / 20.0), m.GetUpperFreq(i), "upper " + labels[i]);
        EXPECT_EQ(m.GetFreqAsString(i), labels[i]);
        if (i > 0) {
            EXPECT_EQ(m.GetLowerFreq(i), m.GetUpperFreq(i - 1)) << "bands must share their edges";
        }
    }
    // The constructor from the kind alone covers the same range.
    EXPECT_TRUE(COctaveManager(OCTAVE_BAND_THIRD) == m);
}

TEST(OctaveManager, OctaveCentresEdgesAndLabels)
{
    const std::vector<std::string> labels = {"16",   "31.5", "63",   "125",  "250",  "500",
                                             "1000", "2000", "4000", "8000", "16000"};
    COctaveManagerEx m(OCTAVE_BAND_FULL, 16.0, 16000.0);
    ASSERT_EQ(m.GetFreqCount(), 11);
    for (int i = 0; i < m.GetFreqCount(); ++i) {
        const int k = i - 6;
        ExpectRel(OctaveCentre(k), m.GetFreq(i), "centre " + labels[i]);
        ExpectRel(OctaveCentre(k) * std::pow(10.0, -3.0 / 20.0), m.GetLowerFreq(i), "lower " + labels[i]);
        ExpectRel(OctaveCentre(k) * std::pow(10.0, 3.0 / 20.0), m.GetUpperFreq(i), "upper " + labels[i]);
        EXPECT_EQ(m.GetFreqAsString(i), labels[i]);
    }
}

TEST(OctaveManager, TwelfthOctaveBandsAreContiguousWithEvenDesignatorCentres)
{
    COctaveManager m(OCTAVE_BAND_TWELFTH, 99.0, 200.0);
    ASSERT_GT(m.GetFreqCount(), 0);
    const double g = std::pow(10.0, 0.3);
    for (int i = 0; i < m.GetFreqCount(); ++i) {
        // Even designator: centres at G^((2x+1)/24), so 1 kHz is an edge, not a centre.
        const double e = std::log(m.GetFreq(i) / 1000.0) / std::log(g) * 24.0;
        EXPECT_NEAR(e, std::round(e), 1e-9);
        EXPECT_NE(static_cast<long>(std::round(e)) % 2, 0);
        ExpectRel(m.GetFreq(i) * std::pow(g, 1.0 / 24.0), m.GetUpperFreq(i), "upper");
        if (i > 0) {
            EXPECT_EQ(m.GetLowerFreq(i), m.GetUpperFreq(i - 1));
        }
    }
    EXPECT_LE(m.GetLowerFreq(0), 99.0);
    EXPECT_GT(m.GetUpperFreq(0), 99.0);
    EXPECT_GT(m.GetUpperFreq(m.GetFreqCount() - 1), 200.0);
    // Twelfth-octave labels keep four significant digits.
    EXPECT_EQ(m.GetFreqAsString(0), "97.16");
}

// Every set, the default ones that are made once and any other range, holds exactly the computed
// centre and edges of its band numbers.
TEST(OctaveManager, BandsAreTheExactValuesOfTheirBandNumbersBitForBit)
{
    const struct
    {
        int kind;
        int b;
        double start, end;
    } cases[] = {
        {OCTAVE_BAND_THIRD, 3, COctaveManager::kDefaultStartFreq, COctaveManager::kDefaultEndFreq},
        {OCTAVE_BAND_FULL, 1, COctaveManager::kDefaultStartFreq, COctaveManager::kDefaultEndFreq},
        {OCTAVE_BAND_TWELFTH, 12, COctaveManager::kDefaultStartFreq, COctaveManager::kDefaultEndFreq},
        {OCTAVE_BAND_THIRD, 3, 2.0, 16000.0},
        {OCTAVE_BAND_FULL, 1, 0.01, 1e7},
        {OCTAVE_BAND_TWELFTH, 12, 99.0, 200.0},
        {OCTAVE_BAND_TWELFTH, 12, 1000.0, 1000.0},
    };
    for (const auto& c : cases)
        for (int round = 0; round < 2; ++round) {
            COctaveManagerEx m(c.kind, c.start, c.end);
            ASSERT_GT(m.GetFreqCount(), 0);
            // The band number of the first band, from its centre.
            const double e = 2.0 * c.b * std::log10(m.GetFreq(0) / 1000.0) / 0.3;
            const int x0 = static_cast<int>(std::lround(c.b % 2 != 0 ? e / 2.0 : (e - 1.0) / 2.0));
            for (int i = 0; i < m.GetFreqCount(); ++i) {
                const auto where = ::testing::Message() << "kind " << c.kind << " from " << c.start << " band " << i;
                EXPECT_EQ(m.GetFreq(i), COctaveManager::ExactCenter(c.b, x0 + i)) << where;
                EXPECT_EQ(m.GetLowerFreq(i), COctaveManager::ExactLower(c.b, x0 + i)) << where;
                EXPECT_EQ(m.GetUpperFreq(i), COctaveManager::ExactUpper(c.b, x0 + i)) << where;
            }
            EXPECT_LE(m.GetLowerFreq(0), std::min(c.start, c.end));
            EXPECT_GT(m.GetUpperFreq(m.GetFreqCount() - 1), std::max(c.start, c.end));
        }
}

TEST(OctaveManager, RangeSelectsTheBandsThatHoldStartAndEnd)
{
    // 2 Hz to 16 kHz is how the band values of measured blocks are made.
    COctaveManager m(OCTAVE_BAND_THIRD, 2.0, 16000.0);
    EXPECT_EQ(m.GetFreqAsString(0), "2");
    EXPECT_EQ(m.GetFreqAsString(m.GetFreqCount() - 1), "16000");
    // A set rebuilt from its first and last centres is the same set.
    COctaveManager again(m.GetDomainType(), m.GetFreq(0), m.GetFreq(m.GetFreqCount() - 1));
    EXPECT_TRUE(again == m);
    // A reversed range is read the right way round; an unusable one falls back to the default.
    EXPECT_TRUE(COctaveManager(OCTAVE_BAND_THIRD, 16000.0, 2.0) == m);
    EXPECT_TRUE(COctaveManager(OCTAVE_BAND_THIRD, 0.0, -5.0) == COctaveManager(OCTAVE_BAND_THIRD));
    EXPECT_TRUE(COctaveManager(OCTAVE_BAND_THIRD, std::nan(""), 100.0) == COctaveManager(OCTAVE_BAND_THIRD));
}

// Ranges whose logarithm leaves the band numbering (subnormal ends) or that would give absurdly many
// bands are refused before a band is computed: the default set comes at once.
TEST(OctaveManager, RangesThatCannotGiveASaneSetAreRefusedBeforeAnyBandIsMade)
{
    const double denormal = 1e-322;
    struct Case
    {
        int kind;
        double start, end;
        bool usable;
    } cases[] = {
        {OCTAVE_BAND_THIRD, 100.0, 10000.0, true},
        {OCTAVE_BAND_TWELFTH, 1e-3, 1e6, true},
        {OCTAVE_BAND_THIRD, denormal, 10000.0, false},
        {OCTAVE_BAND_FULL, 100.0, denormal, false},
        {OCTAVE_BAND_THIRD, 0.0, 100.0, false},
        {OCTAVE_BAND_THIRD, -100.0, 100.0, false},
        {OCTAVE_BAND_THIRD, std::numeric_limits<double>::infinity(), 100.0, false},
        {OCTAVE_BAND_TWELFTH, 1e-300, 1e300, false},
        {OCTAVE_BAND_FULL, 1e-300, 1e300, false}, // 3,300 octaves: over the bound
    };
    for (const Case& c : cases) {
        const std::string why = COctaveManager::CheckBuildRange(c.kind, c.start, c.end);
        EXPECT_EQ(why.empty(), c.usable) << c.start << " " << c.end << ": " << why;
        const COctaveManager m(c.kind, c.start, c.end);
        EXPECT_LE(m.GetFreqCount(), COctaveManager::kMaxBands);
        if (!c.usable) {
            EXPECT_TRUE(m == COctaveManager(c.kind)) << c.start << " " << c.end;
        }
    }
    // The checks the binary reader applies are the ones the text readers call.
    EXPECT_FALSE(COctaveManager::CheckKind(7).empty());
    EXPECT_TRUE(COctaveManager::CheckKind(OCTAVE_BAND_USER).empty());
    EXPECT_FALSE(COctaveManager::CheckRange(std::nan(""), 1.0).empty());
    EXPECT_FALSE(CFreqInfo::CheckEdges(100.0, 112.0, 89.0).empty());
    EXPECT_TRUE(CFreqInfo::CheckEdges(100.0, 89.0, 112.0).empty());
}

TEST(OctaveManager, FindBandNeverAnswersPastTheEnd)
{
    COctaveManager empty(OCTAVE_BAND_USER);
    EXPECT_EQ(empty.GetFreqCount(), 0);
    EXPECT_EQ(empty.FindBand(1000.0), -1);

    COctaveManager m(OCTAVE_BAND_THIRD, 100.0, 1000.0);
    const int last = m.GetFreqCount() - 1;
    struct Case
    {
        double f;
        int expected;
    } cases[] = {
        {m.GetLowerFreq(0) * 0.999, -1},
        {m.GetLowerFreq(0), 0},
        {100.0, 0},
        {m.GetUpperFreq(0), 1}, // a shared edge belongs to the upper band
        {1000.0, last},
        {m.GetUpperFreq(last), -1},
        {1e9, -1},
        {-1.0, -1},
        {std::nan(""), -1},
        {std::numeric_limits<double>::infinity(), -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(m.FindBand(c.f), c.expected) << c.f;
}

TEST(OctaveManager, IndexOutsideTheSetGivesZeroAndEmptyLabel)
{
    COctaveManager m(OCTAVE_BAND_FULL, 125.0, 1000.0);
    for (int i : {-1, m.GetFreqCount(), 1 << 30}) {
        EXPECT_EQ(m.GetFreq(i), 0.0);
        EXPECT_EQ(m.GetLowerFreq(i), 0.0);
        EXPECT_EQ(m.GetUpperFreq(i), 0.0);
        EXPECT_EQ(m.GetFreqAsString(i), "");
    }
    EXPECT_THROW(m.GetFreqInfo(m.GetFreqCount()), std::out_of_range);
}

TEST(OctaveManager, UserDefinedSetsGrowByAddFreqInfoAndCompareByBands)
{
    COctaveManagerEx lines(OCTAVE_BAND_USER);
    for (int k = 1; k <= 3; ++k)
        lines.AddFreqInfo(k * 2.5, k * 2.5 - 1.25, k * 2.5 + 1.25, OCTAVE_BAND_USER);
    ASSERT_EQ(lines.GetFreqCount(), 3);
    EXPECT_EQ(lines.GetFreqAsString(1), "5");
    EXPECT_EQ(lines.GetFreqAsString(2), "7.5");
    EXPECT_EQ(lines.FindBand(6.25), 2);

    COctaveManagerEx copy(lines);
    EXPECT_TRUE(copy == lines);
    copy.AddFreqInfo(10.0, 8.75, 11.25, OCTAVE_BAND_USER);
    EXPECT_FALSE(copy == lines);
    copy = lines;
    EXPECT_TRUE(copy == lines);

    // A copy of a plain set keeps kind and bands.
    COctaveManager third(OCTAVE_BAND_THIRD, 100.0, 400.0);
    COctaveManagerEx fromPlain(third);
    EXPECT_TRUE(fromPlain == third);
    EXPECT_FALSE(fromPlain == lines);
}

TEST(OctaveManager, ArchiveRoundTripKeepsKindRangeAndBands)
{
    COctaveManagerEx user(OCTAVE_BAND_USER);
    user.AddFreqInfo(93.64, 90.98, 96.39, 3);
    user.AddFreqInfo(99.21, 96.39, 102.1, 3);
    for (const COctaveManager* original :
         {static_cast<const COctaveManager*>(&user),
          static_cast<const COctaveManager*>(new COctaveManagerEx(OCTAVE_BAND_FULL))}) {
        std::vector<uint8_t> buf = Store(*original);
        // Legacy readers create a set of kind 3 and let it read itself.
        COctaveManagerEx back(OCTAVE_BAND_USER);
        CArchive in(&buf, CArchive::load);
        back.Serialize(in);
        EXPECT_TRUE(back == *original);
        EXPECT_EQ(back.GetStartFreq(), original->GetStartFreq());
        EXPECT_EQ(back.GetEndFreq(), original->GetEndFreq());
        EXPECT_EQ(in.BytesRemaining(), 0u);
        if (original != &user)
            delete original;
    }

    // As an object record, re-created by class name.
    std::vector<uint8_t> buf;
    {
        CArchive out(&buf, CArchive::store);
        out.WriteObject(&user);
        out.Close();
    }
    CArchive in(&buf, CArchive::load);
    std::unique_ptr<CObject> obj(in.ReadObject(RUNTIME_CLASS(COctaveManager)));
    auto* back = DynamicDowncast<COctaveManagerEx>(obj.get());
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(*back == user);
}

TEST(OctaveManager, DamagedArchivesFailCleanlyAndLeaveTheSetAsItWas)
{
    COctaveManagerEx source(OCTAVE_BAND_THIRD, 100.0, 1000.0);
    const std::vector<uint8_t> good = Store(source);

    auto readInto = [](std::vector<uint8_t> bytes, COctaveManager& target) {
        CArchive in(&bytes, CArchive::load);
        target.Serialize(in);
    };

    // Every truncation fails with an archive exception.
    for (size_t n = 0; n < good.size(); ++n) {
        COctaveManagerEx target(OCTAVE_BAND_FULL, 125.0, 500.0);
        const COctaveManagerEx before(target);
        EXPECT_THROW(readInto(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(n)), target),
                     CArchiveException)
            << n;
        EXPECT_TRUE(target == before) << n;
    }

    struct Patch
    {
        size_t offset;
        std::vector<uint8_t> bytes;
        const char* what;
    } patches[] = {
        {0, {0x07, 0, 0, 0}, "unknown version"},
        {4, {0x09, 0, 0, 0}, "unknown kind"},
        {24, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}, "forged count"},
        {26 + 8, {0, 0, 0, 0, 0, 0, 0xF8, 0x7F}, "NaN edge"},
    };
    for (const Patch& p : patches) {
        std::vector<uint8_t> bad = good;
        std::copy(p.bytes.begin(), p.bytes.end(), bad.begin() + static_cast<long>(p.offset));
        COctaveManagerEx target(OCTAVE_BAND_USER);
        EXPECT_THROW(readInto(bad, target), CArchiveException) << p.what;
        EXPECT_EQ(target.GetFreqCount(), 0) << p.what;
    }
}

TEST(OctaveManager, NominalLabelOnlyForExactCentres)
{
    EXPECT_EQ(COctaveManager::NominalLabel(ThirdCentre(0)), "1000");
    EXPECT_EQ(COctaveManager::NominalLabel(ThirdCentre(-15)), "31.5");
    EXPECT_EQ(COctaveManager::NominalLabel(ThirdCentre(-31)), "0.8");
    EXPECT_EQ(COctaveManager::NominalLabel(1250.0), "");
    EXPECT_EQ(COctaveManager::NominalLabel(0.0), "");
    EXPECT_EQ(COctaveManager::NominalLabel(-1000.0), "");
    EXPECT_EQ(COctaveManager::NominalLabel(std::numeric_limits<double>::infinity()), "");
}
