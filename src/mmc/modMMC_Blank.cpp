// Erasing a rewritable disc: BLANK, or an overwrite where the medium has none.
#include <vector>

#include "EngineReporter.h"

#include "ScsiStatus.h"
#include "WriteWithRetry.h"
#include "clsWPP.h"
#include "modMMC.h"

namespace modMMC {

namespace {
constexpr std::uint16_t kOverwriteBlocks = 25;  // blocks per WRITE(10)
constexpr std::uint32_t kOverwriteEnd = 300;    // LBAs 0..299: 600 KiB from the start
constexpr std::int32_t kBlockBytes = 2048;
constexpr std::uint16_t kDVDWriteSpeed = 11080;  // 8x DVD

// Track At Once, Mode 1 data. Page 05h does not apply to DVD+RW and some
// drives refuse it there, so a refusal does not stop the overwrite.
void SetUpWriteParameters(const std::string& drive) {
    clsWPP page;
    if (!page.GetData(drive)) return;
    page.SetDataBlockType(8);
    page.SetTrackMode(4);
    page.SetSessionFormat(0);
    page.SetcWriteType(1);
    page.SetCopy(false);
    page.SetFixedPacket(false);
    page.SetLinkSizeValid(false);
    page.SetApplicationCode(0);
    page.SetLinkSize(0);
    (void)page.SendData(drive);
}

// DVD+RW has no BLANK: zeros over the first 300 blocks remove any file
// system, so the disc reads as empty afterwards. A BD-RE's quick reformat
// leaves its blocks as they were, so it is followed by the same overwrite
// (without page 05h, which Blu-ray recorders lack, at their default speed).
std::int32_t OverwriteStart(const std::string& drive, EngineReporter* events, bool bluRay) {
    if (!bluRay) {
        SetUpWriteParameters(drive);
        (void)SetCDSpeed(drive, kMaximumSpeed, kDVDWriteSpeed, 0);  // a refusal keeps the old speed
    }
    const std::vector<std::uint8_t> zeros(kOverwriteBlocks * kBlockBytes, 0);
    for (std::uint32_t lba = 0; lba < kOverwriteEnd; lba += kOverwriteBlocks) {
        if (lba > 0 && events != nullptr && events->CancelRequested()) return kBlankStopped;
        if (WriteWithRetry(drive, lba, kOverwriteBlocks, zeros.data(),
                           static_cast<std::int32_t>(zeros.size())) != WriteOutcome::Written) {
            return ScsiStatus::kServiceFailure;
        }
    }
    return SynchronizeCache(drive);
}

// DVD+RW and BD-RE: a disc never formatted gets its first format, which
// leaves it blank. A BD-RE is otherwise erased by formatting it again: a
// whole erase certifies every block (and clears it), a quick one reformats.
std::int32_t EraseByFormat(const std::string& drive, std::int32_t media, std::uint8_t blankingType,
                           EngineReporter* events) {
    if (NeedsFormat(drive, media)) return FormatDisc(drive, media, FormatStyle::First);
    const bool bluRay = media == Media::kBDRE;
    if (bluRay) {
        const bool whole = blankingType == kBlankWholeDisc;
        const std::int32_t status =
            FormatDisc(drive, media, whole ? FormatStyle::Full : FormatStyle::QuickReformat);
        if (status != ScsiStatus::kGood || whole) return status;
    }
    return OverwriteStart(drive, events, bluRay);
}
}  // namespace

std::int32_t BlankDisc(const std::string& drive, std::uint8_t blankingType,
                       EngineReporter* events) {
    const std::int32_t media = GetMediaType(drive);
    if (media == Media::kDVDPlusRW || media == Media::kBDRE)
        return EraseByFormat(drive, media, blankingType, events);
    return Blank(drive, blankingType);
}

}  // namespace modMMC
