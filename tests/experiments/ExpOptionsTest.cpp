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
    for (const char* name : {kRegDaqGraphBandType, kRegDaqGraphColor, kRegDaqInputRange})
        CHSEARegOptions::WriteDWORD(name, CHSEARegOptions::kNoValue); // as missing again
}

TEST(ExpOptions, SaveKeepsBandTypeAndColourButNotTheInputRange)
{
    ASSERT_EQ(CHSEARegOptions::WriteDWORD(kRegDaqInputRange, 1), 1);
    CExpOptions options;
    options.SetGraphBandType(3);
    options.SetGraphColor(7);
    options.SetInputRange(4);
    EXPECT_EQ(options.Save(), 1);
    CExpOptions next;
    EXPECT_EQ(next.GetGraphBandType(), 3);
    EXPECT_EQ(next.GetGraphColor(), 7);
    EXPECT_EQ(next.GetInputRange(), 1);
    for (const char* name : {kRegDaqGraphBandType, kRegDaqGraphColor, kRegDaqInputRange})
        CHSEARegOptions::WriteDWORD(name, CHSEARegOptions::kNoValue); // as missing again
}
