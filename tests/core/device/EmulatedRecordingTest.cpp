// Burns through the virtual drive at the CDB level and checks what a program
// reads back: disc and track information, capacities, the recorded bytes.
#include <gtest/gtest.h>

#include "emulated/VirtualDriveBench.h"

namespace {

constexpr std::uint8_t kIncremental = 0, kTao = 1;
constexpr std::uint8_t kDataMode = 4, kAudioMode = 0, kMode1 = 8, kRaw = 0;
constexpr std::uint8_t kFinalise = 0, kKeepOpen = 3;
constexpr std::uint8_t kByNumber = 1;

// Audio blocks of 2352 bytes whose bytes count up from `seed`.
std::vector<std::uint8_t> AudioBlocks(std::uint16_t blocks, std::uint8_t seed) {
    std::vector<std::uint8_t> pcm(std::size_t(blocks) * 2352);
    for (std::size_t i = 0; i < pcm.size(); ++i) pcm[i] = static_cast<std::uint8_t>(seed + i * 7);
    return pcm;
}

TEST(EmulatedRecordingTest, DataTrackOnCdRFinalisesTheDisc) {
    VirtualDriveBench bench(MediumKind::CdR);
    ASSERT_EQ(bench.SetWriteParameters(kTao, kDataMode, kMode1, false, kFinalise), 0)
        << bench.Sense();
    ASSERT_EQ(bench.WriteDataTrack(0, 1000), 0) << bench.Sense();
    EXPECT_EQ(bench.SynchronizeCache(), 0);
    EXPECT_EQ(bench.CloseTrackSession(1, 1), 0);
    EXPECT_EQ(bench.CloseTrackSession(2, 1), 0);

    const auto info = bench.DiscInformation();
    ASSERT_FALSE(info.empty());
    EXPECT_EQ(info[2], 0x0E);  // complete disc, complete last session, not erasable
    EXPECT_EQ(info[4], 1);     // sessions
    EXPECT_EQ(info[6], 1);     // last track in last session
    EXPECT_EQ(Be32(info, 16), 0xFFFFFFFFu);
    EXPECT_EQ(Be32(info, 20), 0xFFFFFFFFu);
    // TAO: the two run-out blocks are counted, not readable.
    EXPECT_EQ(bench.ReadCapacity(), 1001);
    std::vector<std::uint8_t> block;
    ASSERT_EQ(bench.Read10(999, 1, block), 0);
    EXPECT_EQ(block[0], std::uint8_t(999));
    EXPECT_EQ(block[2047], std::uint8_t(999));
    EXPECT_EQ(bench.Read10(1000, 1, block), 2);
    EXPECT_EQ(bench.Sense(), "03/11/05");
    EXPECT_EQ(bench.Read10(1002, 1, block), 2);
    EXPECT_EQ(bench.Sense(), "05/21/00");
    // Complete disc: no invisible track, and writing is refused.
    EXPECT_TRUE(bench.TrackInformation(kByNumber, 2).empty());
    EXPECT_EQ(bench.WriteDataTrack(1002, 16), 2);
    EXPECT_EQ(bench.Sense(), "05/21/02");
}

TEST(EmulatedRecordingTest, TrackTwoStartsAfterPreGapAndRunOut) {
    VirtualDriveBench bench(MediumKind::CdR);
    const auto blank = bench.TrackInformation(kByNumber, 1);
    ASSERT_FALSE(blank.empty());
    EXPECT_EQ(blank[6] & 0x40, 0x40);  // blank
    EXPECT_EQ(blank[7] & 0x01, 0x01);  // NWA valid
    EXPECT_EQ(Be32(blank, 12), 0u);
    EXPECT_EQ(Be32(blank, 16), 359849u);  // free blocks of an 80-minute disc

    ASSERT_EQ(bench.WriteDataTrack(0, 1000), 0) << "default page: TAO data";
    const auto open = bench.TrackInformation(kByNumber, 1);
    EXPECT_EQ(Be32(open, 12), 1000u) << "open track: NWA after the last block written";
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    const auto closed = bench.TrackInformation(kByNumber, 1);
    EXPECT_EQ(closed[7] & 0x01, 0) << "a closed track has no NWA";
    EXPECT_EQ(Be32(closed, 24), 1002u) << "track size includes the run-out";
    const auto next = bench.TrackInformation(kByNumber, 2);
    ASSERT_FALSE(next.empty());
    EXPECT_EQ(Be32(next, 12), 1152u) << "1000 + 2 run-out + 150 pre-gap";
    EXPECT_EQ(bench.TrackInformation(kByNumber, 0xFF), next) << "FFh names the invisible track";
    EXPECT_TRUE(bench.TrackInformation(kByNumber, 3).empty());
    EXPECT_EQ(bench.Sense(), "05/24/00");

    const auto info = bench.DiscInformation();
    EXPECT_EQ(info[2], 0x05) << "appendable, last session incomplete";
    EXPECT_EQ(info[4], 1);
    EXPECT_EQ(info[6], 2) << "the invisible track counts";
    EXPECT_EQ(bench.WriteDataTrack(1150, 16), 2) << "only the reported NWA is accepted";
    EXPECT_EQ(bench.Sense(), "05/21/02");
    EXPECT_EQ(bench.WriteDataTrack(1152, 16), 0);
}

TEST(EmulatedRecordingTest, AudioTracksLeaveTwoSecondGapsAndReadBackAsPcm) {
    VirtualDriveBench bench(MediumKind::CdRw);
    ASSERT_EQ(bench.SetWriteParameters(kTao, kAudioMode, kRaw, false, kFinalise), 0);
    const std::vector<std::uint8_t> first = AudioBlocks(400, 1), second = AudioBlocks(160, 9);
    std::uint32_t nwa = 0;
    for (const auto* track : {&first, &second}) {
        const int number = track == &first ? 1 : 2;
        nwa = Be32(bench.TrackInformation(kByNumber, number), 12);
        const std::uint16_t blocks = static_cast<std::uint16_t>(track->size() / 2352);
        for (std::uint16_t at = 0; at < blocks; at += 8) {
            const std::vector<std::uint8_t> chunk(track->begin() + at * 2352,
                                                  track->begin() + (at + 8) * 2352);
            ASSERT_EQ(bench.Write10(nwa + at, 8, chunk), 0) << bench.Sense();
        }
        ASSERT_EQ(bench.SynchronizeCache(), 0);
        ASSERT_EQ(bench.CloseTrackSession(1, static_cast<std::uint16_t>(number)), 0);
        ASSERT_EQ(bench.CloseTrackSession(1, 1), 0) << "closing a closed track is harmless";
    }
    EXPECT_EQ(nwa, 550u) << "400 + 150 pause, no run-out after audio";
    ASSERT_EQ(bench.CloseTrackSession(2, 1), 0);
    EXPECT_EQ(bench.DiscInformation()[2], 0x1E);
    EXPECT_EQ(bench.ReadCapacity(), 550 + 300 - 1) << "a 160-block track is padded to 300";
    std::vector<std::uint8_t> data;
    EXPECT_EQ(bench.Read10(10, 1, data), 2) << "READ(10) cannot read CD-DA";
    EXPECT_EQ(bench.Sense(), "05/64/00");
    ASSERT_TRUE(bench.Drive().ReadTrack(1, data));
    EXPECT_EQ(data, first);
    ASSERT_TRUE(bench.Drive().ReadTrack(2, data));
    ASSERT_EQ(data.size(), 300u * 2352);
    EXPECT_TRUE(std::equal(second.begin(), second.end(), data.begin()));
    EXPECT_TRUE(
        std::all_of(data.begin() + second.size(), data.end(), [](auto b) { return b == 0; }));
}

TEST(EmulatedRecordingTest, AudioPauseLengthOfThePageSetsTheGap) {
    VirtualDriveBench bench(MediumKind::CdR);
    ASSERT_EQ(bench.SetWriteParameters(kTao, kAudioMode, kRaw, false, kFinalise, 225), 0);
    for (std::uint32_t at = 0; at < 304; at += 8)
        ASSERT_EQ(bench.Write10(at, 8, AudioBlocks(8, 0)), 0);
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    EXPECT_EQ(Be32(bench.TrackInformation(kByNumber, 2), 12), 304u + 225);
    ASSERT_EQ(bench.SetWriteParameters(kTao, kAudioMode, kRaw, false, kFinalise, 75), 0);
    EXPECT_EQ(Be32(bench.TrackInformation(kByNumber, 2), 12), 304u + 150) << "never below 150";
    ASSERT_EQ(bench.SetWriteParameters(kTao, kDataMode, kMode1, false, kFinalise, 225), 0);
    EXPECT_EQ(Be32(bench.TrackInformation(kByNumber, 2), 12), 304u + 150) << "a data track: 150";
}

TEST(EmulatedRecordingTest, MultisessionKeepsTheDiscAppendable) {
    VirtualDriveBench bench(MediumKind::CdR);
    ASSERT_EQ(bench.SetWriteParameters(kTao, kDataMode, kMode1, false, kKeepOpen), 0);
    ASSERT_EQ(bench.WriteDataTrack(0, 1000), 0);
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    ASSERT_EQ(bench.CloseTrackSession(2, 1), 0);
    auto info = bench.DiscInformation();
    EXPECT_EQ(info[2], 0x01) << "appendable, empty last session";
    EXPECT_EQ(info[4], 2);
    EXPECT_EQ(info[5], 2);
    EXPECT_EQ(info[6], 2);
    const std::uint32_t second = Be32(bench.TrackInformation(kByNumber, 2), 12);
    EXPECT_EQ(second, 1002u + 6750 + 4500 + 150) << "lead-out, lead-in and pre-gap";
    EXPECT_EQ(bench.TrackInformation(2, 2), bench.TrackInformation(kByNumber, 2)) << "by session";

    ASSERT_EQ(bench.SetWriteParameters(kTao, kDataMode, kMode1, false, kFinalise), 0);
    ASSERT_EQ(bench.WriteDataTrack(second, 320), 0);
    EXPECT_EQ(bench.CloseTrackSession(2, 1), 2) << "the track is still open";
    EXPECT_EQ(bench.Sense(), "05/72/03");
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    ASSERT_EQ(bench.CloseTrackSession(2, 1), 0);
    info = bench.DiscInformation();
    EXPECT_EQ(info[2], 0x0E);
    EXPECT_EQ(info[4], 2);
    EXPECT_EQ(info[5], 2);
    EXPECT_EQ(bench.ReadCapacity(), second + 320 + 2 - 1);
    EXPECT_EQ(bench.TrackInformation(0, second + 5)[2], 2) << "track by address";
}

TEST(EmulatedRecordingTest, TestWriteRecordsNothing) {
    VirtualDriveBench bench(MediumKind::CdR);
    ASSERT_EQ(bench.SetWriteParameters(kTao, kAudioMode, kRaw, true, kFinalise), 0);
    for (int track = 1; track <= 2; ++track) {
        const std::uint32_t nwa = Be32(bench.TrackInformation(kByNumber, track), 12);
        EXPECT_EQ(nwa, track == 1 ? 0u : 454u) << "the simulation keeps its own track table";
        for (std::uint32_t at = 0; at < 300; at += 8)
            ASSERT_EQ(bench.Write10(nwa + at, 8, AudioBlocks(8, 3)), 0) << bench.Sense();
        ASSERT_EQ(bench.SynchronizeCache(), 0);
        ASSERT_EQ(bench.CloseTrackSession(1, static_cast<std::uint16_t>(track)), 0);
    }
    ASSERT_EQ(bench.CloseTrackSession(2, 1), 0);
    EXPECT_EQ(bench.DiscInformation()[2], 0x00) << "still blank";
    EXPECT_EQ(Be32(bench.TrackInformation(kByNumber, 1), 12), 0u);
    EXPECT_TRUE(bench.Drive().Media().tracks.empty());
    EXPECT_EQ(std::filesystem::file_size(bench.Folder() + "/medium.data"), 0u);
}

TEST(EmulatedRecordingTest, WritesThatADriveRefuses) {
    VirtualDriveBench bench(MediumKind::CdR);
    EXPECT_EQ(bench.WriteDataTrack(16, 16), 2) << "a blank disc starts at 0";
    EXPECT_EQ(bench.Sense(), "05/21/02");
    std::vector<std::uint8_t> shortBuffer(2048 * 15);
    EXPECT_EQ(bench.Write10(0, 16, shortBuffer), 2) << "buffer shorter than 16 blocks";
    EXPECT_EQ(bench.Sense(), "05/24/00");
    ASSERT_EQ(bench.SetWriteParameters(kTao, kAudioMode, kMode1, false, kFinalise), 0);
    EXPECT_EQ(bench.WriteDataTrack(0, 16), 2) << "audio track with 2048-byte blocks";
    EXPECT_EQ(bench.Sense(), "05/64/00");
    ASSERT_EQ(bench.SetWriteParameters(2, kDataMode, kMode1, false, kFinalise), 0);
    EXPECT_EQ(bench.WriteDataTrack(0, 16), 2) << "session at once needs a cue sheet";
    EXPECT_EQ(bench.Sense(), "05/2C/00");
    ASSERT_EQ(bench.SetWriteParameters(kTao, kDataMode, kMode1, false, kFinalise), 0);
    ASSERT_EQ(bench.WriteDataTrack(0, 16), 0);
    ASSERT_EQ(bench.SetWriteParameters(kTao, kAudioMode, kRaw, false, kFinalise), 0);
    EXPECT_EQ(bench.Write10(16, 8, AudioBlocks(8, 0)), 2) << "audio into an open data track";
    EXPECT_EQ(bench.Sense(), "05/64/00");
    EXPECT_EQ(bench.Write10(16, 0, {}), 0) << "zero blocks: nothing to do";

    WriteFile(bench.Path("rom.iso"), std::string(2048 * 32, 'r'));
    ASSERT_EQ(bench.Drive().InsertImage(MediumKind::CdRom, bench.Path("rom.iso")), "");
    EXPECT_EQ(bench.WriteDataTrack(0, 16), 2);
    EXPECT_EQ(bench.Sense(), "05/30/05");
    EXPECT_EQ(bench.Exec({0xA1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 2);
    EXPECT_EQ(bench.Sense(), "05/30/00");
}

TEST(EmulatedRecordingTest, WritesPastTheCapacityFail) {
    VirtualDriveBench bench;
    // A DVD-R whose open track ends eight blocks before the end.
    bench.Reopen(
        "maple-virtual-drive 1\ntray closed\nmedium dvd-r\ncapacity 2295104\nsessions 0\n"
        "track 1 session 1 data start 0 length 2295096 run-out 0 open\n");
    ASSERT_EQ(bench.SetWriteParameters(kIncremental, kDataMode, kMode1, false, kFinalise), 0);
    EXPECT_EQ(bench.WriteDataTrack(2295096, 16), 2);
    EXPECT_EQ(bench.Sense(), "05/21/00");
    EXPECT_EQ(bench.WriteDataTrack(2295096, 8), 0);
    EXPECT_EQ(bench.WriteDataTrack(2295104, 1), 2) << "full";
    EXPECT_EQ(Be32(bench.TrackInformation(kByNumber, 1), 16), 0u) << "no free blocks";
}

TEST(EmulatedRecordingTest, DvdPlusRwIsOverwrittenAnywhere) {
    VirtualDriveBench bench(MediumKind::DvdPlusRw);
    auto info = bench.DiscInformation();
    EXPECT_EQ(info[2], 0x1E) << "formatted: complete whatever its content";
    EXPECT_EQ(info[7] & 0x03, 0x03) << "background format complete";
    EXPECT_EQ(bench.ReadCapacity(), 0);
    const auto track = bench.TrackInformation(kByNumber, 1);
    EXPECT_EQ(Be32(track, 12), 0u);
    EXPECT_EQ(Be32(track, 16), 2295104u);
    EXPECT_EQ(Be32(track, 24), 2295104u);
    std::vector<std::uint8_t> block;
    ASSERT_EQ(bench.Read10(16, 1, block), 0) << "formatted blocks read as zeros";
    EXPECT_EQ(block, std::vector<std::uint8_t>(2048, 0));

    ASSERT_EQ(bench.WriteDataTrack(1000, 32, 1), 0) << "no next writable address on +RW";
    ASSERT_EQ(bench.WriteDataTrack(0, 300), 0);
    ASSERT_EQ(bench.Read10(1010, 1, block), 0);
    EXPECT_EQ(block[0], std::uint8_t(1011));
    EXPECT_EQ(bench.ReadCapacity(), 1031);
    EXPECT_EQ(bench.DiscInformation()[2], 0x1E);
    EXPECT_EQ(bench.Exec({0xA1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 2) << "no BLANK on +RW";
    EXPECT_EQ(bench.Sense(), "05/30/00");
    EXPECT_EQ(bench.CloseTrackSession(1, 1), 0);
    EXPECT_EQ(bench.CloseTrackSession(2, 1), 0);
    EXPECT_EQ(bench.WriteDataTrack(2295104 - 8, 16), 2);
    EXPECT_EQ(bench.Sense(), "05/21/00");
}

TEST(EmulatedRecordingTest, DiscStructureAnswersForDvdOnly) {
    std::vector<std::uint8_t> reply(512, 0);
    const std::pair<MediumKind, std::uint8_t> dvds[] = {{MediumKind::DvdR, 0x2},
                                                        {MediumKind::DvdRw, 0x3},
                                                        {MediumKind::DvdPlusR, 0xA},
                                                        {MediumKind::DvdPlusRw, 0x9}};
    for (const auto& [kind, book] : dvds) {
        VirtualDriveBench bench(kind);
        ASSERT_EQ(bench.Exec({0xAD, 0, 0, 0, 0, 0, 0, 0, 0x02, 0, 0, 0}, &reply), 0);
        EXPECT_EQ(Be16(reply, 0), 0x0802u);
        EXPECT_EQ(reply[4] >> 4, book) << TraitsOf(kind).name;
    }
    for (MediumKind kind : {MediumKind::CdR, MediumKind::CdRw}) {
        VirtualDriveBench bench(kind);
        EXPECT_EQ(bench.Exec({0xAD, 0, 0, 0, 0, 0, 0, 0, 0x02, 0, 0, 0}, &reply), 2);
        EXPECT_EQ(bench.Sense(), "05/30/02");
    }
}

}  // namespace
