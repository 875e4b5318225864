// maple-cli burn: records an image file as the record-image window does.
#include <filesystem>
#include <memory>
#include <ostream>
#include <sstream>

#include "BurnOptions.h"
#include "CliArguments.h"
#include "CliCommand.h"
#include "CliDrive.h"
#include "CliTexts.h"
#include "CueSheetBurner.h"
#include "DriveClaim.h"
#include "DriveLabel.h"
#include "ImageBurner.h"
#include "ImageContent.h"
#include "ImageFileReader.h"
#include "MediaFamily.h"
#include "ParallelBurn.h"
#include "ParallelLines.h"
#include "ParallelReporter.h"
#include "StandardStreams.h"
#include "StreamImageReader.h"
#include "TemporaryImage.h"
#include "TerminalReporter.h"
#include "TransportSlot.h"
#include "WriteCapabilities.h"
#include "modMMC.h"

namespace {
// 1x of a data CD (75 sectors of 2048 bytes a second), of a DVD and of a BD.
constexpr std::int64_t kCdBytesPerX = 153600;
constexpr std::int64_t kDvdBytesPerX = 1385000;
constexpr std::int64_t kBluRayBytesPerX = 4495000;

std::int64_t BytesPerX(const std::string& drive) {
    switch (MediaFamilies::OfDisc(drive)) {
        case MediaFamily::CD:
            return kCdBytesPerX;
        case MediaFamily::DVD:
            return kDvdBytesPerX;
        case MediaFamily::BluRay:
            return kBluRayBytesPerX;
    }
    return kCdBytesPerX;
}

constexpr long long kDefaultFifoMiB = 16;
constexpr long long kLargestFifoMiB = 1024;

struct BurnArguments {
    BurnOptions options;
    std::optional<long long> speed;
    bool raw = false;     // record a file that holds no disc file system
    bool stream = false;  // "-": the image comes through standard input
    std::optional<long long> size;
    long long fifoMiB = kDefaultFifoMiB;
};

// The options of "burn -"; false after setting `error`.
bool ParseStreamArguments(CliArguments& arguments, BurnArguments& parsed, std::string& error) {
    parsed.size = arguments.TakeNumber("--size");
    parsed.fifoMiB = arguments.TakeNumber("--fifo-size").value_or(kDefaultFifoMiB);
    if (parsed.size && *parsed.size < ImageBurner::kSmallestImage)
        error = Text(CliText::SizeAtLeast, {std::to_string(ImageBurner::kSmallestImage)});
    else if (parsed.fifoMiB < 1 || parsed.fifoMiB > kLargestFifoMiB)
        error = Text(CliText::FifoSizeRange);
    return error.empty();
}

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
    std::string error;
    ParseStreamArguments(arguments, parsed, error);
    const std::vector<std::string> images = arguments.Positional();
    if (error.empty()) error = arguments.Error();
    parsed.stream = images.size() == 1 && images.front() == "-";
    if (error.empty() && !parsed.stream && (parsed.size || parsed.fifoMiB != kDefaultFifoMiB))
        error = Text(CliText::SizeOnlyForStream);
    if (error.empty() && parsed.stream && temporary) error = Text(CliText::TemporaryNotStream);
    if (error.empty() && (images.size() > 1 || (images.empty() && !temporary)))
        error = Text(CliText::BurnNeedsImage);
    if (error.empty() && images.size() == 1 && CueSheetBurner::IsSheet(images.front()) &&
        (parsed.raw || temporary))
        error = Text(CliText::SheetOptionsClash);
    if (error.empty() && parsed.speed && (*parsed.speed < 1 || *parsed.speed > 372))
        error = Text(CliText::SpeedRange);
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
        context.err << "maple-cli: " << Text(CliText::CannotRecordCdR) << "\n";
        return false;
    }
    if (testMode && !capabilities.testWrite) {
        context.err << "maple-cli: " << Text(CliText::NoTestMode) << "\n";
        return false;
    }
    return true;
}

