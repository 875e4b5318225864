#include "CdTextPacks.h"

#include <algorithm>
#include <map>

#include "UnicodeText.h"

namespace {
constexpr std::uint8_t kTitle = 0x80, kPerformer = 0x81, kSongwriter = 0x82, kSizeInfo = 0x8F;
constexpr std::uint8_t kLatin1 = 0x00, kAscii = 0x01, kEnglish = 0x09;
constexpr std::size_t kPayload = 12, kLastTrack = 99;

std::string CdText::Texts::*FieldOf(std::uint8_t type) {
    switch (type) {
        case kTitle:
            return &CdText::Texts::title;
        case kPerformer:
            return &CdText::Texts::performer;
        default:
            return &CdText::Texts::songwriter;
    }
}

// `utf8` in ISO 8859-1; a character it cannot hold, or a control character
// (a lone TAB means "as the previous track"), becomes "?".
std::string Latin1(const std::string& utf8, bool& replaced) {
    const std::u16string units = UnicodeText::Utf8ToUtf16(utf8);
    std::string out;
    for (std::size_t at = 0; at < units.size();) {
        const char32_t c = UnicodeText::NextCodePoint(units, at);
        const bool fits = c <= 0xFF && c >= 0x20 && (c < 0x7F || c > 0x9F);
        replaced = replaced || !fits;
        out += fits ? static_cast<char>(c) : '?';
    }
    return out;
}

std::string Utf8(const std::string& latin1) {
    std::u16string units;
    for (const char c : latin1) units += static_cast<char16_t>(static_cast<unsigned char>(c));
    return UnicodeText::Utf16ToUtf8(units);
}

// One byte of a text stream and where it lies: the track and the byte's
// position in that track's text.
struct StreamByte {
    std::uint8_t value, track;
    std::size_t position;
};

void AddTextPacks(std::uint8_t type, const std::vector<std::string>& texts,
                  std::vector<CdTextPacks::Pack>& packs) {
    std::vector<StreamByte> stream;
    for (std::size_t track = 0; track < texts.size(); ++track) {
        const std::string& text = texts[track];
        for (std::size_t at = 0; at <= text.size(); ++at)  // the NUL too
            stream.push_back(
                {at < text.size() ? static_cast<std::uint8_t>(text[at]) : std::uint8_t{0},
                 static_cast<std::uint8_t>(track), at});
    }
    for (std::size_t from = 0; from < stream.size(); from += kPayload) {
        CdTextPacks::Pack pack{};
        pack[0] = type;
        pack[1] = stream[from].track;
        pack[2] = static_cast<std::uint8_t>(packs.size());
        pack[3] = static_cast<std::uint8_t>(std::min<std::size_t>(stream[from].position, 15));
        for (std::size_t i = 0; i < kPayload && from + i < stream.size(); ++i)
            pack[4 + i] = stream[from + i].value;
        packs.push_back(pack);
    }
}

// The three 8Fh packs: character code, first and last track, pack counts
// per type, the last sequence number and language of each block.
void AddSizeInformation(std::size_t trackCount, std::vector<CdTextPacks::Pack>& packs) {
    std::array<std::uint8_t, 3 * kPayload> info{};
    info[0] = kLatin1;
    info[1] = 1;
    info[2] = static_cast<std::uint8_t>(trackCount);
    for (const CdTextPacks::Pack& pack : packs) ++info[4 + (pack[0] & 0x0F)];
    info[4 + (kSizeInfo & 0x0F)] = 3;
    info[20] = static_cast<std::uint8_t>(packs.size() + 2);  // block 0's last sequence number
    info[28] = kEnglish;
    for (std::uint8_t part = 0; part < 3; ++part) {
        CdTextPacks::Pack pack{};
        pack[0] = kSizeInfo;
        pack[1] = part;
        pack[2] = static_cast<std::uint8_t>(packs.size());
        std::copy_n(info.begin() + part * kPayload, kPayload, pack.begin() + 4);
        packs.push_back(pack);
    }
}
}  // namespace

std::uint16_t CdTextPacks::Crc(const Pack& pack) {
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < 16; ++i) {
        crc ^= static_cast<std::uint16_t>(pack[i] << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 0x8000) != 0 ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return static_cast<std::uint16_t>(~crc);
}

void CdTextPacks::Spread(const Pack& pack, std::uint8_t* out) {
    for (std::size_t group = 0; group < kPackBytes / 3; ++group) {
        const std::uint32_t bits = (std::uint32_t{pack[group * 3]} << 16) |
                                   (std::uint32_t{pack[group * 3 + 1]} << 8) | pack[group * 3 + 2];
        for (std::size_t i = 0; i < 4; ++i)
            out[group * 4 + i] = static_cast<std::uint8_t>((bits >> (18 - 6 * i)) & 0x3F);
    }
}

