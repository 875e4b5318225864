#pragma once

#include <cstdint>

// Results of clsSCSI::ExecCMD that callers name.
namespace ScsiStatus {
constexpr std::int32_t kGood = 0;
constexpr std::int32_t kCheckCondition = 2;
constexpr std::int32_t kBusy = 8;
constexpr std::int32_t kCannotOpen = 24;  // same number as RESERVATION CONFLICT
constexpr std::int32_t kServiceFailure = 255;
}  // namespace ScsiStatus

// Data direction of a command.
namespace ScsiDirection {
constexpr std::int32_t kIn = 0;  // data from the device, or no data
constexpr std::int32_t kOut = 1;
}  // namespace ScsiDirection
