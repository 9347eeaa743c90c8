// Dataset 58 index records, value reading and the scanner over files the tests make.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "UFTestFiles.h"
#include "platform/archive/Archive.h"
#include "platform/base/RecordingFeedback.h"
#include "uff/DAQPPFreqData.h"
#include "uff/DAQPPRpmData.h"
#include "uff/DAQPPUFIndex.h"
#include "uff/UFLineReader.h"
#include "uff/UFScan.h"
#include "uff/UFScanner.h"

namespace fs = std::filesystem;

namespace {

fs::path TempDir()
{
    static const fs::path dir = [] {
        auto p = fs::temp_directory_path() / ("orvex_uff_tests_" + std::to_string(getpid()));
        fs::create_directories(p);
        return p;
    }();
    return dir;
}

// Indexes text as a universal file; the first index record.
std::vector<std::unique_ptr<CDAQPPUFIndex>> Index(const std::string& text, std::string* error = nullptr,
                                                  const std::string& name = "test.unv")
{
    const fs::path path = TempDir() / name;
    WriteFile(path, text);
    std::vector<std::unique_ptr<CDAQPPUFIndex>> out;
    std::string e;
    EXPECT_EQ(CUFScanner::Scan(path.string(), out, &e), error ? 0 : 1) << e;
    if (error)
        *error = e;
    return out;
}

time_t LocalTime(int y, int mo, int d, int h, int mi, int s)
{
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

} // namespace

TEST(UF58Index, HeaderOfColumnAndWordFilesReadsTheSame)
{
    for (bool words : {false, true}) {
        UF58Fields ds;
        ds.wordRecords = words;
        ds.numbers = {1, 2, 3, 4};
        auto index = Index(Dataset58(ds));
        ASSERT_EQ(index.size(), 1u);
        const CDAQPPUFIndex& x = *index[0];
        EXPECT_EQ(x.GetOffset(), 14); // after "    -1\n    58\n"
        EXPECT_EQ(x.GetFileTitle(), "test.unv");
        EXPECT_EQ(x.GetIDLine(0), ds.id1);
        EXPECT_EQ(x.GetCreated(), LocalTime(2024, 1, 15, 10, 30, 0));
        EXPECT_EQ(x.GetFuncType(), 3);
        EXPECT_EQ(x.GetRespEntity(), "Floor");
        EXPECT_EQ(x.GetRespNode(), 7);
        EXPECT_EQ(x.GetRespDir(), 3);
        EXPECT_EQ(x.GetRefEntity(), "Roof");
        EXPECT_EQ(x.GetRefNode(), 4);
        EXPECT_EQ(x.GetRefDir(), -3);
        EXPECT_EQ(x.GetOrdDataType(), 5);
        EXPECT_EQ(x.GetNumValues(), 2);
        EXPECT_EQ(x.GetEvenSpacing(), 1);
        EXPECT_EQ(x.GetAbscMin(), 0.0);
        EXPECT_EQ(x.GetAbscIncrement(), 2.5);
        EXPECT_EQ(x.GetAxisDataType(0), 18);
        EXPECT_EQ(x.GetAxisLabel(1), "Response");
        EXPECT_EQ(x.GetAxisUnits(1), "m/s2");
        EXPECT_EQ(x.GetAxisUnits(3), "NONE");
        // The points of ID line 1 and the identifier of ID line 2.
        EXPECT_EQ(x.GetSubsystem(), "Floor");
        EXPECT_EQ(x.GetLP(), 6);
        EXPECT_EQ(x.GetSubsystem2(), "Roof");
        EXPECT_EQ(x.GetLP2(), 3);
        EXPECT_EQ(x.GetUID(), "ABC123");
    }
}

TEST(UF58Index, NamesWithBlanksReadByTheirColumns)
{
    UF58Fields ds;
    ds.respEntity = "Front Door";
    ds.refEntity = "B s\xe4ule"; // an 8-bit name of an older program
    ds.ordLabel = "Response Amplitude";
    ds.ordUnits = "m/s2 rms";
    ds.numbers = {1, 2};
    auto index = Index(Dataset58(ds));
    ASSERT_EQ(index.size(), 1u);
    EXPECT_EQ(index[0]->GetRespEntity(), "Front Door");
    EXPECT_EQ(index[0]->GetRespNode(), 7);
    EXPECT_EQ(index[0]->GetRefEntity(), "B s\u00e4ule");
    EXPECT_EQ(index[0]->GetRefDir(), -3);
    EXPECT_EQ(index[0]->GetAxisLabel(1), "Response Amplitude");
    EXPECT_EQ(index[0]->GetAxisUnits(1), "m/s2 rms");
    EXPECT_EQ(index[0]->GetAxisLabel(0), "Frequency");
}

TEST(UF58Index, NodeNumbersFromEntityNamesAndIDLines)
{
    UF58Fields ds;
    ds.wordRecords = true;
    ds.respEntity = "123";
    ds.respNode = 0;
    ds.refEntity = "X";
    ds.refNode = 0;
    ds.id2 = "42";
    ds.numbers = {1, 2};
    auto index = Index(Dataset58(ds));
    ASSERT_EQ(index.size(), 1u);
    EXPECT_EQ(index[0]->GetRespNode(), 123);
    EXPECT_EQ(index[0]->GetRefNode(), 42); // entity "X" is no number: ID line 2 is
    EXPECT_EQ(index[0]->GetUID(), "42");
}

TEST(UF58Index, PointsAndIdentifiersOfTheIDLines)
{
    struct Case
    {
        const char* id1;
        const char* id2;
        const char* subsystem;
        int lp;
        const char* subsystem2;
        int lp2;
        const char* uid;
    };
    const Case cases[] = {
        {"name dir Roof_12", "[UID=ABC123]", "Roof", 11, "Roof", 11, "ABC123"},
        {"name dir A:Roof:3", "ABC123", "Roof", 2, "Roof", 2, "ABC123"},
        {"name dir Roof", "[X]", "Roof", -1, "Roof", -1, "[X]"},
        {"name dir Roof_4/Floor_7     ", "[UID=Q7]    ", "Floor", 6, "Roof", 3, "Q7"},
        {"name dir /Floor_2", "", "/Floor", 1, "/Floor", 1, ""},
        {"nameonly Roof_4", "x", "", -1, "", -1, "x"},
    };
    for (const auto& c : cases) {
        UF58Fields ds;
        ds.id1 = c.id1;
        ds.id2 = c.id2;
        ds.numbers = {1, 2};
        auto index = Index(Dataset58(ds));
        ASSERT_EQ(index.size(), 1u) << c.id1;
        EXPECT_EQ(index[0]->GetSubsystem(), c.subsystem) << c.id1;
        EXPECT_EQ(index[0]->GetLP(), c.lp) << c.id1;
        EXPECT_EQ(index[0]->GetSubsystem2(), c.subsystem2) << c.id1;
        EXPECT_EQ(index[0]->GetLP2(), c.lp2) << c.id1;
        EXPECT_EQ(index[0]->GetUID(), c.uid) << c.id1;
    }
}

TEST(UF58Index, DatesOfIDLine3)
{
    struct Case
    {
        const char* text;
        int y, mo, d, h, mi, s;
    };
    const Case good[] = {
        {"15-Jan-24 10:30:00", 2024, 1, 15, 10, 30, 0}, {"15-JAN-99 23:59:59", 1999, 1, 15, 23, 59, 59},
        {"1/15/2024 10:30:00", 2024, 1, 15, 10, 30, 0}, {"12/31/29", 2029, 12, 31, 0, 0, 0},
        {"3/4/30 1:02 PM", 1930, 3, 4, 13, 2, 0},       {"January 15, 2024", 2024, 1, 15, 0, 0, 0},
        {"2024-02-29 08:00", 2024, 2, 29, 8, 0, 0},     {"10:30:00 15 Jan 2024", 2024, 1, 15, 10, 30, 0},
    };
    for (const auto& c : good) {
        std::tm tm{};
        ASSERT_TRUE(ParseUFDateTime(c.text, tm)) << c.text;
        EXPECT_EQ(tm.tm_year + 1900, c.y) << c.text;
        EXPECT_EQ(tm.tm_mon + 1, c.mo) << c.text;
        EXPECT_EQ(tm.tm_mday, c.d) << c.text;
        EXPECT_EQ(tm.tm_hour, c.h) << c.text;
        EXPECT_EQ(tm.tm_min, c.mi) << c.text;
        EXPECT_EQ(tm.tm_sec, c.s) << c.text;
    }
    for (const char* bad :
         {"NONE", "", "10:30:00", "2/30/2024", "13/1/2024", "15-Foo-24", "1/2/3/4", "25:00 1/1/24", "Date: 1/1/24"}) {
        std::tm tm{};
        EXPECT_FALSE(ParseUFDateTime(bad, tm)) << bad;
    }
}

TEST(UF58Index, AnIDLine3ThatIsNoDateFailsWithFileAndPosition)
{
    UF58Fields good;
    good.numbers = {1, 2};
    UF58Fields bad = good;
    bad.id3 = "NONE";
    std::string error;
    auto index = Index(Dataset58(good) + Dataset58(bad), &error, "nodate.unv");
    EXPECT_EQ(index.size(), 1u);
    EXPECT_EQ(error.rfind("Filed to make a UF index data.\nname dir Roof_4/Floor_7\n[UID=ABC123]\nNONE\n", 0), 0u)
        << error;
    EXPECT_NE(error.find("nodate.unv"), std::string::npos);
    EXPECT_NE(error.find(Format("Byte position: %zu", Dataset58(good).size() + 14)), std::string::npos) << error;
}

TEST(UF58Index, StoredAndLoadedWithEveryField)
{
    UF58Fields ds;
    ds.absMin = 12.5;
    ds.absInc = 0.25;
    ds.numbers = {1, 2};
    auto index = Index(Dataset58(ds));
    ASSERT_EQ(index.size(), 1u);
    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        ar.WriteObject(index[0].get());
    }
    CArchive ar(bytes.data(), bytes.size());
    auto back = ar.ReadOwned<CDAQPPUFIndex>();
    ASSERT_NE(back, nullptr);
    std::vector<uint8_t> again;
    {
        CArchive out(&again, CArchive::store);
        out.WriteObject(back.get());
    }
    EXPECT_EQ(again, bytes);
    EXPECT_EQ(back->GetAbscIncrement(), 0.25);
    EXPECT_EQ(back->GetAbscMin(), 12.5);
    EXPECT_EQ(back->GetRefDir(), -3);
    EXPECT_EQ(back->GetIDLine(4), "NONE");
    EXPECT_EQ(back->GetSubsystem2(), "Roof");
    EXPECT_EQ(back->GetFile(), index[0]->GetFile());

