// Phase one of a disc copy: every sector of the source into the image file.
#include <algorithm>
#include <span>

#include "CopyExtent.h"
#include "DiscAfterStop.h"
#include "DiscCopier.h"
#include "DriveBusy.h"
#include "DriveClaim.h"
#include "DriveFailure.h"
#include "EngineMessages.h"
#include "EngineReporter.h"
#include "ImageFileWriter.h"
#include "ProgressDisplay.h"
#include "ScsiStatus.h"
#include "SenseCodes.h"
#include "Sleeper.h"
#include "TransportSlot.h"
#include "modMMC.h"

namespace {
constexpr std::int32_t kSectorSize = 2048;
constexpr int kDefaultReadFactor = 16;
constexpr std::int16_t kConstantLinearVelocity = 0;
constexpr int kReadAttempts = 62;  // 61 waits of 100 ms: about 6000 ms per sector
constexpr int kReadRetryWaitMs = 100;

// What a failed READ(10) calls for.
enum class AfterFailure {
    Retry,       // the drive may still read the sector
    Stop,        // nothing more can be read: the copy ends at once
    Unreadable,  // the sector is given up without more attempts
};

AfterFailure AfterFailureOf(std::int32_t status) {
    if (status == ScsiStatus::kBusy) return AfterFailure::Retry;
    const clsSCSI* transport = Transport();
    // A transport failure: the drive was not reached.
    if (status != ScsiStatus::kCheckCondition || transport == nullptr) return AfterFailure::Stop;
    const std::uint8_t key = transport->LastSK(), asc = transport->LastASC();
    const std::uint8_t ascq = transport->LastASCQ();
    // A medium or hardware error; a drive becoming ready or busy with an operation.
    if (key == SenseKey::kMediumError || key == SenseKey::kHardwareError)
        return AfterFailure::Retry;
    if (key == SenseKey::kNotReady && asc == Asc::kNotReady &&
        (ascq == Ascq::kBecomingReady || ascq == Ascq::kOperationInProgress))
        return AfterFailure::Retry;
    // No medium, a medium changed, a refused command (beyond the end, an audio track ...).
    if ((key == SenseKey::kNotReady && asc == Asc::kMediumNotPresent) ||
        (key == SenseKey::kUnitAttention && asc == Asc::kMediumMayHaveChanged) ||
        key == SenseKey::kIllegalRequest)
        return AfterFailure::Stop;
    return AfterFailure::Unreadable;
}
}  // namespace

void DiscCopier::CreateFailed(const std::string& path, const std::string& reason) {
    std::string text = Text(CopyText::FileStart) + path + Text(CopyText::CannotCreate);
    if (!reason.empty()) text += "\n" + reason;
    Warn(text, CopyText::CannotCreateTitle);
}

bool DiscCopier::CopyDiscToImage(const std::string& drive, const std::string& imagePath) {
    const DriveBusyScope busy(drive);
    const DriveClaim claim(drive);
    if (!HoldsDrive(claim)) return false;
    ImageFileWriter image;
    if (!image.Create(imagePath)) {
        CreateFailed(imagePath, image.Error());
        return false;
    }
    if (!PrepareReading(drive)) {
        image.Discard();
        return false;
    }
    if (m_lastSession >= 0) {  // several sessions: a new image of the last one's files
        image.Discard();
        return CopyLastSession(drive, imagePath, m_lastSession);
    }
    if (!ReadToSink(drive, image)) return false;
    if (!image.Commit()) {
        CreateFailed(imagePath, image.Error());
        return false;
    }
    m_reporter.PhaseText(Text(CopyText::ImageComplete) + " " + Summary());
    return true;
}

bool DiscCopier::PrepareReading(const std::string& drive) {
    m_skipped = m_sectors = m_runOutTail = 0;
    m_cancelled = m_wholeMedium = false;
    const MediaFamily family = MediaFamilies::OfDisc(drive);
    SetReadSpeed(drive, family);
    return FindExtent(drive, family == MediaFamily::CD);
}

std::int64_t DiscCopier::StreamSectors(const std::string& drive) {
    if (!PrepareReading(drive)) return 0;
    if (m_lastSession >= 0) {
        Warn(Text(CopyText::SessionsOneDrive), CopyText::ReadFailedTitle);
        return 0;
    }
    // The recording takes its own run-out: the source's is not copied.
    m_runOutTail = 0;
    return m_sectors;
}

bool DiscCopier::ReadToSink(const std::string& drive, SectorSink& sink) {
    if (!ReadSectors(drive, sink)) return false;
    if (m_skipped < m_sectors) return true;
    sink.Discard();  // zeros alone are no copy
    Warn(Text(EngineMessage::NothingRead), CopyText::ReadTookLongerTitle);
    return false;
}

void DiscCopier::SetReadSpeed(const std::string& drive, MediaFamily family) {
    const int factor = m_options.readSpeed.FactorOr(kDefaultReadFactor);
    const std::int32_t status =
        SetMediumSpeeds(drive, family, SpeedValue(factor, MediaSpeedStep(family)),
                        modMMC::kMaximumSpeed, kConstantLinearVelocity);
    if (status != ScsiStatus::kGood)
        Warn("WARNING: " + Text(CopyText::SpeedNotSupported) + std::to_string(factor) + "x, " +
                 Text(CopyText::DefaultSpeed),
             CopyText::SpeedTitle);
}

