// maple-cli copy: copies a disc through an image, as the disc copy window
// does, then records the image on a blank disc (or keeps it with --to-iso).

#include <iostream>

#include "BurnOptions.h"
#include "CliArguments.h"
#include "CliCommand.h"
#include "CliDrive.h"
#include "CliTexts.h"
#include "CopyTexts.h"
#include "DiscCopier.h"
#include "DriveClaim.h"
#include "DriveToDriveCopy.h"
#include "EmuMediumKind.h"
#include "ImageBurner.h"
#include "SystemAccess.h"
#include "TemporaryImage.h"
#include "TerminalReporter.h"
#include "TransportSlot.h"
#include "WriteCapabilities.h"
#include "clsEmulatedDrive.h"

namespace {
struct CopyArguments {
    CopyOptions options;
    std::string imagePath;  // --to-iso
    std::optional<long long> readSpeed, writeSpeed;
    std::optional<MediumKind> blank;
    bool eject = true;
    bool verify = false;
    std::optional<long long> toDrive;  // --to-drive: record there while reading
};

bool ParseCopyArguments(CliContext& context, CopyArguments& parsed) {
    CliArguments arguments(context.args);
    const auto toIso = arguments.TakeOption("--to-iso");
    parsed.options.badCopy = arguments.TakeFlag("--bad-copy");
    parsed.readSpeed = arguments.TakeNumber("--speed");
    parsed.writeSpeed = arguments.TakeNumber("--write-speed");
    const auto blank = arguments.TakeOption("--blank");
    parsed.eject = !arguments.TakeFlag("--no-eject");
    parsed.verify = arguments.TakeFlag("--verify");
    parsed.toDrive = arguments.TakeNumber("--to-drive");
    const bool extra = !arguments.Positional().empty();
    std::string error = arguments.Error();
    if (error.empty() && extra) error = Text(CliText::CopyTakesNoFiles);
    for (const auto& speed : {parsed.readSpeed, parsed.writeSpeed})
        if (error.empty() && speed && (*speed < 1 || *speed > 372))
            error = Text(CliText::AnySpeedRange);
    if (error.empty() && toIso && toIso->empty()) error = Text(CliText::ToIsoNeedsName);
    if (error.empty() && toIso && parsed.verify) error = Text(CliText::VerifyNotToIso);
    if (error.empty() && toIso && parsed.toDrive) error = Text(CliText::ToDriveNotToIso);
    if (error.empty() && blank) {
        parsed.blank = MediumKindFromName(*blank);
        if (!parsed.blank || !TraitsOf(*parsed.blank).recordable)
            error = Text(CliText::BlankNeedsKind, {BlankKindNames()});
        else if (dynamic_cast<clsEmulatedDrive*>(Transport()) == nullptr)
            error = Text(CliText::BlankVirtualOnly);
    }
    if (!error.empty()) {
        context.err << "maple-cli: " << error << "\n";
        return false;
    }
    parsed.options.imageOnly = toIso.has_value();
    if (toIso) parsed.imagePath = *toIso;
    return true;
}

EmuDrive* VirtualDrive(const std::string& drive) {
    auto* virtualDrives = dynamic_cast<clsEmulatedDrive*>(Transport());
    return virtualDrives ? virtualDrives->DriveById(drive) : nullptr;
}

// Answers the "insert a blank disc" prompt: a virtual drive gets the blank
// named by --blank; on a terminal the user inserts one and presses Enter (the
// prompt says so there).
class CopyReporter : public TerminalReporter {
  public:
    CopyReporter(std::ostream& err, std::string drive, std::optional<MediumKind> blank)
        : TerminalReporter(err),
          m_prompt(Text(CopyText::InsertBlank)),
          m_drive(std::move(drive)),
          m_blank(blank) {}

    MessageAnswer Message(const std::string& text, const std::string& title, MessageIcon icon,
                          MessageButtons buttons) override {
        const MessageAnswer answer = TerminalReporter::Message(text, title, icon, buttons);
        if (text == m_prompt) InsertBlank();
        return answer;
    }

    std::string problem;

  private:
    void InsertBlank() {
        if (m_blank && VirtualDrive(m_drive)) {
            problem = VirtualDrive(m_drive)->InsertBlank(*m_blank);
        } else if (SystemAccess::IsTerminal(0)) {
            std::string line;
            std::getline(std::cin, line);
        }
    }