    // Copying keeps the target's type and ID lines.
    CDAQPPUFIndex copy;
    copy = *back;
    EXPECT_EQ(copy.GetIDLine(0), "");
    EXPECT_EQ(copy.GetUID(), "ABC123");
    EXPECT_EQ(copy.GetOffset(), back->GetOffset());
}

TEST(UFScan, NumbersAsTheCLibraryReadsThem)
{
    double v[6] = {};
    ASSERT_EQ(uf::ScanNumbers("-1.2E+01-3.4E+01", v, 6), 2);
    EXPECT_EQ(v[0], -12.0);
    EXPECT_EQ(v[1], -34.0);
    EXPECT_EQ(uf::ScanNumbers("  1.5 +2 x 4", v, 6), 2);
    EXPECT_EQ(v[1], 2.0);
    EXPECT_EQ(uf::ScanNumbers("1 2 3 4 5 6 7", v, 6), 6);
    EXPECT_EQ(uf::ScanNumbers("1e400 -1e-400", v, 6), 2);
    EXPECT_TRUE(std::isinf(v[0]));
    EXPECT_EQ(v[1], 0.0);
    // The fast path of the fixed fields gives what from_chars gives, to the bit.
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-30, 30);
    for (int i = 0; i < 20000; ++i) {
        const double x = mantissa(random) * std::pow(10.0, exponent(random));
        for (const char* form : {"%13.5E", "%.12g", "%.17g"}) {
            const std::string text = Format(form, x);
            double fast = 0.0;
            ASSERT_EQ(uf::ScanNumbers(text, &fast, 1), 1);
            EXPECT_EQ(fast, std::strtod(text.c_str(), nullptr)) << text;
        }
    }
    EXPECT_TRUE(uf::IsDelimiter("    -1"));
    EXPECT_TRUE(uf::IsDelimiter("    -1   \r"));
    EXPECT_FALSE(uf::IsDelimiter("    -1.00000E+00"));
    EXPECT_FALSE(uf::IsDelimiter("   -1"));
}

