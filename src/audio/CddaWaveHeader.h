#pragma once

#include <array>
#include <cstdint>

// The canonical 44-byte RIFF/WAVE header of a CD-DA file (PCM, 2 channels,
// 44,100 Hz, 16-bit) whose total length is `fileLength` bytes: RIFF size =
// length - 8, data size = length - 44. Sizes beyond the 32-bit fields are
// written as FFFFFFFFh, which readers take as "up to the end of the file".
std::array<std::uint8_t, 44> CddaWaveHeader(std::int64_t fileLength);
