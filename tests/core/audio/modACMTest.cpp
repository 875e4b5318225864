// Playing times of WAV files as the track list shows them.
#include "modACM.h"

#include <gtest/gtest.h>

#include "AudioTestSignals.h"
#include "TestEnvironment.h"

namespace {
using namespace AudioTest;

TEST(modACM, DurationIsTheDataSizeOverTheByteRate) {
    TempFolder temp;
    const std::string one = temp.File("one.wav");
    WriteFile(one, SimpleWave(WavFormat::Cdda(), std::string(176400, '\0')));
    EXPECT_EQ(modACM::WavDurationSeconds(one), 1);
    EXPECT_EQ(modACM::WavDataBytes(one), 176400);

    // One byte less: the data chunk is clamped to the file, 0.99999 s -> 0.
    const std::string shorter = temp.File("shorter.wav");
    WriteFile(shorter, ReadFile(one).substr(0, 44 + 176399));
    EXPECT_EQ(modACM::WavDurationSeconds(shorter), 0);
    EXPECT_EQ(modACM::WavDataBytes(shorter), 176399);

    // 3725 s of 1 kHz mono 8-bit: 1000 bytes per second.
    const std::string longer = temp.File("long.wav");
    WriteFile(longer, SimpleWave(Format(1, 1, 1000, 8), std::string(3725 * 1000 + 999, '\x80')));
    EXPECT_EQ(modACM::WavDurationSeconds(longer), 3725);
}

TEST(modACM, ChunksOtherThanDataDoNotCount) {
    TempFolder temp;
    const std::string path = temp.File("tagged.wav");
    WriteFile(path, RiffWave(Chunk("fmt ", FormatBody(WavFormat::Cdda())) +
                             Chunk("LIST", std::string(176400, 'x')) +
                             Chunk("data", std::string(176400 * 2, '\0'))));
    EXPECT_EQ(modACM::WavDurationSeconds(path), 2);
}

TEST(modACM, UnreadableFilesAndAZeroByteRateHaveNoDuration) {
    TempFolder temp;
    EXPECT_EQ(modACM::WavDurationSeconds(temp.File("missing.wav")), -1);
    EXPECT_EQ(modACM::WavDataBytes(temp.File("missing.wav")), -1);
    WavFormat zeroRate = WavFormat::Cdda();
    zeroRate.avgBytesPerSec = 0;
    WriteFile(temp.File("zero.wav"), SimpleWave(zeroRate, std::string(1000, '\0')));
    EXPECT_EQ(modACM::WavDurationSeconds(temp.File("zero.wav")), -1);
    WriteFile(temp.File("short.wav"), "RIFF");
    EXPECT_EQ(modACM::WavDurationSeconds(temp.File("short.wav")), -1);
    EXPECT_EQ(modACM::WavDurationSeconds(temp.Path().string()), -1);  // a folder
}
}  // namespace
