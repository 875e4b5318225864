// Readiness polling: attempts, waits, and what counts as ready.
#include "ScriptedDriveTest.h"
#include "ScsiStatus.h"
#include "modMMC.h"

namespace {

using modMMC::kOpTestUnitReady;
using Reply = RecordingTransport::Reply;

const Reply kNoMedium = RecordingTransport::Sense(2, 0x3A, 0x01);
const Reply kBecomingReady = RecordingTransport::Sense(2, 0x04, 0x01);

struct Case {
    const char* name;
    std::vector<Reply> first;  // answers before the standing one
    Reply standing;
    std::int32_t limit, result;
    std::size_t commands;
};

const Case kCases[] = {
    {"ReadyAtOnce", {}, {}, 15000, 1, 1},
    {"NoMediumAtOnce", {}, kNoMedium, 15000, 0, 1},
    {"BecomingReadyAndUnitAttention",
     {kBecomingReady, kBecomingReady, RecordingTransport::Sense(6, 0x28)},
     {},
     15000,
     1,
     4},
    {"NeverReadyLimitOver200Attempts", {}, kBecomingReady, 15000, -1, 75},
    {"LimitRoundedUp", {}, kBecomingReady, 201, -1, 2},
    {"LimitOne", {}, kBecomingReady, 1, -1, 1},
    {"LimitZero", {}, kBecomingReady, 0, -1, 0},
    {"NegativeLimit", {}, kBecomingReady, -200, -1, 0},
    // A drive that cannot be reached leaves the sense fields at zero.
    {"TransportFailure", {}, {ScsiStatus::kServiceFailure, 0, 0, 0, {}}, 1000, -1, 5},
    {"CannotOpenWithStaleNoMediumSense",
     {},
     {ScsiStatus::kCannotOpen, 2, 0x3A, 0, {}},
     1000,
     -1,
     5},
    {"CheckConditionWithoutSense",
     {RecordingTransport::Sense(0, 0), {ScsiStatus::kBusy, 0, 0, 0, {}}},
     {},
     15000,
     1,
     3},
};

class WaitUnitReady : public ScriptedDriveTest {};

TEST_F(WaitUnitReady, PollsEvery200msUpToTheLimit) {
    for (const Case& c : kCases) {
        transport->ClearCommands();
        sleeps.clear();
        for (const Reply& reply : c.first) AnswerOnce(kOpTestUnitReady, reply);
        Answer(kOpTestUnitReady, c.standing);
        EXPECT_EQ(modMMC::WaitUnitReady(drive, c.limit), c.result) << c.name;
        EXPECT_EQ(transport->Commands().size(), c.commands) << c.name;
        const std::size_t waits = c.result == -1 ? c.commands : c.commands - 1;
        EXPECT_EQ(sleeps, std::vector<int>(waits, 200)) << c.name;
    }
}

TEST_F(WaitUnitReady, NoTransportIsNotReady) {
    SetTransport(nullptr);
    EXPECT_EQ(modMMC::WaitUnitReady(drive, 600), -1);
    EXPECT_EQ(sleeps.size(), 3u);
}

}  // namespace
