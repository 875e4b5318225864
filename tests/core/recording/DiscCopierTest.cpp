// Disc copies on the virtual drive: sector counts, the retry and BadCopy
// rules, failures that leave no image behind, and the hand-over to recording.
#include <gtest/gtest.h>

#include <filesystem>

#include "DiscCopier.h"
#include "DriveBusy.h"
#include "ImageBurner.h"
#include "RecordingTestEnvironment.h"
#include "RecordingTransport.h"
#include "SettingsStore.h"
#include "clsEmulatedDrive.h"

namespace fs = std::filesystem;

namespace {
class DiscCopierTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reporter.commandCount = [this] { return bench.Transport().CommandLog().size(); };
    }
    // A finished disc of `kind` holding `content`.
    void InsertDisc(MediumKind kind, const std::string& content) {
        const std::string source = bench.File("source.iso");
        WriteFile(source, content);
        ASSERT_EQ(bench.Drive().InsertImage(kind, source), "");
    }
    // Copies to a file of the user's choice.
    CopyOutcome CopyToFile(const std::string& path, bool badCopy = false, int sectorsPerRead = 32) {
        DiscCopier copier(reporter, {true, badCopy, DefaultSpeedEntry(), sectorsPerRead});
        const CopyOutcome outcome = copier.Next(bench.Id(), [&] { return path; });
        skipped = copier.SkippedSectors();
        return outcome;
    }

    IsolatedProgramFolders folders;
    VirtualDriveSession bench;
    ScriptedReporter reporter;
    std::int64_t skipped = 0;
};
}  // namespace

// The image itself: ChunkedReadsMakeTheSectorBySectorImage.
TEST_F(DiscCopierTest, ACopyChecksTheDriveSetsTheSpeedAndSaysWhenTheImageIsSaved) {
    const std::string content = RandomImage(1001 * 2048, 5);
    InsertDisc(MediumKind::CdRom, content);
    const std::string out = bench.File("out.iso");
    EXPECT_EQ(CopyToFile(out), CopyOutcome::ImageSaved);
    // Drive check, the disc's family (not a DVD, not a BD), speed, capacity,
    // sessions and tracks, the volume probe, then the READ(10)s.
    EXPECT_EQ(HexBytes(bench.Opcodes()).substr(0, 29), "00 AD 46 AD 46 BB 25 51 52 28");
    EXPECT_EQ(HexBytes(bench.Cdbs(0xBB).back()),
              "BB 00 0B 00 FF FF 00 00 00 00 00 00");  // 16 x 176
    EXPECT_EQ(reporter.elapsed.front(), out);          // panel 3 names the file first
    EXPECT_EQ(reporter.percents.back(), "100%");
    EXPECT_EQ(reporter.events.back(),
              "message:信息|ISO文件创建成功!\n0 个无法读取的区块以零填充。");
    EXPECT_TRUE(reporter.busyAtCancelChecks);
    EXPECT_FALSE(AnyDriveBusy());
    EXPECT_EQ(GetProgramSetting("TempISO"), "");  // an image-only copy hands nothing over
    // A read speed the drive refuses is warned about and the copy goes on.
    bench.Drive().Faults().speedRequests = EmuFaults::SpeedRequests::Reject;
    EXPECT_EQ(CopyToFile(out), CopyOutcome::ImageSaved);
    EXPECT_EQ(reporter.messages.end()[-2].text,
              "WARNING: 碟机不支持所选定的读取倍速16x, 将以默认的速度读取!");
    EXPECT_EQ(reporter.messages.end()[-2].title, "提示");
    EXPECT_EQ(ReadFile(out), content);  // no volume: the whole track
}

TEST_F(DiscCopierTest, AnUnreadableSectorEndsTheCopyAfter62AttemptsAndLeavesNoImage) {
    InsertDisc(MediumKind::CdRom, RandomImage(101 * 2048, 5));
    bench.Drive().Faults().unreadable.push_back({40, 40});
    const std::string out = bench.File("out.iso");
    EXPECT_EQ(CopyToFile(out), CopyOutcome::Failed);
    EXPECT_EQ(bench.Sleeps(), 61);
    EXPECT_EQ(bench.SleptMs(), 6100);
    // The probe, sectors 0-31, the failed read of 32-63, then one by one up
    // to the bad sector, which is tried 62 times; nothing after it.
    EXPECT_EQ(bench.Count(0x28), 1u + 1 + 1 + 8 + 62);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(HasPartialFile(out));
    // Named by the drive's sense: the disc is damaged there, not slow.
    EXPECT_EQ(
        reporter.messages.back().text,
        "光碟在区块 40 处无法读取（光碟可能已损坏；BadCopy 会以零填充这样的区块）。 (03/11/00)");
    EXPECT_EQ(reporter.messages.back().title, "错误");
    EXPECT_EQ(reporter.events.back(), "phase:复制光盘到.ISO发生错误...");
}

