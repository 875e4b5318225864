// Probing the write and read speed lists against a scripted drive whose
// capabilities page and speed behaviour each case chooses.
#include <gtest/gtest.h>

#include <algorithm>

#include "RecordingTestEnvironment.h"
#include "RecordingTransport.h"
#include "SpeedList.h"
#include "TransportSlot.h"
#include "WriteCapabilities.h"
#include "clsEmulatedDrive.h"

namespace {
std::vector<std::string> Texts(const SpeedList& list) {
    std::vector<std::string> texts;
    for (const auto& entry : list) texts.push_back(entry.text);
    return texts;
}

// A drive that reports speeds on page 2Ah and snaps SET CD SPEED down to the
// speeds it supports (or ignores it).
struct ScriptedSpeedDrive {
    std::uint16_t maxRead = 0, maxWrite = 0, currentRead = 0, currentWrite = 0;
    std::vector<std::uint16_t> supported;  // kB/s, ascending
    bool dvd = false;
    bool ignoresSpeed = false;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> requests;  // read, write

    std::uint16_t Snap(std::uint16_t request) const {
        std::uint16_t result = supported.empty() ? request : supported.front();
        for (std::uint16_t speed : supported)
            if (speed <= request) result = speed;
        return result;
    }

    RecordingTransport::Reply Answer(const RecordingTransport::Command& command) {
        RecordingTransport::Reply reply;
        const auto put16 = [&](std::size_t at, std::uint16_t value) {
            reply.dataIn[at] = static_cast<std::uint8_t>(value >> 8);
            reply.dataIn[at + 1] = static_cast<std::uint8_t>(value);
        };
        switch (command.cdb[0]) {
            case 0x5A:  // MODE SENSE(10): capabilities page after an 8-byte header
                reply.dataIn.assign(50, 0);
                reply.dataIn[8] = 0x2A;
                reply.dataIn[11] = 0x05;  // CD-R write, test write
                put16(16, maxRead);
                put16(22, currentRead);
                put16(26, maxWrite);
                put16(28, currentWrite);
                break;
            case 0xBB: {  // SET CD SPEED
                const std::uint16_t read = command.cdb[2] << 8 | command.cdb[3];
                const std::uint16_t write = command.cdb[4] << 8 | command.cdb[5];
                requests.emplace_back(read, write);
                if (!ignoresSpeed) {
                    currentWrite = Snap(write);
                    currentRead = Snap(read);
                }
                break;
            }
            case 0xAD:  // READ DISC STRUCTURE: only DVD media answer
                if (dvd) {
                    reply.dataIn = {0x08, 0x02};
                } else {
                    reply = {2, 0x05, 0x30, 0x02, {}};
                }
                break;
            default:
                break;
        }
        return reply;
    }
};

class SpeedListTest : public ::testing::Test {
  protected:
    void Install() {
        auto transport = std::make_unique<RecordingTransport>();
        transport->SetResponder([this](const auto& command) { return drive.Answer(command); });
        m_transport = transport.get();
        SetTransport(std::move(transport));
    }
    void TearDown() override { TakeTransport().reset(); }

    ScriptedSpeedDrive drive;
    RecordingTransport* m_transport = nullptr;
};
}  // namespace

TEST_F(SpeedListTest, AFastMaximumWithoutDvdMediaUsesTheDvdStep) {
    drive.maxWrite = 22160;  // 16 x 1385, CD in the drive
    drive.supported = {5540, 11080, 22160};
    Install();
    const SpeedList list = FillWriteSpeeds("/dev/sr0");
    ASSERT_FALSE(drive.requests.empty());
    EXPECT_EQ(drive.requests.front().second, 22160);
    EXPECT_EQ(drive.requests.size(), 16u);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"16x", "8x", "4x"}));
}

