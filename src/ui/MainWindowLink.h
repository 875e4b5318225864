#pragma once

#include <string>

class QWidget;

// The four tasks of the main window, and "none".
namespace Task {
inline constexpr int kDataDisc = 0;
inline constexpr int kAudioCd = 1;
inline constexpr int kRecordImage = 2;
inline constexpr int kCopyDisc = 3;
inline constexpr int kNone = 4;
}  // namespace Task

// Kind of disc chosen for a data disc.
namespace ChosenMedium {
inline constexpr int kCd = 0;
inline constexpr int kDvd = 1;
inline constexpr int kNothing = 2;
}  // namespace ChosenMedium

// What the other windows read from the main window. No window keeps a drive:
// each asks for the current drive whenever it needs it.
class MainWindowLink {
  public:
    virtual ~MainWindowLink() = default;
    // Device identifier of the drive selected in the drive list (its table
    // index turned into DriveHandle); empty when no entry is selected.
    virtual std::string CurrentDrive() const = 0;
    // True when the drive list has no entry (no drive, or none answered).
    virtual bool DriveListEmpty() const = 0;
    // The task the user started last (Task::k...), kNone before the first.
    // Task windows read it to decide where Back leads and whether their
    // image is a temporary one.
    virtual int StartedTask() const = 0;
    // The main window itself: task windows hide and show it, small windows
    // centre on it.
    virtual QWidget* Window() = 0;
};

// The main window of the run; null before it is loaded (and in tests that
// install their own).
MainWindowLink* MainWindow();
void SetMainWindow(MainWindowLink* window);

// The current drive, or empty when there is no main window or no selection.
std::string CurrentDrive();
