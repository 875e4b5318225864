// The checks before an audio recording: their order, their messages, and
// that a refusal never touches the disc.
#include <gtest/gtest.h>

#include <functional>

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

// A list of three good files with `bad` in the middle.
std::vector<std::string> WithBadFile(AudioBurnSession& session, const std::string& bad) {
    auto tracks = Tracks(session, 3);
    tracks.insert(tracks.begin() + 2, bad);
    return tracks;
}

const std::string kNotBlank = "提示|碟片不是空白的，请更换一张碟片或抹除后再进行刻录...";
const std::string kTooMany = "提示|轨道数超过Read-Book标准所规定的99轨!请移除部分轨道!";

struct Refusal {
    const char* name;
    std::function<std::vector<std::string>(AudioBurnSession&)> prepare;  // returns the list
    std::string message;  // the reason, for "<the bad file>不支持的文件类型! (reason)"
};

const Refusal kRefusals[] = {
    {"empty list",
     [](AudioBurnSession& s) {
         s.Insert(MediumKind::CdR);
         return std::vector<std::string>{};
     },
     "提示|你尚未添加要刻录的文件!"},
    {"no disc", [](AudioBurnSession& s) { return Tracks(s, 1); }, "提示|您的光碟机中没有光碟片"},
    {"busy drive",
     [](AudioBurnSession& s) {
         s.Insert(MediumKind::CdR);
         s.Drive().Faults().notReadyCommands = 1000;
         return Tracks(s, 1);
     },
     "提示|您的刻录机正在忙碌中！"},
    {"a DVD, before the track count",
     [](AudioBurnSession& s) {
         s.Insert(MediumKind::DvdR);
         return Tracks(s, 100);
     },
     "提示|您入放的是一张DVD碟片，请更换成CD-R or CD-RW碟片再进行刻录!"},
    {"a used disc",
     [](AudioBurnSession& s) {
         s.Insert(MediumKind::CdR, 40);
         return Tracks(s, 1);
     },
     kNotBlank},
    {"a disc state that cannot be read",
     [](AudioBurnSession& s) {
         s.Insert(MediumKind::CdR);
         s.Drive().Faults().failures.push_back({0x51, 0, 1, 0x05, 0x24, 0x00});
         return Tracks(s, 1);
     },
     kNotBlank},
    {"100 tracks, before the files",
     [](AudioBurnSession& s) {
         s.Insert(MediumKind::CdR);
         auto tracks = Tracks(s, 100);
         tracks.front() = s.Put("text.wav", "hello");
         return tracks;
     },
     kTooMany},
    {"no samples",
     [](AudioBurnSession& s) {
         s.Insert(MediumKind::CdR);
         return WithBadFile(s, s.Put("e.wav", SimpleWave(Format(1, 2, 48000, 16), "")));
     },
     "holds no sound"},
    {"missing file",
     [](AudioBurnSession& s) {
         s.Insert(MediumKind::CdR);
         return WithBadFile(s, "/nonexistent/x.wav");
     },
     "not found or not a regular file"},
};

TEST(AudioBurnChecks, RefusalsSayWhyAndNeverTouchTheDisc) {
    for (const Refusal& refusal : kRefusals) {
        AudioBurnSession session;
        const auto tracks = refusal.prepare(session);
        EXPECT_EQ(session.Start(tracks), AudioBurnOutcome::Refused) << refusal.name;
        const bool fileRefused = refusal.message.find('|') == std::string::npos;
        const std::string expected =
            fileRefused ? "提示|" + tracks[2] + "不支持的文件类型! (" + refusal.message + ")"
                        : refusal.message;
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
    ASSERT_EQ(session.Start(tracks, options), AudioBurnOutcome::Finished);
    EXPECT_EQ(session.Drive().Media().tracks.size(), 99u);
    EXPECT_EQ(session.counters.back(), "-   99   of   99   -");
    EXPECT_EQ(RecordedDifference(session.Track(99), CddaData(tracks[98])), "");
    EXPECT_EQ(session.Writes().size(), 99u) << "one block per track";
}
}  // namespace
