#include "VolumeSpaceSize.h"

#include <cstring>

namespace {
constexpr std::size_t kTypeOffset = 0;        // BP 1: volume descriptor type
constexpr std::size_t kIdentifierOffset = 1;  // BP 2-6: standard identifier
constexpr std::size_t kVersionOffset = 6;     // BP 7: descriptor version
constexpr std::size_t kSpaceSizeOffset = 80;  // BP 81-88: volume space size, both-endian
constexpr std::uint8_t kPrimaryDescriptor = 1;

std::uint32_t LittleEndian32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}
std::uint32_t BigEndian32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}
}  // namespace

std::int64_t PrimaryVolumeSpaceSize(std::span<const std::uint8_t> sector) {
    if (sector.size() < 2048) return 0;
    const std::uint8_t* bytes = sector.data();
    if (bytes[kTypeOffset] != kPrimaryDescriptor || bytes[kVersionOffset] != 1) return 0;
    if (std::memcmp(bytes + kIdentifierOffset, "CD001", 5) != 0) return 0;
    const std::uint32_t little = LittleEndian32(bytes + kSpaceSizeOffset);
    if (little != BigEndian32(bytes + kSpaceSizeOffset + 4)) return 0;
    return little;
}
