#include "EmuMedia.h"

namespace {
// CD: lead-out + lead-in before the pre-gap of a new session's first track.
constexpr std::int64_t kFirstSessionGap = 6750 + 4500;
constexpr std::int64_t kLaterSessionGap = 2250 + 4500;

// DVD-R and sequential DVD-RW separate sessions by border zones; DVD+R
// sessions follow each other directly here.
bool HasBorderZones(MediumKind kind) {
    const MediumKind rules = TraitsOf(kind).writesLike;
    return rules == MediumKind::DvdR || rules == MediumKind::DvdRw;
}
}  // namespace

DiscState EmuMedia::State() const {
    const MediumTraits& traits = TraitsOf(kind);
    if (unformatted) return DiscState::Blank;
    if (!traits.recordable || traits.overwritable || finalized) return DiscState::Complete;
    if (tracks.empty() && closedSessions == 0) return DiscState::Blank;
    return DiscState::Appendable;
}

int EmuMedia::SessionCount() const {
    if (State() == DiscState::Complete) return closedSessions > 0 ? closedSessions : 1;
    return closedSessions + 1;
}

EmuTrack* EmuMedia::OpenTrack() {
    return !tracks.empty() && !tracks.back().closed ? &tracks.back() : nullptr;
}

const EmuTrack* EmuMedia::OpenTrack() const {
    return !tracks.empty() && !tracks.back().closed ? &tracks.back() : nullptr;
}

const EmuTrack* EmuMedia::TrackAt(std::int64_t lba) const {
    for (const EmuTrack& track : tracks)
        if (lba >= track.start && lba < track.End()) return &track;
    return nullptr;
}

std::int64_t EmuMedia::PauseStart(std::size_t index) const {
    const EmuTrack& track = tracks[index];
    if (track.mode != EmuTrack::Mode::Audio) return track.start;
    if (index == 0 || tracks[index - 1].session != track.session) return track.start - kTrackPreGap;
    return tracks[index - 1].End();
}

const EmuTrack* EmuMedia::AudioPauseAt(std::int64_t lba) const {
    for (std::size_t index = 0; index < tracks.size(); ++index)
        if (lba < tracks[index].start) return lba >= PauseStart(index) ? &tracks[index] : nullptr;
    return nullptr;
}

std::int64_t EmuMedia::NextWritableAddress(std::int64_t preGap) const {
    const MediumTraits& traits = TraitsOf(kind);
    if (traits.overwritable) return unformatted ? -1 : 0;
    if (State() == DiscState::Complete) return -1;
    if (const EmuTrack* open = OpenTrack()) return open->start + open->length;
    std::int64_t next = 0;
    if (!tracks.empty()) {
        const EmuTrack& last = tracks.back();
        const bool newSession = last.session <= closedSessions;
        if (!traits.cd)
            next = last.End() + (newSession && HasBorderZones(kind) ? kBorderZone : 0);
        else if (!newSession)
            next = last.End() + preGap;
        else
            next =
                last.End() + preGap + (closedSessions == 1 ? kFirstSessionGap : kLaterSessionGap);
    }
    return next < capacity ? next : -1;
}

std::int64_t EmuMedia::LastAddressableLba() const {
    if (TraitsOf(kind).overwritable) return unformatted ? 0 : capacity - 1;
    return tracks.empty() ? 0 : tracks.back().End() - 1;
}

std::int64_t EmuMedia::DataOffset(const EmuTrack& track, std::int64_t lba) const {
    const std::int64_t slot = TraitsOf(kind).cd ? 2352 : 2048;
    return track.start * slot + (lba - track.start) * track.BlockSize();
}
