#pragma once

#include <cstdint>
#include <span>

// Volume space size (in 2048-byte sectors) of the ISO 9660 primary volume
// descriptor held in `sector`, the content of sector 16; 0 when the sector
// is not a strict primary volume descriptor (type 1, "CD001", version 1,
// both halves of the size equal).
std::int64_t PrimaryVolumeSpaceSize(std::span<const std::uint8_t> sector);
