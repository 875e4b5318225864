// Whole recordings on the virtual drive: command sequences, retries, the
// fatal write cases, the checks before recording, and what is deleted.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "DriveBusy.h"
#include "ImageBurner.h"
#include "MonotonicClock.h"
#include "RecordingTestEnvironment.h"
#include "RecordingTransport.h"
#include "clsEmulatedDrive.h"

namespace fs = std::filesystem;

namespace {
constexpr std::size_t kChunk = 32768;

class ImageBurnerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reporter.commandCount = [this] { return bench.Transport().CommandLog().size(); };
    }
    // An image the user picked (task 2) of `bytes` random bytes.
    BurnOptions UserImage(std::size_t bytes) {
        BurnOptions options;
        options.imagePath = bench.File("user.iso");
        WriteFile(options.imagePath, RandomImage(bytes, 7));
        return options;
    }
    // The temporary image of a data disc or copy (task 0 or 3).
    BurnOptions TemporaryImageOf(int task, std::size_t bytes, int discKind = 0) {
        BurnOptions options;
        options.task = task;
        options.imagePath = IsolatedProgramFolders::Temp() + "/tempiso.iso";
        options.temporaryImage = options.imagePath;
        options.chosenDiscKind = discKind;
        WriteFile(options.imagePath, RandomImage(bytes, 11));
        return options;
    }
    BurnOutcome Burn(const BurnOptions& options) {
        ImageBurner burner(reporter, options);
        return burner.Burn(bench.Id());
    }
    std::string Track1() {
        std::vector<std::uint8_t> bytes;
        EXPECT_TRUE(bench.Drive().ReadTrack(1, bytes));
        return {bytes.begin(), bytes.end()};
    }

    IsolatedProgramFolders folders;
    VirtualDriveSession bench;
    ScriptedReporter reporter;
};

// The commands of a whole recording on a blank CD-R: the checks (the disc's
// family: not a DVD, not a BD); the set-up (the medium and its free blocks,
// the Write Parameters page, the speed); the writes; flush, close track and
// session, eject. The Write Parameters page is read, the capabilities page
// asked whether the drive has BUFE, and the page sent.
std::vector<std::uint8_t> Recording(std::size_t chunks) {
    std::vector<std::uint8_t> opcodes = {0x00, 0xAD, 0x46, 0x51, 0x46, 0x46, 0x51,
                                         0x46, 0x52, 0x5A, 0x5A, 0x55, 0xAD, 0xBB};
    opcodes.insert(opcodes.end(), chunks, 0x2A);
    opcodes.insert(opcodes.end(), {0x35, 0x5B, 0x5B, 0x1B});
    return opcodes;
}
}  // namespace

// The last WRITE(10) of an image without an ISO 9660 volume carries its last
// blocks only, so the track is as long as the image; the bar stays, the text
// says 100 %.
TEST_F(ImageBurnerTest, AnImageIsSentInChunksOf32BlocksFromLba0) {
    bench.Insert(MediumKind::CdR);
    const BurnOptions options = UserImage(20 * kChunk + 2048);
    EXPECT_EQ(Burn(options), BurnOutcome::Completed);
    EXPECT_EQ(bench.Opcodes(), Recording(11));  // the drive takes no block but the next
    EXPECT_EQ(HexBytes(bench.Cdbs(0x2A).front()), "2A 00 00 00 00 00 00 00 20 00");
    EXPECT_EQ(HexBytes(bench.Cdbs(0x2A).back()), "2A 00 00 00 01 40 00 00 01 00");
    EXPECT_EQ(Track1(), ReadFile(options.imagePath));
    EXPECT_EQ(bench.Drive().Media().State(), DiscState::Complete);
    EXPECT_TRUE(bench.Drive().TrayOpen());
    EXPECT_EQ(reporter.percents.back(), "100%");
    EXPECT_EQ(reporter.events,
              (std::vector<std::string>{"phase:正在写入数据 ...", "phase:SYNCHRONIZE CACHE ...",
                                        "phase:关闭轨道(Track) ...", "phase:关闭区间(Session)...",
                                        "phase:弹出光盘...", "phase:刻录完成!",
                                        "message:信息|刻录完成!"}));
    EXPECT_EQ(reporter.messages.back().icon, MessageIcon::Information);
    EXPECT_TRUE(reporter.busyAtCancelChecks);
    EXPECT_FALSE(AnyDriveBusy());
}

