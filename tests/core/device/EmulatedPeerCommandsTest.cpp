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
