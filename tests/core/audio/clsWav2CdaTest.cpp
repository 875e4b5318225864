// Acceptance of WAV files, pass-through of CD-DA, and the files Convert writes.
#include "clsWav2Cda.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <numbers>

#include "AudioTestSignals.h"
#include "CddaWaveHeader.h"
#include "TestEnvironment.h"

namespace {
using namespace AudioTest;

std::uint32_t Le32At(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

class Wav2Cda : public ::testing::Test {
  protected:
    std::string Put(const std::string& name, const std::string& bytes) {
        const std::string path = temp.File(name);
        WriteFile(path, bytes);
        return path;
    }
    TempFolder temp;
    clsWav2Cda converter;
};

TEST_F(Wav2Cda, EmptySourceOrDestinationOrTheSourceItselfDoesNothing) {
    converter.SetDestination(temp.File("out.wav"));
    EXPECT_EQ(converter.Convert(), clsWav2Cda::kNothingDone);
    converter.SetSource(Put("in.wav", SimpleWave(Format(1, 1, 22050, 8), "\x80\x80")));
    converter.SetDestination("");
    EXPECT_EQ(converter.Convert(), clsWav2Cda::kNothingDone);
    EXPECT_FALSE(std::filesystem::exists(temp.File("out.wav")));
    for (const WavFormat& format : {Format(1, 1, 22050, 8), WavFormat::Cdda()}) {
        const std::string bytes = SimpleWave(format, std::string(500, '\x40'));
        const std::string source = Put("same.wav", bytes);
        converter.SetSource(source);
        converter.SetDestination(temp.Path().string() + "/./same.wav");
        EXPECT_EQ(converter.Convert(), clsWav2Cda::kNothingDone);
        EXPECT_EQ(ReadFile(source), bytes);
    }
}

// A valid file at 2 Hz turns every source frame into 22,050 CD-DA frames;
// converted in blocks of its output size, it takes megabytes, not gigabytes.
TEST_F(Wav2Cda, AVeryLowRateConvertsInBoundedBlocks) {
    converter.SetSource(Put("slow.wav", SimpleWave(Format(1, 2, 2, 16), std::string(40, '\1'))));
    converter.SetDestination(temp.File("out.wav"));
    ASSERT_EQ(converter.Convert(), clsWav2Cda::kDone);
    EXPECT_NEAR(double(std::filesystem::file_size(temp.File("out.wav")) - 44) / 4, 220500, 2205);
}

TEST_F(Wav2Cda, CddaPassesThroughWithoutWritingAFile) {
    const std::string source = Put("cd.wav", SimpleWave(WavFormat::Cdda(), std::string(8, '\1')));
    converter.SetSource(source);
    converter.SetDestination(temp.File("tempwav.wav"));
    EXPECT_EQ(converter.Convert(), clsWav2Cda::kDone);
    EXPECT_EQ(converter.Destination(), source);
    EXPECT_FALSE(std::filesystem::exists(temp.File("tempwav.wav")));
}

TEST_F(Wav2Cda, WritesACompleteCddaFileWithCorrectSizesEvenWhenEmpty) {
    // 22,050 Hz mono 8-bit: every source frame becomes two stereo frames.
    const WavFormat mono8 = Format(1, 1, 22050, 8);
    const std::string data = Sine(mono8, 22050, 440, {0.5}, {0});
    converter.SetSource(Put("in.wav", SimpleWave(mono8, data)));
    const std::string out = temp.File("out.wav");
    Put("out.wav", "stale content of an earlier track");
    converter.SetDestination(out);
    std::vector<int> percents;
    converter.SetProgressHandler([&](std::int16_t p) { percents.push_back(p); });
    ASSERT_EQ(converter.Convert(), clsWav2Cda::kDone);

    const std::string bytes = ReadFile(out);
    ASSERT_GT(bytes.size(), 44u);
    EXPECT_EQ(Le32At(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(Le32At(bytes, 40), bytes.size() - 44);  // the length: cli_audio_convert
    ASSERT_FALSE(percents.empty());
    EXPECT_EQ(percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    // An empty data chunk gives a header only.
    converter.SetSource(Put("empty.wav", SimpleWave(Format(1, 2, 48000, 24), "")));
    percents.clear();
    ASSERT_EQ(converter.Convert(), clsWav2Cda::kDone);
    EXPECT_EQ(ReadFile(out).size(), 44u);
    EXPECT_EQ(Le32At(ReadFile(out), 40), 0u);
    EXPECT_EQ(percents, std::vector<int>{100});
}

TEST(CddaWaveHeader, SizesBeyond32BitsMeanToTheEndOfTheFile) {
    const auto huge = CddaWaveHeader(std::int64_t{5} << 30);
    EXPECT_EQ(Le32At(std::string(huge.begin(), huge.end()), 40), 0xFFFFFFFFu);
}

TEST_F(Wav2Cda, EveryEncodingIsDecodedToTheSameSignal) {
    // Same 1 kHz tone in every accepted encoding at 44,100 Hz: the CD-DA
    // output must match the ideal 16-bit samples within the format's precision.
    struct Row {
        WavFormat format;
        double tolerance;  // 16-bit steps
    };
    WavFormat extensible = Format(WavFormat::kTagExtensible, 2, 44100, 24);
    extensible.subFormat = WavFormat::kTagPcm;
    const Row rows[] = {
        {Format(1, 1, 44100, 8), 129}, {Format(1, 2, 44100, 16), 0.5}, {Format(1, 2, 44100, 24), 3},
        {Format(1, 1, 44100, 32), 3},  {Format(3, 2, 44100, 32), 3},   {extensible, 3},
    };
    for (const Row& row : rows) {
        const std::size_t frames = 4410;
        const std::string data = Sine(row.format, frames, 1000, {0.6, 0.3}, {0.0, 1.0});
        converter.SetSource(Put("enc.wav", SimpleWave(row.format, data)));
        converter.SetDestination(temp.File("enc-out.wav"));
        ASSERT_EQ(converter.Convert(), clsWav2Cda::kDone);
        const std::string pcm = ReadFile(converter.Destination()).substr(44);  // CD-DA: in place
        ASSERT_EQ(pcm.size(), frames * 4);
        for (int channel = 0; channel < 2; ++channel) {
            const auto x = CddaChannel(pcm, channel);
            const int source = row.format.channels == 2 ? channel : 0;
            const double amplitude = source == 0 ? 0.6 : 0.3, phase = source == 0 ? 0.0 : 1.0;
            double worst = 0;
            for (std::size_t n = 100; n < frames - 100; ++n) {
                const double ideal =
                    32768 * amplitude *
                    std::sin(2 * std::numbers::pi * 1000 * double(n) / 44100 + phase);
                worst = std::max(worst, std::abs(x[n] - ideal));
            }
            EXPECT_LE(worst, row.tolerance) << "tag " << row.format.formatTag << " bits "
                                            << row.format.bitsPerSample << " channel " << channel;
        }
    }
}

TEST_F(Wav2Cda, FailuresLeaveNoPartialFile) {
    const WavFormat mono8 = Format(1, 1, 22050, 8);
    const std::string source = Put("in.wav", SimpleWave(mono8, std::string(50000, '\x90')));
    converter.SetSource(source);
    converter.SetDestination(temp.File("no-such-folder/out.wav"));
    EXPECT_EQ(converter.Convert(), clsWav2Cda::kBlockFailed);

    // The file was replaced by something else after it was accepted.
    converter.SetDestination(temp.File("out.wav"));
    WriteFile(source, SimpleWave(Format(1, 2, 48000, 16), std::string(400, '\0')));
    EXPECT_EQ(converter.Convert(), clsWav2Cda::kBlockFailed);
    EXPECT_FALSE(std::filesystem::exists(temp.File("out.wav")));
    WriteFile(source, "gone");
    EXPECT_EQ(converter.Convert(), clsWav2Cda::kBlockFailed);
    const auto left = std::filesystem::directory_iterator(temp.Path());
    EXPECT_EQ(std::distance(begin(left), end(left)), 1);  // only the source
}
}  // namespace