// An ISO 9660 image is padded with zeros to a multiple of 16 blocks: its
// last block is not next to a CD's run-out, where the kernel could not read it.
TEST_F(ImageBurnerTest, AnIsoImageIsPaddedToAMultipleOf16Blocks) {
    bench.Insert(MediumKind::CdR);
    BurnOptions options;
    options.imagePath = bench.File("volume.iso");
    WriteFile(options.imagePath, RandomImage(2 * kChunk + 2048, 7, 33));
    EXPECT_EQ(Burn(options), BurnOutcome::Completed);
    EXPECT_EQ(HexBytes(bench.Cdbs(0x2A).back()), "2A 00 00 00 00 20 00 00 10 00");
    std::string image = ReadFile(options.imagePath);
    image.resize(3 * kChunk, '\0');
    EXPECT_TRUE(Track1().starts_with(image));  // the track: 300 blocks at least
}

TEST_F(ImageBurnerTest, TheWriteParametersPageAndTheSpeedAreSetForADataTrack) {
    bench.Insert(MediumKind::CdR);
    BurnOptions options = UserImage(20 * kChunk);
    options.fixDisc = false;
    options.writeSpeed = SpeedEntryOf(16);
    EXPECT_EQ(Burn(options), BurnOutcome::Completed);
    const auto& page = bench.Drive().WriteParameters();
    EXPECT_EQ(page[2], 0x41);  // BUFE (the drive has it), no LS_V, no test write, Track At Once
    EXPECT_EQ(page[3], 0xC4);  // next session allowed, track mode 4
    EXPECT_EQ(page[4], 0x08);  // Mode 1
    EXPECT_EQ(HexBytes(bench.Cdbs(0xBB).back()),
              "BB 00 FF FF 0B 00 00 00 00 00 00 00");  // 16 x 176
    EXPECT_EQ(bench.Drive().Media().State(), DiscState::Appendable);
    // The default speed asks for eight times the step; a drive without
    // underrun protection gets no BUFE.
    bench.Insert(MediumKind::CdR);
    bench.Drive().Faults().noUnderrunProtection = true;
    options.writeSpeed = DefaultSpeedEntry();
    EXPECT_EQ(Burn(options), BurnOutcome::Completed);
    EXPECT_EQ(bench.Drive().WriteParameters()[2], 0x01);
    bench.Drive().Faults().noUnderrunProtection = false;
    EXPECT_EQ(HexBytes(bench.Cdbs(0xBB).back()), "BB 00 FF FF 05 80 00 00 00 00 00 00");
    // A speed the drive refuses is warned about once and recording goes on.
    bench.Insert(MediumKind::CdR);
    bench.Drive().Faults().speedRequests = EmuFaults::SpeedRequests::Reject;
    options.writeSpeed = SpeedEntryOf(16);
    reporter = ScriptedReporter();
    EXPECT_EQ(Burn(options), BurnOutcome::Completed);
    ASSERT_EQ(reporter.messages.size(), 2u);
    EXPECT_EQ(reporter.messages[0].text,
              "WARNING: 碟机不支持所选定的写入倍速16x!将以默认的速度刻录!");
    EXPECT_EQ(reporter.messages[0].title, "提示");
    EXPECT_EQ(reporter.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(Track1(), ReadFile(options.imagePath));
}

TEST_F(ImageBurnerTest, SixtyTwoFailuresCloseTheDiscThenReportALongWrite) {
    bench.Insert(MediumKind::CdR);
    bench.Drive().Faults().longWriteWrites = 1000;
    EXPECT_EQ(Burn(UserImage(20 * kChunk)), BurnOutcome::Failed);  // retries: WriteRetry
    // AbortBurn reads what the disc holds before the eject.
    std::vector<std::uint8_t> expected = Recording(62);
    expected.insert(expected.end() - 1, {0x51, 0x46});
    EXPECT_EQ(bench.Opcodes(), expected);
    // AbortBurn ran first: every command was sent and "error" shown before the message.
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages.back().commandsBefore, expected.size());
    EXPECT_EQ(reporter.events.end()[-2], "phase:error");
    EXPECT_EQ(reporter.events.back(),
              "message:错误|Long write - 单次刻录时间超过6000ms!\n"
              "光碟机报告的原因：长时间写入仍在进行（02/04/08）。\n"
              "光碟仍是空白的：没有写入任何内容，可以再次刻录。");
    EXPECT_EQ(reporter.messages.back().icon, MessageIcon::Exclamation);
}

