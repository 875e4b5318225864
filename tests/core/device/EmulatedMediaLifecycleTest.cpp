// Each recordable medium through the steps of a burn, a copy and an erase,
// with the replies the program reads at each step: profile, disc information
// byte 2, disc structure, track information, capacity.
#include <gtest/gtest.h>

#include <cstring>

#include "emulated/VirtualDriveBench.h"

namespace {

enum class Erase { None, Blank, Overwrite };

struct Lifecycle {
    MediumKind kind;
    std::uint16_t profile;
    std::uint8_t blankStatus;   // READ DISC INFORMATION byte 2 when blank
    std::uint8_t writeType;     // page 05h write type the program sends
    std::uint8_t burnedStatus;  // byte 2 after the session was closed
    std::int64_t lastLba;       // READ CAPACITY after 320 blocks
    Erase erase;
};

void PrintTo(const Lifecycle& c, std::ostream* out) {
    *out << TraitsOf(c.kind).name;
}

constexpr std::uint32_t kBlocks = 320;

class EmulatedMediaLifecycleTest : public ::testing::TestWithParam<Lifecycle> {
  protected:
    // An image whose block 16 starts like an ISO 9660 volume descriptor.
    std::int32_t Burn(VirtualDriveBench& bench) {
        for (std::uint32_t lba = 0; lba < kBlocks; lba += 16) {
            std::vector<std::uint8_t> chunk(16 * 2048, std::uint8_t(lba / 16 + 1));
            if (lba == 16)
                std::memcpy(chunk.data(),
                            "\x01"
                            "CD001",
                            6);
            if (const std::int32_t status = bench.Write10(lba, 16, chunk); status != 0)
                return status;
        }
        return 0;
    }
    static bool HasVolumeDescriptor(VirtualDriveBench& bench) {
        std::vector<std::uint8_t> block;
        return bench.Read10(16, 1, block) == 0 && std::memcmp(block.data(),
                                                              "\x01"
                                                              "CD001",
                                                              6) == 0;
    }
};

TEST_P(EmulatedMediaLifecycleTest, BurnCopyErase) {
    const Lifecycle& c = GetParam();
    const MediumTraits& traits = TraitsOf(c.kind);
    VirtualDriveBench bench(c.kind);

    // Before the burn: the checks of the record window.
    EXPECT_EQ(bench.Exec({0, 0, 0, 0, 0, 0}), 0);
    EXPECT_EQ(bench.CurrentProfile(), c.profile);
    EXPECT_EQ(bench.DiscInformation()[2], c.blankStatus);
    std::vector<std::uint8_t> structure(512, 0);
    EXPECT_EQ(bench.Exec({0xAD, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0}, &structure) == 0, !traits.cd);
    EXPECT_FALSE(HasVolumeDescriptor(bench));

    // The burn.
    ASSERT_EQ(bench.SetWriteParameters(c.writeType, 4, 8, false, 0), 0) << bench.Sense();
    ASSERT_EQ(bench.SetCdSpeed(0xFFFF, traits.cd ? 16 * 176 : 8 * 1385), 0);
    ASSERT_EQ(Burn(bench), 0) << bench.Sense();
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    ASSERT_EQ(bench.CloseTrackSession(1, 1), 0);
    ASSERT_EQ(bench.CloseTrackSession(2, 1), 0);
    EXPECT_EQ(bench.DiscInformation()[2], c.burnedStatus);
    EXPECT_EQ(bench.ReadCapacity(), c.lastLba);
    const auto track = bench.TrackInformation(1, 1);
    ASSERT_FALSE(track.empty());
    EXPECT_EQ(track[7] & 0x01, traits.overwritable ? 1 : 0) << "NWA valid only on +RW";
    if (!traits.overwritable) {
        EXPECT_EQ(Be32(track, 24), c.lastLba + 1) << "track size";
    }

    // The copy: every block up to the capacity's last LBA (exclusive), as read by READ(10).
    EXPECT_TRUE(HasVolumeDescriptor(bench));
    std::vector<std::uint8_t> block;
    for (std::uint32_t lba = 0; lba < kBlocks; lba += 37) {
        ASSERT_EQ(bench.Read10(lba, 1, block), 0) << lba;
        EXPECT_EQ(block[2047], std::uint8_t(lba / 16 + 1));
    }

    // The erase.
    switch (c.erase) {
        case Erase::None:
            EXPECT_EQ(bench.Exec({0xA1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 2);
            return;
        case Erase::Blank:
            ASSERT_EQ(bench.Exec({0xA1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 0);
            EXPECT_EQ(bench.DiscInformation()[2], c.blankStatus);
            EXPECT_EQ(Be32(bench.TrackInformation(1, 1), 12), 0u);
            break;
        case Erase::Overwrite:
            for (std::uint32_t lba = 0; lba < 300; lba += 25)
                ASSERT_EQ(bench.Write10(lba, 25, std::vector<std::uint8_t>(25 * 2048, 0)), 0);
            ASSERT_EQ(bench.SynchronizeCache(), 0);
            EXPECT_EQ(bench.DiscInformation()[2], c.blankStatus) << "+RW: still formatted";
            break;
    }
    EXPECT_FALSE(HasVolumeDescriptor(bench)) << "what the program takes for blank";
    ASSERT_EQ(Burn(bench), 0) << "recordable again";
}

INSTANTIATE_TEST_SUITE_P(
    EachRecordableMedium, EmulatedMediaLifecycleTest,
    ::testing::Values(Lifecycle{MediumKind::CdR, 0x0009, 0x00, 1, 0x0E, 321, Erase::None},
                      Lifecycle{MediumKind::CdRw, 0x000A, 0x10, 1, 0x1E, 321, Erase::Blank},
                      Lifecycle{MediumKind::DvdR, 0x0011, 0x00, 0, 0x0E, 319, Erase::None},
                      Lifecycle{MediumKind::DvdRw, 0x0014, 0x10, 0, 0x1E, 319, Erase::Blank},
                      Lifecycle{MediumKind::DvdPlusR, 0x001B, 0x00, 1, 0x01, 319, Erase::None},
                      Lifecycle{MediumKind::DvdPlusRw, 0x001A, 0x1E, 1, 0x1E, 319,
                                Erase::Overwrite}));

TEST(EmulatedMediaLifecycleTest, DvdTracksCloseWithCloseTrackNotWithTheFlush) {
    VirtualDriveBench bench(MediumKind::DvdR);
    ASSERT_EQ(bench.SetWriteParameters(0, 4, 8, false, 3), 0);
    ASSERT_EQ(bench.WriteDataTrack(0, 32), 0);
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    EXPECT_NE(bench.Drive().Media().OpenTrack(), nullptr);
    EXPECT_EQ(bench.CloseTrackSession(1, 2), 2) << "no track 2 yet";
    ASSERT_EQ(bench.CloseTrackSession(1, 1), 0);
    EXPECT_EQ(bench.Drive().Media().OpenTrack(), nullptr);
    EXPECT_EQ(Be32(bench.TrackInformation(1, 2), 12), 32u) << "no gaps on DVD";
    ASSERT_EQ(bench.CloseTrackSession(2, 1), 0);
    EXPECT_EQ(bench.DiscInformation()[2], 0x01) << "multi-session 11b: appendable";
}

TEST(EmulatedMediaLifecycleTest, FullBlankErasesTheData) {
    VirtualDriveBench bench(MediumKind::CdRw);
    ASSERT_EQ(bench.WriteDataTrack(0, 320), 0);
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    EXPECT_EQ(bench.Exec({0xA1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 2)
        << "track blanking not offered";
    EXPECT_EQ(bench.Sense(), "05/24/00");
    ASSERT_EQ(bench.Exec({0xA1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 0);
    EXPECT_EQ(std::filesystem::file_size(bench.Folder() + "/medium.data"), 0u);
    EXPECT_EQ(bench.DiscInformation()[2], 0x10);
}

}  // namespace
