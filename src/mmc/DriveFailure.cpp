#include "DriveFailure.h"

#include <array>
#include <cstdio>

#include "EngineMessages.h"
#include "ScsiStatus.h"
#include "SenseCodes.h"
#include "TransportSlot.h"

DriveFailure ClassifyFailure(std::int32_t status) {
    const clsSCSI* transport = Transport();
    if (status != ScsiStatus::kCheckCondition || transport == nullptr) {
        return status == ScsiStatus::kBusy ? DriveFailure::Slow : DriveFailure::Other;
    }
    const std::uint8_t key = transport->LastSK(), asc = transport->LastASC();
    if (asc == Asc::kMediumNotPresent) return DriveFailure::MediumRemoved;
    if (key == SenseKey::kUnitAttention && asc == Asc::kMediumMayHaveChanged)
        return DriveFailure::MediumChanged;
    if (key == SenseKey::kNotReady && asc == Asc::kNotReady &&
        transport->LastASCQ() == Ascq::kLongWriteInProgress)
        return DriveFailure::Slow;
    if (key == SenseKey::kNotReady) return DriveFailure::NotReady;
    if (key == SenseKey::kMediumError) return DriveFailure::MediumError;
    if (key == SenseKey::kIllegalRequest && asc == Asc::kLbaOutOfRange)
        return DriveFailure::OutOfRange;
    if (key == SenseKey::kIllegalRequest && asc == Asc::kIllegalModeForTrack)
        return DriveFailure::IllegalMode;
    return key == SenseKey::kNoSense && asc == 0 ? DriveFailure::Slow : DriveFailure::Other;
}

std::string FailureCode(std::int32_t status) {
    const clsSCSI* transport = Transport();
    if (status != ScsiStatus::kCheckCondition || transport == nullptr)
        return "status " + std::to_string(status);
    char text[16];
    std::snprintf(text, sizeof text, "%02X/%02X/%02X", transport->LastSK(), transport->LastASC(),
                  transport->LastASCQ());
    return text;
}

namespace {
std::string OwnMessage(DriveFailure failure, bool write) {
    switch (failure) {
        case DriveFailure::MediumRemoved:
            return Text(EngineMessage::MediumRemoved);
        case DriveFailure::MediumChanged:
            return Text(EngineMessage::MediumChanged);
        case DriveFailure::OutOfRange:
            return write ? Text(EngineMessage::DiscFull) : Text(EngineMessage::ReadPastEnd);
        case DriveFailure::NotReady:
            return Text(EngineMessage::NotReady);
        case DriveFailure::IllegalMode:
            return write ? Text(EngineMessage::WriteRefused) : Text(EngineMessage::AudioAsData);
        case DriveFailure::Other:
            return write ? Text(EngineMessage::WriteRefused) : Text(EngineMessage::ReadRefused);
        case DriveFailure::Slow:
        case DriveFailure::MediumError:
            break;
    }
    return {};
}
}  // namespace

namespace {
constexpr std::uint8_t kAny = 0xFF;

// Sense codes in words, the first entry that matches wins.
struct SenseWords {
    std::uint8_t key, asc, ascq;
    EngineMessage text;
};
using namespace SenseKey;
constexpr std::array<SenseWords, 16> kSenseWords = {{
    {kNotReady, Asc::kMediumNotPresent, kAny, EngineMessage::CauseNoDisc},
    {kNotReady, Asc::kNotReady, Ascq::kLongWriteInProgress, EngineMessage::CauseLongWrite},
    {kNotReady, kAny, kAny, EngineMessage::CauseNotReady},
    {kMediumError, Asc::kWriteError, kAny, EngineMessage::CauseWriteError},
    {kMediumError, Asc::kUnrecoveredReadError, kAny, EngineMessage::CauseReadError},
    {kMediumError, kAny, kAny, EngineMessage::CauseMediumError},
    {kHardwareError, kAny, kAny, EngineMessage::CauseHardwareError},
    {kIllegalRequest, Asc::kLbaOutOfRange, kAny, EngineMessage::CauseOutOfRange},
    {kIllegalRequest, Asc::kCommandSequenceError, kAny, EngineMessage::CauseSequenceError},
    {kIllegalRequest, Asc::kIncompatibleMedium, kAny, EngineMessage::CauseIncompatible},
    {kIllegalRequest, Asc::kIllegalModeForTrack, kAny, EngineMessage::CauseIllegalMode},
    {kIllegalRequest, kAny, kAny, EngineMessage::CauseIllegalRequest},
    {kUnitAttention, Asc::kMediumMayHaveChanged, kAny, EngineMessage::CauseMediumChanged},
    {kUnitAttention, Asc::kReset, kAny, EngineMessage::CauseReset},
    {kUnitAttention, kAny, kAny, EngineMessage::CauseUnitAttention},
    {kAbortedCommand, kAny, kAny, EngineMessage::CauseAborted},
}};

std::string CauseWords(std::int32_t status) {
    const clsSCSI* transport = Transport();
    if (status == ScsiStatus::kBusy) return Text(EngineMessage::CauseBusy);
    if (status != ScsiStatus::kCheckCondition || transport == nullptr)
        return Text(EngineMessage::CauseNoAnswer);
    const std::uint8_t key = transport->LastSK(), asc = transport->LastASC(),
                       ascq = transport->LastASCQ();
    for (const SenseWords& words : kSenseWords)
        if (words.key == key && (words.asc == kAny || words.asc == asc) &&
            (words.ascq == kAny || words.ascq == ascq))
            return Text(words.text);
    return Text(EngineMessage::CauseOther);
}
}  // namespace

std::string FailureCause(std::int32_t status) {
    return Text(EngineMessage::FailureCause, {CauseWords(status), FailureCode(status)});
}

std::string WriteFailureText(std::int32_t status, bool writeError, const std::string& slowText,
                             const std::string& writeErrorText) {
    if (!writeError && ClassifyFailure(status) != DriveFailure::Slow)
        return FailureText(status, true, slowText, writeErrorText);
    return (writeError ? writeErrorText : slowText) + "\n" + FailureCause(status);
}

std::string FailureText(std::int32_t status, bool write, const std::string& slowText,
                        const std::string& mediumErrorText) {
    const DriveFailure failure = ClassifyFailure(status);
    if (failure == DriveFailure::Slow) return slowText;
    const std::string own = OwnMessage(failure, write);
    return (own.empty() ? mediumErrorText : own) + " (" + FailureCode(status) + ")";
}
