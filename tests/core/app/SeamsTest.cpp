#include <gtest/gtest.h>

#include "MonotonicClock.h"

#include "ElapsedTime.h"

TEST(ElapsedTime, FormatsHoursMinutesSecondsAndRoundsHalfToEven) {
    EXPECT_EQ(ElapsedTime::Format(0), "00:00:00");
    EXPECT_EQ(ElapsedTime::Format(3725), "01:02:05");
    EXPECT_EQ(ElapsedTime::Format(360000), "100:00:00");
    std::int64_t now = 1000;
    SetClockHandler([&] { return now; });
    const ElapsedTime elapsed;
    now += 2500;  // 2.5 s -> 2
    EXPECT_EQ(elapsed.Seconds(), 2);
    now += 1000;  // 3.5 s -> 4
    EXPECT_EQ(elapsed.Text(), "00:00:04");
    SetClockHandler({});
}