// 32 sectors per READ(10); a range where that fails is read sector by
// sector. The image is the one a sector-by-sector copy makes: the source's
// sectors, zeros for those BadCopy filled.
TEST_F(DiscCopierTest, ChunkedReadsMakeTheSectorBySectorImage) {
    struct Case {
        const char* name;
        MediumKind kind;
        int blocks;                                   // of the source image
        std::vector<EmuFaults::LbaRange> unreadable;  // besides run-out blocks
        int copied;                                   // sectors in the image
        std::vector<int> zeros;                       // sectors BadCopy filled
        std::size_t reads;                            // READ(10), the volume probe included
    };
    // Without a volume the track is copied whole; its last two sectors, which
    // may be a CD's run-out, are read one by one at the end.
    const Case cases[] = {
        {"a whole disc", MediumKind::CdRom, 1001, {}, 1001, {}, 1 + 32 + 2},
        {"a track shorter than one read", MediumKind::CdRom, 20, {}, 20, {}, 1 + 1 + 2},
        // 0-31, 32-63 failing, then 30 good sectors and 2 x 62 attempts, 64-191, 192-198.
        {"unreadable sectors",
         MediumKind::CdRom,
         201,
         {{40, 41}},
         201,
         {40, 41},
         1 + 1 + 1 + 30 + 124 + 4 + 1 + 2},
        // The track's two run-out blocks cannot be read: the copy ends before them.
        {"the run-out of a Track At Once CD-R", MediumKind::CdR, 100, {}, 100, {}, 1 + 4 + 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string content = RandomImage(c.blocks * 2048, 7);
        InsertDisc(c.kind, content);
        bench.Drive().Faults().unreadable = c.unreadable;
        std::string expected = content.substr(0, c.copied * 2048);
        expected.resize(c.copied * 2048, '\0');
        for (const int sector : c.zeros) expected.replace(sector * 2048, 2048, 2048, '\0');
        bench.Transport().ClearCommandLog();
        EXPECT_EQ(CopyToFile(bench.File("fast.iso"), true), CopyOutcome::ImageSaved);
        EXPECT_EQ(skipped, static_cast<std::int64_t>(c.zeros.size()));
        EXPECT_EQ(bench.Count(0x28), c.reads);
        EXPECT_TRUE(ReadFile(bench.File("fast.iso")) == expected);
        EXPECT_EQ(CopyToFile(bench.File("single.iso"), true, 1), CopyOutcome::ImageSaved);
        EXPECT_TRUE(ReadFile(bench.File("single.iso")) == expected);
    }
}

// A sector is tried again only while the drive may still read it; one it
// cannot read is zero-filled with BadCopy. No medium, a changed medium or a
// refused command end the copy at once, BadCopy or not, with no image.
TEST_F(DiscCopierTest, TheSenseDecidesWhetherASectorIsTriedAgainGivenUpOrTheCopyEnds) {
    struct Case {
        const char* name;
        std::uint8_t key, asc, ascq;
        int attempts;  // of sector 5
        bool saved;
    };
    const Case cases[] = {
        {"medium error", 0x03, 0x11, 0x00, 62, true},
        {"hardware error", 0x04, 0x44, 0x00, 62, true},
        {"becoming ready", 0x02, 0x04, 0x01, 62, true},
        {"operation in progress", 0x02, 0x04, 0x07, 62, true},
        {"aborted command", 0x0B, 0x00, 0x00, 1, true},
        {"no medium", 0x02, 0x3A, 0x00, 1, false},
        {"medium changed", 0x06, 0x28, 0x00, 1, false},
        {"an audio track", 0x05, 0x64, 0x00, 1, false},
        {"beyond the end", 0x05, 0x21, 0x00, 1, false},
    };
    const std::string out = bench.File("out.iso");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InsertDisc(MediumKind::CdRom, RandomImage(40 * 2048, 5));
        // The volume probe and sectors 0-4 pass; every attempt at sector 5 fails.
        bench.Drive().Faults().failures = {{0x28, 6, c.attempts, c.key, c.asc, c.ascq}};
        bench.Transport().ClearCommandLog();
        const int sleeps = bench.Sleeps();
        EXPECT_EQ(CopyToFile(out, true, 1),
                  c.saved ? CopyOutcome::ImageSaved : CopyOutcome::Failed);
        EXPECT_EQ(bench.Sleeps() - sleeps, c.attempts - 1);
        EXPECT_EQ(bench.Count(0x28), 6u + c.attempts + (c.saved ? 34 : 0));
        EXPECT_EQ(fs::exists(out), c.saved);
        EXPECT_FALSE(HasPartialFile(out));
        EXPECT_EQ(skipped, c.saved ? 1 : 0);
        fs::remove(out);
    }
    // Zeros alone are no copy.
    InsertDisc(MediumKind::CdRom, RandomImage(40 * 2048, 5));
    bench.Drive().Faults().unreadable = {{0, 39}};
    EXPECT_EQ(CopyToFile(out, true), CopyOutcome::Failed);
    EXPECT_EQ(reporter.messages.back().text, "光碟上没有一个区块能够读取，没有保留映像文件。");
    EXPECT_FALSE(fs::exists(out));
}

