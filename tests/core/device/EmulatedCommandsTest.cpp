// The virtual drive's answers to the basic commands, the queries that work
// without a medium, the faults no engine test reaches, and its handling of
// malformed requests.
#include <gtest/gtest.h>

#include "VirtualDriveSession.h"

namespace {

TEST(EmulatedCommands, TrayAndMediumStatesAsUnitReadyAndMediaEventsSeeThem) {
    VirtualDriveSession drive;
    std::vector<std::uint8_t> event(8, 0);
    auto mediaEvent = [&] {
        event.assign(8, 0);
        EXPECT_EQ(drive.Exec({0x4A, 1, 0, 0, 0x10, 0, 0, 0, 8, 0, 0, 0}, &event), 0);
        return std::pair<int, int>(event[4] & 0x0F, event[5]);
    };
    auto ready = [&] { return drive.Exec({0, 0, 0, 0, 0, 0}) == 0 ? "ready" : drive.Sense(); };
    EXPECT_EQ(ready(), "02/3A/01");  // tray closed, empty
    EXPECT_EQ(mediaEvent(), std::make_pair(0, 0x00));
    EXPECT_EQ(drive.Exec({0x1B, 0, 0, 0, 0x02, 0}), 0);  // eject
    EXPECT_EQ(ready(), "02/3A/02");                      // tray open
    EXPECT_EQ(mediaEvent(), std::make_pair(0, 0x01));

    drive.Insert(MediumKind::CdR);
    EXPECT_EQ(ready(), "ready");
    EXPECT_EQ(drive.Exec({0x1B, 1, 0, 0, 0x02, 0}), 0);  // eject with Immed: disc stays in the tray
    EXPECT_EQ(ready(), "02/3A/02");
    EXPECT_EQ(mediaEvent(), std::make_pair(0, 0x01));
    EXPECT_EQ(drive.Exec({0x1B, 0, 0, 0, 0x03, 0}), 0);  // load
    EXPECT_EQ(mediaEvent(), std::make_pair(2, 0x02)) << "new media, reported once";
    EXPECT_EQ(mediaEvent(), std::make_pair(0, 0x02));
    EXPECT_EQ(ready(), "06/28/00") << "medium may have changed, once";
    EXPECT_EQ(ready(), "ready");
    std::vector<std::uint8_t> sense(18, 0);
    drive.Drive().SetTrayOpen(true);
    ASSERT_EQ(drive.Exec({0x03, 0, 0, 0, 18, 0}, &sense), 0) << "REQUEST SENSE";
    EXPECT_EQ(HexBytes({sense[0], sense[2], sense[12], sense[13]}), "70 02 3A 02");
    EXPECT_EQ(drive.Exec({0x4A, 0, 0, 0, 0x10, 0, 0, 0, 8, 0, 0, 0}, &event), 2) << "not polled";
    EXPECT_EQ(drive.Sense(), "05/24/00");
}

TEST(EmulatedCommands, NotReadyBusyAndMissingCommandFaults) {
    VirtualDriveSession drive;
    drive.Insert(MediumKind::CdR);
    drive.Drive().Faults().notReadyCommands = 2;
    std::vector<std::uint8_t> inquiry(36, 0);
    EXPECT_EQ(drive.Exec({0x12, 0, 0, 0, 36, 0}, &inquiry), 0) << "INQUIRY answers meanwhile";
    // A removable CD/DVD device (the kernel binds sr to type 5), SPC-3, 31 more bytes.
    EXPECT_EQ(HexBytes({inquiry.begin(), inquiry.begin() + 5}), "05 80 05 02 1F");
    EXPECT_NE(drive.CurrentProfile(), 0xFFFF);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(drive.Exec({0, 0, 0, 0, 0, 0}), 2);
        EXPECT_EQ(drive.Sense(), "02/04/01");
    }
    EXPECT_EQ(drive.Exec({0, 0, 0, 0, 0, 0}), 0);
    drive.Drive().Faults().busyCommands = 1;
    EXPECT_EQ(drive.Exec({0, 0, 0, 0, 0, 0}), 8);
    EXPECT_EQ(drive.Sense(), "00/00/00");
    EXPECT_EQ(drive.Exec({0, 0, 0, 0, 0, 0}), 0);
    drive.Drive().Faults().rejectGetConfiguration = true;
    EXPECT_EQ(drive.CurrentProfile(), 0xFFFF);
    EXPECT_EQ(drive.Sense(), "05/20/00");
}

// A long write, a write error, a refused speed, a removed medium and an
// unreadable block are proved by the engines that meet them (ImageBurnerTest,
// AudioBurnFailure, FailureNames, DiscCopierTest).
TEST(EmulatedCommands, InjectedFaultsAnswerWithTheSenseOfARealDrive) {
    VirtualDriveSession drive;
    drive.Insert(MediumKind::CdR);
    drive.Drive().Faults().rejectInquiryControlBits = true;
    drive.Drive().Faults().noMediaEvents = true;
    std::vector<std::uint8_t> data(36, 0);
    EXPECT_EQ(drive.Exec({0x12, 0, 0, 0, 36, 0xC0}, &data), 2) << "inquiry control bits";
    EXPECT_EQ(drive.Sense(), "05/24/00");
    EXPECT_EQ(drive.Exec({0x4A, 1, 0, 0, 0x10, 0, 0, 0, 8, 0, 0, 0}, &data), 2) << "media events";
    EXPECT_EQ(drive.Sense(), "05/20/00");
}

