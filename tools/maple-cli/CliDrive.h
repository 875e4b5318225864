#pragma once

#include <string>

#include "CliCommand.h"

// The device identifier of the drive chosen with --drive, or empty after
// printing why there is none.
std::string CliDrive(CliContext& context);
