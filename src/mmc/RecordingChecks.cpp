#include "RecordingChecks.h"

#include <cstdio>

#include "DriveClaim.h"
#include "EnginesText.h"
#include "MediaClasses.h"
#include "modMMC.h"

namespace RecordingChecks {

namespace {
constexpr std::int64_t kSectorsPerSecond = 75;

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

}  // namespace

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
