// Commands other burning programs and the Linux kernel send a recorder:
// READ TOC, Session At Once with a cue sheet, PREVENT ALLOW MEDIUM REMOVAL,
// READ FORMAT CAPACITIES, RESERVE TRACK and the speed and
// buffer queries.
#include <gtest/gtest.h>

#include "VirtualDriveSession.h"

namespace {

constexpr std::uint8_t kTao = 1, kSao = 2, kDataMode = 4, kMode1 = 8, kKeepOpen = 3;

std::vector<std::uint8_t> Reply(VirtualDriveSession& bench, std::initializer_list<std::uint8_t> cdb,
                                std::size_t length = 512) {
    std::vector<std::uint8_t> reply(length, 0);
    return bench.Exec(cdb, &reply) == 0 ? reply : std::vector<std::uint8_t>{};
}

// Bytes [from, to) of a reply (none when it is shorter).
std::vector<std::uint8_t> Head(const std::vector<std::uint8_t>& reply, std::size_t to,
                               std::size_t from = 0) {
    if (reply.size() < to) return {};
    return {reply.begin() + static_cast<std::ptrdiff_t>(from),
            reply.begin() + static_cast<std::ptrdiff_t>(to)};
}

std::vector<std::uint8_t> ReadToc(VirtualDriveSession& bench, std::uint8_t msf, std::uint8_t format,
                                  std::uint8_t track = 0) {
    return Reply(bench, {0x43, msf, format, 0, 0, 0, track, 0x02, 0x00, 0});
}

// A closed TAO data track of `blocks` blocks on a CD-R, the session left open.
void RecordDataTrack(VirtualDriveSession& bench, std::uint32_t blocks) {
    ASSERT_EQ(bench.SetWriteParameters(kTao, kDataMode, kMode1, false, kKeepOpen), 0);
    ASSERT_EQ(bench.WriteDataTrack(0, blocks), 0) << bench.Sense();
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    ASSERT_EQ(bench.CloseTrackSession(2, 1), 0);
}

TEST(EmulatedPeerCommands, TableOfContentsOfARecordedCd) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR);
    EXPECT_TRUE(ReadToc(bench, 0, 0).empty()) << "a blank disc has no TOC";
    EXPECT_EQ(bench.Sense(), "05/24/00");
    RecordDataTrack(bench, 400);
    // The header, track 1 (ADR 1, data) at 0, the lead-out after the two
    // run-out blocks at 402; asked for the lead-out in MSF: 00:07:27.
    EXPECT_EQ(HexBytes(Head(ReadToc(bench, 0, 0), 20)),
              "00 12 01 01 00 14 01 00 00 00 00 00 00 14 AA 00 00 00 01 92");
    EXPECT_EQ(HexBytes(Head(ReadToc(bench, 0x02, 0, 0xAA), 12)),
              "00 0A 01 01 00 14 AA 00 00 00 07 1B");
    // Format 1 (the last session, asked in the control byte by the kernel):
    // mounting a multi-session disc in vm_guest_peers.
    const std::vector<std::uint8_t> toc = ReadToc(bench, 0, 2);
    ASSERT_EQ(Be16(toc, 0), 2u + 5 * 11) << "A0, A1, A2, track 1, B0";
    const auto entry = [&](int n) { return HexBytes(Head(toc, 15 + 11 * n, 4 + 11 * n)); };
    EXPECT_EQ(entry(2), "01 14 00 A2 00 00 00 00 00 07 1B") << "lead-out at 00:07:27";
    // The next program area at 02:39:27 (LBA 11802 + 150), the last lead-out at 79:59:74.
    EXPECT_EQ(entry(4), "01 50 00 B0 02 27 1B 00 4F 3B 4A");
    EXPECT_TRUE(ReadToc(bench, 0, 0, 2).empty()) << "no track 2";
}

TEST(EmulatedPeerCommands, AtipOfCdMediaOnly) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdRw);
    // A CD-RW (byte 6), the lead-in at 97:27:66, the last lead-out at 79:59:74.
    EXPECT_EQ(HexBytes(Head(ReadToc(bench, 0, 4), 15)),
              "00 1A 00 00 D1 40 C0 00 61 1B 42 00 4F 3B 4A");
    bench.Insert(MediumKind::DvdR);
    EXPECT_TRUE(ReadToc(bench, 0, 4).empty());
}

// Cue sheet entries: CTL/ADR, TNO, INDEX, DATA FORM, SCMS, MIN, SEC, FRAME.
std::vector<std::uint8_t> AudioCueSheet() {
    return {0x01, 0x00, 0,    0x01, 0,    0,    0, 0,    0x01, 0x01, 0,    0x00, 0, 0,
            0,    0,    0x01, 0x01, 1,    0x00, 0, 0,    2,    0,    0x01, 0x02, 1, 0x00,
            0,    0,    6,    0,    0x01, 0xAA, 1, 0x01, 0,    0,    10,   0};
}

