#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "CliTexts.h"

// What a sub-command gets: its own arguments and the global options.
struct CliContext {
    std::vector<std::string> args;           // after the sub-command's name
    int driveIndex = 1;                      // --drive N (1-based table index)
    std::vector<std::string> virtualDrives;  // --virtual DIR, repeatable
    std::ostream& out;
    std::ostream& err;
    std::vector<int> driveIndexes;  // --drive N,M,...: several drives (burn only)
};

using CliHandler = int (*)(CliContext&);

// Exit codes of every sub-command.
namespace CliExit {
constexpr int kSuccess = 0;
constexpr int kFailure = 1;    // the operation failed (message printed)
constexpr int kUsage = 2;      // wrong arguments or no usable drive
constexpr int kStopped = 130;  // stopped by Ctrl-C or SIGTERM, after a safe stop
}  // namespace CliExit

struct CliCommandInfo {
    std::string name;   // "drives", "virtual", "mkiso" ...
    std::string usage;  // "maple-cli [--drive N] eject"
    CliText summary;    // one line for the help text
    CliHandler handler = nullptr;
    bool needsTransport = false;  // main creates the transport before calling
    bool stoppable = false;       // Ctrl-C asks its engine to stop (see StopSignals.h)
};

// Sub-commands register themselves from their own file:
//   static const CliRegistration registration({"eject", ..., &RunEject, true});
struct CliRegistration {
    explicit CliRegistration(CliCommandInfo info);
};

const std::vector<CliCommandInfo>& CliCommands();
