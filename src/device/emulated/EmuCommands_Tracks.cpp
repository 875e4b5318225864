// READ TRACK INFORMATION and RESERVE TRACK.
#include <optional>

#include "EmuCommandTable.h"
#include "EmuDriveState.h"
#include "EmuReply.h"

namespace EmuCommands {

namespace {
// One track as READ TRACK INFORMATION describes it: a recorded (or open)
// track, or the invisible track that the next write starts.
struct TrackView {
    int number = 1;
    int session = 1;
    std::int64_t start = 0;
    std::int64_t size = 0;      // track size field
    std::int64_t recorded = 0;  // user blocks written
    std::int64_t nextWritable = -1;
    bool audio = false;
    bool blank = false;
    bool reserved = false;  // RESERVE TRACK fixed its size
};

std::optional<TrackView> Invisible(const EmuMedia& media, std::int64_t next) {
    if (next < 0 || media.OpenTrack() != nullptr) return std::nullopt;
    TrackView view;
    view.number = static_cast<int>(media.tracks.size()) + 1;
    view.session = media.closedSessions + 1;
    view.start = next;
    view.size = media.capacity - next;
    view.nextWritable = next;
    view.blank = true;
    return view;
}

TrackView Recorded(const EmuMedia& media, const EmuTrack& track) {
    TrackView view;
    view.number = track.number;
    view.session = track.session;
    view.start = track.start;
    view.recorded = track.length;
    view.audio = track.mode == EmuTrack::Mode::Audio;
    view.size = track.closed ? track.length + track.runOut : media.capacity - track.start;
    if (!track.closed) view.nextWritable = track.start + track.length;
    return view;
}

// DVD+RW: one formatted track over the whole medium, writable anywhere.
TrackView Overwritable(const EmuMedia& media) {
    TrackView view;
    view.size = media.capacity;
    view.recorded = media.recordedEnd;
    view.nextWritable = 0;
    return view;
}

std::optional<TrackView> ByNumber(const EmuMedia& media, std::int64_t next, std::uint32_t number) {
    if (TraitsOf(media.kind).overwritable)
        return number == 1 || number == 0xFF ? std::optional(Overwritable(media)) : std::nullopt;
    if (number == 0xFF) {
        if (const EmuTrack* open = media.OpenTrack()) return Recorded(media, *open);
        return Invisible(media, next);
    }
    if (number >= 1 && number <= media.tracks.size())
        return Recorded(media, media.tracks[number - 1]);
    const std::optional<TrackView> invisible = Invisible(media, next);
    if (invisible && static_cast<std::uint32_t>(invisible->number) == number) return invisible;
    return std::nullopt;
}

std::optional<TrackView> ByAddress(const EmuMedia& media, std::int64_t next, std::uint32_t lba) {
    if (TraitsOf(media.kind).overwritable)
        return lba < media.capacity ? std::optional(Overwritable(media)) : std::nullopt;
    for (const EmuTrack& track : media.tracks)
        if (lba >= track.start && (lba < track.End() || !track.closed))
            return Recorded(media, track);
    const std::optional<TrackView> invisible = Invisible(media, next);
    if (invisible && lba >= invisible->start && lba < media.capacity) return invisible;
    return std::nullopt;
}

std::optional<TrackView> BySession(const EmuMedia& media, std::int64_t next,
                                   std::uint32_t session) {
    for (const EmuTrack& track : media.tracks)
        if (static_cast<std::uint32_t>(track.session) == session)
            return ByNumber(media, next, track.number);
    const std::optional<TrackView> invisible = Invisible(media, next);
    if (invisible && static_cast<std::uint32_t>(invisible->session) == session) return invisible;
    return std::nullopt;
}

// Track information block (MMC-5 6.27.3), 36 bytes.
std::vector<std::uint8_t> Describe(const EmuMedia& media, const TrackView& view) {
    const bool cd = TraitsOf(media.kind).cd;
    std::vector<std::uint8_t> reply(36, 0);
    EmuReply::Put16(reply, 0, 34);
    reply[2] = static_cast<std::uint8_t>(view.number);
    reply[32] = static_cast<std::uint8_t>(view.number >> 8);
    reply[3] = static_cast<std::uint8_t>(view.session);
    reply[33] = static_cast<std::uint8_t>(view.session >> 8);
    reply[5] = view.audio ? 0x00 : 0x04;  // track mode: audio / data uninterrupted
    reply[6] = static_cast<std::uint8_t>((view.reserved ? 0x80 : 0x00) |
                                         (view.blank ? 0x40 : 0x00) | (view.audio ? 0x0F : 0x01));
    const bool writable = view.nextWritable >= 0;
    reply[7] = static_cast<std::uint8_t>((view.recorded > 0 ? 0x02 : 0) | (writable ? 0x01 : 0));
    EmuReply::Put32(reply, 8, static_cast<std::uint32_t>(view.start));
    if (writable) {  // DVD+RW: writable anywhere, so all of it is free
        EmuReply::Put32(reply, 12, static_cast<std::uint32_t>(view.nextWritable));
        EmuReply::Put32(reply, 16, static_cast<std::uint32_t>(media.capacity - view.nextWritable));
    }
    EmuReply::Put32(reply, 20, cd ? 0 : 16);  // fixed packet size / blocking factor
    EmuReply::Put32(reply, 24, static_cast<std::uint32_t>(view.size));
    if (view.recorded > 0)
        EmuReply::Put32(reply, 28, static_cast<std::uint32_t>(view.start + view.recorded - 1));
    return reply;
}
}  // namespace

EmuOutcome ReadTrackInformation(EmuCall& call) {
    const EmuCommand& command = call.command;
    const EmuMedia& media = call.state.media;
    const std::uint32_t number = command.Long(2);
    const std::int64_t next = call.state.NextWritableAddress();
    std::optional<TrackView> view;
    switch (command.Byte(1) & 0x03) {
        case 0:
            view = ByAddress(media, next, number);
            break;
        case 1:
            view = ByNumber(media, next, number);
            break;
        case 2:
            view = BySession(media, next, number);
            break;
        default:
            return EmuSense::kInvalidFieldInCdb;
    }
    if (!view) return EmuSense::kInvalidFieldInCdb;
    // The track being written (or about to be) has the size it was reserved with.
    if (call.state.reservedBlocks && view->nextWritable >= 0) {
        view->size = *call.state.reservedBlocks;
        view->reserved = true;
    }
    return EmuReply::Send(call, Describe(media, *view), command.Word(7));
}

EmuOutcome ReserveTrack(EmuCall& call) {
    const EmuDriveState& state = call.state;
    const MediumTraits& traits = TraitsOf(state.media.kind);
    if (!traits.recordable || traits.overwritable) return EmuSense::kIncompatibleMedium;
    if ((call.command.Byte(1) & 0x01) != 0) return EmuSense::kInvalidFieldInCdb;  // by size only
    const std::int64_t next = state.NextWritableAddress();
    if (next < 0) return EmuSense::kInvalidWriteAddress;
    if (state.media.OpenTrack() != nullptr) return EmuSense::kCommandSequenceError;
    const std::int64_t blocks = call.command.Long(5);
    if (blocks == 0 || blocks > state.media.capacity - next) return EmuSense::kInvalidFieldInCdb;
    // The track then grows with the writes that fill it, up to this size.
    call.state.reservedBlocks = blocks;
    return EmuSense::kGood;
}

}  // namespace EmuCommands