std::int32_t SendCueSheet(VirtualDriveSession& bench, std::vector<std::uint8_t> sheet) {
    const auto length = static_cast<std::uint8_t>(sheet.size());
    return bench.Exec({0x5D, 0, 0, 0, 0, 0, 0, 0, length, 0}, &sheet, true);
}

TEST(EmulatedPeerCommands, SessionAtOnceNeedsItsPageAValidSheetAndThePreGapFirst) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR);
    EXPECT_EQ(SendCueSheet(bench, AudioCueSheet()), 2) << "page 05h still asks for TAO";
    EXPECT_EQ(bench.Sense(), "05/2C/00");
    ASSERT_EQ(bench.SetWriteParameters(kSao, 0, 0, false, 0), 0);
    std::vector<std::uint8_t> broken = AudioCueSheet();
    broken[25] = 3;  // track 3 after track 1
    EXPECT_EQ(SendCueSheet(bench, broken), 2);
    EXPECT_EQ(bench.Sense(), "05/26/00");
    ASSERT_EQ(SendCueSheet(bench, AudioCueSheet()), 0);
    const std::vector<std::uint8_t> block(8 * 2352, 0x5A);
    EXPECT_EQ(bench.Write10(0, 8, block), 2) << "writing starts in the pre-gap";
    EXPECT_EQ(bench.Sense(), "05/21/02");
    // The recording from the pre-gap to the lead-out: cdrdao in vm_guest_peers.
}

// READ CD of `blocks` CD-DA sectors from `lba` (byte 9: what to return).
std::vector<std::uint8_t> ReadCd(VirtualDriveSession& bench, std::int32_t lba, std::uint8_t blocks,
                                 std::uint8_t fields = 0x10) {
    const auto at = static_cast<std::uint32_t>(lba);
    std::vector<std::uint8_t> sectors(blocks * 2352u, 0xEE);
    const std::int32_t status =
        bench.Exec({0xBE, 0, std::uint8_t(at >> 24), std::uint8_t(at >> 16), std::uint8_t(at >> 8),
                    std::uint8_t(at), 0, 0, blocks, fields, 0, 0},
                   &sectors);
    return status == 0 ? sectors : std::vector<std::uint8_t>{};
}

std::vector<std::uint8_t> Filled(std::uint8_t byte, std::size_t blocks) {
    return std::vector<std::uint8_t>(blocks * 2352, byte);
}

