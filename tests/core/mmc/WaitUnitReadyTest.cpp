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

const Reply kReady{}, kTransportFailure{ScsiStatus::kServiceFailure, 0, 0, 0, {}};
// A drive that cannot be reached leaves the sense fields at zero, or stale.
const Reply kCannotOpen{ScsiStatus::kCannotOpen, 2, 0x3A, 0, {}};
const std::vector<Reply> kNothing,
    kTwiceBecomingReady = {kBecomingReady, kBecomingReady, RecordingTransport::Sense(6, 0x28)},
    kNoSenseThenBusy = {RecordingTransport::Sense(0, 0), {ScsiStatus::kBusy, 0, 0, 0, {}}};

const Case kCases[] = {
    {"ReadyAtOnce", kNothing, kReady, 15000, 1, 1},
    {"NoMediumAtOnce", kNothing, kNoMedium, 15000, 0, 1},
    {"BecomingReadyAndUnitAttention", kTwiceBecomingReady, kReady, 15000, 1, 4},
    {"NeverReadyLimitOver200Attempts", kNothing, kBecomingReady, 15000, -1, 75},
    {"LimitRoundedUp", kNothing, kBecomingReady, 201, -1, 2},
    {"LimitOne", kNothing, kBecomingReady, 1, -1, 1},
    {"LimitZero", kNothing, kBecomingReady, 0, -1, 0},
    {"NegativeLimit", kNothing, kBecomingReady, -200, -1, 0},
    {"TransportFailure", kNothing, kTransportFailure, 1000, -1, 5},
    {"CannotOpenWithStaleNoMediumSense", kNothing, kCannotOpen, 1000, -1, 5},
    {"CheckConditionWithoutSense", kNoSenseThenBusy, kReady, 15000, 1, 3},
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
