// Audio Session At Once on the virtual recorder: the cue sheet checks real
// recorders make, the recording from the first pre-gap, and the Q
// sub-channel that tells the index 0 and index 1 positions back.
#include <gtest/gtest.h>

#include <algorithm>

#include "CdTextPacks.h"
#include "VirtualDriveSession.h"

namespace {

constexpr std::uint8_t kSao = 2;

// Cue sheet entries (CTL/ADR, TNO, INDEX, DATA FORM, SCMS, M, S, F): the
// lead-in, track 1 from 00:00:00 (index 0) and 00:02:00 (index 1), track 2
// with a pause from 00:06:00 to 00:07:00, the lead-out at 00:12:00 (LBA 750).
std::vector<std::uint8_t> TwoTrackSheet() {
    return {0x01, 0x00, 0, 0x01, 0, 0, 0, 0, 0x01, 0x01, 0, 0, 0, 0, 0,  0,
            0x01, 0x01, 1, 0,    0, 0, 2, 0, 0x01, 0x02, 0, 0, 0, 0, 6,  0,
            0x01, 0x02, 1, 0,    0, 0, 7, 0, 0x01, 0xAA, 1, 1, 0, 0, 12, 0};
}

std::int32_t SendCueSheet(VirtualDriveSession& bench, std::vector<std::uint8_t> sheet) {
    const auto length = static_cast<std::uint8_t>(sheet.size());
    return bench.Exec({0x5D, 0, 0, 0, 0, 0, 0, 0, length, 0}, &sheet, true);
}

// READ CD of one sector at `lba` with the formatted Q sub-channel (byte 10
// = 010b) and, when `withData`, the sector's 2352 bytes before it.
std::vector<std::uint8_t> ReadQ(VirtualDriveSession& bench, std::int32_t lba,
                                bool withData = false) {
    const auto at = static_cast<std::uint32_t>(lba);
    std::vector<std::uint8_t> reply(withData ? 2352 + 16 : 16, 0xEE);
    const std::int32_t status =
        bench.Exec({0xBE, 0, std::uint8_t(at >> 24), std::uint8_t(at >> 16), std::uint8_t(at >> 8),
                    std::uint8_t(at), 0, 0, 1, std::uint8_t(withData ? 0x10 : 0), 0x02, 0},
                   &reply);
    if (status != 0) return {};
    return {reply.end() - 16, reply.end() - 6};  // CTL/ADR to the absolute frame
}

TEST(EmulatedSessionAtOnce, CueSheetsOutsideTheRedBookAreRefused) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR);
    ASSERT_EQ(bench.SetWriteParameters(kSao, 0, 0, false, 0), 0);
    std::vector<std::uint8_t> sheet = TwoTrackSheet();
    sheet[46] = 10, sheet[47] = 74;  // the lead-out at 00:10:74: track 2 holds 299 blocks
    EXPECT_EQ(SendCueSheet(bench, sheet), 2);
    EXPECT_EQ(bench.Sense(), "05/26/00");
    sheet = TwoTrackSheet();
    sheet[30] = 5;  // track 2's pause from 00:05:00: track 1 holds 225 blocks
    EXPECT_EQ(SendCueSheet(bench, sheet), 2);
    sheet = TwoTrackSheet();
    sheet[14] = 1;  // the first pre-gap from 00:01:00: 75 blocks
    EXPECT_EQ(SendCueSheet(bench, sheet), 2);
    EXPECT_EQ(bench.Sense(), "05/26/00");
    sheet = TwoTrackSheet();
    sheet[3] = 0x54;  // CD-TEXT in a lead-in of data blocks
    EXPECT_EQ(SendCueSheet(bench, sheet), 2);
    sheet[3] = 0x14;  // a data disc's lead-in, as cdrskin and xorriso send it
    EXPECT_EQ(SendCueSheet(bench, sheet), 0);
    EXPECT_EQ(SendCueSheet(bench, TwoTrackSheet()), 0);
}

