// CD-TEXT packs: the encoder's pack sequence, the decoder of READ TOC
// format 0101b answers, and what happens to texts ISO 8859-1 cannot hold.
#include <gtest/gtest.h>

#include "CdTextPacks.h"

namespace {

std::string Hex(const CdTextPacks::Pack& pack) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const std::uint8_t byte : pack) text += {kDigits[byte >> 4], kDigits[byte & 15]};
    return text;
}

std::vector<std::uint8_t> Answer(const std::vector<CdTextPacks::Pack>& packs) {
    std::vector<std::uint8_t> answer(4, 0);
    for (const CdTextPacks::Pack& pack : packs)
        answer.insert(answer.end(), pack.begin(), pack.end());
    answer[0] = static_cast<std::uint8_t>((answer.size() - 2) >> 8);
    answer[1] = static_cast<std::uint8_t>(answer.size() - 2);
    return answer;
}

CdText TwoTracks() {
    CdText text;
    text.disc = {"Album", "Maple", ""};
    text.tracks = {{"One", "A", ""}, {"Twelve chars", "B", ""}};
    return text;
}

// The packs worked out by hand from the layout (type, track of the first
// character, sequence number, character position, 12 bytes, CRC); the CRCs
// come from Python's binascii.crc_hqx(pack[:16], 0) ^ 0xFFFF, an
// implementation of CRC-16/CCITT of its own.
TEST(CdTextPacks, TitlesPerformersAndSizeInformationAsTheLeadInCarriesThem) {
    const CdTextPacks::Encoded encoded = CdTextPacks::Encode(TwoTracks());
    const std::vector<std::string> expected = {
        "80000000416C62756D004F6E65005477F670",  // "Album", "One", "Tw"
        "80020102656C766520636861727300001762",  // track 2 from its third character
        "810002004D61706C6500410042000000AC31",  // performers, padded with zeros
        "8F0003000001020002010000000000003233",  // ISO 8859-1, tracks 1-2, 2 + 1 packs
        "8F0104000000000000000003050000008F5A",  // 3 size packs, last sequence number 5
        "8F0205000000000009000000000000001C80",  // block 0 in English
    };
    ASSERT_EQ(encoded.packs.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(Hex(encoded.packs[i]), expected[i]);
    EXPECT_TRUE(encoded.replaced.empty());
    // Six bits a byte over the lead-in: 80 00 00 -> 20 00 00 00, 00 41 6C -> 00 04 05 2C.
    std::uint8_t spread[CdTextPacks::kSpreadBytes];
    CdTextPacks::Spread(encoded.packs[0], spread);
    EXPECT_EQ(std::vector<std::uint8_t>(spread, spread + 8),
              (std::vector<std::uint8_t>{0x20, 0, 0, 0, 0x00, 0x04, 0x05, 0x2C}));

    const std::vector<std::uint8_t> answer = Answer(encoded.packs);
    const CdTextPacks::Decoded decoded = CdTextPacks::Decode(answer.data(), answer.size());
    EXPECT_TRUE(decoded.readable);
    EXPECT_EQ(decoded.badPacks, 0);
    EXPECT_EQ(decoded.text, TwoTracks());
}

TEST(CdTextPacks, CharactersOutsideIso8859OneBecomeQuestionMarksAndAreListed) {
    CdText text = TwoTracks();
    text.disc.title = "Café 咖啡";  // é is in ISO 8859-1, the Chinese characters are not
    text.tracks[1].songwriter = "Tab\there";
    const CdTextPacks::Encoded encoded = CdTextPacks::Encode(text);
    EXPECT_EQ(encoded.replaced, (std::vector<std::string>{"Café 咖啡", "Tab\there"}));
    const std::vector<std::uint8_t> answer = Answer(encoded.packs);
    const CdText decoded = CdTextPacks::Decode(answer.data(), answer.size()).text;
    EXPECT_EQ(decoded.disc.title, "Café ??");
    EXPECT_EQ(decoded.tracks[1].songwriter, "Tab?here");
    EXPECT_EQ(decoded.tracks[0].songwriter, "");
}

TEST(CdTextPacks, APackWithAWrongCrcSpoilsOnlyItsOwnTexts) {
    std::vector<CdTextPacks::Pack> packs = CdTextPacks::Encode(TwoTracks()).packs;
    packs[2][5] ^= 0x01;  // the performers' pack
    std::vector<std::uint8_t> answer = Answer(packs);
    CdTextPacks::Decoded decoded = CdTextPacks::Decode(answer.data(), answer.size());
    EXPECT_EQ(decoded.badPacks, 1);
    EXPECT_EQ(decoded.text.disc.title, "Album");
    EXPECT_EQ(decoded.text.tracks[1].title, "Twelve chars");
    EXPECT_EQ(decoded.text.disc.performer, "");
    // A lone TAB stands for the previous track's text; the answer's length
    // field, not the buffer, says where the packs end.
    packs = CdTextPacks::Encode(TwoTracks()).packs;
    packs[2] = {0x81, 0, 2, 0, 'M', 0, 'X', 0, '\t', 0, 0, 0, 0, 0, 0, 0, 0, 0};
    CdTextPacks::SetCrc(packs[2]);
    answer = Answer(packs);
    answer.resize(answer.size() + 40, 0xFF);
    decoded = CdTextPacks::Decode(answer.data(), answer.size());
    EXPECT_EQ(decoded.badPacks, 0);
    EXPECT_EQ(decoded.text.tracks[1].performer, "X");
}

TEST(CdTextPacks, MoreThanOneBlockOfPacksIsRefusedWhole) {
    CdText text;
    text.tracks.assign(99, {std::string(40, 'x'), "", ""});
    const CdTextPacks::Encoded encoded = CdTextPacks::Encode(text);
    EXPECT_TRUE(encoded.tooLong);
    EXPECT_TRUE(encoded.packs.empty());
    EXPECT_TRUE(CdTextPacks::Encode(CdText{}).packs.empty()) << "no text, no packs";
}

}  // namespace
