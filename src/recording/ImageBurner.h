#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "BlockHashes.h"
#include "BurnOptions.h"
#include "DiscVerifier.h"
#include "MediaFamily.h"
#include "SourcePace.h"
#include "TemporaryImage.h"
#include "WriteIsoTexts.h"

class DriveClaim;
class EngineReporter;
class ImageSource;
class clsISOWriter;

// How a recording ended.
enum class BurnOutcome {
    Refused,              // a check stopped it; nothing on the drive was changed
    Failed,               // the set-up or the writing failed (a failed write closed the disc)
    CompletedWithErrors,  // every block was written, but flushing, closing or the verification
                          // failed
    Completed,            // recorded and closed (or simulated, in test mode); on DVD+RW and
                          // DVD-RAM a refused close is only warned about
    Cancelled,            // the user stopped it; the message said what the disc holds
                          // (a stopped verification: the recording is complete)
};

// Records an image file as one data track on a blank disc: the checks of the
// Burn button, the Write Parameters page and speed, the 64 KiB WRITE(10)
// loop from LBA 0 with its busy retries, and the closing commands. Reports
// every phase, the progress and each message through the reporter; holds the
// program-wide drive-busy flag while it runs, and the drive itself (a
// DriveClaim: a drive another program holds is refused). A cancel request stops it
// before the next block (see ReportStop). With the verify option the blocks
// sent are hashed, and the closed disc is read back and compared (see
// DiscVerifier) before it is ejected.
class ImageBurner {
  public:
    // Images shorter than one block are refused.
    static constexpr std::int64_t kSmallestImage = 2048;

    ImageBurner(EngineReporter& reporter, BurnOptions options);

    // The Burn button: refuses an empty or unusable image path, an image
    // shorter than the ISO 9660 volume it declares (unless the raw option),
    // a drive that is not ready, a disc of the wrong kind (tasks 0 and 3) or
    // a disc that is not blank; otherwise records the image with BurnImage.
    // An image made to continue a disc (options.startLba) goes to AddSession.
    BurnOutcome Burn(const std::string& drive);
    // Adds the image, built for options.startLba, to the disc in `drive`:
    // refuses unless the disc still continues there (DiscContinuation), then
    // records it with BurnImage as the next track and session, or writes it
    // after the data and rewrites the volume descriptors (growDisc).
    BurnOutcome AddSession(const std::string& drive);
    // Records `imagePath` (the checks above passed). Refuses, before the
    // disc is touched, test mode on media that cannot simulate and an image
    // larger than the disc's free space.
    BurnOutcome BurnImage(const std::string& drive, const std::string& imagePath);
    // Records what `source` gives (an image streamed to the program) after
    // the drive and disc checks of Burn; its length is checked against the
    // free space as a file's is.
    BurnOutcome BurnSource(const std::string& drive, ImageSource& source);
    // Records the data disc `project` straight from its files, with no
    // temporary image (see ProjectImageSource): a file that cannot be read is
    // refused by name before the drive is asked anything.
    BurnOutcome BurnProject(const std::string& drive, clsISOWriter& project);
    // Tidies up after a failed write: flushes the drive's cache, closes the
    // track and the session, ejects when asked. Every result is ignored.
    // Returns what the disc holds now (DiscAfterFailure, read before the eject).
    std::string AbortBurn(const std::string& drive);

    // The image checks of Burn (a path that opens, at least one block, the
    // whole volume it declares unless raw), shown through the reporter.
    bool CheckImage();

    // The temporary image this recording may delete (nothing for task 2).
    const TemporaryImage& Temporary() const { return m_temporary; }

  private:
    // The checks of Burn and AddSession (the disc's by `checkDisc`), then BurnImage.
    BurnOutcome CheckAndBurn(const std::string& drive,
                             bool (ImageBurner::*checkDisc)(const std::string&));
    bool HoldsDrive(const DriveClaim& claim);
    bool CheckDrive(const std::string& drive);
    bool CheckContinuation(const std::string& drive);
    bool RewriteDescriptors(const std::string& drive, const std::string& imagePath);
    using DiscCheck = bool (ImageBurner::*)(const std::string&);
    std::optional<BurnOutcome> Stopped(const std::string& drive, const DriveClaim& claim,
                                       DiscCheck checkDisc = &ImageBurner::CheckDrive);
    bool CheckRecording(const std::string& drive, std::int64_t imageBytes);
    bool FormatIfNeeded(const std::string& drive);
    bool WriteParametersPage(const std::string& drive);
    void SetWriteSpeed(const std::string& drive);
    BurnOutcome Record(const std::string& drive, ImageSource& image);
    BurnOutcome WriteTrack(const std::string& drive, ImageSource& image);
    void WatchBuffers(const std::string& drive, const ImageSource& image, std::int64_t written);
    BurnOutcome StopWriting(const std::string& drive, ImageSource& image,
                            const std::string& message);
    BurnOutcome Finish(const std::string& drive, const std::string& imagePath);
    BurnOutcome Conclude(const std::string& failure, const std::string& warning,
                         const std::string& imagePath);
    std::string DiscKindMessage(MediaFamily family) const;
    void Warn(const std::string& text, WriteIsoText title);

    EngineReporter& m_reporter;
    BurnOptions m_options;
    TemporaryImage m_temporary;
    std::int32_t m_mediaType = 0;
    bool m_needsFormat = false;  // a DVD+RW or BD-RE never formatted
    std::vector<std::uint8_t> m_chunk;
    BlockHashes m_hashes;        // of the blocks sent, with the verify option
    std::string m_verifyResult;  // the verification's sentence for the final message
    SourcePace m_pace{0};        // the chosen speed, set with it
    std::int64_t m_writeStartMs = 0;
};
