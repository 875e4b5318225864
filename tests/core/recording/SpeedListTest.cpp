// The write and read speed lists probed on the virtual recorder, which snaps
// SET CD SPEED down to the speeds it supports; the probe step rule; the write
// capabilities read from page 2Ah.
#include <gtest/gtest.h>

#include "RecordingTestEnvironment.h"
#include "RecordingTransport.h"
#include "SpeedList.h"
#include "TransportSlot.h"
#include "WriteCapabilities.h"

namespace {
std::vector<std::string> Texts(const SpeedList& list) {
    std::vector<std::string> texts;
    for (const auto& entry : list) texts.push_back(entry.text);
    return texts;
}
}  // namespace

TEST(SpeedList, CdAndDvdSpeedsAreTheOnesTheDriveSwitchesTo) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR);
    EXPECT_EQ(Texts(FillWriteSpeeds(bench.Id())),
              (std::vector<std::string>{"48x", "32x", "24x", "16x", "8x", "4x"}));
    // From 48 x 176 kB/s down to 1 x, each asking for pure CAV, after a
    // TEST UNIT READY that clears a unit attention.
    const auto probes = bench.Cdbs(0xBB);
    ASSERT_EQ(probes.size(), 48u);
    EXPECT_EQ(HexBytes(probes.front()), "BB 01 FF FF 21 00 00 00 00 00 00 00");
    EXPECT_EQ(HexBytes(probes.back()), "BB 01 FF FF 00 B0 00 00 00 00 00 00");
    EXPECT_EQ(bench.Opcodes().front(), 0x00);
    EXPECT_EQ(Texts(FillReadSpeeds(bench.Id())),
              (std::vector<std::string>{"48x", "40x", "32x", "24x", "16x", "8x"}));
    EXPECT_EQ(HexBytes(bench.Cdbs(0xBB).back()), "BB 01 00 B0 FF FF 00 00 00 00 00 00");
    bench.Insert(MediumKind::DvdR);
    // 2.4x is offered as "2x": the drive's speed divided by the step, rounded down.
    EXPECT_EQ(Texts(FillWriteSpeeds(bench.Id())),
              (std::vector<std::string>{"16x", "8x", "4x", "2x"}));
    EXPECT_EQ(Texts(FillReadSpeeds(bench.Id())),
              (std::vector<std::string>{"16x", "12x", "8x", "4x"}));
}

// A BD recorder that ignores SET CD SPEED: the speeds go by SET STREAMING in
// steps of 4495 kB/s, the descriptor ending at the medium's last block.
TEST(SpeedList, BluRaySpeedsAreSetWithSetStreaming) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::BdR);
    EXPECT_EQ(Texts(FillWriteSpeeds(bench.Id())), (std::vector<std::string>{"6x", "4x", "2x"}));
    EXPECT_TRUE(bench.Cdbs(0xBB).empty());
    const auto requests = bench.Cdbs(0xB6);
    ASSERT_EQ(requests.size(), 6u);  // 6x down to 1x
    EXPECT_EQ(HexBytes(requests.front()), "B6 00 00 00 00 00 00 00 00 00 1C 00");
    EXPECT_EQ(Texts(FillReadSpeeds(bench.Id())),
              (std::vector<std::string>{"8x", "6x", "4x", "2x"}));
}

TEST(SpeedList, ADriveThatKeepsItsSpeedOffersOnlyThatOne) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR);
    bench.Drive().Faults().speedRequests = EmuFaults::SpeedRequests::Ignore;
    EXPECT_EQ(Texts(FillWriteSpeeds(bench.Id())), (std::vector<std::string>{"48x"}));
    // A drive that reports no current speed at all: "Default" alone.
    auto transport = std::make_unique<RecordingTransport>();
    std::vector<std::uint8_t> page(50, 0);
    page[8] = 0x2A, page[26] = 0x21, page[27] = 0x13;  // maximum write 8467, current 0
    transport->Answer(0x5A, RecordingTransport::Data(page));
    SetTransport(std::move(transport));
    const SpeedList list = FillWriteSpeeds("/dev/sr0");
    SetTransport(nullptr);
    ASSERT_EQ(Texts(list), (std::vector<std::string>{"Default"}));
    EXPECT_TRUE(list.front().IsDefault());
    EXPECT_EQ(list.front().FactorOr(8), 8);
}

TEST(SpeedList, TheStepRule) {
    EXPECT_EQ(ProbeSpeedStep(MediaFamily::CD, 9152), 176);
    EXPECT_EQ(ProbeSpeedStep(MediaFamily::CD, 9153), 1385);  // a fast maximum without DVD media
    EXPECT_EQ(ProbeSpeedStep(MediaFamily::DVD, 100), 1385);
    EXPECT_EQ(ProbeSpeedStep(MediaFamily::BluRay, 100), 4495);
    EXPECT_EQ(MediaSpeedStep(MediaFamily::CD), 176);
    EXPECT_EQ(MediaSpeedStep(MediaFamily::DVD), 1385);
    EXPECT_EQ(MediaSpeedStep(MediaFamily::BluRay), 4495);
    EXPECT_EQ(SpeedValue(24, 1385), 33240);  // above 32767: still unsigned 16 bits
    EXPECT_EQ(SpeedValue(400, 1385), 0xFFFF);
}

TEST(WriteCapabilities, ComeFromTheWriteByteOfPage2A) {
    VirtualDriveSession bench;
    WriteCapabilities capabilities = ReadWriteCapabilities(bench.Id());
    EXPECT_TRUE(capabilities.sensed && capabilities.canWrite && capabilities.testWrite);
    EXPECT_EQ(HexBytes(bench.Cdbs(0x5A).back()), "5A 08 AA 00 00 00 00 00 25 00");
    auto transport = std::make_unique<RecordingTransport>();
    RecordingTransport* drive = transport.get();
    SetTransport(std::move(transport));
    drive->Answer(0x5A, RecordingTransport::Data(std::vector<std::uint8_t>(37, 0)));
    capabilities = ReadWriteCapabilities("/dev/sr0");  // a read-only drive: neither bit
    EXPECT_FALSE(capabilities.canWrite || capabilities.testWrite);
    drive->Answer(0x5A, RecordingTransport::Sense(5, 0x24));
    capabilities = ReadWriteCapabilities("/dev/sr0");  // refused: taken as able to record
    EXPECT_FALSE(capabilities.sensed);
    EXPECT_TRUE(capabilities.canWrite);
    SetTransport(nullptr);
}
