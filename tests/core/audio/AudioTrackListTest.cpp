// The rules of the audio track list: which files it takes, renames, moves,
// and its totals.
#include "AudioTrackList.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "AudioTestSignals.h"
#include "TestEnvironment.h"

namespace {
using namespace AudioTest;

class AudioTrackListTest : public ::testing::Test {
  protected:
    // A CD-DA WAV of `seconds` of silence.
    std::string Cd(const std::string& name, int seconds = 1) {
        const std::string path = temp.File(name);
        WriteFile(path, SimpleWave(WavFormat::Cdda(), std::string(176400 * seconds, '\0')));
        return path;
    }

    TempFolder temp;
};

TEST_F(AudioTrackListTest, TakesOnlySoundFilesWithSoundInAFormatTheConverterReadsAndSaysWhy) {
    WavFormat zeroRate = Format(1, 2, 44100, 16);
    zeroRate.avgBytesPerSec = 0;
    std::filesystem::create_directory(temp.File("folder.wav"));
    const std::string cd4 = SimpleWave(WavFormat::Cdda(), std::string(4, '\0'));
    const struct {
        std::string name, bytes, reason;
    } refused[] = {
        {"song.wave", cd4, "not a WAV, FLAC, MP3 or Ogg file"},
        {"songwav", cd4, "not a WAV, FLAC, MP3 or Ogg file"},
        {"short.wav", std::string(40, 'R'), "not a RIFF/WAVE file"},
        {"cut.wav", SimpleWave(WavFormat::Cdda(), "").substr(0, 30), "truncated header"},
        {"silent.wav", SimpleWave(WavFormat::Cdda(), ""), "holds no sound"},
        {"zero-rate.wav", SimpleWave(zeroRate, std::string(4, '\0')), "unsupported sample format"},
        {"adpcm.wav", SimpleWave(Format(2, 1, 22050, 4), std::string(64, '\0')),
         "unsupported sample format"},
        {"six-channels.wav", SimpleWave(Format(1, 6, 44100, 16), std::string(12, '\0')),
         "unsupported sample format"},
        {"wave.flac", cd4, "not a FLAC file"},
        {"text.ogg", "liner notes", "the decoder does not recognise it as sound"},
    };
    std::vector<std::string> paths = {temp.File("folder.wav"), temp.File("missing.wav")};
    std::vector<std::string> expected = {paths[0] + ": not found or not a regular file",
                                         paths[1] + ": not found or not a regular file"};
    for (const auto& [name, bytes, reason] : refused) {
        WriteFile(temp.File(name), bytes);
        paths.push_back(temp.File(name));
        expected.push_back(paths.back() + ": " + reason);
    }
    const std::string upper = temp.File("UPPER.WAV");
    WriteFile(upper, SimpleWave(Format(1, 1, 22050, 8), std::string(22050 * 3 + 8, '\x80')));
    paths.push_back(upper);

    AudioTrackList list;
    std::vector<std::string> got;
    for (const AudioTrack& track : list.Add(paths))
        got.push_back(track.path + ": " + track.facts.refusal);
    EXPECT_EQ(got, expected);
    ASSERT_EQ(list.Size(), 1u);
    const AudioFileFacts& facts = list.Tracks()[0].facts;
    EXPECT_EQ(facts.fileBytes, 44 + 22050 * 3 + 8);
    EXPECT_EQ(facts.soundBytes, 22050 * 3 + 8);
    EXPECT_EQ(facts.seconds, 3);
    // 66,158 frames at 22,050 Hz are 132,316 CD frames: 225.03 sectors.
    EXPECT_EQ(facts.cdSectors, 226);
    EXPECT_TRUE(facts.modified.has_value());
}

TEST_F(AudioTrackListTest, RenameKeepsTheRowUnlessTheNewPathIsTaken) {
    AudioTrackList list;
    list.Add({Cd("a.wav")});
    EXPECT_FALSE(list.Rename(0, temp.File("missing.wav")));
    EXPECT_FALSE(list.Rename(0, ""));
    EXPECT_FALSE(list.Rename(1, Cd("b.wav")));
    EXPECT_EQ(list.Paths(), std::vector<std::string>{temp.File("a.wav")});
    EXPECT_TRUE(list.Rename(0, Cd("c.wav", 2)));
    EXPECT_EQ(list.Paths(), std::vector<std::string>{temp.File("c.wav")});
    EXPECT_EQ(list.Tracks()[0].facts.seconds, 2);
}

TEST_F(AudioTrackListTest, RemoveAndMoveKeepTheOrderOfTheOthers) {
    AudioTrackList list;
    for (const char* name : {"1.wav", "2.wav", "3.wav", "4.wav", "5.wav"}) list.Add({Cd(name)});
    const auto names = [&] {
        std::string text;
        for (const std::string& path : list.Paths()) text += path.substr(path.size() - 5, 1);
        return text;
    };
    list.Remove({3, 1});
    EXPECT_EQ(names(), "135");
    list.Add({Cd("2.wav"), Cd("4.wav")});  // 13524
    const struct {
        std::vector<std::size_t> rows;
        std::size_t before;
        std::size_t first;
        const char* order;
    } moves[] = {
        {{4}, 0, 0, "41352"},     // the last to the top
        {{0, 1}, 5, 3, "35241"},  // two to the end
        {{1, 3}, 2, 1, "35421"},  // two apart, in front of the row between them
        {{2}, 3, 2, "35421"},     // in front of its own successor: no change
    };
    for (const auto& move : moves) {
        EXPECT_EQ(list.Move(move.rows, move.before), move.first);
        EXPECT_EQ(names(), move.order);
    }
}

TEST_F(AudioTrackListTest, TotalsAre64BitAndCountBlocksAsTheDiscDoes) {
    // Two tracks of 1.5 GiB of sound each (sparse files): more than 2^31 in all.
    AudioTrackList list;
    const std::int64_t huge = 1536LL * 1024 * 1024;
    for (const char* name : {"big1.wav", "big2.wav"}) {
        const std::string path = temp.File(name);
        std::string header = SimpleWave(WavFormat::Cdda(), "");
        for (int i = 0; i < 4; ++i) header[40 + i] = static_cast<char>(huge >> (8 * i));
        WriteFile(path, header);
        std::filesystem::resize_file(path, 44 + huge);
        list.Add({path});
    }
    EXPECT_EQ(list.TotalBytes(), 2 * huge);
    // Each 684,784.33 sectors, sent in blocks of 8, and one pause between.
    EXPECT_EQ(list.DiscBlocks(), 2 * 684792 + 150);
    // Whole blocks of 8 sectors, at least 300 (4 s), and the pauses.
    const auto sectors = [&](const std::string& name, int count) {
        WriteFile(temp.File(name), SimpleWave(WavFormat::Cdda(), std::string(2352 * count, '\0')));
        return temp.File(name);
    };
    list.Clear();
    list.Add({sectors("400.wav", 400), sectors("401.wav", 401), Cd("second.wav")});
    EXPECT_EQ(list.DiscBlocks(), 400 + 408 + 300 + 2 * 150);
    EXPECT_EQ(AudioTrackList().DiscBlocks(), 0);
}
}  // namespace
