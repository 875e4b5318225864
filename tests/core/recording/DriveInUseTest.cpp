// A recording, erase or copy refused, untouched, while another program holds the drive.
#include <gtest/gtest.h>

#include "AudioBurnEngine.h"
#include "DiscCopier.h"
#include "EraseEngine.h"
#include "ImageBurner.h"
#include "RecordingTestEnvironment.h"
#include "clsEmulatedDrive.h"

namespace {
TEST(DriveInUse, EveryOperationIsRefusedWithoutACommandThatChangesTheDisc) {
    IsolatedProgramFolders folders;
    VirtualDriveSession bench;
    ASSERT_EQ(bench.Drive().InsertBlank(MediumKind::CdRw), "");
    clsEmulatedDrive other({bench.Drive().Folder()});
    ASSERT_EQ(other.ClaimDrive("virtual0"), "");
    BurnOptions options;
    options.imagePath = bench.Put("user.iso", RandomImage(20 * 32768, 1));
    const std::string inUse = "光碟机正被另一个程序使用";
    EventReporter reporter(&bench.Transport());
    EXPECT_EQ(ImageBurner(reporter, options).Burn(bench.Id()), BurnOutcome::Refused);
    EXPECT_EQ(reporter.LastMessage(), inUse);
    EXPECT_EQ(AudioBurnEngine(reporter, {}).StartAudioBurn(bench.Id(), {bench.File("a.wav")}),
              AudioBurnOutcome::Refused);
    EXPECT_EQ(reporter.LastMessage(), inUse);
    EXPECT_EQ(DiscCopier(reporter, {}).Next(bench.Id(), {}), CopyOutcome::Stopped);
    EXPECT_EQ(reporter.LastMessage(), inUse);
    EXPECT_EQ(EraseEngine(reporter).Run(bench.Id(), true), EraseOutcome::InUse);
    EXPECT_EQ(reporter.LastMessage(), inUse);
    EXPECT_TRUE(bench.Transport().CommandLog().empty());
    other.ReleaseDrive("virtual0");
    EXPECT_EQ(ImageBurner(reporter, options).Burn(bench.Id()), BurnOutcome::Completed);
}
}  // namespace
