#include "CddaWaveHeader.h"

#include <algorithm>
#include <cstring>

#include "WavFormat.h"

namespace {
void PutLe16(std::uint8_t* p, std::uint16_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}
void PutLe32(std::uint8_t* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}
std::uint32_t SizeField(std::int64_t value) {
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(value, 0, 0xFFFFFFFF));
}
}  // namespace

std::array<std::uint8_t, 44> CddaWaveHeader(std::int64_t fileLength) {
    const WavFormat cdda = WavFormat::Cdda();
    std::array<std::uint8_t, 44> header{};
    std::uint8_t* p = header.data();
    std::memcpy(p + 0, "RIFF", 4);
    PutLe32(p + 4, SizeField(fileLength - 8));
    std::memcpy(p + 8, "WAVEfmt ", 8);
    PutLe32(p + 16, 16);  // format chunk size
    PutLe16(p + 20, cdda.formatTag);
    PutLe16(p + 22, cdda.channels);
    PutLe32(p + 24, cdda.samplesPerSec);
    PutLe32(p + 28, cdda.avgBytesPerSec);
    PutLe16(p + 32, cdda.blockAlign);
    PutLe16(p + 34, cdda.bitsPerSample);
    std::memcpy(p + 36, "data", 4);
    PutLe32(p + 40, SizeField(fileLength - 44));
    return header;
}
