// Burns through the virtual drive at the CDB level and checks what a program
// reads back: disc and track information, capacities, the recorded bytes.
#include <gtest/gtest.h>

#include <algorithm>

#include "VirtualDriveSession.h"

namespace {

constexpr std::uint8_t kIncremental = 0, kTao = 1;
constexpr std::uint8_t kDataMode = 4, kAudioMode = 0, kMode1 = 8, kRaw = 0;
constexpr std::uint8_t kFinalise = 0, kKeepOpen = 3;
constexpr std::uint8_t kByNumber = 1;

// Bytes [from, to) of a reply in hex ("" when it is shorter).
std::string Bytes(const std::vector<std::uint8_t>& reply, std::size_t from, std::size_t to) {
    if (reply.size() < to) return "";
    return HexBytes({reply.begin() + std::ptrdiff_t(from), reply.begin() + std::ptrdiff_t(to)});
}

// Audio blocks of 2352 bytes whose bytes count up from `seed`.
std::vector<std::uint8_t> AudioBlocks(std::uint16_t blocks, std::uint8_t seed) {
    std::vector<std::uint8_t> pcm(std::size_t(blocks) * 2352);
    for (std::size_t i = 0; i < pcm.size(); ++i) pcm[i] = static_cast<std::uint8_t>(seed + i * 7);
    return pcm;
}

TEST(EmulatedRecordingTest, TrackTwoStartsAfterPreGapAndRunOut) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR);
    // Blank, NWA valid; start 0, NWA 0, the free blocks of an 80-minute disc.
    EXPECT_EQ(Bytes(bench.TrackInformation(kByNumber, 1), 6, 20),
              "41 01 00 00 00 00 00 00 00 00 00 05 7D A9");

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

    // Appendable, last session incomplete; one session; the invisible track counts.
    EXPECT_EQ(Bytes(bench.DiscInformation(), 2, 7), "05 01 01 01 02");
    EXPECT_EQ(bench.WriteDataTrack(1150, 16), 2) << "only the reported NWA is accepted";
    EXPECT_EQ(bench.Sense(), "05/21/02");
    EXPECT_EQ(bench.WriteDataTrack(1152, 16), 0);
}

TEST(EmulatedRecordingTest, AudioPauseLengthOfThePageSetsTheGap) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR);
    ASSERT_EQ(bench.SetWriteParameters(kTao, kAudioMode, kRaw, false, kFinalise, 225), 0);
    for (std::uint32_t at = 0; at < 304; at += 8)
        ASSERT_EQ(bench.Write10(at, 8, AudioBlocks(8, 0)), 0);
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    EXPECT_EQ(Be32(bench.TrackInformation(kByNumber, 2), 12), 304u + 225) << "no run-out";
    std::vector<std::uint8_t> data;
    EXPECT_EQ(bench.Read10(10, 1, data), 2) << "READ(10) cannot read CD-DA";
    EXPECT_EQ(bench.Sense(), "05/64/00");
    ASSERT_EQ(bench.SetWriteParameters(kTao, kAudioMode, kRaw, false, kFinalise, 75), 0);
    EXPECT_EQ(Be32(bench.TrackInformation(kByNumber, 2), 12), 304u + 150) << "never below 150";
    ASSERT_EQ(bench.SetWriteParameters(kTao, kDataMode, kMode1, false, kFinalise, 225), 0);
    EXPECT_EQ(Be32(bench.TrackInformation(kByNumber, 2), 12), 304u + 150) << "a data track: 150";
}

TEST(EmulatedRecordingTest, MultisessionKeepsTheDiscAppendable) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR);
    ASSERT_EQ(bench.SetWriteParameters(kTao, kDataMode, kMode1, false, kKeepOpen), 0);
    ASSERT_EQ(bench.WriteDataTrack(0, 1000), 0);
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    ASSERT_EQ(bench.CloseTrackSession(2, 1), 0);
    // Appendable, empty last session: session 2 holds the invisible track 2.
    EXPECT_EQ(Bytes(bench.DiscInformation(), 2, 7), "01 01 02 02 02");
    const std::uint32_t second = Be32(bench.TrackInformation(kByNumber, 2), 12);
    EXPECT_EQ(second, 1002u + 6750 + 4500 + 150) << "lead-out, lead-in and pre-gap";
    EXPECT_EQ(bench.TrackInformation(2, 2), bench.TrackInformation(kByNumber, 2)) << "by session";

    ASSERT_EQ(bench.SetWriteParameters(kTao, kDataMode, kMode1, false, kFinalise), 0);
    ASSERT_EQ(bench.WriteDataTrack(second, 320), 0);
    EXPECT_EQ(bench.CloseTrackSession(2, 1), 2) << "the track is still open";
    EXPECT_EQ(bench.Sense(), "05/72/03");
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    ASSERT_EQ(bench.CloseTrackSession(2, 1), 0);
    EXPECT_EQ(Bytes(bench.DiscInformation(), 2, 7), "0E 01 02 02 02");
    EXPECT_EQ(bench.ReadCapacity(), second + 320 + 2 - 1);
    EXPECT_EQ(bench.TrackInformation(0, second + 5)[2], 2) << "track by address";
}

