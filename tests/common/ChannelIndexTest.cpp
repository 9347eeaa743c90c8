#include "common/ChannelIndex.h"

#include <gtest/gtest.h>

TEST(ChannelIndex, SplitAndMakeAreInverse)
{
    int unit = 0, pair = 0, channel = 0;
    SplitChannelIndex(13, unit, pair, channel);
    EXPECT_EQ(unit, 1);
    EXPECT_EQ(pair, 2);
    EXPECT_EQ(channel, 1);
    EXPECT_EQ(MakeChannelIndex(1, 2, 1), 13);
    for (int i = 0; i < 64; ++i) {
        SplitChannelIndex(i, unit, pair, channel);
        EXPECT_EQ(MakeChannelIndex(unit, pair, channel), i);
        EXPECT_LT(pair, 4);
        EXPECT_LT(channel, 2);
    }
    SplitChannelIndex(-1, unit, pair, channel);
    EXPECT_EQ(unit, -1);
    EXPECT_EQ(pair, -1);
    EXPECT_EQ(channel, -1);
}

TEST(ChannelIndex, UnitsForAChannelCount)
{
    struct Case
    {
        int channels;
        int units;
    } cases[] = {{0, 0}, {-3, 0}, {1, 1}, {8, 1}, {9, 2}, {16, 2}, {17, 3}};
    for (const Case& c : cases)
        EXPECT_EQ(GetBlixUnitCount(c.channels), c.units) << c.channels;
}
