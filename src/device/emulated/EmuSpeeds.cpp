#include "EmuSpeeds.h"

#include <array>

namespace EmuSpeeds {
namespace {
// CD write 4, 8, 16, 24, 32, 48x; CD read 8, 16, 24, 32, 40, 48x.
constexpr std::array<std::uint16_t, 6> kCdWrite{706, 1411, 2822, 4234, 5645, 8467};
constexpr std::array<std::uint16_t, 6> kCdRead{1411, 2822, 4234, 5645, 7056, 8467};
// DVD write 2.4, 4, 8, 16x; DVD read 4, 8, 12, 16x.
constexpr std::array<std::uint16_t, 4> kDvdWrite{3324, 5540, 11080, 22160};
constexpr std::array<std::uint16_t, 4> kDvdRead{5540, 11080, 16620, 22160};

// BD write 2, 4, 6x; BD read 2, 4, 6, 8x (1x = 4495 kB/s).
constexpr std::array<std::uint16_t, 3> kBdWrite{8990, 17980, 26970};
constexpr std::array<std::uint16_t, 4> kBdRead{8990, 17980, 26970, 35960};

bool Dvd(MediumKind medium) {
    return medium != MediumKind::None && !TraitsOf(medium).cd;
}
}  // namespace

std::span<const std::uint16_t> WriteSpeeds(MediumKind medium) {
    if (TraitsOf(medium).bd) return kBdWrite;
    if (Dvd(medium)) return kDvdWrite;
    return kCdWrite;
}

std::span<const std::uint16_t> ReadSpeeds(MediumKind medium) {
    if (TraitsOf(medium).bd) return kBdRead;
    if (Dvd(medium)) return kDvdRead;
    return kCdRead;
}

std::uint16_t Snap(std::span<const std::uint16_t> speeds, std::uint16_t request) {
    const std::uint32_t allowed = request + request / 100U;
    std::uint16_t chosen = speeds.front();
    for (const std::uint16_t speed : speeds)
        if (speed <= allowed) chosen = speed;
    return chosen;
}
}  // namespace EmuSpeeds
