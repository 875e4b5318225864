#pragma once

#include <array>
#include <cstdint>

#include "EmuMediumKind.h"
#include "EmuOutcome.h"

// The Write Parameters mode page (05h) of the virtual drive: 52 bytes, page
// length 32h. Field accessors read the MMC layout (page byte 2: BUFE, test write,
// write type; 3: multi-session, track mode; 4: data block type; 14-15: audio
// pause length).
namespace EmuWritePage {
using Page = std::array<std::uint8_t, 52>;

constexpr std::uint8_t kCode = 0x05;
constexpr std::uint8_t kLength = 0x32;

// Track At Once, data track Mode 1, no test write, multi-session 00b, pause 150.
Page Defaults();
// Bits a MODE SELECT may change (MODE SENSE page control 01b).
Page ChangeableMask();

inline bool BufferUnderrunFree(const Page& page) {
    return (page[2] & 0x40) != 0;
}
inline bool TestWrite(const Page& page) {
    return (page[2] & 0x10) != 0;
}
inline std::uint8_t WriteType(const Page& page) {
    return page[2] & 0x0F;
}
inline std::uint8_t MultiSession(const Page& page) {
    return page[3] >> 6;
}
inline std::uint8_t TrackMode(const Page& page) {
    return page[3] & 0x0F;
}
inline std::uint8_t DataBlockType(const Page& page) {
    return page[4] & 0x0F;
}
// Audio tracks have track mode bit 2 clear (CONTROL nibble 0-3).
inline bool AudioTrack(const Page& page) {
    return (TrackMode(page) & 0x04) == 0;
}

// Checks a page sent with MODE SELECT against the changeable bits and the
// medium: 05/26/00 for a reserved value, a write type the medium cannot
// take (DVD-R/-RW: only 0 and 2), or a test write on DVD+R/+RW.
EmuOutcome Validate(const std::uint8_t* page, int pageBytes, const Page& current,
                    MediumKind medium);
// The pre-gap before the next CD track: the audio pause length for an audio
// track, never less than the 150 blocks Track At Once needs.
std::int64_t PreGap(const Page& page);
// Whether WRITE(10) can record with this page on this medium; the block size
// in bytes on success (CD: 2048 for data block type 8, 2352 for 0; DVD 2048).
struct WriteSetup {
    EmuOutcome outcome;
    int blockSize = 0;
    bool audio = false;
    bool testWrite = false;
};
WriteSetup SetupFor(const Page& page, MediumKind medium);

// DVD+R, DVD+RW and the kinds written like them (DVD+R DL, BD-R, BD-RE):
// the page is taken and ignored, and they cannot simulate a recording.
bool IgnoresPage(MediumKind medium);
}  // namespace EmuWritePage