// The fixed lines are read by wide registers where the processor has them and one field at a time
// elsewhere: both take the same lines and give the same bits, whichever byte of a line is spoilt,
// whatever its exponents, line end and the room left in the output.
TEST(UFScan, FixedLinesReadAlikeWithAndWithoutWideRegisters)
{
    const std::string good = "  1.23456E-03 -9.87654E+02  0.00000E+00 -0.00000E-00  5.00001E+17 -7.77777E-17";
    ASSERT_EQ(good.size(), 78u);
    std::vector<std::string> lines;
    for (size_t at = 0; at <= good.size(); ++at)
        for (char c : std::string(" -+.Ee09x:/\r\n\t\0\xB0", 16)) {
            std::string line = good + "\n";
            line[at] = c;
            lines.push_back(line);
        }
    for (int e = 0; e < 100; e += 3)
        for (const char* sign : {"+", "-"}) {
            std::string line = good + "\n";
            line.replace(13 * (e % 6) + 10, 3, Format("%s%02d", sign, e));
            lines.push_back(line);
        }
    lines.push_back(good + "\r\n");
    lines.push_back(good + "\r");
    lines.push_back(good.substr(0, 65) + "\n");
    for (const std::string& line : lines)
        for (size_t count : {size_t{5}, size_t{6}, size_t{11}, size_t{12}, size_t{30}}) {
            // The line between two good ones, then a delimiter.
            const std::string text = good + "\n" + line + good + "\n    -1\n";
            std::vector<double> wide(count + 6, 1.0), portable(count + 6, 1.0);
            size_t widePos = 0, portablePos = 0;
            const size_t n = uf::ScanFixedLines(text, widePos, wide.data(), count);
            ASSERT_EQ(n, uf::ScanFixedLinesPortable(text, portablePos, portable.data(), count)) << line;
            ASSERT_EQ(widePos, portablePos) << line;
            for (size_t i = 0; i < n; ++i)
                ASSERT_EQ(std::bit_cast<uint64_t>(wide[i]), std::bit_cast<uint64_t>(portable[i])) << line << i;
        }
    double v[12];
    size_t pos = 0;
    const std::string two = good + "\n" + good + "\n";
    ASSERT_EQ(uf::ScanFixedLines(two, pos, v, 12), 12u);
    EXPECT_EQ(pos, two.size());
    EXPECT_EQ(v[0], 1.23456E-03);
    EXPECT_EQ(v[1], -9.87654E+02);
    EXPECT_TRUE(std::signbit(v[3]) && v[3] == 0.0);
    EXPECT_EQ(v[4], 5.00001E+17);
    EXPECT_EQ(v[11], -7.77777E-17);
}

namespace {

std::unique_ptr<CDAQPPFreqData> FreqData(const UF58Fields& ds, const char* eol = "\n",
                                         const std::string& name = "v.unv")
{
    auto index = Index(Dataset58(ds, eol), nullptr, name);
    auto data = std::make_unique<CDAQPPFreqData>();
    if (!index.empty())
        data->SetIndex(*index[0]);
    return data;
}

} // namespace

