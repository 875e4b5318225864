#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the audio track list knows about one file.
struct AudioFileFacts {
    // The file can become an audio track (see InspectAudioFile).
    bool accepted = false;
    std::int64_t fileBytes = 0;
    // Bytes of sound in the file (a WAV file's data chunk).
    std::int64_t soundBytes = 0;
    // Playing time in whole seconds, the fraction discarded.
    std::int32_t seconds = 0;
    // 2352-byte CD-DA sectors the sound fills once converted.
    std::int64_t cdSectors = 0;
    // Last modification, seconds since 1970-01-01 UTC; none when unknown.
    std::optional<std::int64_t> modified;
};

// The one test of which files the audio CD task takes, and their facts: a
// path ending in ".wav" (any case) that names a regular, readable WAV file
// whose format the converter reads and which holds at least one frame of
// sound. Folders, other files, and WAV files that are cut short, empty or
// of an unreadable format come back not accepted (with no facts).
AudioFileFacts InspectAudioFile(const std::string& path);
