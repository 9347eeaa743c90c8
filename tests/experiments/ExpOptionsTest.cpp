#include <gtest/gtest.h>

#include "experiments/ExpOptions.h"
#include "models/HSEARegOptions.h"

TEST(ExpOptions, SettingsComeFromTheOptionsAndMissingOnesAreZero)
{
    CExpOptions fresh;
    EXPECT_EQ(fresh.GetGraphBandType(), 0);
    EXPECT_EQ(fresh.GetGraphColor(), 0);
    EXPECT_EQ(fresh.GetInputRange(), 0);

    ASSERT_EQ(CHSEARegOptions::WriteDWORD(kRegDaqGraphBandType, 2), 1);
    ASSERT_EQ(CHSEARegOptions::WriteDWORD(kRegDaqGraphColor, 5), 1);
    ASSERT_EQ(CHSEARegOptions::WriteDWORD(kRegDaqInputRange, 0xFFFFFFFFu), 1); // reads as missing
    CExpOptions stored;
    EXPECT_EQ(stored.GetGraphBandType(), 2);
    EXPECT_EQ(stored.GetGraphColor(), 5);
    EXPECT_EQ(stored.GetInputRange(), 0);
}
