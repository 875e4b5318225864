#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "MediaChanges.h"

// Media presence as the polling windows follow it: the drive's media event
// status, and for drives that give no media events, TEST UNIT READY (status 0
// present, CHECK CONDITION with ASC 3Ah absent, anything else: as before).
// A medium found present is also checked for being another one than at the
// last poll, so a disc swapped between two polls, or replaced with the tray
// closed, is read again: see NewMedium.
class MediaPresenceWatch {
  public:
    // Asks the drive once; true when a medium is (still) believed present.
    bool Poll(const std::string& drive);
    // Whether a window may start an operation on `drive` now: a drive is
    // chosen, no other operation has it (then it is left alone), and Poll
    // finds a medium.
    bool ReadyToStart(const std::string& drive);
    // The result of the last Poll (false before the first).
    bool Present() const { return m_present; }
    // True when the last Poll found a medium that may not be the one the
    // poll before it saw: it appeared (or another drive was chosen), the
    // drive or the system marked a medium change (MediaChanges), its
    // fingerprint changed (READ DISC INFORMATION bytes 2-7 and READ
    // CAPACITY), or an operation of this program had the drive meanwhile.
    bool NewMedium() const { return m_newMedium; }
    // Forget the last result (a different drive was chosen).
    void Reset() { m_present = false; }

  private:
    // What tells one disc from another at little cost: disc status,
    // sessions, tracks and flags, and the last block.
    using Fingerprint = std::array<std::uint8_t, 14>;
    static Fingerprint ReadFingerprint(const std::string& drive);
    bool PollPresence(const std::string& drive);

    bool m_present = false;
    bool m_newMedium = false;
    std::string m_drive;  // the drive the values below belong to
    Fingerprint m_fingerprint{};
    MediaChangeMark m_mark;
    std::uint64_t m_jobsEnded = 0;
};
