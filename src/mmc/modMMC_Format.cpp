// Formats of DVD+RW and BD-RE (READ FORMAT CAPACITIES, FORMAT UNIT) and the
// Blu-ray speed command (SET STREAMING).
#include <algorithm>
#include <optional>
#include <vector>

#include "ScsiStatus.h"
#include "Sleeper.h"
#include "modMMC.h"

namespace modMMC {

namespace {
constexpr std::uint8_t kOpFormatUnit = 0x04;
constexpr std::uint8_t kOpReadFormatCapacities = 0x23;
constexpr std::uint8_t kOpSetStreaming = 0xB6;
constexpr std::uint8_t kFullFormatPlusRw = 0x26;
constexpr std::uint8_t kBdDefault = 0x00;
constexpr std::uint8_t kBdWithSpares = 0x30;
// Format sub-types of type 30h (byte 4 bits 1-0).
constexpr std::uint8_t kQuickReformat = 0x00;
constexpr std::uint8_t kFullCertification = 0x02;
// A full certification of a 25 GB BD-RE takes about an hour and more on a
// slow drive; the wait allows four.
constexpr std::int32_t kFormatWaitMs = 4 * 3600 * 1000;
constexpr std::uint16_t kCapacityListBytes = 252;  // header + 31 descriptors

using Descriptor = std::array<std::uint8_t, 8>;

std::uint32_t Blocks(const std::uint8_t* descriptor) {
    return static_cast<std::uint32_t>(descriptor[0]) << 24 | descriptor[1] << 16 |
           descriptor[2] << 8 | descriptor[3];
}

// The capacity list: [0] the current/maximum descriptor, then the offers.
std::vector<Descriptor> CapacityList(const std::string& drive) {
    std::array<std::uint8_t, kCapacityListBytes> reply{};
    if (!ReadFormatCapacities(drive, reply.data(), reply.size())) return {};
    const std::size_t length = std::min<std::size_t>(reply[3], reply.size() - 4);
    std::vector<Descriptor> list;
    for (std::size_t at = 4; at + 8 <= 4 + length; at += 8) {
        Descriptor descriptor{};
        std::copy_n(reply.begin() + static_cast<std::ptrdiff_t>(at), 8, descriptor.begin());
        list.push_back(descriptor);
    }
    return list;
}

// The offer FORMAT UNIT gets for `style`: on DVD+RW the full format; on
// BD-RE the default format first, type 30h (sized as the current format
// where one is offered) for an erase.
std::optional<Descriptor> ChosenFormat(const std::vector<Descriptor>& list, std::int32_t media,
                                       FormatStyle style) {
    if (list.empty()) return std::nullopt;
    const bool bd = media == Media::kBDRE;
    const std::uint8_t type = !bd                           ? kFullFormatPlusRw
                              : style == FormatStyle::First ? kBdDefault
                                                            : kBdWithSpares;
    std::optional<Descriptor> chosen;
    for (std::size_t i = 1; i < list.size(); ++i) {
        if ((list[i][4] >> 2) != type) continue;
        if (!chosen || Blocks(list[i].data()) == Blocks(list[0].data())) chosen = list[i];
    }
    if (chosen && bd && style != FormatStyle::First)
        (*chosen)[4] = static_cast<std::uint8_t>(
            type << 2 | (style == FormatStyle::Full ? kFullCertification : kQuickReformat));
    return chosen;
}

bool FormattableMedia(std::int32_t media) {
    return media == Media::kDVDPlusRW || media == Media::kBDRE;
}

// Polls TEST UNIT READY until the format ends: not ready (02/04/04 "format
// in progress", 02/04/07) while it runs.
std::int32_t WaitFormatted(const std::string& drive) {
    constexpr int kPollMs = 1000;
    for (int waited = 0; waited < kFormatWaitMs; waited += kPollMs) {
        if (TestUnitReady(drive) == ScsiStatus::kGood) return ScsiStatus::kGood;
        SleepMilliseconds(kPollMs);
    }
    return ScsiStatus::kServiceFailure;
}
}  // namespace

std::int32_t SetStreaming(const std::string& drive, std::uint16_t readSpeed,
                          std::uint16_t writeSpeed, std::uint32_t endLba) {
    // Performance descriptor: sizes in kB per 1000 ms, so each speed in kB/s.
    std::array<std::uint8_t, 28> descriptor{};
    const auto put32 = [&descriptor](std::size_t at, std::uint32_t value) {
        for (std::size_t i = 0; i < 4; ++i)
            descriptor[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    };
    put32(8, endLba);
    put32(12, readSpeed);
    put32(16, 1000);
    put32(20, writeSpeed);
    put32(24, 1000);
    ScsiRequest request = detail::MakeRequest(kOpSetStreaming, 12, ScsiDirection::kOut, 5);
    request.CDB[10] = static_cast<std::uint8_t>(descriptor.size());  // bytes 9-10: list length
    return detail::Send(request, drive, descriptor.data(),
                        static_cast<std::int32_t>(descriptor.size()));
}

bool ReadFormatCapacities(const std::string& drive, void* buffer, std::uint16_t length) {
    ScsiRequest request = detail::MakeRequest(kOpReadFormatCapacities, 10, ScsiDirection::kIn, 5);
    request.CDB[7] = HiByte(length);  // bytes 7-8: allocation length
    request.CDB[8] = LoByte(length);
    return detail::Send(request, drive, buffer, length) == ScsiStatus::kGood;
}

std::int32_t FormatUnit(const std::string& drive, const Descriptor& descriptor) {
    // Format list header (FOV, Immed; one 8-byte descriptor), then the descriptor.
    std::array<std::uint8_t, 12> list{0x00, 0x82, 0x00, 0x08};
    std::copy(descriptor.begin(), descriptor.end(), list.begin() + 4);
    ScsiRequest request = detail::MakeRequest(kOpFormatUnit, 6, ScsiDirection::kOut, 60);
    request.CDB[1] = 0x11;  // FmtData, format code 001b
    return detail::Send(request, drive, list.data(), static_cast<std::int32_t>(list.size()));
}

bool NeedsFormat(const std::string& drive, std::int32_t media) {
    if (!FormattableMedia(media)) return false;
    const std::vector<Descriptor> list = CapacityList(drive);
    return !list.empty() && (list[0][4] & 0x03) == 0x01;  // descriptor type 01b: unformatted
}

std::int64_t FirstFormatBlocks(const std::string& drive, std::int32_t media) {
    if (!FormattableMedia(media)) return -1;
    const std::optional<Descriptor> chosen =
        ChosenFormat(CapacityList(drive), media, FormatStyle::First);
    return chosen ? std::int64_t{Blocks(chosen->data())} : -1;
}

std::int32_t FormatDisc(const std::string& drive, std::int32_t media, FormatStyle style) {
    if (!FormattableMedia(media)) return ScsiStatus::kServiceFailure;
    const std::optional<Descriptor> chosen = ChosenFormat(CapacityList(drive), media, style);
    if (!chosen) return ScsiStatus::kServiceFailure;
    const std::int32_t status = FormatUnit(drive, *chosen);
    return status == ScsiStatus::kGood ? WaitFormatted(drive) : status;
}

}  // namespace modMMC
