// The Write Parameters page and erasing, against the virtual drive.
#include <algorithm>
#include <array>

#include "EraseEngine.h"
#include "ScriptedReporter.h"
#include "VirtualDriveFixture.h"
#include "clsWPP.h"
#include "modMMC.h"

namespace {

class VirtualWritePage : public VirtualDriveFixture {};

TEST_F(VirtualWritePage, SetValuesReachTheDriveAndReadBack) {
    ASSERT_EQ(Drive().InsertBlank(MediumKind::CdR), "");
    clsWPP page;
    ASSERT_TRUE(page.GetData(drive));
    EXPECT_EQ(page.HeaderSize(), 7);
    page.SetcWriteType(1);
    page.SetTestMode(true);
    page.SetTrackMode(4);
    page.SetDataBlockType(8);
    page.SetMultisession(3);
    page.SetSessionFormat(0);
    page.SetAudioPauseLength(150);
    ASSERT_TRUE(page.SendData(drive));

    // The drive's current page holds what was sent.
    const auto& current = Drive().WriteParameters();
    EXPECT_EQ(current[2], 0x11);
    EXPECT_EQ(current[3], 0xC4);
    EXPECT_EQ(current[4], 0x08);
    EXPECT_EQ(current[14], 0x00);
    EXPECT_EQ(current[15], 150);

    // Read back through MODE SENSE of the current values.
    std::array<std::uint8_t, 512> reply{};
    ASSERT_EQ(modMMC::ModeSense10(drive, 0x05, reply.data(), reply.size()), 0);
    EXPECT_TRUE(std::equal(current.begin() + 2, current.end(), reply.begin() + 10));

    page.ExtractData();
    EXPECT_EQ(page.cWriteType(), 1);
    EXPECT_TRUE(page.TestMode());
    EXPECT_EQ(page.TrackMode(), 4);
    EXPECT_EQ(page.DataBlockType(), 8);
    EXPECT_EQ(page.Multisession(), 3);
    EXPECT_EQ(page.AudioPauseLength(), 150);
    EXPECT_FALSE(page.BURNProof());
    EXPECT_EQ(page.PacketSize(), 0);
}

TEST_F(VirtualWritePage, DriveRefusingDefaultValuesMakesGetDataFalse) {
    ASSERT_EQ(Drive().InsertBlank(MediumKind::CdR), "");
    Drive().Faults().rejectDefaultModeSense = true;
    clsWPP page;
    EXPECT_FALSE(page.GetData(drive));
}

class VirtualErase : public VirtualDriveFixture {
  protected:
    EraseOutcome Erase(bool quick) {
        EraseEngine engine(reporter, LanguageTexts("frmErase", ""));
        return engine.Run(drive, quick);
    }
    std::vector<std::uint8_t> BlankCommands() const {
        std::vector<std::uint8_t> types;
        for (const auto& cdb : session.Cdbs(modMMC::kOpBlank)) types.push_back(cdb.at(1));
        return types;
    }
    modMMC::DiscInfoRecord Disc() { return modMMC::GetDiscStatus(drive); }

