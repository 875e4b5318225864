// Audio recordings that fail: conversion, writes, track information, flush
// and close. None may end with the completion message.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "AudioBurnBench.h"
#include "AudioTestSignals.h"
#include "EmuDrive.h"
#include "TransportSlot.h"
#include "clsEmulatedDrive.h"

namespace fs = std::filesystem;

namespace {
using namespace AudioTest;

constexpr std::size_t kSector = 2352, kBlock = 18816;
const std::string kFinished = "信息|刻录完成!";

// Passes every command to the virtual drive, but clears the "next writable
// address valid" bit of READ TRACK INFORMATION answers for track 2 and later.
class InvalidAddressTransport : public clsSCSI {
  public:
    explicit InvalidAddressTransport(std::unique_ptr<clsSCSI> inner) : m_inner(std::move(inner)) {}
    std::string Interface() const override { return m_inner->Interface(); }
    std::uint8_t LastASCQ() const override { return m_inner->LastASCQ(); }
    std::uint8_t LastASC() const override { return m_inner->LastASC(); }
    std::uint8_t LastSK() const override { return m_inner->LastSK(); }
    bool Initialized() override { return m_inner->Initialized(); }
    bool Installed() override { return m_inner->Installed(); }
    std::int16_t DriveCount() const override { return m_inner->DriveCount(); }
    std::string DriveChar(const std::string& d) override { return m_inner->DriveChar(d); }
    std::string DriveHandle(std::int16_t i) const override { return m_inner->DriveHandle(i); }
    std::uint8_t HostAdapter(const std::string& d) override { return m_inner->HostAdapter(d); }
    std::uint8_t TargetID(const std::string& d) override { return m_inner->TargetID(d); }
    std::uint8_t LUN(const std::string& d) override { return m_inner->LUN(d); }
    std::int32_t ExecCMD(const std::string& drive, const std::uint8_t* cdb, std::uint8_t cdbLen,
                         std::int32_t direction, void* buffer, std::int32_t bufferLen,
                         std::int32_t& timeout) override {
        const std::int32_t status =
            m_inner->ExecCMD(drive, cdb, cdbLen, direction, buffer, bufferLen, timeout);
        if (cdb[0] == 0x52 && cdb[5] >= 2 && bufferLen > 7)
            static_cast<std::uint8_t*>(buffer)[7] &= 0xFE;
        return status;
    }

  private:
    std::unique_ptr<clsSCSI> m_inner;
};

class AudioBurnFailure : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(bench.Drive().InsertBlank(MediumKind::CdR), ""); }
    // The opcodes after the last WRITE(10) (or after READ TRACK INFORMATION when none).
    std::vector<std::uint8_t> AfterWriting() {
        const auto all = bench.Opcodes();
        auto last = std::find_if(all.rbegin(), all.rend(),
                                 [](std::uint8_t op) { return op == 0x2A || op == 0x52; });
        return {last.base(), all.end()};
    }
    // Track numbers of the CLOSE TRACK commands.
    std::vector<int> ClosedTracks() {
        std::vector<int> tracks;
        for (const auto& cdb : bench.Cdbs(0x5B))
            if ((cdb[2] & 7) == 1) tracks.push_back(cdb[4] << 8 | cdb[5]);
        return tracks;
    }
    void ExpectNoSuccess() {
        const auto messages = bench.reporter.Messages();
        EXPECT_EQ(std::count(messages.begin(), messages.end(), kFinished), 0);
        const auto& phases = bench.reporter.phases;
        EXPECT_EQ(std::count(phases.begin(), phases.end(), "刻录完成!"), 0);
        EXPECT_FALSE(fs::exists(AudioBurnBench::TempTrack()));
    }

    AudioBurnBench bench;
};

