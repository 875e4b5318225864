#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "EmuMedia.h"
#include "EmuOutcome.h"

// A Session At Once recording on CD as SEND CUE SHEET describes it: the
// stretches the host writes in order, from the first track's pre-gap to the
// lead-out, each with its track, block size and whether it is the track's
// user data (index 1 on) or its pre-gap (index 0).
struct EmuCueSheet {
    struct Stretch {
        int track = 1;
        EmuTrack::Mode mode = EmuTrack::Mode::Data;
        bool userData = false;
        std::int64_t start = 0, end = 0;  // LBAs, end exclusive
        bool leadIn = false;  // the lead-in's CD-TEXT: 96 bytes of R-W sub-channel a block
        int BlockSize() const { return leadIn ? 96 : mode == EmuTrack::Mode::Audio ? 2352 : 2048; }
    };
    std::vector<Stretch> stretches;
    std::int64_t next = 0;     // the LBA the next WRITE must start at
    std::int64_t leadOut = 0;  // where the lead-out starts: the session is complete there
    std::string catalogue;     // ADR 2 entries: 13 digits, or empty
    std::vector<std::pair<int, std::string>> isrcs;  // ADR 3 entries: track, 12 characters
    // The CD-TEXT packs written into the lead-in so far, one cycle: a pack
    // equal to the first one ends it.
    std::vector<std::uint8_t> leadInPacks;
    bool leadInCycleComplete = false;

    // Reads a cue sheet of 8-byte entries (CTL/ADR, TNO, INDEX, DATA FORM,
    // SCMS, MIN, SEC, FRAME): a lead-in entry, track entries and the lead-out
    // entry. The first track has a pre-gap of at least 150 blocks, every
    // track at least 300 blocks from its index 1 on. Tracks carry CD-DA (data form 00h, 2352 bytes)
    // or Mode 1 (10h, 2048 bytes) and are numbered on from `firstTrack`; the first track's index 1
    // lies at `start` and the lead-out within `capacity`. ADR 2 entries (two
    // of 7 and 6 digits) give the catalogue number, ADR 3 entries (two of 6
    // characters) a track's ISRC. A lead-in entry with data form 41h announces
    // CD-TEXT: the host then writes the lead-in from `leadInStart` to -150 first.
    // 05/26/00 for anything else.
    static EmuOutcome Parse(const std::uint8_t* sheet, int length, int firstTrack,
                            std::int64_t start, std::int64_t capacity, std::int64_t leadInStart,
                            std::optional<EmuCueSheet>& parsed);
    // Takes `blocks` lead-in blocks of packed R-W sub-channel (96 bytes: four
    // packs of 18 bytes, six bits in each byte) into `leadInPacks`.
    void TakeLeadIn(const std::uint8_t* data, std::int64_t blocks);
    // True when every track holds at least 300 blocks from its index 1 on.
    bool TracksLongEnough() const;
    // The stretch holding `lba`, or nullptr.
    const Stretch* At(std::int64_t lba) const;
};
