#include "DriveFailure.h"

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

std::string FailureText(std::int32_t status, bool write, const std::string& slowText,
                        const std::string& mediumErrorText) {
    const DriveFailure failure = ClassifyFailure(status);
    if (failure == DriveFailure::Slow) return slowText;
    const std::string own = OwnMessage(failure, write);
    return (own.empty() ? mediumErrorText : own) + " (" + FailureCode(status) + ")";
}
