#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The most bytes a command's CDB lets it move: its allocation or parameter
// list length, or its blocks at the largest sector a drive transfers (2744
// bytes: 2352 of CD-DA, C2 error pointers and subchannel). 0 for a command
// that moves no data and for an opcode a recorder does not know.
std::size_t CdbTransferLength(const std::vector<std::uint8_t>& cdb);
