#include "WavFormat.h"

namespace {
constexpr std::uint32_t kHighestRate = 768000;

SampleEncoding IntegerEncoding(std::uint16_t bits) {
    switch (bits) {
        case 8:
            return SampleEncoding::kUnsigned8;
        case 16:
            return SampleEncoding::kSigned16;
        case 24:
            return SampleEncoding::kSigned24;
        case 32:
            return SampleEncoding::kSigned32;
        default:
            return SampleEncoding::kUnsupported;
    }
}
}  // namespace

WavFormat WavFormat::Cdda() {
    WavFormat format;
    format.formatTag = kTagPcm;
    format.subFormat = kTagPcm;
    format.channels = 2;
    format.samplesPerSec = 44100;
    format.avgBytesPerSec = 176400;
    format.blockAlign = 4;
    format.bitsPerSample = 16;
    return format;
}

SampleEncoding WavFormat::Encoding() const {
    if (channels < 1 || channels > 2) return SampleEncoding::kUnsupported;
    if (samplesPerSec < 1 || samplesPerSec > kHighestRate) return SampleEncoding::kUnsupported;
    if (bitsPerSample % 8 != 0 || blockAlign != channels * bitsPerSample / 8)
        return SampleEncoding::kUnsupported;
    // A byte rate that disagrees with rate x block align would give wrong
    // durations and sizes; a PCM converter refuses such a description too.
    if (avgBytesPerSec != std::uint64_t{samplesPerSec} * blockAlign)
        return SampleEncoding::kUnsupported;
    const std::uint16_t kind = formatTag == kTagExtensible ? subFormat : formatTag;
    if (kind == kTagPcm) return IntegerEncoding(bitsPerSample);
    if (kind == kTagFloat && bitsPerSample == 32) return SampleEncoding::kFloat32;
    return SampleEncoding::kUnsupported;
}

bool WavFormat::IsCdda() const {
    const std::uint16_t kind = formatTag == kTagExtensible ? subFormat : formatTag;
    return kind == kTagPcm && channels == 2 && samplesPerSec == 44100 && avgBytesPerSec == 176400 &&
           blockAlign == 4 && bitsPerSample == 16;
}