    std::string m_prompt, m_drive;
    std::optional<MediumKind> m_blank;
};

SpeedEntry ChosenSpeed(const std::optional<long long>& factor,
                       SpeedList (*fill)(const std::string&), const std::string& drive) {
    return factor ? SpeedEntryOf(static_cast<int>(*factor)) : fill(drive).front();
}

// The recording phase, as the record-image window runs it for task 3.
int RecordCopy(CliContext& context, const std::string& drive, const CopyArguments& parsed,
               CopyReporter& reporter) {
    if (!reporter.problem.empty()) {
        context.err << "maple-cli: " << reporter.problem << "\n";
        return CliExit::kFailure;
    }
    if (!ReadWriteCapabilities(drive).canWrite) {
        context.err << "maple-cli: " << Text(CliText::CannotRecordCdR) << "\n";
        return CliExit::kFailure;
    }
    BurnOptions options = BurnOptions::ForTask(RecordingTask::kCopyDisc);
    options.writeSpeed = ChosenSpeed(parsed.writeSpeed, &FillWriteSpeeds, drive);
    options.ejectDisc = parsed.eject;
    options.verify = parsed.verify;
    ImageBurner burner(reporter, options);
    const BurnOutcome outcome = burner.Burn(drive);
    reporter.Finish();
    if (outcome == BurnOutcome::Completed) {
        context.out << Text(CliText::DiscCopied) << "\n";
        return CliExit::kSuccess;
    }
    const bool stopped = outcome == BurnOutcome::Cancelled;
    context.err << "maple-cli: "
                << Text(stopped ? CliText::CopyRecordingStopped : CliText::CopyRecordingFailed,
                        {options.imagePath})
                << "\n";
    return stopped ? CliExit::kStopped : CliExit::kFailure;
}

// The target of --to-drive, held and able to record, a virtual one with the
// blank of --blank put in; empty after printing why not.
std::string TargetDrive(CliContext& context, const std::string& source, const CopyArguments& parsed,
                        std::optional<DriveClaim>& claim) {
    CliContext chosen{{}, static_cast<int>(*parsed.toDrive), {}, context.out, context.err, {}};
    const std::string target = CliDrive(chosen);
    if (target.empty() || target == source) {
        if (!target.empty()) context.err << "maple-cli: " << Text(CliText::ToDriveSame) << "\n";
        return {};
    }
    claim.emplace(target);
    std::string problem = claim->Problem();
    if (problem.empty() && parsed.blank && VirtualDrive(target))
        problem = VirtualDrive(target)->InsertBlank(*parsed.blank);
    if (problem.empty() && !ReadWriteCapabilities(target).canWrite)
        problem = Text(CliText::CannotRecordCdR);
    if (problem.empty()) return target;
    context.err << "maple-cli: " << problem << "\n";
    return {};
}

// --to-drive N: the disc is read here and recorded there at once, with no
// temporary image.
int CopyToDrive(CliContext& context, const std::string& source, CopyArguments& parsed) {
    std::optional<DriveClaim> claim;
    const std::string target = TargetDrive(context, source, parsed, claim);
    if (target.empty()) return claim ? CliExit::kFailure : CliExit::kUsage;
    parsed.options.readSpeed = ChosenSpeed(parsed.readSpeed, &FillReadSpeeds, source);
    BurnOptions recording = BurnOptions::ForTask(RecordingTask::kRecordImage);
    recording.writeSpeed = ChosenSpeed(parsed.writeSpeed, &FillWriteSpeeds, target);
    recording.ejectDisc = parsed.eject;
    recording.verify = parsed.verify;
    TerminalReporter reporter(context.err);
    DriveToDriveCopy copy(reporter, parsed.options, recording);
    const BurnOutcome outcome = copy.Run(source, target);
    reporter.Finish();
    if (outcome != BurnOutcome::Refused)
        context.err << "maple-cli: "
                    << Text(CliText::UnreadableSectors, {std::to_string(copy.SkippedSectors())})
                    << "\n";
    if (outcome == BurnOutcome::Completed) {
        context.out << Text(CliText::DiscCopied) << "\n";
        return CliExit::kSuccess;
    }
    const bool stopped = outcome == BurnOutcome::Cancelled;
    context.err << "maple-cli: " << Text(stopped ? CliText::CopyStopped : CliText::CopyFailed)
                << "\n";
    return stopped ? CliExit::kStopped : CliExit::kFailure;
}

int RunCopy(CliContext& context) {
    CopyArguments parsed;
    if (!ParseCopyArguments(context, parsed)) return CliExit::kUsage;
    const std::string drive = CliDrive(context);
    if (drive.empty()) return CliExit::kUsage;
    const DriveClaim claim(drive);
    if (ClaimRefused(context, claim)) return CliExit::kFailure;
    if (parsed.toDrive) return CopyToDrive(context, drive, parsed);
    TemporaryImage::RemoveStaleFiles();
    parsed.options.readSpeed = ChosenSpeed(parsed.readSpeed, &FillReadSpeeds, drive);
    CopyReporter reporter(context.err, drive, parsed.blank);
    DiscCopier copier(reporter, parsed.options);
    const CopyOutcome outcome = copier.Next(drive, [&] { return parsed.imagePath; });
    reporter.Finish();
    if (outcome == CopyOutcome::ImageSaved || outcome == CopyOutcome::ReadyToRecord) {
        context.err << "maple-cli: "
                    << Text(CliText::UnreadableSectors, {std::to_string(copier.SkippedSectors())})
                    << "\n";
        if (copier.WholeMedium())
            context.err << "maple-cli: "
                        << Text(CliText::WholeMediumCopied, {std::to_string(copier.SectorCount())})
                        << "\n";
    }
    switch (outcome) {
        case CopyOutcome::ImageSaved:
            context.out << Text(CliText::ImageSaved, {parsed.imagePath}) << "\n";
            return CliExit::kSuccess;
        case CopyOutcome::ReadyToRecord:
            return RecordCopy(context, drive, parsed, reporter);
        case CopyOutcome::Cancelled:
            context.err << "maple-cli: " << Text(CliText::CopyStopped) << "\n";
            return CliExit::kStopped;
        case CopyOutcome::Refused:
        case CopyOutcome::Failed:
            break;
    }
    context.err << "maple-cli: " << Text(CliText::CopyFailed) << "\n";
    return CliExit::kFailure;
}

const CliRegistration copy(
    {"copy",
     "maple-cli [--drive N] copy [--to-iso OUT.iso] [--bad-copy] [--speed N] [--blank KIND] "
     "[--write-speed N] [--no-eject] [--verify] [--to-drive N]",
     CliText::SummaryCopy, &RunCopy, true, true});
}  // namespace
