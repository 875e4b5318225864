#pragma once

#include "CliArguments.h"
#include "CliCommand.h"

// maple-cli virtual attach DIR: serves the virtual drive in DIR to the kernel
// as a SCSI recorder (/dev/srN, /dev/sgN) until SIGINT, SIGTERM or SIGHUP, in
// a serving process of the folder owner's user (see KernelRecorder).
int AttachVirtualDrive(CliContext& context, CliArguments& arguments);
// maple-cli virtual detach DIR: removes what a killed 'virtual attach' left.
int DetachVirtualDrive(CliContext& context, CliArguments& arguments);
