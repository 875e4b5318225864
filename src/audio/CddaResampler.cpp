#include "CddaResampler.h"

#include <soxr.h>

#include <bit>
#include <cmath>

namespace {
constexpr double kCddaRate = 44100.0;

std::int16_t Le16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(p[0] | (p[1] << 8));
}
std::uint32_t Le32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

// 8-bit samples are offset binary (128 = silence); 16-bit ones are signed.
void DecodeToInt16(const std::uint8_t* bytes, std::size_t samples, SampleEncoding encoding,
                   std::int16_t* out) {
    if (encoding == SampleEncoding::kUnsigned8) {
        for (std::size_t i = 0; i < samples; ++i)
            out[i] = static_cast<std::int16_t>((bytes[i] - 128) * 256);
    } else {
        for (std::size_t i = 0; i < samples; ++i) out[i] = Le16(bytes + 2 * i);
    }
}

// 24-bit samples go to the top of a 32-bit word, so both widths share one scale.
void DecodeToInt32(const std::uint8_t* bytes, std::size_t samples, SampleEncoding encoding,
                   std::int32_t* out) {
    if (encoding == SampleEncoding::kSigned24) {
        for (std::size_t i = 0; i < samples; ++i) {
            const std::uint8_t* p = bytes + 3 * i;
            const std::uint32_t word = (std::uint32_t{p[0]} << 8) | (std::uint32_t{p[1]} << 16) |
                                       (std::uint32_t{p[2]} << 24);
            out[i] = static_cast<std::int32_t>(word);
        }
    } else {
        for (std::size_t i = 0; i < samples; ++i)
            out[i] = static_cast<std::int32_t>(Le32(bytes + 4 * i));
    }
}

void DecodeToFloat(const std::uint8_t* bytes, std::size_t samples, float* out) {
    for (std::size_t i = 0; i < samples; ++i) out[i] = std::bit_cast<float>(Le32(bytes + 4 * i));
}

soxr_datatype_t SoxrInputType(SampleEncoding encoding) {
    switch (encoding) {
        case SampleEncoding::kUnsigned8:
        case SampleEncoding::kSigned16:
            return SOXR_INT16_I;
        case SampleEncoding::kSigned24:
        case SampleEncoding::kSigned32:
            return SOXR_INT32_I;
        default:
            return SOXR_FLOAT32_I;
    }
}
}  // namespace

std::unique_ptr<CddaResampler> CddaResampler::Create(const WavFormat& source,
                                                     std::size_t maxFrames) {
    const SampleEncoding encoding = source.Encoding();
    if (encoding == SampleEncoding::kUnsupported || maxFrames == 0) return nullptr;
    std::unique_ptr<CddaResampler> resampler(new CddaResampler(source, encoding, maxFrames));
    const bool exact = source.samplesPerSec == 44100 && (encoding == SampleEncoding::kUnsigned8 ||
                                                         encoding == SampleEncoding::kSigned16);
    if (!exact && !resampler->CreateSoxr()) return nullptr;
    return resampler;
}

CddaResampler::CddaResampler(const WavFormat& source, SampleEncoding encoding,
                             std::size_t maxFrames)
    : m_source(source), m_encoding(encoding), m_maxFrames(maxFrames) {
    const std::size_t samples = m_maxFrames * m_source.channels;
    if (SoxrInputType(m_encoding) == SOXR_INT16_I)
        m_in16.resize(samples);
    else if (SoxrInputType(m_encoding) == SOXR_INT32_I)
        m_in32.resize(samples);
    else
        m_inFloat.resize(samples);
}

CddaResampler::~CddaResampler() {
    if (m_soxr != nullptr) soxr_delete(m_soxr);
}

bool CddaResampler::CreateSoxr() {
    const soxr_io_spec_t io = soxr_io_spec(SoxrInputType(m_encoding), SOXR_INT16_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
    soxr_error_t error = nullptr;
    m_soxr = soxr_create(m_source.samplesPerSec, kCddaRate, m_source.channels, &error, &io,
                         &quality, &runtime);
    if (error != nullptr || m_soxr == nullptr) return false;
    // Room for one block's share of output plus what the filter releases late.
    m_outFrames = static_cast<std::size_t>(
                      std::ceil(double(m_maxFrames) * kCddaRate / m_source.samplesPerSec)) +
                  4096;
    m_out16.resize(m_outFrames * m_source.channels);
    return true;
}

const void* CddaResampler::Decode(const std::uint8_t* bytes, std::size_t frames) {
    const std::size_t samples = frames * m_source.channels;
    if (!m_in16.empty()) {
        DecodeToInt16(bytes, samples, m_encoding, m_in16.data());
        return m_in16.data();
    }
    if (!m_in32.empty()) {
        DecodeToInt32(bytes, samples, m_encoding, m_in32.data());
        return m_in32.data();
    }
    DecodeToFloat(bytes, samples, m_inFloat.data());
    return m_inFloat.data();
}

bool CddaResampler::Process(const std::uint8_t* bytes, std::size_t frames,
                            std::vector<std::uint8_t>& out) {
    out.clear();
    if (frames > m_maxFrames) return false;
    const void* samples = Decode(bytes, frames);
    if (m_soxr == nullptr) {
        AppendStereo(static_cast<const std::int16_t*>(samples), frames, out);
        return true;
    }
    return Resample(samples, frames, out);
}

bool CddaResampler::Flush(std::vector<std::uint8_t>& out) {
    out.clear();
    return m_soxr == nullptr || Resample(nullptr, 0, out);
}

// Feeds `frames` frames (none and a null input: end of input) and collects
// all the output libsoxr gives back for them.
bool CddaResampler::Resample(const void* input, std::size_t frames,
                             std::vector<std::uint8_t>& out) {
    const std::size_t sampleBytes = SoxrInputType(m_encoding) == SOXR_INT16_I ? 2 : 4;
    std::size_t consumed = 0;
    for (;;) {
        std::size_t used = 0, produced = 0;
        const void* at = input == nullptr ? nullptr
                                          : static_cast<const std::uint8_t*>(input) +
                                                consumed * m_source.channels * sampleBytes;
        if (soxr_process(m_soxr, at, frames - consumed, &used, m_out16.data(), m_outFrames,
                         &produced) != nullptr)
            return false;
        consumed += used;
        AppendStereo(m_out16.data(), produced, out);
        const bool inputDone = consumed >= frames;
        if (inputDone && produced < m_outFrames) return true;
        if (!inputDone && used == 0 && produced == 0) return false;  // no progress possible
    }
}

void CddaResampler::AppendStereo(const std::int16_t* samples, std::size_t frames,
                                 std::vector<std::uint8_t>& out) const {
    const std::size_t start = out.size();
    out.resize(start + frames * 4);
    std::uint8_t* p = out.data() + start;
    const int step = m_source.channels;
    for (std::size_t i = 0; i < frames; ++i, p += 4) {
        const auto left = static_cast<std::uint16_t>(samples[i * step]);
        const auto right = static_cast<std::uint16_t>(samples[i * step + step - 1]);
        p[0] = static_cast<std::uint8_t>(left);
        p[1] = static_cast<std::uint8_t>(left >> 8);
        p[2] = static_cast<std::uint8_t>(right);
        p[3] = static_cast<std::uint8_t>(right >> 8);
    }
}
