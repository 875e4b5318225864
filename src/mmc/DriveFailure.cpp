#include "DriveFailure.h"

#include <array>
#include <cstdio>

#include "EnginesText.h"
#include "ScsiStatus.h"
#include "TransportSlot.h"

namespace {
constexpr std::uint8_t kNotReady = 0x02;
constexpr std::uint8_t kMediumError = 0x03;
constexpr std::uint8_t kIllegalRequest = 0x05;
constexpr std::uint8_t kAscBecomingReady = 0x04;
constexpr std::uint8_t kAscqLongWrite = 0x08;
constexpr std::uint8_t kAscNoMedium = 0x3A;
constexpr std::uint8_t kAscOutOfRange = 0x21;
constexpr std::uint8_t kAscIllegalMode = 0x64;
constexpr std::uint8_t kUnitAttention = 0x06;
constexpr std::uint8_t kAscMediumChanged = 0x28;
}  // namespace

DriveFailure ClassifyFailure(std::int32_t status) {
    const clsSCSI* transport = Transport();
    if (status != ScsiStatus::kCheckCondition || transport == nullptr) {
        return status == ScsiStatus::kBusy ? DriveFailure::Slow : DriveFailure::Other;
    }
    const std::uint8_t key = transport->LastSK(), asc = transport->LastASC();
    if (asc == kAscNoMedium) return DriveFailure::MediumRemoved;
    if (key == kUnitAttention && asc == kAscMediumChanged) return DriveFailure::MediumChanged;
    if (key == kNotReady && asc == kAscBecomingReady && transport->LastASCQ() == kAscqLongWrite)
        return DriveFailure::Slow;
    if (key == kNotReady) return DriveFailure::NotReady;
    if (key == kMediumError) return DriveFailure::MediumError;
    if (key == kIllegalRequest && asc == kAscOutOfRange) return DriveFailure::OutOfRange;
    if (key == kIllegalRequest && asc == kAscIllegalMode) return DriveFailure::IllegalMode;
    return key == 0 && asc == 0 ? DriveFailure::Slow : DriveFailure::Other;
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
            return EnginesText("MediumRemoved", "光碟已被取出。");
        case DriveFailure::MediumChanged:
            return EnginesText("MediumChanged", "光碟已被更换。");
        case DriveFailure::OutOfRange:
            return write ? EnginesText("DiscFull", "光碟已满：光碟机拒绝写入超出光碟末尾的区块。")
                         : EnginesText("ReadPastEnd", "光碟机拒绝读取超出光碟末尾的区块。");
        case DriveFailure::NotReady:
            return EnginesText("NotReady", "光碟机未就绪。");
        case DriveFailure::IllegalMode:
            return write ? EnginesText("WriteRefused", "光碟机拒绝了写入命令。")
                         : EnginesText("AudioAsData", "这张光碟含有音轨，无法作为数据复制。");
        case DriveFailure::Other:
            return write ? EnginesText("WriteRefused", "光碟机拒绝了写入命令。")
                         : EnginesText("ReadRefused", "光碟机拒绝了读取命令。");
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
    const char* textKey;
    const char* builtIn;
};
constexpr std::array<SenseWords, 16> kSenseWords = {{
    {kNotReady, kAscNoMedium, kAny, "CauseNoDisc", "光碟机中没有光碟"},
    {kNotReady, kAscBecomingReady, kAscqLongWrite, "CauseLongWrite", "长时间写入仍在进行"},
    {kNotReady, kAny, kAny, "CauseNotReady", "光碟机未就绪"},
    {kMediumError, 0x0C, kAny, "CauseWriteError", "写入错误"},
    {kMediumError, 0x11, kAny, "CauseReadError", "无法读取的区块"},
    {kMediumError, kAny, kAny, "CauseMediumError", "光碟介质错误"},
    {0x04, kAny, kAny, "CauseHardwareError", "光碟机硬件错误"},
    {kIllegalRequest, kAscOutOfRange, kAny, "CauseOutOfRange", "地址超出光碟范围"},
    {kIllegalRequest, 0x2C, kAny, "CauseSequenceError", "命令顺序错误"},
    {kIllegalRequest, 0x30, kAny, "CauseIncompatible", "光碟不兼容"},
    {kIllegalRequest, kAscIllegalMode, kAny, "CauseIllegalMode", "这条轨道不能以这种方式写入"},
    {kIllegalRequest, kAny, kAny, "CauseIllegalRequest", "光碟机不接受这个命令"},
    {0x06, 0x28, kAny, "CauseMediumChanged", "光碟可能已被更换"},
    {0x06, 0x29, kAny, "CauseReset", "光碟机已被重置"},
    {0x06, kAny, kAny, "CauseUnitAttention", "光碟机的状态已改变"},
    {0x0B, kAny, kAny, "CauseAborted", "命令被中止"},
}};

std::string CauseWords(std::int32_t status) {
    const clsSCSI* transport = Transport();
    if (status == ScsiStatus::kBusy) return EnginesText("CauseBusy", "光碟机忙");
    if (status != ScsiStatus::kCheckCondition || transport == nullptr)
        return EnginesText("CauseNoAnswer", "光碟机没有正常应答");
    const std::uint8_t key = transport->LastSK(), asc = transport->LastASC(),
                       ascq = transport->LastASCQ();
    for (const SenseWords& words : kSenseWords)
        if (words.key == key && (words.asc == kAny || words.asc == asc) &&
            (words.ascq == kAny || words.ascq == ascq))
            return EnginesText(words.textKey, words.builtIn);
    return EnginesText("CauseOther", "其他错误");
}
}  // namespace

std::string FailureCause(std::int32_t status) {
    return EnginesText("FailureCause", "光碟机报告的原因：%1（%2）。",
                       {CauseWords(status), FailureCode(status)});
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
