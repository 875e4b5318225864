// Disc-At-Once audio CDs: where the tracks and pauses lie, the cue sheet
// that announces them, and recordings on the virtual drive read back
// sample by sample and through the Q sub-channel.
#include <gtest/gtest.h>

#include <algorithm>

#include "AudioBurnSession.h"
#include "AudioCueSheet.h"
#include "DiscAtOnceLayout.h"
#include "EmuDrive.h"

namespace {

constexpr std::int64_t kSector = 2352;

// Track 1 ends 1000 bytes into a sector; track 2 follows without a pause and
// track 3 after 3 seconds; the last track ends 4 bytes (one frame) into a sector.
DiscAtOnceLayout ThreeTracks(std::int64_t second = 400 * kSector) {
    return {{300 * kSector + 1000, second, 301 * kSector + 4}, {0, 0, 225}};
}

TEST(DiscAtOnceLayout, IndexOneIsTheSectorOfTheFirstSampleRoundedDown) {
    const DiscAtOnceLayout layout = ThreeTracks();
    const auto& tracks = layout.Tracks();
    ASSERT_EQ(tracks.size(), 3u);
    EXPECT_EQ(tracks[0].pauseStart, -150);
    EXPECT_EQ(tracks[0].start, 0);
    // Sector 300 holds track 1's last 1000 bytes, then track 2's first samples.
    EXPECT_EQ(tracks[1].pauseStart, 300);
    EXPECT_EQ(tracks[1].start, 300);
    EXPECT_EQ(tracks[0].end, 300);
    // Track 2 ends in sector 700; its 1000 bytes there are followed by the pause.
    EXPECT_EQ(tracks[2].pauseStart, 700);
    EXPECT_EQ(tracks[2].start, 925);
    EXPECT_EQ(layout.LeadOut(), 1227) << "(925 + 301) sectors and 1004 bytes, padded";
    EXPECT_EQ(layout.SectorsSent(), 150 + 1227);
    EXPECT_EQ(layout.FirstShortTrack(), -1);
    using Position = DiscAtOnceLayout::Position;
    EXPECT_EQ(layout.At(-150), (Position{1, 0}));
    EXPECT_EQ(layout.At(299), (Position{1, 1}));
    EXPECT_EQ(layout.At(300), (Position{2, 1}));
    EXPECT_EQ(layout.At(700), (Position{3, 0}));
    EXPECT_EQ(layout.At(925), (Position{3, 1}));
    EXPECT_EQ(layout.At(1227), (Position{0, 0}));
    // Track 2 starts in sector 300 with track 1's last 1000 bytes: it
    // reaches 4 s when it ends in sector 600, even with less sound.
    EXPECT_EQ(ThreeTracks(300 * kSector - 1001).FirstShortTrack(), 1)
        << "track 3's pause takes sector 599";
    EXPECT_EQ(ThreeTracks(300 * kSector - 1000).FirstShortTrack(), -1);
}

TEST(DiscAtOnceLayout, TheCueSheetAnnouncesEveryIndexInAbsoluteTime) {
    const std::vector<std::uint8_t> sheet = AudioCueSheet::Build(ThreeTracks(), {});
    const std::vector<std::uint8_t> expected = {
        0x01, 0x00, 0, 0x01, 0, 0, 0,  0,    // lead-in, audio pause
        0x01, 0x01, 0, 0x00, 0, 0, 0,  0,    // track 1 pre-gap at 00:00:00
        0x01, 0x01, 1, 0x00, 0, 0, 2,  0,    // index 1 at 00:02:00
        0x01, 0x02, 1, 0x00, 0, 0, 6,  0,    // gapless: index 1 only, at 00:06:00
        0x01, 0x03, 0, 0x00, 0, 0, 11, 25,   // LBA 700
        0x01, 0x03, 1, 0x00, 0, 0, 14, 25,   // LBA 925
        0x01, 0xAA, 1, 0x01, 0, 0, 18, 27};  // lead-out at LBA 1227
    EXPECT_EQ(sheet, expected);
}

class AudioDiscAtOnce : public ::testing::Test {
  protected:
    void SetUp() override { bench.Insert(MediumKind::CdR); }

    // READ CD of `count` sectors at `lba`: their sound, or with `q` their
    // Q sub-channel only.
    std::vector<std::uint8_t> ReadCd(std::int32_t lba, std::uint16_t count, bool q = false) {
        const auto at = static_cast<std::uint32_t>(lba);
        std::vector<std::uint8_t> reply(count * (q ? 16 : kSector), 0);
        const std::int32_t status = bench.Exec(
            {0xBE, 0, std::uint8_t(at >> 24), std::uint8_t(at >> 16), std::uint8_t(at >> 8),
             std::uint8_t(at), 0, std::uint8_t(count >> 8), std::uint8_t(count),
             std::uint8_t(q ? 0 : 0x10), std::uint8_t(q ? 2 : 0), 0},
            &reply);
        return status == 0 ? reply : std::vector<std::uint8_t>{};
    }
    // "track index" of the Q sub-channel of `lba`.
    std::string TrackAndIndex(std::int32_t lba) {
        const std::vector<std::uint8_t> q = ReadCd(lba, 1, true);
        return q.empty() ? "unreadable" : HexBytes({q[1], q[2]});
    }

