// The double-layer DVDs and the Blu-ray discs of the virtual drive at the CDB
// level: profiles, capacities, the formats of BD-RE, BD-R and DVD+RW, the
// closing functions of BD-R, the Blu-ray speed command and disc structures.
#include <gtest/gtest.h>

#include "VirtualDriveSession.h"

namespace {
constexpr std::uint8_t kByNumber = 1;

// READ FORMAT CAPACITIES (allocation 252).
std::vector<std::uint8_t> FormatCapacities(VirtualDriveSession& bench) {
    std::vector<std::uint8_t> reply(252, 0);
    if (bench.Exec({0x23, 0, 0, 0, 0, 0, 0, 0, 252, 0}, &reply) != 0) return {};
    reply.resize(4 + reply[3]);
    return reply;
}

// FORMAT UNIT with Immed and FOV and a copy of descriptor `index` (0 = the
// first formattable one) of READ FORMAT CAPACITIES, its sub-type replaced.
std::int32_t Format(VirtualDriveSession& bench, std::size_t index, std::uint8_t subType = 0) {
    const std::vector<std::uint8_t> list = FormatCapacities(bench);
    std::vector<std::uint8_t> parameters{0x00, 0x82, 0x00, 0x08};
    const std::size_t at = 12 + 8 * index;
    if (list.size() < at + 8) return -1;
    parameters.insert(parameters.end(), list.begin() + std::ptrdiff_t(at),
                      list.begin() + std::ptrdiff_t(at + 8));
    parameters[8] = static_cast<std::uint8_t>((parameters[8] & 0xFC) | subType);
    return bench.Exec({0x04, 0x11, 0, 0, 0, 0}, &parameters, true);
}

std::uint32_t FreeBlocksOfInvisibleTrack(VirtualDriveSession& bench) {
    return Be32(bench.TrackInformation(kByNumber, 0xFF), 16);
}
}  // namespace

// Capacities of blank media: the free blocks of the invisible track (and of
// READ DISC INFORMATION's last possible lead-out) as drives report them.
TEST(EmulatedBluRay, EachKindHasItsProfileAndCapacity) {
    VirtualDriveSession bench;
    const struct {
        MediumKind kind;
        std::uint16_t profile;
        std::uint32_t blocks;
    } kinds[] = {{MediumKind::DvdPlusRDl, 0x002B, 4173824},
                 {MediumKind::DvdRDl, 0x0015, 4171712},
                 {MediumKind::BdR, 0x0041, 12219392},
                 {MediumKind::BdRDl, 0x0041, 24438784}};
    for (const auto& kind : kinds) {
        bench.Insert(kind.kind);
        EXPECT_EQ(bench.CurrentProfile(), kind.profile);
        EXPECT_EQ(FreeBlocksOfInvisibleTrack(bench), kind.blocks);
        EXPECT_EQ(Be32(bench.DiscInformation(), 20), kind.blocks);
    }
    // The double-layer DVDs tell their two layers; BD answers no DVD structure.
    bench.Insert(MediumKind::DvdPlusRDl);
    std::vector<std::uint8_t> structure(2052, 0);
    ASSERT_EQ(bench.Exec({0xAD, 0, 0, 0, 0, 0, 0, 0, 0x08, 0x04, 0, 0}, &structure), 0);
    EXPECT_EQ(structure[4] >> 4, 0xE) << "book type DVD+R DL";
    EXPECT_EQ(structure[6] & 0x60, 0x20) << "two layers";
    bench.Insert(MediumKind::BdR);
    EXPECT_EQ(bench.Exec({0xAD, 0, 0, 0, 0, 0, 0, 0, 0x08, 0x04, 0, 0}, &structure), 2);
    EXPECT_EQ(bench.Sense(), "05/30/02");
}

