// Erasing: BLANK for media that have it, the start overwrite for DVD+RW.
#include <algorithm>

#include "FakeDriveFixture.h"
#include "ScriptedReporter.h"
#include "ScsiStatus.h"
#include "modMMC.h"

namespace {

using namespace modMMC;

class BlankDiscFake : public FakeDriveFixture {
  protected:
    void InsertCDRW() {
        Answer(kOpGetConfiguration, Profile(0x000A));
        Answer(kOpReadDiscInformation, DiscInformation(0x1E));
    }
    void InsertDVDPlusRW() {
        Answer(kOpGetConfiguration, Profile(0x001A));
        Answer(kOpReadDiscInformation, DiscInformation(0x1E));
        std::vector<std::uint8_t> page(60, 0);
        page[1] = 58;
        page[8] = 0x05;
        page[9] = 0x32;
        page[10] = 0x52;  // drive defaults the erase overrides
        page[11] = 0x35;
        Answer(kOpModeSense10, Data(page));
    }
    std::vector<std::uint32_t> WrittenLbas() const {
        std::vector<std::uint32_t> lbas;
        for (const auto& command : transport->Commands()) {
            if (command.cdb[0] != kOpWrite10) continue;
            lbas.push_back(static_cast<std::uint32_t>(command.cdb[2] << 24 | command.cdb[3] << 16 |
                                                      command.cdb[4] << 8 | command.cdb[5]));
        }
        return lbas;
    }
    static std::vector<std::uint32_t> TwelveRounds() {
        std::vector<std::uint32_t> lbas;
        for (std::uint32_t lba = 0; lba < 300; lba += 25) lbas.push_back(lba);
        return lbas;
    }
};

TEST_F(BlankDiscFake, CDRWGetsBlankWithTheGivenType) {
    InsertCDRW();
    EXPECT_EQ(BlankDisc(drive, kBlankMinimal), ScsiStatus::kGood);
    EXPECT_EQ(Opcodes(),
              (std::vector<std::uint8_t>{kOpReadDiscInformation, kOpGetConfiguration, kOpBlank}));
    EXPECT_EQ(HexBytes(transport->Commands().back().cdb), "A1 01 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(transport->Commands().back().timeout, 9999);
    transport->ClearCommands();
    EXPECT_EQ(BlankDisc(drive, kBlankWholeDisc), ScsiStatus::kGood);
    EXPECT_EQ(HexBytes(transport->Commands().back().cdb), "A1 00 00 00 00 00 00 00 00 00 00 00");
}

TEST_F(BlankDiscFake, BlankStatusIsReturned) {
    InsertCDRW();
    Answer(kOpBlank, Sense(5, 0x30));
    EXPECT_EQ(BlankDisc(drive, kBlankMinimal), ScsiStatus::kCheckCondition);
    Answer(kOpBlank, {ScsiStatus::kServiceFailure, 0, 0, 0, {}});  // 9999 s exceeded
    EXPECT_EQ(BlankDisc(drive, kBlankMinimal), ScsiStatus::kServiceFailure);
}

TEST_F(BlankDiscFake, DVDPlusRWIsOverwrittenNeverBlanked) {
    InsertDVDPlusRW();
    ScriptedReporter events;
    EXPECT_EQ(BlankDisc(drive, kBlankMinimal, &events), ScsiStatus::kGood);
    EXPECT_EQ(CountOf(kOpBlank), 0);
    std::vector<std::uint8_t> expected = {
        kOpReadDiscInformation, kOpGetConfiguration, kOpRead10,
        kOpModeSense10,         kOpModeSelect10,     kOpSetCDSpeed};
    expected.insert(expected.end(), 12, kOpWrite10);
    expected.push_back(kOpSynchronizeCache);
    EXPECT_EQ(Opcodes(), expected);
    EXPECT_EQ(WrittenLbas(), TwelveRounds());
    for (const auto& command : transport->Commands()) {
        if (command.cdb[0] == kOpSetCDSpeed) {
            EXPECT_EQ(HexBytes(command.cdb), "BB 00 FF FF 2B 48 00 00 00 00 00 00");
        }
        if (command.cdb[0] == kOpModeSelect10) {
            // Track At Once, track mode 4, Mode 1 blocks, everything else zero.
            EXPECT_EQ(HexBytes({command.dataOut.begin() + 8, command.dataOut.begin() + 18}),
                      "05 32 01 04 08 00 00 00 00 00");
        }
        if (command.cdb[0] != kOpWrite10) continue;
        EXPECT_EQ(command.cdb[8], 25);
        ASSERT_EQ(command.dataOut.size(), 51200u);
        EXPECT_EQ(std::count(command.dataOut.begin(), command.dataOut.end(), 0), 51200);
    }
}

TEST_F(BlankDiscFake, DVDPlusRWWriteErrorFailsWithoutFlushing) {
    InsertDVDPlusRW();
    AnswerOnce(kOpWrite10, {});
    AnswerOnce(kOpWrite10, {});
    AnswerOnce(kOpWrite10, Sense(3, 0x0C));
    EXPECT_EQ(BlankDisc(drive, kBlankWholeDisc), ScsiStatus::kServiceFailure);
    EXPECT_EQ(WrittenLbas(), (std::vector<std::uint32_t>{0, 25, 50}));
    EXPECT_EQ(CountOf(kOpSynchronizeCache), 0);
    EXPECT_TRUE(sleeps.empty());
}

TEST_F(BlankDiscFake, DVDPlusRWThatNeverAcceptsAWriteGivesUp) {
    InsertDVDPlusRW();
    Answer(kOpWrite10, Sense(2, 0x3A));  // medium removed mid-way
    EXPECT_EQ(BlankDisc(drive, kBlankWholeDisc), ScsiStatus::kServiceFailure);
    EXPECT_EQ(CountOf(kOpWrite10), 62);
    EXPECT_EQ(sleeps, std::vector<int>(61, 100));
}

TEST_F(BlankDiscFake, DVDPlusRWBusyWritesAreRetried) {
    InsertDVDPlusRW();
    for (int i = 0; i < 5; ++i) AnswerOnce(kOpWrite10, Sense(2, 0x04, 0x08));
    EXPECT_EQ(BlankDisc(drive, kBlankWholeDisc), ScsiStatus::kGood);
    EXPECT_EQ(CountOf(kOpWrite10), 17);
    EXPECT_EQ(sleeps.size(), 5u);
}

TEST_F(BlankDiscFake, DVDPlusRWFlushStatusIsTheResult) {
    InsertDVDPlusRW();
    Answer(kOpSynchronizeCache, Sense(3, 0x0C));
    EXPECT_EQ(BlankDisc(drive, kBlankWholeDisc), ScsiStatus::kCheckCondition);
}

TEST_F(BlankDiscFake, DVDPlusRWThatRefusesPage05StillGetsOverwritten) {
    InsertDVDPlusRW();
    Answer(kOpModeSense10, Sense(5, 0x24));
    EXPECT_EQ(BlankDisc(drive, kBlankWholeDisc), ScsiStatus::kGood);
    EXPECT_EQ(CountOf(kOpModeSelect10), 0);
    EXPECT_EQ(CountOf(kOpWrite10), 12);

    transport->ClearCommands();
    InsertDVDPlusRW();
    Answer(kOpModeSelect10, Sense(5, 0x26));
    Answer(kOpSetCDSpeed, Sense(5, 0x24));
    EXPECT_EQ(BlankDisc(drive, kBlankWholeDisc), ScsiStatus::kGood);
    EXPECT_EQ(CountOf(kOpWrite10), 12);
}

}  // namespace
