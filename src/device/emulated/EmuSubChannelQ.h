#pragma once

#include <array>
#include <cstdint>

#include "EmuMedia.h"

// The Q sub-channel of a CD-DA sector as READ CD returns it "formatted"
// (sub-channel selection 010b): 16 bytes, CTL/ADR, track, index, the
// relative time in the track, a zero, the absolute time (BCD, as on the
// disc), the CRC of those ten bytes (inverted, big-endian), four zeros.
// In a pause (index 0) the relative time counts down to 00:00:00 at its
// last sector; from index 1 on it counts up from 00:00:00. Raw P-W (001b)
// gives the same Q with the P channel, one bit of each sub-channel per byte.
struct EmuSubChannelQ {
    static constexpr int kBytes = 16;
    static constexpr int kRawBytes = 96;
    using Bytes = std::array<std::uint8_t, kBytes>;

    // The Q of `lba` on `media`; false when no audio track or pause holds it.
    static bool At(const EmuMedia& media, std::int64_t lba, Bytes& out);
    // The 96 raw P-W bytes of the sector whose Q is `q` (its twelve bytes,
    // the CRC included): bit 7 the P channel (set in a pause), bit 6 the Q
    // channel, most significant bit first; R-W zero.
    static void RawPw(const Bytes& q, std::uint8_t* out);
    // CRC-16 with the polynomial x^16 + x^12 + x^5 + 1, as the disc stores it
    // (inverted): the check of Q sub-channel frames and of CD-TEXT packs.
    static std::uint16_t Crc(const std::uint8_t* data, int length);
};
