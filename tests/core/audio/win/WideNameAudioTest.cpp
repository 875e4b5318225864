// The Windows build's decoders and tag reader on files the Linux encoders
// made (tests/wine/codec_fixtures.sh), opened under names of Chinese
// characters, which no western ANSI code page holds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "AudioTags.h"
#include "SoundFileDecoder.h"
#include "TestEnvironment.h"
#include "Utf8Path.h"
#include "WaveFileLayout.h"
#include "clsWav2Cda.h"

namespace {
namespace fs = std::filesystem;

// The fixture `name` copied to `chinese` in a folder of a Chinese name; its UTF-8 path.
std::string UnderChineseName(const TempFolder& temp, const std::string& name,
                             const std::u8string& chinese) {
    const fs::path folder = temp.Path() / u8"歌曲 音乐";
    fs::create_directories(folder);
    fs::copy_file(fs::path(MAPLE_CODEC_FIXTURES) / name, folder / chinese);
    return Utf8Of(folder / chinese);
}

// Every frame the decoder gives, as bytes; the read that ends it must be 0,
// not a failure.
std::string Decoded(SoundFileDecoder& decoder) {
    constexpr std::int64_t kStep = 4096;
    const std::size_t block = decoder.Format().blockAlign;
    std::vector<std::uint8_t> buffer(kStep * block);
    std::string bytes;
    std::int64_t got = 0;
    while ((got = decoder.Read(buffer.data(), kStep)) > 0)
        bytes.append(reinterpret_cast<const char*>(buffer.data()), got * block);
    EXPECT_EQ(got, 0) << "the decoder failed on the way";
    return bytes;
}

// RMS level in dB of full scale of samples of type T (little-endian), each
// divided by `scale`.
template <typename T>
double RmsDb(const std::string& bytes, double scale) {
    const std::size_t count = bytes.size() / sizeof(T);
    double sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        T sample;
        std::memcpy(&sample, bytes.data() + i * sizeof(T), sizeof(T));
        sum += (sample / scale) * (sample / scale);
    }
    return 10 * std::log10(sum / static_cast<double>(count));
}

// Sign changes of the first channel of float frames: twice the tone's
// frequency per second, which noise or a wrong layout would not give.
int ZeroCrossings(const std::string& bytes, int channels) {
    const std::size_t frames = bytes.size() / (sizeof(float) * channels);
    int crossings = 0;
    float previous = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        float sample;
        std::memcpy(&sample, bytes.data() + i * channels * sizeof(float), sizeof(float));
        if ((sample < 0) != (previous < 0) && i > 0) ++crossings;
        previous = sample;
    }
    return crossings;
}

TEST(WideNameAudio, FlacInCdFormatDecodesBitForBit) {
    TempFolder temp;
    const std::string path = UnderChineseName(temp, "tone.flac", u8"光.flac");
    std::string reason;
    const auto decoder = SoundFileDecoder::Open(path, reason);
    ASSERT_TRUE(decoder) << reason;
    EXPECT_EQ(decoder->Format().formatTag, WavFormat::kTagPcm);
    EXPECT_EQ(decoder->Format().bitsPerSample, 16);
    EXPECT_EQ(decoder->Frames(), 88200);
    EXPECT_TRUE(Decoded(*decoder) == ReadFile(std::string(MAPLE_CODEC_FIXTURES) + "/cd.raw"));
}

TEST(WideNameAudio, LossyFilesKeepLengthAndLevel) {
    const struct {
        const char* fixture;
        std::u8string name;
        const char* source;
        std::uint32_t rate;
        std::uint16_t channels;
        std::int64_t slack;  // frames: an MP3 is counted in whole frames of 1152
        int hertz;
    } files[] = {
        {"tone.mp3", u8"歌.mp3", "mp3.raw", 44100, 2, 1152, 1000},
        {"tone.ogg", u8"风.ogg", "ogg.raw", 48000, 2, 0, 1500},
        {"tone.opus", u8"雨.opus", "opus.raw", 48000, 1, 0, 2000},
    };
    for (const auto& file : files) {
        TempFolder temp;
        std::string reason;
        const auto decoder =
            SoundFileDecoder::Open(UnderChineseName(temp, file.fixture, file.name), reason);
        ASSERT_TRUE(decoder) << file.fixture << ": " << reason;
        const WavFormat& format = decoder->Format();
        EXPECT_EQ(format.formatTag, WavFormat::kTagFloat) << file.fixture;
        EXPECT_EQ(format.samplesPerSec, file.rate) << file.fixture;
        EXPECT_EQ(format.channels, file.channels) << file.fixture;
        const std::int64_t sourceFrames = 2 * file.rate;
        EXPECT_LE(std::llabs(decoder->Frames() - sourceFrames), file.slack) << file.fixture;
        const std::string samples = Decoded(*decoder);
        EXPECT_EQ(static_cast<std::int64_t>(samples.size()), decoder->Frames() * format.blockAlign)
            << file.fixture;
        const std::string source = ReadFile(std::string(MAPLE_CODEC_FIXTURES) + "/" + file.source);
        EXPECT_NEAR(RmsDb<float>(samples, 1.0), RmsDb<std::int16_t>(source, 32768.0), 0.5)
            << file.fixture;
        // Two seconds of the tone.
        EXPECT_NEAR(ZeroCrossings(samples, file.channels), 4 * file.hertz, 4 * file.hertz / 50)
            << file.fixture;
    }
}
TEST(WideNameAudio, TagsAreRead) {
    TempFolder temp;
    const struct {
        const char* fixture;
        std::u8string name;
        const char* title;
        const char* performer;
    } files[] = {
        {"tone.flac", u8"光.flac", "Morning", "Ann"},
        {"tone.mp3", u8"歌.mp3", "Evening", "Ben"},
        {"tone.ogg", u8"风.ogg", "Night", "Cai"},
    };
    for (const auto& file : files) {
        const AudioTags tags = AudioTags::Read(UnderChineseName(temp, file.fixture, file.name));
        EXPECT_EQ(tags.title, file.title) << file.fixture;
        EXPECT_EQ(tags.performer, file.performer) << file.fixture;
    }
}

// WAV files are read by the program itself: found, laid out, converted from
// 48 kHz, and a CD-format one taken in place.
TEST(WideNameAudio, WaveFilesAreFoundReadAndConverted) {
    TempFolder temp;
    const std::string cd = UnderChineseName(temp, "cd.wav", u8"晨.wav");
    const std::string other = UnderChineseName(temp, "ogg.wav", u8"夜.wav");
    EXPECT_EQ(ReadWaveFileLayout(cd).dataSize, 2 * 44100 * 4);
    clsWav2Cda converter;
    converter.SetSource(cd);
    ASSERT_EQ(converter.RefusalReason(), "");
    converter.SetDestination(Utf8Of(temp.Path() / u8"转换.wav"));
    ASSERT_EQ(converter.Convert(), clsWav2Cda::kDone);
    EXPECT_EQ(converter.Destination(), cd);
    converter.SetSource(other);
    ASSERT_EQ(converter.RefusalReason(), "");
    converter.SetDestination(Utf8Of(temp.Path() / u8"转换.wav"));
    ASSERT_EQ(converter.Convert(), clsWav2Cda::kDone) << converter.OutputProblem();
    EXPECT_NEAR(ReadWaveFileLayout(converter.Destination()).dataSize, 2 * 44100 * 4, 4 * 64);
}
}  // namespace