TEST(EmulatedRecordingTest, WritesThatADriveRefuses) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR);
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

    bench.Insert(MediumKind::CdRom, 32);
    EXPECT_EQ(bench.WriteDataTrack(0, 16), 2);
    EXPECT_EQ(bench.Sense(), "05/30/05");
    EXPECT_EQ(bench.Exec({0xA1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 2);
    EXPECT_EQ(bench.Sense(), "05/30/00");
}

TEST(EmulatedRecordingTest, WritesPastTheCapacityFail) {
    VirtualDriveSession bench;
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
    VirtualDriveSession bench;
    bench.Insert(MediumKind::DvdPlusRw);
    EXPECT_EQ(bench.DiscInformation()[7] & 0x03, 0x03) << "background format complete";
    // The formatted size, before and after writing: NWA 0, all 2295104
    // blocks free, packets of 16, a track over the whole disc.
    const auto formatted = [&bench] {
        EXPECT_EQ(bench.ReadCapacity(), 2295103);
        EXPECT_EQ(Bytes(bench.TrackInformation(kByNumber, 1), 12, 28),
                  "00 00 00 00 00 23 05 40 00 00 00 10 00 23 05 40");
    };
    formatted();
    std::vector<std::uint8_t> block;
    ASSERT_EQ(bench.Read10(16, 1, block), 0) << "formatted blocks read as zeros";
    EXPECT_EQ(block, std::vector<std::uint8_t>(2048, 0));

    ASSERT_EQ(bench.WriteDataTrack(1000, 32, 1), 0) << "no next writable address on +RW";
    ASSERT_EQ(bench.WriteDataTrack(0, 300), 0);
    ASSERT_EQ(bench.Read10(1010, 1, block), 0);
    EXPECT_EQ(block[0], std::uint8_t(1011));
    formatted();
    EXPECT_EQ(bench.Exec({0xA1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 2) << "no BLANK on +RW";
    EXPECT_EQ(bench.Sense(), "05/30/00");
    EXPECT_EQ(bench.WriteDataTrack(2295104 - 8, 16), 2);
    EXPECT_EQ(bench.Sense(), "05/21/00");
}

// Each recordable medium through a burn, a copy and an erase, with the
// replies the program reads at each step: profile, disc information byte 2,
// disc structure, track information, capacity.
TEST(EmulatedRecordingTest, EveryRecordableMediumIsBurnedCopiedAndErased) {
    enum class Erase { None, Blank, Overwrite };
    struct Lifecycle {
        MediumKind kind;
        std::uint16_t profile;
        std::uint8_t blankStatus;   // READ DISC INFORMATION byte 2 when blank
        std::uint8_t writeType;     // page 05h write type the program sends
        std::uint8_t burnedStatus;  // byte 2 after the session was closed
        std::int64_t lastLba;       // READ CAPACITY after 320 blocks (+RW: formatted size)
        Erase erase;
        int bookType;  // READ DISC STRUCTURE byte 4 bits 7-4, -1: refused (CD)
    };
    const Lifecycle media[] = {
        {MediumKind::CdR, 0x0009, 0x00, 1, 0x0E, 321, Erase::None, -1},
        {MediumKind::CdRw, 0x000A, 0x10, 1, 0x1E, 321, Erase::Blank, -1},
        {MediumKind::DvdR, 0x0011, 0x00, 0, 0x0E, 319, Erase::None, 0x2},
        {MediumKind::DvdRw, 0x0014, 0x10, 0, 0x1E, 319, Erase::Blank, 0x3},
        {MediumKind::DvdPlusR, 0x001B, 0x00, 1, 0x01, 319, Erase::None, 0xA},
        {MediumKind::DvdPlusRw, 0x001A, 0x1E, 1, 0x1E, 2295103, Erase::Overwrite, 0x9}};
    const std::string descriptor = std::string(1, '\x01') + "CD001";
    const auto hasVolumeDescriptor = [&](VirtualDriveSession& bench) {
        std::vector<std::uint8_t> block;
        return bench.Read10(16, 1, block) == 0 &&
               std::equal(descriptor.begin(), descriptor.end(), block.begin());
    };
    const auto burn = [&](VirtualDriveSession& bench) {
        for (std::uint32_t lba = 0; lba < 320; lba += 16) {
            std::vector<std::uint8_t> chunk(16 * 2048, std::uint8_t(lba / 16 + 1));
            if (lba == 16) std::copy(descriptor.begin(), descriptor.end(), chunk.begin());
            if (const std::int32_t status = bench.Write10(lba, 16, chunk); status != 0)
                return status;
        }
        return 0;
    };
    for (const Lifecycle& c : media) {
        const MediumTraits& traits = TraitsOf(c.kind);
        SCOPED_TRACE(traits.name);
        VirtualDriveSession bench;
        bench.Insert(c.kind);
        EXPECT_EQ(bench.CurrentProfile(), c.profile);
        EXPECT_EQ(bench.DiscInformation()[2], c.blankStatus);
        std::vector<std::uint8_t> structure(512, 0);
        const int book = bench.Exec({0xAD, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0}, &structure) == 0
                             ? structure[4] >> 4
                             : -1;
        EXPECT_EQ(book, c.bookType);
        EXPECT_FALSE(hasVolumeDescriptor(bench));

        ASSERT_EQ(bench.SetWriteParameters(c.writeType, 4, 8, false, 0), 0) << bench.Sense();
        ASSERT_EQ(bench.SetCdSpeed(0xFFFF, traits.cd ? 16 * 176 : 8 * 1385), 0);
        ASSERT_EQ(burn(bench), 0) << bench.Sense();
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

        EXPECT_TRUE(hasVolumeDescriptor(bench));
        std::vector<std::uint8_t> block;
        for (std::uint32_t lba = 0; lba < 320; lba += 37) {
            ASSERT_EQ(bench.Read10(lba, 1, block), 0) << lba;
            EXPECT_EQ(block[2047], std::uint8_t(lba / 16 + 1));
        }
        if (traits.cd) {  // Track At Once: the run-out is counted, not readable
            EXPECT_EQ(bench.Read10(320, 1, block), 2);
            EXPECT_EQ(bench.Sense(), "03/11/05");
        }

        if (c.erase == Erase::None) {
            EXPECT_EQ(bench.Exec({0xA1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 2);
            if (c.burnedStatus == 0x0E) {  // a complete disc takes no more writes
                EXPECT_TRUE(bench.TrackInformation(1, 2).empty());
                EXPECT_EQ(bench.WriteDataTrack(c.lastLba + 1, 16), 2);
                EXPECT_EQ(bench.Sense(), "05/21/02");
            }
            continue;
        }
        if (c.erase == Erase::Blank) {
            ASSERT_EQ(bench.Exec({0xA1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 0);
            EXPECT_EQ(Be32(bench.TrackInformation(1, 1), 12), 0u);
        } else {
            for (std::uint32_t lba = 0; lba < 300; lba += 25)
                ASSERT_EQ(bench.Write10(lba, 25, std::vector<std::uint8_t>(25 * 2048, 0)), 0);
            ASSERT_EQ(bench.SynchronizeCache(), 0);
        }
        EXPECT_EQ(bench.DiscInformation()[2], c.blankStatus);
        EXPECT_FALSE(hasVolumeDescriptor(bench)) << "what the program takes for blank";
        ASSERT_EQ(burn(bench), 0) << "recordable again";
    }
}

TEST(EmulatedRecordingTest, DvdTracksCloseWithCloseTrackNotWithTheFlush) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::DvdR);
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
    EXPECT_EQ(Be32(bench.TrackInformation(1, 2), 12), 32u + 16384) << "after the border zone";
}

}  // namespace

namespace {
// The fuzzer's drive: the medium lives in memory, sparse like the data file.
TEST(EmulatedRecordingTest, AMediumInMemoryReadsBackWhatWasWritten) {
    clsEmulatedDrive transport(EmuDrive::InMemory());
    ASSERT_EQ(transport.Drive(0).InsertBlank(MediumKind::DvdPlusRw), "");
    const auto exec = [&](std::vector<std::uint8_t> cdb, std::vector<std::uint8_t>& data, int out) {
        std::int32_t timeout = 5;
        return transport.ExecCMD("virtual0", cdb.data(), std::uint8_t(cdb.size()), out, data.data(),
                                 std::int32_t(data.size()), timeout);
    };
    std::vector<std::uint8_t> near(2048, 0x11), far(2 * 2048, 0x22), read(3 * 2048, 0xEE);
    ASSERT_EQ(exec({0x2A, 0, 0, 0, 0, 1, 0, 0, 1, 0}, near, 1), 0);
    ASSERT_EQ(exec({0x2A, 0, 0, 0x23, 0x05, 0x3E, 0, 0, 2, 0}, far, 1), 0);  // the last 2 blocks
    ASSERT_EQ(exec({0x28, 0, 0, 0, 0, 0, 0, 0, 3, 0}, read, 0), 0);
    std::vector<std::uint8_t> expected(3 * 2048, 0);  // blocks never written read as zeros
    std::fill_n(expected.begin() + 2048, 2048, 0x11);
    EXPECT_EQ(read, expected);
    ASSERT_EQ(exec({0x28, 0, 0, 0x23, 0x05, 0x3E, 0, 0, 2, 0}, far, 0), 0);
    EXPECT_EQ(far, std::vector<std::uint8_t>(2 * 2048, 0x22));
    // An address beyond 2^31 is out of range, not a negative offset into memory.
    EXPECT_EQ(exec({0x2A, 0, 0x80, 0, 0, 0x31, 0, 0, 1, 0}, near, 1), 2);
}
}  // namespace