std::string FailureLine(BurnOutcome outcome) {
    switch (outcome) {
        case BurnOutcome::Refused:
            return Text(CliText::RecordingRefused);
        case BurnOutcome::Failed:
            return Text(CliText::RecordingFailed);
        case BurnOutcome::CompletedWithErrors:
            return Text(CliText::RecordingWithErrors);
        case BurnOutcome::Cancelled:
            return Text(CliText::RecordingStopped);
        case BurnOutcome::Completed:
            break;
    }
    return {};
}

int ReportOutcome(CliContext& context, BurnOutcome outcome, const ImageBurner& burner,
                  const BurnOptions& options, const std::string& shownName) {
    if (outcome == BurnOutcome::Completed) {
        context.out << Text(options.testMode ? CliText::TestRecordingComplete : CliText::Recorded,
                            {shownName})
                    << "\n";
        return CliExit::kSuccess;
    }
    context.err << "maple-cli: " << FailureLine(outcome) << "\n";
    if (outcome == BurnOutcome::Refused && !options.raw && shownName == options.imagePath &&
        !CutImageProblem(options.imagePath).empty())
        context.err << "maple-cli: " << Text(CliText::PassRaw) << "\n";
    if (outcome != BurnOutcome::Refused && burner.Temporary().Covers(options.imagePath))
        context.err << "maple-cli: " << Text(CliText::TemporaryKept, {options.imagePath}) << "\n";
    return outcome == BurnOutcome::Cancelled ? CliExit::kStopped : CliExit::kFailure;
}

// The write speed the user asked for, or the fastest the drive offers.
SpeedEntry ChosenSpeed(const std::string& drive, const BurnArguments& parsed) {
    return parsed.speed ? SpeedEntryOf(static_cast<int>(*parsed.speed))
                        : FillWriteSpeeds(drive).front();
}

// "burn -": the image's first blocks are read (and its length known) before
// the drive is asked anything; the FIFO fills while the disc is checked.
int RunStreamBurn(CliContext& context, const std::string& drive, BurnArguments& parsed) {
    StreamImageReader stream(StandardInput(), Text(CliText::StandardInput),
                             static_cast<std::size_t>(parsed.fifoMiB) << 20);
    if (!stream.Open(parsed.size)) {
        context.err << "maple-cli: "
                    << Text(CliText::StreamProblem, {Text(CliText::StandardInput), stream.Error()})
                    << "\n";
        return CliExit::kFailure;
    }
    if (!DriveCanRecord(context, drive, parsed.options.testMode)) return CliExit::kFailure;
    parsed.options.writeSpeed = ChosenSpeed(drive, parsed);
    TerminalReporter reporter(context.err);
    reporter.SetJob(stream.Length(), BytesPerX(drive));
    ImageBurner burner(reporter, parsed.options);
    const BurnOutcome outcome = burner.BurnSource(drive, stream);
    stream.Close();
    reporter.Finish();
    return ReportOutcome(context, outcome, burner, parsed.options, stream.Name());
}

// "burn SHEET.cue": the sheet is read, and a data track's file checked,
// before the drive is asked anything.
int RunSheetBurn(CliContext& context, const std::string& drive, BurnArguments& parsed) {
    TerminalReporter reporter(context.err);
    CueSheetBurner burner(reporter, parsed.options);
    burner.SetTrackCounterHandler([&](const std::string& counter) {
        reporter.Finish();
        context.err << counter << "\n";
    });
    BurnOutcome outcome = BurnOutcome::Refused;
    if (burner.Read()) {
        if (!DriveCanRecord(context, drive, parsed.options.testMode)) return CliExit::kFailure;
        if (!burner.IsAudio()) {
            burner.SetWriteSpeed(ChosenSpeed(drive, parsed));
            reporter.SetJob(burner.DataBytes(), BytesPerX(drive));
        }
        TemporaryImage::RemoveStaleFiles();  // an audio sheet's converted files go there
        outcome = burner.Burn(drive);
    }
    reporter.Finish();
    const std::string& path = parsed.options.imagePath;
    if (outcome == BurnOutcome::Completed) {
        context.out << Text(parsed.options.testMode ? CliText::TestRecordingComplete
                                                    : CliText::Recorded,
                            {path})
                    << "\n";
        return CliExit::kSuccess;
    }
    context.err << "maple-cli: " << FailureLine(outcome) << "\n";
    return outcome == BurnOutcome::Cancelled ? CliExit::kStopped : CliExit::kFailure;
}

