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
    DvdPlusRDl,
    DvdRDl,
    BdR,
    BdRDl,
    BdRe,
};

// Fixed facts of one medium kind, as a drive reports them.
struct MediumTraits {
    MediumKind kind;
    const char* name;       // "cd-r", "dvd+rw" ... (the names of `maple-cli virtual insert`)
    std::uint16_t profile;  // GET CONFIGURATION current profile (0009h CD-R ...)
    bool cd;                // CD family (TAO layout, 2352-byte audio blocks)
    bool bd;                // Blu-ray family (no DVD physical format information)
    bool recordable;        // takes WRITE(10)
    bool erasable;          // READ DISC INFORMATION Erasable bit, takes BLANK (not +RW)
    bool overwritable;      // DVD+RW: random writes, no NWA, no BLANK
    std::uint8_t bookType;  // READ DISC STRUCTURE format 0, byte 4 bits 7-4 (DVD only)
    std::int64_t capacity;  // blocks of a blank medium (CD: lead-out start from ATIP;
                            // BD-RE: unformatted, without spare areas); for a pressed
                            // disc, the most an image may hold
    // The single-layer DVD kind whose recording rules this kind follows:
    // DVD+R DL and BD-R write like DVD+R, DVD-R DL like DVD-R, BD-RE like
    // DVD+RW (itself for the others).
    MediumKind writesLike;
    bool soldUnformatted;  // BD-RE: FORMAT UNIT before the first write
};

// The traits of a kind; MediumKind::None has profile 0 and capacity 0.
const MediumTraits& TraitsOf(MediumKind kind);
// The kind named "cd-r", "cd-rw", "dvd-r", "dvd-rw", "dvd+r", "dvd+rw", "cd-rom",
// "dvd-rom", "dvd+r-dl", "dvd-r-dl", "bd-r", "bd-r-dl", "bd-re" or "none"
// (lower case); nullopt for any other text.
std::optional<MediumKind> MediumKindFromName(const std::string& name);
// The names of the kinds a blank can be of, comma separated ("cd-r, cd-rw, ...").
std::string BlankKindNames();
// The most blocks any medium holds.
std::int64_t LargestCapacity();
// Whether a DVD of `blocks` recorded blocks needs a second layer.
bool IsDualLayer(const MediumTraits& traits, std::int64_t blocks);
