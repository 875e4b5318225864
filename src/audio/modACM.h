#pragma once

#include <cstdint>
#include <string>

// Facts about WAV files that the audio track list shows.
namespace modACM {

// Playing time of the WAV file at `path` in whole seconds (fraction
// discarded): the size of its data chunk divided by its byte rate. Returns
// -1 when the file cannot be read as a WAV file or its byte rate is 0.
std::int32_t WavDurationSeconds(const std::string& path);

}  // namespace modACM
