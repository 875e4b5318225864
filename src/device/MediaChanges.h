#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The signs that the medium in a drive changed, as the program can know them:
// a unit attention "medium may have changed" (06/28) or a "new media" or
// "media changed" event of GET EVENT STATUS NOTIFICATION, which the drive
// reports once, to whichever command of the program asks first; and, where
// the system polls the drive itself and takes those signs first (the Linux sr
// driver), the system's own mark of the last change.
struct MediaChangeMark {
    std::uint64_t seen = 0;              // signs the program's commands received
    std::optional<std::int64_t> system;  // the system's mark, where it keeps one
    bool operator==(const MediaChangeMark&) const = default;
};

// A transport whose system keeps its own mark of medium changes.
class SystemMediaChanges {
  public:
    virtual ~SystemMediaChanges() = default;
    // A value that moves whenever the system saw the medium in `drive`
    // change; nullopt where it keeps none (an older kernel).
    virtual std::optional<std::int64_t> LastMediaChange(const std::string& drive) = 0;
};

namespace MediaChanges {
// Counts a sign of a change of the medium in `drive`. Thread-safe: engines
// send commands from their own threads.
void Note(const std::string& drive);
// The mark of `drive` now: it differs from an earlier one exactly when a
// change was seen in between.
MediaChangeMark Mark(const std::string& drive);
}  // namespace MediaChanges
