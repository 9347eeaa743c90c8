#include "platform/gfx/GfxCalc.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/PromptService.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include <unistd.h>

TEST(GfxUtil, WaveTypesOfSubsystemKeys)
{
    struct Case
    {
        const char* name;
        int flag0;
        int flag1;
    } cases[] = {
        {"Roof-F", 2, 2}, // structure
        {"Cabin-", 2, 3}, // cavity: with flag 0 the same main-wave type as a structure
        {"Door-R-F", 2, 2}, {"Trunk-L-", 2, 3}, {"Roof", -1, -1}, // plain name
        {"Door-R", -1, -1},                                       // a side is no wave-type mark
        {"", -1, -1},       {"-", 2, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CGfxUtil::GetWaveType(c.name, 0), c.flag0) << c.name;
        EXPECT_EQ(CGfxUtil::GetWaveType(c.name, 1), c.flag1) << c.name;
    }
}

TEST(GfxUtil, RemoveWaveSignStripsInPlace)
{
    struct Case
    {
        const char* in;
        const char* out;
        int removed;
    } cases[] = {
        {"Roof-F", "Roof", 1},
        {"Cabin-", "Cabin", 1},
        {"Front Door Panel-R-F", "Front Door Panel-R", 1},
        {"Dash-C-", "Dash-C", 1},
        {"Roof", "Roof", 0},
        {"Door-R", "Door-R", 0},
        {"", "", 0},
    };
    for (const Case& c : cases) {
        std::string name = c.in;
        EXPECT_EQ(CGfxUtil::RemoveWaveSign(name), c.removed) << c.in;
        EXPECT_EQ(name, c.out) << c.in;
    }
    EXPECT_EQ(CGfxUtil::GetWaveSign("Roof-F"), "-F");
    EXPECT_EQ(CGfxUtil::GetWaveSign("Cabin-"), "-");
    EXPECT_EQ(CGfxUtil::GetWaveSign("Roof"), "");
}

TEST(GfxUtil, SidesAndMirrorSides)
{
    struct Case
    {
        const char* name;
        int side;
        const char* mirror;
    } cases[] = {
        {"Front Door Panel-R", CGfxUtil::SIDE_RIGHT, "Front Door Panel-L"},
        {"Fr Door-L", CGfxUtil::SIDE_LEFT, "Fr Door-R"},
        {"Door-R-F", CGfxUtil::SIDE_RIGHT, "Door-L-F"},
        {"Rear Cavity-L-", CGfxUtil::SIDE_LEFT, "Rear Cavity-R-"},
        {"Dash-C", CGfxUtil::SIDE_CENTER, nullptr},
        {"Dash-C-F", CGfxUtil::SIDE_CENTER, nullptr},
        {"Roof", CGfxUtil::SIDE_NONE, nullptr},
        {"Roof-F", CGfxUtil::SIDE_NONE, nullptr},
        {"-R", CGfxUtil::SIDE_RIGHT, "-L"},
        {"", CGfxUtil::SIDE_NONE, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CGfxUtil::GetLeftRight(c.name), c.side) << c.name;
        std::string out = "untouched";
        EXPECT_EQ(CGfxUtil::GetSymmetricSubsystem(c.name, &out), c.mirror ? 1 : 0) << c.name;
        EXPECT_EQ(out, c.mirror ? c.mirror : "untouched") << c.name;
        EXPECT_EQ(CGfxUtil::GetSymmetricSubsystem(c.name), c.mirror ? 1 : 0) << c.name;
    }
}