TEST(EmulatedSessionAtOnce, TheQSubChannelTellsWhereEachIndexStarts) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR);
    ASSERT_EQ(bench.SetWriteParameters(kSao, 0, 0, false, 0), 0);
    ASSERT_EQ(SendCueSheet(bench, TwoTrackSheet()), 0);
    // Exactly the announced blocks, from the first pre-gap to the lead-out.
    const std::vector<std::uint8_t> sound(750 * 2352, 0x5A);
    EXPECT_EQ(bench.Write10(std::uint32_t(-150), 901, std::vector<std::uint8_t>(901 * 2352, 0)), 2)
        << "past the lead-out";
    ASSERT_EQ(bench.Write10(std::uint32_t(-150), 150, std::vector<std::uint8_t>(150 * 2352, 0)), 0);
    ASSERT_EQ(bench.Write10(0, 750, sound), 0) << bench.Sense();
    EXPECT_NE(bench.DiscInformation()[2] & 0x03, 2) << "not complete before the flush";
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    EXPECT_EQ(bench.DiscInformation()[2] & 0x03, 2) << "the lead-out closed the session";
    // Q: CTL/ADR, track, index, relative M S F, zero, absolute M S F (BCD).
    EXPECT_EQ(HexBytes(ReadQ(bench, -150)), "01 01 00 00 01 74 00 00 00 00") << "pre-gap start";
    EXPECT_EQ(HexBytes(ReadQ(bench, -1)), "01 01 00 00 00 00 00 00 01 74");
    EXPECT_EQ(HexBytes(ReadQ(bench, 0, true)), "01 01 01 00 00 00 00 00 02 00");
    EXPECT_EQ(HexBytes(ReadQ(bench, 299)), "01 01 01 00 03 74 00 00 05 74");
    EXPECT_EQ(HexBytes(ReadQ(bench, 300)), "01 02 00 00 00 74 00 00 06 00") << "track 2's pause";
    EXPECT_EQ(HexBytes(ReadQ(bench, 374)), "01 02 00 00 00 00 00 00 06 74");
    EXPECT_EQ(HexBytes(ReadQ(bench, 375, true)), "01 02 01 00 00 00 00 00 07 00");
    EXPECT_EQ(HexBytes(ReadQ(bench, 749)), "01 02 01 00 04 74 00 00 11 74");
    EXPECT_TRUE(ReadQ(bench, 750).empty()) << "the lead-out is not read";
    std::vector<std::uint8_t> q(16, 0);
    ASSERT_EQ(bench.Exec({0xBE, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0x02, 0}, &q), 0);
    EXPECT_EQ(HexBytes({q[10], q[11]}), "5A 28") << "the CRC of Q, inverted";
    EXPECT_EQ(bench.Exec({0xBE, 0, 0, 0, 0, 0, 0, 0, 1, 0x10, 0x04, 0}, &q), 2) << "cooked R-W";
}

// The ten Q bytes' CRC as ECMA-130 defines it, worked out bit by bit from
// the polynomial (x^16 + x^12 + x^5 + 1, no preset) and stored inverted.
std::uint16_t QCrc(const std::vector<std::uint8_t>& q) {
    std::uint32_t rest = 0;
    for (int bit = 0; bit < 80 + 16; ++bit) {
        const bool in = bit < 80 && ((q[static_cast<std::size_t>(bit / 8)] >> (7 - bit % 8)) & 1);
        rest = rest << 1 | (in ? 1 : 0);
        if ((rest & 0x10000) != 0) rest ^= 0x11021;
    }
    return static_cast<std::uint16_t>(~rest);
}

std::uint8_t Bcd(int value) {
    return static_cast<std::uint8_t>(value / 10 * 16 + value % 10);
}

