// maple-cli add: adds files to a disc that holds data, as a new session (or
// by growing a DVD+RW), listing the files already on it.
#include <algorithm>
#include <ostream>

#include "BurnOptions.h"
#include "CliDrive.h"
#include "CliImageBuild.h"
#include "CliTexts.h"
#include "DriveClaim.h"
#include "ImageBurner.h"
#include "NameText.h"
#include "SessionBuilder.h"
#include "SessionMerge.h"
#include "SessionRecording.h"
#include "StopSignals.h"
#include "WriteCapabilities.h"
#include "clsISOWriter.h"
#include "modMMC.h"

namespace {
struct AddArguments {
    BurnOptions options = BurnOptions::ForTask(RecordingTask::kRecordImage);
    VolumeOptions volume;
    std::optional<long long> speed;
    bool replace = false;
    std::vector<std::string> paths;
};

bool ParseAddArguments(CliContext& context, AddArguments& parsed) {
    CliArguments arguments(context.args);
    parsed.replace = arguments.TakeFlag("--replace");
    parsed.speed = arguments.TakeNumber("--speed");
    parsed.options.testMode = arguments.TakeFlag("--test");
    parsed.options.fixDisc = !arguments.TakeFlag("--no-fix");
    parsed.options.ejectDisc = !arguments.TakeFlag("--no-eject");
    parsed.options.verify = arguments.TakeFlag("--verify");
    parsed.volume = TakeVolumeOptions(arguments);
    parsed.paths = arguments.Positional();
    std::string error = arguments.Error();
    if (error.empty() && parsed.paths.empty()) error = Text(CliText::AddNeedsPaths);
    if (error.empty() && parsed.speed && (*parsed.speed < 1 || *parsed.speed > 372))
        error = Text(CliText::SpeedRange);
    if (!error.empty()) context.err << "maple-cli: " << error << "\n";
    return error.empty();
}

// The new files and folders, placed as mkiso places them, merged into the
// disc's tree; false after printing why not (nothing was recorded).
bool PlaceNewFiles(CliContext& context, const AddArguments& parsed, clsISOWriter& writer) {
    clsISODirectory added;
    std::vector<SkippedEntry> notes;
    for (const auto& path : parsed.paths) {
        if (std::string problem = added.AddLocalPath(path, &notes, false); !problem.empty()) {
            context.err << "maple-cli: " << NameText::ShownText(problem) << "\n";
            return false;
        }
    }
    if (!ShowNotes(context, notes)) return false;
    const std::vector<std::string> clashes = SessionMerge::Clashes(writer.Root(), added);
    if (!clashes.empty() && !parsed.replace) {
        for (std::string clash : clashes) {
            std::replace(clash.begin(), clash.end(), '\\', '/');
            context.err << "maple-cli: "
                        << Text(CliText::AlreadyOnDisc, {NameText::ShownText(clash)}) << "\n";
        }
        context.err << "maple-cli: " << Text(CliText::PassReplace) << "\n";
        return false;
    }
    SessionMerge::Merge(writer.Root(), added);
    return true;
}

// The drive can record (in test mode, when asked); sets the write speed.
bool PrepareRecording(CliContext& context, AddArguments& parsed, const std::string& drive) {
    const WriteCapabilities capabilities = ReadWriteCapabilities(drive);
    if (!capabilities.canWrite || (parsed.options.testMode && !capabilities.testWrite)) {
        context.err << "maple-cli: "
                    << Text(capabilities.canWrite ? CliText::CannotRecordInTestMode
                                                  : CliText::CannotRecordThisDisc)
                    << "\n";
        return false;
    }
    parsed.options.writeSpeed = parsed.speed ? SpeedEntryOf(static_cast<int>(*parsed.speed))
                                             : FillWriteSpeeds(drive).front();
    return true;
}

int Concluded(CliContext& context, BurnOutcome outcome, CliText done) {
    if (outcome == BurnOutcome::Completed) {
        context.out << Text(done) << "\n";
        return CliExit::kSuccess;
    }
    context.err << "maple-cli: "
                << Text(outcome == BurnOutcome::Refused     ? CliText::Refused
                        : outcome == BurnOutcome::Cancelled ? CliText::StoppedOnRequest
                                                            : CliText::Failed)
                << "\n";
    return outcome == BurnOutcome::Cancelled ? CliExit::kStopped : CliExit::kFailure;
}

// Reads the disc in `drive` (held) for an addition; false after printing why
// it cannot take one.
bool ReadDisc(CliContext& context, const std::string& drive, SessionBuilder& builder) {
    if (modMMC::WaitUnitReady(drive, modMMC::kReadyWaitMs) != 1) {
        context.err << "maple-cli: " << Text(CliText::NoDiscReady) << "\n";
        return false;
    }
    if (const std::string refusal = builder.ReadDisc(drive); !refusal.empty()) {
        context.err << "maple-cli: " << refusal << "\n";
        return false;
    }
    for (const LeftOutEntry& entry : builder.LeftOut())
        context.err << "maple-cli: " << Text(CliText::LeftOutWarning, {entry.path, entry.reason})
                    << "\n";
    return true;
}

int RunAdd(CliContext& context) {
    AddArguments parsed;
    if (!ParseAddArguments(context, parsed)) return CliExit::kUsage;
    const std::string drive = CliDrive(context);
    if (drive.empty()) return CliExit::kUsage;
    const DriveClaim claim(drive);
    if (ClaimRefused(context, claim)) return CliExit::kFailure;
    SessionBuilder builder;
    if (!ReadDisc(context, drive, builder)) return CliExit::kFailure;
    if (!ApplyVolumeFields(context, parsed.volume, builder.Writer())) return CliExit::kUsage;
    if (!PlaceNewFiles(context, parsed, builder.Writer())) return CliExit::kFailure;
    if (!PrepareRecording(context, parsed, drive)) return CliExit::kFailure;
    TerminalReporter reporter(context.err);
    ImageBuildProgress progress(reporter);
    const BurnOutcome outcome =
        SessionRecording::RecordNext(reporter, builder, parsed.options, drive, &progress);
    reporter.Finish();
    return Concluded(context, outcome,
                     parsed.options.testMode ? CliText::TestRecordingDone : CliText::FilesAdded);
}

// Finishes an appendable disc (SessionRecording::CloseDisc).
int RunClose(CliContext& context) {
    CliArguments arguments(context.args);
    AddArguments parsed;
    parsed.options.ejectDisc = !arguments.TakeFlag("--no-eject");
    const std::string drive = CliDriveForCommand(context, arguments);
    if (drive.empty()) return CliExit::kUsage;
    const DriveClaim claim(drive);
    if (ClaimRefused(context, claim)) return CliExit::kFailure;
    if (!PrepareRecording(context, parsed, drive)) return CliExit::kFailure;
    TerminalReporter reporter(context.err);
    const BurnOutcome outcome = SessionRecording::CloseDisc(reporter, drive, parsed.options);
    reporter.Finish();
    return Concluded(context, outcome, CliText::DiscClosed);
}

const CliRegistration add(
    {"add",
     "maple-cli [--drive N] add [--replace] [--no-fix] [--speed N] [--test] [--verify] "
     "[--no-eject] [--volume-id TEXT] [--joliet-volume-id TEXT] "
     "[--date \"YYYY-MM-DD hh:mm:ss\"] PATH...",
     CliText::SummaryAdd, &RunAdd, true, true});

const CliRegistration closeDisc({"close", "maple-cli [--drive N] close [--no-eject]",
                                 CliText::SummaryClose, &RunClose, true, true});
}  // namespace
