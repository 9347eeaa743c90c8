#include "common/LevelUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

TEST(LevelUtil, RobustMeanOfShortRuns)
{
    const double three[] = {10.0, 9.0, 1.0};
    EXPECT_NEAR(RobustMean(three, 3), 9.0354, 5e-5);
    EXPECT_DOUBLE_EQ(RobustMean(three, 3), 9.0 + 0.5 * (7.0 * 0.010101010101010102));

    struct Case
    {
        std::vector<double> x;
        double expected;
    } cases[] = {
        {{}, 0.0},
        {{4.0}, 4.0},
        {{4.0, 6.0}, 5.0},
        {{5.0, 5.0, 5.0}, 5.0}, // equal distances: no correction
        {{5.0, 6.0, 7.0}, 6.0},
        {{6.0, 5.0, 1000.0}, 5.5}, // far outlier after: moved by half the near distance
        {{1000.0, 5.0, 6.0}, 4.5}, // far outlier before: moved back by half of it
        {{9.0, 8.0, 6.0}, 8.0 + 0.5 * (1.0 / 99.0)},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(RobustMean(c.x.data(), static_cast<int>(c.x.size())), c.expected, 1e-12);
    EXPECT_EQ(RobustMean(nullptr, 3), 0.0);
    EXPECT_EQ(RobustMean(three, -2), 0.0);
}

TEST(LevelUtil, RobustMeanOfLongRunsReducesThreeAtATime)
{
    const double x[] = {12.0, 10.0, 9.0, 1.0, 0.5};
    // By hand: one pass of three-point means, then the mean of the three results.
    auto m3 = [](double a, double b, double c) {
        const double v[] = {a, b, c};
        return RobustMean(v, 3);
    };
    const double expected = m3(m3(12, 10, 9), m3(10, 9, 1), m3(9, 1, 0.5));
    EXPECT_DOUBLE_EQ(RobustMean(x, 5), expected);
    // A long run sorted largest first (as the averages pass it) gives a value within the data.
    std::vector<double> many(20001);
    for (size_t i = 0; i < many.size(); ++i)
        many[i] = 80.0 - 30.0 * static_cast<double>(i) / static_cast<double>(many.size());
    const double r = RobustMean(many.data(), static_cast<int>(many.size()));
    EXPECT_GE(r, 50.0);
    EXPECT_LE(r, 80.0);
}

TEST(LevelUtil, AverageModes)
{
    const double x[] = {1.0, 10.0, 9.0};
    EXPECT_DOUBLE_EQ(GetAverageEx(x, 3, 0), 20.0 / 3.0);
    EXPECT_NEAR(GetAverageEx(x, 3, 1), std::cbrt(90.0), 1e-12);
    // Mode 2 sorts largest first: 10, 9, 1.
    EXPECT_NEAR(GetAverageEx(x, 3, 2), 9.0354, 5e-5);
    EXPECT_EQ(GetAverageEx(x, 3, 3), 0.0);
    EXPECT_EQ(GetAverageEx(x, 3, -1), 0.0);
    const double withNan[] = {3.0, std::nan(""), 1.0, 2.0};
    EXPECT_NO_FATAL_FAILURE(GetAverageEx(withNan, 4, 2));
}

TEST(LevelUtil, LevelAverageChangesTheCallersValues)
{
    double rms[] = {3.0, 4.0};
    EXPECT_NEAR(GetLevelAverage(rms, 2, 0), std::sqrt(12.5), 1e-12);
    EXPECT_EQ(rms[0], 9.0);
    EXPECT_EQ(rms[1], 16.0);

    double one[] = {0.37};
    EXPECT_NEAR(GetLevelAverage(one, 1, 2), 0.37, 1e-12);
    EXPECT_NEAR(one[0], 20.0 * std::log10(0.37), 1e-12);

    double robust[] = {std::pow(10.0, 0.5), std::pow(10.0, 0.05), std::pow(10.0, 0.45)}; // 10, 1, 9 dB
    EXPECT_NEAR(GetLevelAverage(robust, 3, 2), std::pow(10.0, 0.05 * 9.0354), 1e-4);

    double untouched[] = {2.0};
    EXPECT_EQ(GetLevelAverage(untouched, 1, 5), 0.0);
    EXPECT_EQ(untouched[0], 2.0);
}

TEST(LevelUtil, LevelsSumInLinearPowerAndSkipMissingOnes)
{
    const double two[] = {90.0, 90.0};
    EXPECT_NEAR(SumLevels(two, 2), 90.0 + 10.0 * std::log10(2.0), 1e-12);
    const double withMissing[] = {80.0, 0.0, HUGE_VAL, 70.0};
    EXPECT_NEAR(SumLevels(withMissing, 4), 10.0 * std::log10(1e8 + 1e7), 1e-12);
    const double none[] = {0.0, HUGE_VAL};
    EXPECT_EQ(SumLevels(none, 2), 0.0);
    EXPECT_EQ(SumLevels(nullptr, 4), 0.0);
    EXPECT_TRUE(IsMissingLevel(0.0));
    EXPECT_TRUE(IsMissingLevel(HUGE_VAL));
    EXPECT_FALSE(IsMissingLevel(-3.0));
}
