// The virtual drive's answers to the basic commands, the queries that work
// without a medium, and its handling of malformed requests.
#include <gtest/gtest.h>

#include "DriveLabel.h"
#include "emulated/VirtualDriveBench.h"

namespace {

TEST(EmulatedCommandsTest, InquiryGivesASensibleLabelWithoutAMedium) {
    VirtualDriveBench bench;
    bench.InstallInSlot();
    clsSCSI& transport = bench.Transport();
    EXPECT_EQ(transport.Interface(), "Virtual");
    ASSERT_EQ(transport.DriveCount(), 1);
    EXPECT_EQ(transport.DriveHandle(1), "virtual0");
    EXPECT_EQ(transport.DriveHandle(2), "");
    EXPECT_EQ(BuildDriveLabel(transport, 1), "virtual0 HA:0 ID:0 MAPLE   Virtual Recorder1.00");

    std::vector<std::uint8_t> data(96, 0xEE);
    ASSERT_EQ(bench.Exec({0x12, 0, 0, 0, 0x24, 0xC0}, &data), 0);
    EXPECT_EQ(data[0], 0x05);  // CD/DVD device
    EXPECT_EQ(data[1], 0x80);  // removable
    EXPECT_EQ(data[4], 31);    // additional length
    EXPECT_EQ(data[36], 0xEE) << "allocation length 36 respected";
    EXPECT_EQ(bench.Exec({0x12, 1, 0x80, 0, 0x24, 0}, &data), 2) << "no vital product data pages";
    EXPECT_EQ(bench.Sense(), "05/24/00");
}

TEST(EmulatedCommandsTest, TrayAndMediumStatesAsUnitReadyAndMediaEventsSeeThem) {
    VirtualDriveBench bench;
    std::vector<std::uint8_t> event(8, 0);
    auto mediaEvent = [&] {
        event.assign(8, 0);
        EXPECT_EQ(bench.Exec({0x4A, 1, 0, 0, 0x10, 0, 0, 0, 8, 0, 0, 0}, &event), 0);
        return std::pair<int, int>(event[4] & 0x0F, event[5]);
    };
    EXPECT_EQ(bench.Exec({0, 0, 0, 0, 0, 0}), 2);
    EXPECT_EQ(bench.Sense(), "02/3A/01");  // tray closed, empty
    EXPECT_EQ(mediaEvent(), std::make_pair(0, 0x00));

    EXPECT_EQ(bench.Exec({0x1B, 0, 0, 0, 0x02, 0}), 0);  // eject
    EXPECT_EQ(bench.Exec({0, 0, 0, 0, 0, 0}), 2);
    EXPECT_EQ(bench.Sense(), "02/3A/02");  // tray open
    EXPECT_EQ(mediaEvent(), std::make_pair(0, 0x01));

    ASSERT_EQ(bench.Drive().InsertBlank(MediumKind::CdR), "");
    EXPECT_EQ(bench.Exec({0, 0, 0, 0, 0, 0}), 0);
    EXPECT_EQ(bench.Exec({0x1B, 1, 0, 0, 0x02, 0}), 0);  // eject with Immed: disc stays in the tray
    EXPECT_EQ(bench.Exec({0, 0, 0, 0, 0, 0}), 2);
    EXPECT_EQ(bench.Sense(), "02/3A/02");
    EXPECT_EQ(mediaEvent(), std::make_pair(0, 0x01));

    EXPECT_EQ(bench.Exec({0x1B, 0, 0, 0, 0x03, 0}), 0);  // load
    EXPECT_EQ(mediaEvent(), std::make_pair(2, 0x02)) << "new media, reported once";
    EXPECT_EQ(mediaEvent(), std::make_pair(0, 0x02));
    EXPECT_EQ(bench.Exec({0, 0, 0, 0, 0, 0}), 2);
    EXPECT_EQ(bench.Sense(), "06/28/00") << "medium may have changed, once";
    EXPECT_EQ(bench.Exec({0, 0, 0, 0, 0, 0}), 0);
    EXPECT_EQ(bench.Sense(), "00/00/00");
}

TEST(EmulatedCommandsTest, CurrentProfileFollowsTheMedium) {
    const std::pair<MediumKind, std::uint16_t> cases[] = {
        {MediumKind::CdR, 0x0009},      {MediumKind::CdRw, 0x000A},
        {MediumKind::DvdR, 0x0011},     {MediumKind::DvdRw, 0x0014},
        {MediumKind::DvdPlusR, 0x001B}, {MediumKind::DvdPlusRw, 0x001A}};
    for (const auto& [kind, profile] : cases) {
        VirtualDriveBench bench(kind);
        EXPECT_EQ(bench.CurrentProfile(), profile) << TraitsOf(kind).name;
        bench.Drive().SetTrayOpen(true);
        EXPECT_EQ(bench.CurrentProfile(), 0) << "tray open: no current profile";
    }
    VirtualDriveBench rom;
    EXPECT_EQ(rom.CurrentProfile(), 0);
    WriteFile(rom.Path("one.iso"), std::string(2048 * 20, 'x'));
    ASSERT_EQ(rom.Drive().InsertImage(MediumKind::CdRom, rom.Path("one.iso")), "");
    EXPECT_EQ(rom.CurrentProfile(), 0x0008);
    ASSERT_EQ(rom.Drive().InsertImage(MediumKind::DvdRom, rom.Path("one.iso")), "");
    EXPECT_EQ(rom.CurrentProfile(), 0x0010);
}

TEST(EmulatedCommandsTest, ProfileListMarksTheCurrentProfile) {
    VirtualDriveBench bench(MediumKind::DvdRw);
    std::vector<std::uint8_t> reply(512, 0);
    ASSERT_EQ(bench.Exec({0x46, 2, 0, 0, 0, 0, 0, 0x02, 0, 0, 0, 0}, &reply), 0);
    const std::uint32_t length = Be32(reply, 0);
    ASSERT_EQ(reply[9], 0x00);  // feature 0000h
    const int profiles = reply[11] / 4;
    EXPECT_EQ(length, 4u + 4 + 4 * profiles) << "only the named feature with RT 2";
    int current = 0;
    for (int i = 0; i < profiles; ++i)
        if (reply[14 + 4 * i] & 1) current = static_cast<int>(Be16(reply, 12 + 4 * i));
    EXPECT_EQ(current, 0x0014);
    EXPECT_EQ(bench.Exec({0x46, 3, 0, 0, 0, 0, 0, 0x02, 0, 0, 0, 0}, &reply), 2);
    EXPECT_EQ(bench.Sense(), "05/24/00");
}

TEST(EmulatedCommandsTest, MediaEventsNeedThePolledBit) {
    VirtualDriveBench bench(MediumKind::CdR);
    std::vector<std::uint8_t> reply(8, 0);
    EXPECT_EQ(bench.Exec({0x4A, 0, 0, 0, 0x10, 0, 0, 0, 8, 0, 0, 0}, &reply), 2);
    EXPECT_EQ(bench.Sense(), "05/24/00");
    ASSERT_EQ(bench.Exec({0x4A, 1, 0, 0, 0x10, 0, 0, 0, 8, 0}, &reply), 0) << "10-byte form";
    EXPECT_NE(Be16(reply, 0), 0u);
    EXPECT_EQ(reply[2], 0x04);  // media class
    EXPECT_EQ(reply[5], 0x02);  // present
}

TEST(EmulatedCommandsTest, MalformedRequestsAreRefusedLikeADriveDoes) {
    VirtualDriveBench bench(MediumKind::CdR);
    EXPECT_EQ(bench.Exec({0x43, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 2);  // READ TOC: not offered
    EXPECT_EQ(bench.Sense(), "05/20/00");
    EXPECT_EQ(bench.Exec({0x1A, 0, 0x05, 0, 0xFF, 0}), 2);  // MODE SENSE(6): ATAPI drives lack it
    EXPECT_EQ(bench.Sense(), "05/20/00");
    std::vector<std::uint8_t> data(2048, 0);
    EXPECT_EQ(bench.Exec({0x28, 0, 0, 0, 0, 0}, &data), 2) << "READ(10) cut to 6 bytes";
    EXPECT_EQ(bench.Sense(), "05/24/00");
    EXPECT_EQ(bench.Exec({0x51, 7, 0, 0, 0, 0, 0, 0, 34, 0}, &data), 2) << "unknown data type";
    EXPECT_EQ(bench.Sense(), "05/24/00");
    EXPECT_EQ(bench.Read10(0, 1, data), 2) << "nothing recorded on a blank disc";
    EXPECT_EQ(bench.Sense(), "05/21/00");

    std::int32_t timeout = 5;
    const std::uint8_t cdb[20] = {0x00};
    clsEmulatedDrive& drive = bench.Transport();
    EXPECT_EQ(drive.ExecCMD("virtual0", cdb, 0, 0, nullptr, 0, timeout), 2);
    EXPECT_EQ(drive.ExecCMD("virtual0", cdb, 20, 0, nullptr, 0, timeout), 2);
    EXPECT_EQ(drive.ExecCMD("virtual0", nullptr, 6, 0, nullptr, 0, timeout), 2);
    EXPECT_EQ(drive.ExecCMD("virtual0", cdb, 6, 0, nullptr, 0, timeout), 0) << "TEST UNIT READY";
    EXPECT_EQ(drive.ExecCMD("virtual7", cdb, 6, 0, nullptr, 0, timeout), 24) << "unknown drive";
    EXPECT_EQ(drive.ExecCMD("virtual0", cdb, 12, 0, nullptr, 0, timeout), 0) << "ATAPI padding";
}

TEST(EmulatedCommandsTest, RepliesStopAtTheAllocationLengthAndTheBuffer) {
    VirtualDriveBench bench(MediumKind::CdR);
    std::vector<std::uint8_t> data(64, 0xEE);
    ASSERT_EQ(bench.Exec({0x51, 0, 0, 0, 0, 0, 0, 0, 31, 0}, &data), 0);
    EXPECT_EQ(Be16(data, 0), 32u) << "the length field still gives the full size";
    EXPECT_EQ(Be32(data, 16), 0x00611B42u) << "ATIP lead-in 97:27:66";
    EXPECT_EQ(Be32(data, 20), 0x004F3B4Au) << "last possible lead-out 79:59:74";
    EXPECT_EQ(data[30], 0x00);
    EXPECT_EQ(data[31], 0xEE) << "byte 31 is beyond the allocation";
    // An allocation length far beyond the buffer writes only the buffer
    // (AddressSanitizer watches the heap block).
    std::vector<std::uint8_t> small(10, 0);
    ASSERT_EQ(bench.Exec({0x51, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0}, &small), 0);
    EXPECT_EQ(Be16(small, 0), 32u);
    std::int32_t timeout = 5;
    const std::uint8_t cdb[10] = {0x51, 0, 0, 0, 0, 0, 0, 0, 34, 0};
    EXPECT_EQ(bench.Transport().ExecCMD("virtual0", cdb, 10, 0, nullptr, 100, timeout), 0)
        << "no buffer: nothing is written";
}

TEST(EmulatedCommandsTest, RequestSenseReportsThePendingCondition) {
    VirtualDriveBench bench;
    std::vector<std::uint8_t> sense(18, 0);
    ASSERT_EQ(bench.Exec({0x03, 0, 0, 0, 18, 0}, &sense), 0);
    EXPECT_EQ(sense[0], 0x70);
    EXPECT_EQ(sense[2], 0x02);
    EXPECT_EQ(sense[12], 0x3A);
    EXPECT_EQ(sense[13], 0x01);
}

}  // namespace
