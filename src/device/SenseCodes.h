#pragma once

#include <cstdint>

// The sense keys, additional sense codes (ASC) and qualifiers (ASCQ) the
// program names (SPC-4 4.5.6 and annex D, MMC-6 annex F), one definition
// each: the transports, the virtual drive and the engines all use these. A
// qualifier is named with the code it qualifies.
namespace SenseKey {
constexpr std::uint8_t kNoSense = 0x00;
constexpr std::uint8_t kNotReady = 0x02;
constexpr std::uint8_t kMediumError = 0x03;
constexpr std::uint8_t kHardwareError = 0x04;
constexpr std::uint8_t kIllegalRequest = 0x05;
constexpr std::uint8_t kUnitAttention = 0x06;
constexpr std::uint8_t kAbortedCommand = 0x0B;
}  // namespace SenseKey

namespace Asc {
constexpr std::uint8_t kNotReady = 0x04;  // LOGICAL UNIT NOT READY, the cause in the ASCQ
constexpr std::uint8_t kWriteError = 0x0C;
constexpr std::uint8_t kUnrecoveredReadError = 0x11;
constexpr std::uint8_t kParameterListLength = 0x1A;
constexpr std::uint8_t kInvalidOpcode = 0x20;
constexpr std::uint8_t kLbaOutOfRange = 0x21;
constexpr std::uint8_t kInvalidFieldInCdb = 0x24;
constexpr std::uint8_t kInvalidFieldInParameters = 0x26;
constexpr std::uint8_t kMediumMayHaveChanged = 0x28;
constexpr std::uint8_t kReset = 0x29;
constexpr std::uint8_t kCommandSequenceError = 0x2C;
constexpr std::uint8_t kIncompatibleMedium = 0x30;
constexpr std::uint8_t kSavingNotSupported = 0x39;
constexpr std::uint8_t kMediumNotPresent = 0x3A;
constexpr std::uint8_t kInternalTargetFailure = 0x44;
constexpr std::uint8_t kRemovalPrevented = 0x53;
constexpr std::uint8_t kIllegalModeForTrack = 0x64;
constexpr std::uint8_t kSessionFixationError = 0x72;
}  // namespace Asc

namespace Ascq {
constexpr std::uint8_t kNone = 0x00;
constexpr std::uint8_t kBecomingReady = 0x01;        // with Asc::kNotReady
constexpr std::uint8_t kOperationInProgress = 0x07;  // with Asc::kNotReady
constexpr std::uint8_t kLongWriteInProgress = 0x08;  // with Asc::kNotReady
constexpr std::uint8_t kTrayClosed = 0x01;           // with Asc::kMediumNotPresent
constexpr std::uint8_t kTrayOpen = 0x02;             // with Asc::kMediumNotPresent
constexpr std::uint8_t kUncorrectableBlock = 0x05;   // with Asc::kUnrecoveredReadError (L-EC)
constexpr std::uint8_t kInvalidWriteAddress = 0x02;  // with Asc::kLbaOutOfRange
constexpr std::uint8_t kUnknownFormat = 0x02;        // with Asc::kIncompatibleMedium
constexpr std::uint8_t kCannotWriteFormat = 0x05;    // with Asc::kIncompatibleMedium
constexpr std::uint8_t kMediumNotFormatted = 0x10;   // with Asc::kIncompatibleMedium
constexpr std::uint8_t kRemovalPrevented = 0x02;     // with Asc::kRemovalPrevented
constexpr std::uint8_t kIncompleteTrack = 0x03;      // with Asc::kSessionFixationError
constexpr std::uint8_t kBufferUnderrun = 0x09;       // with Asc::kWriteError
}  // namespace Ascq