    AudioBurnSession bench;
};

TEST_F(AudioDiscAtOnce, TheTracksPlayAsOneStreamWithTheChosenPauses) {
    const std::string one = bench.PutCdda("one.wav", 300 * kSector + 1000, 1);
    const std::string two = bench.PutCdda("two.wav", 400 * kSector, 2);
    const std::string three = bench.PutCdda("three.wav", 301 * kSector + 4, 3);
    AudioBurnOptions options;
    options.discAtOnce = true;
    options.verify = true;
    options.ejectDisc = false;
    options.pauseSeconds = {7, 0, 3};
    ASSERT_EQ(bench.Start({one, two, three}, options), AudioBurnOutcome::Completed)
        << ::testing::PrintToString(bench.reporter.Messages());
    EXPECT_EQ(bench.Count(0x5D), 1u) << "one cue sheet";
    EXPECT_EQ(bench.Count(0x5B), 0u) << "no CLOSE TRACK/SESSION: the lead-out closes";
    ASSERT_FALSE(bench.Writes().empty());
    EXPECT_EQ(bench.Writes().front().first, std::uint32_t(-150)) << "from the first pre-gap";
    EXPECT_EQ(bench.DiscInformation()[2] & 0x03, 2) << "complete";

    // The sound from LBA 0: the files back to back, 3 s of silence before
    // the third, zeros to the end of the last sector.
    std::string expected =
        CddaData(one) + CddaData(two) + std::string(225 * kSector, '\0') + CddaData(three);
    expected.resize(1227 * kSector, '\0');
    const std::vector<std::uint8_t> disc = ReadCd(0, 1227);
    const std::string read(disc.begin(), disc.end());
    const auto differs = std::mismatch(read.begin(), read.end(), expected.begin(), expected.end());
    EXPECT_TRUE(read == expected) << "the stream differs from byte " << differs.first - read.begin()
                                  << " of " << read.size();
    EXPECT_TRUE(ReadCd(1227, 1).empty()) << "nothing after the lead-out point";
    // Index 1 of track 2 is the sector holding its first sample (300, after
    // track 1's 300 sectors and 1000 bytes); track 3's pause starts where
    // track 2 ends (sector 700), its index 1 3 s later.
    EXPECT_EQ(TrackAndIndex(299), "01 01");
    EXPECT_EQ(TrackAndIndex(300), "02 01");
    EXPECT_EQ(TrackAndIndex(699), "02 01");
    EXPECT_EQ(TrackAndIndex(700), "03 00");
    EXPECT_EQ(TrackAndIndex(924), "03 00");
    EXPECT_EQ(TrackAndIndex(925), "03 01");
    EXPECT_EQ(bench.reporter.Messages(),
              std::vector<std::string>{
                  "信息|刻录完成!\n校验通过：光碟上的 1227 个区块与写入的数据一致。\n"
                  "音轨起点与暂停已校验。"});
    EXPECT_EQ(bench.counters.size(), 3u);
}

TEST_F(AudioDiscAtOnce, ShortTracksAreRefusedByNameAndADriveWithoutQLeavesPausesUnverified) {
    const std::string one = bench.PutCdda("one.wav", 300 * kSector, 1);
    const std::string brief = bench.PutCdda("brief.wav", 298 * kSector + 2000, 2);  // padded: 299
    AudioBurnOptions options;
    options.discAtOnce = true;
    options.verify = true;
    EXPECT_EQ(bench.Start({one, brief}, options), AudioBurnOutcome::Refused);
    ASSERT_EQ(bench.reporter.messages.size(), 1u);
    EXPECT_NE(bench.reporter.messages[0].text.find(brief + ": "), std::string::npos);
    EXPECT_EQ(bench.Count(0x2A), 0u);

    bench.reporter.messages.clear();
    bench.Drive().Faults().noSubChannel = true;
    const std::string two = bench.PutCdda("two.wav", 300 * kSector, 2);
    ASSERT_EQ(bench.Start({one, two}, options), AudioBurnOutcome::Completed);
    EXPECT_EQ(
        bench.reporter.Messages(),
        std::vector<std::string>{"信息|刻录完成!\n校验通过：光碟上的 750 个区块与写入的数据一致。\n"
                                 "暂停未校验: 刻录机无法读取Q子通道。"});
}

TEST_F(AudioDiscAtOnce, AWriteErrorEndsInFailureNamingTheTrack) {
    const std::string one = bench.PutCdda("one.wav", 300 * kSector, 1);
    const std::string two = bench.PutCdda("two.wav", 300 * kSector, 2);
    bench.Drive().Faults().writeErrorLba = 500;  // in track 2 (from 450 after 2 s)
    AudioBurnOptions options;
    options.discAtOnce = true;
    ASSERT_EQ(bench.Start({one, two}, options), AudioBurnOutcome::Failed);
    ASSERT_FALSE(bench.reporter.messages.empty());
    const std::string& shown = bench.reporter.messages.back().text;
    EXPECT_EQ(shown.rfind("刻录出错 (Buffer Under-Run?)", 0), 0u) << shown;
    EXPECT_NE(shown.find("第 2 条轨道"), std::string::npos) << shown;
}

}  // namespace
