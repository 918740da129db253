#include "Clock.h"

#include <gtest/gtest.h>

TEST(VirtualClockTest, StartsAtZero)
{
    VirtualClock clock;
    EXPECT_EQ(clock.now(), 0);
}
