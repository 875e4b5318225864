// Audio recordings that fail: conversion, writes, track information, flush
// and close. None may end with the completion message, each says what failed,
// and the disc is closed as far as it can be.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "AudioBurnSession.h"
#include "AudioTestSignals.h"
#include "RecordingTransport.h"
#include "TransportSlot.h"

namespace fs = std::filesystem;

namespace {
using namespace AudioTest;
using Opcodes = std::vector<std::uint8_t>;

constexpr std::size_t kBlock = 18816;
const WavFormat kMono8 = Format(1, 1, 22050, 8);

// The opcodes after the last WRITE(10) (or after READ TRACK INFORMATION when none).
Opcodes AfterWriting(const AudioBurnSession& session) {
    const auto all = session.Opcodes();
    auto last = std::find_if(all.rbegin(), all.rend(),
                             [](std::uint8_t op) { return op == 0x2A || op == 0x52; });
    return {last.base(), all.end()};
}

// Track numbers of the CLOSE TRACK commands, as digits.
std::string ClosedTracks(const AudioBurnSession& session) {
    std::string tracks;
    for (const auto& cdb : session.Cdbs(0x5B))
        if ((cdb[2] & 7) == 1) tracks += std::to_string(cdb[4] << 8 | cdb[5]);
    return tracks;
}

// A READ TRACK INFORMATION, SYNCHRONIZE CACHE or CLOSE TRACK/SESSION that fails.
EmuFaults Fails(std::uint8_t opcode, int skip, std::uint8_t key, std::uint8_t asc) {
    EmuFaults faults;
    faults.failures = {{opcode, skip, 1, key, asc, 0}};
    return faults;
}
// A write error at block 450, or a block never accepted (62 long writes).
EmuFaults WriteFault(bool writeError) {
    EmuFaults faults;
    faults.writeErrorLba = writeError ? std::optional<std::int64_t>(450) : std::nullopt;
    faults.longWriteWrites = writeError ? 0 : 62;
    return faults;
}

struct Failure {
    const char* name;
    EmuFaults fault;
    bool convertedFirst;  // a file to convert before a CD-DA one, else two CD-DA files
    AudioBurnOutcome outcome;
    std::string message;
    const Opcodes& afterWriting;
    std::size_t writes;
    std::string closedTracks;
    bool ejected;
};

const Opcodes kCloseAll = {0x35, 0x5B, 0x5B, 0x1B}, kCloseStayShut = {0x35, 0x5B, 0x5B}, kNone;
// The abort reads what the disc holds before the eject (the failed track never
// reached it: no READ TRACK INFORMATION).
const Opcodes kAbort = {0x35, 0x5B, 0x5B, 0x51, 0x46, 0x1B};
const Failure kFailures[] = {
    // Track 1 fills the shortest track, 300 blocks; track 2 starts 150 blocks later.
    {"write error", WriteFault(true), false, AudioBurnOutcome::Failed,
     "错误|刻录出错 (Buffer Under-Run?)\n光碟机报告的原因：写入错误（03/0C/00）。\n"
     "光碟现在已封闭：第 2 条轨道没有写入，之前的 1 条轨道完整，光碟不能再写入。",
     kAbort, 2, "12", true},
    {"a block that is never accepted", WriteFault(false), false, AudioBurnOutcome::Failed,
     "错误|Long write - 单次刻录时间超过6000ms!\n"
     "光碟机报告的原因：长时间写入仍在进行（02/04/08）。\n"
     "光碟仍是空白的：没有写入任何内容，可以再次刻录。",
     kAbort, 62, "1", true},
    {"failed flush", Fails(0x35, 0, 3, 0x0C), false, AudioBurnOutcome::CompletedWithErrors,
     "错误|SYNCHRONIZE CACHE failed.", kCloseAll, 2, "12", true},
    {"failed track close", Fails(0x5B, 0, 5, 0x2C), false, AudioBurnOutcome::CompletedWithErrors,
     "错误|关闭轨道(Track)失败!", kCloseAll, 2, "12", true},
    {"failed session close", Fails(0x5B, 2, 5, 0x2C), false, AudioBurnOutcome::CompletedWithErrors,
     "错误|关闭区间(Session)失败!", kCloseAll, 2, "12", true},
    // Nothing written yet: nothing is closed and the tray stays shut. (The
    // fit check asks for the free blocks first.)
    {"track information of track 1", Fails(0x52, 1, 5, 0x24), true, AudioBurnOutcome::Failed,
     "错误|读取轨道信息失败!", kNone, 0, "", false},
    // Track 1 stays playable: the session is closed.
    {"track information of track 2", Fails(0x52, 2, 5, 0x24), false, AudioBurnOutcome::Failed,
     "错误|读取轨道信息失败!", kCloseStayShut, 1, "12", false},
};

TEST(AudioBurnFailure, EachFailureIsNamedAndNeverReportedAsFinished) {
    for (const Failure& c : kFailures) {
        AudioBurnSession session;
        session.Insert(MediumKind::CdR);
        session.Drive().Faults() = c.fault;
        const auto first = c.convertedFirst
                               ? session.Put("low.wav", SimpleWave(kMono8, std::string(4000, 'x')))
                               : session.PutCdda("one.wav", kBlock, 1);
        const auto second = session.PutCdda("two.wav", kBlock, 2);
        EXPECT_EQ(session.Start({first, second}), c.outcome) << c.name;
        EXPECT_EQ(session.reporter.Messages(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(session.reporter.messages.back().icon, MessageIcon::Exclamation) << c.name;
        EXPECT_NE(session.reporter.phases.back(), "刻录完成!") << c.name;
        EXPECT_EQ(AfterWriting(session), c.afterWriting) << c.name;
        EXPECT_EQ(session.Writes().size(), c.writes) << c.name;
        EXPECT_EQ(session.Drive().TrayOpen(), c.ejected) << c.name;
        EXPECT_EQ(ClosedTracks(session), c.closedTracks) << c.name;
        EXPECT_FALSE(fs::exists(AudioBurnSession::TempTrack())) << c.name;
    }
}

// A write error inside track 2: what the disc holds names the broken track
// and keeps the one before it.
TEST(AudioBurnFailure, TheDiscLineNamesTheBrokenTrackAndTheCompleteOnesBeforeIt) {
    AudioBurnSession session;
    session.Insert(MediumKind::CdR);
    session.Drive().Faults().writeErrorLba = 458;  // the second block of track 2
    EXPECT_EQ(session.Start({session.PutCdda("one.wav", kBlock, 1),
                             session.PutCdda("two.wav", 2 * kBlock, 2)}),
              AudioBurnOutcome::Failed);
    const std::string message = session.reporter.messages.back().text;
    EXPECT_EQ(message.substr(message.rfind('\n') + 1),
              "光碟现在已封闭：第 2 条轨道只有 300 个区块，数据不完整，光碟不能再写入。"
              "之前的 1 条轨道完整。");
}

// Every conversion runs before the disc is touched; a file that changed
// after its check stops the recording by name: before the disc is touched
// when it is converted, after the tracks before it when it is read in place.
TEST(AudioBurnFailure, AFileThatChangedAfterItsCheckStopsTheRecordingByName) {
    AudioBurnSession session;
    session.Insert(MediumKind::CdR);
    const auto one = session.PutCdda("one.wav", 2 * kBlock, 1);
    const auto two = session.Put("two.wav", SimpleWave(kMono8, std::string(40000, '\x90')));
    const auto three = session.PutCdda("three.wav", 2 * kBlock, 3);
    const auto changed = [&](const std::string& title, const std::string& path) {
        return std::vector<std::string>{title + "|" + path +
                                        " 在检查之后被更改了（长度或修改时间不同），刻录已停止。"};
    };
    session.reporter.onPhase = [&](const std::string& phase) {
        if (phase == "正在生成轨道 ...") WriteFile(two, "overwritten meanwhile");
    };
    EXPECT_EQ(session.Start({one, two}), AudioBurnOutcome::Refused);
    EXPECT_EQ(session.reporter.Messages(), changed("提示", two));
    EXPECT_EQ(session.Writes().size(), 0u);
    EXPECT_EQ(session.Drive().Media().State(), DiscState::Blank);
    // A CD-DA file cut short while track 1 is written: track 1 stays playable.
    session.reporter = ScriptedReporter();
    session.reporter.onPhase = [&](const std::string& phase) {
        if (phase == "正在写入轨道 ...") fs::resize_file(three, 44 + kBlock);
    };
    EXPECT_EQ(session.Start({one, three}), AudioBurnOutcome::Failed);
    EXPECT_EQ(
        session.reporter.Messages(),
        std::vector<std::string>{changed("错误", three)[0] +
                                 "\n光碟现在已封闭：第 2 条轨道没有写入，之前的 1 条轨道完整，"
                                 "光碟不能再写入。"});
    EXPECT_EQ(ClosedTracks(session), "12");
    EXPECT_EQ(session.Drive().Media().tracks.size(), 1u);
    EXPECT_EQ(session.Writes().size(), 2u);
}

// The virtual drive behind a recording transport that clears the "next
// writable address valid" bit of READ TRACK INFORMATION for track 2 and later.
TEST(AudioBurnFailure, AnAddressMarkedInvalidIsNotWrittenTo) {
    AudioBurnSession session;
    session.Insert(MediumKind::CdR);
    auto faulty = std::make_unique<RecordingTransport>(std::vector<std::string>{session.Id()});
    faulty->SetResponder([drive = std::shared_ptr<clsSCSI>(TakeTransport())](const auto& c) {
        RecordingTransport::Reply reply{0, 0, 0, 0, c.dataOut};
        reply.dataIn.resize(static_cast<std::size_t>(c.bufferLen));
        std::int32_t timeout = c.timeout;
        reply.status = drive->ExecCMD(c.drive, c.cdb.data(), std::uint8_t(c.cdb.size()),
                                      c.direction, reply.dataIn.data(), c.bufferLen, timeout);
        reply.key = drive->LastSK(), reply.asc = drive->LastASC(), reply.ascq = drive->LastASCQ();
        if (c.cdb[0] == 0x52 && c.cdb[5] >= 2) reply.dataIn.at(7) &= 0xFE;
        return reply;
    });
    SetTransport(std::move(faulty));
    const auto one = session.PutCdda("one.wav", kBlock, 1);
    const auto two = session.PutCdda("two.wav", kBlock, 2);
    EXPECT_EQ(session.Start({one, two}), AudioBurnOutcome::Failed);
    EXPECT_EQ(session.reporter.Messages(), std::vector<std::string>{"错误|读取轨道信息失败!"});
    EXPECT_EQ(session.Writes().size(), 1u);
}
}  // namespace
