#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "MediaFamily.h"

// One entry of a speed list: its text ("16x" or "Default") and its speed
// factor (0 for "Default").
struct SpeedEntry {
    std::string text;
    int factor = 0;

    bool IsDefault() const { return factor <= 0; }
    // The factor to record or read with: the entry's own, or `defaultFactor`
    // for "Default".
    int FactorOr(int defaultFactor) const { return IsDefault() ? defaultFactor : factor; }
};

// The speeds offered to the user, highest first; never empty.
using SpeedList = std::vector<SpeedEntry>;

// kB/s of one "x".
constexpr int kCdSpeedStep = 176;
constexpr int kDvdSpeedStep = 1385;
constexpr int kBluRaySpeedStep = 4495;

// The entry "Default".
SpeedEntry DefaultSpeedEntry();
// The entry of factor `factor` ("16x").
SpeedEntry SpeedEntryOf(int factor);
// The entry of `list` that keeps a speed the user chose (factor, 0 for
// "Default") when a new medium comes: the same factor, else the nearest
// lower one, else the slowest offered; "Default" stays "Default".
std::size_t KeptSpeedIndex(const SpeedList& list, int chosenFactor);

// Probes the write speeds the drive really switches to: each factor from the
// drive's maximum down to 1 is asked for (SetMediumSpeeds, pure CAV) and
// kept when page 2Ah then reports it. Only "Default" when the maximum is
// below one step or the drive keeps none.
SpeedList FillWriteSpeeds(const std::string& drive);
// The same for the read speeds.
SpeedList FillReadSpeeds(const std::string& drive);

// The step of a probe: the Blu-ray step for a BD; the DVD step for a DVD,
// and for a maximum of 9153 kB/s or more (above 52 x 176); the CD step
// otherwise.
int ProbeSpeedStep(MediaFamily family, std::uint16_t maximumSpeed);
// The step recording and reading use: the disc alone decides.
int MediaSpeedStep(MediaFamily family);
// Asks for the speeds (kB/s, FFFFh the fastest): SET STREAMING on a BD,
// whose drives may ignore SET CD SPEED, else SET CD SPEED with
// `rotationControl`. Returns the command's status.
std::int32_t SetMediumSpeeds(const std::string& drive, MediaFamily family, std::uint16_t readSpeed,
                             std::uint16_t writeSpeed, std::int16_t rotationControl);
// factor x step in kB/s as SET CD SPEED carries it (at most FFFFh).
std::uint16_t SpeedValue(int factor, int step);