// A BD-RE comes unformatted: blank, neither read nor written, offering the
// formats of a 25 GB disc; FORMAT UNIT with a copy of one makes it a medium
// of that size. A quick reformat keeps the blocks, a full certification clears them.
TEST(EmulatedBluRay, ABdReIsFormattedBeforeItsFirstWrite) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::BdRe);
    EXPECT_EQ(bench.CurrentProfile(), 0x0043);
    EXPECT_EQ(HexBytes(FormatCapacities(bench)),
              "00 00 00 30 00 BA 74 00 01 00 08 00 "  // current: unformatted, 12219392
              "00 B4 74 00 00 00 30 00 "              // 00h, 12288 spare clusters
              "00 B4 74 00 C0 00 30 00 "              // 30h, the same
              "00 B0 74 00 C0 00 50 00 "              // 30h, 20480 spare clusters
              "00 B8 74 00 C0 00 10 00 "              // 30h, 4096 spare clusters
              "00 BA 74 00 C4 00 08 00");             // 31h, no spare areas
    EXPECT_EQ(bench.DiscInformation()[2], 0x10) << "erasable, blank";
    EXPECT_EQ(bench.DiscInformation()[7], 0x00) << "not formatted";
    EXPECT_EQ(bench.WriteDataTrack(0, 16), 2);
    EXPECT_EQ(bench.Sense(), "05/30/10");

    ASSERT_EQ(Format(bench, 0), 0);
    EXPECT_EQ(bench.ReadCapacity(), 11826176 - 1);
    EXPECT_EQ(Be32(bench.TrackInformation(kByNumber, 1), 24), 11826176u) << "track size";
    EXPECT_EQ(FormatCapacities(bench)[8], 0x02) << "formatted";
    ASSERT_EQ(bench.WriteDataTrack(0, 32, 9), 0);
    std::vector<std::uint8_t> block(2048);
    ASSERT_EQ(bench.Read10(20, 1, block), 0);
    EXPECT_EQ(block[0], 20 + 9);

    ASSERT_EQ(Format(bench, 1, 0), 0) << "30h quick reformat";
    ASSERT_EQ(bench.Read10(20, 1, block), 0);
    EXPECT_EQ(block[0], 20 + 9) << "a quick reformat keeps the data";
    EXPECT_EQ(Format(bench, 1, 1), 2) << "sub-type 01b is reserved";
    ASSERT_EQ(Format(bench, 1, 2), 0) << "30h full certification";
    ASSERT_EQ(bench.Read10(20, 1, block), 0);
    EXPECT_EQ(block[0], 0) << "certified: nothing left";
    ASSERT_EQ(Format(bench, 4), 0) << "31h: no spare areas";
    EXPECT_EQ(bench.ReadCapacity(), 12219392 - 1);

    // The format survives the folder being read again.
    bench.Reopen();
    EXPECT_EQ(bench.ReadCapacity(), 12219392 - 1);
    bench.Insert(MediumKind::BdRe);
    bench.Reopen();
    EXPECT_EQ(FormatCapacities(bench)[8], 0x01) << "unformatted, from the folder";
}

// A brand-new DVD+RW (insert --unformatted) takes the full format 26h.
TEST(EmulatedBluRay, AnUnformattedDvdPlusRwTakesFormatType26) {
    VirtualDriveSession bench;
    ASSERT_EQ(bench.Drive().InsertBlank(MediumKind::DvdPlusRw, EmuDrive::Replacing::AnyDisc, true),
              "");
    EXPECT_EQ(HexBytes(FormatCapacities(bench)),
              "00 00 00 10 00 23 05 40 01 00 08 00 00 23 05 40 98 00 00 00");
    EXPECT_EQ(bench.WriteDataTrack(0, 16), 2);
    ASSERT_EQ(Format(bench, 0), 0);
    EXPECT_EQ(bench.DiscInformation()[7], 0x03) << "background format complete";
    EXPECT_EQ(bench.WriteDataTrack(0, 16), 0);
    EXPECT_NE(bench.Drive().InsertBlank(MediumKind::DvdPlusR, EmuDrive::Replacing::AnyDisc, true),
              "")
        << "a DVD+R has no format to leave out";
    bench.Insert(MediumKind::CdRw);
    EXPECT_EQ(Format(bench, 0), -1) << "a CD-RW offers no format";
    std::vector<std::uint8_t> list{0x00, 0x82, 0x00, 0x08, 0, 0, 0, 0, 0x98, 0, 0, 0};
    EXPECT_EQ(bench.Exec({0x04, 0x11, 0, 0, 0, 0}, &list, true), 2);
    EXPECT_EQ(bench.Sense(), "05/30/00");
}

// BD-R is written like DVD+R: sessions stay open after 010b, 110b finalises
// (101b, the DVD+R function, is refused); no page 05h test write.
TEST(EmulatedBluRay, ABdRClosesWithTheBluRayFunctions) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::BdR);
    ASSERT_EQ(bench.WriteDataTrack(0, 64), 0);
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    ASSERT_EQ(bench.CloseTrackSession(1, 1), 0);
    ASSERT_EQ(bench.CloseTrackSession(2, 0), 0);
    EXPECT_EQ(bench.DiscInformation()[2] & 0x03, 1) << "appendable";
    EXPECT_EQ(Be32(bench.TrackInformation(kByNumber, 2), 8), 64u) << "next track, no border";
    ASSERT_EQ(bench.WriteDataTrack(64, 16), 0);
    ASSERT_EQ(bench.CloseTrackSession(1, 2), 0);
    EXPECT_EQ(bench.CloseTrackSession(5, 0), 2);
    EXPECT_EQ(bench.Sense(), "05/24/00");
    ASSERT_EQ(bench.CloseTrackSession(6, 0), 0);
    EXPECT_EQ(bench.DiscInformation()[2] & 0x03, 2) << "finalised";
    bench.Insert(MediumKind::BdR);
    EXPECT_NE(bench.SetWriteParameters(1, 4, 8, true, 0), 0) << "BD cannot simulate";
}