TEST(DAQPPFreqData, ComplexValuesOverTwoLinesWithEachOption)
{
    UF58Fields ds;
    ds.funcType = 6;
    ds.numbers = {1, -2, 4, 9, -1, 0.5, 16, -4, 99, 99};
    ds.declared = 4; // the rest of the second line is not read
    for (const char* eol : {"\n", "\r\n"}) {
        auto data = FreqData(ds, eol);
        ASSERT_EQ(data->LoadData(TempDir().string(), {}), 1);
        ASSERT_EQ(data->GetValues().size(), 4u);
        EXPECT_TRUE(data->GetValues().IsComplex());
        EXPECT_EQ(data->GetValues()[0], std::complex<double>(1, -2));
        EXPECT_EQ(data->GetValues()[3], std::complex<double>(16, -4));
        EXPECT_EQ(data->GetAbscissa(2), 5.0);
    }
    auto data = FreqData(ds);
    const std::string folder = TempDir().string();
    ASSERT_EQ(data->LoadData(folder, {1, 1, 0, 0}), 1);
    EXPECT_EQ(data->GetValues()[0], std::complex<double>(1, 2)); // conjugate
    ASSERT_EQ(data->LoadData(folder, {1, 0, 1, 0}), 1);
    EXPECT_DOUBLE_EQ(data->GetValues()[1].real(), 4 * 9.80665);
    ASSERT_EQ(data->LoadData(folder, {1, 0, 0, 1}), 1);
    const std::complex<double> root = std::sqrt(std::complex<double>(-1, 0.5));
    EXPECT_EQ(data->GetValues()[2], root);

    // Function type 6 with "%" units: 0.01 more.
    ds.ordUnits = "%";
    data = FreqData(ds);
    ASSERT_EQ(data->LoadData(folder, {1, 0, 1, 0}), 1);
    EXPECT_DOUBLE_EQ(data->GetValues()[1].real(), 4 * 9.80665 * 0.01);
    ds.funcType = 3;
    data = FreqData(ds);
    ASSERT_EQ(data->LoadData(folder, {1, 0, 1, 0}), 1);
    EXPECT_DOUBLE_EQ(data->GetValues()[1].real(), 4 * 9.80665);
}

TEST(DAQPPFreqData, RealValuesInTouchingFields)
{
    UF58Fields ds;
    ds.ordType = 2;
    ds.numbers = {-12, -34, 5, 6, -7, 8, 9.5, 0.25};
    auto data = FreqData(ds);
    UFReadOptions sqrt;
    sqrt.bSqrt = 1;
    sqrt.bConjugate = 1;
    ASSERT_EQ(data->LoadData(TempDir().string(), sqrt), 1);
    ASSERT_EQ(data->GetValues().size(), 8u);
    EXPECT_TRUE(std::isnan(data->GetValues()[0].real()));
    EXPECT_EQ(data->GetValues()[7], std::complex<double>(0.5, 0.0));
    EXPECT_EQ(data->GetValues()[6].imag(), 0.0);
    // Real numbers are held as doubles, not as complex numbers with a zero imaginary part.
    EXPECT_FALSE(data->GetValues().IsComplex());
    EXPECT_EQ(data->GetValues().Real().size(), 8u);
    EXPECT_TRUE(data->GetValues().Complex().empty());
    EXPECT_DOUBLE_EQ(data->GetValues().Norm(5), 8.0);
}

TEST(DAQPPFreqData, SecondLoadWithoutReloadDoesNotTouchTheFile)
{
    UF58Fields ds;
    ds.numbers = {1, 2, 3, 4};
    auto data = FreqData(ds, "\n", "gone.unv");
    ASSERT_EQ(data->LoadData(TempDir().string(), {}), 1);
    fs::remove(TempDir() / "gone.unv");
    EXPECT_EQ(data->LoadData(TempDir().string(), {}), 1);
    EXPECT_EQ(data->GetValues().size(), 2u);
    UFReadOptions reload;
    reload.bReload = 1;
    EXPECT_EQ(data->LoadData(TempDir().string(), reload), 0);

    // Stored and loaded: the index stays, the values do not.
    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        ar.WriteObject(data.get());
    }
    CArchive ar(bytes.data(), bytes.size());
    auto back = ar.ReadOwned<CDAQPPFreqData>();
    ASSERT_NE(back, nullptr);
    ASSERT_NE(back->GetIndex(), nullptr);
    EXPECT_EQ(back->GetIndex()->GetUID(), "ABC123");
    EXPECT_TRUE(back->GetValues().empty());
}

