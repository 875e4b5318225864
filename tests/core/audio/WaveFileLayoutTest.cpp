// RIFF chunk walking and the format checks of WAV headers.
#include "WaveFileLayout.h"

#include <gtest/gtest.h>

#include <sstream>

#include "AudioTestSignals.h"

namespace {
using namespace AudioTest;
using namespace std::string_literals;

WaveFileLayout Layout(const std::string& bytes) {
    std::istringstream in(bytes);
    return ReadWaveFileLayout(in, static_cast<std::int64_t>(bytes.size()));
}

const WavFormat kCdda = WavFormat::Cdda();
const std::string kData(4000, '\x11');

TEST(WaveFileLayout, CanonicalFileHasItsDataAtOffset44) {
    const auto layout = Layout(SimpleWave(kCdda, kData));
    ASSERT_TRUE(layout.Ok());
    EXPECT_EQ(layout.dataOffset, 44);
    EXPECT_EQ(layout.dataSize, 4000);
    EXPECT_EQ(layout.format, kCdda);
    EXPECT_TRUE(layout.format.IsCdda());
}

TEST(WaveFileLayout, SkipsChunksBeforeAndAfterTheData) {
    const std::string list = Chunk("LIST", "INFOINAM\x05\x00\x00\x00Title"s);  // odd: padded
    const std::string bytes =
        RiffWave(Chunk("fmt ", FormatBody(kCdda)) + list + Chunk("fact", std::string(4, '\0')) +
                 Chunk("data", kData) + Chunk("id3 ", std::string(128, 'T')));
    const auto layout = Layout(bytes);
    ASSERT_TRUE(layout.Ok());
    EXPECT_EQ(layout.dataOffset, 12 + 24 + static_cast<std::int64_t>(list.size()) + 12 + 8);
    EXPECT_EQ(bytes.substr(layout.dataOffset, layout.dataSize), kData);
}

TEST(WaveFileLayout, FormatAfterDataIsFound) {
    const auto layout = Layout(RiffWave(Chunk("data", kData) + Chunk("fmt ", FormatBody(kCdda))));
    ASSERT_TRUE(layout.Ok());
    EXPECT_EQ(layout.dataOffset, 20);
    EXPECT_EQ(layout.dataSize, 4000);
}

TEST(WaveFileLayout, OpenEndedAndOverlongDataSizesAreClampedToTheFile) {
    for (const std::uint32_t declared : {0u, 0xFFFFFFFFu, 999999u}) {
        std::string bytes = SimpleWave(kCdda, kData);
        for (int i = 0; i < 4; ++i) bytes[40 + i] = static_cast<char>(declared >> (8 * i));
        bytes += "tail";  // anything after the header counts when the size is open
        const auto layout = Layout(bytes);
        ASSERT_TRUE(layout.Ok()) << declared;
        EXPECT_EQ(layout.dataSize, 4004) << declared;
    }
}

TEST(WaveFileLayout, RefusesWhatIsNoWaveFile) {
    EXPECT_EQ(Layout("").problem, WaveProblem::kTruncated);
    EXPECT_EQ(Layout("RIFF\x10\0\0\0WAV"s).problem, WaveProblem::kTruncated);
    EXPECT_EQ(Layout("ID3\x03" + std::string(100, '\0')).problem, WaveProblem::kNotRiffWave);
    EXPECT_EQ(Layout("RIFF\x10\0\0\0AVI "s + std::string(100, '\0')).problem,
              WaveProblem::kNotRiffWave);
    EXPECT_EQ(Layout(RiffWave(Chunk("data", kData))).problem, WaveProblem::kNoFormat);
    EXPECT_EQ(Layout(RiffWave(Chunk("fmt ", FormatBody(kCdda)))).problem, WaveProblem::kNoData);
}

TEST(WaveFileLayout, TruncatedFormatChunksAreRefused) {
    const std::string whole = SimpleWave(kCdda, kData);
    EXPECT_EQ(Layout(whole.substr(0, 30)).problem, WaveProblem::kTruncated);
    EXPECT_EQ(
        Layout(RiffWave(Chunk("fmt ", FormatBody(kCdda).substr(0, 14)) + Chunk("data", kData)))
            .problem,
        WaveProblem::kTruncated);
}

TEST(WaveFileLayout, ExtensibleSubFormatsAreResolved) {
    WavFormat pcm = Format(WavFormat::kTagExtensible, 2, 48000, 24);
    pcm.subFormat = WavFormat::kTagPcm;
    auto layout = Layout(SimpleWave(pcm, kData.substr(0, 3000)));
    ASSERT_TRUE(layout.Ok());
    EXPECT_EQ(layout.format.subFormat, WavFormat::kTagPcm);
    EXPECT_EQ(layout.format.Encoding(), SampleEncoding::kSigned24);

    WavFormat real = Format(WavFormat::kTagExtensible, 1, 44100, 32);
    real.subFormat = WavFormat::kTagFloat;
    layout = Layout(SimpleWave(real, kData));
    EXPECT_EQ(layout.format.Encoding(), SampleEncoding::kFloat32);

    // An unknown GUID (here: the PCM one with a changed last byte) is not read as PCM.
    std::string body = FormatBody(pcm);
    body.back() = '\x72';
    layout = Layout(RiffWave(Chunk("fmt ", body) + Chunk("data", kData)));
    ASSERT_TRUE(layout.Ok());
    EXPECT_EQ(layout.format.Encoding(), SampleEncoding::kUnsupported);
    // An extensible header cut to 16 bytes has no sub-format.
    layout = Layout(RiffWave(Chunk("fmt ", body.substr(0, 16)) + Chunk("data", kData)));
    EXPECT_EQ(layout.format.Encoding(), SampleEncoding::kUnsupported);
}

// The encodings read are decoded by Wav2Cda.EveryEncodingIsDecodedToTheSameSignal.
TEST(WavFormat, EncodingsTheConverterRefuses) {
    struct Row {
        WavFormat format;
        SampleEncoding expected;
    };
    WavFormat zeroRate = Format(1, 2, 44100, 16);
    zeroRate.avgBytesPerSec = 0;
    WavFormat badAlign = Format(1, 2, 44100, 16);
    badAlign.blockAlign = 3;
    const Row rows[] = {
        {Format(3, 2, 48000, 64), SampleEncoding::kUnsupported},  // double
        {Format(1, 6, 48000, 16), SampleEncoding::kUnsupported},  // 5.1
        {Format(1, 0, 48000, 16), SampleEncoding::kUnsupported},
        {Format(1, 2, 0, 16), SampleEncoding::kUnsupported},
        {Format(1, 2, 44100, 12), SampleEncoding::kUnsupported},
        {Format(2, 2, 44100, 4), SampleEncoding::kUnsupported},     // ADPCM
        {Format(0x55, 2, 44100, 0), SampleEncoding::kUnsupported},  // MPEG layer 3
        {zeroRate, SampleEncoding::kUnsupported},
        {badAlign, SampleEncoding::kUnsupported},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.format.Encoding(), row.expected)
            << row.format.formatTag << "/" << row.format.channels << "/" << row.format.samplesPerSec
            << "/" << row.format.bitsPerSample;
    EXPECT_TRUE(WavFormat::Cdda().IsCdda());
    EXPECT_FALSE(Format(1, 1, 44100, 16).IsCdda());
    EXPECT_FALSE(Format(3, 2, 44100, 16).IsCdda());
}
}  // namespace
