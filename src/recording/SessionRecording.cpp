#include "SessionRecording.h"

#include <filesystem>

#include "EngineReporter.h"
#include "ProgramPaths.h"
#include "ScsiStatus.h"
#include "SessionBuilder.h"
#include "SessionTexts.h"
#include "WriteIsoTexts.h"
#include "clsISOWriter.h"
#include "modMMC.h"

namespace {
void Tell(EngineReporter& reporter, const std::string& text, MessageIcon icon) {
    reporter.Message(text, Text(WriteIsoText::SpeedTitle), icon, MessageButtons::Ok);
}
}  // namespace

namespace SessionRecording {

BurnOutcome RecordNext(EngineReporter& reporter, SessionBuilder& builder, BurnOptions options,
                       const std::string& drive, ISOWriterEvents* events) {
    const std::string folder = JobFolder();
    if (folder.empty()) {
        Tell(reporter, JobFolderProblem(), MessageIcon::Exclamation);
        return BurnOutcome::Refused;
    }
    const std::string image = (std::filesystem::path(folder) / "session.iso").string();
    clsISOWriter& writer = builder.Writer();
    writer.SetEvents(events);
    const bool built = writer.SaveISO(image);
    writer.SetEvents(nullptr);
    BurnOutcome outcome = BurnOutcome::Refused;
    if (built) {
        builder.ApplyTo(options);
        options.imagePath = image;
        options.task = RecordingTask::kRecordImage;  // the image is ours to remove
        outcome = ImageBurner(reporter, options).AddSession(drive);
    } else if (writer.Cancelled()) {
        outcome = BurnOutcome::Cancelled;
    } else {
        std::string text = writer.LastError();
        for (const UnreadableFile& file : writer.UnreadableFiles())
            text += "\n" + file.path + " (" + file.reason + ")";
        Tell(reporter, text, MessageIcon::Exclamation);
    }
    std::error_code ignored;
    std::filesystem::remove(image, ignored);
    return outcome;
}

BurnOutcome CloseDisc(EngineReporter& reporter, const std::string& drive, BurnOptions options) {
    if (modMMC::WaitUnitReady(drive, modMMC::kReadyWaitMs) != 1) {
        Tell(reporter, Text(WriteIsoText::NoDisc), MessageIcon::Exclamation);
        return BurnOutcome::Refused;
    }
    SessionBuilder builder;
    if (const std::string refusal = builder.ReadDisc(drive); !refusal.empty()) {
        Tell(reporter, refusal, MessageIcon::Exclamation);
        return BurnOutcome::Refused;
    }
    const DiscContinuation& disc = builder.Disc();
    if (disc.kind == DiscContinuation::Kind::Growth) {
        Tell(reporter, Text(SessionText::NothingToClose), MessageIcon::Information);
        return BurnOutcome::Completed;
    }
    // DVD+R and BD-R are finalised by a close function of their own, without a session.
    const bool bluRay = disc.media == modMMC::Media::kBDR;
    if (bluRay || disc.media == modMMC::Media::kDVDPlusR ||
        disc.media == modMMC::Media::kDVDPlusRDL) {
        const auto last = static_cast<std::uint16_t>(disc.trackNumber - 1);
        const std::int32_t function = bluRay ? modMMC::kCloseFinalizeBD : modMMC::kCloseFinalize;
        if (modMMC::CloseTrackSession(drive, function, last) != ScsiStatus::kGood) {
            Tell(reporter, Text(SessionText::CloseRefused), MessageIcon::Exclamation);
            return BurnOutcome::Failed;
        }
        if (options.ejectDisc) (void)modMMC::EjectTray(drive, modMMC::Immed::kOn);
        Tell(reporter, Text(SessionText::DiscClosed), MessageIcon::Information);
        return BurnOutcome::Completed;
    }
    options.fixDisc = true;
    return RecordNext(reporter, builder, options, drive, nullptr);
}

}  // namespace SessionRecording