// Every sector of the disc, read as cdrdao scans it (26 sectors a command)
// with the raw P-W and with the formatted Q: the same twelve Q bytes, a CRC
// that checks, index 0 with the relative time counting down to 00:00:00
// through each pause (the P channel set there), index 1 counting up from
// 00:00:00 at each track start, and the absolute time of the sector.
TEST(EmulatedSessionAtOnce, EverySectorsQChecksInBothForms) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR);
    ASSERT_EQ(bench.SetWriteParameters(kSao, 0, 0, false, 0), 0);
    ASSERT_EQ(SendCueSheet(bench, TwoTrackSheet()), 0);
    ASSERT_EQ(bench.Write10(std::uint32_t(-150), 150, std::vector<std::uint8_t>(150 * 2352, 0)), 0);
    ASSERT_EQ(bench.Write10(0, 750, std::vector<std::uint8_t>(750 * 2352, 0x33)), 0);
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    struct Span {
        int track, index, from, to;  // sectors [from, to)
    };
    const Span spans[] = {{1, 0, -150, 0}, {1, 1, 0, 300}, {2, 0, 300, 375}, {2, 1, 375, 750}};
    constexpr int kChunk = 26;
    for (const std::uint8_t mode : {std::uint8_t{0x01}, std::uint8_t{0x02}}) {
        const std::size_t sub = mode == 0x01 ? 96 : 16, sector = 2352 + sub;
        for (int first = -150; first < 750; first += kChunk) {
            const int count = std::min(kChunk, 750 - first);
            const auto at = static_cast<std::uint32_t>(first);
            std::vector<std::uint8_t> reply(static_cast<std::size_t>(count) * sector, 0xEE);
            ASSERT_EQ(bench.Exec({0xBE, 0, std::uint8_t(at >> 24), std::uint8_t(at >> 16),
                                  std::uint8_t(at >> 8), std::uint8_t(at), 0, 0,
                                  std::uint8_t(count), 0xF8, mode, 0},
                                 &reply),
                      0);
            for (int k = 0; k < count; ++k) {
                const int lba = first + k;
                SCOPED_TRACE("sector " + std::to_string(lba) + (mode == 1 ? " raw" : " formatted"));
                const std::uint8_t* bytes =
                    reply.data() + static_cast<std::size_t>(k) * sector + 2352;
                std::vector<std::uint8_t> q(12, 0);
                bool pBit = true;
                for (std::size_t i = 0; i < (mode == 1 ? 96U : 0U); ++i) {
                    q[i / 8] =
                        static_cast<std::uint8_t>(q[i / 8] | ((bytes[i] >> 6) & 1) << (7 - i % 8));
                    pBit = pBit && (bytes[i] & 0x80) != 0;
                    ASSERT_EQ(bytes[i] & 0x3F, 0) << "R-W";
                }
                if (mode == 2) q.assign(bytes, bytes + 12);
                const Span& span =
                    *std::find_if(std::begin(spans), std::end(spans),
                                  [&](const Span& s) { return lba >= s.from && lba < s.to; });
                const int relative = span.index == 0 ? span.to - 1 - lba : lba - span.from;
                const std::vector<std::uint8_t> want = {0x01,
                                                        Bcd(span.track),
                                                        Bcd(span.index),
                                                        Bcd(relative / 4500),
                                                        Bcd(relative / 75 % 60),
                                                        Bcd(relative % 75),
                                                        0,
                                                        Bcd((lba + 150) / 4500),
                                                        Bcd((lba + 150) / 75 % 60),
                                                        Bcd((lba + 150) % 75)};
                EXPECT_EQ(HexBytes({q.begin(), q.begin() + 10}), HexBytes(want));
                EXPECT_EQ(q[10] << 8 | q[11], QCrc(want));
                if (mode == 1) {
                    EXPECT_EQ(pBit, span.index == 0) << "P: set in a pause only";
                }
            }
        }
    }
}

// The sheet of TwoTrackSheet with the catalogue number (two ADR 2 entries
// before the lead-in), ISRCs (two ADR 3 entries before each track) and the
// lead-in's data form 41h: CD-TEXT in the lead-in.
std::vector<std::uint8_t> SheetWithCodes() {
    std::vector<std::uint8_t> sheet = {0x02, '4', '0', '0', '6', '3', '8', '1',
                                       0x02, '3', '3', '3', '9', '3', '1', 0};
    std::vector<std::uint8_t> times = TwoTrackSheet();
    times[3] = 0x41;
    const auto isrc = [](std::uint8_t track, const char* code) {
        std::vector<std::uint8_t> entries = {0x03, track, 0, 0, 0, 0, 0, 0,
                                             0x03, track, 0, 0, 0, 0, 0, 0};
        std::copy(code, code + 6, entries.begin() + 2);
        std::copy(code + 6, code + 12, entries.begin() + 10);
        return entries;
    };
    sheet.insert(sheet.end(), times.begin(), times.begin() + 8);  // the lead-in
    const std::vector<std::uint8_t> first = isrc(1, "DEA123400001");
    sheet.insert(sheet.end(), first.begin(), first.end());
    sheet.insert(sheet.end(), times.begin() + 8, times.begin() + 24);  // track 1
    const std::vector<std::uint8_t> second = isrc(2, "DEA123400002");
    sheet.insert(sheet.end(), second.begin(), second.end());
    sheet.insert(sheet.end(), times.begin() + 24, times.end());
    return sheet;
}

