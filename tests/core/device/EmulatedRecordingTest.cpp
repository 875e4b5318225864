// Burns through the virtual drive at the CDB level and checks what a program
// reads back: disc and track information, capacities, the recorded bytes.
#include <gtest/gtest.h>

#include "emulated/VirtualDriveBench.h"

namespace {

constexpr std::uint8_t kTao = 1, kDataMode = 4, kAudioMode = 0, kMode1 = 8, kRaw = 0;

TEST(EmulatedRecordingTest, DataTrackOnCdRFinalisesTheDisc) {
    VirtualDriveBench bench(MediumKind::CdR);
    ASSERT_EQ(bench.SetWriteParameters(kTao, kDataMode, kMode1, false, 0), 0) << bench.Sense();
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
    EXPECT_TRUE(bench.TrackInformation(1, 2).empty());
    EXPECT_EQ(bench.WriteDataTrack(1002, 16), 2);
    EXPECT_EQ(bench.Sense(), "05/21/02");
}

}  // namespace
