// libFuzzer target: the CD-TEXT decoder of READ TOC format 0101b answers.
// Any bytes decode without reading past the answer; the result has at most
// 99 tracks and valid UTF-8; a decoded text the encoder can write (no
// control characters, within one block) decodes again to the same texts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "CdTextPacks.h"
#include "UnicodeText.h"

namespace {
bool Writable(const CdText::Texts& texts) {
    for (const std::string* text : {&texts.title, &texts.performer, &texts.songwriter}) {
        if (UnicodeText::ValidUtf8(*text) != *text) std::abort();
        for (const char c : *text)
            if (static_cast<unsigned char>(c) < 0x20) return false;
        const std::u16string units = UnicodeText::Utf8ToUtf16(*text);
        for (const char16_t unit : units)
            if (unit >= 0x7F && unit <= 0x9F) return false;
    }
    return true;
}

void Check(const std::uint8_t* data, std::size_t size) {
    const CdTextPacks::Decoded decoded = CdTextPacks::Decode(data, size);
    const CdText& text = decoded.text;
    if (text.tracks.size() > 99 || decoded.badPacks < 0 ||
        static_cast<std::size_t>(decoded.badPacks) * CdTextPacks::kPackBytes > size)
        std::abort();
    bool writable = Writable(text.disc) && !text.tracks.empty() && !text.Empty();
    for (const CdText::Texts& track : text.tracks) writable = Writable(track) && writable;
    if (!writable) return;
    const CdTextPacks::Encoded encoded = CdTextPacks::Encode(text);
    if (encoded.tooLong) return;
    if (!encoded.replaced.empty()) std::abort();
    std::vector<std::uint8_t> answer(4, 0);
    for (const CdTextPacks::Pack& pack : encoded.packs)
        answer.insert(answer.end(), pack.begin(), pack.end());
    answer[0] = static_cast<std::uint8_t>((answer.size() - 2) >> 8);
    answer[1] = static_cast<std::uint8_t>(answer.size() - 2);
    const CdTextPacks::Decoded again = CdTextPacks::Decode(answer.data(), answer.size());
    if (!(again.text == text) || again.badPacks != 0) std::abort();
}
}  // namespace

// The input as it is, and with every pack's CRC made right, so that the
// decoding behind the CRC check is explored too.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Check(data, size);
    std::vector<std::uint8_t> repaired(data, data + size);
    for (std::size_t at = 4; at + CdTextPacks::kPackBytes <= size; at += CdTextPacks::kPackBytes) {
        CdTextPacks::Pack pack;
        std::copy_n(repaired.begin() + static_cast<std::ptrdiff_t>(at), pack.size(), pack.begin());
        CdTextPacks::SetCrc(pack);
        std::copy(pack.begin(), pack.end(), repaired.begin() + static_cast<std::ptrdiff_t>(at));
    }
    Check(repaired.data(), repaired.size());
    return 0;
}