// The pause before an audio track is audio: in Session At Once it holds what
// the host wrote there; in Track At Once the drive records silence, whatever
// the medium held before. cdparanoia and icedax rip across it in vm_guest_readers.
TEST(EmulatedPeerCommands, AudioPausesAreReadAsRecorded) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdRw);
    ASSERT_EQ(bench.SetWriteParameters(kSao, 0, 0, false, 0), 0);
    // Track 1 at 00:02:00 (LBA 0), track 2's pause at 00:06:00 (300) and its
    // start at 00:08:00 (450), the lead-out at 00:12:00 (750).
    ASSERT_EQ(
        SendCueSheet(bench, {0x01, 0x00, 0, 0x01, 0, 0, 0, 0, 0x01, 0x01, 0, 0x00, 0, 0, 0,  0,
                             0x01, 0x01, 1, 0x00, 0, 0, 2, 0, 0x01, 0x02, 0, 0x00, 0, 0, 6,  0,
                             0x01, 0x02, 1, 0x00, 0, 0, 8, 0, 0x01, 0xAA, 1, 0x01, 0, 0, 12, 0}),
        0);
    ASSERT_EQ(bench.Write10(std::uint32_t(-150), 150, Filled(0x11, 150)), 0) << bench.Sense();
    ASSERT_EQ(bench.Write10(0, 300, Filled(0x22, 300)), 0);
    ASSERT_EQ(bench.Write10(300, 150, Filled(0x5A, 150)), 0);
    ASSERT_EQ(bench.Write10(450, 300, Filled(0x33, 300)), 0);
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    std::vector<std::uint8_t> expected = Filled(0x22, 1);
    expected.resize(3 * 2352, 0x5A);
    EXPECT_EQ(ReadCd(bench, 299, 3), expected) << "the end of track 1, the pause kept";
    std::vector<std::uint8_t> sectors(2 * 2352, 0);
    ASSERT_EQ(bench.Exec({0xB9, 0, 0, 0, 6, 0, 0, 6, 2, 0x10, 0, 0}, &sectors), 0) << "READ CD MSF";
    EXPECT_EQ(sectors, Filled(0x5A, 2));
    EXPECT_EQ(ReadCd(bench, -150, 1), Filled(0, 1)) << "the first pre-gap is not kept";
    EXPECT_EQ(ReadCd(bench, 300, 1, 0xF8), Filled(0x5A, 1)) << "headers and EDC: none on CD-DA";
    EXPECT_TRUE(ReadCd(bench, 300, 1, 0x12).empty()) << "no C2 error bits";
    std::vector<std::uint8_t> block;
    EXPECT_EQ(bench.Read10(300, 1, block), 2);
    EXPECT_EQ(bench.Sense(), "05/64/00") << "READ(10) of a pause, as of any audio block";
    block.assign(2048, 0);
    EXPECT_EQ(bench.Exec({0xA8, 0, 0, 0, 0x01, 0x2C, 0, 0, 0, 1, 0, 0}, &block), 2);
    EXPECT_EQ(bench.Sense(), "05/64/00") << "READ(12) alike";

    // A minimal blank leaves the blocks; Track At Once records the pause anew.
    ASSERT_EQ(bench.Exec({0xA1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 0);
    ASSERT_EQ(bench.SetWriteParameters(kTao, 0, 0, false, 0), 0);
    ASSERT_EQ(bench.Write10(0, 300, Filled(0x44, 300)), 0);
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    ASSERT_EQ(bench.Write10(450, 300, Filled(0x55, 300)), 0) << "after a pause of 150";
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    EXPECT_EQ(ReadCd(bench, 449, 2), [] {
        std::vector<std::uint8_t> silenceThenTrack = Filled(0, 1);
        silenceThenTrack.resize(2 * 2352, 0x55);
        return silenceThenTrack;
    }());
    EXPECT_EQ(ReadCd(bench, 300, 1), Filled(0, 1));
}

// DVD-R Disc At Once: the reserved size bounds the track, and the drive
// finishes the disc once it is written whole (cdrskin -sao in vm_guest_peers).
TEST(EmulatedPeerCommands, DiscAtOnceFillsTheReservedTrackAndFinishesTheDisc) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::DvdR);
    ASSERT_EQ(bench.SetWriteParameters(kSao, 5, kMode1, false, 0), 0);
    ASSERT_EQ(bench.Exec({0x53, 0, 0, 0, 0, 0, 0, 0, 32, 0}), 0);
    const std::vector<std::uint8_t> track = bench.TrackInformation(1, 1);
    EXPECT_EQ(track[6] & 0x80, 0x80) << "reserved";
    EXPECT_EQ(Be32(track, 24), 32u) << "track size";
    EXPECT_EQ(bench.Write10(0, 48, std::vector<std::uint8_t>(48 * 2048, 0)), 2)
        << "more than reserved";
    EXPECT_EQ(bench.Sense(), "05/21/00");
    ASSERT_EQ(bench.WriteDataTrack(0, 16), 0);
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    EXPECT_EQ(bench.DiscInformation()[2], 0x05) << "half written: the session still open";
    ASSERT_EQ(bench.WriteDataTrack(16, 16), 0);
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    EXPECT_EQ(bench.DiscInformation()[2], 0x0E) << "complete, without CLOSE TRACK/SESSION";
}

// The features GET CONFIGURATION marks current, per medium: what the drive
// can do with the disc in it (cdrskin -tao on DVD-R needs 0021h).
TEST(EmulatedPeerCommands, FeaturesAreCurrentForTheMediumInTheDrive) {
    const auto current = [](VirtualDriveSession& bench) {
        std::vector<std::uint8_t> reply(1024, 0);
        std::string codes;
        if (bench.Exec({0x46, 1, 0, 0, 0, 0, 0, 0x04, 0, 0, 0, 0}, &reply) != 0) return codes;
        for (std::size_t at = 8; at + 4 <= 4 + Be32(reply, 0); at += 4 + reply[at + 3])
            codes += HexBytes({reply[at], reply[at + 1]}) + ",";
        return codes;
    };
    VirtualDriveSession bench;
    const std::string always = "00 00,00 01,00 02,00 03,";
    EXPECT_EQ(current(bench), always) << "no medium";
    bench.Insert(MediumKind::CdR);
    EXPECT_EQ(current(bench), always + "00 1D,00 1E,00 21,00 2D,00 2E,01 07,");
    bench.Insert(MediumKind::CdRom, 40);
    EXPECT_EQ(current(bench), always + "00 10,00 1D,00 1E,01 07,");
    bench.Insert(MediumKind::DvdR);
    EXPECT_EQ(current(bench), always + "00 1F,00 21,00 2F,01 07,");
    bench.Insert(MediumKind::DvdPlusRw);
    EXPECT_EQ(current(bench), always + "00 10,00 1F,00 23,00 2A,01 07,");
    bench.Insert(MediumKind::DvdPlusR);
    EXPECT_EQ(current(bench), always + "00 1F,00 2B,01 07,");
    bench.Insert(MediumKind::DvdPlusRDl);
    EXPECT_EQ(current(bench), always + "00 1F,00 2B,00 3B,01 07,");
    bench.Insert(MediumKind::DvdRDl);
    EXPECT_EQ(current(bench), always + "00 1F,00 21,00 2F,01 07,");
    bench.Insert(MediumKind::BdR);
    EXPECT_EQ(current(bench), always + "00 40,00 41,01 07,") << "BD: neither DVD Read nor a page";
    bench.Insert(MediumKind::BdRe);
    EXPECT_EQ(current(bench), always + "00 23,00 40,00 41,01 07,")
        << "unformatted: nothing to read yet";
    std::vector<std::uint8_t> all(1024, 0);
    ASSERT_EQ(bench.Exec({0x46, 0, 0, 0, 0, 0, 0, 0x04, 0, 0, 0, 0}, &all), 0);
    // Profile list of 12, then the features (BD Read 28 bytes, BD Write 24).
    EXPECT_EQ(Be32(all, 0), 4u + 52 + 12 + 8 + 8 + 12 + 4 + 8 + 8 + 12 + 12 + 6 * 8 + 8 + 32 + 28)
        << "every feature, current or not";
}