TEST_F(AudioBurnFailure, AConversionFailureStopsBeforeTheTrack) {
    const WavFormat mono8 = Format(1, 1, 22050, 8);
    const auto one = bench.PutCdda("one.wav", 2 * kBlock, 1);
    const auto two = bench.Put("two.wav", SimpleWave(mono8, std::string(40000, '\x90')));
    // The second file passes the check and is gone by the time it is converted.
    bench.reporter.onPhase = [&](const std::string& phase) {
        if (phase == "正在写入轨道 ...") WriteFile(two, "overwritten meanwhile");
    };
    EXPECT_EQ(bench.Start({one, two}), AudioBurnOutcome::Failed);
    EXPECT_EQ(bench.reporter.Messages(),
              std::vector<std::string>{"提示|" + two + "不支持的文件类型!"});
    // Track 1 is closed normally; then the abort flushes, closes track 2 (not
    // started) and the session, and ejects.
    EXPECT_EQ(AfterWriting(), (std::vector<std::uint8_t>{0x35, 0x5B, 0x35, 0x5B, 0x5B, 0x1B}));
    EXPECT_EQ(ClosedTracks(), (std::vector<int>{1, 2}));
    EXPECT_EQ(bench.reporter.phases.back(), "error");
    EXPECT_EQ(bench.Drive().Media().tracks.size(), 1u);
    ExpectNoSuccess();
}

TEST_F(AudioBurnFailure, AWriteErrorAbortsAtOnce) {
    bench.Drive().Faults().writeErrorLba = 8;
    const auto one = bench.PutCdda("one.wav", 3 * kBlock);
    EXPECT_EQ(bench.Start({one}), AudioBurnOutcome::Failed);
    EXPECT_EQ(bench.reporter.Messages(),
              std::vector<std::string>{"错误|刻录出错 (Buffer Under-Run?)"});
    EXPECT_EQ(bench.Writes().size(), 2u);
    EXPECT_EQ(bench.Sleeps(), 0);
    EXPECT_EQ(AfterWriting(), (std::vector<std::uint8_t>{0x35, 0x5B, 0x5B, 0x1B}));
    EXPECT_EQ(bench.reporter.phases.back(), "error");
    ExpectNoSuccess();
}

TEST_F(AudioBurnFailure, ABlockThatKeepsFailingGivesUpAfter62Attempts) {
    bench.Drive().Faults().longWriteWrites = 62;
    const auto one = bench.PutCdda("one.wav", kBlock);
    AudioBurnOptions options;
    options.ejectDisc = false;
    EXPECT_EQ(bench.Start({one}, options), AudioBurnOutcome::Failed);
    EXPECT_EQ(bench.reporter.Messages(),
              std::vector<std::string>{"错误|Long write - 单次刻录时间超过6000ms!"});
    EXPECT_EQ(bench.Writes().size(), 62u);
    EXPECT_EQ(bench.Sleeps(), 61);
    EXPECT_EQ(bench.SleptMs(), 6100);
    EXPECT_EQ(AfterWriting(), (std::vector<std::uint8_t>{0x35, 0x5B, 0x5B}));
    ExpectNoSuccess();
}

TEST_F(AudioBurnFailure, ABlockAcceptedOnTheLastAttemptIsRecorded) {
    bench.Drive().Faults().longWriteWrites = 61;
    const auto one = bench.PutCdda("one.wav", kBlock);
    EXPECT_EQ(bench.Start({one}), AudioBurnOutcome::Finished);
    EXPECT_EQ(bench.Sleeps(), 61);
    EXPECT_EQ(RecordedDifference(bench.Track(1), CddaData(one)), "");
}

TEST_F(AudioBurnFailure, AFailedFlushIsNeverReportedAsFinished) {
    bench.Drive().Faults().failures.push_back({0x35, 0, 1, 0x03, 0x0C, 0x00});
    const auto one = bench.PutCdda("one.wav", kBlock, 1);
    const auto two = bench.PutCdda("two.wav", kBlock, 2);
    EXPECT_EQ(bench.Start({one, two}), AudioBurnOutcome::FinishedWithErrors);
    // The recording goes on, closes and ejects, then names the failure.
    EXPECT_EQ(ClosedTracks(), (std::vector<int>{1, 2}));
    EXPECT_EQ(bench.Count(0x1B), 1u);
    EXPECT_EQ(bench.reporter.Messages(),
              std::vector<std::string>{"错误|SYNCHRONIZE CACHE failed."});
    EXPECT_EQ(bench.reporter.messages.back().icon, MessageIcon::Exclamation);
    EXPECT_EQ(bench.reporter.phases.back(), "SYNCHRONIZE CACHE failed.");
    ExpectNoSuccess();
}

