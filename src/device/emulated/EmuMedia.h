#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "EmuMediumKind.h"

// One track of the medium in the virtual drive.
struct EmuTrack {
    enum class Mode : std::uint8_t { Data, Audio };

    int number = 1;           // 1-based, across the disc
    int session = 1;          // 1-based
    Mode mode = Mode::Data;   // Data: 2048-byte blocks (Mode 1); Audio: 2352-byte CD-DA blocks
    std::int64_t start = 0;   // LBA of the first user block
    std::int64_t length = 0;  // user blocks written (readable)
    std::int64_t runOut = 0;  // unreadable blocks after the data (2 after a TAO data track on CD)
    bool closed = false;      // false while the track is being written
    std::string isrc;         // 12 characters from the cue sheet, or empty

    // First LBA after the track including its run-out blocks.
    std::int64_t End() const { return start + length + runOut; }
    // Bytes per block as written and exported.
    int BlockSize() const { return mode == Mode::Audio ? 2352 : 2048; }

    bool operator==(const EmuTrack&) const = default;
};

// What the disc as a whole reports (READ DISC INFORMATION byte 2 bits 1-0).
enum class DiscState : std::uint8_t { Blank, Appendable, Complete };

// The medium in the drive (or in its open tray) and everything recorded on it.
// Plain data: the drive's command handlers change it, the folder keeps it.
struct EmuMedia {
    MediumKind kind = MediumKind::None;
    std::int64_t capacity = 0;  // blocks the medium can hold (CD: lead-out start)
    std::vector<EmuTrack> tracks;
    int closedSessions = 0;  // sessions closed with CLOSE SESSION
    bool finalized = false;  // no further session may be added
    // DVD+RW: first LBA after the highest block ever written (0 when never written).
    std::int64_t recordedEnd = 0;
    // DVD+RW and BD-RE before their first FORMAT UNIT: blank, neither read
    // nor written; `capacity` is then the most a format can give.
    bool unformatted = false;
    // Session At Once on CD: the CD-TEXT packs the host wrote into the lead-in
    // (18 bytes each, one cycle, as received) and the disc's catalogue number
    // (13 digits) from the cue sheet.
    std::vector<std::uint8_t> cdText;
    std::string catalogue;

    bool Present() const { return kind != MediumKind::None; }
    DiscState State() const;
    // Sessions as READ DISC INFORMATION counts them: closed ones plus the open
    // (empty or incomplete) last session while the disc is not complete.
    int SessionCount() const;
    // The track being written, or nullptr.
    EmuTrack* OpenTrack();
    const EmuTrack* OpenTrack() const;
    // The track holding `lba` (run-out included), or nullptr.
    const EmuTrack* TrackAt(std::int64_t lba) const;
    // Pre-gap a Track At Once CD track gets when nothing longer is asked for.
    static constexpr std::int64_t kTrackPreGap = 150;
    // Where the lead-in of a blank CD-R/RW starts (ATIP 97:27:66 as an LBA).
    static constexpr std::int64_t kLeadInStart = -11559;
    // DVD-R/-RW: blocks between the end of a closed session and the first
    // track of the next (border-out and border-in; a modelling choice).
    static constexpr std::int64_t kBorderZone = 16384;

    // The audio track whose pause (index 0 before its first block: digital
    // silence, or what the host wrote there in Session At Once) holds `lba`,
    // or nullptr. The first track of a session has the 150-block pre-gap,
    // later ones everything after the previous track.
    const EmuTrack* AudioPauseAt(std::int64_t lba) const;
    // The first LBA of the pause before tracks[index] (its start for data tracks).
    std::int64_t PauseStart(std::size_t index) const;

    // Next writable address of the invisible (or open) track; -1 when the disc
    // takes no more data. `preGap` is the pre-gap the drive puts before a new
    // CD track (page 05h). DVD+RW answers 0 (writable anywhere).
    std::int64_t NextWritableAddress(std::int64_t preGap = kTrackPreGap) const;
    // READ CAPACITY: the last addressable LBA (run-out blocks counted), 0 when
    // blank; on DVD+RW the formatted size - 1, whatever was written.
    std::int64_t LastAddressableLba() const;
    // Where block `lba` of `track` lies in the data file: each track is stored
    // contiguously from its start LBA times the slot size (2352 bytes on CD,
    // which holds any block size, 2048 on DVD). A pause block at `lba` >= 0
    // lies at the same place (on CD no track data is kept there).
    std::int64_t DataOffset(const EmuTrack& track, std::int64_t lba) const;

    bool operator==(const EmuMedia&) const = default;
};