// After a success, and the default after a failure, are proved by
// cli_recording_cli.
TEST_F(ImageBurnerTest, NoEjectHoldsAfterAFailure) {
    bench.Insert(MediumKind::CdR);
    BurnOptions options = UserImage(20 * kChunk);
    options.ejectDisc = false;
    bench.Drive().Faults().writeErrorLba = 0;
    EXPECT_EQ(Burn(options), BurnOutcome::Failed);
    EXPECT_EQ(bench.Count(0x1B), 0u);
    EXPECT_FALSE(bench.Drive().TrayOpen());
}

TEST_F(ImageBurnerTest, AnImageThatCannotBeReadMidwayEndsTheRecordingNamingTheFile) {
    bench.Insert(MediumKind::CdR);
    const BurnOptions options = UserImage(20 * kChunk);
    reporter.onCancelCheck = [&] {
        if (bench.Count(0x2A) == 3) fs::resize_file(options.imagePath, 3 * kChunk);
    };
    EXPECT_EQ(Burn(options), BurnOutcome::Failed);
    EXPECT_EQ(bench.Count(0x2A), 3u);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages.back().title, "错误");
    EXPECT_NE(reporter.LastMessage().find("Read error - " + options.imagePath), std::string::npos);
    EXPECT_EQ(bench.Count(0x35), 1u);  // the track was closed
}

TEST_F(ImageBurnerTest, AUserImageIsNotComparedWithTheDiscKindAndDvdRTakesIncrementalWriting) {
    bench.Insert(MediumKind::DvdR);
    BurnOptions options = UserImage(20 * kChunk);  // disc kind 0 (CD): ignored for task 2
    options.writeSpeed = SpeedEntryOf(4);
    EXPECT_EQ(Burn(options), BurnOutcome::Completed) << reporter.LastMessage();
    EXPECT_EQ(bench.Drive().WriteParameters()[2] & 0x0F, 0);  // write type 0
    EXPECT_EQ(Track1(), ReadFile(options.imagePath));
    EXPECT_EQ(bench.Cdbs(0xBB).back()[4] << 8 | bench.Cdbs(0xBB).back()[5], 4 * 1385);
}

TEST_F(ImageBurnerTest, RefusalsSayWhyBeforeAnythingIsRecorded) {
    struct Refusal {
        const char* name;
        std::function<BurnOptions()> prepare;
        std::string message;  // "TITLE|TEXT", the text as far as given
    };
    const auto userImage = [this] { return UserImage(20 * kChunk); };
    const auto imageAt = [](const std::string& path) {
        BurnOptions options;
        options.imagePath = path;
        return options;
    };
    const Refusal refusals[] = {
        {"no image", [] { return BurnOptions{}; }, "提示|请先添加一个.ISO映像文件!"},
        {"a folder", [&] { return imageAt(bench.File("")); },
         "提示|请先添加一个.ISO映像文件!\n" + bench.File("") + " is not a regular file"},
        {"never ready",
         [&] {
             bench.Drive().Faults().notReadyCommands = 1000;
             return userImage();
         },
         "提示|您的刻录机正在忙碌中！"},
        {"disc state unreadable",
         [&] {
             bench.Drive().Faults().failures.push_back({0x51, 0, 1, 0x02, 0x04, 0x01});
             return userImage();
         },
         "提示|碟片不是空白的，请更换一张碟片或抹除后再进行刻录..."},
        {"a DVD for a CD copy",
         [this] {
             bench.Insert(MediumKind::DvdR);
             return TemporaryImageOf(3, 20 * kChunk, 0);
         },
         "提示|您入放的是一张DVD碟片，请更换成CD-R or CD-RW碟片再进行刻录!"},
    };
    for (const Refusal& refusal : refusals) {
        bench.Insert(MediumKind::CdR);
        bench.Drive().Faults() = {};
        const BurnOptions options = refusal.prepare();
        bench.Transport().ClearCommandLog();
        reporter = ScriptedReporter();
        EXPECT_EQ(Burn(options), BurnOutcome::Refused) << refusal.name;
        ASSERT_EQ(reporter.Messages().size(), 1u) << refusal.name;
        EXPECT_EQ(reporter.Messages()[0].find(refusal.message), 0u) << reporter.Messages()[0];
        EXPECT_EQ(bench.Count(0x2A) + bench.Count(0x55) + bench.Count(0xBB), 0u) << refusal.name;
    }
}

