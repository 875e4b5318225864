#pragma once

#include <cstdint>
#include <span>

// Volume space size (in 2048-byte sectors) of the ISO 9660 primary volume
// descriptor held in `sector`, the content of sector 16; 0 when the sector
// is not a strict primary volume descriptor (type 1, "CD001", version 1,
// both halves of the size equal).
std::int64_t PrimaryVolumeSpaceSize(std::span<const std::uint8_t> sector);

// Sectors 0-16 of a disc or image: what DeclaredVolumeBlocks reads.
constexpr std::size_t kDeclaringBytes = 17 * 2048;

// The 2048-byte blocks a disc image declares it fills, from its first 17
// sectors (`head`, kDeclaringBytes; 0 when shorter): when sector 16 holds a strict
// primary volume descriptor, the larger of its volume space size and the end
// of what a partition table in sectors 0-15 (MBR, or GPT with 512- or
// 2048-byte blocks) places after it: a hybrid image appends partitions (and
// the GPT its backup header) after the ISO 9660 volume. 0 without a primary
// volume descriptor.
std::int64_t DeclaredVolumeBlocks(std::span<const std::uint8_t> head);
