#pragma once

#include <optional>
#include <string>

#include "CdText.h"
#include "MediaPresenceWatch.h"
#include "modMMC.h"

// The five values the disc information window shows.
struct DiscInfoTexts {
    std::string discType;           // media name ("CD-R")
    std::string sessions;           // decimal
    std::string lastTrack;          // decimal
    std::string discStatus;         // status word ("Empty")
    std::string lastSessionStatus;  // status word
    CdText cdText;                  // an audio CD's, as read from its lead-in

    bool operator==(const DiscInfoTexts&) const = default;
};

// What the disc information window shows and when it asks the drive: once
// when it opens (after waiting for readiness), then on each 200 ms tick only
// when the watch finds a new medium (one that appeared, was swapped, or that
// an operation of the program may have changed), and "N/A" while no medium
// is known.
class DiscInfoView {
  public:
    // The texts of "no medium known".
    static DiscInfoTexts NotAvailable();
    // Queries the drive (TEST UNIT READY to clear a pending unit attention,
    // then the disc status and an audio CD's CD-TEXT) and names the results.
    static DiscInfoTexts ShowDiscInfo(const std::string& drive);
    // The texts of a disc status.
    static DiscInfoTexts Named(const modMMC::DiscInfoRecord& disc);

    // Opening the window: waits up to 15 s for the drive; the texts to show
    // when it became ready, nullopt (keep the labels) otherwise.
    std::optional<DiscInfoTexts> Load(const std::string& drive);
    // One timer tick: "N/A" texts when no medium is known, the disc's texts
    // when the watch finds a new medium, nullopt when nothing changes (also
    // while another operation has the drive busy).
    std::optional<DiscInfoTexts> Tick(const std::string& drive);
    // True while the texts shown are those of the medium in the drive.
    bool Shown() const { return m_shown; }

  private:
    bool m_shown = false;
    MediaPresenceWatch m_presence;
};
