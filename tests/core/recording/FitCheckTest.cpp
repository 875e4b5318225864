// The fit check: a recording larger than the blank's free space is refused,
// naming both sizes, before anything that changes the disc is sent. Images
// and sounds are sparse files; a recording that passes is stopped at its
// first block, so no test writes a whole disc.
#include <gtest/gtest.h>

#include <fstream>

#include "AudioBurnEngine.h"
#include "CddaWaveHeader.h"
#include "ImageBurner.h"
#include "RecordingTestEnvironment.h"
#include "clsEmulatedDrive.h"

namespace {
constexpr std::int64_t kChunk = 32768;
constexpr std::int64_t kCdCapacity = 359849;    // blocks of a blank 80-minute CD-R
constexpr std::int64_t kDvdCapacity = 2295104;  // blocks of a blank DVD+RW

class FitCheck : public ::testing::Test {
  protected:
    // A sparse file of `bytes` bytes starting with `head`. Grown by a write at
    // its end, not resize_file: MinGW's refuses sizes beyond the free space.
    std::string Sparse(const std::string& name, const std::string& head, std::int64_t bytes) {
        const std::string path = bench.Put(name, head);
        if (bytes > static_cast<std::int64_t>(head.size())) {
            std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
            file.seekp(bytes - 1);
            file.put('\0');
            EXPECT_TRUE(file.flush().good()) << path;
        }
        return path;
    }
    BurnOutcome Burn(MediumKind kind, std::int64_t imageBytes) {
        EXPECT_EQ(bench.Drive().InsertBlank(kind), "");
        BurnOptions options;
        options.imagePath = Sparse("big.iso", "", imageBytes);
        return ImageBurner(reporter, options).Burn(bench.Id());
    }
    // A CD-DA WAV file whose sound takes `sectors` sectors.
    std::string Cdda(const std::string& name, std::int64_t sectors) {
        const auto header = CddaWaveHeader(44 + sectors * 2352);
        return Sparse(name, std::string(header.begin(), header.end()), 44 + sectors * 2352);
    }
    // The recording passed its checks and was stopped before its first block.
    void ExpectPassed() {
        EXPECT_EQ(reporter.messages.back().title, "已停止") << reporter.LastMessage();
        EXPECT_EQ(bench.Count(0x2A), 0u);
    }
    void ExpectRefused(const std::vector<std::string>& texts) {
        for (const std::string& text : texts)
            EXPECT_NE(reporter.LastMessage().find(text), std::string::npos)
                << text << " in " << reporter.LastMessage();
        EXPECT_EQ(bench.Count(0x55), 0u) << "no Write Parameters page";
        EXPECT_EQ(bench.Count(0x2A), 0u);
        EXPECT_TRUE(bench.Drive().Media().tracks.empty());
        EXPECT_EQ(bench.Drive().Media().recordedEnd, 0);
    }

    IsolatedProgramFolders folders;
    VirtualDriveSession bench;
    ScriptedReporter reporter;
};

// 22,490 chunks of 16 blocks and the two run-out blocks of a CD track fill
// all but 7 blocks of the CD-R; one byte more needs another chunk. The free
// space comes from READ TRACK INFORMATION, or from the lead-out of READ DISC
// INFORMATION when the drive does not answer that.
TEST_F(FitCheck, AnImageMustFitTheFreeBlocksOfACd) {
    for (const bool trackInformation : {true, false}) {
        SCOPED_TRACE(trackInformation ? "track information" : "disc information");
        const auto refuseTrackInformation = [&] {
            if (!trackInformation)
                bench.Drive().Faults().failures.push_back({0x52, 0, 1, 5, 0x24, 0});
        };
        reporter = ScriptedReporter();
        reporter.cancelAt = 1;
        bench.Transport().ClearCommandLog();
        refuseTrackInformation();
        EXPECT_EQ(Burn(MediumKind::CdR, 22490 * kChunk), BurnOutcome::Cancelled);
        ExpectPassed();
        reporter = ScriptedReporter();
        bench.Transport().ClearCommandLog();
        refuseTrackInformation();
        EXPECT_EQ(Burn(MediumKind::CdR, 22490 * kChunk + 1), BurnOutcome::Refused);
        ExpectRefused({"359858 个区块（702 MB）", "359849 个可用区块（702 MB）"});
    }
}

TEST_F(FitCheck, ADvdPlusRwOffersItsWholeTrackAndNeedsNoRunOut) {
    reporter.cancelAt = 1;
    EXPECT_EQ(Burn(MediumKind::DvdPlusRw, kDvdCapacity * 2048), BurnOutcome::Cancelled);
    ExpectPassed();
    reporter = ScriptedReporter();
    bench.Transport().ClearCommandLog();
    EXPECT_EQ(Burn(MediumKind::DvdPlusRw, kDvdCapacity * 2048 + 1), BurnOutcome::Refused);
    ExpectRefused({"2295120 个区块", "2295104 个可用区块（4482 MB）"});
}

// A BD-RE still to be formatted holds what its default format gives
// (11,826,176 blocks), not its unformatted size; a BD-R DL its two layers.
TEST_F(FitCheck, BluRayDiscsOfferTheirFormattedCapacity) {
    constexpr std::int64_t kBdReFormatted = 11826176;
    reporter.cancelAt = 1;
    EXPECT_EQ(Burn(MediumKind::BdRe, kBdReFormatted * 2048), BurnOutcome::Cancelled);
    ExpectPassed();
    reporter = ScriptedReporter();
    bench.Transport().ClearCommandLog();
    EXPECT_EQ(Burn(MediumKind::BdRe, kBdReFormatted * 2048 + 1), BurnOutcome::Refused);
    ExpectRefused({"11826176 个可用区块（23098 MB）"});
    EXPECT_EQ(bench.Count(0x04), 0u) << "refused before the format";
    EXPECT_TRUE(bench.Drive().Media().unformatted);
    reporter = ScriptedReporter();
    EXPECT_EQ(Burn(MediumKind::BdRDl, 24438784LL * 2048 + 1), BurnOutcome::Refused);
    ExpectRefused({"24438784 个可用区块"});
}

// Two tracks of 179,848 sectors and the 2-second pause between them leave 3
// sectors free; one block more does not fit.
TEST_F(FitCheck, AudioTracksCountWithThePausesBetweenThem) {
    ASSERT_EQ(bench.Drive().InsertBlank(MediumKind::CdR), "");
    const std::string one = Cdda("one.wav", 179848);
    reporter.cancelAt = 1;
    EXPECT_EQ(
        AudioBurnEngine(reporter, {}).StartAudioBurn(bench.Id(), {one, Cdda("two.wav", 179848)}),
        AudioBurnOutcome::Cancelled);
    ExpectPassed();
    reporter = ScriptedReporter();
    bench.Transport().ClearCommandLog();
    EXPECT_EQ(
        AudioBurnEngine(reporter, {}).StartAudioBurn(bench.Id(), {one, Cdda("two.wav", 179856)}),
        AudioBurnOutcome::Refused);
    ExpectRefused({"359854 个区块（79:58）", "359849 个可用区块（79:57）"});
}
}  // namespace
