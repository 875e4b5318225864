#pragma once

#include <string>

// Media presence as the polling windows follow it: the drive's media event
// status, and for drives that give no media events, TEST UNIT READY (status 0
// present, CHECK CONDITION with ASC 3Ah absent, anything else: as before).
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
    // Forget the last result (a different drive was chosen).
    void Reset() { m_present = false; }

  private:
    bool m_present = false;
};
