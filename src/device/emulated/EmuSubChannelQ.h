#pragma once

#include <array>
#include <cstdint>

#include "EmuMedia.h"

// The Q sub-channel of a CD-DA sector as READ CD returns it "formatted"
// (sub-channel selection 010b): 16 bytes, CTL/ADR, track, index, the
// relative time in the track, a zero, the absolute time (BCD, as on the
// disc), the CRC of those ten bytes (inverted, big-endian), four zeros.
// In a pause (index 0) the relative time counts down to 00:00:00 at its
// last sector; from index 1 on it counts up from 00:00:00.
struct EmuSubChannelQ {
    static constexpr int kBytes = 16;
    using Bytes = std::array<std::uint8_t, kBytes>;

    // The Q of `lba` on `media`; false when no audio track or pause holds it.
    static bool At(const EmuMedia& media, std::int64_t lba, Bytes& out);
    // CRC-16 with the polynomial x^16 + x^12 + x^5 + 1, as the disc stores it
    // (inverted): the check of Q sub-channel frames and of CD-TEXT packs.
    static std::uint16_t Crc(const std::uint8_t* data, int length);
};