// The image of a recording on several drives, checked once as for one
// drive; null after printing why it cannot be recorded.
std::unique_ptr<ImageSource> OpenSharedImage(CliContext& context, const BurnArguments& parsed) {
    if (parsed.stream) {
        auto stream =
            std::make_unique<StreamImageReader>(StandardInput(), Text(CliText::StandardInput),
                                                static_cast<std::size_t>(parsed.fifoMiB) << 20);
        if (stream->Open(parsed.size)) return stream;
        context.err << "maple-cli: "
                    << Text(CliText::StreamProblem, {stream->Name(), stream->Error()}) << "\n";
        return nullptr;
    }
    const std::string& path = parsed.options.imagePath;
    auto file = std::make_unique<ImageFileReader>();
    std::string problem = ImageFileReader::Check(path, ImageBurner::kSmallestImage);
    if (problem.empty() && !parsed.raw && ExamineImage(path) == ImageContent::NotAnImage)
        problem = Text(CliText::NotADiscImage, {path});
    else if (!problem.empty())
        problem = path + " " + problem;
    if (problem.empty() && !parsed.raw) problem = CutImageProblem(path);
    if (problem.empty() && !file->Open(path)) problem = path + " " + file->Error();
    if (problem.empty()) return file;
    context.err << "maple-cli: " << problem << "\n"
                << "maple-cli: " << Text(CliText::RecordingRefused) << "\n";
    return nullptr;
}

// One of several drives: held, its capabilities and speed, then the
// recording from its own tap of the shared image.
BurnOutcome BurnOnDrive(const BurnArguments& parsed, const std::string& drive, ParallelLines& lines,
                        std::size_t index, ImageSource& image) {
    const DriveClaim claim(drive);
    std::ostringstream refusal;
    CliContext quiet{{}, 1, {}, refusal, refusal, {}};
    if (ClaimRefused(quiet, claim) || !DriveCanRecord(quiet, drive, parsed.options.testMode)) {
        std::string line = refusal.str();
        if (line.starts_with("maple-cli: ")) line.erase(0, 11);
        lines.Line(index, line);
        return BurnOutcome::Refused;
    }
    BurnOptions options = parsed.options;
    options.writeSpeed = ChosenSpeed(drive, parsed);
    ParallelReporter reporter(lines, index);
    ImageBurner burner(reporter, options);
    return burner.BurnSource(drive, image);
}

// A line per drive on standard output; exit status: stopped when a drive
// stopped on request, failed when any drive did not complete.
int ReportDrives(CliContext& context, const std::vector<std::string>& drives,
                 const std::vector<BurnOutcome>& outcomes, bool testMode) {
    int failed = 0;
    bool stopped = false;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        const int number = context.driveIndexes.at(i);
        const std::string label =
            BuildDriveLabel(*Transport(), static_cast<std::int16_t>(number)).value_or(drives[i]);
        const bool done = outcomes[i] == BurnOutcome::Completed;
        const std::string result =
            done ? Text(testMode ? CliText::DriveTestRecorded : CliText::DriveRecorded)
                 : FailureLine(outcomes[i]);
        context.out << Text(CliText::DriveOutcome, {std::to_string(number), label, result}) << "\n";
        failed += done ? 0 : 1;
        stopped = stopped || outcomes[i] == BurnOutcome::Cancelled;
    }
    if (failed == 0) return CliExit::kSuccess;
    context.err << "maple-cli: "
                << Text(CliText::DrivesFailed,
                        {std::to_string(failed), std::to_string(drives.size())})
                << "\n";
    return stopped ? CliExit::kStopped : CliExit::kFailure;
}