TEST_F(AudioBurnFailure, FailedClosesAreNeverReportedAsFinished) {
    bench.Drive().Faults().failures.push_back({0x5B, 0, 1, 0x05, 0x2C, 0x00});
    const auto one = bench.PutCdda("one.wav", kBlock);
    EXPECT_EQ(bench.Start({one}), AudioBurnOutcome::FinishedWithErrors);
    EXPECT_EQ(bench.reporter.Messages(), std::vector<std::string>{"错误|关闭轨道(Track)失败!"});
    ExpectNoSuccess();

    AudioBurnBench second;
    ASSERT_EQ(second.Drive().InsertBlank(MediumKind::CdR), "");
    second.Drive().Faults().failures.push_back({0x5B, 1, 1, 0x05, 0x2C, 0x00});
    EXPECT_EQ(second.Start({one}), AudioBurnOutcome::FinishedWithErrors);
    EXPECT_EQ(second.reporter.messages.back().text, "关闭区间(Session)失败!");
    EXPECT_EQ(second.reporter.messages.back().title, "错误");
}

TEST_F(AudioBurnFailure, TrackInformationOfTheFirstTrackFails) {
    bench.Drive().Faults().failures.push_back({0x52, 0, 1, 0x05, 0x24, 0x00});
    const auto one = bench.PutCdda("one.wav", kBlock);
    const WavFormat mono8 = Format(1, 1, 22050, 8);
    const auto two = bench.Put("two.wav", SimpleWave(mono8, std::string(4000, '\x90')));
    EXPECT_EQ(bench.Start({two, one}), AudioBurnOutcome::Failed);
    EXPECT_EQ(bench.reporter.Messages(), std::vector<std::string>{"错误|读取轨道信息失败!"});
    // Nothing was written, so nothing is closed and the tray stays shut.
    EXPECT_EQ(AfterWriting(), std::vector<std::uint8_t>{});
    EXPECT_FALSE(bench.Drive().TrayOpen());
    ExpectNoSuccess();
}

TEST_F(AudioBurnFailure, TrackInformationOfALaterTrackFailsAndTheSessionIsClosed) {
    bench.Drive().Faults().failures.push_back({0x52, 1, 1, 0x05, 0x24, 0x00});
    const auto one = bench.PutCdda("one.wav", kBlock, 1);
    const auto two = bench.PutCdda("two.wav", kBlock, 2);
    EXPECT_EQ(bench.Start({one, two}), AudioBurnOutcome::Failed);
    EXPECT_EQ(bench.reporter.Messages(), std::vector<std::string>{"错误|读取轨道信息失败!"});
    EXPECT_EQ(AfterWriting(), (std::vector<std::uint8_t>{0x35, 0x5B, 0x5B}));
    EXPECT_EQ(ClosedTracks(), (std::vector<int>{1, 2}));
    EXPECT_EQ(bench.Drive().Media().State(), DiscState::Complete) << "track 1 stays playable";
    EXPECT_FALSE(bench.Drive().TrayOpen());
    ExpectNoSuccess();
}

TEST_F(AudioBurnFailure, AnAddressMarkedInvalidIsNotWrittenTo) {
    SetTransport(std::make_unique<InvalidAddressTransport>(TakeTransport()));
    const auto one = bench.PutCdda("one.wav", kBlock, 1);
    const auto two = bench.PutCdda("two.wav", kBlock, 2);
    EXPECT_EQ(bench.Start({one, two}), AudioBurnOutcome::Failed);
    EXPECT_EQ(bench.reporter.Messages(), std::vector<std::string>{"错误|读取轨道信息失败!"});
    EXPECT_EQ(bench.Writes().size(), 1u);
    ExpectNoSuccess();
}
}  // namespace
