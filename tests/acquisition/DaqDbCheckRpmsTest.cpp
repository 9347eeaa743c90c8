// The engine speeds offered for the database check.
#include <gtest/gtest.h>

#include "acquisition/DaqDbCheckRpms.h"
#include "experiments/DAQConfig.h"

TEST(DaqDbCheckRpms, RunUpStepsByTheMarginAndConstantRpmOffersItsOwn)
{
    struct Case
    {
        int mode, low, high, margin, constant;
        bool made;
        std::vector<int> rpms;
    };
    const Case cases[] = {
        {0, 1000, 2000, 300, 0, true, {1000, 1300, 1600, 1900}},
        {0, 1000, 2000, 500, 0, true, {1000, 1500, 2000}},
        {0, 2000, 1000, 100, 0, true, {}},
        {0, 1000, 2000, 0, 0, false, {}},
        {0, 1000, 2000, -50, 0, false, {}},
        {1, 1000, 2000, 0, 3000, true, {3000}},
    };
    for (const Case& k : cases) {
        CDAQConfig config;
        config.SetOption60(k.mode);
        config.SetRpmLow(k.low);
        config.SetRpmHigh(k.high);
        config.SetRpmMargin(k.margin);
        config.SetRpmRef(k.constant);
        std::vector<int> rpms{42};
        EXPECT_EQ(CDaqDbCheckRpms::Make(config, rpms), k.made) << k.margin;
        EXPECT_EQ(rpms, k.rpms) << k.low << ".." << k.high << " step " << k.margin;
    }
    CDAQConfig wide;
    wide.SetOption60(0);
    wide.SetRpmLow(0);
    wide.SetRpmHigh(2147483647);
    wide.SetRpmMargin(1);
    std::vector<int> rpms;
    EXPECT_TRUE(CDaqDbCheckRpms::Make(wide, rpms));
    EXPECT_EQ(static_cast<int>(rpms.size()), CDaqDbCheckRpms::kMaxChoices);
}
