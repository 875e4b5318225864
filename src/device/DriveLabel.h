#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "clsSCSI.h"

// The label of a drive in the drive list: device name (on Windows the drive
// letter and ":\"), " HA:" host adapter, " ID:" target id, " ", then vendor,
// product and revision from INQUIRY taken byte for byte, NUL characters
// removed ("/dev/sr0 HA:1 ID:0 MAPLE   ...", "D:\ HA:1 ID:0 MAPLE   ...").
// Empty when the drive does not answer INQUIRY (it then gets no entry).
// The text is Latin-1 (INQUIRY strings are single-byte characters).
std::optional<std::string> BuildDriveLabel(clsSCSI& transport, std::int16_t index);
