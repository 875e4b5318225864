#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One session of a disc as the drive lists it.
struct DiscSession {
    int number = 1;
    std::int64_t start = 0;   // LBA of its first track
    std::int64_t length = 0;  // blocks from its first track's start to its last track's end
};

// How the disc in a drive takes more files, decided once for every medium:
// sequential media (CD-R/RW, DVD-R/RW, DVD+R) get a new track in a new
// session at the next writable address; media written in place (DVD+RW,
// DVD-RAM, BD-RE) grow: the new tree follows the data (rounded up to 32
// blocks) and the volume descriptors at block 16 are rewritten to point at it.
struct DiscContinuation {
    enum class Kind {
        Blank,       // nothing recorded: a first session
        NewSession,  // appendable: the next session at writeAt
        Growth,      // written in place, holding a volume: grown at writeAt
        Closed,      // finished (or a pressed disc): nothing more can be added
        Unreadable,  // no disc, or the drive did not say
    };
    Kind kind = Kind::Unreadable;
    std::int32_t media = 0;             // GetMediaType's number
    std::int64_t importFrom = -1;       // start of the last session's image; -1 none
    std::int64_t writeAt = 0;           // where the new image starts
    std::uint16_t trackNumber = 1;      // the track the new image is recorded as
    std::int64_t freeBlocks = -1;       // blocks from writeAt to the end of the disc; -1 unknown
    std::vector<DiscSession> sessions;  // recorded sessions, in disc order

    // Reads the disc in `drive` (ready, held by the caller).
    static DiscContinuation Of(const std::string& drive);
    // Growth: where the next tree starts after a volume of `volumeSpace` blocks.
    static std::int64_t GrowthStart(std::int64_t volumeSpace);
    // Reads `count` blocks at `lba` of `drive` into `out` (READ(10) in runs
    // of 16): the block reader of SessionImporter.
    static bool ReadBlocks(const std::string& drive, std::int64_t lba, std::int32_t count,
                           std::uint8_t* out);
};
