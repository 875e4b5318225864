// When the computer is kept awake: from the first command that changes a
// disc in a job to the end of that job, once for jobs on several drives.
#include "NoSleepWhileWriting.h"

#include <gtest/gtest.h>

#include "DriveBusy.h"
#include "RecordingTransport.h"
#include "ScsiStatus.h"
#include "TransportSlot.h"
#include "modMMCBasic.h"

namespace {
// Every Begin and End, and every command with whether the inhibitor was held
// as it reached the drive, in one sequence.
struct Log {
    std::vector<std::string> events;
};

class LoggingInhibitor : public SleepInhibitor {
  public:
    explicit LoggingInhibitor(Log& log) : m_log(log) {}
    void Begin(const std::string& why) override { m_log.events.push_back("begin " + why); }
    void End() override { m_log.events.push_back("end"); }

  private:
    Log& m_log;
};

void Send(const std::string& drive, std::uint8_t opcode) {
    ScsiRequest request = modMMC::detail::MakeRequest(opcode, 10, ScsiDirection::kIn, 5);
    modMMC::detail::Send(request, drive, nullptr, 0);
}

class NoSleepWhileWritingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto transport =
            std::make_unique<RecordingTransport>(std::vector<std::string>{"/dev/sr0", "/dev/sr1"});
        transport->SetResponder([this](const RecordingTransport::Command& command) {
            char line[32];
            std::snprintf(line, sizeof line, "%s %02X%s", command.drive.c_str(), command.cdb[0],
                          NoSleepWhileWriting::Held() ? " held" : "");
            m_log.events.emplace_back(line);
            return RecordingTransport::Reply{};
        });
        SetTransport(std::move(transport));
        NoSleepWhileWriting::SetInhibitor(std::make_shared<LoggingInhibitor>(m_log), "why");
    }
    void TearDown() override {
        NoSleepWhileWriting::SetInhibitor(nullptr);
        SetTransport(nullptr);
    }

    Log m_log;
};
}  // namespace

TEST_F(NoSleepWhileWritingTest, HeldFromTheFirstWriteOfAJobToItsEnd) {
    Send("/dev/sr0", 0x2A);  // outside a job: nothing to end it
    {
        const DriveBusyScope runner("/dev/sr0");  // the window's runner and its engine
        {
            const DriveBusyScope engine("/dev/sr0");
            Send("/dev/sr0", 0x00);  // TEST UNIT READY
            Send("/dev/sr0", 0x2A);  // WRITE(10)
            Send("/dev/sr0", 0x2A);
            Send("/dev/sr0", 0x28);  // READ(10): the verify
        }
        Send("/dev/sr0", 0x00);
    }
    Send("/dev/sr0", 0x00);
    {
        const DriveBusyScope erase("/dev/sr1");
        Send("/dev/sr1", 0xA1);  // BLANK
    }
    {
        const DriveBusyScope tray("/dev/sr1");
        Send("/dev/sr1", 0x1B);  // a tray move writes nothing
    }
    EXPECT_EQ(m_log.events,
              (std::vector<std::string>{"/dev/sr0 2A", "/dev/sr0 00", "begin why",
                                        "/dev/sr0 2A held", "/dev/sr0 2A held", "/dev/sr0 28 held",
                                        "/dev/sr0 00 held", "end", "/dev/sr0 00", "begin why",
                                        "/dev/sr1 A1 held", "end", "/dev/sr1 1B"}));
}

TEST_F(NoSleepWhileWritingTest, JobsOnTwoDrivesHoldItOnceUntilTheLastEnds) {
    auto first = std::make_unique<DriveBusyScope>("/dev/sr0");
    auto second = std::make_unique<DriveBusyScope>("/dev/sr1");
    Send("/dev/sr0", 0x2A);
    Send("/dev/sr1", 0x04);  // FORMAT UNIT
    first.reset();
    Send("/dev/sr1", 0x2A);
    second.reset();
    EXPECT_EQ(m_log.events,
              (std::vector<std::string>{"begin why", "/dev/sr0 2A held", "/dev/sr1 04 held",
                                        "/dev/sr1 2A held", "end"}));
    // An inhibitor replaced while held is given back.
    const DriveBusyScope job("/dev/sr0");
    Send("/dev/sr0", 0x2A);
    NoSleepWhileWriting::SetInhibitor(nullptr);
    EXPECT_EQ(m_log.events.back(), "end");
    EXPECT_FALSE(NoSleepWhileWriting::Held());
}
