#include "ImageBurner.h"

#include <algorithm>

#include "DiscAfterStop.h"
#include "DiscContinuation.h"
#include "DriveBusy.h"
#include "DriveClaim.h"
#include "EngineMessages.h"
#include "EngineReporter.h"
#include "ImageContent.h"
#include "ImageFileReader.h"
#include "MediaFamily.h"
#include "ProjectImageSource.h"
#include "RecordingChecks.h"
#include "SaveIsoTexts.h"
#include "ScsiStatus.h"
#include "SessionTexts.h"
#include "SpeedList.h"
#include "UnderrunProtection.h"
#include "clsWPP.h"
#include "modMMC.h"

namespace {
// 64 KiB per WRITE(10): half the commands of 32 KiB, which counts where
// each command crosses the kernel to a target in user space; well inside
// the transfer length that drives and the kernel take.
constexpr int kChunkBytes = 65536;
// An ISO 9660 image is padded to a multiple of 16 blocks (WriteTrack).
constexpr int kPaddingBytes = 32768;
constexpr int kDefaultWriteFactor = 8;
constexpr std::int16_t kConstantLinearVelocity = 0;
// The FIFO between the image builder and the drive in a direct recording.
constexpr std::size_t kProjectFifoBytes = 16 << 20;

// Write Parameters page values of a data track.
constexpr std::int32_t kTrackAtOnce = 1;
constexpr std::int32_t kIncremental = 0;
constexpr std::uint8_t kDataTrackUninterrupted = 4;
constexpr std::int32_t kMode1Blocks = 8;
constexpr std::uint8_t kNoNextSession = 0;
constexpr std::uint8_t kNextSessionAllowed = 3;

// DVD-R and DVD-RW (media 4 to 7) take no Track At Once write type.
bool IsSequentialDvdMinus(std::int32_t media) {
    return media >= 4 && media <= 7;
}

// DVD-RAM, DVD+R and DVD+RW (media 8 to 12) have no Write Parameters page;
// drives may refuse it there, which must not stop the recording.
bool IgnoresWriteParameters(std::int32_t media) {
    return media >= modMMC::Media::kDVDRAM && media <= modMMC::Media::kDVDPlusRWDL;
}

// Blu-ray recorders have no Write Parameters page at all: it is not sent.
bool HasNoWriteParameters(std::int32_t media) {
    return MediaFamilies::OfMedia(media) == MediaFamily::BluRay;
}
}  // namespace

ImageBurner::ImageBurner(EngineReporter& reporter, BurnOptions options)
    : m_reporter(reporter),
      m_options(std::move(options)),
      m_temporary(m_options.task, m_options.temporaryImage),
      m_chunk(kChunkBytes) {}

void ImageBurner::Warn(const std::string& text, WriteIsoText title) {
    m_reporter.Message(text, Text(title), MessageIcon::Exclamation, MessageButtons::Ok);
}

BurnOutcome ImageBurner::Burn(const std::string& drive) {
    if (m_options.startLba > 0) return AddSession(drive);  // an image that continues a disc
    return CheckAndBurn(drive, &ImageBurner::CheckDrive);
}

BurnOutcome ImageBurner::AddSession(const std::string& drive) {
    return CheckAndBurn(drive, &ImageBurner::CheckContinuation);
}

BurnOutcome ImageBurner::CheckAndBurn(const std::string& drive,
                                      bool (ImageBurner::*checkDisc)(const std::string&)) {
    const DriveBusyScope busy(drive);
    if (!CheckImage()) return BurnOutcome::Refused;
    // Held from the checks on, so nobody changes the disc between them and the writing.
    const DriveClaim claim(drive);
    if (const auto stop = Stopped(drive, claim, checkDisc)) return *stop;
    return BurnImage(drive, m_options.imagePath);
}

// The drive and disc checks of the Burn button, and a cancel during them.
std::optional<BurnOutcome> ImageBurner::Stopped(const std::string& drive, const DriveClaim& claim,
                                                DiscCheck checkDisc) {
    if (!HoldsDrive(claim) || !(this->*checkDisc)(drive)) return BurnOutcome::Refused;
    if (!m_reporter.CancelRequested()) return std::nullopt;
    ReportStop(m_reporter, drive, DiscAfterStop::Unchanged);
    return BurnOutcome::Cancelled;
}

// An image that cannot be read, or holds less than one block, is refused
// before anything is sent to the drive.
bool ImageBurner::CheckImage() {
    const std::string& path = m_options.imagePath;
    if (path.empty()) {
        m_reporter.Message(Text(WriteIsoText::NoImage), Text(WriteIsoText::NoImageTitle),
                           MessageIcon::Information, MessageButtons::Ok);
        return false;
    }
    const std::string problem = ImageFileReader::Check(path, kSmallestImage);
    if (!problem.empty()) {
        Warn(Text(WriteIsoText::NoImage) + "\n" + path + " " + problem, WriteIsoText::NoImageTitle);
        return false;
    }
    // An image made for a later session declares the disc's whole volume.
    const bool session = m_options.startLba > 0;
    const std::string cut = m_options.raw || session ? std::string() : CutImageProblem(path);
    if (!cut.empty()) Warn(cut, WriteIsoText::NoImageTitle);
    return cut.empty();
}

