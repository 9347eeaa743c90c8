#include "common/Quantity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

TEST(Quantity, UnitNamesOfChannelUnitCodes)
{
    struct Case
    {
        int code;
        int variant;
        const char* text;
    } cases[] = {
        {5, 0, "N"},   {8, 0, "N"},    {7, 0, "m/s2"}, {7, 1, "G"},  {9, 0, "Pa"}, {15, 0, "Pa"},
        {10, 0, "Kg"}, {11, 0, "Sec"}, {12, 0, "Hz"},  {13, 0, "?"}, {-1, 0, "?"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetQuantityUnitName(c.code, c.variant), c.text) << c.code;
}

TEST(Quantity, NamesAndAxisLabels)
{
    struct Case
    {
        int type;
        int velocity;
        const char* name;
        const char* db;
        const char* linear;
    } cases[] = {
        {3, 0, "Input Power", "dB (ref=1W)", "W"},
        {4, 0, "Modal Density", "Modes/(rad/s)", "Modes/(rad/s)"},
        {5, 0, "Energy", "dB (ref=1J)", "J"},
        {52, 0, "Modal Energy", "Energy/(Modal Density)", "Energy/(Modal Density)"},
        {53, 0, "Vibration Level", "dB (ref=1m/s)", "dB (ref=1m/s)"},
        {54, 0, "SPL", "dB (ref=2E-5Pa)", "dB (ref=2E-5Pa)"},
        {64, 0, "Pressure", "dB (ref=2E-5Pa)", "Pa"},
        {65, 0, "Force", "N", "N"},
        {66, 0, "Velocity", "dB (ref=1m/s)", "m/s"},
        {87, 0, "Pressure", "dB (ref=2E-5Pa)", "Pa"},
        {93, 1, "Velocity", "dB (ref=1m/s)", "m/s"},
        {106, 0, "Pressure", "dB (ref=2E-5Pa)", "Pa"},
        {110, 1, "Velocity", "dB (ref=1m/s)", "m/s"},
        {94, 0, "N", "N * Delta RPM", "N * Delta RPM"},
        {2, 0, "", "", ""},
        {111, 0, "", "", ""},
        {91, 0, "", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetQuantityName(c.type, c.velocity), c.name) << c.type;
        EXPECT_EQ(GetQuantityAxisLabel(c.type, 1, c.velocity, 0), c.db) << c.type;
        EXPECT_EQ(GetQuantityAxisLabel(c.type, 0, c.velocity, 0), c.linear) << c.type;
    }
    EXPECT_EQ(GetQuantityAxisLabel(54, 1, 0, 1), "dB (ref=2E-5Pa) (A-Weight)");
    EXPECT_EQ(GetQuantityAxisLabel(87, 1, 0, 1), "dB (ref=2E-5Pa) (A-Weight)");
    EXPECT_EQ(GetQuantityName(static_cast<const CMElement*>(nullptr), 0), "");
}

TEST(Quantity, ValueToDecibelForEachReference)
{
    struct Case
    {
        int type;
        double value;
        int refOne;
        double expected;
    } cases[] = {
        {3, 1e-3, 0, -30.0},                                                                    // dB (ref=1W)
        {5, 10.0, 0, 10.0},                                                                     // dB (ref=1J)
        {64, 2e-4, 0, 20.0},                                                                    // dB (ref=2E-5Pa)
        {66, 1e-2, 0, -40.0},                                                                   // dB (ref=1m/s)
        {87, 2e-3, 0, 40.0},  {106, 2e-3, 0, 40.0}, {110, 1e-1, 1, -20.0}, {53, 72.5, 0, 72.5}, // already a level
        {54, 61.0, 0, 61.0},
    };
    for (const Case& c : cases) {
        double out = 0.0;
        EXPECT_EQ(QuantityValueToDecibel(&out, c.type, c.value, c.refOne, 0.0), 1) << c.type;
        EXPECT_NEAR(out, c.expected, 1e-9) << c.type;
    }
    // A-weighting at 1 kHz changes nothing; at 100 Hz it takes about 19.1 dB off.
    double out = 0.0;
    QuantityValueToDecibel(&out, 54, 80.0, 0, 1000.0);
    EXPECT_NEAR(out, 80.0, 0.01);
    QuantityValueToDecibel(&out, 64, 2e-5, 0, 100.0);
    EXPECT_NEAR(out, -19.1, 0.1);
}

TEST(Quantity, MissingLevelsAreNeverConverted)
{
    for (double missing : {0.0, HUGE_VAL}) {
        for (int type : {3, 5, 53, 54, 64, 66, 87, 110}) {
            double out = 123.0;
            EXPECT_EQ(QuantityValueToDecibel(&out, type, missing, 0, 0.0), 0) << type;
            EXPECT_EQ(out, missing) << type;
        }
    }
    // Outside 3..110, or a type without a dB rule: copied, 0.
    double out = 0.0;
    EXPECT_EQ(QuantityValueToDecibel(&out, 2, 5.0, 0, 0.0), 0);
    EXPECT_EQ(out, 5.0);
    EXPECT_EQ(QuantityValueToDecibel(&out, 65, 7.0, 0, 0.0), 0);
    EXPECT_EQ(out, 7.0);
    EXPECT_EQ(QuantityValueToDecibel(nullptr, 3, 1.0, 0, 0.0), 0);

    // Shown as "----" wherever the quantity is not itself a level.
    for (int type : {3, 5, 64, 66, 87, 106, 110}) {
        EXPECT_EQ(FormatQuantityValue(type, HUGE_VAL, 2, 1, 0, 0.0), "----") << type;
        EXPECT_EQ(FormatQuantityValue(type, 0.0, 2, 1, 0, 0.0), "----") << type;
        EXPECT_EQ(FormatQuantityValue(type, -1.0, 2, 0, 0, 0.0), "----") << type;
    }
    EXPECT_EQ(FormatQuantityValue(53, HUGE_VAL, 2, 1, 0, 0.0), "----");
    EXPECT_EQ(FormatQuantityValue(53, 0.0, 2, 1, 0, 0.0), "0");
    EXPECT_EQ(FormatQuantityValue(94, HUGE_VAL, 2, 1, 0, 0.0), "----");
    EXPECT_EQ(FormatQuantityValue(94, 0.0, 2, 1, 0, 0.0), "0.00e+00");
}

TEST(Quantity, FormattedTexts)
{
    EXPECT_EQ(FormatQuantityValue(3, 1e-3, 2, 1, 0, 0.0), "-30.00");
    EXPECT_EQ(FormatQuantityValue(3, 1e-3, 2, 0, 0, 0.0), "1.00e-03");
    EXPECT_EQ(FormatQuantityValue(64, 2e-4, 1, 1, 0, 0.0), "20.0");
    EXPECT_EQ(FormatQuantityValue(66, 1e-2, 1, 1, 0, 0.0), "-40.0");
    EXPECT_EQ(FormatQuantityValue(87, 1e-2, 1, 1, 1, 0.0), "-40.0");
    EXPECT_EQ(FormatQuantityValue(87, 2e-4, 1, 1, 0, 0.0), "20.0");
    EXPECT_EQ(FormatQuantityValue(53, 72.456, 1, 1, 0, 0.0), "72.5");
    EXPECT_EQ(FormatQuantityValue(4, 0.25, 3, 1, 0, 0.0), "2.500e-01");
    std::string out;
    FormatQuantityValue(out, static_cast<const CMElement*>(nullptr), 1.0, 1, 1, 0, 0.0);
    EXPECT_EQ(out, "1.0e+00");
}

// Every quantity shown in dB reads back from its own text: the decibel conversion and its
// inverse agree for each reference, the pressure-or-velocity kinds 106 and 110 included.
TEST(Quantity, ValuesSurviveARoundTripThroughTheirText)
{
    struct Case
    {
        int type;
        int velocity;
        double value;
    } cases[] = {
        {3, 0, 2.5e-3}, {5, 0, 7.0},   {64, 0, 0.02},  {66, 0, 3e-3},  {87, 0, 0.02},  {87, 1, 3e-3},
        {93, 0, 0.5},   {103, 1, 0.5}, {106, 0, 0.02}, {106, 1, 3e-3}, {110, 0, 0.02}, {110, 1, 3e-3},
    };
    for (const Case& c : cases) {
        const std::string text = FormatQuantityValue(c.type, c.value, 9, 1, c.velocity, 0.0);
        const double back = DecibelToQuantityValue(c.type, std::strtod(text.c_str(), nullptr), 1, c.velocity);
        EXPECT_NEAR(back, c.value, 1e-8 * c.value) << c.type << " velocity " << c.velocity << " text " << text;
        // Not in dB: the level is the value.
        EXPECT_EQ(DecibelToQuantityValue(c.type, 42.0, 0, c.velocity), 42.0);
    }
    // Levels and unknown kinds stay as they are.
    EXPECT_EQ(DecibelToQuantityValue(53, 70.0, 1, 0), 70.0);
    EXPECT_EQ(DecibelToQuantityValue(111, 70.0, 1, 0), 70.0);
    EXPECT_EQ(DecibelToQuantityValue(2, 70.0, 1, 0), 70.0);
}
