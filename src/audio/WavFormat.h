#pragma once

#include <cstdint>

// How the samples of a WAV file are stored, as far as the converter can read them.
enum class SampleEncoding {
    kUnsupported,
    kUnsigned8,  // linear PCM, 8-bit, offset binary
    kSigned16,
    kSigned24,
    kSigned32,
    kFloat32,  // IEEE float, nominal range -1..1
};

// The format fields of a WAV "fmt " chunk (the wave format description),
// with the sub-format of WAVE_FORMAT_EXTENSIBLE already resolved.
struct WavFormat {
    static constexpr std::uint16_t kTagPcm = 1;
    static constexpr std::uint16_t kTagFloat = 3;
    static constexpr std::uint16_t kTagExtensible = 0xFFFE;

    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t extraSize = 0;
    // For kTagExtensible: 1 (PCM) or 3 (float) when the sub-format GUID is one
    // of the two standard ones, 0 otherwise. Equals formatTag for the others.
    std::uint16_t subFormat = 0;

    // CD-DA: 44,100 Hz, 16-bit, 2 channels, 176,400 bytes/s, block align 4.
    static WavFormat Cdda();

    // The encoding the converter reads, kUnsupported when it cannot convert
    // the format: other tags, more than 2 channels, a block align or byte rate
    // that contradicts the other fields, or a rate outside 1..768,000 Hz.
    SampleEncoding Encoding() const;
    // True when the data already is CD-DA PCM and can be recorded unchanged.
    bool IsCdda() const;

    bool operator==(const WavFormat&) const = default;
};