// Answers of READ SUB-CHANNEL (SubQ) of `format` for `track`: the code's bytes.
std::string SubChannelCode(VirtualDriveSession& bench, std::uint8_t format, std::uint8_t track) {
    std::vector<std::uint8_t> reply(24, 0);
    if (bench.Exec({0x42, 0, 0x40, format, 0, 0, track, 0, 24, 0}, &reply) != 0 ||
        (reply[8] & 0x80) == 0)
        return {};
    return {reply.begin() + 9, reply.begin() + (format == 2 ? 22 : 21)};
}

TEST(EmulatedSessionAtOnce, LeadInCdTextIsKeptAndReadBackWithTheCodes) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR);
    ASSERT_EQ(bench.SetWriteParameters(kSao, 0, 0, false, 0), 0);
    bench.Drive().Faults().noRwSubChannel = true;
    EXPECT_EQ(SendCueSheet(bench, SheetWithCodes()), 2) << "a drive without R-W writing";
    bench.Drive().Faults().noRwSubChannel = false;
    ASSERT_EQ(SendCueSheet(bench, SheetWithCodes()), 0) << bench.Sense();
    // ATIP: where the lead-in starts (97:27:66 here).
    std::vector<std::uint8_t> atip(28, 0);
    ASSERT_EQ(bench.Exec({0x43, 0, 0x04, 0, 0, 0, 0, 0, 28, 0}, &atip), 0);
    const std::int64_t leadIn = (atip[8] * 60 + atip[9]) * 75 + atip[10] - 450150;
    EXPECT_EQ(bench.Write10(std::uint32_t(-150), 150, std::vector<std::uint8_t>(150 * 2352, 0)), 2)
        << "the lead-in comes first";
    CdText text;
    text.disc = {"Album", "Maple", ""};
    text.tracks = {{"One", "", "Writer"}, {"Two", "", ""}};
    const std::vector<CdTextPacks::Pack> packs = CdTextPacks::Encode(text).packs;
    // The packs in cycles, four to a 96-byte block, to LBA -150.
    for (std::int64_t lba = leadIn, pack = 0; lba < -150;) {
        const auto count = static_cast<std::uint16_t>(std::min<std::int64_t>(64, -150 - lba));
        std::vector<std::uint8_t> blocks(count * 96u);
        for (std::size_t at = 0; at < blocks.size(); at += CdTextPacks::kSpreadBytes, ++pack)
            CdTextPacks::Spread(packs[static_cast<std::size_t>(pack) % packs.size()], &blocks[at]);
        ASSERT_EQ(bench.Write10(static_cast<std::uint32_t>(lba), count, blocks), 0)
            << bench.Sense();
        lba += count;
    }
    ASSERT_EQ(bench.Write10(std::uint32_t(-150), 150, std::vector<std::uint8_t>(150 * 2352, 0)), 0);
    ASSERT_EQ(bench.Write10(0, 750, std::vector<std::uint8_t>(750 * 2352, 0)), 0);
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    std::vector<std::uint8_t> answer(4 + 256 * 18, 0);
    ASSERT_EQ(bench.Exec({0x43, 0, 0x05, 0, 0, 0, 0, 0x12, 0x04, 0}, &answer), 0);
    const std::size_t length = (answer[0] << 8 | answer[1]) + 2u;
    EXPECT_EQ(length, 4 + packs.size() * 18) << "one cycle of packs";
    EXPECT_EQ(CdTextPacks::Decode(answer.data(), length).text, text);
    EXPECT_EQ(SubChannelCode(bench, 2, 0), "4006381333931");
    EXPECT_EQ(SubChannelCode(bench, 3, 2), "DEA123400002");
    // All of it stays with the disc.
    bench.Reopen();
    answer.assign(answer.size(), 0);
    ASSERT_EQ(bench.Exec({0x43, 0, 0x05, 0, 0, 0, 0, 0x12, 0x04, 0}, &answer), 0);
    EXPECT_EQ(CdTextPacks::Decode(answer.data(), answer.size()).text, text);
    EXPECT_EQ(SubChannelCode(bench, 3, 1), "DEA123400001");
}

}  // namespace
