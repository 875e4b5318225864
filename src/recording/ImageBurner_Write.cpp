// The write loop, the closing commands and the tidy-up after a failed write.
#include "DiscAfterStop.h"
#include "EngineReporter.h"
#include "ImageBurner.h"
#include "ImageFileReader.h"
#include "ProgressDisplay.h"
#include "ScsiStatus.h"
#include "WriteWithRetry.h"
#include "modMMC.h"

namespace {
constexpr std::uint16_t kBlocksPerChunk = 16;
constexpr std::int64_t kBlockSize = 2048;
constexpr std::uint16_t kTrackOne = 1;
constexpr std::int16_t kImmediate = -1;

// DVD-RAM and DVD+RW drives may refuse CLOSE TRACK/SESSION although the data
// is safe on the disc; there a failed close is shown but is not a failure.
bool CloseIsOptional(std::int32_t media) {
    return media == modMMC::Media::kDVDRAM || media == modMMC::Media::kDVDPlusRW ||
           media == modMMC::Media::kDVDPlusRWDL;
}
}  // namespace

BurnOutcome ImageBurner::WriteTrack(const std::string& drive, ImageFileReader& image,
                                    const std::string& imagePath) {
    ProgressDisplay progress(m_reporter);
    progress.Start();
    const std::int64_t totalBlocks = image.Length() / kBlockSize;
    std::uint32_t lba = 0;
    while (image.HasMore()) {
        if (m_reporter.CancelRequested()) {
            image.Close();
            ReportStop(m_reporter, drive,
                       lba > 0 ? DiscAfterStop::Unfinished : DiscAfterStop::Unchanged);
            return BurnOutcome::Cancelled;
        }
        if (!image.ReadChunk(m_chunk))
            return StopWriting(drive, image, "Read error - " + imagePath + " " + image.Error());
        const WriteOutcome outcome = WriteWithRetry(drive, lba, kBlocksPerChunk, m_chunk.data(),
                                                    static_cast<std::int32_t>(m_chunk.size()));
        if (outcome == WriteOutcome::WriteError) return StopWriting(drive, image, m_texts(11));
        if (outcome != WriteOutcome::Written)
            return StopWriting(drive, image, "Long write - " + m_texts(9) + "6000" + "ms!");
        lba += kBlocksPerChunk;
        progress.Update(lba, totalBlocks);
    }
    image.Close();
    return BurnOutcome::Completed;
}

BurnOutcome ImageBurner::StopWriting(const std::string& drive, ImageFileReader& image,
                                     const std::string& message) {
    image.Close();
    AbortBurn(drive);
    Warn(message, 10);
    return BurnOutcome::Failed;
}

BurnOutcome ImageBurner::Finish(const std::string& drive, const std::string& imagePath) {
    std::string failure;  // the first failed step, as panel 1 showed it
    const auto check = [&](bool ok, const std::string& failedText, bool matters) {
        if (ok) return;
        m_reporter.PhaseText(failedText);
        if (matters && failure.empty()) failure = failedText;
    };
    m_reporter.PhaseText("SYNCHRONIZE CACHE ...");
    check(modMMC::SynchronizeCache(drive) == ScsiStatus::kGood, "SYNCHRONIZE CACHE failed.", true);
    const bool closeMatters = !CloseIsOptional(m_mediaType);
    m_reporter.PhaseText(m_texts(12) + " ...");
    check(modMMC::CloseTrackSession(drive, modMMC::kCloseTrack, kTrackOne) == ScsiStatus::kGood,
          m_texts(12) + m_texts(13), closeMatters);
    m_reporter.PhaseText(m_texts(14) + "...");
    check(modMMC::CloseTrackSession(drive, modMMC::kCloseSession, kTrackOne) == ScsiStatus::kGood,
          m_texts(14) + m_texts(15), closeMatters);
    if (m_options.ejectDisc) {
        m_reporter.PhaseText(m_texts(16));
        (void)modMMC::EjectTray(drive, kImmediate);
    }
    if (!failure.empty()) {
        // The disc may be unusable: say so, and keep a temporary image for another try.
        Warn(failure, 10);
        return BurnOutcome::CompletedWithErrors;
    }
    // A test run recorded nothing: its temporary image is kept for the real recording.
    if (!m_options.testMode) m_temporary.DeleteIfCovered(imagePath);
    m_reporter.PhaseText(m_texts(17));
    m_reporter.Message(m_texts(17), m_texts(18), MessageIcon::Information, MessageButtons::Ok);
    return BurnOutcome::Completed;
}

void ImageBurner::AbortBurn(const std::string& drive) {
    (void)modMMC::SynchronizeCache(drive);
    (void)modMMC::CloseTrackSession(drive, modMMC::kCloseTrack, kTrackOne);
    (void)modMMC::CloseTrackSession(drive, modMMC::kCloseSession, kTrackOne);
    if (m_options.ejectDisc) (void)modMMC::EjectTray(drive, kImmediate);
    // The temporary image stays until the recording window closes, so the
    // user can try again with another disc.
    m_reporter.PhaseText("error");
}
