#include "EmuMediumKind.h"

#include <algorithm>
#include <array>

namespace {
// 80-minute CD: lead-out start 79:59:74 = LBA 359849. Single-layer DVD: 2295104 blocks.
// A pressed DVD holds up to two layers (DVD-9, 8.54 GB).
constexpr std::int64_t kCdBlocks = 359849;
constexpr std::int64_t kDvdBlocks = 2295104;
constexpr std::int64_t kDvdDualLayerBlocks = 4171712;

// kind, name, profile, cd, recordable, erasable, overwritable, book type, capacity
constexpr std::array<MediumTraits, 9> kTraits{{
    {MediumKind::None, "none", 0x0000, false, false, false, false, 0x0, 0},
    {MediumKind::CdRom, "cd-rom", 0x0008, true, false, false, false, 0x0, kCdBlocks},
    {MediumKind::CdR, "cd-r", 0x0009, true, true, false, false, 0x0, kCdBlocks},
    {MediumKind::CdRw, "cd-rw", 0x000A, true, true, true, false, 0x0, kCdBlocks},
    {MediumKind::DvdRom, "dvd-rom", 0x0010, false, false, false, false, 0x0, kDvdDualLayerBlocks},
    {MediumKind::DvdR, "dvd-r", 0x0011, false, true, false, false, 0x2, kDvdBlocks},
    {MediumKind::DvdRw, "dvd-rw", 0x0014, false, true, true, false, 0x3, kDvdBlocks},
    {MediumKind::DvdPlusR, "dvd+r", 0x001B, false, true, false, false, 0xA, kDvdBlocks},
    {MediumKind::DvdPlusRw, "dvd+rw", 0x001A, false, true, true, true, 0x9, kDvdBlocks},
}};
}  // namespace

const MediumTraits& TraitsOf(MediumKind kind) {
    const auto index = static_cast<std::size_t>(kind);
    return index < kTraits.size() ? kTraits[index] : kTraits[0];
}

std::optional<MediumKind> MediumKindFromName(const std::string& name) {
    for (const MediumTraits& traits : kTraits)
        if (name == traits.name) return traits.kind;
    return std::nullopt;
}

std::int64_t LargestCapacity() {
    std::int64_t largest = 0;
    for (const MediumTraits& traits : kTraits) largest = std::max(largest, traits.capacity);
    return largest;
}

bool IsDualLayer(const MediumTraits& traits, std::int64_t blocks) {
    return !traits.cd && blocks > kDvdBlocks;
}
