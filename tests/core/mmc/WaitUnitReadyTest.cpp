// Readiness polling: attempts, waits, and what counts as ready.
#include "FakeDriveFixture.h"
#include "ScsiStatus.h"
#include "modMMC.h"

namespace {

using modMMC::kOpTestUnitReady;

class WaitUnitReady : public FakeDriveFixture {};

TEST_F(WaitUnitReady, ReadyDriveAnswersAtOnce) {
    EXPECT_EQ(modMMC::WaitUnitReady(drive, 15000), 1);
    EXPECT_EQ(transport->Commands().size(), 1u);
    EXPECT_TRUE(sleeps.empty());
}

TEST_F(WaitUnitReady, NoMediumAnswersZeroAtOnce) {
    Answer(kOpTestUnitReady, Sense(2, 0x3A, 0x01));
    EXPECT_EQ(modMMC::WaitUnitReady(drive, 15000), 0);
    EXPECT_EQ(transport->Commands().size(), 1u);
    EXPECT_TRUE(sleeps.empty());
}

TEST_F(WaitUnitReady, BecomingReadyIsPolledEvery200ms) {
    AnswerOnce(kOpTestUnitReady, Sense(2, 0x04, 0x01));
    AnswerOnce(kOpTestUnitReady, Sense(2, 0x04, 0x01));
    AnswerOnce(kOpTestUnitReady, Sense(6, 0x28));  // unit attention: not yet ready either
    EXPECT_EQ(modMMC::WaitUnitReady(drive, 15000), 1);
    EXPECT_EQ(transport->Commands().size(), 4u);
    EXPECT_EQ(sleeps, (std::vector<int>{200, 200, 200}));
}

TEST_F(WaitUnitReady, NeverReadyEndsAfterLimitOver200Attempts) {
    Answer(kOpTestUnitReady, Sense(2, 0x04, 0x01));
    EXPECT_EQ(modMMC::WaitUnitReady(drive, 15000), -1);
    EXPECT_EQ(transport->Commands().size(), 75u);
    EXPECT_EQ(sleeps, std::vector<int>(75, 200));
}

TEST_F(WaitUnitReady, AttemptsAreTheLimitOver200AsAFraction) {
    Answer(kOpTestUnitReady, Sense(2, 0x04, 0x01));
    const std::pair<std::int32_t, std::size_t> cases[] = {{200, 1}, {199, 1}, {201, 2}, {300, 2},
                                                          {400, 2}, {1, 1},   {0, 0},   {-200, 0}};
    for (const auto& [limit, attempts] : cases) {
        transport->ClearCommands();
        EXPECT_EQ(modMMC::WaitUnitReady(drive, limit), -1) << limit;
        EXPECT_EQ(transport->Commands().size(), attempts) << limit;
    }
}

TEST_F(WaitUnitReady, TransportFailureIsNotReady) {
    // A drive that cannot be reached leaves the sense fields at zero.
    Answer(kOpTestUnitReady, {ScsiStatus::kServiceFailure, 0, 0, 0, {}});
    EXPECT_EQ(modMMC::WaitUnitReady(drive, 1000), -1);
    EXPECT_EQ(transport->Commands().size(), 5u);
}

TEST_F(WaitUnitReady, CannotOpenWithStaleNoMediumSenseIsNotNoMedium) {
    Answer(kOpTestUnitReady, {ScsiStatus::kCannotOpen, 2, 0x3A, 0, {}});
    EXPECT_EQ(modMMC::WaitUnitReady(drive, 1000), -1);
    EXPECT_EQ(transport->Commands().size(), 5u);
}

TEST_F(WaitUnitReady, CheckConditionWithNoSenseIsNotReady) {
    AnswerOnce(kOpTestUnitReady, Sense(0, 0));
    AnswerOnce(kOpTestUnitReady, {ScsiStatus::kBusy, 0, 0, 0, {}});
    EXPECT_EQ(modMMC::WaitUnitReady(drive, 15000), 1);
    EXPECT_EQ(transport->Commands().size(), 3u);
}

TEST_F(WaitUnitReady, NoTransportIsNotReady) {
    SetTransport(nullptr);
    EXPECT_EQ(modMMC::WaitUnitReady(drive, 600), -1);
    EXPECT_EQ(sleeps.size(), 3u);
}

}  // namespace
