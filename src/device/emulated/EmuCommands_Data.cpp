// READ(10) and WRITE(10).
#include <algorithm>
#include <optional>
#include <vector>

#include "EmuCommandTable.h"
#include "EmuDataFile.h"
#include "EmuDriveState.h"
#include "EmuWritePage.h"

namespace EmuCommands {

namespace {
constexpr int kMaxCdTracks = 99;

bool Overlaps(const std::vector<EmuFaults::LbaRange>& ranges, std::int64_t first,
              std::int64_t count) {
    return std::any_of(ranges.begin(), ranges.end(), [&](const EmuFaults::LbaRange& range) {
        return range.first < first + count && range.last >= first;
    });
}

// Reads `count` blocks from `lba` on, stopping at the first block that has
// no readable user data. Returns the blocks read in `done`.
EmuOutcome ReadRun(const EmuCall& call, std::int64_t lba, std::int64_t count, std::uint8_t* out,
                   std::int64_t& done) {
    const EmuDriveState& state = call.state;
    const EmuMedia& media = state.media;
    if (TraitsOf(media.kind).overwritable) {
        if (media.unformatted) return EmuSense::kMediumNotFormatted;
        if (lba + count > media.capacity) return EmuSense::kLbaOutOfRange;
        done = count;
        return call.data.Read(lba * 2048, out, count * 2048) ? EmuSense::kGood
                                                             : EmuSense::kUnrecoveredReadError;
    }
    if (media.tracks.empty() || lba > media.LastAddressableLba()) return EmuSense::kLbaOutOfRange;
    const EmuTrack* track = media.TrackAt(lba);
    if (track == nullptr)  // an audio pause is audio too; other gaps are unreadable
        return media.AudioPauseAt(lba) != nullptr ? EmuSense::kIllegalModeForTrack
                                                  : EmuSense::kUncorrectableBlock;
    if (track->mode == EmuTrack::Mode::Audio) return EmuSense::kIllegalModeForTrack;
    if (lba >= track->start + track->length) return EmuSense::kUncorrectableBlock;  // run-out
    // Blocks of a running test write were never recorded.
    const EmuMedia* recorded = state.beforeSimulation ? &*state.beforeSimulation : &media;
    const EmuTrack* kept = recorded->TrackAt(lba);
    if (kept == nullptr || lba >= kept->start + kept->length) return EmuSense::kLbaOutOfRange;
    done = std::min(count, kept->start + kept->length - lba);
    return call.data.Read(media.DataOffset(*kept, lba), out, done * 2048)
               ? EmuSense::kGood
               : EmuSense::kUnrecoveredReadError;
}

// READ(10) and READ(12): `blocks` 2048-byte blocks from `lba` on.
EmuOutcome ReadBlocks(const EmuCall& call, std::int64_t lba, std::int64_t blocks) {
    const EmuCommand& command = call.command;
    if (blocks == 0) return EmuSense::kGood;
    if (command.dataInLen < blocks * 2048) return EmuSense::kInvalidFieldInCdb;
    if (Overlaps(call.state.faults.unreadable, lba, blocks)) return EmuSense::kUnrecoveredReadError;
    std::int64_t at = 0;
    while (at < blocks) {
        std::int64_t done = 0;
        const EmuOutcome outcome =
            ReadRun(call, lba + at, blocks - at, command.dataIn + at * 2048, done);
        if (!outcome.Good()) return outcome;
        at += done;
    }
    return EmuSense::kGood;
}
}  // namespace

EmuOutcome Read10(EmuCall& call) {
    return ReadBlocks(call, call.command.Long(2), call.command.Word(7));
}

EmuOutcome Read12(EmuCall& call) {
    return ReadBlocks(call, call.command.Long(2), call.command.Long(6));
}

namespace {
EmuOutcome WriteOverwritable(EmuCall& call, std::int64_t lba, std::int64_t blocks) {
    EmuMedia& media = call.state.media;
    if (media.unformatted) return EmuSense::kMediumNotFormatted;
    if (lba < 0 || lba + blocks > media.capacity) return EmuSense::kLbaOutOfRange;
    if (!call.data.Write(lba * 2048, call.command.dataOut, blocks * 2048))
        return EmuSense::kWriteError;
    if (lba + blocks > media.recordedEnd) {
        media.recordedEnd = lba + blocks;
        call.state.layoutChanged = true;
    }
    return EmuSense::kGood;
}

// The open track, or a new one at the next writable address.
EmuTrack* TrackForWrite(EmuMedia& media, const EmuWritePage::WriteSetup& setup,
                        std::int64_t start) {
    const EmuTrack::Mode mode = setup.audio ? EmuTrack::Mode::Audio : EmuTrack::Mode::Data;
    if (EmuTrack* open = media.OpenTrack()) return open->mode == mode ? open : nullptr;
    if (TraitsOf(media.kind).cd && media.tracks.size() >= kMaxCdTracks) return nullptr;
    EmuTrack track;
    track.number = static_cast<int>(media.tracks.size()) + 1;
    track.session = media.closedSessions + 1;
    track.mode = mode;
    track.start = start;
    media.tracks.push_back(track);
    return &media.tracks.back();
}

// A new audio track on CD: the drive records the pause before it as silence.
bool SilencePause(EmuCall& call) {
    const EmuMedia& media = call.state.media;
    const std::int64_t start = media.tracks.back().start;
    const std::int64_t from = std::max<std::int64_t>(media.PauseStart(media.tracks.size() - 1), 0);
    return !TraitsOf(media.kind).cd || call.data.Zero(from * 2352, (start - from) * 2352);
}

EmuOutcome WriteSequential(EmuCall& call, std::int64_t lba, std::int64_t blocks,
                           const EmuWritePage::WriteSetup& setup) {
    EmuDriveState& state = call.state;
    if (!setup.testWrite) state.EndSimulation();
    const std::int64_t next = state.NextWritableAddress();
    if (next < 0 || lba != next) return EmuSense::kInvalidWriteAddress;
    if (lba + blocks > state.media.capacity) return EmuSense::kLbaOutOfRange;
    const EmuTrack* open = state.media.OpenTrack();
    if (state.reservedBlocks && (open ? open->length : 0) + blocks > *state.reservedBlocks)
        return EmuSense::kLbaOutOfRange;  // a reserved track takes no more than its size
    if (setup.testWrite && !state.beforeSimulation) state.beforeSimulation = state.media;
    EmuTrack* track = TrackForWrite(state.media, setup, next);
    if (track == nullptr) return EmuSense::kIllegalModeForTrack;
    if (!setup.testWrite && ((open == nullptr && !SilencePause(call)) ||
                             !call.data.Write(state.media.DataOffset(*track, lba),
                                              call.command.dataOut, blocks * setup.blockSize))) {
        if (open == nullptr) state.media.tracks.pop_back();  // nothing of it reached the medium
        return EmuSense::kWriteError;
    }
    track->length += blocks;
    state.layoutChanged = true;
    return EmuSense::kGood;
}

// Injected faults that stop a write before it reaches the medium.
std::optional<EmuOutcome> WriteFault(EmuDriveState& state, std::int64_t lba, std::int64_t blocks) {
    EmuFaults& faults = state.faults;
    if (faults.removeMediumAfterWrites && *faults.removeMediumAfterWrites <= 0) {
        faults.removeMediumAfterWrites.reset();
        state.ChangeMedium(EmuMedia{});
        state.trayOpen = true;
        return EmuSense::kNoMediumTrayOpen;
    }
    if (faults.longWriteWrites > 0) {
        --faults.longWriteWrites;
        return EmuSense::kLongWriteInProgress;
    }
    if (faults.underrunBeforeWrite && --*faults.underrunBeforeWrite == 0) {
        faults.underrunBeforeWrite.reset();
        const bool protectedWrite =
            !faults.noUnderrunProtection && EmuWritePage::BufferUnderrunFree(state.writePage);
        if (!protectedWrite) return EmuSense::kBufferUnderrun;
    }
    if (faults.writeErrorLba && *faults.writeErrorLba >= lba &&
        *faults.writeErrorLba < lba + blocks)
        return EmuSense::kWriteError;
    return std::nullopt;
}

// The data the drive records: what the host sent, or a copy with the first
// byte of every block named by the "corrupt" fault inverted.
const std::uint8_t* RecordedData(const EmuCall& call, std::int64_t lba, std::int64_t blocks,
                                 std::vector<std::uint8_t>& copy) {
    const EmuCommand& command = call.command;
    const std::vector<std::int64_t>& corrupt = call.state.faults.corruptBlocks;
    if (blocks <= 0 || std::none_of(corrupt.begin(), corrupt.end(), [&](std::int64_t block) {
            return block >= lba && block < lba + blocks;
        }))
        return command.dataOut;
    copy.assign(command.dataOut, command.dataOut + command.dataOutLen);
    const std::int64_t blockBytes = command.dataOutLen / blocks;
    for (const std::int64_t block : corrupt)
        if (block >= lba && block < lba + blocks) copy[(block - lba) * blockBytes] ^= 0xFF;
    return copy.data();
}
}  // namespace

namespace {
EmuOutcome WriteTrackAtOnce(EmuCall& call, std::int64_t lba, std::int64_t blocks) {
    EmuDriveState& state = call.state;
    const EmuWritePage::WriteSetup setup =
        EmuWritePage::SetupFor(state.writePage, state.media.kind);
    if (!setup.outcome.Good()) return setup.outcome;
    if (blocks == 0) return EmuSense::kGood;
    if (call.command.dataOutLen < blocks * setup.blockSize) return EmuSense::kInvalidFieldInCdb;
    return TraitsOf(state.media.kind).overwritable ? WriteOverwritable(call, lba, blocks)
                                                   : WriteSequential(call, lba, blocks, setup);
}
}  // namespace

EmuOutcome Write10(EmuCall& call) {
    EmuDriveState& state = call.state;
    if (!TraitsOf(state.media.kind).recordable) return EmuSense::kCannotWriteFormat;
    // Signed: Session At Once starts in the first pre-gap (LBA -150).
    const std::int64_t lba = static_cast<std::int32_t>(call.command.Long(2));
    const std::int64_t blocks = call.command.Word(7);
    if (const auto fault = WriteFault(state, lba, blocks)) return *fault;
    std::vector<std::uint8_t> copy;
    EmuCommand command = call.command;
    command.dataOut = RecordedData(call, lba, blocks, copy);
    EmuCall recording{state, call.data, command};
    const EmuOutcome outcome =
        !SessionAtOnce(state) ? WriteTrackAtOnce(recording, lba, blocks)
        : blocks == 0
            ? EmuSense::kGood
            : WriteSessionAtOnce(recording, lba, blocks, EmuWritePage::TestWrite(state.writePage));
    if (outcome.Good() && state.faults.removeMediumAfterWrites)
        --*state.faults.removeMediumAfterWrites;
    return outcome;
}

}  // namespace EmuCommands
