#include <gtest/gtest.h>

#include "SourcePace.h"

// 8x CD: 1,408,000 bytes a second.
TEST(SourcePace, TellsOnceWhenTheWritingWaitedAndTheSourceIsSlowerThanTheSpeed) {
    SourcePace pace(8 * 176 * 1000);
    EXPECT_FALSE(pace.TooSlowNow(1000000, 1999, 5)) << "too early to judge";
    EXPECT_FALSE(pace.TooSlowNow(1000000, 4000, 0)) << "the writing never waited";
    EXPECT_FALSE(pace.TooSlowNow(6000000, 4000, 3)) << "1.5 MB/s keeps up";
    EXPECT_TRUE(pace.TooSlowNow(5000000, 4000, 3)) << "1.25 MB/s does not";
    EXPECT_FALSE(pace.TooSlowNow(5000000, 8000, 9)) << "told once";
    EXPECT_FALSE(SourcePace(0).TooSlowNow(1, 100000, 1)) << "no speed, nothing to compare";
}
