#pragma once

#include <QComboBox>
#include <string>

#include "MediaPresenceWatch.h"
#include "SpeedList.h"

// The write or read speed list of a recording window. It follows the medium
// in the current drive: emptied while there is none (or another operation
// has the drive), filled once, by probing the drive, when one appears.
class SpeedListBox : public QComboBox {
    Q_OBJECT
  public:
    using Fill = SpeedList (*)(const std::string& drive);
    // What Follow found.
    enum class Medium { Absent, Appeared, Present };

    SpeedListBox(Fill fill, QWidget* parent);

    // One poll of `drive`; after Appeared the list holds the medium's speeds.
    Medium Follow(const std::string& drive);
    // Forgets the list: the next Follow that finds a medium fills it again
    // (after an operation that may have changed the disc).
    void Forget();
    // The chosen entry; "Default" while the list is empty.
    SpeedEntry Selected() const;

  private:
    MediaPresenceWatch m_presence;
    Fill m_fill;
    bool m_valid = false;  // the list belongs to the medium in the drive
};
