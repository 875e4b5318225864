// The small parts of the recording engines: progress display, the image file,
// the temporary image rule, the volume size of a primary volume descriptor.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>

#include "ImageFileWriter.h"
#include "MonotonicClock.h"
#include "ProgressDisplay.h"
#include "RecordingTestEnvironment.h"
#include "ScriptedReporter.h"
#include "TemporaryImage.h"
#include "VolumeSpaceSize.h"

namespace fs = std::filesystem;

TEST(ProgressDisplay, PercentRunsOneAheadOfTheBarStopsAt100AndDoesNotOverflow) {
    ScriptedReporter reporter;
    ProgressDisplay display(reporter);
    display.Start();
    display.Update(4, 1000);  // 0.4 % -> bar 0, "1%"
    display.Update(16, 17);   // 94.1 % -> bar 94, "95%"
    display.Update(32, 17);   // 188 %: the bar keeps 94, the text says 100
    ASSERT_EQ(reporter.progress, (std::vector<int>{0, 94}));
    EXPECT_EQ(reporter.percents, (std::vector<std::string>{"1%", "95%", "100%"}));
    display.Update(17, 17);
    EXPECT_EQ(reporter.progress.back(), 100);
    display.Update(0, 0);  // an empty job is done
    EXPECT_EQ(reporter.percents.back(), "100%");
    // A 4.7 GB DVD image: 2295104 blocks; the product with 100 passes 2^31.
    display.Update(2295104 / 2, 2295104);
    EXPECT_EQ(reporter.progress.back(), 50);
    EXPECT_EQ(reporter.percents.back(), "51%");
}

TEST(ProgressDisplay, ElapsedTimeIsShownOncePerSecond) {
    std::int64_t now = 0;
    SetClockHandler([&] { return now; });
    ScriptedReporter reporter;
    ProgressDisplay display(reporter);
    display.Start();
    now = 3725 * 1000;
    display.Update(1, 2);
    now += 400;  // same second: nothing new to show
    display.Update(1, 2);
    SetClockHandler({});
    EXPECT_EQ(reporter.elapsed, (std::vector<std::string>{"01:02:05"}));
}

TEST(PrimaryVolumeSpaceSize, ReadsOnlyAStrictPrimaryDescriptor) {
    std::array<std::uint8_t, 2048> sector{};
    const auto make = [&](std::uint32_t little, std::uint32_t big) {
        sector.fill(0);
        sector[0] = 1;
        std::memcpy(&sector[1], "CD001", 5);
        sector[6] = 1;
        for (int i = 0; i < 4; ++i) {
            sector[80 + i] = static_cast<std::uint8_t>(little >> (8 * i));
            sector[87 - i] = static_cast<std::uint8_t>(big >> (8 * i));
        }
    };
    make(359000, 359000);
    EXPECT_EQ(PrimaryVolumeSpaceSize(sector), 359000);
    make(1000, 1001);  // halves disagree
    EXPECT_EQ(PrimaryVolumeSpaceSize(sector), 0);
    // A supplementary descriptor, version 2, and "CDX01" (which the loose "C
    // at 1 or D at 2" test would accept).
    for (const auto& [at, value] : {std::pair{0, '\2'}, {6, '\2'}, {3, 'X'}}) {
        make(1000, 1000);
        sector[at] = static_cast<std::uint8_t>(value);
        EXPECT_EQ(PrimaryVolumeSpaceSize(sector), 0) << at;
    }
    EXPECT_EQ(PrimaryVolumeSpaceSize(std::span(sector).first(100)), 0);
}

TEST(ImageFileWriter, TheImageTakesItsNameOnlyWhenCompleteAndNeverWritesThroughALink) {
    TempFolder folder;
    const std::string path = folder.File("copy.iso");
    WriteFile(path, "older image");
    // A link planted where a partial file could be expected is left alone.
    WriteFile(folder.File("victim"), "victim");
    fs::create_symlink(folder.File("victim"), path + ".part");
    {
        ImageFileWriter writer;
        ASSERT_TRUE(writer.Create(path));
        const std::vector<std::uint8_t> bytes(3000, 7);
        ASSERT_TRUE(writer.Write(bytes));
        EXPECT_TRUE(HasPartialFile(path));
        EXPECT_EQ(ReadFile(path), "older image");  // abandoned below
    }
    EXPECT_FALSE(HasPartialFile(path));
    EXPECT_EQ(ReadFile(path), "older image");
    ImageFileWriter writer;
    ASSERT_TRUE(writer.Create(path));
    const std::vector<std::uint8_t> bytes(2 << 20, 9);  // more than the write buffer
    ASSERT_TRUE(writer.Write(bytes));
    ASSERT_TRUE(writer.Commit());
    EXPECT_EQ(fs::file_size(path), bytes.size());
    EXPECT_FALSE(HasPartialFile(path));
    EXPECT_EQ(ReadFile(folder.File("victim")), "victim");
}

TEST(TemporaryImage, OnlyTheRememberedImageInTheTempFolderIsEverDeleted) {
    IsolatedProgramFolders::Reset();
    const std::string temp = IsolatedProgramFolders::Temp() + "/tempiso.iso";
    TempFolder elsewhere;
    const std::string own = elsewhere.File("own.iso");
    WriteFile(temp, "t");
    WriteFile(own, "u");
    // Task 2: nothing is temporary, whatever was remembered.
    EXPECT_FALSE(TemporaryImage(2, temp).DeleteIfCovered(temp));
    // Another path than the remembered one.
    EXPECT_FALSE(TemporaryImage(3, temp).DeleteIfCovered(own));
    // A remembered path outside the temp folder (a stale or edited setting).
    EXPECT_FALSE(TemporaryImage(0, own).DeleteIfCovered(own));
    EXPECT_TRUE(fs::exists(own));
    EXPECT_TRUE(fs::exists(temp));
    EXPECT_TRUE(TemporaryImage(0, temp).DeleteIfCovered(temp));
    EXPECT_FALSE(fs::exists(temp));
}
