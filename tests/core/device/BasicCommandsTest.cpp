#include <gtest/gtest.h>

#include <memory>

#include "DriveLabel.h"
#include "RecordingTransport.h"
#include "ScsiStatus.h"
#include "TransportSlot.h"
#include "modMMCBasic.h"

namespace {

class BasicCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto fake = std::make_unique<RecordingTransport>(
            std::vector<std::string>{"/dev/sr0", "/dev/sr1", "/dev/sr2"});
        transport = fake.get();
        SetTransport(std::move(fake));
    }
    void TearDown() override { SetTransport(nullptr); }

    RecordingTransport* transport = nullptr;
};

// Six bytes without data, 5 s; the tray commands with their Immed and LoEj bits.
TEST_F(BasicCommandsTest, TestUnitReadyAndTrayCommandsAreByteExact) {
    EXPECT_EQ(modMMC::TestUnitReady("/dev/sr0"), 0);
    EXPECT_EQ(modMMC::EjectTray("/dev/sr1", 0), 0);
    EXPECT_EQ(modMMC::EjectTray("/dev/sr1", -1), 0);
    EXPECT_EQ(modMMC::LoadTray("/dev/sr1", -1), 0);
    EXPECT_EQ(modMMC::LoadTray("/dev/sr1", 0), 0);
    std::vector<std::string> sent;
    for (const auto& c : transport->Commands())
        sent.push_back(c.drive + " " + HexBytes(c.cdb) + " " + std::to_string(c.direction) + " " +
                       std::to_string(c.bufferLen) + " " + std::to_string(c.timeout));
    EXPECT_EQ(sent, (std::vector<std::string>{
                        "/dev/sr0 00 00 00 00 00 00 0 0 5", "/dev/sr1 1B 00 00 00 02 00 0 0 5",
                        "/dev/sr1 1B 01 00 00 02 00 0 0 5", "/dev/sr1 1B 01 00 00 03 00 0 0 5",
                        "/dev/sr1 1B 00 00 00 03 00 0 0 5"}));
}

TEST_F(BasicCommandsTest, TrayStatusIsPassedThrough) {
    transport->AnswerOnce(0x1B, RecordingTransport::Sense(0x02, 0x3A));
    EXPECT_EQ(modMMC::LoadTray("/dev/sr0", 0), ScsiStatus::kCheckCondition);
    EXPECT_EQ(transport->LastASC(), 0x3A);
}

TEST_F(BasicCommandsTest, InquiryRetriesOnceWithoutVendorControlBits) {
    transport->AnswerOnce(0x12, RecordingTransport::Sense(0x05, 0x24));
    transport->AnswerOnce(0x12, RecordingTransport::Sense(0x05, 0x24));
    modMMC::InquiryRecord record{};
    EXPECT_EQ(modMMC::Inquiry("/dev/sr0", record), ScsiStatus::kCheckCondition);
    ASSERT_EQ(transport->Commands().size(), 2u);
    EXPECT_EQ(HexBytes(transport->Commands()[0].cdb), "12 00 00 00 24 C0");
    EXPECT_EQ(HexBytes(transport->Commands()[1].cdb), "12 00 00 00 24 00");
    EXPECT_EQ(transport->Commands()[1].bufferLen, 36);
    EXPECT_EQ(transport->Commands()[1].direction, 0);

    transport->ClearCommands();
    EXPECT_EQ(modMMC::Inquiry("/dev/sr0", record), 0);
    EXPECT_EQ(transport->Commands().size(), 1u);  // no retry after success
}

TEST_F(BasicCommandsTest, NoTransportIsAServiceFailure) {
    SetTransport(nullptr);
    EXPECT_EQ(modMMC::TestUnitReady("/dev/sr0"), ScsiStatus::kServiceFailure);
}

TEST_F(BasicCommandsTest, TraceSeesEveryCommand) {
    std::vector<std::string> lines;
    SetCommandTrace(
        [&](const CommandTraceEntry& entry) { lines.push_back(FormatTraceEntry(entry)); });
    transport->AnswerOnce(0x00, RecordingTransport::Sense(0x02, 0x3A, 0x01));
    (void)modMMC::TestUnitReady("/dev/sr0");
    SetCommandTrace({});
    (void)modMMC::TestUnitReady("/dev/sr0");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "00 00 00 00 00 00 in 0 -> 2 [02/3A/01]");
}

std::vector<std::uint8_t> InquiryData(const std::string& vendor, const std::string& product,
                                      const std::string& revision) {
    std::vector<std::uint8_t> data(36, 0);
    data[0] = 0x05;
    std::copy(vendor.begin(), vendor.end(), data.begin() + 8);
    std::copy(product.begin(), product.end(), data.begin() + 16);
    std::copy(revision.begin(), revision.end(), data.begin() + 32);
    return data;
}

TEST_F(BasicCommandsTest, DriveLabelsComeFromInquiryAndSkipSilentDrives) {
    transport->SetResponder([](const RecordingTransport::Command& command) {
        if (command.drive == "/dev/sr1") return RecordingTransport::Reply{2, 5, 0x24, 0, {}};
        return RecordingTransport::Reply{0, 0, 0, 0,
                                         InquiryData("MAPLE   ", "VIRTUAL CD-R", "1.0")};
    });
    EXPECT_EQ(BuildDriveLabel(*transport, 1).value_or("none"),
              "/dev/sr0 HA:1 ID:0 MAPLE   VIRTUAL CD-R1.0");  // NULs removed
    EXPECT_FALSE(BuildDriveLabel(*transport, 2).has_value());
    EXPECT_TRUE(BuildDriveLabel(*transport, 3).has_value());
}

}  // namespace