TEST(DAQPPFreqData, ADatasetShortOfValuesFailsBeforeTheNextHeader)
{
    UF58Fields shortOne;
    shortOne.numbers = {1, 2, 3, 4};
    shortOne.declared = 5;
    UF58Fields next;
    next.numbers = {7, 8, 9, 10, 11, 12};
    auto index = Index(Dataset58(shortOne) + Dataset58(next), nullptr, "short.unv");
    ASSERT_EQ(index.size(), 2u);
    CDAQPPFreqData data;
    data.SetIndex(*index[0]);
    std::string error;
    EXPECT_EQ(data.LoadData(TempDir().string(), {}, &error), 0);
    EXPECT_NE(error.find("fewer values"), std::string::npos) << error;
    ASSERT_EQ(data.GetValues().size(), 5u);
    EXPECT_EQ(data.GetValues()[1], std::complex<double>(3, 4));
    EXPECT_EQ(data.GetValues()[2], std::complex<double>()); // nothing of the next dataset
    // A failed read is not taken for a loaded one.
    EXPECT_EQ(data.LoadData(TempDir().string(), {}, &error), 0);

    // A count the file cannot hold is refused before anything is allocated.
    shortOne.declared = 200000000;
    auto huge = Index(Dataset58(shortOne), nullptr, "huge.unv");
    ASSERT_EQ(huge.size(), 1u);
    CDAQPPFreqData big;
    big.SetIndex(*huge[0]);
    EXPECT_EQ(big.LoadData(TempDir().string(), {}, &error), 0);
    EXPECT_NE(error.find("more values"), std::string::npos) << error;
}

// Whole lines of six E13.5 fields are read in place, any other line as the C library reads it: the
// values are the same as reading every line by itself, whatever the lines between hold.
TEST(DAQPPFreqData, FixedFieldLinesReadAsLineByLine)
{
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-25, 25);
    auto fields = [&](int count, const char* form) {
        std::string t;
        for (int i = 0; i < count; ++i)
            t += Format(form, mantissa(random) * std::pow(10.0, exponent(random)));
        return t;
    };
    std::vector<std::string> lines;
    for (int i = 0; i < 3000; ++i) {
        std::string line = fields(6, "%13.5E");
        switch (random() % 8) {
        case 0:
            line[random() % line.size()] = "x9 .E-:"[random() % 7]; // one character spoilt
            break;
        case 1:
            line += fields(1, "%13.5E"); // a seventh field, passed over
            break;
        case 2:
            line = fields(5, "%13.5E");
            break;
        case 3:
            line = fields(6, "%12.5E"); // touching fields
            break;
        case 4:
            line.replace(13, 13, Format("%13.5E", 1.5e-100)); // a three-digit exponent
            break;
        case 5:
            line += "\r";
            break;
        }
        lines.push_back(line);
    }
    // The numbers as the C library reads each line by itself: up to six, until a field is no number.
    std::vector<double> expected;
    for (const std::string& line : lines) {
        const char* p = line.c_str();
        for (int n = 0; n < 6; ++n) {
            char* end = nullptr;
            const double v = std::strtod(p, &end);
            if (end == p)
                break;
            expected.push_back(v);
            p = end;
        }
    }
    UF58Fields ds;
    ds.ordType = 2;
    ds.declared = static_cast<int>(expected.size());
    std::string text = Dataset58(ds);
    text.resize(text.size() - 7); // the closing line goes after the values
    for (const std::string& line : lines)
        text += line + "\n";
    text += "    -1\n";
    const fs::path path = TempDir() / "fixed.unv";
    WriteFile(path, text);
    std::vector<std::unique_ptr<CDAQPPUFIndex>> index;
    ASSERT_EQ(CUFScanner::Scan(path.string(), index, nullptr), 1);
    ASSERT_EQ(index.size(), 1u);
    CDAQPPFreqData data;
    data.SetIndex(*index[0]);
    std::string error;
    ASSERT_EQ(data.LoadData(TempDir().string(), {}, &error), 1) << error;
    ASSERT_EQ(data.GetValues().Real().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(std::bit_cast<uint64_t>(data.GetValues().Real()[i]), std::bit_cast<uint64_t>(expected[i])) << i;
}

TEST(DAQPPFreqData, FormsItCannotReadAreRefused)
{
    CRecordingFeedback feedback;
    struct Case
    {
        int ordType;
        int spacing;
    };
    for (const Case c : {Case{4, 1}, Case{6, 1}, Case{1, 1}, Case{5, 0}}) {
        UF58Fields ds;
        ds.ordType = c.ordType;
        ds.spacing = c.spacing;
        ds.numbers = {1, 2, 3, 4, 5, 6};
        auto data = FreqData(ds);
        EXPECT_EQ(data->LoadData(TempDir().string(), {}, &feedback), 0);
    }
    ASSERT_EQ(feedback.ReportTexts(CFeedback::ESeverity::Warning).size(), 4u);
    EXPECT_EQ(feedback.reports[0].text, "Unsupported data form of universal file.");
}

TEST(DAQPPRpmData, UnevenComplexValuesWithTheirRpm)
{
    UF58Fields ds;
    ds.spacing = 0;
    ds.numbers = {1000, 1, 2, 1500, 3, -4, 2000, 5, 6};
    auto index = Index(Dataset58(ds), nullptr, "rpm.unv");
    ASSERT_EQ(index.size(), 1u);
    CDAQPPRpmData data;
    data.SetIndex(*index[0]);
    UFReadOptions options;
    options.bConjugate = 1;
    ASSERT_EQ(data.LoadData(TempDir().string(), options), 1);
    EXPECT_EQ(data.GetRpm(), (std::vector<double>{1000, 1500, 2000}));
    EXPECT_EQ(data.GetValues()[1], std::complex<double>(3, 4));

    CRecordingFeedback feedback;
    ds.spacing = 1; // an even spectrum holds no RPM
    auto even = Index(Dataset58(ds), nullptr, "even.unv");
    CDAQPPRpmData wrong;
    wrong.SetIndex(*even[0]);
    EXPECT_EQ(wrong.LoadData(TempDir().string(), options, &feedback), 0);
    EXPECT_EQ(feedback.reports.size(), 1u);
}

