// Cue sheets laid out as a Disc-At-Once CD: the index points, gaps and flags
// of a sheet as the drive's cue sheet announces them, which the virtual
// drive does not keep (flags, index 2 and later).
#include <gtest/gtest.h>

#include "AudioCueSheet.h"
#include "CueSheetDisc.h"
#include "CueSheetReader.h"

namespace {

constexpr std::int64_t kSector = 2352;

// The 8-byte entries of a cue sheet, CTL/ADR, track, index and LBA of each.
struct Entry {
    int ctlAdr, track, index;
    std::int64_t lba;
    bool operator==(const Entry&) const = default;
};
std::vector<Entry> Entries(const std::vector<std::uint8_t>& sheet) {
    std::vector<Entry> entries;
    for (std::size_t at = 0; at + 8 <= sheet.size(); at += 8)
        if ((sheet[at] & 0x0F) == 1)
            entries.push_back({sheet[at], sheet[at + 1], sheet[at + 2],
                               (sheet[at + 5] * 60 + sheet[at + 6]) * 75 + sheet[at + 7] - 150});
    return entries;
}

TEST(CueSheet, IndexPointsGapsAndFlagsReachTheDrivesCueSheet) {
    // ISO 8859-1 text (é), a byte-order mark and CRLF lines, as old rippers write them.
    const std::string text =
        "\xEF\xBB\xBFPERFORMER \"Caf\xE9\"\r\n"
        "FILE \"album.wav\" WAVE\r\n"
        "  TRACK 01 AUDIO\r\n"
        "    INDEX 01 00:01:00\r\n"
        "  TRACK 02 AUDIO\r\n"
        "    FLAGS DCP PRE\r\n"
        "    PREGAP 00:00:10\r\n"
        "    INDEX 00 00:06:00\r\n"
        "    INDEX 01 00:08:00\r\n"
        "    INDEX 02 00:10:00\r\n"
        "    POSTGAP 00:00:20\r\n"
        "FILE \"/abs/two.bin\" MOTOROLA\r\n"
        "  TRACK 03 AUDIO\r\n"
        "    INDEX 01 00:00:00\r\n";
    CueSheetReader::Result read = CueSheetReader::Read(text, "/music");
    ASSERT_FALSE(read.problem) << read.problem->line;
    EXPECT_EQ(read.sheet.disc.performer, "Caf\xC3\xA9");
    ASSERT_EQ(read.sheet.files.size(), 2U);
    EXPECT_EQ(read.sheet.files[0].path, "/music/album.wav");
    EXPECT_EQ(read.sheet.files[1].path, "/abs/two.bin");
    // 20 s in the first file (the last sector half full), 5 s in the second.
    const CueSheetDisc disc(read.sheet, {1500 * kSector - kSector / 2, 375 * kSector});
    ASSERT_FALSE(disc.Problem());
    const auto& tracks = disc.Layout().Tracks();
    ASSERT_EQ(tracks.size(), 3U);
    // Track 1: 75 sectors of silence, then the file's first second in the pre-gap.
    EXPECT_EQ(tracks[0].start, 0);
    EXPECT_EQ(tracks[0].end, 450 - 75);  // to the PREGAP of track 2
    EXPECT_EQ(tracks[1].pauseStart, 375);
    EXPECT_EQ(tracks[1].start, 375 + 10 + 150);  // PREGAP, then 2 s of INDEX 00 sound
    EXPECT_EQ(tracks[1].indexes, std::vector<std::int64_t>{535 + 150});
    EXPECT_EQ(tracks[1].control, 0x03);
    // Track 2 runs to the first file's end (padded), then its POSTGAP.
    EXPECT_EQ(tracks[2].start, 535 + 900 + 20);
    EXPECT_EQ(disc.Layout().LeadOut(), 1455 + 375);
    const std::vector<Entry> entries = Entries(AudioCueSheet::Build(disc.Layout(), {}));
    const std::vector<Entry> expected = {
        {0x01, 0, 0, -150}, {0x01, 1, 0, -150}, {0x01, 1, 1, 0},    {0x31, 2, 0, 375},
        {0x31, 2, 1, 535},  {0x31, 2, 2, 685},  {0x01, 3, 1, 1455}, {0x01, 0xAA, 1, 1830}};
    EXPECT_EQ(entries, expected);
    // The pieces: silence, the first file to its end, its padding, the
    // POSTGAP, the second file.
    std::int64_t fileBytes = 0, silence = 0;
    for (const CueSheetDisc::Piece& piece : disc.Pieces())
        (piece.file == CueSheetDisc::kSilence ? silence : fileBytes) += piece.bytes;
    EXPECT_EQ(fileBytes, 1875 * kSector - kSector / 2);
    EXPECT_EQ(silence, (75 + 10 + 20) * kSector + kSector / 2);
}

}  // namespace
