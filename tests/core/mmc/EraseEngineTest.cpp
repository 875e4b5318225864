// The erase procedure: confirmation, checks in order, messages, outcome.
#include "DriveBusy.h"
#include "EraseEngine.h"
#include "FakeDriveFixture.h"
#include "ScriptedReporter.h"
#include "TestEnvironment.h"
#include "modMMC.h"

namespace {

using namespace modMMC;

class EraseFake : public FakeDriveFixture {
  protected:
    EraseOutcome Run(bool quick) {
        EraseEngine engine(reporter, LanguageTexts("frmErase", ""));  // built-in texts
        return engine.Run(drive, quick);
    }
    void InsertCDRW() {
        Answer(kOpGetConfiguration, Profile(0x000A));
        Answer(kOpReadDiscInformation, DiscInformation(0x1E));
    }
    // The one notice or result box after the confirmation.
    const ScriptedReporter::ShownMessage& Result() const { return reporter.messages.at(1); }

    ScriptedReporter reporter;
};

TEST_F(EraseFake, AsksFirstAndNoLeavesTheDriveAlone) {
    reporter.QueueAnswer(MessageAnswer::No);
    EXPECT_EQ(Run(true), EraseOutcome::Declined);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, "此动作将导致您的光碟上的资料丢失，您确定继续吗?");
    EXPECT_EQ(reporter.messages[0].title, "抹除光碟");
    EXPECT_EQ(reporter.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(transport->Commands().empty());
}

TEST_F(EraseFake, NoDiscIsReportedAfterOneReadinessCheck) {
    Answer(kOpTestUnitReady, Sense(2, 0x3A, 0x01));
    EXPECT_EQ(Run(true), EraseOutcome::NoDisc);
    EXPECT_EQ(Result().text, "您的光碟机中没有光碟片");
    EXPECT_EQ(Result().title, "提示");
    EXPECT_EQ(Result().icon, MessageIcon::Exclamation);
    EXPECT_EQ(Opcodes(), std::vector<std::uint8_t>{kOpTestUnitReady});
}

TEST_F(EraseFake, DriveThatNeverBecomesReadyIsBusy) {
    Answer(kOpTestUnitReady, Sense(2, 0x04, 0x01));
    EXPECT_EQ(Run(true), EraseOutcome::DriveBusy);
    EXPECT_EQ(Result().text, "您的刻录机正在忙碌中!");
    EXPECT_EQ(Result().icon, MessageIcon::Exclamation);
    EXPECT_EQ(CountOf(kOpTestUnitReady), 75);
    EXPECT_EQ(CountOf(kOpBlank), 0);
}

TEST_F(EraseFake, CDRIsNotErasable) {
    Answer(kOpGetConfiguration, Profile(0x0009));
    Answer(kOpReadDiscInformation, DiscInformation(0x00));
    EXPECT_EQ(Run(true), EraseOutcome::NotErasable);
    EXPECT_EQ(Result().text, "您放入的光碟不是可重写型光碟!");
    EXPECT_EQ(Result().title, "提示");
    EXPECT_EQ(CountOf(kOpBlank), 0);
    EXPECT_EQ(CountOf(kOpWrite10), 0);
}

TEST_F(EraseFake, QuickAndFullEraseOfCDRW) {
    InsertCDRW();
    EXPECT_EQ(Run(true), EraseOutcome::Erased);
    EXPECT_EQ(HexBytes(transport->Commands().back().cdb), "A1 01 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(reporter.phases, (std::vector<std::string>{"正在抹除光碟 ...", "光碟抹除成功!"}));
    EXPECT_EQ(Result().text, "光碟抹除成功!");
    EXPECT_EQ(Result().title, "信息");
    EXPECT_EQ(Result().icon, MessageIcon::Information);

    transport->ClearCommands();
    EXPECT_EQ(Run(false), EraseOutcome::Erased);
    EXPECT_EQ(HexBytes(transport->Commands().back().cdb), "A1 00 00 00 00 00 00 00 00 00 00 00");
}

TEST_F(EraseFake, FailedBlankIsReportedAsFailure) {
    InsertCDRW();
    Answer(kOpBlank, Sense(3, 0x51));
    EXPECT_EQ(Run(false), EraseOutcome::Failed);
    EXPECT_EQ(reporter.phases.back(), "光碟抹除失败!");
    EXPECT_EQ(Result().text, "光碟抹除失败!");
    EXPECT_EQ(Result().title, "错误");
    EXPECT_EQ(Result().icon, MessageIcon::Exclamation);
}

TEST_F(EraseFake, DriveIsBusyOnlyWhileErasing) {
    InsertCDRW();
    bool busyDuringBlank = false;
    transport->SetResponder([&](const RecordingTransport::Command& command) {
        if (command.cdb[0] == kOpBlank) busyDuringBlank = IsDriveBusy();
        if (command.cdb[0] == kOpGetConfiguration) return Profile(0x000A);
        if (command.cdb[0] == kOpReadDiscInformation) return DiscInformation(0x1E);
        return Reply{};
    });
    EXPECT_FALSE(IsDriveBusy());
    EXPECT_EQ(Run(true), EraseOutcome::Erased);
    EXPECT_TRUE(busyDuringBlank);
    EXPECT_FALSE(IsDriveBusy());
}

TEST_F(EraseFake, TextsComeFromTheLanguageFile) {
    TempFolder folder;
    const std::string file = folder.File("English.lng");
    WriteFile(file, "frmErase.String03=There is no disc in the drive\r\nfrmErase.String04=\n");
    Answer(kOpTestUnitReady, Sense(2, 0x3A));
    EraseEngine engine(reporter, LanguageTexts("frmErase", file));
    EXPECT_EQ(engine.Run(drive, true), EraseOutcome::NoDisc);
    EXPECT_EQ(Result().text, "There is no disc in the drive");
    EXPECT_EQ(Result().title, "提示");  // an empty value keeps the built-in text
}

}  // namespace