// --drive 1,2,3: the image is read once and recorded on every drive at once.
int RunBurnOnDrives(CliContext& context, const BurnArguments& parsed) {
    if (parsed.options.task != RecordingTask::kRecordImage) {
        context.err << "maple-cli: " << Text(CliText::TemporaryOneDrive) << "\n";
        return CliExit::kUsage;
    }
    if (CueSheetBurner::IsSheet(parsed.options.imagePath)) {
        context.err << "maple-cli: " << Text(CliText::SheetOneDrive) << "\n";
        return CliExit::kUsage;
    }
    const std::vector<std::string> drives = CliDrives(context);
    if (drives.empty()) return CliExit::kUsage;
    const std::unique_ptr<ImageSource> image = OpenSharedImage(context, parsed);
    if (!image) return CliExit::kFailure;
    ParallelLines lines(context.err, context.driveIndexes);
    const std::vector<BurnOutcome> outcomes = ParallelBurn::Run(
        *image, drives,
        [&](std::size_t i, ImageSource& tap) {
            return BurnOnDrive(parsed, drives[i], lines, i, tap);
        },
        static_cast<std::size_t>(parsed.fifoMiB) << 20);
    lines.Finish();
    return ReportDrives(context, drives, outcomes, parsed.options.testMode);
}

int RunBurn(CliContext& context) {
    BurnArguments parsed;
    if (!ParseBurnArguments(context, parsed)) return CliExit::kUsage;
    if (context.driveIndexes.size() > 1) return RunBurnOnDrives(context, parsed);
    const std::string drive = CliDrive(context);
    if (drive.empty()) return CliExit::kUsage;
    const DriveClaim claim(drive);
    if (ClaimRefused(context, claim)) return CliExit::kFailure;
    if (parsed.stream) return RunStreamBurn(context, drive, parsed);
    if (CueSheetBurner::IsSheet(parsed.options.imagePath))
        return RunSheetBurn(context, drive, parsed);
    // The window reads the capabilities and probes the speeds when it opens;
    // here that waits until the image is known to be usable, so a wrong path
    // sends nothing to the drive.
    TerminalReporter reporter(context.err);
    if (ImageFileReader::Check(parsed.options.imagePath, ImageBurner::kSmallestImage).empty()) {
        if (!parsed.raw && parsed.options.task == RecordingTask::kRecordImage &&
            ExamineImage(parsed.options.imagePath) == ImageContent::NotAnImage) {
            context.err << "maple-cli: " << Text(CliText::NotADiscImage, {parsed.options.imagePath})
                        << "\n";
            return CliExit::kFailure;
        }
        if (!DriveCanRecord(context, drive, parsed.options.testMode)) return CliExit::kFailure;
        parsed.options.writeSpeed = ChosenSpeed(drive, parsed);
        // The progress line's speed, in the unit of the disc in the drive.
        std::error_code error;
        const auto bytes = std::filesystem::file_size(parsed.options.imagePath, error);
        if (!error) reporter.SetJob(static_cast<std::int64_t>(bytes), BytesPerX(drive));
    }
    ImageBurner burner(reporter, parsed.options);
    const BurnOutcome outcome = burner.Burn(drive);
    reporter.Finish();
    return ReportOutcome(context, outcome, burner, parsed.options, parsed.options.imagePath);
}

const CliRegistration burn(
    {"burn",
     "maple-cli [--drive N[,N...]] burn IMAGE.iso|SHEET.cue|- [--speed N] [--test] "
     "[--no-fix] [--no-eject] "
     "[--raw] [--temporary] [--verify] [--size BYTES] [--fifo-size MiB]",
     CliText::SummaryBurn, &RunBurn, true, true});
}  // namespace
