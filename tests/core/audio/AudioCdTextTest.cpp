// CD-TEXT, ISRCs and the catalogue number of a Disc-At-Once recording: sent
// into the lead-in and the cue sheet, read back as a player's drive reads
// them; a drive that cannot write R-W sub-channel gets the sound without text.
#include <gtest/gtest.h>

#include "AudioBurnSession.h"
#include "AudioDiscCodes.h"
#include "EmuDrive.h"

namespace {

constexpr std::int64_t kSector = 2352;

AudioBurnOptions WithTexts() {
    AudioBurnOptions options;
    options.discAtOnce = true;
    options.ejectDisc = false;
    options.cdText.disc = {"Album", "Maple Trio", ""};
    options.cdText.tracks = {{"First", "Maple Trio", "Ann"}, {"Second", "Guest", ""}};
    options.catalogue = "4006381333931";
    options.isrcs = {"DEA123400001", ""};
    return options;
}

TEST(AudioCdText, TheLeadInCarriesTheTextsAndTheCueSheetTheCodes) {
    AudioBurnSession bench;
    bench.Insert(MediumKind::CdR);
    const std::string one = bench.PutCdda("one.wav", 300 * kSector, 1);
    const std::string two = bench.PutCdda("two.wav", 310 * kSector, 2);
    ASSERT_EQ(bench.Start({one, two}, WithTexts()), AudioBurnOutcome::Completed)
        << ::testing::PrintToString(bench.reporter.Messages());
    // From the ATIP's lead-in start in 96-byte blocks, then from -150 on.
    const auto writes = bench.Writes();
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(static_cast<std::int32_t>(writes.front().first), -11559);
    std::int64_t leadInBlocks = 0;
    for (const auto& [lba, blocks] : writes)
        if (static_cast<std::int32_t>(lba) < -150) leadInBlocks += blocks;
    EXPECT_EQ(leadInBlocks, 11559 - 150);

    const AudioDiscCodes codes = AudioDiscCodes::Read(bench.Id());
    EXPECT_EQ(codes.cdText.badPacks, 0);
    EXPECT_EQ(codes.cdText.text, WithTexts().cdText);
    EXPECT_EQ(codes.catalogue, "4006381333931");
    EXPECT_EQ(codes.isrcs, (std::vector<std::string>{"DEA123400001", ""}));
    EXPECT_EQ(bench.Track(2), CddaData(two)) << "the sound as without text";
}

TEST(AudioCdText, ADriveWithoutRwWritingRecordsTheSoundAndSaysSo) {
    AudioBurnSession bench;
    bench.Insert(MediumKind::CdR);
    bench.Drive().Faults().noRwSubChannel = true;
    const std::string one = bench.PutCdda("one.wav", 300 * kSector, 1);
    ASSERT_EQ(bench.Start({one}, WithTexts()), AudioBurnOutcome::Completed);
    ASSERT_EQ(bench.reporter.Messages().size(), 2u)
        << ::testing::PrintToString(bench.reporter.Messages());
    EXPECT_EQ(bench.reporter.Messages()[0],
              "提示|此刻录机不能在导入区写入CD-TEXT,光碟将不带CD-TEXT(曲目信息)刻录。");
    EXPECT_EQ(static_cast<std::int32_t>(bench.Writes().front().first), -150);
    const AudioDiscCodes codes = AudioDiscCodes::Read(bench.Id());
    EXPECT_FALSE(codes.cdText.readable);
    EXPECT_EQ(codes.isrcs, std::vector<std::string>{"DEA123400001"}) << "the codes still go";
}

TEST(AudioCdText, VerifyReadsTheTextsAndCodesBackAndNamesEachDifference) {
    AudioBurnSession bench;
    bench.Insert(MediumKind::CdR);
    const std::string one = bench.PutCdda("one.wav", 300 * kSector, 1);
    const std::string two = bench.PutCdda("two.wav", 300 * kSector, 2);
    AudioBurnOptions options = WithTexts();
    options.verify = true;
    ASSERT_EQ(bench.Start({one, two}, options), AudioBurnOutcome::Completed);
    ASSERT_FALSE(bench.reporter.Messages().empty());
    EXPECT_NE(bench.reporter.Messages().back().find("\nCD-TEXT、ISRC与目录号已校验。"),
              std::string::npos)
        << bench.reporter.Messages().back();

    // The recorder spoils the second pack ("Second" of track 2): its CRC no
    // longer matches, the text reads back empty.
    bench.reporter.messages.clear();
    bench.Insert(MediumKind::CdR);
    bench.Drive().Faults().corruptCdText = true;
    ASSERT_EQ(bench.Start({one, two}, options), AudioBurnOutcome::CompletedWithErrors);
    EXPECT_EQ(bench.reporter.Messages().back(),
              "错误|音轨2的CD-TEXT TITLE与刻录时发送的不符: 发送\"Second\",读回\"\"。");
}

}  // namespace