TEST(DAQPPUFData, DatasetsLoadedOnSeveralThreadsMatchOneByOne)
{
    std::string text;
    for (int d = 0; d < 40; ++d) {
        UF58Fields ds;
        for (int i = 0; i < 200; ++i)
            ds.numbers.push_back(d * 1000 + i * 0.5);
        text += Dataset58(ds);
    }
    auto index = Index(text, nullptr, "many.unv");
    ASSERT_EQ(index.size(), 40u);
    std::vector<std::unique_ptr<CDAQPPFreqData>> owned;
    std::vector<CDAQPPUFData*> items;
    for (auto& x : index) {
        owned.push_back(std::make_unique<CDAQPPFreqData>());
        owned.back()->SetIndex(*x);
        items.push_back(owned.back().get());
    }
    std::vector<std::string> errors;
    EXPECT_EQ(CDAQPPUFData::LoadAll(items, TempDir().string(), {}, 4, &errors), 40);
    for (int d = 0; d < 40; ++d) {
        CDAQPPFreqData one;
        one.SetIndex(*index[static_cast<size_t>(d)]);
        ASSERT_EQ(one.LoadData(TempDir().string(), {}), 1);
        EXPECT_EQ(one.GetValues(), owned[static_cast<size_t>(d)]->GetValues());
        EXPECT_EQ(one.GetValues()[99], std::complex<double>(d * 1000 + 99, d * 1000 + 99.5));
    }
}

// A read of many datasets keeps their values in one shared block: each dataset's values stay right
// when the file is closed and the other datasets are freed, read again, copied or destroyed, and a
// dataset whose declared count the file cannot hold is refused as it is when read alone.
TEST(DAQPPUFData, ValuesReadTogetherOutliveTheFileAndTheOtherDatasets)
{
    // Over 4 MB of values, so the block is taken from the system in huge pages.
    constexpr int kDatasets = 6, kValues = 100000;
    std::string text;
    for (int d = 0; d < kDatasets; ++d) {
        UF58Fields ds;
        ds.ordType = d % 2 ? 2 : 5;
        const int numbers = d % 2 ? kValues : 2 * kValues;
        for (int i = 0; i < numbers; ++i)
            ds.numbers.push_back((d + 1) * 0.001 * (i % 97 - 48));
        if (d == 4)
            ds.declared = 5000000; // far more than the file holds
        text += Dataset58(ds);
    }
    auto index = Index(text, nullptr, "shared.unv");
    ASSERT_EQ(index.size(), static_cast<size_t>(kDatasets));
    std::vector<std::unique_ptr<CDAQPPFreqData>> alone, owned;
    std::vector<std::string> aloneErrors(kDatasets);
    std::vector<CDAQPPUFData*> items;
    for (int d = 0; d < kDatasets; ++d) {
        alone.push_back(std::make_unique<CDAQPPFreqData>());
        alone.back()->SetIndex(*index[static_cast<size_t>(d)]);
        EXPECT_EQ(alone.back()->LoadData(TempDir().string(), {}, &aloneErrors[static_cast<size_t>(d)]), d == 4 ? 0 : 1);
        owned.push_back(std::make_unique<CDAQPPFreqData>());
        owned.back()->SetIndex(*index[static_cast<size_t>(d)]);
        items.push_back(owned.back().get());
    }
    {
        CUFLineReader file;
        ASSERT_TRUE(file.Open((TempDir() / "shared.unv").string(), true));
        std::vector<std::string> errors;
        EXPECT_EQ(CDAQPPUFData::LoadAll(items, TempDir().string(), {}, 0, &errors, &file), kDatasets - 1);
        EXPECT_EQ(errors[4], aloneErrors[4]);
        EXPECT_NE(errors[4].find("more values"), std::string::npos) << errors[4];
    }
    ASSERT_TRUE(owned[1]->GetValues().Complex().empty());
    ASSERT_EQ(owned[1]->GetValues().Real().size(), static_cast<size_t>(kValues));

    owned[0]->ReleaseValues();
    owned[2].reset();
    UFReadOptions reload;
    reload.bReload = 1;
    ASSERT_EQ(owned[3]->LoadData(TempDir().string(), reload), 1);
    const CUFValues copy = owned[5]->GetValues();
    owned[5].reset();
    CUFValues moved = owned[1]->GetValues();
    owned[1]->ReleaseValues();

    EXPECT_TRUE(owned[0]->GetValues().empty());
    EXPECT_EQ(moved, alone[1]->GetValues());
    EXPECT_EQ(owned[3]->GetValues(), alone[3]->GetValues());
    EXPECT_EQ(copy, alone[5]->GetValues());
    EXPECT_EQ(copy[kValues - 1], std::complex<double>(6 * 0.001 * ((kValues - 1) % 97 - 48), 0.0));
    const CUFValues last = std::move(moved);
    EXPECT_TRUE(moved.empty());
    EXPECT_EQ(last, alone[1]->GetValues());
}

