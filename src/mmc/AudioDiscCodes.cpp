#include "AudioDiscCodes.h"

#include <algorithm>
#include <array>

#include "modMMC.h"

AudioDiscCodes AudioDiscCodes::Read(const std::string& drive) {
    AudioDiscCodes codes;
    std::array<std::uint8_t, 4 + 100 * 8> toc{};  // the header and up to 99 tracks and the lead-out
    if (!modMMC::ReadToc(drive, toc.data(), static_cast<std::uint16_t>(toc.size()))) return codes;
    const int length = toc[0] << 8 | toc[1];  // bytes after the length field
    const std::size_t descriptors =
        length >= 2 ? std::min<std::size_t>(static_cast<std::size_t>(length - 2) / 8, 100) : 0;
    bool audio = false;  // a disc without audio tracks (a DVD ...) is not asked
    for (std::size_t index = 0; index < descriptors; ++index) {
        const std::uint8_t* descriptor = toc.data() + 4 + index * 8;
        const std::uint8_t number = descriptor[2];
        if (number < 1 || number > 99 || (descriptor[1] & 0x04) != 0) continue;
        audio = true;
        if (codes.isrcs.size() < number) codes.isrcs.resize(number);
        codes.isrcs[number - 1U] = modMMC::ReadIsrc(drive, number);
    }
    if (!audio) return codes;
    std::vector<std::uint8_t> answer;
    if (modMMC::ReadCdTextPacks(drive, answer))
        codes.cdText = CdTextPacks::Decode(answer.data(), answer.size());
    codes.catalogue = modMMC::ReadCatalogueNumber(drive);
    return codes;
}
