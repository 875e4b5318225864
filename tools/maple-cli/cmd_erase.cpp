// maple-cli erase: the erase window's procedure, confirmed with --yes.
#include <ostream>

#include "CliCommand.h"
#include "CliDrive.h"
#include "CliTexts.h"
#include "DriveClaim.h"
#include "EraseEngine.h"
#include "TerminalReporter.h"

namespace {
// The one "maple-cli: " line of each outcome that is not a success.
std::string FailureLine(EraseOutcome outcome) {
    switch (outcome) {
        case EraseOutcome::Declined:
            return Text(CliText::EraseNotConfirmed);
        case EraseOutcome::DriveBusy:
            return Text(CliText::DriveNeverReady);
        case EraseOutcome::InUse:
            return Text(CliText::DriveNotHeldForErase);
        case EraseOutcome::NoDisc:
            return Text(CliText::NoDiscInDrive);
        case EraseOutcome::NotErasable:
            return Text(CliText::NotRewritable);
        case EraseOutcome::Failed:
            return Text(CliText::EraseFailed);
        case EraseOutcome::Cancelled:
            return Text(CliText::EraseStopped);
        case EraseOutcome::Completed:
            break;
    }
    return {};
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
                             CliText::SummaryErase, &RunErase, true, true});
}  // namespace
