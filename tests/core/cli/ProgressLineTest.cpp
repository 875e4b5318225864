// The command line's progress line: the speed and the time left, and how
// often the line may be drawn again.
#include <gtest/gtest.h>

#include "ProgressLine.h"

namespace {
constexpr std::int64_t kCdDataX = 153600;  // bytes a second at 1x
}

TEST(ProgressLineTest, ShowsTheSpeedAndTheTimeLeftOnceProgressIsMade) {
    ProgressLine line;
    // 60 s of a 4x recording: a quarter done after 15 s leaves 45 s.
    line.SetJob(4 * kCdDataX * 60, kCdDataX);
    line.Start(10'000);
    EXPECT_EQ(line.Text(0, 12'000), "");
    EXPECT_EQ(line.Text(25, 25'000), "4.0× 0.61 MB/s 00:00:45 left");
    // A job of unknown size shows the time left only: 2 % in 100 s leaves 4900 s.
    ProgressLine sizeless;
    sizeless.Start(0);
    EXPECT_EQ(sizeless.Text(2, 100'000), "01:21:40 left");
}

TEST(ProgressLineTest, RedrawsAtMostFourTimesASecond) {
    ProgressLine line;
    int drawn = 0;
    for (std::int64_t now = 1'000; now < 3'000; now += 10) drawn += line.DueForRedraw(now) ? 1 : 0;
    EXPECT_EQ(drawn, 8);  // in two seconds of reports every 10 ms
}

TEST(ProgressLineTest, ShowsTheBufferLevelsThatAreKnown) {
    EXPECT_EQ(ProgressLine::BuffersText(87, 40), "fifo 87% drive 40%");
    EXPECT_EQ(ProgressLine::BuffersText(-1, 100), "drive 100%");
    EXPECT_EQ(ProgressLine::BuffersText(5, -1), "fifo 5%");
    EXPECT_EQ(ProgressLine::BuffersText(-1, -1), "");
}