// BD speeds go by SET STREAMING (SET CD SPEED is taken and ignored), in
// steps of 4495 kB/s.
TEST(EmulatedBluRay, SpeedsAreSetWithSetStreaming) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::BdR);
    EXPECT_EQ(bench.Drive().CurrentWriteSpeed(), 26970);
    ASSERT_EQ(bench.SetCdSpeed(0xFFFF, 1385), 0);
    EXPECT_EQ(bench.Drive().CurrentWriteSpeed(), 26970) << "SET CD SPEED ignored";
    std::vector<std::uint8_t> descriptor(28, 0);
    descriptor[22] = 0x46, descriptor[23] = 0x3E;  // 17982 kB per 1000 ms
    descriptor[26] = 0x03, descriptor[27] = 0xE8;
    ASSERT_EQ(bench.Exec({0xB6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 28, 0}, &descriptor, true), 0);
    EXPECT_EQ(bench.Drive().CurrentWriteSpeed(), 17980);
}

// With the Blu-ray media type, READ DISC STRUCTURE gives the disc information
// (DI unit: disc type, layers, the media id burners show) and the spare
// areas, which a format with spares allocates; a DVD answers no BD structure.
TEST(EmulatedBluRay, BluRayStructuresTellTheDiscAndItsSpareAreas) {
    VirtualDriveSession bench;
    std::vector<std::uint8_t> reply(4100, 0);
    const auto structure = [&bench, &reply](std::uint8_t format) {
        return bench.Exec({0xAD, 0x01, 0, 0, 0, 0, 0, format, 0x10, 0x04, 0, 0}, &reply);
    };
    const struct {
        MediumKind kind;
        const char* type;
        std::uint8_t layers;
    } kinds[] = {{MediumKind::BdR, "BDR", 0x11},
                 {MediumKind::BdRDl, "BDR", 0x21},
                 {MediumKind::BdRe, "BDW", 0x11}};
    for (const auto& kind : kinds) {
        bench.Insert(kind.kind);
        ASSERT_EQ(structure(0x00), 0);
        EXPECT_EQ(Be16(reply, 0), 4098);
        EXPECT_EQ(std::string(reply.begin() + 4, reply.begin() + 6), "DI");
        EXPECT_EQ(std::string(reply.begin() + 12, reply.begin() + 15), kind.type);
        EXPECT_EQ(reply[16], kind.layers);
        EXPECT_EQ(std::string(reply.begin() + 104, reply.begin() + 113),
                  std::string("MAPLE\0VR1", 9));
    }
    ASSERT_EQ(structure(0x0A), 0);
    EXPECT_EQ(Be32(reply, 8), 0u) << "an unformatted BD-RE has no spare blocks";
    ASSERT_EQ(Format(bench, 0), 0);
    ASSERT_EQ(structure(0x0A), 0);
    EXPECT_EQ(Be32(reply, 8), 12288u * 32) << "free spare blocks";
    EXPECT_EQ(Be32(reply, 12), 12288u * 32) << "allocated spare blocks";
    bench.Insert(MediumKind::DvdPlusR);
    EXPECT_EQ(structure(0x00), 2);
    EXPECT_EQ(bench.Sense(), "05/30/02");
}

// A blank BD-R offers the default format and 32h with spare areas; formatted,
// it stays blank with the smaller capacity. Once written it takes no format.
TEST(EmulatedBluRay, ABlankBdRMayBeFormattedWithSpareAreas) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::BdR);
    EXPECT_EQ(HexBytes(FormatCapacities(bench)),
              "00 00 00 28 00 BA 74 00 01 00 08 00 "  // current: unformatted, 12219392
              "00 B4 74 00 00 00 30 00 "              // 00h, 12288 spare clusters
              "00 B4 74 00 C8 00 30 00 "              // 32h, the same
              "00 B0 74 00 C8 00 50 00 "              // 32h, 20480 spare clusters
              "00 B8 74 00 C8 00 10 00");             // 32h, 4096 spare clusters
    ASSERT_EQ(Format(bench, 3), 0);
    EXPECT_EQ(FormatCapacities(bench)[8], 0x02) << "formatted";
    EXPECT_EQ(FreeBlocksOfInvisibleTrack(bench), 12088320u);
    EXPECT_EQ(bench.DiscInformation()[2] & 0x03, 0) << "still blank";
    ASSERT_EQ(bench.WriteDataTrack(0, 16), 0);
    EXPECT_EQ(Format(bench, 0), -1) << "a written BD-R offers no format";
    std::vector<std::uint8_t> list{0x00, 0x82, 0x00, 0x08, 0x00, 0xB4, 0x74, 0x00, 0, 0, 0x30, 0};
    EXPECT_EQ(bench.Exec({0x04, 0x11, 0, 0, 0, 0}, &list, true), 2);
    EXPECT_EQ(bench.Sense(), "05/30/00");
}