// A file read on every core gives what one thread gives: the same index, the same values, and the
// same refusal of a broken dataset in the middle, given for that dataset alone when loading and as
// the first broken header in file order when indexing.
TEST(DAQPPUFData, EveryCoreReadsWhatOneThreadReads)
{
    // About 5 MB, so the search between datasets runs on several threads.
    constexpr int kDatasets = 48, kValues = 4096;
    std::vector<std::string> texts;
    for (int d = 0; d < kDatasets; ++d) {
        UF58Fields ds;
        for (int i = 0; i < 2 * kValues; ++i)
            ds.numbers.push_back((d + 1) * 0.001 * (i % 97 - 48));
        if (d == 20)
            ds.declared = kValues + 1; // short of a value
        if (d == 30)
            ds.ordType = 3; // a form the spectrum reader does not read
        texts.push_back(Dataset58(ds));
    }
    std::string text;
    for (const std::string& t : texts)
        text += t;
    const fs::path path = TempDir() / "every.unv";
    WriteFile(path, text);

    std::vector<std::unique_ptr<CDAQPPUFIndex>> one, every;
    ASSERT_EQ(CUFScanner::Scan(path.string(), one, nullptr, SilentFeedback(), 1), 1);
    ASSERT_EQ(CUFScanner::Scan(path.string(), every, nullptr, SilentFeedback(), 0), 1);
    ASSERT_EQ(one.size(), static_cast<size_t>(kDatasets));
    ASSERT_EQ(every.size(), one.size());
    for (size_t d = 0; d < one.size(); ++d) {
        EXPECT_EQ(every[d]->GetOffset(), one[d]->GetOffset()) << d;
        EXPECT_EQ(every[d]->GetNumValues(), one[d]->GetNumValues()) << d;
    }

    struct Load
    {
        std::vector<std::unique_ptr<CDAQPPFreqData>> data;
        std::vector<std::string> errors;
        int loaded = 0;
    };
    auto load = [&](int threads, const CUFLineReader* open) {
        Load l;
        std::vector<CDAQPPUFData*> items;
        for (const auto& x : one) {
            l.data.push_back(std::make_unique<CDAQPPFreqData>());
            l.data.back()->SetIndex(*x);
            items.push_back(l.data.back().get());
        }
        l.loaded = CDAQPPUFData::LoadAll(items, TempDir().string(), {}, threads, &l.errors, open);
        return l;
    };
    CUFLineReader file;
    ASSERT_TRUE(file.Open(path.string(), true));
    const Load serial = load(1, nullptr);
    const Load parallel = load(0, &file);
    EXPECT_EQ(serial.loaded, kDatasets - 2);
    EXPECT_EQ(parallel.loaded, serial.loaded);
    EXPECT_EQ(parallel.errors, serial.errors);
    EXPECT_NE(serial.errors[20].find("fewer values"), std::string::npos) << serial.errors[20];
    EXPECT_EQ(serial.errors[30], CDAQPPUFData::kUnsupportedForm);
    for (size_t d = 0; d < one.size(); ++d)
        EXPECT_EQ(parallel.data[d]->GetValues(), serial.data[d]->GetValues()) << d;
    auto written = [](double x) { return std::strtod(Format("%13.5E", x).c_str(), nullptr); };
    EXPECT_EQ(serial.data[47]->GetValues()[kValues - 1],
              std::complex<double>(written(48 * 0.001 * (8190 % 97 - 48)), written(48 * 0.001 * (8191 % 97 - 48))));
    file.Close();

    // Two datasets whose ID line 3 is no date: the first of them in the file is the one refused.
    for (int d : {10, 40})
        texts[static_cast<size_t>(d)].replace(texts[static_cast<size_t>(d)].find("15-Jan-24"), 9, "no date!!");
    text.clear();
    for (const std::string& t : texts)
        text += t;
    WriteFile(path, text);
    std::string errorOne, errorEvery;
    std::vector<std::unique_ptr<CDAQPPUFIndex>> none;
    EXPECT_EQ(CUFScanner::Scan(path.string(), none, &errorOne, SilentFeedback(), 1), 0);
    EXPECT_EQ(CUFScanner::Scan(path.string(), none, &errorEvery, SilentFeedback(), 0), 0);
    EXPECT_EQ(errorEvery, errorOne);
    EXPECT_NE(errorOne.find(Format("Byte position: %d", one[10]->GetOffset())), std::string::npos) << errorOne;
}

TEST(UFLineReader, LongLinesAndSeeks)
{
    std::string text = "a\r\nbb\n" + std::string(CUFLineReader::kMaxLineLength + 5, 'x') + "\n";
    CUFLineReader reader;
    reader.OpenMemory(text);
    std::string line;
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "a");
    EXPECT_EQ(reader.Tell(), 3u);
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "bb");
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_TRUE(reader.LineTooLong());
    EXPECT_TRUE(reader.Seek(3));
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "bb");
    EXPECT_FALSE(reader.Seek(text.size() + 1));
}