TEST(GfxUtil, NumberAndFrequencyTexts)
{
    EXPECT_EQ(CGfxUtil::GenFormat(3.14159, 2), "3.14");
    EXPECT_EQ(CGfxUtil::GenFormat(-0.5, 0), "-0.5"); // never "-0" for a non-zero value
    EXPECT_EQ(CGfxUtil::GenFormat(2.0, -3), "2");
    EXPECT_EQ(CGfxUtil::SciFormat(12345.678, 3), "1.235e+04");
    std::string text;
    CGfxUtil::SciFormat(text, 0.00025, 1);
    EXPECT_EQ(text, "2.5e-04");
    CGfxUtil::GenFormat(text, 1.0, 99); // digits held to 15
    EXPECT_EQ(text, "1.000000000000000");

    COctaveManager third(OCTAVE_BAND_THIRD);
    for (int i = 0; i < third.GetFreqCount(); ++i)
        EXPECT_EQ(CGfxUtil::GetManipulatedFrequencyString(third.GetFreq(i)), third.GetFreqAsString(i));
    EXPECT_EQ(CGfxUtil::GetManipulatedFrequencyString(1260.0), "1260");
    EXPECT_EQ(CGfxUtil::GetManipulatedFrequencyString(2.5), "2.5");
    EXPECT_EQ(CGfxUtil::GetManipulatedFrequencyString(0.0), "0");
}

TEST(GfxUtil, FileExistTellsFilesFromFoldersAndMissingPaths)
{
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("orvex-gfx-" + std::to_string(::getpid()) + "-fileexist");
    std::filesystem::create_directories(dir);
    const auto file = dir / "hidden_menu.flg";
    std::ofstream(file) << "x";
    EXPECT_NE(CGfxUtil::FileExist(file.string()), 0);
    EXPECT_EQ(CGfxUtil::FileExist(dir.string()), 0);
    EXPECT_EQ(CGfxUtil::FileExist((dir / "missing").string()), 0);
    EXPECT_EQ(CGfxUtil::FileExist(""), 0);
    std::filesystem::remove_all(dir);
}

TEST(GfxUtil, WarningBoxGoesThroughThePromptService)
{
    CScriptedPrompts prompts;
    prompts.Answer(IDNO).Answer(IDOK);
    EXPECT_EQ(CGfxUtil::WarningBox("Sibling too old", MB_YESNO, "Check"), IDNO);
    EXPECT_EQ(prompts.Last().text, "Sibling too old");
    EXPECT_EQ(prompts.Last().caption, "Check");
    EXPECT_EQ(prompts.Last().style & MB_TYPEMASK, MB_YESNO);
    EXPECT_EQ(prompts.Last().style & MB_ICONMASK, MB_ICONEXCLAMATION);

    EXPECT_EQ(CGfxUtil::WarningBox(6261u, MB_OK | MB_ICONINFORMATION), IDOK);
    EXPECT_EQ(prompts.Last().stringId, 6261u);
    EXPECT_EQ(prompts.Last().style & MB_ICONMASK, MB_ICONINFORMATION);
    EXPECT_EQ(prompts.Unexpected(), 0u);
}

TEST(GfxUtil, DuplicateObjectMakesAnIndependentCopy)
{
    COctaveManagerEx bands(OCTAVE_BAND_USER);
    bands.AddFreqInfo(100.0, 90.0, 110.0, 3);
    std::unique_ptr<COctaveManagerEx> copy = CGfxUtil::Duplicate(&bands);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy.get(), &bands);
    EXPECT_TRUE(*copy == bands);
    copy->RemoveAll();
    EXPECT_EQ(bands.GetFreqCount(), 1);
    EXPECT_EQ(CGfxUtil::DuplicateObject(nullptr), nullptr);
}

TEST(GfxCalc, AveragesByKind)
{
    const double v[] = {1.0, 10.0, 100.0};
    EXPECT_DOUBLE_EQ(CGfxCalc::GetAverage(v, 3, 0), 37.0);
    EXPECT_NEAR(CGfxCalc::GetAverage(v, 3, 1), 10.0, 1e-12);
    const double withZero[] = {0.0, 4.0, 16.0};
    EXPECT_NEAR(CGfxCalc::GetAverage(withZero, 3, 1), 8.0, 1e-12); // no level, left out
    EXPECT_EQ(CGfxCalc::GetAverage(v, 0, 0), 0.0);
    EXPECT_EQ(CGfxCalc::GetAverage(nullptr, 3, 0), 0.0);
    EXPECT_EQ(CGfxCalc::GetAverage(v, 3, 2), 0.0);
}