TEST(EmulatedPeerCommands, PreventedRemovalRefusesTheEject) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR);
    ASSERT_EQ(bench.Exec({0x1E, 0, 0, 0, 0x01, 0}), 0);
    EXPECT_EQ(bench.Exec({0x1B, 0, 0, 0, 0x02, 0}), 2);
    EXPECT_EQ(bench.Sense(), "05/53/02");
    ASSERT_EQ(bench.Exec({0x1E, 0, 0, 0, 0x00, 0}), 0);
    EXPECT_EQ(bench.Exec({0x1B, 0, 0, 0, 0x02, 0}), 0);
}

// MODE SENSE(6): the kernel reads the capabilities page with it (the
// cdrom driver flags of vm_guest_peers).

TEST(EmulatedPeerCommands, FormatCapacitiesAndTrackReservation) {
    VirtualDriveSession drive;
    drive.Insert(MediumKind::DvdPlusRw);
    const std::vector<std::uint8_t> formats = Reply(drive, {0x23, 0, 0, 0, 0, 0, 0, 0, 252, 0});
    // The current capacity (2295104 blocks, formatted, 2048 bytes) and the DVD+RW full format.
    EXPECT_EQ(HexBytes(Head(formats, 20)),
              "00 00 00 10 00 23 05 40 02 00 08 00 00 23 05 40 98 00 00 00");
    EXPECT_EQ(drive.Exec({0x53, 0, 0, 0, 0, 0, 0, 0x10, 0, 0}), 2) << "nothing to reserve on +RW";

    drive.Insert(MediumKind::DvdR);
    EXPECT_EQ(drive.Exec({0x53, 0, 0, 0, 0, 0, 0, 0x10, 0, 0}), 0);
    EXPECT_EQ(drive.Exec({0x53, 0, 0, 0, 0, 0, 0x7F, 0, 0, 0}), 2) << "more than the disc holds";
    EXPECT_EQ(drive.Sense(), "05/24/00");
}

TEST(EmulatedPeerCommands, BufferAndSpeedQueries) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::DvdPlusR);
    const std::vector<std::uint8_t> buffer = Reply(bench, {0x5C, 0, 0, 0, 0, 0, 0, 0, 12, 0});
    EXPECT_EQ(Be32(buffer, 4), 2048u * 1024);
    EXPECT_EQ(Be32(buffer, 8), Be32(buffer, 4)) << "always empty";
    const std::vector<std::uint8_t> speeds =
        Reply(bench, {0xAC, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0x03, 0});
    const std::uint32_t count = (Be32(speeds, 0) - 4) / 16;
    ASSERT_GE(count, 2u);
    EXPECT_GT(Be32(speeds, 8 + 12), Be32(speeds, 8 + 16 + 12)) << "fastest first";
    // SET STREAMING: 5540 kB written per second selects 4x.
    std::vector<std::uint8_t> descriptor(28, 0);
    descriptor[22] = 0x15, descriptor[23] = 0xA4, descriptor[26] = 0x03, descriptor[27] = 0xE8;
    ASSERT_EQ(bench.Exec({0xB6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 28, 0}, &descriptor, true), 0);
    EXPECT_EQ(bench.Drive().CurrentWriteSpeed(), 5540);
}

}  // namespace
