// What a Disc-At-Once audio CD carries besides its sound: the lead-in's
// start for CD-TEXT, the CD-TEXT read back, the catalogue number and ISRCs.
#include "ScsiStatus.h"
#include "modMMC.h"

namespace modMMC {

namespace {
constexpr std::uint8_t kFormatAtip = 0x04, kFormatCdText = 0x05;

bool ReadTocFormat(const std::string& drive, std::uint8_t format, std::uint8_t* buffer,
                   std::uint16_t length) {
    ScsiRequest request = detail::MakeRequest(kOpReadToc, 10, ScsiDirection::kIn, 10);
    request.CDB[2] = format;
    request.CDB[7] = HiByte(length);  // bytes 7-8: allocation length
    request.CDB[8] = LoByte(length);
    return detail::Send(request, drive, buffer, length) == ScsiStatus::kGood;
}

// READ SUB-CHANNEL with SubQ set: the 24-byte answer of `format` (02h
// catalogue number, 03h ISRC), its code at bytes 9 on when valid (byte 8 bit 7).
std::string ReadCode(const std::string& drive, std::uint8_t format, std::uint8_t track,
                     std::size_t characters) {
    std::array<std::uint8_t, 24> reply{};
    ScsiRequest request = detail::MakeRequest(kOpReadSubChannel, 10, ScsiDirection::kIn, 10);
    request.CDB[2] = 0x40;  // SubQ
    request.CDB[3] = format;
    request.CDB[6] = track;
    request.CDB[8] = static_cast<std::uint8_t>(reply.size());
    if (detail::Send(request, drive, reply.data(), reply.size()) != ScsiStatus::kGood ||
        reply[4] != format || (reply[8] & 0x80) == 0)
        return {};
    std::string code(reply.begin() + 9,
                     reply.begin() + 9 + static_cast<std::ptrdiff_t>(characters));
    for (const char c : code)
        if (c < '0' || c > 'Z' || (c > '9' && c < 'A')) return {};
    return code;
}
}  // namespace

std::int64_t ReadLeadInStart(const std::string& drive) {
    std::array<std::uint8_t, 28> atip{};
    if (!ReadTocFormat(drive, kFormatAtip, atip.data(), atip.size())) return 0;
    // Bytes 8-10: the lead-in start as minute, second, frame; minutes from 90
    // on count back from 00:00:00.
    const std::int64_t frames = (std::int64_t{atip[8]} * 60 + atip[9]) * 75 + atip[10];
    return atip[8] >= 90 ? frames - 450150 : 0;
}

bool ReadCdTextPacks(const std::string& drive, std::vector<std::uint8_t>& answer) {
    constexpr std::uint16_t kMost = 4 + 256 * 18;  // header and one block of packs
    answer.assign(kMost, 0);
    if (!ReadTocFormat(drive, kFormatCdText, answer.data(), kMost)) {
        answer.clear();
        return false;
    }
    answer.resize(std::min<std::size_t>(kMost, 2 + ((answer[0] << 8) | answer[1])));
    return true;
}

std::string ReadCatalogueNumber(const std::string& drive) {
    return ReadCode(drive, 0x02, 0, 13);
}

std::string ReadIsrc(const std::string& drive, std::uint8_t track) {
    return ReadCode(drive, 0x03, track, 12);
}

}  // namespace modMMC
