#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// Faults a test (or the drive folder's metadata file) injects into one virtual
// drive. Every counter counts down as the drive uses it; a field at its default
// injects nothing. Changes take effect with the next command.
struct EmuFaults {
    // How SET CD SPEED behaves.
    enum class SpeedRequests : std::uint8_t {
        Honour,  // snap to the nearest supported speed at or below the request
        Ignore,  // answer GOOD, keep the speed
        Reject,  // answer 05/24/00
    };

    // A sense the drive answers for a chosen opcode: after `skip` accepted
    // commands of that opcode, the next `count` of them fail with key/asc/ascq.
    struct CommandFailure {
        std::uint8_t opcode = 0;
        int skip = 0;
        int count = 1;
        std::uint8_t key = 0, asc = 0, ascq = 0;
    };

    // An inclusive range of logical block addresses.
    struct LbaRange {
        std::int64_t first = 0;
        std::int64_t last = 0;
    };

    // The next N commands that need the medium answer 02/04/01 (becoming ready).
    // INQUIRY, GET CONFIGURATION and GET EVENT STATUS NOTIFICATION are not counted.
    int notReadyCommands = 0;
    // The next N commands of any kind answer status 8 (BUSY) without sense data.
    int busyCommands = 0;
    // The next N WRITE(10) answer 02/04/08 (long write in progress); nothing is written.
    int longWriteWrites = 0;
    // A WRITE(10) whose blocks include this LBA answers 03/0C/00; nothing is written.
    std::optional<std::int64_t> writeErrorLba;
    // A WRITE(10) covering one of these LBAs succeeds, but the first byte of
    // that block reaches the medium inverted: a silent corruption only a
    // read-back finds.
    std::vector<std::int64_t> corruptBlocks;
    // READ(10) of a block in one of these ranges answers 03/11/00.
    std::vector<LbaRange> unreadable;
    // GET CONFIGURATION answers 05/20/00 (a drive without the command).
    bool rejectGetConfiguration = false;
    // GET EVENT STATUS NOTIFICATION answers 05/20/00 (a drive without media events).
    bool noMediaEvents = false;
    // MODE SENSE with page control 10b (default values) answers 05/24/00.
    bool rejectDefaultModeSense = false;
    // INQUIRY with vendor bits in its control byte (C0h) answers 05/24/00.
    bool rejectInquiryControlBits = false;
    // READ CD asking for a sub-channel answers 05/24/00 (a drive that reads no Q).
    bool noSubChannel = false;
    // CD Mastering without R-W sub-channel writing: no CD-TEXT in the lead-in
    // (a cue sheet announcing it answers 05/26/00).
    bool noRwSubChannel = false;
    // The second CD-TEXT pack of a Session At Once recording reaches the disc
    // with its first text byte inverted: only a read-back finds it.
    bool corruptCdText = false;
    SpeedRequests speedRequests = SpeedRequests::Honour;
    // After N more accepted WRITE(10), the medium is taken out: the tray stands
    // open and empty, and every later command needing a medium answers 02/3A/02.
    std::optional<int> removeMediumAfterWrites;
    // The drive's buffer runs empty before the N-th WRITE(10) from now: with
    // BUFE set in the Write Parameters page the drive waits for data and
    // records it; without, that WRITE answers 03/0C/09, nothing more of the
    // track is recorded and the track stays short.
    std::optional<int> underrunBeforeWrite;
    // The drive has no buffer underrun protection: page 2Ah and the write
    // features do not offer it, and BUFE does not protect.
    bool noUnderrunProtection = false;
    // Failures of chosen opcodes (SYNCHRONIZE CACHE, CLOSE TRACK ...).
    std::vector<CommandFailure> failures;
};
