// The log of the last job: the commands and the job's lines, over the last
// log, bounded, and never written through a link.
#include <gtest/gtest.h>

#include <filesystem>

#include "IsolatedProgramFolders.h"
#include "JobLog.h"
#include "RecordingTestEnvironment.h"
#include "TransportSlot.h"
#include "modMMCBasic.h"

namespace fs = std::filesystem;

namespace {
class JobLogTest : public ::testing::Test {
  protected:
    IsolatedProgramFolders folders;
    VirtualDriveSession bench;
};
}  // namespace

TEST_F(JobLogTest, HoldsTheCommandsAndLinesOfTheLastJobBesideTheEarlierTrace) {
    std::vector<std::string> traced;
    SetCommandTrace([&](const CommandTraceEntry& entry) {
        traced.push_back(entry.drive + ": " + FormatTraceEntry(entry));
    });
    JobLog::Begin("first");
    JobLog::Note("first line");
    (void)modMMC::TestUnitReady(bench.Id());
    ASSERT_TRUE(JobLog::End());
    JobLog::Begin("second");
    (void)modMMC::TestUnitReady(bench.Id());
    JobLog::Note("Information: Recording complete!");
    ASSERT_TRUE(JobLog::End());
    (void)modMMC::TestUnitReady(bench.Id());  // after the job: the earlier trace only
    SetCommandTrace({});
    ASSERT_EQ(traced.size(), 3u);
    EXPECT_TRUE(traced[1].starts_with(bench.Id() + ": 00 00 00 00 00 00 "));
    EXPECT_EQ(ReadFile(JobLog::LogPath()),
              "job: second\n" + traced[1] + "\nInformation: Recording complete!\n");
    JobLog::Note("no job runs");  // kept nowhere
    EXPECT_EQ(ReadFile(JobLog::LogPath()).find("no job"), std::string::npos);
}

TEST_F(JobLogTest, KeepsAtMostItsBoundAndCountsTheRest) {
    JobLog::Begin("long");
    const std::string line(1000, 'x');
    const std::size_t sent = JobLog::kLargestLog / 1001 + 10;
    for (std::size_t i = 0; i < sent; ++i) JobLog::Note(line);
    ASSERT_TRUE(JobLog::End());
    const std::string text = ReadFile(JobLog::LogPath());
    const std::size_t kept = (JobLog::kLargestLog - std::string("job: long\n").size()) / 1001;
    const std::string tail = "(" + std::to_string(sent - kept) + " more lines left out)\n";
    EXPECT_EQ(text.size(), 10 + kept * 1001 + tail.size());
    EXPECT_TRUE(text.ends_with("x\n" + tail)) << text.substr(text.size() - 64);
}

TEST_F(JobLogTest, IsNeverWrittenThroughALink) {
    const std::string elsewhere = folders.Temp() + "/elsewhere.txt";
    fs::create_symlink(elsewhere, JobLog::LogPath());
    JobLog::Begin("linked");
    JobLog::Note("a line");
    EXPECT_FALSE(JobLog::End());
    EXPECT_FALSE(fs::exists(elsewhere));
    EXPECT_TRUE(fs::is_symlink(JobLog::LogPath()));
    for (const auto& entry : fs::directory_iterator(folders.Temp()))
        EXPECT_EQ(entry.path().filename().string().find(".part"), std::string::npos);
}
