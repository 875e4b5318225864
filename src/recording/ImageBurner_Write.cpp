// The write loop, the closing commands and the tidy-up after a failed write.
#include <algorithm>
#include <span>

#include "ClosingSteps.h"
#include "CompletionMessage.h"
#include "DiscAfterFailure.h"
#include "DiscAfterStop.h"
#include "DriveBufferFill.h"
#include "DriveFailure.h"
#include "EngineMessages.h"
#include "EngineReporter.h"
#include "ImageBurner.h"
#include "ImageSource.h"
#include "MonotonicClock.h"
#include "ProgressDisplay.h"
#include "ScsiStatus.h"
#include "WriteWithRetry.h"
#include "modMMC.h"

namespace {
constexpr std::int64_t kPaddedBlocks = 16;
constexpr std::int64_t kBlockSize = 2048;
// The buffers' levels are shown every 2 MiB written.
constexpr std::uint32_t kBufferReportBlocks = 1024;

// DVD-RAM, DVD+RW and BD-RE drives may refuse CLOSE TRACK/SESSION although
// the data is safe on the disc; there a failed close is shown but is not a
// failure.
bool CloseIsOptional(std::int32_t media) {
    return media == modMMC::Media::kDVDRAM || media == modMMC::Media::kDVDPlusRW ||
           media == modMMC::Media::kDVDPlusRWDL || media == modMMC::Media::kBDRE;
}

// DVD+R and BD-R take no Write Parameters page: closing their session leaves
// them appendable, and only the finalising close (101b on DVD+R, 110b on
// BD-R) makes them complete.
std::int32_t SessionClose(std::int32_t media, bool fixDisc) {
    const bool plusR = media == modMMC::Media::kDVDPlusR || media == modMMC::Media::kDVDPlusRDL;
    if (media == modMMC::Media::kBDR && fixDisc) return modMMC::kCloseFinalizeBD;
    return plusR && fixDisc ? modMMC::kCloseFinalize : modMMC::kCloseSession;
}
}  // namespace

BurnOutcome ImageBurner::WriteTrack(const std::string& drive, ImageSource& image) {
    ProgressDisplay progress(m_reporter);
    progress.Start();
    m_writeStartMs = MonotonicMilliseconds();
    // An image that declares its length (an ISO 9660 volume) is padded with
    // zeros to a multiple of 16 blocks: the kernel reads a CD in 4 KiB
    // pages, and a last block next to the Track At Once run-out could not be
    // read. Any other image's last WRITE(10) carries only its own blocks:
    // the track's length is all that tells a copy of the disc where it ends.
    const bool padded = image.DeclaresLength();
    const std::int64_t imageBlocks = (image.Length() + kBlockSize - 1) / kBlockSize;
    const std::int64_t totalBlocks =
        padded ? (imageBlocks + kPaddedBlocks - 1) / kPaddedBlocks * kPaddedBlocks : imageBlocks;
    // Blocks sent so far; the track begins at startLba (0 on a blank disc).
    std::int64_t sent = 0;
    const auto chunkBlocks = static_cast<std::int64_t>(m_chunk.size()) / kBlockSize;
    while (image.HasMore()) {
        if (m_reporter.CancelRequested()) {
            image.Close();
            ReportStop(m_reporter, drive,
                       sent > 0 ? DiscAfterStop::Unfinished : DiscAfterStop::Unchanged);
            return BurnOutcome::Cancelled;
        }
        const std::span<const std::uint8_t> chunk = image.NextChunk(m_chunk);
        if (chunk.empty())
            return StopWriting(drive, image, "Read error - " + image.Name() + " " + image.Error());
        std::int32_t status = 0;
        const auto blocks =
            static_cast<std::uint16_t>(std::min<std::int64_t>(chunkBlocks, totalBlocks - sent));
        const auto lba = static_cast<std::uint32_t>(m_options.startLba + sent);
        const WriteOutcome outcome = WriteWithRetry(drive, lba, blocks, chunk.data(),
                                                    blocks * std::int32_t{kBlockSize}, &status);
        // Named by the drive's last answer, read before the tidy-up sends more commands.
        if (outcome != WriteOutcome::Written)
            return StopWriting(
                drive, image,
                WriteFailureText(status, outcome == WriteOutcome::WriteError,
                                 "Long write - " + Text(WriteIsoText::WriteTookLonger) + "6000ms!",
                                 Text(WriteIsoText::WriteError)));
        if (m_options.verify && !m_options.testMode)
            m_hashes.Add(lba, kBlockSize, chunk.first(blocks * kBlockSize));
        sent += blocks;
        progress.Update(sent, totalBlocks);
        WatchBuffers(drive, image, sent);
    }
    image.Close();
    return BurnOutcome::Completed;
}

