// The small parts of the recording engines: progress display, the image file,
// the temporary image rule, the volume size of a primary volume descriptor,
// the hashes the verification compares.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>

#include "BlockHashes.h"
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

// Whatever the pieces a recording sends, each group of 32 blocks (counted
// from a run's start, the last one shorter) has the hash of its bytes read
// back in one piece; a gap or another block size starts a new run.
TEST(BlockHashes, OneHashPerGroupOf32BlocksWhateverThePiecesSent) {
    constexpr std::size_t kBlock = 2048;
    std::vector<std::uint8_t> data(100 * kBlock);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7 / 3);
    BlockHashes hashes;
    for (std::size_t at = 0; at < 100; at += 27)
        hashes.Add(
            500 + static_cast<std::int64_t>(at), 2048,
            std::span(data).subspan(at * kBlock, std::min<std::size_t>(27, 100 - at) * kBlock));
    hashes.Add(700, 2048, std::span(data).first(kBlock));
    hashes.Add(701, 2352, std::span(data).first(2352));
    ASSERT_EQ(hashes.Runs().size(), 3u);
    const BlockHashes::Run& run = hashes.Runs()[0];
    EXPECT_EQ(run.firstLba, 500);
    EXPECT_EQ(run.blocks, 100);
    ASSERT_EQ(run.hashes.size(), 4u);
    for (std::size_t group = 0; group < 4; ++group)
        EXPECT_EQ(run.hashes[group],
                  BlockHashes::Of(std::span(data).subspan(
                      group * 32 * kBlock, std::min<std::size_t>(32, 100 - group * 32) * kBlock)))
            << "group " << group;
    EXPECT_EQ(hashes.Runs()[1].hashes,
              std::vector<std::uint64_t>{BlockHashes::Of(std::span(data).first(kBlock))});
    EXPECT_EQ(hashes.Runs()[2].blockSize, 2352);
    EXPECT_EQ(hashes.BlockCount(), 102);
}