TEST_F(ImageBurnerTest, AFailedFlushIsNotReportedAsACompletedRecording) {
    bench.Insert(MediumKind::CdR);
    bench.Drive().Faults().failures.push_back({0x35, 0, 1, 0x03, 0x0C, 0x00});
    const BurnOptions options = TemporaryImageOf(0, 20 * kChunk);
    EXPECT_EQ(Burn(options), BurnOutcome::CompletedWithErrors);
    EXPECT_EQ(bench.Count(0x5B), 2u);  // the track and session are still closed
    EXPECT_EQ(bench.Count(0x1B), 1u);
    EXPECT_EQ(reporter.events.back(), "message:错误|SYNCHRONIZE CACHE failed.");
    EXPECT_EQ(reporter.messages.back().icon, MessageIcon::Exclamation);
    EXPECT_TRUE(fs::exists(options.imagePath));  // kept for another try
    bench.Insert(MediumKind::CdR);
    bench.Drive().Faults().failures = {{0x5B, 0, 1, 0x05, 0x2C, 0x00}};
    EXPECT_EQ(Burn(UserImage(20 * kChunk)), BurnOutcome::CompletedWithErrors);
    EXPECT_EQ(reporter.events.back(), "message:错误|关闭轨道(Track)失败!");
}

// The verification goes on with the recording's clock: the elapsed time
// never goes back, and ends with the whole job's time.
TEST_F(ImageBurnerTest, TheElapsedTimeRunsOnThroughTheVerification) {
    std::int64_t now = 0;
    SetClockHandler([&] { return now += 100; });  // every reading a tenth of a second later
    bench.Insert(MediumKind::CdR);
    BurnOptions options = UserImage(20 * kChunk);
    options.verify = true;
    options.ejectDisc = false;
    const BurnOutcome outcome = Burn(options);
    SetClockHandler({});
    ASSERT_EQ(outcome, BurnOutcome::Completed);
    ASSERT_NE(reporter.LastMessage().find("校验"), std::string::npos);
    ASSERT_GE(reporter.elapsed.size(), 2u);
    EXPECT_TRUE(std::ranges::is_sorted(reporter.elapsed))
        << ::testing::PrintToString(reporter.elapsed);
    EXPECT_NE(reporter.elapsed.back(), "00:00:00");
}

// Deleted after a real recording: cli_recording_cli (burn --temporary).
TEST_F(ImageBurnerTest, ATemporaryImageIsKeptAfterATestRunOrAFailure) {
    bench.Insert(MediumKind::CdR);
    BurnOptions options = TemporaryImageOf(3, 20 * kChunk);
    options.testMode = true;  // a test run records nothing, and says so
    EXPECT_EQ(Burn(options), BurnOutcome::Completed);
    EXPECT_TRUE(fs::exists(options.imagePath));
    EXPECT_EQ(reporter.LastMessage(), "刻录完成!\n测试模式：光碟上没有刻录任何内容。");
    bench.Insert(MediumKind::CdR);
    bench.Drive().Faults().writeErrorLba = 0;  // a failure: kept for another try
    options.testMode = false;
    EXPECT_EQ(Burn(options), BurnOutcome::Failed);
    EXPECT_TRUE(fs::exists(options.imagePath));
}
