// The checks before an audio recording: their order, their messages, and
// that a refusal never touches the disc.
#include <gtest/gtest.h>

#include <map>

#include "AudioBurnSession.h"
#include "AudioTestSignals.h"

namespace {
using namespace AudioTest;

std::vector<std::string> Tracks(AudioBurnSession& session, int count) {
    std::vector<std::string> tracks;
    for (int i = 0; i < count; ++i)
        tracks.push_back(session.PutCdda("t" + std::to_string(i) + ".wav", 2352, i));
    return tracks;
}

const std::string kNotBlank = "提示|碟片不是空白的，请更换一张碟片或抹除后再进行刻录...";

enum class Disc { None, Blank, Used, Busy, Unreadable, Dvd };
// The list: `count` good files; "text" makes the first one a text file, a
// path puts that file third among three good ones.
struct Refusal {
    const char* name;
    Disc disc;
    int count;
    std::string bad;
    std::string message;  // "title|text"; "%1" stands for the bad file
};

const Refusal kRefusals[] = {
    {"empty list", Disc::Blank, 0, "", "提示|你尚未添加要刻录的文件!"},
    {"no disc", Disc::None, 1, "", "提示|您的光碟机中没有光碟片"},
    {"busy drive", Disc::Busy, 1, "", "提示|您的刻录机正在忙碌中！"},
    {"a DVD, before the track count", Disc::Dvd, 100, "",
     "提示|您入放的是一张DVD碟片，请更换成CD-R or CD-RW碟片再进行刻录!"},
    {"a used disc", Disc::Used, 1, "", kNotBlank},
    {"a disc state that cannot be read", Disc::Unreadable, 1, "", kNotBlank},
    {"100 tracks, before the files", Disc::Blank, 100, "text",
     "提示|轨道数超过Read-Book标准所规定的99轨!请移除部分轨道!"},
    // A file of another kind is "not supported"; a file of a kind the
    // converter reads says what is wrong with it.
    {"not a WAV file", Disc::Blank, 3, "text.wav",
     "提示|%1不支持的文件类型! (not a RIFF/WAVE file)"},
    {"no samples", Disc::Blank, 3, "empty.wav", "提示|%1 不含任何声音。"},
    {"cut short", Disc::Blank, 3, "cut.wav",
     "提示|%1 不完整：文件在它声明的声音结束之前就结束了（truncated header）。"},
    {"missing file", Disc::Blank, 3, "/nonexistent/x.wav",
     "提示|找不到文件 %1，或它不是普通文件。"},
};

std::vector<std::string> Prepare(AudioBurnSession& session, const Refusal& refusal) {
    if (refusal.disc != Disc::None)
        session.Insert(refusal.disc == Disc::Dvd ? MediumKind::DvdR : MediumKind::CdR,
                       refusal.disc == Disc::Used ? 40 : 0);
    EmuFaults& faults = session.Drive().Faults();
    if (refusal.disc == Disc::Busy) faults.notReadyCommands = 1000;
    if (refusal.disc == Disc::Unreadable) faults.failures.push_back({0x51, 0, 1, 5, 0x24, 0});
    std::vector<std::string> tracks = Tracks(session, refusal.count);
    if (refusal.bad == "text") tracks.front() = session.Put("text.wav", "hello");
    const std::string wave = SimpleWave(Format(1, 2, 48000, 16), "");
    const std::map<std::string, std::string> files = {
        {"text.wav", "hello"}, {"empty.wav", wave}, {"cut.wav", wave.substr(0, 30)}};
    if (const auto file = files.find(refusal.bad); file != files.end())
        tracks.insert(tracks.begin() + 2, session.Put(file->first, file->second));
    else if (refusal.bad.starts_with("/"))
        tracks.insert(tracks.begin() + 2, refusal.bad);
    return tracks;
}

TEST(AudioBurnChecks, RefusalsSayWhyAndNeverTouchTheDisc) {
    for (const Refusal& refusal : kRefusals) {
        AudioBurnSession session;
        const auto tracks = Prepare(session, refusal);
        EXPECT_EQ(session.Start(tracks), AudioBurnOutcome::Refused) << refusal.name;
        std::string expected = refusal.message;
        if (const auto at = expected.find("%1"); at != std::string::npos)
            expected.replace(at, 2, tracks[2]);
        EXPECT_EQ(session.reporter.Messages(), std::vector<std::string>{expected}) << refusal.name;
        // Nothing that changes the drive's settings or the disc was sent.
        for (std::uint8_t opcode : {0x55, 0xBB, 0x2A, 0x35, 0x5B, 0x1B}) {
            EXPECT_EQ(session.Count(opcode), 0u) << refusal.name << " " << int(opcode);
        }
        if (tracks.empty()) {
            EXPECT_TRUE(session.Opcodes().empty());
        }
    }
}

TEST(AudioBurnChecks, NinetyNineTracksAreRecorded) {
    AudioBurnSession session;
    session.Insert(MediumKind::CdR);
    const auto tracks = Tracks(session, 99);
    AudioBurnOptions options;
    options.ejectDisc = false;
    ASSERT_EQ(session.Start(tracks, options), AudioBurnOutcome::Completed);
    EXPECT_EQ(session.Drive().Media().tracks.size(), 99u);
    EXPECT_EQ(session.counters.back(), "-   99   of   99   -");
    EXPECT_EQ(RecordedDifference(session.Track(99), CddaData(tracks[98])), "");
    EXPECT_EQ(session.Writes().size(), 99u) << "one block per track";
}
}  // namespace