// A pressed CD's profile: cli_mmc_info.
TEST(EmulatedCommands, ProfilesOfPressedDiscsAndTheProfileList) {
    VirtualDriveSession drive;
    EXPECT_EQ(drive.CurrentProfile(), 0);
    drive.Insert(MediumKind::DvdRom, 20);
    EXPECT_EQ(drive.CurrentProfile(), 0x0010);
    drive.Insert(MediumKind::DvdRw);
    drive.Drive().SetTrayOpen(true);
    EXPECT_EQ(drive.CurrentProfile(), 0) << "tray open: no current profile";
    drive.Drive().SetTrayOpen(false);
    std::vector<std::uint8_t> reply(512, 0);
    ASSERT_EQ(drive.Exec({0x46, 2, 0, 0, 0, 0, 0, 0x02, 0, 0, 0, 0}, &reply), 0);
    ASSERT_EQ(reply[9], 0x00);  // feature 0000h
    const int profiles = reply[11] / 4;
    EXPECT_EQ(Be32(reply, 0), 4u + 4 + 4 * profiles) << "only the named feature with RT 2";
    int current = 0;
    for (int i = 0; i < profiles; ++i)
        if (reply[14 + 4 * i] & 1) current = static_cast<int>(Be16(reply, 12 + 4 * i));
    EXPECT_EQ(current, 0x0014);
    EXPECT_EQ(drive.Exec({0x46, 3, 0, 0, 0, 0, 0, 0x02, 0, 0, 0, 0}, &reply), 2);
    EXPECT_EQ(drive.Sense(), "05/24/00");
}

TEST(EmulatedCommands, MalformedRequestsAreRefusedLikeADriveDoes) {
    VirtualDriveSession drive;
    drive.Insert(MediumKind::CdR);
    EXPECT_EQ(drive.Exec({0x07, 0, 0, 0, 0, 0}), 2);  // REASSIGN BLOCKS: not offered
    EXPECT_EQ(drive.Sense(), "05/20/00");
    std::vector<std::uint8_t> data(2048, 0);
    EXPECT_EQ(drive.Exec({0x28, 0, 0, 0, 0, 0}, &data), 2) << "READ(10) cut to 6 bytes";
    EXPECT_EQ(drive.Sense(), "05/24/00");
    EXPECT_EQ(drive.Exec({0x51, 7, 0, 0, 0, 0, 0, 0, 34, 0}, &data), 2) << "unknown data type";
    EXPECT_EQ(drive.Sense(), "05/24/00");
    EXPECT_EQ(drive.Exec({0x12, 1, 0x80, 0, 0x24, 0}, &data), 2) << "no vital product data pages";
    EXPECT_EQ(drive.Sense(), "05/24/00");
    EXPECT_EQ(drive.Read10(0, 1, data), 2) << "nothing recorded on a blank disc";
    EXPECT_EQ(drive.Sense(), "05/21/00");

    std::int32_t timeout = 5;
    const std::uint8_t cdb[20] = {0x00};
    clsEmulatedDrive& transport = drive.Transport();
    EXPECT_EQ(transport.ExecCMD("virtual0", cdb, 0, 0, nullptr, 0, timeout), 2);
    EXPECT_EQ(transport.ExecCMD("virtual0", cdb, 20, 0, nullptr, 0, timeout), 2);
    EXPECT_EQ(transport.ExecCMD("virtual0", nullptr, 6, 0, nullptr, 0, timeout), 2);
    EXPECT_EQ(transport.ExecCMD("virtual0", cdb, 6, 0, nullptr, 0, timeout), 0)
        << "TEST UNIT READY";
    EXPECT_EQ(transport.ExecCMD("virtual7", cdb, 6, 0, nullptr, 0, timeout), 24) << "unknown drive";
    EXPECT_EQ(transport.ExecCMD("virtual0", cdb, 12, 0, nullptr, 0, timeout), 0) << "ATAPI padding";
}

TEST(EmulatedCommands, RepliesStopAtTheAllocationLengthAndTheBuffer) {
    VirtualDriveSession drive;
    drive.Insert(MediumKind::CdR);
    std::vector<std::uint8_t> data(64, 0xEE);
    ASSERT_EQ(drive.Exec({0x51, 0, 0, 0, 0, 0, 0, 0, 31, 0}, &data), 0);
    EXPECT_EQ(Be16(data, 0), 32u) << "the length field still gives the full size";
    EXPECT_EQ(Be32(data, 16), 0x00611B42u) << "ATIP lead-in 97:27:66";
    EXPECT_EQ(Be32(data, 20), 0x004F3B4Au) << "last possible lead-out 79:59:74";
    EXPECT_EQ(data[31], 0xEE) << "byte 31 is beyond the allocation";
    // An allocation length far beyond the buffer writes only the buffer
    // (AddressSanitizer watches the heap block).
    std::vector<std::uint8_t> small(10, 0);
    ASSERT_EQ(drive.Exec({0x51, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0}, &small), 0);
    EXPECT_EQ(Be16(small, 0), 32u);
    std::int32_t timeout = 5;
    const std::uint8_t cdb[10] = {0x51, 0, 0, 0, 0, 0, 0, 0, 34, 0};
    EXPECT_EQ(drive.Transport().ExecCMD("virtual0", cdb, 10, 0, nullptr, 100, timeout), 0)
        << "no buffer: nothing is written";
}

}  // namespace
