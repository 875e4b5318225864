// Each injected fault gives the answer the program's retry and failure paths
// expect, for as long as it was asked for, and then the drive works again.
#include <gtest/gtest.h>

#include "DriveLabel.h"
#include "emulated/VirtualDriveBench.h"

namespace {

std::vector<std::uint8_t> Blocks(std::uint16_t count) {
    return std::vector<std::uint8_t>(std::size_t(count) * 2048, 0x42);
}

TEST(EmulatedFaultsTest, NotReadyCountsOnlyCommandsThatNeedTheMedium) {
    VirtualDriveBench bench(MediumKind::CdR);
    bench.Drive().Faults().notReadyCommands = 2;
    std::vector<std::uint8_t> inquiry(36, 0);
    EXPECT_EQ(bench.Exec({0x12, 0, 0, 0, 36, 0}, &inquiry), 0)
        << "INQUIRY answers while becoming ready";
    EXPECT_NE(bench.CurrentProfile(), 0xFFFF);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(bench.Exec({0, 0, 0, 0, 0, 0}), 2);
        EXPECT_EQ(bench.Sense(), "02/04/01");
    }
    EXPECT_EQ(bench.Exec({0, 0, 0, 0, 0, 0}), 0);
    EXPECT_EQ(bench.Drive().Faults().notReadyCommands, 0);
}

TEST(EmulatedFaultsTest, BusyAnswersStatusEightWithoutSense) {
    VirtualDriveBench bench(MediumKind::CdR);
    bench.Drive().Faults().busyCommands = 1;
    EXPECT_EQ(bench.Exec({0, 0, 0, 0, 0, 0}), 8);
    EXPECT_EQ(bench.Sense(), "00/00/00");
    EXPECT_EQ(bench.Exec({0, 0, 0, 0, 0, 0}), 0);
}

TEST(EmulatedFaultsTest, LongWriteRefusesWritesUntilTheBufferDrains) {
    VirtualDriveBench bench(MediumKind::CdR);
    bench.Drive().Faults().longWriteWrites = 3;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(bench.Write10(0, 16, Blocks(16)), 2);
        EXPECT_EQ(bench.Sense(), "02/04/08");
    }
    EXPECT_TRUE(bench.Drive().Media().tracks.empty()) << "nothing was written meanwhile";
    EXPECT_EQ(bench.Write10(0, 16, Blocks(16)), 0) << "the same write again";
    EXPECT_EQ(bench.Drive().Media().tracks.at(0).length, 16);
}

TEST(EmulatedFaultsTest, WriteErrorHitsTheWriteThatCoversTheLba) {
    VirtualDriveBench bench(MediumKind::CdR);
    bench.Drive().Faults().writeErrorLba = 40;
    EXPECT_EQ(bench.WriteDataTrack(0, 32), 0);
    EXPECT_EQ(bench.Write10(32, 16, Blocks(16)), 2);
    EXPECT_EQ(bench.Sense(), "03/0C/00");
    EXPECT_EQ(bench.Drive().Media().tracks.at(0).length, 32);
}

TEST(EmulatedFaultsTest, UnreadableSectorsFailOnlyThemselves) {
    VirtualDriveBench bench;
    WriteFile(bench.Path("disc.iso"), std::string(2048 * 64, 'd'));
    ASSERT_EQ(bench.Drive().InsertImage(MediumKind::DvdRom, bench.Path("disc.iso")), "");
    bench.Drive().Faults().unreadable = {{10, 12}};
    std::vector<std::uint8_t> data;
    EXPECT_EQ(bench.Read10(9, 1, data), 0);
    for (std::uint32_t lba = 10; lba <= 12; ++lba) {
        EXPECT_EQ(bench.Read10(lba, 1, data), 2);
        EXPECT_EQ(bench.Sense(), "03/11/00");
    }
    EXPECT_EQ(bench.Read10(8, 4, data), 2) << "a read that includes a bad sector fails";
    EXPECT_EQ(bench.Read10(13, 1, data), 0);
}

TEST(EmulatedFaultsTest, CommandsADriveMayLack) {
    VirtualDriveBench bench(MediumKind::CdR);
    EmuFaults& faults = bench.Drive().Faults();
    faults.rejectGetConfiguration = true;
    faults.noMediaEvents = true;
    faults.rejectDefaultModeSense = true;
    EXPECT_EQ(bench.CurrentProfile(), 0xFFFF);
    EXPECT_EQ(bench.Sense(), "05/20/00");
    std::vector<std::uint8_t> event(8, 0);
    EXPECT_EQ(bench.Exec({0x4A, 1, 0, 0, 0x10, 0, 0, 0, 8, 0, 0, 0}, &event), 2);
    EXPECT_EQ(bench.Sense(), "05/20/00");
    EXPECT_TRUE(bench.ModeSense(0x85, 512, 0x08).empty());
    EXPECT_EQ(bench.Sense(), "05/24/00");
    EXPECT_FALSE(bench.ModeSense(0x05, 512).empty()) << "current values still answer";
}

