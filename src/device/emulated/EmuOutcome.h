#pragma once

#include <cstdint>

// How the virtual drive answers one command: the ExecCMD status and, for
// CHECK CONDITION, the sense key, additional sense code and qualifier.
struct EmuOutcome {
    std::int32_t status = 0;
    std::uint8_t key = 0, asc = 0, ascq = 0;

    bool Good() const { return status == 0; }
    friend bool operator==(const EmuOutcome&, const EmuOutcome&) = default;
};

// The answers a real MMC drive gives in the situations the virtual drive models.
namespace EmuSense {
constexpr EmuOutcome Check(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq) {
    return EmuOutcome{2, key, asc, ascq};
}
constexpr EmuOutcome kGood{};
constexpr EmuOutcome kBusy{8, 0, 0, 0};
constexpr EmuOutcome kNotReadyCauseNotReportable = Check(0x02, 0x04, 0x00);
constexpr EmuOutcome kBecomingReady = Check(0x02, 0x04, 0x01);
constexpr EmuOutcome kOperationInProgress = Check(0x02, 0x04, 0x07);
constexpr EmuOutcome kLongWriteInProgress = Check(0x02, 0x04, 0x08);
constexpr EmuOutcome kNoMediumTrayClosed = Check(0x02, 0x3A, 0x01);
constexpr EmuOutcome kNoMediumTrayOpen = Check(0x02, 0x3A, 0x02);
constexpr EmuOutcome kWriteError = Check(0x03, 0x0C, 0x00);
constexpr EmuOutcome kUnrecoveredReadError = Check(0x03, 0x11, 0x00);
constexpr EmuOutcome kUncorrectableBlock = Check(0x03, 0x11, 0x05);  // L-EC: run-out, gaps
constexpr EmuOutcome kInternalTargetFailure = Check(0x04, 0x44, 0x00);
constexpr EmuOutcome kParameterListLength = Check(0x05, 0x1A, 0x00);
constexpr EmuOutcome kInvalidOpcode = Check(0x05, 0x20, 0x00);
constexpr EmuOutcome kLbaOutOfRange = Check(0x05, 0x21, 0x00);
constexpr EmuOutcome kInvalidWriteAddress = Check(0x05, 0x21, 0x02);
constexpr EmuOutcome kInvalidFieldInCdb = Check(0x05, 0x24, 0x00);
constexpr EmuOutcome kInvalidFieldInParameters = Check(0x05, 0x26, 0x00);
constexpr EmuOutcome kCommandSequenceError = Check(0x05, 0x2C, 0x00);
constexpr EmuOutcome kIncompatibleMedium = Check(0x05, 0x30, 0x00);
constexpr EmuOutcome kCannotReadFormat = Check(0x05, 0x30, 0x02);
constexpr EmuOutcome kCannotWriteFormat = Check(0x05, 0x30, 0x05);
constexpr EmuOutcome kSavingNotSupported = Check(0x05, 0x39, 0x00);
constexpr EmuOutcome kRemovalPrevented = Check(0x05, 0x53, 0x02);
constexpr EmuOutcome kIllegalModeForTrack = Check(0x05, 0x64, 0x00);
constexpr EmuOutcome kIncompleteTrackInSession = Check(0x05, 0x72, 0x03);
constexpr EmuOutcome kMediumMayHaveChanged = Check(0x06, 0x28, 0x00);
}  // namespace EmuSense
