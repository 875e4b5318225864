#include "IsoFields.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <vector>

#include "NameText.h"
#include "UnicodeText.h"

namespace IsoFields {

void PutLittleEndian16(std::span<std::uint8_t> at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutBigEndian16(std::span<std::uint8_t> at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value >> 8);
    at[1] = static_cast<std::uint8_t>(value);
}

void PutLittleEndian32(std::span<std::uint8_t> at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutBigEndian32(std::span<std::uint8_t> at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

void PutBothEndian16(std::span<std::uint8_t> at, std::uint16_t value) {
    PutLittleEndian16(at, value);
    PutBigEndian16(at.subspan(2), value);
}

void PutBothEndian32(std::span<std::uint8_t> at, std::uint32_t value) {
    PutLittleEndian32(at, value);
    PutBigEndian32(at.subspan(4), value);
}

void PutIsoText(std::span<std::uint8_t> at, std::string_view text) {
    std::fill(at.begin(), at.end(), std::uint8_t{0x20});
    const std::string ascii = NameText::PrintableAscii(text);
    std::copy_n(ascii.begin(),
                std::min<std::size_t>(at.size(), static_cast<std::size_t>(ascii.size())),
                at.begin());
}

namespace {
// Little-endian UTF-16 bytes of `text`, padded with spaces (20h 00h) up to
// `width` bytes, pair-swapped to big-endian, last written byte 00h.
void PutUcs2(std::span<std::uint8_t> at, std::vector<std::uint8_t> bytes) {
    const std::size_t width = at.size();
    while (bytes.size() < width + 1) {
        bytes.push_back(0x20);
        bytes.push_back(0x00);
    }
    const std::size_t written = (width + 1) / 2 * 2;
    for (std::size_t i = 0; i + 1 < written; i += 2) std::swap(bytes[i], bytes[i + 1]);
    bytes[written - 1] = 0x00;
    std::copy_n(bytes.begin(), width, at.begin());
}

std::vector<std::uint8_t> Utf16LittleEndian(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    for (const char16_t unit : UnicodeText::Utf8ToUtf16(text)) {
        bytes.push_back(static_cast<std::uint8_t>(unit));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

bool IsAChar(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u' ' || c == u'!' || c == u'"' || (c >= 0x26 && c <= 0x2F) ||
           (c >= 0x3A && c <= 0x3F) || c == u'_';
}

bool IsDChar(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'.' || c == u'_';
}

std::string Filter(std::string ascii, bool (*allowed)(char16_t)) {
    for (char& c : ascii)
        if (!allowed(static_cast<unsigned char>(c))) c = '_';
    return ascii;
}
}  // namespace

void PutJolietText(std::span<std::uint8_t> at, std::string_view text) {
    PutUcs2(at, Utf16LittleEndian(text));
}

void PutJolietVolumeId(std::span<std::uint8_t> at, std::string_view text) {
    std::vector<std::uint8_t> bytes = Utf16LittleEndian(text);
    if (!bytes.empty()) bytes.push_back(0x00);
    PutUcs2(at, std::move(bytes));
}

void PutRecordingDate(std::span<std::uint8_t> at, const LocalDateTime& date) {
    assert(at.size() == 7);
    std::fill(at.begin(), at.end(), std::uint8_t{0});
    if (date.year < 1900 || date.year > 2155) return;
    const int fields[] = {date.year - 1900, date.month,  date.day,
                          date.hour,        date.minute, date.second};
    for (std::size_t i = 0; i < 6; ++i) at[i] = static_cast<std::uint8_t>(fields[i]);
    at[6] = static_cast<std::uint8_t>(static_cast<std::int8_t>(date.UtcOffsetQuarterHours()));
}

void PutVolumeDate(std::span<std::uint8_t> at, const LocalDateTime& date) {
    assert(at.size() == 17);
    char digits[32];
    if (date.IsZero()) {
        std::snprintf(digits, sizeof digits, "%s", "0000000000000000");
    } else {
        std::snprintf(digits, sizeof digits, "%04d%02d%02d%02d%02d%02d00", date.year % 10000,
                      date.month, date.day, date.hour, date.minute, date.second);
    }
    std::copy_n(digits, 16, at.begin());
    at[16] = static_cast<std::uint8_t>(static_cast<std::int8_t>(date.UtcOffsetQuarterHours()));
}

std::string DFilter(std::string_view text) {
    std::string spaced = NameText::PrintableAscii(text);
    std::replace(spaced.begin(), spaced.end(), ' ', '_');
    return Filter(NameText::AsciiUpper(std::move(spaced)), IsDChar);
}

std::string AFilter(std::string_view text) {
    return Filter(NameText::PrintableAscii(text), IsAChar);
}

}  // namespace IsoFields
