#include "VolumeSpaceSize.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t kSector = 2048;
constexpr std::size_t kTypeOffset = 0;        // BP 1: volume descriptor type
constexpr std::size_t kIdentifierOffset = 1;  // BP 2-6: standard identifier
constexpr std::size_t kVersionOffset = 6;     // BP 7: descriptor version
constexpr std::size_t kSpaceSizeOffset = 80;  // BP 81-88: volume space size, both-endian
constexpr std::uint8_t kPrimaryDescriptor = 1;
// The system area, sectors 0-15, where a hybrid image keeps its partition tables.
constexpr std::size_t kSystemArea = 16 * kSector;

std::uint64_t LittleEndian(const std::uint8_t* p, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
    return value;
}
std::uint32_t BigEndian32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// 2048-byte blocks up to the end of `blocks` blocks of `size` bytes.
std::int64_t Blocks2048(std::uint64_t blocks, std::uint64_t size) {
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 40;  // beyond any disc: ignored
    if (blocks >= kLimit) return 0;
    return static_cast<std::int64_t>((blocks * size + kSector - 1) / kSector);
}

// MBR (boot signature 55h AAh at 510): the end of its farthest partition.
std::int64_t MbrEnd(std::span<const std::uint8_t> area) {
    if (area[510] != 0x55 || area[511] != 0xAA) return 0;
    std::int64_t end = 0;
    for (std::size_t entry = 446; entry < 510; entry += 16) {
        const std::uint8_t* p = area.data() + entry;
        const std::uint64_t first = LittleEndian(p + 8, 4), count = LittleEndian(p + 12, 4);
        if (p[4] != 0 && count != 0) end = std::max(end, Blocks2048(first + count, 512));
    }
    return end;
}

// GPT ("EFI PART" at block 1 of `block` bytes): the end of its farthest
// partition and of its backup header.
std::int64_t GptEnd(std::span<const std::uint8_t> area, std::size_t block) {
    const std::uint8_t* header = area.data() + block;
    if (std::memcmp(header, "EFI PART", 8) != 0) return 0;
    std::int64_t end = Blocks2048(LittleEndian(header + 32, 8) + 1, block);  // backup header
    const std::uint64_t entries = LittleEndian(header + 80, 4);
    const std::uint64_t entrySize = LittleEndian(header + 84, 4);
    const std::uint64_t firstEntry = LittleEndian(header + 72, 8);
    if (entrySize < 128 || firstEntry >= area.size() / block) return end;
    const std::uint64_t at = firstEntry * block;
    const std::uint64_t fitting = std::min(entries, (area.size() - at) / entrySize);
    static constexpr std::uint8_t kUnused[16] = {};
    for (std::uint64_t i = 0; i < fitting; ++i) {
        const std::uint8_t* p = area.data() + at + i * entrySize;
        if (std::memcmp(p, kUnused, 16) != 0)
            end = std::max(end, Blocks2048(LittleEndian(p + 40, 8) + 1, block));
    }
    return end;
}
}  // namespace

std::int64_t PrimaryVolumeSpaceSize(std::span<const std::uint8_t> sector) {
    if (sector.size() < kSector) return 0;
    const std::uint8_t* bytes = sector.data();
    if (bytes[kTypeOffset] != kPrimaryDescriptor || bytes[kVersionOffset] != 1) return 0;
    if (std::memcmp(bytes + kIdentifierOffset, "CD001", 5) != 0) return 0;
    const auto little = static_cast<std::uint32_t>(LittleEndian(bytes + kSpaceSizeOffset, 4));
    if (little != BigEndian32(bytes + kSpaceSizeOffset + 4)) return 0;
    return little;
}

std::int64_t DeclaredVolumeBlocks(std::span<const std::uint8_t> head) {
    if (head.size() < kDeclaringBytes) return 0;
    const std::int64_t volume = PrimaryVolumeSpaceSize(head.subspan(kSystemArea, kSector));
    if (volume == 0) return 0;
    const auto area = head.first(kSystemArea);
    return std::max({volume, MbrEnd(area), GptEnd(area, 512), GptEnd(area, kSector)});
}
