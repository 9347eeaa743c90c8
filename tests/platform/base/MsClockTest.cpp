// The millisecond timer and its test source.
#include <gtest/gtest.h>

#include "platform/base/MsClock.h"

TEST(MsClock, DifferencesSurviveTheWrap)
{
    {
        CManualMsClock clock(0xFFFFFF00u);
        const uint32_t stamp = CMsClock::Now();
        clock.Advance(0x200);
        EXPECT_EQ(CMsClock::Now(), 0x100u);
        EXPECT_EQ(CMsClock::Since(stamp), 0x200u);
    }
    // Back on the steady clock, which never runs backwards.
    const uint32_t a = CMsClock::Now();
    EXPECT_LT(CMsClock::Since(a), 1000u);
}
