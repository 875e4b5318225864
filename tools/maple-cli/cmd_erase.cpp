// maple-cli erase: the erase window's procedure, confirmed with --yes.
#include <ostream>

#include "CliCommand.h"
#include "CliDrive.h"
#include "DriveClaim.h"
#include "EraseEngine.h"
#include "TerminalReporter.h"

namespace {
// The one "maple-cli: " line of each outcome that is not a success.
const char* FailureLine(EraseOutcome outcome) {
    switch (outcome) {
        case EraseOutcome::Declined:
            return "erase not confirmed (pass --yes to erase)";
        case EraseOutcome::DriveBusy:
            return "the drive did not become ready";
        case EraseOutcome::InUse:
            return "the drive could not be held for erasing";
        case EraseOutcome::NoDisc:
            return "no disc in the drive";
        case EraseOutcome::NotErasable:
            return "the disc is not rewritable";
        case EraseOutcome::Failed:
            return "erasing the disc failed";
        case EraseOutcome::Cancelled:
            return "erasing stopped on request";
        case EraseOutcome::Completed:
            break;
    }
    return "";
}

int RunErase(CliContext& context) {
    CliArguments arguments(context.args);
    const bool full = arguments.TakeFlag("--full");
    const bool yes = arguments.TakeFlag("--yes");
    const std::string drive = CliDriveForCommand(context, arguments);
    if (drive.empty()) return CliExit::kUsage;
    const DriveClaim claim(drive);
    if (ClaimRefused(context, claim)) return CliExit::kFailure;
    TerminalReporter reporter(context.err);
    reporter.SetAnswer(yes);
    const EraseOutcome outcome = EraseEngine(reporter).Run(drive, !full);
    reporter.Finish();
    if (outcome == EraseOutcome::Completed) return CliExit::kSuccess;
    context.err << "maple-cli: " << FailureLine(outcome) << "\n";
    return outcome == EraseOutcome::Cancelled ? CliExit::kStopped : CliExit::kFailure;
}

const CliRegistration erase({"erase", "maple-cli [--drive N] erase [--full] [--yes]",
                             "erase a rewritable disc (quick unless --full; asks unless --yes)",
                             &RunErase, true, true});
}  // namespace
