#pragma once

#include <cstdint>

// Sector arithmetic of the image. Every rounding up of the image uses
// SectorRoundUp, which is strictly greater than its argument: a length that is
// an exact multiple of 2048 is followed by one whole sector of zeros.
constexpr std::int64_t kSectorBytes = 2048;

constexpr std::int64_t SectorRoundUp(std::int64_t x) {
    return x + kSectorBytes - x % kSectorBytes;
}

// Sectors taken by `x` bytes under the rule above (x div 2048 + 1).
constexpr std::int64_t SectorCount(std::int64_t x) {
    return SectorRoundUp(x) / kSectorBytes;
}

static_assert(SectorRoundUp(0) == 2048 && SectorRoundUp(2048) == 4096 &&
              SectorRoundUp(5000) == 6144);
