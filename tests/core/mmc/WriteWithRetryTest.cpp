// The shared WRITE(10) busy-retry rule: the same write again every 100 ms,
// 62 attempts at most, a write error (03/0Ch) ends it at once.
#include "ScriptedDriveTest.h"
#include "ScsiStatus.h"
#include "WriteWithRetry.h"
#include "modMMC.h"

namespace {

using modMMC::kOpWrite10;
using Reply = RecordingTransport::Reply;

const Reply kLongWrite = RecordingTransport::Sense(2, 0x04, 0x08);

struct Case {
    const char* name;
    std::vector<Reply> answers;  // in order, then GOOD
    WriteOutcome outcome;
    std::size_t attempts;
};

std::vector<Reply> Times(int count, const Reply& reply, std::vector<Reply> then = {}) {
    std::vector<Reply> replies(static_cast<std::size_t>(count), reply);
    replies.insert(replies.end(), then.begin(), then.end());
    return replies;
}

const Case kCases[] = {
    {"AcceptedAtOnce", {}, WriteOutcome::Written, 1},
    {"LongWriteInProgress", Times(3, kLongWrite), WriteOutcome::Written, 4},
    {"AcceptedOnTheLastAttempt", Times(61, kLongWrite), WriteOutcome::Written, 62},
    {"GivesUpAfter62Attempts", Times(62, kLongWrite), WriteOutcome::GaveUp, 62},
    {"TheLastAttemptGivesUpWhateverItsSense",
     Times(61, kLongWrite, {RecordingTransport::Sense(3, 0x0C)}), WriteOutcome::GaveUp, 62},
    {"WriteErrorStopsAtOnce", Times(1, kLongWrite, {RecordingTransport::Sense(3, 0x0C)}),
     WriteOutcome::WriteError, 2},
    {"OtherErrorsAreRetried",
     {RecordingTransport::Sense(3, 0x11),
      RecordingTransport::Sense(5, 0x0C),
      {ScsiStatus::kServiceFailure, 0, 0, 0, {}},
      {ScsiStatus::kBusy, 0, 0, 0, {}}},
     WriteOutcome::Written,
     5},
};

class WriteRetry : public ScriptedDriveTest {
  protected:
    std::vector<std::uint8_t> data = std::vector<std::uint8_t>(32768, 0x5A);
};

TEST_F(WriteRetry, SendsTheSameWriteAgainUntilItPassesOrFails) {
    for (const Case& c : kCases) {
        transport->ClearCommands();
        sleeps.clear();
        for (const Reply& reply : c.answers) AnswerOnce(kOpWrite10, reply);
        EXPECT_EQ(WriteWithRetry(drive, 32, 16, data.data(), 32768), c.outcome) << c.name;
        ASSERT_EQ(transport->Commands().size(), c.attempts) << c.name;
        EXPECT_EQ(sleeps, std::vector<int>(c.attempts - 1, 100)) << c.name;
        for (const auto& command : transport->Commands()) {
            EXPECT_EQ(HexBytes(command.cdb), "2A 00 00 00 00 20 00 00 10 00");
            EXPECT_EQ(command.dataOut, data);
        }
    }
}

TEST_F(WriteRetry, NothingIsSentWithoutTransportOrBuffer) {
    EXPECT_EQ(WriteWithRetry(drive, 0, 16, nullptr, 32768), WriteOutcome::OtherFailure);
    EXPECT_EQ(WriteWithRetry(drive, 0, 16, data.data(), -1), WriteOutcome::OtherFailure);
    EXPECT_TRUE(transport->Commands().empty());
    SetTransport(nullptr);
    EXPECT_EQ(WriteWithRetry(drive, 0, 16, data.data(), 32768), WriteOutcome::OtherFailure);
    EXPECT_TRUE(sleeps.empty());
}

}  // namespace
