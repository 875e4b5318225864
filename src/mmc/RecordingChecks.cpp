#include "RecordingChecks.h"

#include <cstdio>

#include "DriveClaim.h"
#include "EngineMessages.h"
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
    return Text(EngineMessage::DataTooBig,
                {std::to_string(needed), Megabytes(needed), std::to_string(free), Megabytes(free)});
}

std::string AudioFitProblem(std::int64_t needed, std::int64_t free) {
    if (free < 0 || needed <= free) return {};
    return Text(EngineMessage::AudioTooLong, {std::to_string(needed), PlayingTime(needed),
                                              std::to_string(free), PlayingTime(free)});
}

std::string TestModeProblem(std::int32_t media) {
    if (MediaClasses::HasTestWrite(media)) return {};
    return Text(EngineMessage::NoTestMode, {modMMC::MediaName(media)});
}

std::string ClaimProblem(const DriveClaim& claim) {
    if (claim.Held()) return {};
    return claim.InUse() ? Text(EngineMessage::DriveInUse) : claim.Problem();
}

}  // namespace RecordingChecks
