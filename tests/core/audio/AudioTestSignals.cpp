#include "AudioTestSignals.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

namespace AudioTest {
namespace {
void PutLe(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutSample(std::string& out, const WavFormat& format, double value) {
    const SampleEncoding encoding = format.Encoding();
    if (encoding == SampleEncoding::kFloat32) {
        PutLe(out, std::bit_cast<std::uint32_t>(static_cast<float>(value)), 4);
        return;
    }
    const int bits = format.bitsPerSample;
    const double scale = std::ldexp(1.0, bits - 1);
    const auto top = static_cast<std::int64_t>(scale) - 1;
    const std::int64_t q = std::clamp<std::int64_t>(std::llround(value * scale), -top - 1, top);
    if (encoding == SampleEncoding::kUnsigned8)
        PutLe(out, static_cast<std::uint64_t>(q + 128), 1);
    else
        PutLe(out, static_cast<std::uint64_t>(q), bits / 8);
}
}  // namespace

WavFormat Format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                 std::uint16_t bits) {
    WavFormat format;
    format.formatTag = tag;
    format.subFormat = tag;
    format.channels = channels;
    format.samplesPerSec = rate;
    format.bitsPerSample = bits;
    format.blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
    format.avgBytesPerSec = rate * format.blockAlign;
    return format;
}

std::string Chunk(const std::string& id, const std::string& body) {
    std::string out = id;
    PutLe(out, body.size(), 4);
    out += body;
    if (body.size() % 2 != 0) out.push_back('\0');
    return out;
}

std::string FormatBody(const WavFormat& format) {
    std::string body;
    PutLe(body, format.formatTag, 2);
    PutLe(body, format.channels, 2);
    PutLe(body, format.samplesPerSec, 4);
    PutLe(body, format.avgBytesPerSec, 4);
    PutLe(body, format.blockAlign, 2);
    PutLe(body, format.bitsPerSample, 2);
    if (format.formatTag != WavFormat::kTagExtensible) return body;
    PutLe(body, 22, 2);                    // cbSize
    PutLe(body, format.bitsPerSample, 2);  // valid bits
    PutLe(body, format.channels == 2 ? 3 : 4, 4);
    PutLe(body, format.subFormat, 4);
    body += std::string("\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 12);
    return body;
}

std::string RiffWave(const std::string& chunks) {
    std::string out = "RIFF";
    PutLe(out, chunks.size() + 4, 4);
    return out + "WAVE" + chunks;
}

std::string SimpleWave(const WavFormat& format, const std::string& data) {
    return RiffWave(Chunk("fmt ", FormatBody(format)) + Chunk("data", data));
}

std::string Sine(const WavFormat& format, std::size_t frames, double frequency,
                 const std::vector<double>& amplitude, const std::vector<double>& phase) {
    std::string out;
    out.reserve(frames * format.blockAlign);
    const double step = 2 * std::numbers::pi * frequency / format.samplesPerSec;
    for (std::size_t n = 0; n < frames; ++n)
        for (std::size_t c = 0; c < format.channels; ++c)
            PutSample(out, format, amplitude[c] * std::sin(step * double(n) + phase[c]));
    return out;
}

std::vector<double> CddaChannel(const std::string& pcm, int channel) {
    std::vector<double> x;
    x.reserve(pcm.size() / 4);
    for (std::size_t at = 2 * channel; at + 1 < pcm.size(); at += 4) {
        const auto lo = static_cast<std::uint8_t>(pcm[at]);
        const auto hi = static_cast<std::uint8_t>(pcm[at + 1]);
        x.push_back(static_cast<std::int16_t>(lo | (hi << 8)));
    }
    return x;
}

}  // namespace AudioTest
