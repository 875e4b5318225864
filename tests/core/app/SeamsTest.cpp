#include <gtest/gtest.h>

#include "MonotonicClock.h"
#include "Sleeper.h"

TEST(Seams, SleepAndClockCanBeReplacedAndRestored) {
    int slept = 0;
    SetSleepHandler([&](int ms) { slept += ms; });
    SleepMilliseconds(15000);
    EXPECT_EQ(slept, 15000);
    SetSleepHandler({});
    SetClockHandler([] { return std::int64_t{42}; });
    EXPECT_EQ(MonotonicMilliseconds(), 42);
    SetClockHandler({});
    const auto before = MonotonicMilliseconds();
    SleepMilliseconds(2);
    EXPECT_GE(MonotonicMilliseconds(), before + 2);
}
