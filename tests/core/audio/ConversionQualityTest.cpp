// Sound quality of the conversion to CD-DA, measured on 1 kHz test tones:
// the frequency must survive resampling and the noise stay at the level the
// source's word length allows.
#include <gtest/gtest.h>

#include "AudioTestSignals.h"
#include "TestEnvironment.h"
#include "clsWav2Cda.h"

namespace {
using namespace AudioTest;

struct Measured {
    std::size_t frames = 0;
    ToneFit left, right;
    double leftFrequency = 0;
};

// Converts one second of the tone and measures 0.8 s in the middle (the
// filter's start and end transients left out).
Measured ConvertTone(const WavFormat& format, const std::vector<double>& amplitude,
                     const std::vector<double>& phase) {
    TempFolder temp;
    const std::string source = temp.File("tone.wav");
    WriteFile(source,
              SimpleWave(format, Sine(format, format.samplesPerSec, 1000, amplitude, phase)));
    clsWav2Cda converter;
    converter.SetSource(source);
    converter.SetDestination(temp.File("tempwav.wav"));
    Measured measured;
    if (converter.Convert() != clsWav2Cda::kDone) return measured;
    const std::string pcm = ReadFile(temp.File("tempwav.wav")).substr(44);
    const auto left = CddaChannel(pcm, 0), right = CddaChannel(pcm, 1);
    measured.frames = left.size();
    const std::size_t first = 4410, count = 35280;  // 0.1 s .. 0.9 s
    if (left.size() < first + count) return measured;
    measured.left = FitTone(left, 44100, 1000, first, count);
    measured.right = FitTone(right, 44100, 1000, first, count);
    measured.leftFrequency = ZeroCrossingFrequency(left, 44100, first, count);
    return measured;
}

TEST(ConversionQuality, Mono8BitAt22050Hz) {
    // 8-bit words allow about 48 dB for a tone at 80 % of full scale
    // (6.02 x 8 + 1.76 - 1.9); resampling must not lose more than 3 dB of it.
    const Measured m = ConvertTone(Format(1, 1, 22050, 8), {0.8}, {0.0});
    EXPECT_NEAR(double(m.frames), 44100, 2);
    EXPECT_NEAR(m.leftFrequency, 1000.0, 0.05);
    EXPECT_NEAR(m.left.amplitude, 0.8 * 32768, 0.8 * 32768 * 0.01);
    EXPECT_GE(m.left.snrDb, 45.0);
    EXPECT_NEAR(m.right.amplitude, m.left.amplitude, 1.0) << "mono goes to both channels";
    RecordProperty("snr_db_8bit_22050", std::to_string(m.left.snrDb));
    std::printf("8-bit mono 22050 Hz -> CD-DA: %.2f Hz, SNR %.1f dB\n", m.leftFrequency,
                m.left.snrDb);
}

TEST(ConversionQuality, Stereo24BitAt48000Hz) {
    // 16-bit output with TPDF dither: noise 1/4 LSB^2, so a tone at 80 % of
    // full scale has about 91 dB; the resampler's own error must stay below that.
    const Measured m = ConvertTone(Format(1, 2, 48000, 24), {0.8, 0.4}, {0.0, 0.5});
    EXPECT_NEAR(double(m.frames), 44100, 2);
    EXPECT_NEAR(m.leftFrequency, 1000.0, 0.01);
    EXPECT_NEAR(m.left.amplitude, 0.8 * 32768, 0.8 * 32768 * 0.001);
    EXPECT_NEAR(m.right.amplitude, 0.4 * 32768, 0.4 * 32768 * 0.001) << "channels kept apart";
    EXPECT_GE(m.left.snrDb, 88.0);
    EXPECT_GE(m.right.snrDb, 82.0);
    RecordProperty("snr_db_24bit_48000", std::to_string(m.left.snrDb));
    std::printf("24-bit stereo 48000 Hz -> CD-DA: %.3f Hz, SNR %.1f / %.1f dB\n", m.leftFrequency,
                m.left.snrDb, m.right.snrDb);
}

TEST(ConversionQuality, FloatAt96000HzKeepsTheTone) {
    const Measured m = ConvertTone(Format(3, 2, 96000, 32), {0.5, 0.5}, {0.0, 0.0});
    EXPECT_NEAR(double(m.frames), 44100, 2);
    EXPECT_NEAR(m.leftFrequency, 1000.0, 0.01);
    EXPECT_GE(m.left.snrDb, 84.0);
}
}  // namespace
