// The disc information view against the virtual drive.
#include "DiscInfoView.h"
#include "VirtualDriveFixture.h"
#include "modMMC.h"

namespace {

class VirtualDiscInfo : public VirtualDriveFixture {
  protected:
    DiscInfoView view;
};

TEST_F(VirtualDiscInfo, BlankCDRShowsCDREmptyEmpty) {
    ASSERT_EQ(Drive().InsertBlank(MediumKind::CdR), "");
    const auto texts = view.Load(drive);
    ASSERT_TRUE(texts.has_value());
    EXPECT_EQ(texts->discType, "CD-R");
    EXPECT_EQ(texts->discStatus, "Empty");
    EXPECT_EQ(texts->lastSessionStatus, "Empty");
    EXPECT_EQ(texts->sessions, "1");
    EXPECT_EQ(texts->lastTrack, "1");
    EXPECT_EQ(view.Tick(drive), std::nullopt);
}

TEST_F(VirtualDiscInfo, FollowsRemovalAndInsertion) {
    EXPECT_EQ(view.Load(drive), std::nullopt);
    EXPECT_EQ(view.Tick(drive), DiscInfoView::NotAvailable());
    ASSERT_EQ(Drive().InsertBlank(MediumKind::DvdPlusRw), "");
    const auto inserted = view.Tick(drive);
    ASSERT_TRUE(inserted.has_value());
    EXPECT_EQ(inserted->discType, "DVD+RW");
    EXPECT_EQ(inserted->discStatus, "Empty");  // formatted, but without a file system
    EXPECT_EQ(inserted->lastSessionStatus, "Empty");
    EXPECT_EQ(view.Tick(drive), std::nullopt);
    ASSERT_EQ(Drive().RemoveMedium(), "");
    EXPECT_EQ(view.Tick(drive), DiscInfoView::NotAvailable());
    ASSERT_EQ(Drive().InsertImage(MediumKind::CdR, ImageFile()), "");
    const auto written = view.Tick(drive);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(written->discStatus, "Complete");
    EXPECT_EQ(written->lastSessionStatus, "Complete");
}

TEST_F(VirtualDiscInfo, DriveWithoutMediaEventsStillShowsTheDisc) {
    ASSERT_EQ(Drive().InsertBlank(MediumKind::CdRw), "");
    Drive().Faults().noMediaEvents = true;
    const auto texts = view.Tick(drive);
    ASSERT_TRUE(texts.has_value());
    EXPECT_EQ(texts->discType, "CD-RW");
    ASSERT_EQ(Drive().RemoveMedium(), "");
    EXPECT_EQ(view.Tick(drive), DiscInfoView::NotAvailable());
}

}  // namespace