void CdTextPacks::SetCrc(Pack& pack) {
    const std::uint16_t crc = Crc(pack);
    pack[16] = static_cast<std::uint8_t>(crc >> 8);
    pack[17] = static_cast<std::uint8_t>(crc & 0xFF);
}

bool CdTextPacks::CrcMatches(const Pack& pack) {
    return Crc(pack) == ((pack[16] << 8) | pack[17]);
}

CdTextPacks::Encoded CdTextPacks::Encode(const CdText& text) {
    Encoded encoded;
    if (text.Empty() || text.tracks.empty() || text.tracks.size() > kLastTrack) return encoded;
    for (const std::uint8_t type : {kTitle, kPerformer, kSongwriter}) {
        const auto field = FieldOf(type);
        std::vector<std::string> texts;
        bool any = false;
        for (std::size_t track = 0; track <= text.tracks.size(); ++track) {
            const std::string& utf8 = track == 0 ? text.disc.*field : text.tracks[track - 1].*field;
            bool replaced = false;
            texts.push_back(Latin1(utf8, replaced));
            if (replaced) encoded.replaced.push_back(utf8);
            any = any || !utf8.empty();
        }
        if (any) AddTextPacks(type, texts, encoded.packs);
    }
    AddSizeInformation(text.tracks.size(), encoded.packs);
    encoded.tooLong = encoded.packs.size() > kMostPacks;
    if (encoded.tooLong) encoded.packs.clear();
    for (Pack& pack : encoded.packs) SetCrc(pack);
    return encoded;
}

namespace {
// The texts of one pack type, pack by pack: a pack whose character position
// is 0 starts its track's text afresh, so a lost pack spoils one text only.
std::map<std::size_t, std::string> TextsOf(const std::vector<CdTextPacks::Pack>& packs) {
    std::map<std::size_t, std::string> texts, partial;
    for (const CdTextPacks::Pack& pack : packs) {
        std::size_t track = pack[1];
        if ((pack[3] & 0x0F) == 0) partial[track].clear();
        for (std::size_t i = 4; i < 4 + kPayload && track <= kLastTrack; ++i) {
            if (pack[i] != 0) {
                partial[track] += static_cast<char>(pack[i]);
                continue;
            }
            texts[track] = partial[track];
            partial.erase(track++);
        }
    }
    return texts;
}
}  // namespace

CdTextPacks::Decoded CdTextPacks::Decode(const std::uint8_t* answer, std::size_t length) {
    if (length < 4) return {};
    const std::size_t stated = static_cast<std::size_t>((answer[0] << 8) | answer[1]) + 2;
    return DecodePacks(answer + 4, std::max<std::size_t>(std::min(length, stated), 4) - 4);
}

CdTextPacks::Decoded CdTextPacks::DecodePacks(const std::uint8_t* packs, std::size_t length) {
    Decoded decoded;
    std::map<std::uint8_t, std::vector<Pack>> byType;
    for (std::size_t index = 0; index < length / kPackBytes; ++index) {
        Pack pack;
        std::copy_n(packs + index * kPackBytes, kPackBytes, pack.begin());
        if (!CrcMatches(pack)) {
            ++decoded.badPacks;
            continue;
        }
        if ((pack[3] & 0xF0) == 0) byType[pack[0]].push_back(pack);  // block 0, single-byte
    }
    const std::vector<Pack>& size = byType[kSizeInfo];
    const auto first =
        std::find_if(size.begin(), size.end(), [](const Pack& pack) { return pack[1] == 0; });
    const std::uint8_t code = first == size.end() ? kLatin1 : (*first)[4];
    std::size_t lastTrack =
        first == size.end() ? 0 : std::min<std::size_t>((*first)[6], kLastTrack);
    decoded.readable =
        (code == kLatin1 || code == kAscii) &&
        (byType.count(kTitle) + byType.count(kPerformer) + byType.count(kSongwriter)) > 0;
    if (!decoded.readable) return decoded;
    std::map<std::uint8_t, std::map<std::size_t, std::string>> texts;
    for (const std::uint8_t type : {kTitle, kPerformer, kSongwriter}) {
        texts[type] = TextsOf(byType[type]);
        if (!texts[type].empty() && first == size.end())
            lastTrack = std::max(lastTrack, texts[type].rbegin()->first);
    }
    decoded.text.tracks.resize(lastTrack);
    for (auto& [type, byTrack] : texts) {
        const auto field = FieldOf(type);
        std::string previous;
        for (std::size_t track = 0; track <= lastTrack; ++track) {
            const auto found = byTrack.find(track);
            std::string text = found == byTrack.end() ? std::string() : found->second;
            if (text == "\t") text = previous;  // "as the previous track"
            previous = text;
            (track == 0 ? decoded.text.disc : decoded.text.tracks[track - 1]).*field = Utf8(text);
        }
    }
    return decoded;
}