// The image holds absolute addresses: it is recorded only where it was made for.
bool ImageBurner::CheckContinuation(const std::string& drive) {
    const std::int32_t ready = modMMC::WaitUnitReady(drive, modMMC::kReadyWaitMs);
    if (ready != 1) {
        Warn(Text(ready == 0 ? WriteIsoText::NoDisc : WriteIsoText::DriveBusy),
             WriteIsoText::DriveTitle);
        return false;
    }
    const DiscContinuation disc = DiscContinuation::Of(drive);
    const auto wanted =
        m_options.growDisc ? DiscContinuation::Kind::Growth : DiscContinuation::Kind::NewSession;
    if (disc.kind == wanted && disc.writeAt == m_options.startLba &&
        disc.trackNumber == m_options.trackNumber)
        return true;
    Warn(Text(SessionText::DiscChanged), WriteIsoText::WrongDiscTitle);
    return false;
}

bool ImageBurner::HoldsDrive(const DriveClaim& claim) {
    const std::string problem = RecordingChecks::ClaimProblem(claim);
    if (!problem.empty()) Warn(problem, WriteIsoText::DriveTitle);
    return problem.empty();
}

bool ImageBurner::CheckDrive(const std::string& drive) {
    const std::int32_t ready = modMMC::WaitUnitReady(drive, modMMC::kReadyWaitMs);
    if (ready != 1) {
        Warn(Text(ready == 0 ? WriteIsoText::NoDisc : WriteIsoText::DriveBusy),
             WriteIsoText::DriveTitle);
        return false;
    }
    // The chooser offers CD and DVD: a Blu-ray disc takes what a DVD takes.
    const MediaFamily family = MediaFamilies::OfDisc(drive);
    if (m_options.task != RecordingTask::kRecordImage &&
        (family == MediaFamily::CD ? 0 : 1) != m_options.chosenDiscKind) {
        Warn(DiscKindMessage(family), WriteIsoText::WrongDiscTitle);
        return false;
    }
    // A disc whose state could not be read is not taken for a blank one.
    std::int32_t status = ScsiStatus::kGood;
    const modMMC::DiscInfoRecord disc = modMMC::GetDiscStatus(drive, status);
    if (status != ScsiStatus::kGood || disc.DiscState != modMMC::DiscState::kEmpty) {
        Warn(Text(WriteIsoText::NotBlank), WriteIsoText::NotBlankTitle);
        return false;
    }
    return true;
}

std::string ImageBurner::DiscKindMessage(MediaFamily family) const {
    const std::string inserted = MediaFamilies::Name(family);
    const std::string wanted = m_options.chosenDiscKind == 1 ? "DVD" : "CD";
    return Text(WriteIsoText::WrongDiscStart) + inserted + Text(WriteIsoText::WrongDiscMiddle) +
           wanted + "-R or " + wanted + "-RW" + Text(WriteIsoText::WrongDiscEnd);
}

BurnOutcome ImageBurner::BurnImage(const std::string& drive, const std::string& imagePath) {
    const DriveBusyScope busy(drive);
    const DriveClaim claim(drive);
    if (!HoldsDrive(claim)) return BurnOutcome::Refused;
    ImageFileReader image;
    if (!image.Open(imagePath)) {
        Warn(Text(WriteIsoText::NoImage) + "\n" + imagePath + " " + image.Error(),
             WriteIsoText::NoImageTitle);
        return BurnOutcome::Refused;
    }
    return Record(drive, image);
}

BurnOutcome ImageBurner::BurnSource(const std::string& drive, ImageSource& source) {
    const DriveBusyScope busy(drive);
    const DriveClaim claim(drive);
    if (const auto stop = Stopped(drive, claim)) return *stop;
    return Record(drive, source);
}

BurnOutcome ImageBurner::BurnProject(const std::string& drive, clsISOWriter& project) {
    ProjectImageSource source(project, Text(WriteIsoText::DirectSource), kProjectFifoBytes);
    if (!source.Open()) {
        m_reporter.Message(Text(SaveIsoText::ImageFailed) + "\n\n" + source.Error(),
                           Text(SaveIsoText::ImageFailedTitle), MessageIcon::Exclamation,
                           MessageButtons::Ok);
        return BurnOutcome::Refused;
    }
    return BurnSource(drive, source);
}

