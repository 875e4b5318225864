#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "WavFormat.h"

// Why a file could not be read as a WAV file.
enum class WaveProblem {
    kNone,
    kCannotRead,   // missing, not a regular file, or unreadable
    kNotRiffWave,  // no "RIFF" ... "WAVE" at the start
    kTruncated,    // the RIFF header or the "fmt " chunk is cut short
    kNoFormat,     // no "fmt " chunk before the data runs to the end of the file
    kNoData,       // no "data" chunk
};

// Where the format and the sound of a WAV file are, found by walking its RIFF
// chunks ("fmt ", "data"; LIST, fact, cue ... are skipped).
struct WaveFileLayout {
    WaveProblem problem = WaveProblem::kCannotRead;
    WavFormat format;
    std::int64_t fileSize = 0;
    // Offset and length of the sound bytes. A data size of 0 or FFFFFFFFh
    // (left so by streaming writers), or one that runs past the end of the
    // file, is clamped to the end of the file.
    std::int64_t dataOffset = 0;
    std::int64_t dataSize = 0;

    bool Ok() const { return problem == WaveProblem::kNone; }
};

// Walks the chunks of the file at `path`.
WaveFileLayout ReadWaveFileLayout(const std::string& path);
// Walks the chunks of an open stream of `fileSize` bytes (positioned anywhere).
WaveFileLayout ReadWaveFileLayout(std::istream& in, std::int64_t fileSize);
// A short English description of a problem, for command-line messages.
const char* WaveProblemText(WaveProblem problem);