TEST_F(SpeedListTest, TheStepRuleAndTheRounding) {
    EXPECT_EQ(ProbeSpeedStep(false, 9152), 176);
    EXPECT_EQ(ProbeSpeedStep(false, 9153), 1385);
    EXPECT_EQ(ProbeSpeedStep(true, 100), 1385);
    EXPECT_EQ(MediaSpeedStep(false), 176);
    EXPECT_EQ(MediaSpeedStep(true), 1385);
    EXPECT_EQ(SpeedValue(24, 1385), 33240);  // above 32767: still unsigned 16 bits
    EXPECT_EQ(SpeedValue(400, 1385), 0xFFFF);
    // 2.5 x 176 = 440 kB/s rounds to 2 (halves to even): probe 2, 1.
    drive.maxWrite = 440;
    drive.supported = {176, 352};
    Install();
    EXPECT_EQ(Texts(FillWriteSpeeds("/dev/sr0")), (std::vector<std::string>{"2x", "1x"}));
}

TEST_F(SpeedListTest, ADriveThatIgnoresEveryRequestOffersOnlyDefault) {
    drive.maxWrite = 8467;
    drive.currentWrite = 0;
    drive.ignoresSpeed = true;
    Install();
    const SpeedList list = FillWriteSpeeds("/dev/sr0");
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"Default"}));
    EXPECT_TRUE(list.front().IsDefault());
    EXPECT_EQ(list.front().FactorOr(8), 8);
}

TEST_F(SpeedListTest, NoMaximumGivesDefaultOnceWithoutProbing) {
    drive.maxWrite = 87;  // below half a step: top 0
    Install();
    EXPECT_EQ(Texts(FillWriteSpeeds("/dev/sr0")), (std::vector<std::string>{"Default"}));
    EXPECT_TRUE(drive.requests.empty());
}

TEST_F(SpeedListTest, ReadSpeedsProbeTheReadSide) {
    drive.maxRead = 7040;  // 40 x 176
    drive.supported = {1408, 3520, 7040};
    drive.dvd = false;
    Install();
    const SpeedList list = FillReadSpeeds("/dev/sr0");
    ASSERT_EQ(drive.requests.size(), 40u);
    EXPECT_EQ(drive.requests.front(), std::make_pair(std::uint16_t{7040}, std::uint16_t{0xFFFF}));
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"40x", "20x", "8x"}));
}

TEST_F(SpeedListTest, ADvdInTheDriveProbesWithTheDvdStep) {
    drive.maxRead = 5540;  // 4 x 1385
    drive.supported = {1385, 2770, 5540};
    drive.dvd = true;
    Install();
    EXPECT_EQ(Texts(FillReadSpeeds("/dev/sr0")), (std::vector<std::string>{"4x", "2x", "1x"}));
}

TEST_F(SpeedListTest, CapabilitiesComeFromTheWriteByteOfPage2A) {
    Install();
    WriteCapabilities capabilities = ReadWriteCapabilities("/dev/sr0");
    EXPECT_TRUE(capabilities.sensed);
    EXPECT_TRUE(capabilities.canWrite);
    EXPECT_TRUE(capabilities.testWrite);
    const auto& sense = m_transport->Commands().back();
    EXPECT_EQ(HexBytes(sense.cdb), "5A 08 AA 00 00 00 00 00 25 00");
    // A read-only drive: neither bit.
    m_transport->SetResponder([](const auto&) {
        RecordingTransport::Reply reply;
        reply.dataIn.assign(37, 0);
        return reply;
    });
    capabilities = ReadWriteCapabilities("/dev/sr0");
    EXPECT_FALSE(capabilities.canWrite);
    EXPECT_FALSE(capabilities.testWrite);
    // A drive that refuses the page is taken as able to record.
    m_transport->SetResponder([](const auto&) {
        return RecordingTransport::Reply{2, 0x05, 0x24, 0x00, {}};
    });
    capabilities = ReadWriteCapabilities("/dev/sr0");
    EXPECT_FALSE(capabilities.sensed);
    EXPECT_TRUE(capabilities.canWrite);
}

// The same probes against the virtual recorder, which rounds requests down.
TEST(SpeedListOnVirtualDrive, CdAndDvdSpeedsAreTheOnesTheDriveSwitchesTo) {
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
    bench.Insert(MediumKind::DvdR);
    // 2.4x is offered as "2x": the drive's speed divided by the step, rounded down.
    EXPECT_EQ(Texts(FillWriteSpeeds(bench.Id())),
              (std::vector<std::string>{"16x", "8x", "4x", "2x"}));
}