bool DiscCopier::FindExtent(const std::string& drive, bool cd) {
    // Blank and unreadable discs often report 0: nothing to copy is a failure too.
    const std::int64_t lastLba = modMMC::ReadCapacity(drive);
    if (lastLba <= 0) {
        Warn(Text(CopyText::ReadFailed), CopyText::ReadFailedTitle);
        return false;
    }
    const CopyExtent extent = CopyExtent::Of(drive, lastLba, cd);
    m_lastSession = extent.lastSession;
    if (!extent.refusal.empty()) {
        Warn(extent.refusal, CopyText::ReadFailedTitle);
        return false;
    }
    m_sectors = extent.sectors - extent.runOutTail;
    m_runOutTail = extent.runOutTail;
    m_wholeMedium = extent.rule == CopyExtent::Rule::WholeMedium;
    return true;
}

std::string DiscCopier::Summary() const {
    std::string summary = Text(EngineMessage::ZeroFilled, {std::to_string(m_skipped)});
    if (m_wholeMedium)
        summary += "\n" + Text(EngineMessage::WholeMedium, {std::to_string(m_sectors)});
    return summary;
}

bool DiscCopier::ReadSectors(const std::string& drive, SectorSink& image) {
    m_reporter.PhaseText(Text(CopyText::Reading));
    ProgressDisplay progress(m_reporter);
    progress.Start();
    m_singleUntil = 0;
    const std::int64_t total = m_sectors + m_runOutTail;
    for (std::int64_t lba = 0; lba < total;) {
        if (m_reporter.CancelRequested()) return Stop(drive, image);
        std::int32_t status = ScsiStatus::kGood;
        const std::int64_t count =
            lba < m_sectors ? ReadNext(drive, lba, status) : ReadRunOut(drive, lba);
        if (count < 0) break;  // the run-out: the image ends before it
        if (count == 0) {
            image.Discard();
            ReadFailed(lba, status);
            return false;
        }
        if (!Append(image, count)) return false;
        lba += count;
        progress.Update(lba, total);
    }
    return true;
}

// The next sectors into the buffer: one READ(10) of sectorsPerRead sectors
// (fewer at the end). Where that fails with an answer that ends nothing, the
// range is read again sector by sector to its end with ReadSector's rules.
// Returns the sectors in the buffer; 0 when the copy cannot go on (`status`
// then holds the last answer, its sense still on the transport).
std::int64_t DiscCopier::ReadNext(const std::string& drive, std::int64_t lba,
                                  std::int32_t& status) {
    const std::int64_t count = std::min<std::int64_t>(m_options.sectorsPerRead, m_sectors - lba);
    if (count > 1 && lba >= m_singleUntil) {
        status = modMMC::Read10(drive, static_cast<std::uint32_t>(lba),
                                static_cast<std::uint16_t>(count), m_buffer.data(),
                                static_cast<std::int32_t>(count * kSectorSize));
        if (status == ScsiStatus::kGood) return count;
        if (AfterFailureOf(status) == AfterFailure::Stop) return 0;
        m_singleUntil = lba + count;
    }
    status = ReadSector(drive, static_cast<std::uint32_t>(lba), kReadAttempts);
    if (status == ScsiStatus::kGood) return 1;
    if (!m_options.badCopy || AfterFailureOf(status) == AfterFailure::Stop) return 0;
    // BadCopy: zeros (a failed READ may have left part of a transfer behind), counted.
    std::fill(m_buffer.begin(), m_buffer.begin() + kSectorSize, std::uint8_t{0});
    ++m_skipped;
    status = ScsiStatus::kGood;
    return 1;
}

// A sector of the run-out tail, tried once: 1 when it was read, -1 when it
// is left out (and everything after it).
std::int64_t DiscCopier::ReadRunOut(const std::string& drive, std::int64_t lba) {
    if (ReadSector(drive, static_cast<std::uint32_t>(lba), 1) == ScsiStatus::kGood) {
        ++m_sectors;
        --m_runOutTail;
        return 1;
    }
    m_runOutTail = 0;
    return -1;
}

// One sector into the buffer, at most `attempts` attempts 100 ms apart while
// the drive's answer allows another. Returns GOOD, or the status of the last
// attempt (its sense still on the transport).
std::int32_t DiscCopier::ReadSector(const std::string& drive, std::uint32_t lba, int attempts) {
    const std::span<std::uint8_t> sector(m_buffer.data(), kSectorSize);
    for (int attempt = 1;; ++attempt) {
        std::fill(sector.begin(), sector.end(), std::uint8_t{0});
        const std::int32_t status = modMMC::Read10(drive, lba, 1, sector.data(), kSectorSize);
        if (status == ScsiStatus::kGood || attempt >= attempts ||
            AfterFailureOf(status) != AfterFailure::Retry)
            return status;
        SleepMilliseconds(kReadRetryWaitMs);
    }
}

bool DiscCopier::Append(SectorSink& image, std::int64_t sectors) {
    if (image.Write(std::span(m_buffer.data(), static_cast<std::size_t>(sectors) * kSectorSize)))
        return true;
    const std::string path = image.Path(), reason = image.Error();
    image.Discard();
    CreateFailed(path, reason);
    return false;
}

bool DiscCopier::Stop(const std::string& drive, SectorSink& image) {
    image.Discard();
    m_cancelled = true;
    ReportStop(m_reporter, drive, DiscAfterStop::NoImage);
    return false;
}

// Named by the drive's last answer: slow, damaged there, or why nothing more
// could be read.
void DiscCopier::ReadFailed(std::int64_t lba, std::int32_t status) {
    Warn(FailureText(status, false, "Long read - " + Text(CopyText::ReadTookLonger) + "6000ms!",
                     Text(EngineMessage::UnreadableBlock, {std::to_string(lba)})),
         CopyText::ReadTookLongerTitle);
}
