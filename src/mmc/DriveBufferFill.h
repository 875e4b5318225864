#pragma once

#include <string>

namespace modMMC {
// READ BUFFER CAPACITY (5Ch) in byte form: the percent of the drive's buffer
// that holds data not yet recorded; -1 when the drive does not tell.
int DriveBufferFill(const std::string& drive);
}  // namespace modMMC
