// What the user is told when a recording or copy fails or half-succeeds:
// the drive's own reason once the retries gave up, and a refused close on a
// medium that needs none as a warning, never hidden by the success text.
#include <gtest/gtest.h>

#include "DiscCopier.h"
#include "ImageBurner.h"
#include "RecordingTestEnvironment.h"
#include "clsEmulatedDrive.h"

namespace {
class FailureNames : public ::testing::Test {
  protected:
    BurnOutcome Burn(MediumKind kind) {
        EXPECT_EQ(bench.Drive().InsertBlank(kind), "");
        BurnOptions options;
        options.imagePath = bench.Put("user.iso", RandomImage(20 * 32768, 2));
        reporter = ScriptedReporter();
        return ImageBurner(reporter, options).Burn(bench.Id());
    }
    // Fails `count` commands of `opcode` after `skip` with the sense key/asc/ascq.
    void Fail(std::uint8_t opcode, int skip, int count, std::uint8_t key, std::uint8_t asc,
              std::uint8_t ascq) {
        bench.Drive().Faults().failures.push_back({opcode, skip, count, key, asc, ascq});
    }

    IsolatedProgramFolders folders;
    VirtualDriveSession bench;
    ScriptedReporter reporter;
};

// The last line says what the disc holds (DiscAfterFailure); the write
// error and the slow drive keep the recorder's own text and name the cause
// on a line between.
TEST_F(FailureNames, AWriteThatKeepsFailingIsNamedByTheSense) {
    const std::string closed =
        "光碟现在已封闭：第 1 条轨道只有 302 个区块，数据不完整，光碟不能再写入。"
        "这张一次性写入的光碟已无法再使用。";
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { bench.Drive().Faults().removeMediumAfterWrites = 2; },
         "光碟已被取出。 (02/3A/02)\n光碟机中已没有光碟。"},
        {[&] { Fail(0x2A, 2, 62, 0x05, 0x21, 0x00); },
         "光碟已满：光碟机拒绝写入超出光碟末尾的区块。 (05/21/00)\n" + closed},
        {[&] { Fail(0x2A, 2, 62, 0x02, 0x04, 0x01); }, "光碟机未就绪。 (02/04/01)\n" + closed},
        {[&] { Fail(0x2A, 2, 62, 0x05, 0x2C, 0x00); },
         "光碟机拒绝了写入命令。 (05/2C/00)\n" + closed},
        {[&] { Fail(0x2A, 2, 62, 0x02, 0x04, 0x08); },
         "Long write - 单次刻录时间超过6000ms!\n"
         "光碟机报告的原因：长时间写入仍在进行（02/04/08）。\n" +
             closed},
        {[&] { Fail(0x2A, 2, 1, 0x03, 0x0C, 0x00); },
         "刻录出错 (Buffer Under-Run?)\n光碟机报告的原因：写入错误（03/0C/00）。\n" + closed},
    };
    for (const auto& [inject, message] : cases) {
        ASSERT_EQ(bench.Drive().InsertBlank(MediumKind::CdR), "");
        inject();
        EXPECT_EQ(Burn(MediumKind::CdR), BurnOutcome::Failed);
        EXPECT_EQ(reporter.LastMessage(), message);
        bench.Drive().Faults() = {};
    }
}

// What the disc holds after a write error, as the drive tells it before the
// tray opens: the disc and the finalise option decide.
TEST_F(FailureNames, TheLastLineSaysWhatTheDiscHoldsNow) {
    const struct {
        MediumKind kind;
        bool fixDisc;
        int goodWrites;
        std::string discNow;
    } cases[] = {
        {MediumKind::CdR, false, 2,
         "光碟现在可以追加：第 1 条轨道只有 302 个区块，数据不完整；"
         "光碟的其余空间还可以刻录新的区段。"},
        {MediumKind::CdRw, true, 2,
         "光碟现在已封闭：第 1 条轨道只有 302 个区块，数据不完整，光碟不能再写入。"
         "请先抹除这张光碟，再重新刻录。"},
        {MediumKind::CdR, true, 0, "光碟仍是空白的：没有写入任何内容，可以再次刻录。"},
        {MediumKind::DvdPlusRw, true, 2,
         "光碟上只有部分新数据：请重新刻录或抹除这张光碟后再使用。"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(bench.Drive().InsertBlank(c.kind), "");
        Fail(0x2A, c.goodWrites, 1, 0x03, 0x0C, 0x00);
        BurnOptions options;
        options.imagePath = bench.Put("user.iso", RandomImage(20 * 32768, 2));
        options.fixDisc = c.fixDisc;
        reporter = ScriptedReporter();
        EXPECT_EQ(ImageBurner(reporter, options).Burn(bench.Id()), BurnOutcome::Failed);
        const std::string message = reporter.LastMessage();
        EXPECT_EQ(message.substr(message.rfind('\n') + 1), c.discNow);
        EXPECT_TRUE(bench.Drive().TrayOpen()) << "read before the eject";
        bench.Drive().Faults() = {};
    }
}

TEST_F(FailureNames, AReadThatKeepsFailingIsNamedByTheSense) {
    const std::pair<std::uint8_t, std::string> cases[] = {
        {0x64, "这张光碟含有音轨，无法作为数据复制。 (05/64/00)"},
        {0x21, "光碟机拒绝读取超出光碟末尾的区块。 (05/21/00)"},
    };
    ASSERT_EQ(bench.Drive().InsertImage(MediumKind::CdRom,
                                        bench.Put("disc.iso", RandomImage(100 * 2048, 3))),
              "");
    for (const auto& [asc, message] : cases) {
        // After the probe and sectors 0-31: the read of 32-63, then sector 32 62 times.
        Fail(0x28, 2, 1 + 62, 0x05, asc, 0x00);
        reporter = ScriptedReporter();
        DiscCopier copier(reporter, {true, false, DefaultSpeedEntry()});
        EXPECT_EQ(copier.Next(bench.Id(), [&] { return bench.File("copy.iso"); }),
                  CopyOutcome::Failed);
        EXPECT_EQ(reporter.messages.back().text, message);
        bench.Drive().Faults() = {};
    }
}

// Neither the Write Parameters page nor a close matters on a DVD+RW.
TEST_F(FailureNames, ARefusedCloseOnADvdPlusRwIsAWarningThatStays) {
    Fail(0x55, 0, 1, 0x05, 0x26, 0x00);
    Fail(0x5B, 0, 2, 0x05, 0x24, 0x00);
    EXPECT_EQ(Burn(MediumKind::DvdPlusRw), BurnOutcome::Completed);
    EXPECT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages.back().icon, MessageIcon::Exclamation);
    EXPECT_EQ(
        reporter.LastMessage(),
        "关闭轨道(Track)失败!\n数据已写入光碟；刻录机只是拒绝了关闭命令，这种光碟不需要关闭。");
    EXPECT_EQ(reporter.phases.back(), "关闭轨道(Track)失败!");
    EXPECT_EQ(std::count(reporter.phases.begin(), reporter.phases.end(), "刻录完成!"), 0);
    EXPECT_EQ(bench.Drive().Media().recordedEnd, 320);
}
}  // namespace