TEST(EmulatedFaultsTest, InquiryControlBitsAreRefusedAndTheRetryPasses) {
    VirtualDriveBench bench;
    bench.Drive().Faults().rejectInquiryControlBits = true;
    bench.InstallInSlot();
    EXPECT_TRUE(BuildDriveLabel(bench.Transport(), 1).has_value());
    const auto& log = bench.Transport().CommandLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].Text(), "12 00 00 00 24 C0 in 36 -> 2 [05/24/00]");
    EXPECT_EQ(log[1].Text(), "12 00 00 00 24 00 in 36 -> 0 [00/00/00]");
}

TEST(EmulatedFaultsTest, SpeedRequestsIgnoredOrRejected) {
    VirtualDriveBench bench(MediumKind::CdR);
    bench.Drive().Faults().speedRequests = EmuFaults::SpeedRequests::Ignore;
    EXPECT_EQ(bench.SetCdSpeed(0xFFFF, 706), 0);
    EXPECT_EQ(bench.Drive().CurrentWriteSpeed(), 8467);
    bench.Drive().Faults().speedRequests = EmuFaults::SpeedRequests::Reject;
    EXPECT_EQ(bench.SetCdSpeed(0xFFFF, 706), 2);
    EXPECT_EQ(bench.Sense(), "05/24/00");
}

TEST(EmulatedFaultsTest, MediumRemovedInTheMiddleOfABurn) {
    VirtualDriveBench bench(MediumKind::CdR);
    bench.Drive().Faults().removeMediumAfterWrites = 2;
    EXPECT_EQ(bench.WriteDataTrack(0, 32), 0);
    EXPECT_EQ(bench.Write10(32, 16, Blocks(16)), 2);
    EXPECT_EQ(bench.Sense(), "02/3A/02");
    EXPECT_EQ(bench.SynchronizeCache(), 2);
    EXPECT_EQ(bench.Sense(), "02/3A/02");
    EXPECT_FALSE(bench.Drive().Media().Present());
    EXPECT_TRUE(bench.Drive().TrayOpen());
}

TEST(EmulatedFaultsTest, ScriptedFailuresOfChosenCommands) {
    VirtualDriveBench bench(MediumKind::CdR);
    bench.Drive().Faults().failures = {{0x35, 0, 1, 0x03, 0x0C, 0x00},
                                       {0x2A, 2, 1, 0x05, 0x64, 0x00}};
    EXPECT_EQ(bench.WriteDataTrack(0, 32), 0) << "the first two writes pass";
    EXPECT_EQ(bench.Write10(32, 16, Blocks(16)), 2);
    EXPECT_EQ(bench.Sense(), "05/64/00");
    EXPECT_EQ(bench.Write10(32, 16, Blocks(16)), 0);
    EXPECT_EQ(bench.SynchronizeCache(), 2);
    EXPECT_EQ(bench.Sense(), "03/0C/00");
    EXPECT_NE(bench.Drive().Media().OpenTrack(), nullptr) << "a failed flush closes nothing";
    EXPECT_EQ(bench.SynchronizeCache(), 0);
    EXPECT_EQ(bench.Drive().Media().OpenTrack(), nullptr);
}

TEST(EmulatedFaultsTest, FaultsScriptedInTheFolderCountDownAcrossRuns) {
    VirtualDriveBench bench;
    bench.Reopen(
        "maple-virtual-drive 1\ntray closed\nmedium cd-r\ncapacity 359849\nsessions 0\n"
        "fault long-write 3\nfault unreadable 5 6\nfault set-cd-speed reject\n"
        "fault fail 5B skip 1 count 2 sense 05 2C 00\n");
    const EmuFaults& faults = bench.Drive().Faults();
    EXPECT_EQ(faults.longWriteWrites, 3);
    ASSERT_EQ(faults.unreadable.size(), 1u);
    EXPECT_EQ(faults.unreadable[0].last, 6);
    EXPECT_EQ(faults.speedRequests, EmuFaults::SpeedRequests::Reject);
    ASSERT_EQ(faults.failures.size(), 1u);
    EXPECT_EQ(faults.failures[0].opcode, 0x5B);
    EXPECT_EQ(faults.failures[0].asc, 0x2C);
    EXPECT_EQ(bench.Write10(0, 16, Blocks(16)), 2);
    bench.Reopen();
    EXPECT_EQ(bench.Drive().Faults().longWriteWrites, 2) << "the remaining count was kept";
    const std::string meta = ReadFile(bench.Folder() + "/drive.meta");
    EXPECT_NE(meta.find("fault long-write 2\n"), std::string::npos) << meta;
    EXPECT_NE(meta.find("fault fail 5B skip 1 count 2 sense 05 2C 00\n"), std::string::npos)
        << meta;
}

}  // namespace
