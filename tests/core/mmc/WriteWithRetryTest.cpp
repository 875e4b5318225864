// The shared WRITE(10) busy-retry rule.
#include "FakeDriveFixture.h"
#include "ScsiStatus.h"
#include "WriteWithRetry.h"
#include "modMMC.h"

namespace {

using modMMC::kOpWrite10;

class WriteRetry : public FakeDriveFixture {
  protected:
    WriteOutcome Write() {
        return WriteWithRetry(drive, 32, 16, data.data(), static_cast<int>(data.size()));
    }
    void ExpectAllAttemptsIdentical() {
        for (const auto& command : transport->Commands()) {
            EXPECT_EQ(HexBytes(command.cdb), "2A 00 00 00 00 20 00 00 10 00");
            EXPECT_EQ(command.dataOut, data);
        }
    }

    std::vector<std::uint8_t> data = std::vector<std::uint8_t>(32768, 0x5A);
};

TEST_F(WriteRetry, AcceptedWriteIsSentOnce) {
    EXPECT_EQ(Write(), WriteOutcome::Written);
    EXPECT_EQ(transport->Commands().size(), 1u);
    EXPECT_TRUE(sleeps.empty());
    ExpectAllAttemptsIdentical();
}

TEST_F(WriteRetry, LongWriteInProgressResendsTheSameLbaEvery100ms) {
    for (int i = 0; i < 3; ++i) AnswerOnce(kOpWrite10, Sense(2, 0x04, 0x08));
    EXPECT_EQ(Write(), WriteOutcome::Written);
    EXPECT_EQ(transport->Commands().size(), 4u);
    EXPECT_EQ(sleeps, (std::vector<int>{100, 100, 100}));
    ExpectAllAttemptsIdentical();
}

TEST_F(WriteRetry, GivesUpAfter62AttemptsAnd61Waits) {
    Answer(kOpWrite10, Sense(2, 0x04, 0x08));
    EXPECT_EQ(Write(), WriteOutcome::GaveUp);
    EXPECT_EQ(transport->Commands().size(), 62u);
    EXPECT_EQ(sleeps, std::vector<int>(61, 100));
    ExpectAllAttemptsIdentical();
}

TEST_F(WriteRetry, SucceedsOnTheLastAttempt) {
    for (int i = 0; i < 61; ++i) AnswerOnce(kOpWrite10, Sense(2, 0x04, 0x08));
    EXPECT_EQ(Write(), WriteOutcome::Written);
    EXPECT_EQ(transport->Commands().size(), 62u);
}

TEST_F(WriteRetry, WriteErrorStopsAtOnce) {
    AnswerOnce(kOpWrite10, Sense(2, 0x04, 0x08));
    AnswerOnce(kOpWrite10, Sense(3, 0x0C, 0x00));
    EXPECT_EQ(Write(), WriteOutcome::WriteError);
    EXPECT_EQ(transport->Commands().size(), 2u);
    EXPECT_EQ(sleeps.size(), 1u);
}

TEST_F(WriteRetry, OtherMediumErrorsAndTransportFailuresAreRetried) {
    AnswerOnce(kOpWrite10, Sense(3, 0x11));                              // medium error, not 0Ch
    AnswerOnce(kOpWrite10, Sense(5, 0x0C));                              // 0Ch without key 3
    AnswerOnce(kOpWrite10, {ScsiStatus::kServiceFailure, 0, 0, 0, {}});  // time-out
    AnswerOnce(kOpWrite10, {ScsiStatus::kBusy, 0, 0, 0, {}});
    EXPECT_EQ(Write(), WriteOutcome::Written);
    EXPECT_EQ(transport->Commands().size(), 5u);
}

TEST_F(WriteRetry, TheLastAttemptGivesUpWhateverItsSense) {
    for (int i = 0; i < 61; ++i) AnswerOnce(kOpWrite10, Sense(2, 0x04, 0x08));
    AnswerOnce(kOpWrite10, Sense(3, 0x0C));
    EXPECT_EQ(Write(), WriteOutcome::GaveUp);
}

TEST_F(WriteRetry, NothingIsSentWithoutTransportOrBuffer) {
    EXPECT_EQ(WriteWithRetry(drive, 0, 16, nullptr, 32768), WriteOutcome::OtherFailure);
    EXPECT_EQ(WriteWithRetry(drive, 0, 16, data.data(), -1), WriteOutcome::OtherFailure);
    EXPECT_TRUE(transport->Commands().empty());
    SetTransport(nullptr);
    EXPECT_EQ(Write(), WriteOutcome::OtherFailure);
    EXPECT_TRUE(sleeps.empty());
}

}  // namespace
