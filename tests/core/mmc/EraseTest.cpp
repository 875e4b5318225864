// Erasing on the virtual drive: the confirmation, the checks in order with
// their messages, BLANK or the DVD+RW overwrite, and the disc afterwards.
#include <gtest/gtest.h>

#include <functional>

#include "EraseEngine.h"
#include "ScriptedReporter.h"
#include "VirtualDriveSession.h"
#include "modMMC.h"

namespace {

class Erase : public ::testing::Test {
  protected:
    EraseOutcome Run(bool quick) { return EraseEngine(reporter).Run(session.Id(), quick); }
    std::int32_t DiscState() { return modMMC::GetDiscStatus(session.Id()).DiscState; }
    void ExpectResult(const std::string& text, const std::string& title, MessageIcon icon) {
        ASSERT_FALSE(reporter.messages.empty());
        EXPECT_EQ(reporter.messages.back().text, text);
        EXPECT_EQ(reporter.messages.back().title, title);
        EXPECT_EQ(reporter.messages.back().icon, icon);
    }

    VirtualDriveSession session;
    ScriptedReporter reporter;
};

TEST_F(Erase, AsksFirstAndNoLeavesTheDriveAlone) {
    session.Insert(MediumKind::CdRw, 40);
    reporter.QueueAnswer(MessageAnswer::No);
    EXPECT_EQ(Run(true), EraseOutcome::Declined);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.Messages()[0], "抹除光碟|此动作将导致您的光碟上的资料丢失，您确定继续吗?");
    EXPECT_EQ(reporter.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_FALSE(reporter.messages[0].driveBusy);
    EXPECT_TRUE(session.Opcodes().empty());
}

TEST_F(Erase, RefusalsSayWhyAndTouchNothing) {
    struct Case {
        std::function<void(EmuDrive&)> prepare;
        EraseOutcome outcome;
        const char* text;
    };
    const Case cases[] = {
        {[](EmuDrive&) {}, EraseOutcome::NoDisc, "您的光碟机中没有光碟片"},
        {[](EmuDrive& d) {
             (void)d.InsertBlank(MediumKind::CdRw), d.Faults().notReadyCommands = 999;
         },
         EraseOutcome::DriveBusy, "您的刻录机正在忙碌中!"},
        {[](EmuDrive& d) { (void)d.InsertBlank(MediumKind::CdR); }, EraseOutcome::NotErasable,
         "您放入的光碟不是可重写型光碟!"},
    };
    for (const Case& c : cases) {
        session.Drive().Faults() = {};
        c.prepare(session.Drive());
        session.Transport().ClearCommandLog();
        EXPECT_EQ(Run(true), c.outcome) << c.text;
        ExpectResult(c.text, "提示", MessageIcon::Exclamation);
        EXPECT_EQ(session.Count(modMMC::kOpBlank) + session.Count(modMMC::kOpWrite10), 0u);
    }
    EXPECT_EQ(session.Waits(), std::vector<int>(75, 200)) << "no waiting for a missing disc";
}

// The busy retry of each block is WriteWithRetry's (WriteRetry); that no
// BLANK is sent and the disc then reads as empty, cli_mmc_info.
TEST_F(Erase, DvdPlusRwIsOverwrittenWithZerosInsteadOfBlanked) {
    session.Insert(MediumKind::DvdPlusRw, 40);
    ASSERT_EQ(DiscState(), modMMC::DiscState::kComplete);
    session.Transport().ClearCommandLog();
    EXPECT_EQ(Run(true), EraseOutcome::Completed);
    std::vector<std::pair<std::uint32_t, std::uint16_t>> writes;
    for (std::uint32_t lba = 0; lba < 300; lba += 25) writes.emplace_back(lba, 25);
    EXPECT_EQ(session.Writes(), writes);
    EXPECT_EQ(session.Count(modMMC::kOpSynchronizeCache), 1u);
    EXPECT_EQ(HexBytes(session.Cdbs(modMMC::kOpSetCDSpeed).at(0)),
              "BB 00 FF FF 2B 48 00 00 00 00 00 00");
    for (const auto& entry : session.Transport().CommandLog())
        if (entry.Opcode() == modMMC::kOpModeSelect10) {
            EXPECT_EQ(HexBytes({entry.dataOut.begin() + 8, entry.dataOut.begin() + 18}),
                      "05 32 01 04 08 00 00 00 00 00");  // Track At Once, Mode 1 data
        }
}

TEST_F(Erase, ADvdPlusRwRefusingPage05OrTheSpeedIsStillOverwritten) {
    session.Insert(MediumKind::DvdPlusRw, 40);
    session.Drive().Faults().rejectDefaultModeSense = true;
    EXPECT_EQ(Run(true), EraseOutcome::Completed);
    EXPECT_EQ(session.Count(modMMC::kOpModeSelect10), 0u);
    session.Insert(MediumKind::DvdPlusRw, 40);
    session.Drive().Faults() = {};
    session.Drive().Faults().failures = {{0x55, 0, 1, 5, 0x26, 0}, {0xBB, 0, 1, 5, 0x24, 0}};
    EXPECT_EQ(Run(true), EraseOutcome::Completed);
    EXPECT_EQ(DiscState(), modMMC::DiscState::kEmpty);
}

// A write error on a DVD+RW is proved by cli_mmc_info.
TEST_F(Erase, FailuresAreReportedAsFailures) {
    struct Case {
        const char* name;
        MediumKind medium;
        EmuFaults fault;
        std::size_t writes, flushes;
    };
    EmuFaults blankFails, removed, flushFails;
    blankFails.failures = {{0xA1, 0, 1, 3, 0x51, 0}};
    removed.removeMediumAfterWrites = 2;
    flushFails.failures = {{0x35, 0, 1, 3, 0x0C, 0}};
    const Case cases[] = {
        {"BLANK fails", MediumKind::CdRw, blankFails, 0, 0},
        {"medium removed", MediumKind::DvdPlusRw, removed, 2 + 62, 0},
        {"flush fails", MediumKind::DvdPlusRw, flushFails, 12, 1},
    };
    for (const Case& c : cases) {
        session.Insert(c.medium, 40);
        session.Drive().Faults() = c.fault;
        session.Transport().ClearCommandLog();
        EXPECT_EQ(Run(false), EraseOutcome::Failed) << c.name;
        EXPECT_EQ(session.Count(modMMC::kOpWrite10), c.writes) << c.name;
        EXPECT_EQ(session.Count(modMMC::kOpSynchronizeCache), c.flushes) << c.name;
        EXPECT_EQ(reporter.phases.back(), "光碟抹除失败!");
        ExpectResult("光碟抹除失败!", "错误", MessageIcon::Exclamation);
    }
}

}  // namespace
