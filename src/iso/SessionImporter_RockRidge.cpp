// Rock Ridge (SUSP) entries of a directory record's system use area.
#include "SessionImporter.h"

#include <array>
#include <cstring>

namespace {
constexpr int kMostContinuations = 16;
constexpr std::uint32_t kTypeMask = 0170000, kRegular = 0100000, kDirectory = 0040000,
                        kLink = 0120000;

std::uint32_t Little32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

bool Signature(const std::uint8_t* at, const char* two) {
    return std::memcmp(at, two, 2) == 0;
}
}  // namespace

void SessionImporter::RockRidge(std::span<const std::uint8_t> area, Record& record, int hops) {
    std::size_t at = 0;
    while (at + 4 <= area.size()) {
        const std::uint8_t* entry = area.data() + at;
        const std::size_t length = entry[2];
        if (length < 4 || at + length > area.size()) break;
        if (Signature(entry, "NM") && length >= 5) {
            // Flags: bit 1 "." and bit 2 "..", which name nothing here.
            if ((entry[4] & 0x06) == 0)
                record.rockRidgeName.append(reinterpret_cast<const char*>(entry + 5), length - 5);
        } else if (Signature(entry, "PX") && length >= 12) {
            const std::uint32_t type = Little32(entry + 4) & kTypeMask;
            record.symbolicLink = type == kLink;
            record.special = type != kRegular && type != kDirectory && type != kLink;
        } else if (Signature(entry, "SL")) {
            record.symbolicLink = true;
        } else if (Signature(entry, "RE")) {
            record.relocated = true;  // also listed where it belongs, by a CL entry
        } else if (Signature(entry, "CE") && length >= 28 && hops < kMostContinuations) {
            const std::uint32_t block = Little32(entry + 4), offset = Little32(entry + 12),
                                bytes = Little32(entry + 20);
            std::array<std::uint8_t, 2048> continuation{};
            if (offset < continuation.size() && m_read(block, 1, continuation.data()))
                RockRidge(std::span<const std::uint8_t>(continuation)
                              .subspan(offset, std::min<std::size_t>(bytes, 2048 - offset)),
                          record, hops + 1);
        } else if (Signature(entry, "ST")) {
            break;
        }
        at += length;
    }
}
