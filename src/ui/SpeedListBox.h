#pragma once

#include <QComboBox>
#include <string>

#include "MediaPresenceWatch.h"
#include "SpeedList.h"

// The write or read speed list of a recording window. It follows the medium
// in the current drive: emptied while there is none (or another operation
// has the drive), filled, by probing the drive, when a new one is found
// (see MediaPresenceWatch::NewMedium).
class SpeedListBox : public QComboBox {
    Q_OBJECT
  public:
    using Fill = SpeedList (*)(const std::string& drive);
    // What Follow found.
    enum class Medium { Absent, Appeared, Present };

    SpeedListBox(Fill fill, QWidget* parent);

    // One poll of `drive`; after Appeared the list holds the medium's speeds.
    Medium Follow(const std::string& drive);
    // The chosen entry; "Default" while the list is empty.
    SpeedEntry Selected() const;

  private:
    // Empties the list: the next Follow that finds a medium fills it again.
    void Forget();

    MediaPresenceWatch m_presence;
    int m_chosenFactor = 0;  // the speed the user last picked (0: "Default")
    Fill m_fill;
    bool m_valid = false;  // the list belongs to the medium in the drive
};
