// Playing times of WAV files as the track list shows them.
#include "modACM.h"

#include <gtest/gtest.h>

#include "AudioTestSignals.h"
#include "TestEnvironment.h"

namespace {
using namespace AudioTest;

TEST(modACM, DurationIsTheDataSizeOverTheByteRateRoundedDown) {
    TempFolder temp;
    const auto wave = [&](const std::string& name, const WavFormat& format, std::size_t bytes) {
        WriteFile(temp.File(name), SimpleWave(format, std::string(bytes, '\0')));
        return modACM::WavDurationSeconds(temp.File(name));
    };
    EXPECT_EQ(wave("one.wav", WavFormat::Cdda(), 176400), 1);
    EXPECT_EQ(wave("shorter.wav", WavFormat::Cdda(), 176399), 0);
    EXPECT_EQ(wave("long.wav", Format(1, 1, 1000, 8), 3725 * 1000 + 999), 3725);
    WavFormat zeroRate = WavFormat::Cdda();
    zeroRate.avgBytesPerSec = 0;
    EXPECT_EQ(wave("zero.wav", zeroRate, 1000), -1);
    EXPECT_EQ(modACM::WavDurationSeconds(temp.File("missing.wav")), -1);
    EXPECT_EQ(modACM::WavDurationSeconds(temp.Path().string()), -1);  // a folder
}
}  // namespace