// A blank disc (READ CAPACITY 0) is proved by cli_recording_cli.
TEST_F(DiscCopierTest, AFailedReadCapacityOrAnUncreatableImageFailsBeforeReading) {
    const std::string out = bench.File("out.iso");
    InsertDisc(MediumKind::CdRom, RandomImage(100 * 2048, 5));
    bench.Drive().Faults().failures.push_back({0x25, 0, 1, 0x03, 0x02, 0x00});  // -1
    EXPECT_EQ(CopyToFile(out), CopyOutcome::Failed);
    EXPECT_EQ(reporter.events.end()[-2], "message:错误|读取光盘失败！");
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(HasPartialFile(out));
    EXPECT_EQ(bench.Count(0x28), 0u);
    // An image that cannot be created: the window's text, then the cause.
    bench.Drive().Faults() = {};
    const std::string lost = bench.File("no/such/folder/out.iso");
    EXPECT_EQ(CopyToFile(lost), CopyOutcome::Failed);
    // The system's own reason follows; Windows words it by version and language.
    EXPECT_TRUE(reporter.events.end()[-2].starts_with("message:错误|文件" + lost +
                                                      "创建失败！\ncannot create " + lost + ": "));
    EXPECT_EQ(bench.Count(0x28), 0u);
}

TEST_F(DiscCopierTest, NoDiscABusyDriveAndACancelledDialogStopBeforeReading) {
    ASSERT_EQ(bench.Drive().RemoveMedium(), "");
    EXPECT_EQ(CopyToFile(bench.File("out.iso")), CopyOutcome::Refused);
    EXPECT_EQ(reporter.events.back(), "message:提示|您的光碟机中没有光碟片");
    InsertDisc(MediumKind::CdRom, RandomImage(100 * 2048, 5));
    bench.Drive().Faults().notReadyCommands = 1000;
    EXPECT_EQ(CopyToFile(bench.File("out.iso")), CopyOutcome::Refused);
    EXPECT_EQ(reporter.events.back(), "message:提示|您的刻录机正在忙碌中！");
    EXPECT_EQ(bench.SleptMs(), 15000);
    bench.Drive().Faults().notReadyCommands = 0;
    bench.Transport().ClearCommandLog();
    const std::size_t messages = reporter.messages.size();
    EXPECT_EQ(CopyToFile(""), CopyOutcome::Refused);  // the user cancelled the dialog
    EXPECT_EQ(reporter.messages.size(), messages);
    EXPECT_EQ(bench.Count(0x28) + bench.Count(0x25), 0u);
}

TEST_F(DiscCopierTest, CopyToDiscSavesTheSettingsEjectsAsksForABlankAndLoads) {
    const std::string content = RandomImage(300 * 2048, 5, 300);
    InsertDisc(MediumKind::DvdRom, content);
    const std::string temp = IsolatedProgramFolders::TempImage();
    WriteFile(temp, "an earlier copy");
    DiscCopier copier(reporter, {});
    bench.Transport().ClearCommandLog();
    EXPECT_EQ(copier.Next(bench.Id(), {}), CopyOutcome::ReadyToRecord);
    EXPECT_EQ(ReadFile(temp), content);
    EXPECT_EQ(GetProgramSetting("TempISO"), temp);
    EXPECT_EQ(GetProgramSetting("CDorDVD"), "1");
    const auto& log = bench.Transport().CommandLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(HexBytes(log[log.size() - 2].cdb), "1B 00 00 00 02 00");  // eject, waiting
    EXPECT_EQ(HexBytes(log.back().cdb), "1B 00 00 00 03 00");           // load, waiting
    EXPECT_EQ(reporter.events.back(), "message:提示|请放入一张空白光碟片,并点击确定继续");
    EXPECT_EQ(reporter.messages.back().commandsBefore, log.size() - 1);  // between the two
    EXPECT_EQ(reporter.elapsed.front(), temp);
}

TEST_F(DiscCopierTest, AFailedCopyToDiscLeavesNoTemporaryImage) {
    const std::string temp = IsolatedProgramFolders::TempImage();
    WriteFile(temp, "an earlier copy");
    ASSERT_EQ(bench.Drive().InsertBlank(MediumKind::CdR), "");
    DiscCopier copier(reporter, {});
    EXPECT_EQ(copier.Next(bench.Id(), {}), CopyOutcome::Failed);
    EXPECT_FALSE(fs::exists(temp));
    EXPECT_EQ(reporter.phases.back(), "复制光盘发生错误...");
    EXPECT_EQ(bench.Count(0x1B), 0u);
}
