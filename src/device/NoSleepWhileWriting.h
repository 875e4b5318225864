#pragma once

#include <memory>
#include <string>

#include "SleepInhibitor.h"

// When the program keeps the computer awake: from the first command that
// changes a disc (WRITE, BLANK, FORMAT UNIT ...) during a job on a drive (a
// recording, copy or erase holds DriveBusyScope) to the end of that job. With
// jobs on several drives, from the first write of any to the end of the last.
namespace NoSleepWhileWriting {

// Installs the program's inhibitor (none by default: nothing is held) and
// the reason it gives, in the user's language.
void SetInhibitor(std::shared_ptr<SleepInhibitor> inhibitor, std::string why = {});
// The command layer: a command that changes the disc in `drive` is about to go out.
void NoteDiscChange(const std::string& drive);
// DriveBusyScope: the last job on `drive` has ended.
void NoteJobEnded(const std::string& drive);
// True while the inhibitor is held (for the windows and tests).
bool Held();

}  // namespace NoSleepWhileWriting
