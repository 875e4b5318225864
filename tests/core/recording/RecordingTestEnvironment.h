#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "IsolatedProgramFolders.h"
#include "ScriptedReporter.h"
#include "VirtualDriveSession.h"

// A random image of `bytes` bytes whose sector 16 holds no volume descriptor,
// or (with `volumeBlocks` > 0) a strict primary volume descriptor of that size.
std::string RandomImage(std::size_t bytes, unsigned seed, std::int64_t volumeBlocks = 0);
