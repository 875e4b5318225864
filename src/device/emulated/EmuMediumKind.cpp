#include "EmuMediumKind.h"

#include <algorithm>
#include <array>

namespace {
// Capacities in 2048-byte blocks, as drives report them for blank media:
// - 80-minute CD: lead-out start 79:59:74 = LBA 359849 (ATIP).
// - Single-layer DVD: 2295104 blocks (4.7 GB); DVD+R DL 4173824 and DVD-R DL
//   4171712 (8.5 GB): the free blocks of the invisible track of a blank disc.
//   A pressed DVD holds up to two layers (DVD-9, 8.54 GB), as much as a DVD-R DL.
// - BD 25 GB: 12219392 blocks per layer (25,025,314,816 bytes), the BD-R
//   track size and the BD-RE's unformatted capacity, from which the formats
//   with spare areas are carved (see EmuFormats).
constexpr std::int64_t kCdBlocks = 359849;
constexpr std::int64_t kDvdBlocks = 2295104;
constexpr std::int64_t kDvdPlusRDlBlocks = 4173824;
constexpr std::int64_t kDvdRDlBlocks = 4171712;
constexpr std::int64_t kBdLayerBlocks = 12219392;

using K = MediumKind;
// kind, name, profile, cd, bd, recordable, erasable, overwritable, book type,
// capacity, writes like, sold unformatted
constexpr std::array<MediumTraits, 14> kTraits{{
    {K::None, "none", 0x0000, false, false, false, false, false, 0x0, 0, K::None, false},
    {K::CdRom, "cd-rom", 0x0008, true, false, false, false, false, 0x0, kCdBlocks, K::CdRom, false},
    {K::CdR, "cd-r", 0x0009, true, false, true, false, false, 0x0, kCdBlocks, K::CdR, false},
    {K::CdRw, "cd-rw", 0x000A, true, false, true, true, false, 0x0, kCdBlocks, K::CdRw, false},
    {K::DvdRom, "dvd-rom", 0x0010, false, false, false, false, false, 0x0, kDvdRDlBlocks, K::DvdRom,
     false},
    {K::DvdR, "dvd-r", 0x0011, false, false, true, false, false, 0x2, kDvdBlocks, K::DvdR, false},
    {K::DvdRw, "dvd-rw", 0x0014, false, false, true, true, false, 0x3, kDvdBlocks, K::DvdRw, false},
    {K::DvdPlusR, "dvd+r", 0x001B, false, false, true, false, false, 0xA, kDvdBlocks, K::DvdPlusR,
     false},
    {K::DvdPlusRw, "dvd+rw", 0x001A, false, false, true, true, true, 0x9, kDvdBlocks, K::DvdPlusRw,
     false},
    {K::DvdPlusRDl, "dvd+r-dl", 0x002B, false, false, true, false, false, 0xE, kDvdPlusRDlBlocks,
     K::DvdPlusR, false},
    {K::DvdRDl, "dvd-r-dl", 0x0015, false, false, true, false, false, 0x2, kDvdRDlBlocks, K::DvdR,
     false},
    {K::BdR, "bd-r", 0x0041, false, true, true, false, false, 0x0, kBdLayerBlocks, K::DvdPlusR,
     false},
    {K::BdRDl, "bd-r-dl", 0x0041, false, true, true, false, false, 0x0, 2 * kBdLayerBlocks,
     K::DvdPlusR, false},
    {K::BdRe, "bd-re", 0x0043, false, true, true, true, true, 0x0, kBdLayerBlocks, K::DvdPlusRw,
     true},
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

std::string BlankKindNames() {
    std::string names;
    for (const MediumTraits& traits : kTraits)
        if (traits.recordable) names += (names.empty() ? "" : ", ") + std::string(traits.name);
    return names;
}

std::int64_t LargestCapacity() {
    std::int64_t largest = 0;
    for (const MediumTraits& traits : kTraits) largest = std::max(largest, traits.capacity);
    return largest;
}

bool IsDualLayer(const MediumTraits& traits, std::int64_t blocks) {
    // Recordable double-layer kinds say so themselves; a pressed DVD by its size.
    return !traits.cd && !traits.bd && !traits.recordable && blocks > kDvdBlocks;
}
