#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The kinds of medium the virtual drive can hold.
enum class MediumKind : std::uint8_t {
    None,
    CdRom,
    CdR,
    CdRw,
    DvdRom,
    DvdR,
    DvdRw,
    DvdPlusR,
    DvdPlusRw,
};

// Fixed facts of one medium kind, as a drive reports them.
struct MediumTraits {
    MediumKind kind;
    const char* name;       // "cd-r", "dvd+rw" ... (the names of `maple-cli virtual insert`)
    std::uint16_t profile;  // GET CONFIGURATION current profile (0009h CD-R ...)
    bool cd;                // CD family (TAO layout, 2352-byte audio blocks)
    bool recordable;        // takes WRITE(10)
    bool erasable;          // READ DISC INFORMATION Erasable bit, takes BLANK (not +RW)
    bool overwritable;      // DVD+RW: random writes, no NWA, no BLANK
    std::uint8_t bookType;  // READ DISC STRUCTURE format 0, byte 4 bits 7-4 (DVD only)
    std::int64_t capacity;  // blocks of a blank medium (CD: lead-out start from ATIP);
                            // for a pressed disc, the most an image may hold
};

// The traits of a kind; MediumKind::None has profile 0 and capacity 0.
const MediumTraits& TraitsOf(MediumKind kind);
// The kind named "cd-r", "cd-rw", "dvd-r", "dvd-rw", "dvd+r", "dvd+rw", "cd-rom",
// "dvd-rom" or "none" (lower case); nullopt for any other text.
std::optional<MediumKind> MediumKindFromName(const std::string& name);
// The most blocks any medium holds.
std::int64_t LargestCapacity();
// Whether a DVD of `blocks` recorded blocks needs a second layer.
bool IsDualLayer(const MediumTraits& traits, std::int64_t blocks);
