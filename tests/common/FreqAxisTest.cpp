#include "common/FreqAxis.h"

#include "platform/gfx/FreqInfo.h"

#include <gtest/gtest.h>

TEST(FreqAxis, GridTypesTakeTheirEdgesFromTheGrid)
{
    CFreqInfoList list;
    // 600 RPM of order 2 (factor 1) is 20 Hz, inside the pair 17.8 .. 22.4.
    BuildFreqInfoList(list, 0, 0.0, 2.0, 1.0, {600.0, 15.0, 900000.0});
    ASSERT_EQ(list.GetSize(), 3);
    EXPECT_NEAR(list[0].GetCenterFreq(), 20.0, 1e-12);
    EXPECT_NEAR(list[0].GetLowerFreq(), 17.7, 1e-12);
    EXPECT_NEAR(list[0].GetUpperFreq(), 22.3, 1e-12);
    EXPECT_EQ(list[0].GetDomainType(), 0);
    // 0.5 Hz lies below the grid and 30 kHz above it: zero width.
    for (int i : {1, 2}) {
        EXPECT_EQ(list[i].GetLowerFreq(), list[i].GetCenterFreq());
        EXPECT_EQ(list[i].GetUpperFreq(), list[i].GetCenterFreq());
    }

    BuildFreqInfoList(list, 3, 0.0, 60.0, 1.0, {100.0});
    ASSERT_EQ(list.GetSize(), 1);
    EXPECT_NEAR(list[0].GetLowerFreq(), 100.0 - (102.1 - 96.39) / 2, 1e-9);
    EXPECT_EQ(list[0].GetDomainType(), 3);
}

TEST(FreqAxis, OtherTypesSpanTheBandwidth)
{
    CFreqInfoList list;
    list.Add(CFreqInfo(1, 1, 1, 1)); // emptied first
    EXPECT_EQ(BuildFreqInfoList(list, 1, 10.0, 6000.0, 1.0, {1.0}), 1);
    ASSERT_EQ(list.GetSize(), 1);
    EXPECT_NEAR(list[0].GetCenterFreq(), 100.0, 1e-12);
    EXPECT_NEAR(list[0].GetLowerFreq(), 95.0, 1e-12);
    EXPECT_NEAR(list[0].GetUpperFreq(), 105.0, 1e-12);
    EXPECT_EQ(list[0].GetDomainType(), 1);

    EXPECT_EQ(BuildFreqInfoList(list, 1, 10.0, 1.0, 1.0, {}), 0);
    EXPECT_TRUE(list.IsEmpty());
}
