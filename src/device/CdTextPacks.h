#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "CdText.h"

// CD-TEXT as the lead-in carries it: 18-byte packs (type, track, sequence
// number, block and character position, 12 text bytes, CRC-16 stored
// inverted). Block 0 only, in ISO 8859-1: title (80h), performer (81h) and
// songwriter (82h) of the disc and of each track, then the three size
// information packs (8Fh).
class CdTextPacks {
  public:
    static constexpr std::size_t kPackBytes = 18;
    // Sequence numbers are one byte: text packs and the size information share 256.
    static constexpr std::size_t kMostPacks = 256;
    using Pack = std::array<std::uint8_t, kPackBytes>;

    struct Encoded {
        std::vector<Pack> packs;  // empty when there is no text, or too much of it
        // Each text (UTF-8, as given) that ISO 8859-1 could not hold: its
        // other characters went out as "?".
        std::vector<std::string> replaced;
        bool tooLong = false;  // more than one block of 256 packs
    };
    static Encoded Encode(const CdText& text);

    struct Decoded {
        CdText text;
        int badPacks = 0;       // packs whose CRC does not match (left out)
        bool readable = false;  // block 0 found in a character code read here
    };
    // The packs of a READ TOC format 0101b answer (4-byte header, then packs).
    static Decoded Decode(const std::uint8_t* answer, std::size_t length);
    // `length` bytes of packs, without the header (a partial pack at the end is left out).
    static Decoded DecodePacks(const std::uint8_t* packs, std::size_t length);

    // One pack as R-W sub-channel data of the lead-in: its 18 bytes spread
    // over 24, six bits in each (bits 7-6 zero); four make a 96-byte block.
    static constexpr std::size_t kSpreadBytes = 24;
    static void Spread(const Pack& pack, std::uint8_t* out);

    // CRC-16 (x^16 + x^12 + x^5 + 1, start 0) of the first 16 bytes, as stored: inverted.
    static std::uint16_t Crc(const Pack& pack);
    static void SetCrc(Pack& pack);
    static bool CrcMatches(const Pack& pack);
};
