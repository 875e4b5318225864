// The command line's progress line: the speed and the time left, and how
// often the line may be drawn again. Its words are the built-in (Simplified
// Chinese) texts here.
#include <gtest/gtest.h>

#include "LanguageFile.h"
#include "ProgressLine.h"

namespace {
constexpr std::int64_t kCdDataX = 153600;  // bytes a second at 1x

class ProgressLineTest : public ::testing::Test {
  protected:
    void SetUp() override { SetLanguageFilePath({}); }  // the built-in texts
};
}  // namespace

TEST_F(ProgressLineTest, ShowsTheSpeedAndTheTimeLeftOnceProgressIsMade) {
    ProgressLine line;
    // 60 s of a 4x recording: a quarter done after 15 s leaves 45 s.
    line.SetJob(4 * kCdDataX * 60, kCdDataX);
    line.Start(10'000);
    EXPECT_EQ(line.Text(0, 12'000), "");
    EXPECT_EQ(line.Text(25, 25'000), "4.0× 0.61 MB/s 剩余 00:00:45");
    // A job of unknown size shows the time left only: 2 % in 100 s leaves 4900 s.
    ProgressLine sizeless;
    sizeless.Start(0);
    EXPECT_EQ(sizeless.Text(2, 100'000), "剩余 01:21:40");
}

TEST_F(ProgressLineTest, RedrawsAtMostFourTimesASecond) {
    ProgressLine line;
    int drawn = 0;
    for (std::int64_t now = 1'000; now < 3'000; now += 10) drawn += line.DueForRedraw(now) ? 1 : 0;
    EXPECT_EQ(drawn, 8);  // in two seconds of reports every 10 ms
}

TEST_F(ProgressLineTest, ShowsTheBufferLevelsThatAreKnown) {
    EXPECT_EQ(ProgressLine::BuffersText(87, 40), "缓冲区 87% 光碟机缓存 40%");
    EXPECT_EQ(ProgressLine::BuffersText(-1, 100), "光碟机缓存 100%");
    EXPECT_EQ(ProgressLine::BuffersText(5, -1), "缓冲区 5%");
    EXPECT_EQ(ProgressLine::BuffersText(-1, -1), "");
}
