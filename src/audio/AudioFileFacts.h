#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the audio track list knows about one file.
struct AudioFileFacts {
    // The file can become an audio track (see InspectAudioFile).
    bool accepted = false;
    // Why it cannot (English), when not accepted.
    std::string refusal;
    std::int64_t fileBytes = 0;
    // Bytes of sound: a WAV file's data chunk; for FLAC, MP3 and Ogg files
    // the CD-DA bytes their decoded sound becomes.
    std::int64_t soundBytes = 0;
    // Playing time in whole seconds, the fraction discarded.
    std::int32_t seconds = 0;
    // 2352-byte CD-DA sectors the sound fills once converted.
    std::int64_t cdSectors = 0;
    // Last modification, seconds since 1970-01-01 UTC; none when unknown.
    std::optional<std::int64_t> modified;
};

// The one test of which files the audio CD task takes, and their facts: a
// file the converter accepts (clsWav2Cda::SetSource: a WAV file by its
// chunks, a FLAC, MP3 or Ogg file by its decoder) that holds at least one
// frame of sound. Lengths come from the frame count (the decoder's for
// compressed files). Folders, other files, and files that are cut short,
// empty or of an unreadable format come back not accepted, with the reason.
AudioFileFacts InspectAudioFile(const std::string& path);
