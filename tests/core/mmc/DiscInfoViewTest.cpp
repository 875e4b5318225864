// What the disc information window shows, and when it asks the drive.
#include "DiscInfoView.h"
#include "DriveBusy.h"
#include "ScriptedDriveTest.h"
#include "modMMC.h"

namespace {

using namespace modMMC;

class DiscInfoFake : public ScriptedDriveTest {
  protected:
    void MediaEvent(bool present) {
        Answer(kOpGetEventStatus,
               Data({0, 4, 4, 0x10, 0, static_cast<std::uint8_t>(present ? 2 : 0), 0, 0}));
    }
    void InsertBlankCDR() {
        MediaEvent(true);
        Answer(kOpGetConfiguration, Profile(0x0009));
        Answer(kOpReadDiscInformation, DiscInformation(0x00, 1, 1));
    }
    static DiscInfoTexts Texts(std::string type, std::string sessions, std::string track,
                               std::string disc, std::string session) {
        return {type, sessions, track, disc, session, {}};
    }

    DiscInfoView view;
};

TEST_F(DiscInfoFake, OpeningWithoutMediumKeepsTheLabelsUntilTheFirstTick) {
    Answer(kOpTestUnitReady, Sense(2, 0x3A, 0x01));
    MediaEvent(false);
    EXPECT_EQ(view.Load(drive), std::nullopt);
    EXPECT_EQ(CountOf(kOpTestUnitReady), 1);  // no medium: no waiting
    EXPECT_TRUE(sleeps.empty());
    EXPECT_EQ(view.Tick(drive), DiscInfoView::NotAvailable());
    EXPECT_EQ(DiscInfoView::NotAvailable(), Texts("N/A", "N/A", "N/A", "N/A", "N/A"));
}

TEST_F(DiscInfoFake, BlankCDRShowsCDREmptyEmpty) {
    InsertBlankCDR();
    EXPECT_EQ(view.Load(drive), Texts("CD-R", "1", "1", "Empty", "Empty"));
    EXPECT_TRUE(view.Shown());
    // The readiness wait, the watch's first look (presence and fingerprint),
    // then TEST UNIT READY again for a pending unit attention.
    EXPECT_EQ(Opcodes(),
              (std::vector<std::uint8_t>{kOpTestUnitReady, kOpGetEventStatus,
                                         kOpReadDiscInformation, kOpReadCapacity, kOpTestUnitReady,
                                         kOpReadDiscInformation, kOpGetConfiguration}));
    transport->ClearCommands();
    EXPECT_EQ(view.Tick(drive), std::nullopt);  // already shown
    EXPECT_EQ(Opcodes(), (std::vector<std::uint8_t>{kOpGetEventStatus, kOpReadDiscInformation,
                                                    kOpReadCapacity}));
}

TEST_F(DiscInfoFake, InsertionIsQueriedOnceAndRemovalShowsNA) {
    MediaEvent(false);
    EXPECT_EQ(view.Tick(drive), DiscInfoView::NotAvailable());
    InsertBlankCDR();
    EXPECT_EQ(view.Tick(drive), Texts("CD-R", "1", "1", "Empty", "Empty"));
    EXPECT_EQ(view.Tick(drive), std::nullopt);
    EXPECT_EQ(view.Tick(drive), std::nullopt);
    EXPECT_EQ(CountOf(kOpGetConfiguration), 1);  // the disc's query, once
    MediaEvent(false);
    EXPECT_EQ(view.Tick(drive), DiscInfoView::NotAvailable());
    EXPECT_FALSE(view.Shown());
    InsertBlankCDR();
    EXPECT_TRUE(view.Tick(drive).has_value());
    EXPECT_EQ(CountOf(kOpGetConfiguration), 2);
}

// Without the drive seen empty, a disc is queried again when the drive says
// it changed (a new-media event, a unit attention, whichever command of the
// program gets it), when its fingerprint changed, and after an operation of
// the program had the drive.
TEST_F(DiscInfoFake, ANewMediumIsQueriedAgainWhateverTellsOfIt) {
    InsertBlankCDR();
    ASSERT_TRUE(view.Tick(drive).has_value());
    const auto queriedAgain = [this] {
        const int before = CountOf(kOpGetConfiguration);
        return view.Tick(drive).has_value() && CountOf(kOpGetConfiguration) == before + 1;
    };
    EXPECT_FALSE(queriedAgain());
    AnswerOnce(kOpGetEventStatus, Data({0, 4, 4, 0x10, 0x02, 2, 0, 0}));  // new media
    EXPECT_TRUE(queriedAgain());
    EXPECT_FALSE(queriedAgain());
    AnswerOnce(kOpTestUnitReady, Sense(6, 0x28));  // another window's command gets it
    EXPECT_EQ(TestUnitReady(drive), 2);
    EXPECT_TRUE(queriedAgain());
    AnswerOnce(kOpReadDiscInformation, Sense(6, 0x28));  // the fingerprint's command gets it
    EXPECT_TRUE(queriedAgain());
    EXPECT_FALSE(queriedAgain());
    Answer(kOpReadCapacity, Data({0, 0, 0x12, 0x34, 0, 0, 8, 0}));  // swapped between two ticks
    EXPECT_TRUE(queriedAgain());
    EXPECT_FALSE(queriedAgain());
    { const DriveBusyScope job(drive); }  // a burn, an erase, a tray move
    EXPECT_TRUE(queriedAgain());
    EXPECT_FALSE(queriedAgain());
}

TEST_F(DiscInfoFake, WrittenDiscAndUnknownMedia) {
    MediaEvent(true);
    Answer(kOpGetConfiguration, Profile(0x0009));
    Answer(kOpReadDiscInformation, DiscInformation(0x0D, 2, 3, 0x00));
    EXPECT_EQ(view.Tick(drive), Texts("CD-R", "2", "3", "unComplete", "Complete"));
    Answer(kOpGetConfiguration, Profile(0x0000));
    EXPECT_EQ(DiscInfoView::ShowDiscInfo(drive).discType, "unknown");
}

TEST_F(DiscInfoFake, DriveWithoutMediaEventsFallsBackToReadiness) {
    Answer(kOpGetEventStatus, Sense(5, 0x20));
    Answer(kOpGetConfiguration, Profile(0x0009));
    EXPECT_EQ(view.Tick(drive)->discType, "CD-R");  // TEST UNIT READY good: present
    Answer(kOpTestUnitReady, Sense(2, 0x04, 0x01));
    EXPECT_EQ(view.Tick(drive), std::nullopt);  // becoming ready: state kept
    Answer(kOpTestUnitReady, Sense(2, 0x3A, 0x02));
    EXPECT_EQ(view.Tick(drive), DiscInfoView::NotAvailable());
    Answer(kOpTestUnitReady, {255, 0, 0, 0, {}});
    EXPECT_EQ(view.Tick(drive), DiscInfoView::NotAvailable());  // state kept: absent
}

}  // namespace
