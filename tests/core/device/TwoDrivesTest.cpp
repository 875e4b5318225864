// Two recorders driven at once from two threads: each thread reads the sense
// of its own drive's commands, and a job on one drive leaves the other free.
#include <gtest/gtest.h>

#include <thread>

#include "DriveBusy.h"
#include "ScsiStatus.h"
#include "TransportSlot.h"
#include "VirtualDriveSession.h"
#include "modMMCBasic.h"

namespace {

struct Expected {
    std::int32_t status;
    SenseFields sense;
};

using TrayCommand = std::int32_t (*)(const std::string&, std::int16_t);

// Sends `rounds` pairs of commands (TEST UNIT READY, `tray`) to `drive` and
// counts the answers whose status or sense (read from the transport right
// after) is not `expected`.
int Mismatches(const std::string& drive, TrayCommand tray, const Expected (&expected)[2],
               int rounds) {
    int mismatches = 0;
    for (int i = 0; i < 2 * rounds; ++i) {
        const std::int32_t status =
            i % 2 == 0 ? modMMC::TestUnitReady(drive) : tray(drive, modMMC::Immed::kOn);
        const Expected& want = expected[i % 2];
        const clsSCSI& transport = *Transport();
        if (status != want.status || transport.LastSK() != want.sense.key ||
            transport.LastASC() != want.sense.asc || transport.LastASCQ() != want.sense.ascq)
            ++mismatches;
    }
    return mismatches;
}

TEST(TwoDrives, EachThreadReadsTheSenseOfItsOwnDrive) {
    VirtualDriveSession session(2);
    session.Insert(MediumKind::CdR, 0, 1);
    // Drive 0 has no disc: TEST UNIT READY fails with 02/3A/01, closing the
    // tray passes. Drive 1 holds a disc and prevents its removal: TEST UNIT
    // READY passes, the eject fails with 05/53/02.
    const std::uint8_t prevent[6] = {0x1E, 0, 0, 0, 0x01, 0};  // PREVENT ALLOW MEDIUM REMOVAL
    std::int32_t timeout = 5;
    ASSERT_EQ(Transport()->ExecCMD(session.Id(1), prevent, 6, 0, nullptr, 0, timeout),
              ScsiStatus::kGood);
    const Expected noDisc[2] = {{ScsiStatus::kCheckCondition, {0x02, 0x3A, 0x01}},
                                {ScsiStatus::kGood, {}}};
    const Expected locked[2] = {{ScsiStatus::kGood, {}},
                                {ScsiStatus::kCheckCondition, {0x05, 0x53, 0x02}}};
    constexpr int kRounds = 2000;
    int mismatches[2] = {-1, -1};
    std::thread first(
        [&] { mismatches[0] = Mismatches(session.Id(0), &modMMC::LoadTray, noDisc, kRounds); });
    std::thread second(
        [&] { mismatches[1] = Mismatches(session.Id(1), &modMMC::EjectTray, locked, kRounds); });
    first.join();
    second.join();
    EXPECT_EQ(mismatches[0], 0);
    EXPECT_EQ(mismatches[1], 0);
}

TEST(TwoDrives, AJobOnOneDriveLeavesTheOtherFree) {
    const std::uint64_t ended[2] = {DriveJobsEnded("virtual0"), DriveJobsEnded("virtual1")};
    {
        const DriveBusyScope job("virtual0");
        EXPECT_TRUE(IsDriveBusy("virtual0"));
        EXPECT_FALSE(IsDriveBusy("virtual1"));
        EXPECT_TRUE(AnyDriveBusy());
    }
    EXPECT_FALSE(AnyDriveBusy());
    EXPECT_EQ(DriveJobsEnded("virtual0"), ended[0] + 1);
    EXPECT_EQ(DriveJobsEnded("virtual1"), ended[1]);
}

}  // namespace
