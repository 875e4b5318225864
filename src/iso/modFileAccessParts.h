#pragma once

#include <cstdint>

#include "modFileAccess.h"

// What each platform part of modFileAccess gives the portable part.
namespace modFileAccess {
// One write of at most `count` bytes to an open file: the bytes written (at
// least one), or -1 with the last error set (nothing written counts as a
// full disk).
std::int64_t WriteSome(FileHandleRecord& file, const void* buffer, std::int64_t count);
}  // namespace modFileAccess
