#include "SpeedList.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "modMMC.h"

namespace {
constexpr std::uint16_t kDvdStepThreshold = 9153;  // kB/s; 52 x 176 = 9152
constexpr std::int16_t kPureCav = 1;

enum class Side { Write, Read };

std::uint16_t MaximumOf(const modMMC::DriveSpeeds& speeds, Side side) {
    return side == Side::Write ? speeds.MaxWriteSpeed : speeds.MaxReadSpeed;
}

std::uint16_t CurrentOf(const modMMC::DriveSpeeds& speeds, Side side) {
    return side == Side::Write ? speeds.CurrentWriteSpeed : speeds.CurrentReadSpeed;
}

bool DriveSwitchesTo(const std::string& drive, Side side, MediaFamily family, int factor,
                     int step) {
    const std::uint16_t speed = SpeedValue(factor, step);
    const std::uint16_t read = side == Side::Read ? speed : modMMC::kMaximumSpeed;
    const std::uint16_t write = side == Side::Write ? speed : modMMC::kMaximumSpeed;
    (void)SetMediumSpeeds(drive, family, read, write, kPureCav);
    return CurrentOf(modMMC::GetDriveSpeeds(drive), side) / step == factor;
}

SpeedList FillSpeeds(const std::string& drive, Side side) {
    (void)modMMC::TestUnitReady(drive);  // clears a pending unit attention
    const std::uint16_t maximum = MaximumOf(modMMC::GetDriveSpeeds(drive), side);
    const MediaFamily family = MediaFamilies::OfDisc(drive);
    const int step = ProbeSpeedStep(family, maximum);
    // Halves round to even.
    const int top = static_cast<int>(std::nearbyint(static_cast<double>(maximum) / step));
    SpeedList list;
    for (int factor = top; factor >= 1; --factor)
        if (DriveSwitchesTo(drive, side, family, factor, step))
            list.push_back(SpeedEntryOf(factor));
    if (list.empty()) list.push_back(DefaultSpeedEntry());
    return list;
}
}  // namespace

SpeedEntry DefaultSpeedEntry() {
    return {"Default", 0};
}

std::size_t KeptSpeedIndex(const SpeedList& list, int chosenFactor) {
    std::optional<std::size_t> lower, slowest;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const int factor = list[i].factor;
        if (chosenFactor <= 0 ? factor <= 0 : factor == chosenFactor) return i;
        if (factor <= 0) continue;
        if (factor < chosenFactor && (!lower || factor > list[*lower].factor)) lower = i;
        if (!slowest || factor < list[*slowest].factor) slowest = i;
    }
    if (chosenFactor <= 0) return 0;
    return lower.value_or(slowest.value_or(0));
}

SpeedEntry SpeedEntryOf(int factor) {
    return {std::to_string(factor) + "x", factor};
}

int ProbeSpeedStep(MediaFamily family, std::uint16_t maximumSpeed) {
    if (family == MediaFamily::BluRay) return kBluRaySpeedStep;
    return family == MediaFamily::DVD || maximumSpeed >= kDvdStepThreshold ? kDvdSpeedStep
                                                                           : kCdSpeedStep;
}

int MediaSpeedStep(MediaFamily family) {
    switch (family) {
        case MediaFamily::CD:
            return kCdSpeedStep;
        case MediaFamily::DVD:
            return kDvdSpeedStep;
        case MediaFamily::BluRay:
            return kBluRaySpeedStep;
    }
    return kCdSpeedStep;
}

std::int32_t SetMediumSpeeds(const std::string& drive, MediaFamily family, std::uint16_t readSpeed,
                             std::uint16_t writeSpeed, std::int16_t rotationControl) {
    if (family != MediaFamily::BluRay)
        return modMMC::SetCDSpeed(drive, readSpeed, writeSpeed, rotationControl);
    // The performance descriptor covers the whole medium: up to its last
    // block (the current capacity of READ FORMAT CAPACITIES).
    std::array<std::uint8_t, 12> capacity{};
    std::uint32_t endLba = 0xFFFFFFFF;
    if (modMMC::ReadFormatCapacities(drive, capacity.data(), capacity.size()))
        endLba = (static_cast<std::uint32_t>(capacity[4]) << 24 | capacity[5] << 16 |
                  capacity[6] << 8 | capacity[7]) -
                 1;
    return modMMC::SetStreaming(drive, readSpeed, writeSpeed, endLba);
}

std::uint16_t SpeedValue(int factor, int step) {
    const long long value = static_cast<long long>(factor) * step;
    return static_cast<std::uint16_t>(std::clamp<long long>(value, 0, 0xFFFF));
}

SpeedList FillWriteSpeeds(const std::string& drive) {
    return FillSpeeds(drive, Side::Write);
}

SpeedList FillReadSpeeds(const std::string& drive) {
    return FillSpeeds(drive, Side::Read);
}