    ScriptedReporter reporter;
};

TEST_F(VirtualErase, CDRWQuickAndFull) {
    for (const bool quick : {true, false}) {
        ASSERT_EQ(Drive().InsertImage(MediumKind::CdRw, ImageFile()), "");
        ASSERT_EQ(Disc().DiscState, modMMC::DiscState::kComplete);
        session.Transport().ClearCommandLog();
        EXPECT_EQ(Erase(quick), EraseOutcome::Erased);
        EXPECT_EQ(BlankCommands(),
                  std::vector<std::uint8_t>{quick ? std::uint8_t{1} : std::uint8_t{0}});
        const modMMC::DiscInfoRecord disc = Disc();
        EXPECT_EQ(disc.DiscState, modMMC::DiscState::kEmpty);
        EXPECT_EQ(disc.LastSessionState, modMMC::DiscState::kEmpty);
        EXPECT_TRUE(Drive().Media().tracks.empty());
        EXPECT_EQ(reporter.messages.back().text, "光碟抹除成功!");
    }
}

TEST_F(VirtualErase, DVDPlusRWIsOverwrittenAndThenReadsEmpty) {
    ASSERT_EQ(Drive().InsertImage(MediumKind::DvdPlusRw, ImageFile()), "");
    ASSERT_EQ(Disc().DiscState, modMMC::DiscState::kComplete);
    session.Transport().ClearCommandLog();
    EXPECT_EQ(Erase(true), EraseOutcome::Erased);
    EXPECT_TRUE(BlankCommands().empty());
    EXPECT_EQ(session.Count(modMMC::kOpWrite10), 12u);
    EXPECT_EQ(session.Count(modMMC::kOpSynchronizeCache), 1u);
    const modMMC::DiscInfoRecord disc = Disc();
    EXPECT_EQ(disc.DiscState, modMMC::DiscState::kEmpty);
    EXPECT_EQ(disc.LastSessionState, modMMC::DiscState::kEmpty);
    std::array<std::uint8_t, 2048> sector{};
    ASSERT_EQ(modMMC::Read10(drive, 16, 1, sector.data(), 2048), 0);
    EXPECT_TRUE(std::all_of(sector.begin(), sector.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(VirtualErase, DVDPlusRWLongWritesAreWaitedOut) {
    ASSERT_EQ(Drive().InsertImage(MediumKind::DvdPlusRw, ImageFile()), "");
    Drive().Faults().longWriteWrites = 4;
    EXPECT_EQ(Erase(false), EraseOutcome::Erased);
    EXPECT_EQ(session.Waits(), std::vector<int>(4, 100));
    EXPECT_EQ(Disc().DiscState, modMMC::DiscState::kEmpty);
}

TEST_F(VirtualErase, DVDPlusRWWriteErrorEndsInFailure) {
    ASSERT_EQ(Drive().InsertImage(MediumKind::DvdPlusRw, ImageFile()), "");
    Drive().Faults().writeErrorLba = 60;
    session.Transport().ClearCommandLog();
    EXPECT_EQ(Erase(true), EraseOutcome::Failed);
    EXPECT_EQ(session.Count(modMMC::kOpWrite10), 3u);  // LBAs 0 and 25 written, 50..74 fails
    EXPECT_EQ(session.Count(modMMC::kOpSynchronizeCache), 0u);
    EXPECT_EQ(reporter.messages.back().text, "光碟抹除失败!");
    EXPECT_EQ(reporter.messages.back().icon, MessageIcon::Exclamation);
}

TEST_F(VirtualErase, DVDPlusRWRemovedDuringTheOverwriteEndsInFailure) {
    ASSERT_EQ(Drive().InsertImage(MediumKind::DvdPlusRw, ImageFile()), "");
    Drive().Faults().removeMediumAfterWrites = 2;
    EXPECT_EQ(Erase(true), EraseOutcome::Failed);
    EXPECT_EQ(session.Count(modMMC::kOpWrite10), 2u + 62);
    EXPECT_EQ(session.Waits().size(), 61u);
}

TEST_F(VirtualErase, CDRIsRefusedAsNotErasable) {
    ASSERT_EQ(Drive().InsertBlank(MediumKind::CdR), "");
    EXPECT_EQ(Erase(true), EraseOutcome::NotErasable);
    EXPECT_TRUE(BlankCommands().empty());
    EXPECT_EQ(session.Count(modMMC::kOpWrite10), 0u);
    EXPECT_EQ(reporter.messages.back().text, "您放入的光碟不是可重写型光碟!");
}

TEST_F(VirtualErase, EmptyDriveHasNoDisc) {
    EXPECT_EQ(Erase(true), EraseOutcome::NoDisc);
    EXPECT_EQ(reporter.messages.back().text, "您的光碟机中没有光碟片");
    EXPECT_TRUE(session.Waits().empty());
}

}  // namespace
