// Phase one of a disc copy: every sector of the source into the image file.
#include <algorithm>
#include <span>

#include "DiscAfterStop.h"
#include "DiscCopier.h"
#include "DriveBusy.h"
#include "DriveClaim.h"
#include "DriveFailure.h"
#include "EngineReporter.h"
#include "EnginesText.h"
#include "ImageFileWriter.h"
#include "ProgressDisplay.h"
#include "ScsiStatus.h"
#include "Sleeper.h"
#include "VolumeSpaceSize.h"
#include "modMMC.h"

namespace {
constexpr std::int32_t kSectorSize = 2048;
constexpr int kDefaultReadFactor = 16;
constexpr std::int16_t kConstantLinearVelocity = 0;
constexpr int kReadAttempts = 62;  // 61 waits of 100 ms: about 6000 ms per sector
constexpr int kReadRetryWaitMs = 100;
constexpr std::uint32_t kVolumeDescriptorLba = 16;
constexpr std::int64_t kSmallestVolume = 18;  // system area, one descriptor, terminator
}  // namespace

void DiscCopier::CreateFailed(const std::string& path, const std::string& reason) {
    std::string text = m_texts(1) + path + m_texts(2);
    if (!reason.empty()) text += "\n" + reason;
    Warn(text, 3);
}

bool DiscCopier::CopyDiscToImage(const std::string& drive, const std::string& imagePath) {
    const DriveBusyScope busy(drive);
    const DriveClaim claim(drive);
    if (!HoldsDrive(claim)) return false;
    m_skipped = 0;
    m_sectors = 0;
    m_cancelled = false;
    ImageFileWriter image;
    if (!image.Create(imagePath)) {
        CreateFailed(imagePath, image.Error());
        return false;
    }
    SetReadSpeed(drive);
    // Blank and unreadable discs often report 0: nothing to copy is a failure too.
    const std::int64_t lastLba = modMMC::ReadCapacity(drive);
    if (lastLba <= 0) {
        image.Discard();
        Warn(m_texts(7), 8);
        return false;
    }
    m_sectors = SectorsToCopy(drive, lastLba);
    if (!ReadSectors(drive, image)) return false;
    if (!image.Commit()) {
        CreateFailed(imagePath, image.Error());
        return false;
    }
    std::string done = m_texts(12);
    if (m_skipped > 0)
        done += " (" + std::to_string(m_skipped) + " unreadable sectors filled with zeros)";
    m_reporter.PhaseText(done);
    return true;
}

void DiscCopier::SetReadSpeed(const std::string& drive) {
    const int factor = m_options.readSpeed.FactorOr(kDefaultReadFactor);
    const int step = MediaSpeedStep(modMMC::IsDVDMedia(drive));
    const std::int32_t status = modMMC::SetCDSpeed(drive, SpeedValue(factor, step),
                                                   modMMC::kMaximumSpeed, kConstantLinearVelocity);
    if (status != ScsiStatus::kGood)
        Warn("WARNING: " + m_texts(4) + std::to_string(factor) + "x, " + m_texts(5), 6);
}

// READ CAPACITY of a Track At Once disc counts the two unreadable run-out
// blocks after the data. An ISO 9660 volume says how long it really is, so
// its size is copied when sector 16 holds a primary volume descriptor.
std::int64_t DiscCopier::SectorsToCopy(const std::string& drive, std::int64_t lastLba) {
    const std::span<std::uint8_t> sector(m_buffer.data(), kSectorSize);
    std::fill(sector.begin(), sector.end(), std::uint8_t{0});
    if (modMMC::Read10(drive, kVolumeDescriptorLba, 1, sector.data(), kSectorSize) !=
        ScsiStatus::kGood)
        return lastLba;
    const std::int64_t volume = PrimaryVolumeSpaceSize(sector);
    return volume >= kSmallestVolume && volume <= lastLba + 1 ? volume : lastLba;
}

bool DiscCopier::ReadSectors(const std::string& drive, ImageFileWriter& image) {
    m_reporter.PhaseText(m_texts(9));
    ProgressDisplay progress(m_reporter);
    progress.Start();
    m_singleUntil = 0;
    for (std::int64_t lba = 0; lba < m_sectors;) {
        if (m_reporter.CancelRequested()) {
            image.Discard();
            m_cancelled = true;
            ReportStop(m_reporter, drive, DiscAfterStop::NoImage);
            return false;
        }
        std::int32_t status = ScsiStatus::kGood;
        const std::int64_t count = ReadNext(drive, lba, status);
        if (count == 0) {
            image.Discard();
            Warn(FailureText(status, false, "Long read - " + m_texts(10) + "6000ms!",
                             EnginesText("UnreadableBlock",
                                         "光碟在区块 %1 处无法读取（光碟可能已损坏；"
                                         "BadCopy 会以零填充这样的区块）。",
                                         {std::to_string(lba)})),
                 11);
            return false;
        }
        if (!image.Write(
                std::span(m_buffer.data(), static_cast<std::size_t>(count) * kSectorSize))) {
            const std::string path = image.Path(), reason = image.Error();
            image.Discard();
            CreateFailed(path, reason);
            return false;
        }
        lba += count;
        progress.Update(lba, m_sectors);
    }
    return true;
}

// The next sectors into the buffer: one READ(10) of sectorsPerRead sectors
// (fewer at the end). Where that fails, the range is read again sector by
// sector to its end with ReadSector's rules. Returns the sectors in the
// buffer; 0 when a sector stayed unreadable without BadCopy (`status` then
// holds its last answer).
std::int64_t DiscCopier::ReadNext(const std::string& drive, std::int64_t lba,
                                  std::int32_t& status) {
    const std::int64_t count = std::min<std::int64_t>(m_options.sectorsPerRead, m_sectors - lba);
    if (count > 1 && lba >= m_singleUntil) {
        if (modMMC::Read10(drive, static_cast<std::uint32_t>(lba),
                           static_cast<std::uint16_t>(count), m_buffer.data(),
                           static_cast<std::int32_t>(count * kSectorSize)) == ScsiStatus::kGood)
            return count;
        m_singleUntil = lba + count;
    }
    status = ReadSector(drive, static_cast<std::uint32_t>(lba), m_options.badCopy);
    return status == ScsiStatus::kGood ? 1 : 0;
}

// One sector into the buffer, 62 attempts 100 ms apart whatever the sense.
// With BadCopy a sector that stays unreadable becomes zeros (a failed READ
// may have left part of a transfer behind) and is counted. Returns GOOD, or
// the status of the last attempt (its sense still on the transport).
std::int32_t DiscCopier::ReadSector(const std::string& drive, std::uint32_t lba, bool badCopy) {
    const std::span<std::uint8_t> sector(m_buffer.data(), kSectorSize);
    std::int32_t status = ScsiStatus::kGood;
    for (int failures = 0;; ++failures) {
        std::fill(sector.begin(), sector.end(), std::uint8_t{0});
        status = modMMC::Read10(drive, lba, 1, sector.data(), kSectorSize);
        if (status == ScsiStatus::kGood) return status;
        if (failures + 1 >= kReadAttempts) break;
        SleepMilliseconds(kReadRetryWaitMs);
    }
    if (!badCopy) return status;
    std::fill(sector.begin(), sector.end(), std::uint8_t{0});
    ++m_skipped;
    return ScsiStatus::kGood;
}
