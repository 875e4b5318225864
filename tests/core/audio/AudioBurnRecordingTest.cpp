// Audio recordings on the virtual drive: commands, track layout, blocks,
// test mode, and the recorded sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "AudioBurnSession.h"
#include "AudioTestSignals.h"
#include "EmuDrive.h"
#include "clsEmulatedDrive.h"

namespace fs = std::filesystem;

namespace {
using namespace AudioTest;

constexpr std::size_t kSector = 2352, kBlock = 18816;

class AudioBurnRecording : public ::testing::Test {
  protected:
    void SetUp() override { bench.Insert(MediumKind::CdR); }
    // Opcodes from the first MODE SENSE on (the checks before it vary with the queries).
    std::vector<std::uint8_t> RecordingOpcodes() {
        const auto all = bench.Opcodes();
        return {std::find(all.begin(), all.end(), 0x5A), all.end()};
    }

    AudioBurnSession bench;
};

TEST_F(AudioBurnRecording, TwoTracksFromStartToFinish) {
    // Track 1 fills 50 blocks exactly, between metadata chunks; track 2 ends
    // in a block partly filled with sound.
    const std::string sound = CddaData(bench.PutCdda("plain.wav", 400 * kSector, 1));
    const auto one =
        bench.Put("one.wav", RiffWave(Chunk("fmt ", FormatBody(WavFormat::Cdda())) +
                                      Chunk("LIST", std::string(300, 'L')) + Chunk("data", sound) +
                                      Chunk("id3 ", std::string(128, 'I'))));
    const auto two = bench.PutCdda("two.wav", 3 * kBlock + 100, 2);
    ASSERT_EQ(bench.Start({one, two}), AudioBurnOutcome::Completed);

    // The Write Parameters page, the capabilities page (BUFE), the page sent.
    std::vector<std::uint8_t> expected = {0x5A, 0x5A, 0x55};
    for (std::size_t blocks : {50u, 4u}) {
        expected.insert(expected.end(), {0xBB, 0x52});
        expected.insert(expected.end(), blocks, 0x2A);
        expected.insert(expected.end(), {0x35, 0x5B});
    }
    expected.insert(expected.end(), {0x5B, 0x1B});
    EXPECT_EQ(RecordingOpcodes(), expected);

    // Track layout and sound levels: cli_audio_burn. SET CD SPEED: read at the
    // maximum, write 16 x 176 kB/s.
    for (const auto& cdb : bench.Cdbs(0xBB))
        EXPECT_EQ(std::vector<std::uint8_t>(cdb.begin() + 1, cdb.begin() + 6),
                  (std::vector<std::uint8_t>{0x00, 0xFF, 0xFF, 0x0B, 0x00}));
    EXPECT_EQ(RecordedDifference(bench.Track(1), sound), "");
    EXPECT_EQ(RecordedDifference(bench.Track(2), CddaData(two)), "");

    EXPECT_EQ(bench.reporter.Messages(), std::vector<std::string>{"信息|刻录完成!"});
    EXPECT_EQ(bench.reporter.messages.back().icon, MessageIcon::Information);
    EXPECT_EQ(bench.counters,
              (std::vector<std::string>{"-   1   of   2   -", "-   2   of   2   -"}));
    EXPECT_TRUE(bench.reporter.busyAtCancelChecks);
    // No temporary file; the closed disc, tray and kept source: cli_audio_burn.
    EXPECT_FALSE(fs::exists(AudioBurnSession::TempTrack()));
}

TEST_F(AudioBurnRecording, StatusTextsOfATrack) {
    const auto nine = bench.PutCdda("nine.wav", 9 * kSector);
    ASSERT_EQ(bench.Start({nine}), AudioBurnOutcome::Completed);
    const auto& phases = bench.reporter.phases;
    // A CD-DA file is read in place: nothing is converted first.
    const std::vector<std::string> expected = {"正在写入轨道 ...",    "SYNCHRONIZE CACHE ...",
                                               "关闭轨道(Track) ...", "关闭区间(Session)...",
                                               "弹出光盘...",         "刻录完成!"};
    EXPECT_EQ(phases, expected);
    // 8 and 16 of 9 sectors: 88.9 % shows "89%"; past 100 the text stays at
    // "100%" and the bar gets a value it ignores.
    EXPECT_EQ(bench.reporter.percents, (std::vector<std::string>{"89%", "100%"}));
    EXPECT_EQ(bench.reporter.progress.back(), 177);
    // Panel 3: the file, then the elapsed time.
    EXPECT_EQ(bench.reporter.elapsed.front(), nine);
    EXPECT_EQ(bench.reporter.elapsed.back(), "00:00:00");
    // A track shorter than a sector shows 100 % at once.
    bench.Insert(MediumKind::CdR);
    bench.reporter = ScriptedReporter();
    ASSERT_EQ(bench.Start({bench.PutCdda("tiny.wav", 4)}), AudioBurnOutcome::Completed);
    EXPECT_EQ(bench.reporter.percents, std::vector<std::string>{"100%"});
}

// That nothing is recorded (the test write bit): cli_audio_burn.
TEST_F(AudioBurnRecording, TestModeSendsTheSameCommandsAsARecording) {
    const auto one = bench.PutCdda("one.wav", 20 * kSector, 1);
    const auto two = bench.PutCdda("two.wav", 3 * kSector, 2);
    AudioBurnOptions options;
    options.testMode = true;
    ASSERT_EQ(bench.Start({one, two}, options), AudioBurnOutcome::Completed);
    EXPECT_EQ(bench.reporter.LastMessage(), "刻录完成!\n测试模式：光碟上没有刻录任何内容。");
    const auto testRun = RecordingOpcodes();
    bench.Insert(MediumKind::CdR);
    bench.Transport().ClearCommandLog();
    ASSERT_EQ(bench.Start({one, two}), AudioBurnOutcome::Completed);
    EXPECT_EQ(bench.reporter.LastMessage(), "刻录完成!");
    EXPECT_EQ(RecordingOpcodes(), testRun);
}

TEST_F(AudioBurnRecording, RejectedSpeedIsWarnedAboutForEveryTrack) {
    bench.Drive().Faults().speedRequests = EmuFaults::SpeedRequests::Reject;
    const auto one = bench.PutCdda("one.wav", kBlock, 1);
    const auto two = bench.PutCdda("two.wav", kBlock, 2);
    ASSERT_EQ(bench.Start({one, two}), AudioBurnOutcome::Completed);
    const std::string warning = "提示|WARNING: 碟机不支持所选定的写入倍速16x, 将以默认速度刻录!";
    EXPECT_EQ(bench.reporter.Messages(),
              (std::vector<std::string>{warning, warning, "信息|刻录完成!"}));
    EXPECT_EQ(bench.Drive().Media().tracks.size(), 2u);
}
}  // namespace
