#pragma once

#include <cstdint>
#include <string>

// A sound file as an audio recording checked it, and the CD-DA WAV file its
// track is written from. The length and modification time the file had then
// tell when it changed before or while it was recorded.
struct CheckedTrack {
    std::string source;          // the file the user gave
    std::string written;         // the source (a CD-DA WAV read in place) or its converted file
    std::int64_t bytes = -1;     // the source's length when checked (-1: unknown)
    std::int64_t modified = -1;  // its modification time then (file clock ticks)
    std::int64_t dataBytes = 0;  // CD-DA bytes of the track (the written file's data chunk)
    bool needsConversion = false;

    // `path` with its length and modification time now.
    static CheckedTrack Of(const std::string& path);
    // True while the source still has the length and time it had when checked.
    bool Unchanged() const;
    // Sectors the track takes on the disc: its sound in whole 8-sector
    // blocks of the writer, at least the shortest track (300 sectors).
    std::int64_t Sectors() const;
};
