// Test mode only where the medium's recorders can simulate: elsewhere the
// drive would record for real, so the recording is refused untouched.
#include <gtest/gtest.h>

#include "ImageBurner.h"
#include "RecordingTestEnvironment.h"
#include "clsEmulatedDrive.h"

namespace {
TEST(TestMode, IsRefusedBeforeAnythingIsWrittenOnMediaWithoutSimulation) {
    IsolatedProgramFolders folders;
    VirtualDriveSession bench;
    BurnOptions options;
    options.imagePath = bench.Put("user.iso", RandomImage(20 * 32768, 9));
    options.testMode = true;
    const std::pair<MediumKind, const char*> refused[] = {{MediumKind::DvdPlusR, "DVD+R"},
                                                          {MediumKind::DvdPlusRw, "DVD+RW"}};
    for (const auto& [kind, name] : refused) {
        ASSERT_EQ(bench.Drive().InsertBlank(kind), "");
        bench.Transport().ClearCommandLog();
        EventReporter reporter(&bench.Transport());
        EXPECT_EQ(ImageBurner(reporter, options).Burn(bench.Id()), BurnOutcome::Refused);
        EXPECT_EQ(reporter.LastMessage(), std::string(name) +
                                              " 光碟不能进行测试刻录：刻录机会真正写入这张光碟。"
                                              "请取消测试模式，或改用 CD-R/RW 或 DVD-R/RW 光碟。");
        EXPECT_EQ(bench.Count(0x55), 0u);
        EXPECT_EQ(bench.Count(0x2A), 0u);
        EXPECT_EQ(bench.Drive().Media().recordedEnd, 0);
        EXPECT_TRUE(bench.Drive().Media().tracks.empty());
    }
    for (const MediumKind kind :
         {MediumKind::CdR, MediumKind::CdRw, MediumKind::DvdR, MediumKind::DvdRw}) {
        SCOPED_TRACE(TraitsOf(kind).name);
        ASSERT_EQ(bench.Drive().InsertBlank(kind), "");
        EventReporter reporter(&bench.Transport());
        EXPECT_EQ(ImageBurner(reporter, options).Burn(bench.Id()), BurnOutcome::Completed);
        EXPECT_EQ(bench.Drive().Media().State(), DiscState::Blank) << "simulated only";
    }
}
}  // namespace
