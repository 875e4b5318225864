// Composite queries against the virtual drive, for each medium kind and state.
#include "VirtualDriveFixture.h"
#include "modMMC.h"

namespace {

enum class Content { Blank, Image };

struct MediumCase {
    const char* name;
    MediumKind kind;
    Content content;
    std::int32_t media;
    std::int32_t discState;
    std::int32_t sessionState;
    bool erasable;
    bool dvd;
};

const MediumCase kMedia[] = {
    {"BlankCDR", MediumKind::CdR, Content::Blank, 1, 0, 0, false, false},
    {"BlankCDRW", MediumKind::CdRw, Content::Blank, 2, 0, 0, true, false},
    {"BlankDVDR", MediumKind::DvdR, Content::Blank, 4, 0, 0, false, true},
    {"BlankDVDRW", MediumKind::DvdRw, Content::Blank, 6, 0, 0, true, true},
    {"BlankDVDPlusR", MediumKind::DvdPlusR, Content::Blank, 9, 0, 0, false, true},
    {"BlankDVDPlusRW", MediumKind::DvdPlusRw, Content::Blank, 11, 0, 0, true, true},
    {"CDROM", MediumKind::CdRom, Content::Image, 0, 3, 3, false, false},
    {"DVDROM", MediumKind::DvdRom, Content::Image, 3, 3, 3, false, true},
    {"WrittenCDR", MediumKind::CdR, Content::Image, 1, 3, 3, false, false},
    {"WrittenCDRW", MediumKind::CdRw, Content::Image, 2, 3, 3, true, false},
    {"WrittenDVDR", MediumKind::DvdR, Content::Image, 4, 3, 3, false, true},
    {"WrittenDVDPlusRW", MediumKind::DvdPlusRw, Content::Image, 11, 3, 3, true, true},
};

class VirtualMedia : public VirtualDriveFixture, public ::testing::WithParamInterface<MediumCase> {
  protected:
    void Insert() {
        const MediumCase& medium = GetParam();
        if (medium.content == Content::Blank) {
            ASSERT_EQ(Drive().InsertBlank(medium.kind), "");
        } else {
            ASSERT_EQ(Drive().InsertImage(medium.kind, ImageFile()), "");
        }
    }
};

TEST_P(VirtualMedia, AreReportedAsTheyAre) {
    Insert();
    const MediumCase& medium = GetParam();
    EXPECT_EQ(modMMC::WaitUnitReady(drive, 15000), 1);
    EXPECT_EQ(modMMC::MediaPresent(drive), 1);
    EXPECT_EQ(modMMC::GetMediaType(drive), medium.media);
    EXPECT_EQ(modMMC::IsDVDMedia(drive), medium.dvd);
    std::int32_t status = -1;
    const modMMC::DiscInfoRecord disc = modMMC::GetDiscStatus(drive, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(disc.MediaType, medium.media);
    EXPECT_EQ(disc.DiscState, medium.discState);
    EXPECT_EQ(disc.LastSessionState, medium.sessionState);
    EXPECT_EQ(disc.Erasable, medium.erasable);
    EXPECT_EQ(disc.Sessions, 1);
    EXPECT_EQ(disc.LastTrack, 1);
    EXPECT_TRUE(session.Waits().empty());
}

TEST_P(VirtualMedia, CapacityIsTheLastAddressableBlock) {
    Insert();
    const std::int64_t last = Drive().Media().LastAddressableLba();
    EXPECT_EQ(modMMC::ReadCapacity(drive), last);
    if (GetParam().content == Content::Image) {
        EXPECT_GE(last, 39);  // the 40 image blocks (a TAO CD adds its run-out)
        EXPECT_TRUE(modMMC::HasVolumeDescriptor(drive));
    }
}

INSTANTIATE_TEST_SUITE_P(EachKindAndState, VirtualMedia, ::testing::ValuesIn(kMedia),
                         [](const auto& info) { return std::string(info.param.name); });

class VirtualDrive : public VirtualDriveFixture {};

TEST_F(VirtualDrive, EmptyDriveAnswersNoMediumAtOnce) {
    for (bool trayOpen : {false, true}) {
        Drive().SetTrayOpen(trayOpen);
        EXPECT_EQ(modMMC::WaitUnitReady(drive, 15000), 0);
        EXPECT_EQ(modMMC::MediaPresent(drive), 0);
        EXPECT_EQ(modMMC::GetMediaType(drive), modMMC::Media::kUnknown);
        EXPECT_FALSE(modMMC::IsDVDMedia(drive));
        EXPECT_EQ(modMMC::ReadCapacity(drive), -1);
        std::int32_t status = 0;
        (void)modMMC::GetDiscStatus(drive, status);
        EXPECT_NE(status, 0);
    }
    EXPECT_TRUE(session.Waits().empty());
}

TEST_F(VirtualDrive, RemovedMediumIsNoticed) {
    ASSERT_EQ(Drive().InsertBlank(MediumKind::CdR), "");
    EXPECT_EQ(modMMC::MediaPresent(drive), 1);
    ASSERT_EQ(Drive().RemoveMedium(), "");
    EXPECT_EQ(modMMC::MediaPresent(drive), 0);
    EXPECT_EQ(modMMC::WaitUnitReady(drive, 15000), 0);
}

TEST_F(VirtualDrive, NeverReadyDriveGivesUpWithoutWaitingForReal) {
    ASSERT_EQ(Drive().InsertBlank(MediumKind::CdRw), "");
    Drive().Faults().notReadyCommands = 1000;
    EXPECT_EQ(modMMC::WaitUnitReady(drive, 15000), -1);
    EXPECT_EQ(session.Count(modMMC::kOpTestUnitReady), 75u);
    EXPECT_EQ(session.Waits(), std::vector<int>(75, 200));
}

TEST_F(VirtualDrive, BecomingReadyIsWaitedFor) {
    ASSERT_EQ(Drive().InsertBlank(MediumKind::CdRw), "");
    Drive().Faults().notReadyCommands = 3;
    EXPECT_EQ(modMMC::WaitUnitReady(drive, 15000), 1);
    EXPECT_EQ(session.Waits().size(), 3u);
}

TEST_F(VirtualDrive, LoadedTrayRaisesAUnitAttentionThatIsNotReady) {
    ASSERT_EQ(Drive().InsertBlank(MediumKind::CdR), "");
    ASSERT_EQ(modMMC::EjectTray(drive, 0), 0);
    ASSERT_EQ(modMMC::LoadTray(drive, 0), 0);
    EXPECT_EQ(modMMC::WaitUnitReady(drive, 15000), 1);
    EXPECT_EQ(session.Waits().size(), 1u);  // 06/28/00 once, then ready
}

TEST_F(VirtualDrive, DriveWithoutMediaEventsOrConfiguration) {
    ASSERT_EQ(Drive().InsertBlank(MediumKind::CdR), "");
    Drive().Faults().noMediaEvents = true;
    Drive().Faults().rejectGetConfiguration = true;
    EXPECT_EQ(modMMC::MediaPresent(drive), -1);
    EXPECT_EQ(modMMC::GetMediaType(drive), modMMC::Media::kCDROM);
}

TEST_F(VirtualDrive, SpeedsFollowSetCDSpeed) {
    ASSERT_EQ(Drive().InsertBlank(MediumKind::CdR), "");
    modMMC::DriveSpeeds speeds = modMMC::GetDriveSpeeds(drive);
    EXPECT_GT(speeds.MaxReadSpeed, 0);
    EXPECT_GT(speeds.MaxWriteSpeed, 0);
    EXPECT_EQ(speeds.CurrentWriteSpeed, Drive().CurrentWriteSpeed());
    EXPECT_EQ(speeds.CurrentReadSpeed, Drive().CurrentReadSpeed());
    ASSERT_EQ(modMMC::SetCDSpeed(drive, modMMC::kMaximumSpeed, 8 * 176 + 10, 0), 0);
    speeds = modMMC::GetDriveSpeeds(drive);
    EXPECT_EQ(speeds.CurrentWriteSpeed, Drive().CurrentWriteSpeed());
    EXPECT_LE(speeds.CurrentWriteSpeed, 8 * 176 + 10);
    EXPECT_GT(speeds.CurrentWriteSpeed, 4 * 176);
    ASSERT_EQ(modMMC::SetCDSpeed(drive, modMMC::kMaximumSpeed, modMMC::kMaximumSpeed, 0), 0);
    EXPECT_EQ(modMMC::GetDriveSpeeds(drive).CurrentWriteSpeed, speeds.MaxWriteSpeed);
}

}  // namespace
