// Stopping on the user's request, what the command line cannot see: the
// blocks written before the stop, the flush, the tracks closed, and the
// message for each kind of medium. A stop before the first block and a
// stopped copy are proved by cli_cancellation.
#include <gtest/gtest.h>

#include <filesystem>

#include "AudioBurnEngine.h"
#include "CddaWaveHeader.h"
#include "EraseEngine.h"
#include "ImageBurner.h"
#include "RecordingTestEnvironment.h"
#include "clsEmulatedDrive.h"

namespace fs = std::filesystem;

namespace {
constexpr std::size_t kChunk = 32768;
const std::string kUnchanged = "已停止。光碟上没有写入任何内容，光碟保持不变。";
const std::string kWriteOnce = "已停止。光碟上留有未完成的刻录：这张一次性写入的光碟已无法再使用。";
const std::string kErasable = "已停止。光碟上留有未完成的刻录：请先抹除这张光碟，再重新刻录。";
const std::string kOverwritable =
    "已停止。光碟上只有部分新数据：请重新刻录或抹除这张光碟后再使用。";

class Cancellation : public ::testing::Test {
  protected:
    BurnOutcome Burn(MediumKind kind, int cancelAt) {
        EXPECT_EQ(bench.Drive().InsertBlank(kind), "");
        BurnOptions options;
        options.imagePath = bench.Put("user.iso", RandomImage(20 * kChunk, 3));
        reporter.cancelAt = cancelAt;
        return ImageBurner(reporter, options).Burn(bench.Id());
    }
    // The one message shown, which must be the stop message.
    std::string StopMessage() {
        EXPECT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(reporter.messages.back().title, "已停止");
        return reporter.LastMessage();
    }
    // True when SYNCHRONIZE CACHE followed the last WRITE(10).
    bool FlushedAfterLastWrite() {
        const auto opcodes = bench.Opcodes();
        const auto lastWrite = std::find(opcodes.rbegin(), opcodes.rend(), 0x2A);
        return std::find(opcodes.rbegin(), lastWrite, 0x35) != lastWrite;
    }
    // True when a converted track was left in the temporary folders.
    static bool TemporaryTrackLeft() {
        for (const auto& entry : fs::recursive_directory_iterator(IsolatedProgramFolders::Temp()))
            if (entry.path().filename().string().starts_with("tempwav")) return true;
        return false;
    }
    // A WAV of `sectors` CD-DA sectors' bytes; at another rate than 44.1 kHz
    // it is converted into the temporary track file first.
    std::string Wave(const std::string& name, std::int64_t sectors, std::uint32_t rate = 44100) {
        auto header = CddaWaveHeader(44 + sectors * 2352);
        for (int i = 0; i < 4; ++i) {
            header[24 + i] = static_cast<std::uint8_t>(rate >> (8 * i));
            header[28 + i] = static_cast<std::uint8_t>(rate * 4 >> (8 * i));
        }
        return bench.Put(name, std::string(header.begin(), header.end()) +
                                   std::string(static_cast<std::size_t>(sectors) * 2352, 'a'));
    }

    IsolatedProgramFolders folders;
    VirtualDriveSession bench;
    ScriptedReporter reporter;
};

// Stopped after three blocks: the cache is flushed, nothing is closed, and
// the message depends on what the medium can still be used for.
TEST_F(Cancellation, ABurnStoppedMidwayFlushesAndNamesTheStateOfTheDisc) {
    const std::pair<MediumKind, std::string> cases[] = {{MediumKind::CdR, kWriteOnce},
                                                        {MediumKind::CdRw, kErasable},
                                                        {MediumKind::DvdPlusR, kWriteOnce},
                                                        {MediumKind::DvdPlusRw, kOverwritable}};
    for (const auto& [kind, message] : cases) {
        SCOPED_TRACE(TraitsOf(kind).name);
        bench.Transport().ClearCommandLog();
        reporter = ScriptedReporter();
        EXPECT_EQ(Burn(kind, 4), BurnOutcome::Cancelled);  // the Burn check, then 3 blocks
        EXPECT_EQ(StopMessage(), message);
        EXPECT_EQ(reporter.messages.back().icon, MessageIcon::Exclamation);
        EXPECT_EQ(bench.Count(0x2A), 3u);
        EXPECT_TRUE(FlushedAfterLastWrite());
        EXPECT_EQ(bench.Count(0x5B), 0u);
        EXPECT_FALSE(bench.Drive().TrayOpen());
    }
}

TEST_F(Cancellation, AnAudioRecordingStopsBetweenBlocksAndRemovesItsTrackFile) {
    ASSERT_EQ(bench.Drive().InsertBlank(MediumKind::CdR), "");
    const std::vector<std::string> tracks = {Wave("one.wav", 400), Wave("two.wav", 400, 48000)};
    // Asked before the recording, before the conversion of track 2 and each of
    // its 4 blocks (and the end), before each track and each block: stopped
    // after track 1 (50 blocks) and 3 blocks of track 2.
    reporter.cancelAt = 1 + 1 + 5 + 1 + 50 + 1 + 3;
    EXPECT_EQ(AudioBurnEngine(reporter, {}).StartAudioBurn(bench.Id(), tracks),
              AudioBurnOutcome::Cancelled);
    EXPECT_EQ(StopMessage(), kWriteOnce);
    EXPECT_EQ(bench.Count(0x2A), 53u);
    EXPECT_TRUE(FlushedAfterLastWrite());
    EXPECT_EQ(bench.Count(0x5B), 1u);  // track 1 was closed; nothing after the stop
    EXPECT_FALSE(TemporaryTrackLeft());
    EXPECT_TRUE(fs::exists(tracks[1]));
    // Stopped before a block was written: the disc is as it was.
    ASSERT_EQ(bench.Drive().InsertBlank(MediumKind::CdR), "");
    reporter = ScriptedReporter();
    reporter.cancelAt = 1;
    EXPECT_EQ(AudioBurnEngine(reporter, {}).StartAudioBurn(bench.Id(), tracks),
              AudioBurnOutcome::Cancelled);
    EXPECT_EQ(StopMessage(), kUnchanged);
    EXPECT_EQ(bench.Drive().Media().State(), DiscState::Blank);
    EXPECT_FALSE(TemporaryTrackLeft());
}

TEST_F(Cancellation, AnEraseStopsBeforeBlankOrBetweenTheBlocksOfAnOverwrite) {
    ASSERT_EQ(
        bench.Drive().InsertImage(MediumKind::CdRw, bench.Put("a.iso", RandomImage(40 * 2048, 5))),
        "");
    reporter.cancelAt = 0;
    EXPECT_EQ(EraseEngine(reporter).Run(bench.Id(), true), EraseOutcome::Cancelled);
    EXPECT_EQ(bench.Count(0xA1), 0u);
    EXPECT_EQ(bench.Drive().Media().State(), DiscState::Complete);
    // A DVD+RW is erased by writing zeros: stopped after two of its blocks.
    ASSERT_EQ(bench.Drive().InsertImage(MediumKind::DvdPlusRw,
                                        bench.Put("b.iso", RandomImage(400 * 2048, 6, 400))),
              "");
    reporter = ScriptedReporter();
    reporter.cancelAt = 2;
    EXPECT_EQ(EraseEngine(reporter).Run(bench.Id(), false), EraseOutcome::Cancelled);
    EXPECT_EQ(reporter.LastMessage(), "已停止。光碟只被部分抹除：请再次抹除后再使用。");
    EXPECT_EQ(bench.Count(0x2A), 2u);
    EXPECT_TRUE(FlushedAfterLastWrite());
}
}  // namespace
