#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "WavFormat.h"

struct soxr;

// Turns the samples of a supported WAV format into CD-DA bytes (44,100 Hz,
// 16-bit signed, stereo, little-endian), one block of source frames at a
// time. Other rates go through libsoxr at high quality (20-bit precision,
// linear phase, TPDF dither on the 16-bit output); 8- and 16-bit input that
// already runs at 44,100 Hz is widened exactly, without filtering. Mono is
// resampled once and sent to both channels.
class CddaResampler {
  public:
    // A resampler for blocks of up to `maxFrames` source frames; null when
    // the format cannot be converted or libsoxr cannot be set up.
    static std::unique_ptr<CddaResampler> Create(const WavFormat& source, std::size_t maxFrames);
    ~CddaResampler();
    CddaResampler(const CddaResampler&) = delete;
    CddaResampler& operator=(const CddaResampler&) = delete;

    // Converts `frames` (at most maxFrames) whole frames at `bytes`; `out`
    // receives the CD-DA bytes produced so far (its old content is dropped,
    // its capacity reused). False when libsoxr reports an error.
    bool Process(const std::uint8_t* bytes, std::size_t frames, std::vector<std::uint8_t>& out);
    // Ends the input: `out` receives what the filter still holds. False on an error.
    bool Flush(std::vector<std::uint8_t>& out);

  private:
    CddaResampler(const WavFormat& source, SampleEncoding encoding, std::size_t maxFrames);
    bool CreateSoxr();
    // Decodes into the input buffer of the sample type libsoxr is fed with.
    const void* Decode(const std::uint8_t* bytes, std::size_t frames);
    bool Resample(const void* input, std::size_t frames, std::vector<std::uint8_t>& out);
    void AppendStereo(const std::int16_t* samples, std::size_t frames,
                      std::vector<std::uint8_t>& out) const;

    WavFormat m_source;
    SampleEncoding m_encoding;
    std::size_t m_maxFrames;
    std::size_t m_outFrames = 0;  // capacity of m_out16, in frames
    soxr* m_soxr = nullptr;       // null on the exact path
    std::vector<std::int16_t> m_in16;
    std::vector<std::int32_t> m_in32;
    std::vector<float> m_inFloat;
    std::vector<std::int16_t> m_out16;
};
