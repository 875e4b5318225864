#include "RecordingChecks.h"

#include <array>
#include <cstdio>

#include "DriveClaim.h"
#include "EnginesText.h"
#include "MediaClasses.h"
#include "ScsiStatus.h"
#include "modMMC.h"

namespace RecordingChecks {

namespace {
constexpr std::uint8_t kByTrackNumber = 1;
constexpr std::int64_t kSectorsPerSecond = 75;
constexpr std::int64_t kMsfOffset = 150;  // LBA 0 lies at 00:02:00

std::int64_t Be32(const std::uint8_t* bytes) {
    return std::int64_t{bytes[0]} << 24 | std::int64_t{bytes[1]} << 16 |
           std::int64_t{bytes[2]} << 8 | bytes[3];
}

std::string Megabytes(std::int64_t blocks) {
    return std::to_string(blocks * 2048 / (1024 * 1024));
}

std::string PlayingTime(std::int64_t sectors) {
    const std::int64_t seconds = sectors / kSectorsPerSecond;
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
    return text;
}

// Bytes 20-23 of READ DISC INFORMATION: MSF on CD, an LBA on other media.
std::int64_t LastLeadOutStart(const modMMC::DiscInformationBlock& disc, std::int32_t media) {
    if (disc[20] == 0xFF && disc[21] == 0xFF && disc[22] == 0xFF && disc[23] == 0xFF) return -1;
    if (media > modMMC::Media::kCDRW) return Be32(&disc[20]);
    return (disc[21] * 60 + disc[22]) * kSectorsPerSecond + disc[23] - kMsfOffset;
}
}  // namespace

std::int64_t FreeBlocks(const std::string& drive, std::int32_t media) {
    modMMC::DiscInformationBlock disc{};
    const bool discRead = modMMC::ReadDiscInformation(drive, disc) == ScsiStatus::kGood;
    std::array<std::uint8_t, 36> track{};
    // Byte 6: last track in the last session, which includes the invisible track.
    const std::uint8_t number = discRead && disc[6] != 0 ? disc[6] : 0xFF;
    if (modMMC::ReadTrackInformation(drive, kByTrackNumber, number, track.data(), track.size())) {
        if (MediaClasses::Overwritable(media)) return Be32(&track[24]);  // track size
        if ((track[7] & 0x01) != 0) return Be32(&track[16]);             // NWA_V: free blocks
    }
    return discRead ? LastLeadOutStart(disc, media) : -1;
}

std::string DataFitProblem(std::int64_t needed, std::int64_t free) {
    if (free < 0 || needed <= free) return {};
    return EnginesText(
        "DataTooBig",
        "映像需要 %1 个区块（%2 MB），但光碟只有 %3 个可用区块（%4 MB）。"
        "请换一张更大的光碟。",
        {std::to_string(needed), Megabytes(needed), std::to_string(free), Megabytes(free)});
}

std::string AudioFitProblem(std::int64_t needed, std::int64_t free) {
    if (free < 0 || needed <= free) return {};
    return EnginesText(
        "AudioTooLong",
        "这些音轨连同间隔需要 %1 个区块（%2），但光碟只有 %3 个可用区块（%4）。"
        "请减少音轨。",
        {std::to_string(needed), PlayingTime(needed), std::to_string(free), PlayingTime(free)});
}

std::string TestModeProblem(std::int32_t media) {
    if (MediaClasses::HasTestWrite(media)) return {};
    return EnginesText("NoTestMode",
                       "%1 光碟不能进行测试刻录：刻录机会真正写入这张光碟。"
                       "请取消测试模式，或改用 CD-R/RW 或 DVD-R/RW 光碟。",
                       {modMMC::MediaName(media)});
}

std::string ClaimProblem(const DriveClaim& claim) {
    if (claim.Held()) return {};
    return claim.InUse() ? EnginesText("DriveInUse", "光碟机正被另一个程序使用") : claim.Problem();
}

}  // namespace RecordingChecks
