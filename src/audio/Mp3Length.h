#pragma once

#include <cstdint>
#include <string>

// Frames of sound in the MP3 file at `path`, found by scanning every frame
// header (fast: nothing is decoded), less the encoder delay and padding that
// a LAME/Xing header declares. The count a header merely estimates (an MP3
// without a Xing header) or promises (one cut short) is never taken. -1 when
// the file is not MPEG audio.
std::int64_t Mp3FrameCount(const std::string& path);
