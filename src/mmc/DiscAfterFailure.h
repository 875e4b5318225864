#pragma once

#include <cstdint>
#include <string>

// What the disc in `drive` holds after a recording failed while track
// `failedTrack` was being written and was closed as far as it could be, as
// the last line of the failure message: still blank; appendable or closed,
// with the failed track's length (or that it was never written) and the
// tracks before it; only partly overwritten; or unusable and why. Asks the
// drive (READ DISC INFORMATION, the profile, READ TRACK INFORMATION), so it
// runs before the tray opens. Texts of the language file's "Engines" keys,
// built-in Simplified Chinese.
std::string DiscAfterFailure(const std::string& drive, int failedTrack);

// Flushes the drive's cache and closes the track being written and its
// session as far as the drive allows, answers unchecked: the tidy-up after a
// recording stopped part way, so that the tracks already written stay readable.
void CloseAfterFailure(const std::string& drive, std::uint16_t track);
