#pragma once

#include <cstdint>
#include <span>

#include "EmuMediumKind.h"

// The speeds the virtual recorder supports, in kB/s (k = 1000), as drives
// report them: CD 1x = 176.4 kB/s, DVD 1x = 1385 kB/s, BD 1x = 4495 kB/s.
namespace EmuSpeeds {
// Supported speeds for the medium, slowest first. Without a medium the CD
// speeds apply. CD write tops out at 48x (8467), below the 9153 kB/s mark at
// which the program assumes a DVD recorder.
std::span<const std::uint16_t> WriteSpeeds(MediumKind medium);
std::span<const std::uint16_t> ReadSpeeds(MediumKind medium);

// The supported speed a SET CD SPEED request selects: the fastest one at or
// below the request (with a 1% allowance, since hosts count 176 kB/s per x
// where drives count 176.4), the slowest for requests below it, the fastest
// for FFFFh and above.
std::uint16_t Snap(std::span<const std::uint16_t> speeds, std::uint16_t request);
}  // namespace EmuSpeeds