BurnOutcome ImageBurner::Record(const std::string& drive, ImageSource& image) {
    if (!CheckRecording(drive, image.Length())) return BurnOutcome::Refused;
    if (!FormatIfNeeded(drive) || !WriteParametersPage(drive)) return BurnOutcome::Failed;
    SetWriteSpeed(drive);
    m_reporter.PhaseText(Text(WriteIsoText::WritingData));
    const BurnOutcome written = WriteTrack(drive, image);
    if (written != BurnOutcome::Completed) return written;
    if (m_options.growDisc && !m_options.testMode && !RewriteDescriptors(drive, image.Name()))
        return BurnOutcome::Failed;
    return Finish(drive, image.Name());
}

// Test mode where the medium cannot simulate, or an image larger than the
// free space, would ruin the disc: both are refused before it is touched.
bool ImageBurner::CheckRecording(const std::string& drive, std::int64_t imageBytes) {
    m_mediaType = modMMC::GetMediaType(drive);
    std::string problem =
        m_options.testMode ? RecordingChecks::TestModeProblem(m_mediaType) : std::string();
    if (problem.empty()) {
        // The image may be padded; a CD track ends with two run-out blocks.
        const std::int64_t chunks = (imageBytes + kPaddingBytes - 1) / kPaddingBytes;
        const bool cd = m_mediaType == modMMC::Media::kCDR || m_mediaType == modMMC::Media::kCDRW;
        m_needsFormat = modMMC::NeedsFormat(drive, m_mediaType);
        // A disc still to be formatted holds what its first format gives.
        std::int64_t free = m_needsFormat ? modMMC::FirstFormatBlocks(drive, m_mediaType)
                                          : modMMC::FreeBlocks(drive);
        // Growing in place: the free room begins where the image goes.
        if (m_options.growDisc && free >= 0)
            free = std::max<std::int64_t>(free - m_options.startLba, 0);
        problem =
            RecordingChecks::DataFitProblem(chunks * (kPaddingBytes / 2048) + (cd ? 2 : 0), free);
    }
    if (problem.empty()) return true;
    Warn(problem, WriteIsoText::NoImageTitle);
    return false;
}

// A brand-new DVD+RW or BD-RE is formatted before its first recording.
bool ImageBurner::FormatIfNeeded(const std::string& drive) {
    if (!m_needsFormat) return true;
    m_reporter.PhaseText(Text(EngineMessage::FormattingDisc));
    if (modMMC::FormatDisc(drive, m_mediaType, modMMC::FormatStyle::First) == ScsiStatus::kGood)
        return true;
    Warn(Text(EngineMessage::FormatFailed), WriteIsoText::WriteFailedTitle);
    return false;
}

bool ImageBurner::WriteParametersPage(const std::string& drive) {
    if (HasNoWriteParameters(m_mediaType)) return true;
    const bool optional = IgnoresWriteParameters(m_mediaType);
    clsWPP page;
    if (!page.GetData(drive)) {
        if (optional) return true;
        Warn(Text(WriteIsoText::ReadPageFailed), WriteIsoText::ReadPageFailedTitle);
        return false;
    }
    page.SetcWriteType(IsSequentialDvdMinus(m_mediaType) ? kIncremental : kTrackAtOnce);
    page.SetTestMode(m_options.testMode);
    page.SetLinkSizeValid(false);
    page.SetTrackMode(kDataTrackUninterrupted);
    page.SetCopy(false);
    page.SetFixedPacket(false);
    page.SetMultisession(m_options.fixDisc ? kNoNextSession : kNextSessionAllowed);
    page.SetDataBlockType(kMode1Blocks);
    page.SetLinkSize(0);
    page.SetApplicationCode(0);
    page.SetSessionFormat(0);
    page.SetBURNProof(HasUnderrunProtection(drive));
    if (page.SendData(drive) || optional) return true;
    Warn(Text(WriteIsoText::WritePageFailed), WriteIsoText::WritePageFailedTitle);
    return false;
}

void ImageBurner::SetWriteSpeed(const std::string& drive) {
    const int factor = m_options.writeSpeed.FactorOr(kDefaultWriteFactor);
    const bool bluRay = MediaFamilies::OfMedia(m_mediaType) == MediaFamily::BluRay;
    const MediaFamily family = bluRay                      ? MediaFamily::BluRay
                               : modMMC::IsDVDMedia(drive) ? MediaFamily::DVD
                                                           : MediaFamily::CD;
    const int step = MediaSpeedStep(family);
    m_pace = SourcePace(std::int64_t{factor} * step * 1000);
    const std::int32_t status = SetMediumSpeeds(drive, family, modMMC::kMaximumSpeed,
                                                SpeedValue(factor, step), kConstantLinearVelocity);
    if (status != ScsiStatus::kGood)
        Warn("WARNING: " + Text(WriteIsoText::SpeedNotSupported) + std::to_string(factor) + "x!" +
                 Text(WriteIsoText::DefaultSpeed),
             WriteIsoText::SpeedTitle);
}