// Every few megabytes: the buffers' levels, and once a warning when the
// source does not keep up with the chosen speed.
void ImageBurner::WatchBuffers(const std::string& drive, const ImageSource& image,
                               std::int64_t written) {
    if (written % kBufferReportBlocks != 0) return;
    m_reporter.BufferLevels(image.BufferFill(), modMMC::DriveBufferFill(drive));
    if (m_pace.TooSlowNow(written * kBlockSize, MonotonicMilliseconds() - m_writeStartMs,
                          image.Starved()))
        m_reporter.PhaseText(Text(WriteIsoText::WritingData) + " " +
                             Text(EngineMessage::SlowSource));
}

BurnOutcome ImageBurner::StopWriting(const std::string& drive, ImageSource& image,
                                     const std::string& message) {
    image.Close();
    const std::string discNow = AbortBurn(drive);
    Warn(message + "\n" + discNow, WriteIsoText::WriteFailedTitle);
    return BurnOutcome::Failed;
}

BurnOutcome ImageBurner::Finish(const std::string& drive, const std::string& imagePath) {
    ClosingSteps closing(
        m_reporter, {Text(WriteIsoText::ClosingTrack), Text(WriteIsoText::CloseTrackFailed),
                     Text(WriteIsoText::ClosingSession), Text(WriteIsoText::CloseSessionFailed)});
    closing.Flush(drive);
    const bool closeMatters = !CloseIsOptional(m_mediaType);
    closing.CloseTrack(drive, m_options.trackNumber, closeMatters);
    closing.CloseSession(drive, SessionClose(m_mediaType, m_options.fixDisc), m_options.trackNumber,
                         closeMatters);
    std::string failure = closing.Failure();
    m_verifyResult.clear();
    VerifyOutcome verified = VerifyOutcome::Verified;
    if (m_options.verify && failure.empty())
        verified = DiscVerifier(m_reporter, m_hashes, ElapsedTime(m_writeStartMs))
                       .RunAfterRecording(drive, m_options.testMode, m_verifyResult);
    if (m_options.ejectDisc) {
        m_reporter.PhaseText(Text(WriteIsoText::Ejecting));
        (void)modMMC::EjectTray(drive, modMMC::Immed::kOn);
    }
    if (verified == VerifyOutcome::Cancelled) return BurnOutcome::Cancelled;
    if (DiscVerifier::Failed(verified)) failure = m_verifyResult;
    return Conclude(failure, closing.Warning(), imagePath);
}

BurnOutcome ImageBurner::Conclude(const std::string& failure, const std::string& warning,
                                  const std::string& imagePath) {
    if (!failure.empty()) {
        // The disc may be unusable: say so, and keep a temporary image for another try.
        m_reporter.PhaseText(failure);
        Warn(failure, WriteIsoText::WriteFailedTitle);
        return BurnOutcome::CompletedWithErrors;
    }
    // A test run recorded nothing: its temporary image is kept for the real recording.
    if (!m_options.testMode) m_temporary.DeleteIfCovered(imagePath);
    if (!warning.empty()) {
        // Every block is on the disc; the warning stays in panel 1 and its box.
        m_reporter.PhaseText(warning);
        Warn(CompletionMessage(warning + "\n" + Text(EngineMessage::CloseWarning),
                               m_options.testMode, m_verifyResult),
             WriteIsoText::SpeedTitle);
        return BurnOutcome::Completed;
    }
    m_reporter.PhaseText(Text(WriteIsoText::RecordingComplete));
    m_reporter.Message(CompletionMessage(Text(WriteIsoText::RecordingComplete), m_options.testMode,
                                         m_verifyResult),
                       Text(WriteIsoText::RecordingCompleteTitle), MessageIcon::Information,
                       MessageButtons::Ok);
    return BurnOutcome::Completed;
}

std::string ImageBurner::AbortBurn(const std::string& drive) {
    CloseAfterFailure(drive, m_options.trackNumber);
    // Read while the disc is still in the drive.
    std::string discNow = DiscAfterFailure(drive, m_options.trackNumber);
    if (m_options.ejectDisc) (void)modMMC::EjectTray(drive, modMMC::Immed::kOn);
    // The temporary image stays until the recording window closes, so the
    // user can try again with another disc.
    m_reporter.PhaseText("error");
    return discNow;
}
