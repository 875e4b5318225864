#pragma once

#include <cstdint>

#include "ScsiStatus.h"
#include "SenseCodes.h"

// How the virtual drive answers one command: the ExecCMD status and, for
// CHECK CONDITION, the sense key, additional sense code and qualifier.
struct EmuOutcome {
    std::int32_t status = 0;
    std::uint8_t key = 0, asc = 0, ascq = 0;

    bool Good() const { return status == ScsiStatus::kGood; }
    friend bool operator==(const EmuOutcome&, const EmuOutcome&) = default;
};

// The answers a real MMC drive gives in the situations the virtual drive models.
namespace EmuSense {
constexpr EmuOutcome Check(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq) {
    return EmuOutcome{ScsiStatus::kCheckCondition, key, asc, ascq};
}
constexpr EmuOutcome kGood{};
constexpr EmuOutcome kBusy{ScsiStatus::kBusy, 0, 0, 0};
constexpr EmuOutcome kNotReadyCauseNotReportable =
    Check(SenseKey::kNotReady, Asc::kNotReady, Ascq::kNone);
constexpr EmuOutcome kBecomingReady =
    Check(SenseKey::kNotReady, Asc::kNotReady, Ascq::kBecomingReady);
constexpr EmuOutcome kOperationInProgress =
    Check(SenseKey::kNotReady, Asc::kNotReady, Ascq::kOperationInProgress);
constexpr EmuOutcome kLongWriteInProgress =
    Check(SenseKey::kNotReady, Asc::kNotReady, Ascq::kLongWriteInProgress);
constexpr EmuOutcome kNoMediumTrayClosed =
    Check(SenseKey::kNotReady, Asc::kMediumNotPresent, Ascq::kTrayClosed);
constexpr EmuOutcome kNoMediumTrayOpen =
    Check(SenseKey::kNotReady, Asc::kMediumNotPresent, Ascq::kTrayOpen);
constexpr EmuOutcome kWriteError = Check(SenseKey::kMediumError, Asc::kWriteError, Ascq::kNone);
constexpr EmuOutcome kBufferUnderrun =
    Check(SenseKey::kMediumError, Asc::kWriteError, Ascq::kBufferUnderrun);
constexpr EmuOutcome kUnrecoveredReadError =
    Check(SenseKey::kMediumError, Asc::kUnrecoveredReadError, Ascq::kNone);
// L-EC uncorrectable: run-out blocks, gaps
constexpr EmuOutcome kUncorrectableBlock =
    Check(SenseKey::kMediumError, Asc::kUnrecoveredReadError, Ascq::kUncorrectableBlock);
constexpr EmuOutcome kInternalTargetFailure =
    Check(SenseKey::kHardwareError, Asc::kInternalTargetFailure, Ascq::kNone);
constexpr EmuOutcome kParameterListLength =
    Check(SenseKey::kIllegalRequest, Asc::kParameterListLength, Ascq::kNone);
constexpr EmuOutcome kInvalidOpcode =
    Check(SenseKey::kIllegalRequest, Asc::kInvalidOpcode, Ascq::kNone);
constexpr EmuOutcome kLbaOutOfRange =
    Check(SenseKey::kIllegalRequest, Asc::kLbaOutOfRange, Ascq::kNone);
constexpr EmuOutcome kInvalidWriteAddress =
    Check(SenseKey::kIllegalRequest, Asc::kLbaOutOfRange, Ascq::kInvalidWriteAddress);
constexpr EmuOutcome kInvalidFieldInCdb =
    Check(SenseKey::kIllegalRequest, Asc::kInvalidFieldInCdb, Ascq::kNone);
constexpr EmuOutcome kInvalidFieldInParameters =
    Check(SenseKey::kIllegalRequest, Asc::kInvalidFieldInParameters, Ascq::kNone);
constexpr EmuOutcome kCommandSequenceError =
    Check(SenseKey::kIllegalRequest, Asc::kCommandSequenceError, Ascq::kNone);
constexpr EmuOutcome kIncompatibleMedium =
    Check(SenseKey::kIllegalRequest, Asc::kIncompatibleMedium, Ascq::kNone);
constexpr EmuOutcome kCannotReadFormat =
    Check(SenseKey::kIllegalRequest, Asc::kIncompatibleMedium, Ascq::kUnknownFormat);
constexpr EmuOutcome kCannotWriteFormat =
    Check(SenseKey::kIllegalRequest, Asc::kIncompatibleMedium, Ascq::kCannotWriteFormat);
constexpr EmuOutcome kMediumNotFormatted =
    Check(SenseKey::kIllegalRequest, Asc::kIncompatibleMedium, Ascq::kMediumNotFormatted);
constexpr EmuOutcome kSavingNotSupported =
    Check(SenseKey::kIllegalRequest, Asc::kSavingNotSupported, Ascq::kNone);
constexpr EmuOutcome kRemovalPrevented =
    Check(SenseKey::kIllegalRequest, Asc::kRemovalPrevented, Ascq::kRemovalPrevented);
constexpr EmuOutcome kIllegalModeForTrack =
    Check(SenseKey::kIllegalRequest, Asc::kIllegalModeForTrack, Ascq::kNone);
constexpr EmuOutcome kIncompleteTrackInSession =
    Check(SenseKey::kIllegalRequest, Asc::kSessionFixationError, Ascq::kIncompleteTrack);
constexpr EmuOutcome kMediumMayHaveChanged =
    Check(SenseKey::kUnitAttention, Asc::kMediumMayHaveChanged, Ascq::kNone);
}  // namespace EmuSense
