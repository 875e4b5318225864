// Session At Once on CD: SEND CUE SHEET, then WRITE(10) from the first
// pre-gap to the lead-out in order, then SYNCHRONIZE CACHE closes the session.
#include <algorithm>

#include "EmuCommandTable.h"
#include "EmuDataFile.h"
#include "EmuDriveState.h"
#include "EmuWritePage.h"

namespace EmuCommands {

namespace {
constexpr std::uint8_t kSessionAtOnce = 2;

// The track a stretch of user data goes to: the last one, or a new one.
EmuTrack& TrackFor(EmuMedia& media, const EmuCueSheet::Stretch& stretch, int session) {
    if (media.tracks.empty() || media.tracks.back().number != stretch.track) {
        if (!media.tracks.empty()) media.tracks.back().closed = true;
        media.tracks.push_back(
            EmuTrack{stretch.track, session, stretch.mode, stretch.start, 0, 0, false, {}});
    }
    return media.tracks.back();
}

// An audio track's pre-gap is kept where it lies on the disc (the first
// track's, before LBA 0, reads as silence); a data track's is not kept.
bool KeepPause(EmuCall& call, const EmuCueSheet::Stretch& stretch, std::int64_t at,
               std::int64_t count, const std::uint8_t* data) {
    constexpr std::int64_t kCdda = 2352;
    const std::int64_t skip = std::clamp<std::int64_t>(-at, 0, count);  // blocks before LBA 0
    return stretch.mode != EmuTrack::Mode::Audio || skip == count ||
           call.data.Write((at + skip) * kCdda, data + skip * kCdda, (count - skip) * kCdda);
}
}  // namespace

bool SessionAtOnce(const EmuDriveState& state) {
    return TraitsOf(state.media.kind).cd &&
           EmuWritePage::WriteType(state.writePage) == kSessionAtOnce;
}

EmuOutcome SendCueSheet(EmuCall& call) {
    EmuDriveState& state = call.state;
    const MediumTraits& traits = TraitsOf(state.media.kind);
    if (!traits.cd || !traits.recordable) return EmuSense::kIncompatibleMedium;
    if (!SessionAtOnce(state) || state.media.OpenTrack() != nullptr)
        return EmuSense::kCommandSequenceError;
    const std::int64_t start = state.NextWritableAddress();
    if (start < 0) return EmuSense::kInvalidWriteAddress;
    const int length = static_cast<int>(call.command.Long(5) & 0xFFFFFF);
    if (call.command.dataOutLen < length) return EmuSense::kParameterListLength;
    const EmuOutcome outcome = EmuCueSheet::Parse(
        call.command.dataOut, length, static_cast<int>(state.media.tracks.size()) + 1, start,
        state.media.capacity, EmuMedia::kLeadInStart, state.cueSheet);
    const bool text = state.cueSheet && state.cueSheet->stretches.front().leadIn;
    if (text && state.faults.noRwSubChannel) {
        state.cueSheet.reset();
        return EmuSense::kInvalidFieldInParameters;
    }
    return outcome;
}

EmuOutcome WriteSessionAtOnce(EmuCall& call, std::int64_t lba, std::int64_t blocks,
                              bool testWrite) {
    EmuDriveState& state = call.state;
    if (!state.cueSheet) return EmuSense::kCommandSequenceError;  // no cue sheet yet
    EmuCueSheet& cue = *state.cueSheet;
    if (lba != cue.next) return EmuSense::kInvalidWriteAddress;
    if (lba + blocks > cue.leadOut) return EmuSense::kLbaOutOfRange;
    const EmuCueSheet::Stretch* first = cue.At(lba);
    std::int64_t bytes = 0;
    for (std::int64_t at = lba; at < lba + blocks;) {
        const EmuCueSheet::Stretch* stretch = cue.At(at);
        if (stretch->BlockSize() != first->BlockSize()) return EmuSense::kIllegalModeForTrack;
        bytes += (std::min(stretch->end, lba + blocks) - at) * stretch->BlockSize();
        at = stretch->end;
    }
    if (call.command.dataOutLen < bytes) return EmuSense::kInvalidFieldInCdb;
    if (testWrite && !state.beforeSimulation) state.beforeSimulation = state.media;
    const int session = state.media.closedSessions + 1;
    const std::uint8_t* data = call.command.dataOut;
    for (std::int64_t at = lba; at < lba + blocks;) {
        const EmuCueSheet::Stretch& stretch = *cue.At(at);
        const std::int64_t count = std::min(stretch.end, lba + blocks) - at;
        if (stretch.leadIn) {
            if (!testWrite) cue.TakeLeadIn(data, count);
        } else if (stretch.userData) {
            EmuTrack& track = TrackFor(state.media, stretch, session);
            if (!testWrite && !call.data.Write(state.media.DataOffset(track, at), data,
                                               count * stretch.BlockSize()))
                return EmuSense::kWriteError;
            track.length += count;
        } else if (!testWrite && !KeepPause(call, stretch, at, count, data)) {
            return EmuSense::kWriteError;
        }
        data += count * stretch.BlockSize();
        at += count;
    }
    cue.next = lba + blocks;
    state.layoutChanged = true;
    return EmuSense::kGood;
}

bool SessionAtOnceComplete(EmuDriveState& state) {
    if (!state.cueSheet || state.cueSheet->next < state.cueSheet->leadOut) return false;
    EmuCueSheet& cue = *state.cueSheet;
    EmuMedia& media = state.media;
    if (!state.beforeSimulation) {  // a test write leaves no codes or texts either
        media.catalogue = cue.catalogue;
        media.cdText = std::move(cue.leadInPacks);
        constexpr std::size_t kSecondPackText = 18 + 4;
        if (state.faults.corruptCdText && media.cdText.size() > kSecondPackText)
            media.cdText[kSecondPackText] ^= 0xFF;
        for (const auto& [number, isrc] : cue.isrcs)
            for (EmuTrack& track : media.tracks)
                if (track.number == number) track.isrc = isrc;
    }
    state.cueSheet.reset();
    if (!media.tracks.empty()) media.tracks.back().closed = true;
    return true;
}

}  // namespace EmuCommands
