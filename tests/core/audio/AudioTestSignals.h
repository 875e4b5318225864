#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "WavFormat.h"

// Builders of WAV files and measurements of CD-DA output for the audio tests.
namespace AudioTest {

// A format description whose byte rate and block align agree with the rest.
WavFormat Format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits);
// One RIFF chunk: id, little-endian size, body, pad byte for an odd size.
std::string Chunk(const std::string& id, const std::string& body);
// The body of a "fmt " chunk: 16 bytes, or 40 (WAVE_FORMAT_EXTENSIBLE with
// the standard GUID of `subFormat`) when the tag is FFFEh.
std::string FormatBody(const WavFormat& format);
// "RIFF" + size + "WAVE" + the chunks.
std::string RiffWave(const std::string& chunks);
// A plain WAV: "fmt " then "data".
std::string SimpleWave(const WavFormat& format, const std::string& data);

// `frames` frames of a sine of `frequency` Hz, amplitude `amplitude[c]` of
// full scale per channel (phase `phase[c]` radians), rounded to the format.
std::string Sine(const WavFormat& format, std::size_t frames, double frequency,
                 const std::vector<double>& amplitude, const std::vector<double>& phase);

// The 16-bit samples of one channel (0 left, 1 right) of CD-DA PCM bytes.
std::vector<double> CddaChannel(const std::string& pcm, int channel);

}  // namespace AudioTest