namespace {

// The delimiter lines a reader finds from pos, with the position after each, then where and why it
// stopped: by ReadToDelimiter, or (reference) line by line.
std::vector<std::pair<uint64_t, std::string>> Delimiters(CUFLineReader& reader, uint64_t pos, bool lineByLine)
{
    std::vector<std::pair<uint64_t, std::string>> found;
    reader.Seek(pos);
    std::string_view line;
    while (lineByLine ? reader.ReadLine(line) : reader.ReadToDelimiter(line))
        if (!lineByLine || uf::IsDelimiter(line))
            found.emplace_back(reader.Tell(), std::string(line));
    found.emplace_back(reader.Tell(), reader.LineTooLong() ? "too long" : "end");
    return found;
}

} // namespace

// The block-wise delimiter search, on one thread or several, finds what reading line by line finds:
// the same lines, a line too long stops both at the same place, and a seek into the middle of a line
// reads its rest as a line. The text is larger than one thread's search, so parts and windows meet
// inside lines, delimiters and long lines.
TEST(UFLineReader, DelimiterSearchFindsWhatLinesFind)
{
    const std::string kMaxLine(CUFLineReader::kMaxLineLength, 'y');
    const std::vector<std::string> pieces = {
        "    -1\n",   "    -1  \n",
        "    -1\r\n", "    -1x\n",
        "   -1\n",    "    -12\n",
        "    58\n",   "\n",
        "    -1",     "  1.00000E+00 -2.00000E-01  3.00000E+00 -4.00000E+00  5.00000E+00\n"};
    std::mt19937_64 random(11);
    auto text = [&](size_t size, int longLines) {
        std::string t;
        std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
        while (t.size() < size) {
            t += pieces[pick(random)];
            if (longLines > 0 && random() % 40000 == 0) {
                t += (longLines-- % 2 ? kMaxLine : kMaxLine + "z") + "\n"; // exactly the longest, one beyond
            }
        }
        return t;
    };
    struct Case
    {
        std::string text;
        const char* what;
    };
    std::vector<Case> cases = {{text(9u << 20, 0), "no long lines"},
                               {text(3u << 20, 3), "long lines"},
                               {std::string(3u << 20, 'x'), "one line too long"},
                               {kMaxLine, "the longest line without its end"},
                               {"    -1", "a delimiter without its end"},
                               {std::string(70, ' ') + "\n    -1\n", "a delimiter right after a block"},
                               // One thread's search ends 4 bytes into the last line, whose rest looks
                               // like a delimiter.
                               {std::string(), "a window ending in a line"}};
    for (size_t i = 0; i < ((8u << 20) - 4) / 4; ++i)
        cases.back().text += "abc\n";
    cases.back().text += "        -1\n";
    for (const Case& c : cases) {
        CUFLineReader reader;
        reader.OpenMemory(c.text);
        std::vector<uint64_t> starts = {0};
        for (int i = 0; i < 6; ++i)
            starts.push_back(random() % c.text.size()); // mostly within a line
        for (uint64_t start : starts) {
            const auto expected = Delimiters(reader, start, true);
            for (int threads : {1, 3, 8}) {
                reader.SetSearchThreads(threads);
                EXPECT_EQ(Delimiters(reader, start, false), expected)
                    << c.what << ", from " << start << " on " << threads << " threads";
            }
        }
    }
}

// Only regular files are read: a pipe would block the reader until some program writes to it, and
// a folder has no lines. Each is refused at once, saying what the path names.
// A file read whole is read into memory in parts on several threads: every byte must land where the
// mapping has it, the last part short, on any number of threads; a small file stays mapped.
TEST(UFLineReader, FileReadWholeHoldsTheMappedBytes)
{
    std::string text(size_t{17} << 20 | 12345, '\0');
    uint32_t x = 12345;
    for (char& c : text) {
        x = x * 1664525u + 1013904223u;
        c = static_cast<char>(x >> 24);
    }
    const fs::path path = TempDir() / "whole.bin";
    WriteFile(path, text);
    CUFLineReader mapped;
    ASSERT_TRUE(mapped.Open(path.string()));
    ASSERT_EQ(mapped.GetData().size(), text.size());
    for (int threads : {1, 3, 0}) {
        CUFLineReader whole;
        ASSERT_TRUE(whole.Open(path.string(), true, threads)) << threads;
        EXPECT_TRUE(whole.GetData() == mapped.GetData()) << threads;
        EXPECT_NE(whole.GetData().data(), mapped.GetData().data());
    }
    WriteFile(path, "    -1\n    58\n");
    CUFLineReader small;
    ASSERT_TRUE(small.Open(path.string(), true));
    EXPECT_EQ(small.GetData(), "    -1\n    58\n");
}

TEST(UFLineReader, RefusesPipesAndFoldersWithTheReason)
{
    const fs::path fifo = TempDir() / "pipe.unv";
    const fs::path folder = TempDir() / "folder.unv";
    fs::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directories(folder);
    struct Case
    {
        fs::path path;
        const char* why;
    };
    for (const Case& c : {Case{fifo, "pipe"}, Case{folder, "folder"}}) {
        CUFLineReader reader;
        EXPECT_FALSE(reader.Open(c.path.string()));
        EXPECT_NE(reader.GetOpenError().find(c.why), std::string::npos) << reader.GetOpenError();
        std::vector<std::unique_ptr<CDAQPPUFIndex>> index;
        std::string error;
        EXPECT_EQ(CUFScanner::Scan(c.path.string(), index, &error), 0);
        EXPECT_NE(error.find(c.why), std::string::npos) << error;
    }
    fs::remove(fifo);
}
