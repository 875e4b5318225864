#pragma once

#include <string>
#include <vector>

#include "CliArguments.h"
#include "CliCommand.h"

class DriveClaim;

// The device identifier of the drive chosen with --drive, or empty after
// printing why there is none.
std::string CliDrive(CliContext& context);

// The drive numbers of --drive: "2" or "1,2,3"; empty when one is no
// positive number.
std::vector<int> DriveNumbers(const std::string& value);

// The device identifiers of the drives chosen with --drive (several for a
// recording on several drives at once), or empty after printing why.
std::vector<std::string> CliDrives(CliContext& context);

// The drive of a command that takes no file arguments, once its options were
// taken: reports a wrong or leftover argument and a missing drive, and then
// returns empty (the command exits with CliExit::kUsage).
std::string CliDriveForCommand(CliContext& context, CliArguments& arguments);

// Recording, erasing and copying hold the drive for the whole command: true
// after printing why `claim` does not hold it ("maple-cli: the drive is in
// use by another program"), false when it does.
bool ClaimRefused(CliContext& context, const DriveClaim& claim);
