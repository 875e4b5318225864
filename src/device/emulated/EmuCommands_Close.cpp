// SYNCHRONIZE CACHE, CLOSE TRACK/SESSION, BLANK.
#include "EmuCommandTable.h"
#include "EmuDataFile.h"
#include "EmuDriveState.h"
#include "EmuWritePage.h"

namespace EmuCommands {

namespace {
// A CD track shorter than 4 seconds is padded with zero blocks on close.
constexpr std::int64_t kMinimumCdTrack = 300;
// A Track At Once data track ends with two run-out blocks.
constexpr std::int64_t kDataRunOut = 2;
constexpr std::uint8_t kDiscAtOnce = 2;  // page 05h write type

bool CloseTrack(EmuCall& call, EmuTrack& track) {
    EmuDriveState& state = call.state;
    EmuMedia& media = state.media;
    if (TraitsOf(media.kind).cd) {
        if (track.length < kMinimumCdTrack) {
            const std::int64_t pad = kMinimumCdTrack - track.length;
            const std::int64_t at = track.start + track.length;
            if (!state.beforeSimulation &&
                !call.data.Zero(media.DataOffset(track, at), pad * track.BlockSize()))
                return false;
            track.length = kMinimumCdTrack;
        }
        if (track.mode == EmuTrack::Mode::Data) track.runOut = kDataRunOut;
    }
    track.closed = true;
    state.reservedBlocks.reset();
    state.layoutChanged = true;
    return true;
}

EmuOutcome CloseSession(EmuCall& call, bool finalize) {
    EmuDriveState& state = call.state;
    EmuMedia& media = state.media;
    if (media.OpenTrack() != nullptr) return EmuSense::kIncompleteTrackInSession;
    const bool empty = media.tracks.empty() || media.tracks.back().session <= media.closedSessions;
    if (empty) {
        // Finalising (DVD+R) an appendable disc needs no new session.
        if (finalize && media.closedSessions > 0 && !state.beforeSimulation) {
            media.finalized = true;
            state.layoutChanged = true;
        }
        return EmuSense::kGood;  // nothing to write
    }
    if (state.beforeSimulation) {
        state.EndSimulation();  // a test write leaves the disc as it was
        return EmuSense::kGood;
    }
    ++media.closedSessions;
    // DVD+R and BD-R ignore page 05h: they stay appendable unless finalised explicitly.
    const bool keepOpen = TraitsOf(media.kind).writesLike == MediumKind::DvdPlusR
                              ? true
                              : EmuWritePage::MultiSession(state.writePage) == 3;
    media.finalized = finalize || !keepOpen;
    if (!media.finalized && state.NextWritableAddress() < 0) media.finalized = true;
    state.layoutChanged = true;
    return EmuSense::kGood;
}

EmuOutcome CloseTrackNumbered(EmuCall& call, std::uint16_t number) {
    EmuMedia& media = call.state.media;
    EmuTrack* open = media.OpenTrack();
    if (open != nullptr && open->number == number)
        return CloseTrack(call, *open) ? EmuSense::kGood : EmuSense::kWriteError;
    // A closed track, or the invisible one: nothing to do.
    const bool invisible = open == nullptr && call.state.NextWritableAddress() >= 0 &&
                           number == media.tracks.size() + 1;
    if ((number >= 1 && number <= media.tracks.size()) || invisible) return EmuSense::kGood;
    return EmuSense::kInvalidFieldInCdb;
}

// DVD-R/-RW Disc At Once: the track reserved for it, written whole.
bool DiscAtOnceDone(const EmuDriveState& state, const EmuTrack& open) {
    const MediumKind kind = TraitsOf(state.media.kind).writesLike;
    return (kind == MediumKind::DvdR || kind == MediumKind::DvdRw) &&
           EmuWritePage::WriteType(state.writePage) == kDiscAtOnce && state.reservedBlocks &&
           open.length >= *state.reservedBlocks;
}
}  // namespace

EmuOutcome SynchronizeCache(EmuCall& call) {
    // Session At Once: the lead-out follows the last block, closing the session.
    if (call.state.cueSheet)
        return SessionAtOnceComplete(call.state) ? CloseSession(call, false) : EmuSense::kGood;
    EmuMedia& media = call.state.media;
    EmuTrack* open = media.OpenTrack();
    if (open == nullptr) return EmuSense::kGood;
    // Disc At Once on DVD-R/-RW is single-session: the drive finishes the disc.
    if (DiscAtOnceDone(call.state, *open))
        return CloseTrack(call, *open) ? CloseSession(call, true) : EmuSense::kWriteError;
    // In Track At Once on CD, flushing the buffer ends the track.
    if (TraitsOf(media.kind).cd && !CloseTrack(call, *open)) return EmuSense::kWriteError;
    return EmuSense::kGood;
}

EmuOutcome CloseTrackSession(EmuCall& call) {
    const MediumTraits& traits = TraitsOf(call.state.media.kind);
    const std::uint8_t function = call.command.Byte(2) & 0x07;
    if (!traits.recordable) return EmuSense::kCannotWriteFormat;
    if (traits.overwritable)  // DVD+RW, BD-RE: only stops background formatting
        return function <= 2 ? EmuSense::kGood : EmuSense::kInvalidFieldInCdb;
    const bool plusR = traits.writesLike == MediumKind::DvdPlusR;
    switch (function) {
        case 1:
            return CloseTrackNumbered(call, call.command.Word(4));
        case 2:
            return CloseSession(call, false);
        case 5:  // DVD+R: close the session and finalise the disc
            return plusR && !traits.bd ? CloseSession(call, true) : EmuSense::kInvalidFieldInCdb;
        case 6:  // DVD+R and BD-R (whose only finalising close this is)
            return plusR ? CloseSession(call, true) : EmuSense::kInvalidFieldInCdb;
        default:
            return EmuSense::kInvalidFieldInCdb;
    }
}

EmuOutcome Blank(EmuCall& call) {
    EmuDriveState& state = call.state;
    const MediumTraits& traits = TraitsOf(state.media.kind);
    if (!traits.erasable || traits.overwritable) return EmuSense::kIncompatibleMedium;
    const std::uint8_t type = call.command.Byte(1) & 0x07;
    if (type > 1) return EmuSense::kInvalidFieldInCdb;  // only full (0) and minimal (1)
    state.EndSimulation();
    EmuMedia blank;
    blank.kind = state.media.kind;
    blank.capacity = traits.capacity;
    state.media = blank;
    state.cueSheet.reset();
    state.reservedBlocks.reset();
    state.layoutChanged = true;
    // A full blank erases every block; a minimal one only makes the disc look empty.
    if (type == 0 && !call.data.Clear()) return EmuSense::kWriteError;
    return EmuSense::kGood;
}

}  // namespace EmuCommands
