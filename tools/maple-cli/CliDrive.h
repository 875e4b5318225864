#pragma once

#include <string>

#include "CliArguments.h"
#include "CliCommand.h"

// The device identifier of the drive chosen with --drive, or empty after
// printing why there is none.
std::string CliDrive(CliContext& context);

// The drive of a command that takes no file arguments, once its options were
// taken: reports a wrong or leftover argument and a missing drive, and then
// returns empty (the command exits with CliExit::kUsage).
std::string CliDriveForCommand(CliContext& context, CliArguments& arguments);
