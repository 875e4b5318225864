// The checks before an audio recording: their order, their messages, and
// that a refusal never touches the disc.
#include <gtest/gtest.h>

#include "AudioBurnBench.h"
#include "AudioTestSignals.h"
#include "EmuDrive.h"
#include "clsEmulatedDrive.h"

namespace {
using namespace AudioTest;

class AudioBurnChecks : public ::testing::Test {
  protected:
    void Insert(MediumKind kind) { ASSERT_EQ(bench.Drive().InsertBlank(kind), ""); }
    std::vector<std::string> Tracks(int count) {
        std::vector<std::string> tracks;
        for (int i = 0; i < count; ++i)
            tracks.push_back(bench.PutCdda("t" + std::to_string(i) + ".wav", 2352, i));
        return tracks;
    }
    // The one message shown, as "TITLE|TEXT".
    std::string OnlyMessage() {
        const auto messages = bench.reporter.Messages();
        EXPECT_EQ(messages.size(), 1u);
        return messages.empty() ? "" : messages.front();
    }
    // Nothing was sent that changes the drive's settings or the disc.
    void ExpectDiscUntouched() {
        for (std::uint8_t opcode : {0x55, 0xBB, 0x2A, 0x35, 0x5B, 0x1B})
            EXPECT_EQ(bench.Count(opcode), 0u) << std::hex << int(opcode);
    }

    AudioBurnBench bench;
};

TEST_F(AudioBurnChecks, AnEmptyListSendsNoCommand) {
    Insert(MediumKind::CdR);
    EXPECT_EQ(bench.Start({}), AudioBurnOutcome::Refused);
    EXPECT_EQ(OnlyMessage(), "提示|你尚未添加要刻录的文件!");
    EXPECT_TRUE(bench.Opcodes().empty());
}

TEST_F(AudioBurnChecks, NoDiscAndBusyDrive) {
    const auto tracks = Tracks(1);
    EXPECT_EQ(bench.Start(tracks), AudioBurnOutcome::Refused);
    EXPECT_EQ(OnlyMessage(), "提示|您的光碟机中没有光碟片");

    bench.reporter.events.clear();
    Insert(MediumKind::CdR);
    bench.Drive().Faults().notReadyCommands = 1000;
    EXPECT_EQ(bench.Start(tracks), AudioBurnOutcome::Refused);
    EXPECT_EQ(OnlyMessage(), "提示|您的刻录机正在忙碌中！");
    EXPECT_EQ(bench.SleptMs(), 75 * 200) << "15 s of polling, counted not slept";
    ExpectDiscUntouched();
}

TEST_F(AudioBurnChecks, DvdIsRefusedBeforeTheTrackCount) {
    Insert(MediumKind::DvdR);
    EXPECT_EQ(bench.Start(Tracks(100)), AudioBurnOutcome::Refused);
    EXPECT_EQ(OnlyMessage(), "提示|您入放的是一张DVD碟片，请更换成CD-R or CD-RW碟片再进行刻录!");
    ExpectDiscUntouched();
}

TEST_F(AudioBurnChecks, UsedDiscIsRefused) {
    const std::string image = bench.Put("image.iso", std::string(40 * 2048, '\x5A'));
    ASSERT_EQ(bench.Drive().InsertImage(MediumKind::CdR, image), "");
    EXPECT_EQ(bench.Start(Tracks(1)), AudioBurnOutcome::Refused);
    EXPECT_EQ(OnlyMessage(), "提示|碟片不是空白的，请更换一张碟片或抹除后再进行刻录...");
    ExpectDiscUntouched();
}

TEST_F(AudioBurnChecks, UnreadableDiscStateIsNotTakenForBlank) {
    Insert(MediumKind::CdR);
    bench.Drive().Faults().failures.push_back({0x51, 0, 1, 0x05, 0x24, 0x00});
    EXPECT_EQ(bench.Start(Tracks(1)), AudioBurnOutcome::Refused);
    EXPECT_EQ(OnlyMessage(), "提示|碟片不是空白的，请更换一张碟片或抹除后再进行刻录...");
    ExpectDiscUntouched();
}

TEST_F(AudioBurnChecks, NinetyNineTracksAreRecordedAndAHundredRefused) {
    Insert(MediumKind::CdR);
    auto tracks = Tracks(100);
    EXPECT_EQ(bench.Start(tracks), AudioBurnOutcome::Refused);
    EXPECT_EQ(OnlyMessage(), "提示|轨道数超过Read-Book标准所规定的99轨!请移除部分轨道!");
    ExpectDiscUntouched();

    tracks.pop_back();
    bench.reporter.events.clear();
    AudioBurnOptions options;
    options.ejectDisc = false;
    ASSERT_EQ(bench.Start(tracks, options), AudioBurnOutcome::Finished);
    EXPECT_EQ(bench.Drive().Media().tracks.size(), 99u);
    EXPECT_EQ(bench.counters.back(), "-   99   of   99   -");
    EXPECT_EQ(RecordedDifference(bench.Track(99), CddaData(tracks[98])), "");
    EXPECT_EQ(bench.Writes().size(), 99u) << "one block per track";
}

TEST_F(AudioBurnChecks, EveryFileIsTriedBeforeTheDiscIsTouched) {
    Insert(MediumKind::CdR);
    auto tracks = Tracks(3);
    const std::string adpcm =
        bench.Put("adpcm.wav", SimpleWave(Format(2, 2, 44100, 4), std::string(2048, '\0')));
    const std::string empty = bench.Put("empty.wav", SimpleWave(Format(1, 2, 48000, 16), ""));
    const std::string named = bench.Put("song.mp3", ReadFile(tracks[0]));
    for (const std::string& bad :
         {adpcm, empty, named, bench.Put("text.wav", "hello"), std::string("/nonexistent/x.wav")}) {
        bench.reporter.events.clear();
        auto list = tracks;
        list.insert(list.begin() + 2, bad);
        EXPECT_EQ(bench.Start(list), AudioBurnOutcome::Refused) << bad;
        EXPECT_EQ(OnlyMessage(), "提示|" + bad + "不支持的文件类型!");
        ExpectDiscUntouched();
    }
    // The track count comes first.
    bench.reporter.events.clear();
    auto many = Tracks(100);
    many.front() = adpcm;
    EXPECT_EQ(bench.Start(many), AudioBurnOutcome::Refused);
    EXPECT_EQ(OnlyMessage(), "提示|轨道数超过Read-Book标准所规定的99轨!请移除部分轨道!");
}
}  // namespace
