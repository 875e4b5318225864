#pragma once

#include <cstdint>
#include <string>

class DriveClaim;

// Checks a recording passes before anything is sent that changes the disc.
// Each Problem function returns an empty text when the check passes, else
// the message that refuses the recording (EngineMessage).
namespace RecordingChecks {

// `needed` blocks of 2048 bytes against `free` (modMMC::FreeBlocks; not
// checked when negative).
std::string DataFitProblem(std::int64_t needed, std::int64_t free);
// `needed` CD-DA sectors (pauses included) against `free`, shown as playing times too.
std::string AudioFitProblem(std::int64_t needed, std::int64_t free);
// Test mode on media `media` (GetMediaType's number): only media whose
// recorders simulate can take it; elsewhere a test would record for real.
std::string TestModeProblem(std::int32_t media);

// The drive held for the operation: empty when `claim` holds it, else the
// message (another program has it, or why it could not be opened so).
std::string ClaimProblem(const DriveClaim& claim);

}  // namespace RecordingChecks
