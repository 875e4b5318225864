// maple-cli burn: records an image file as the record-image window does.
#include <filesystem>
#include <ostream>

#include "BurnOptions.h"
#include "CliArguments.h"
#include "CliCommand.h"
#include "CliDrive.h"
#include "DriveClaim.h"
#include "ImageBurner.h"
#include "ImageContent.h"
#include "ImageFileReader.h"
#include "TerminalReporter.h"
#include "WriteCapabilities.h"
#include "modMMC.h"

namespace {
// 1x of a data CD (75 sectors of 2048 bytes a second) and of a DVD.
constexpr std::int64_t kCdBytesPerX = 153600;
constexpr std::int64_t kDvdBytesPerX = 1385000;

struct BurnArguments {
    BurnOptions options;
    std::optional<long long> speed;
    bool raw = false;  // record a file that holds no disc file system
};

// Reads the arguments; false after printing why they are wrong.
bool ParseBurnArguments(CliContext& context, BurnArguments& parsed) {
    CliArguments arguments(context.args);
    parsed.speed = arguments.TakeNumber("--speed");
    const bool test = arguments.TakeFlag("--test");
    const bool noFix = arguments.TakeFlag("--no-fix");
    const bool noEject = arguments.TakeFlag("--no-eject");
    const bool temporary = arguments.TakeFlag("--temporary");
    const bool verify = arguments.TakeFlag("--verify");
    parsed.raw = arguments.TakeFlag("--raw");
    const std::vector<std::string> images = arguments.Positional();
    std::string error = arguments.Error();
    if (error.empty() && (images.size() > 1 || (images.empty() && !temporary)))
        error = "burn needs one image file (or --temporary)";
    if (error.empty() && parsed.speed && (*parsed.speed < 1 || *parsed.speed > 372))
        error = "--speed needs a factor from 1 to 372";
    if (!error.empty()) {
        context.err << "maple-cli: " << error << "\n";
        return false;
    }
    // --temporary records the image the data disc or copy step left in
    // "TempISO", as their recording window does: disc kind checked, image
    // deleted after a successful recording.
    parsed.options =
        BurnOptions::ForTask(temporary ? RecordingTask::kDataDisc : RecordingTask::kRecordImage);
    if (!images.empty()) parsed.options.imagePath = images.front();
    parsed.options.testMode = test;
    parsed.options.fixDisc = !noFix;
    parsed.options.ejectDisc = !noEject;
    parsed.options.verify = verify;
    parsed.options.raw = parsed.raw;
    return true;
}

// The drive's capabilities gate the Burn button and the test mode box.
bool DriveCanRecord(CliContext& context, const std::string& drive, bool testMode) {
    const WriteCapabilities capabilities = ReadWriteCapabilities(drive);
    if (!capabilities.canWrite) {
        context.err << "maple-cli: the drive cannot record CD-R media\n";
        return false;
    }
    if (testMode && !capabilities.testWrite) {
        context.err << "maple-cli: the drive has no test mode\n";
        return false;
    }
    return true;
}

const char* FailureLine(BurnOutcome outcome) {
    switch (outcome) {
        case BurnOutcome::Refused:
            return "recording refused";
        case BurnOutcome::Failed:
            return "recording failed";
        case BurnOutcome::CompletedWithErrors:
            return "recording finished with errors; the disc may be unusable";
        case BurnOutcome::Cancelled:
            return "recording stopped on request";
        case BurnOutcome::Completed:
            break;
    }
    return "";
}

int ReportOutcome(CliContext& context, BurnOutcome outcome, const ImageBurner& burner,
                  const BurnOptions& options) {
    if (outcome == BurnOutcome::Completed) {
        context.out << (options.testMode ? "test recording complete: " : "recorded: ")
                    << options.imagePath << "\n";
        return CliExit::kSuccess;
    }
    context.err << "maple-cli: " << FailureLine(outcome) << "\n";
    if (outcome == BurnOutcome::Refused && !options.raw &&
        !CutImageProblem(options.imagePath).empty())
        context.err << "maple-cli: pass --raw to record it anyway\n";
    if (outcome != BurnOutcome::Refused && burner.Temporary().Covers(options.imagePath))
        context.err << "maple-cli: the temporary image " << options.imagePath
                    << " was kept; 'maple-cli burn --temporary' tries again\n";
    return outcome == BurnOutcome::Cancelled ? CliExit::kStopped : CliExit::kFailure;
}

int RunBurn(CliContext& context) {
    BurnArguments parsed;
    if (!ParseBurnArguments(context, parsed)) return CliExit::kUsage;
    const std::string drive = CliDrive(context);
    if (drive.empty()) return CliExit::kUsage;
    const DriveClaim claim(drive);
    if (ClaimRefused(context, claim)) return CliExit::kFailure;
    // The window reads the capabilities and probes the speeds when it opens;
    // here that waits until the image is known to be usable, so a wrong path
    // sends nothing to the drive.
    TerminalReporter reporter(context.err);
    if (ImageFileReader::Check(parsed.options.imagePath, ImageBurner::kSmallestImage).empty()) {
        if (!parsed.raw && parsed.options.task == RecordingTask::kRecordImage &&
            ExamineImage(parsed.options.imagePath) == ImageContent::NotAnImage) {
            context.err << "maple-cli: " << parsed.options.imagePath
                        << " is not a disc image (no ISO 9660 or UDF volume at sector 16); "
                           "pass --raw to record it anyway\n";
            return CliExit::kFailure;
        }
        if (!DriveCanRecord(context, drive, parsed.options.testMode)) return CliExit::kFailure;
        parsed.options.writeSpeed = parsed.speed ? SpeedEntryOf(static_cast<int>(*parsed.speed))
                                                 : FillWriteSpeeds(drive).front();
        // The progress line's speed, in the unit of the disc in the drive.
        std::error_code error;
        const auto bytes = std::filesystem::file_size(parsed.options.imagePath, error);
        if (!error)
            reporter.SetJob(static_cast<std::int64_t>(bytes),
                            modMMC::IsDVDMedia(drive) ? kDvdBytesPerX : kCdBytesPerX);
    }
    ImageBurner burner(reporter, parsed.options);
    const BurnOutcome outcome = burner.Burn(drive);
    reporter.Finish();
    return ReportOutcome(context, outcome, burner, parsed.options);
}

const CliRegistration burn(
    {"burn",
     "maple-cli [--drive N] burn IMAGE.iso [--speed N] [--test] [--no-fix] [--no-eject] "
     "[--raw] [--temporary] [--verify]",
     "record an ISO image on a blank disc (--temporary: the image a disc copy left)", &RunBurn,
     true, true});
}  // namespace
