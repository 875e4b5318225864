#pragma once

#include <cstdint>
#include <string>

// Bytes the blank disc in `drive` holds: its free blocks (a DVD+RW or BD-RE
// still to be formatted: what its first format gives) times 2048. -1 when
// the drive is busy with a job, holds no disc, or the disc is not blank.
// Sends a few quick queries, no command that waits for the drive.
std::int64_t BlankCapacityBytes(const std::string& drive);