TEST(GfxCalc, DecibelsAndInversesForEachReference)
{
    // dB (ref=1W), dB (ref=1J): energy-like; dB (ref=2E-5Pa), dB (ref=1m/s): field quantities.
    EXPECT_NEAR(CGfxCalc::GetEnergyDecibel(1.0), 0.0, 1e-12);
    EXPECT_NEAR(CGfxCalc::GetEnergyDecibel(1e-3), -30.0, 1e-12);
    EXPECT_NEAR(CGfxCalc::GetPressureDecibel(2e-5, 2e-5), 0.0, 1e-12);
    EXPECT_NEAR(CGfxCalc::GetPressureDecibel(1.0, 2e-5), 93.979400086720375, 1e-9);
    EXPECT_NEAR(CGfxCalc::GetPressureDecibel(1e-3, 1.0), -60.0, 1e-12);
    for (double v : {1e-12, 3.7e-5, 0.5, 1.0, 42.0, 1e6}) {
        EXPECT_NEAR(CGfxCalc::EnergyFromDecibel(CGfxCalc::GetEnergyDecibel(v)), v, 1e-12 * v);
        EXPECT_NEAR(CGfxCalc::PressureFromDecibel(CGfxCalc::GetPressureDecibel(v, 2e-5), 2e-5), v, 1e-12 * v);
        EXPECT_NEAR(CGfxCalc::PressureFromDecibel(CGfxCalc::GetPressureDecibel(v, 1.0), 1.0), v, 1e-12 * v);
    }
    // No value has no level: a fixed floor, never -inf or NaN.
    for (double bad : {0.0, -1.0, std::nan("")}) {
        EXPECT_EQ(CGfxCalc::GetEnergyDecibel(bad), CGfxCalc::kNoLevel);
        EXPECT_EQ(CGfxCalc::GetPressureDecibel(bad, 2e-5), CGfxCalc::kNoLevel);
    }
    EXPECT_EQ(CGfxCalc::GetPressureDecibel(1.0, 0.0), CGfxCalc::kNoLevel);
}

TEST(GfxCalc, ComplexSquareRootIsThePrincipalRoot)
{
    const std::complex<double> cases[] = {{-4.0, 0.0}, {0.0, 2.0}, {3.0, -4.0}, {0.0, 0.0}};
    for (const auto& z : cases) {
        const auto r = CGfxCalc::ComplexSqrt(z);
        EXPECT_GE(r.real(), 0.0);
        EXPECT_NEAR(std::abs(r * r - z), 0.0, 1e-12);
    }
    EXPECT_NEAR(CGfxCalc::ComplexSqrt({-4.0, 0.0}).imag(), 2.0, 1e-12);
}

// Awkward values in every number text a table or label shows: nothing non-zero reads as zero, no
// needless trailing zeros on an RPM, and a missing value reads as the no-value mark.
TEST(GfxUtil, NumberTextsKeepTheDigitsAValueNeeds)
{
    const double none = std::numeric_limits<double>::quiet_NaN();
    struct Case
    {
        double value;
        const char* fixed2; // GenFormat with 2 decimals
        const char* plain;  // NumberText
    };
    const Case cases[] = {
        {1e-9, "1e-09", "1e-09"},
        {0.004, "0.004", "0.004"},
        {-0.004, "-0.004", "-0.004"},
        {0.0041234, "0.0041", "0.0041234"},
        {0.005, "0.01", "0.005"},
        {12345.678, "12345.68", "12345.68"},
        {-12345.678, "-12345.68", "-12345.68"},
        {1000.0, "1000.00", "1000"},
        {0.0, "0.00", "0"},
        {HUGE_VAL, "----", "----"},
        {-HUGE_VAL, "----", "----"},
        {none, "----", "----"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(CGfxUtil::GenFormat(c.value, 2), c.fixed2);
        EXPECT_EQ(CGfxUtil::NumberText(c.value), c.plain);
    }
}
