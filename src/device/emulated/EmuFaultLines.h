#pragma once

#include <string>
#include <vector>

#include "EmuFaults.h"

// The "fault ..." lines of a drive folder's metadata file.
namespace EmuFaultLines {
// Applies one line, split into words after "fault" ("long-write", "5").
// Returns an empty text, or what is wrong with the line.
std::string Parse(const std::vector<std::string>& words, EmuFaults& faults);
// The lines that describe `faults` ("fault long-write 5\n" ...); empty when none is set.
std::string Format(const EmuFaults& faults);
}  // namespace EmuFaultLines
