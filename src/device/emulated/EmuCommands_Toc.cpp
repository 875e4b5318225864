// READ TOC/PMA/ATIP: the table of contents (format 0), the session
// information (1), the full TOC (2), the ATIP of CD-R/RW media (4) and the
// lead-in's CD-TEXT (5).
#include <algorithm>

#include "EmuCommandTable.h"
#include "EmuDriveState.h"
#include "EmuReply.h"

namespace EmuCommands {

namespace {
constexpr std::uint8_t kLeadOut = 0xAA;

// One finished track as the TOC lists it.
struct TocTrack {
    int number = 1;
    int session = 1;
    std::uint8_t control = 0x14;  // ADR 1; CONTROL 4 data, 0 audio
    std::int64_t start = 0;
    std::int64_t end = 0;  // first LBA after the track (its run-out included)
};

// Closed tracks only: the drive knows a track from the PMA once it is
// closed. A formatted DVD+RW holds one track over the whole formatted size.
std::vector<TocTrack> Tracks(const EmuMedia& media) {
    std::vector<TocTrack> tracks;
    if (TraitsOf(media.kind).overwritable) return {{1, 1, 0x14, 0, media.capacity}};
    for (const EmuTrack& track : media.tracks)
        if (track.closed)
            tracks.push_back(
                {track.number, track.session,
                 track.mode == EmuTrack::Mode::Audio ? std::uint8_t{0x10} : std::uint8_t{0x14},
                 track.start, track.End()});
    return tracks;
}

void PutAddress(std::vector<std::uint8_t>& reply, std::size_t at, std::int64_t lba, bool msf) {
    if (msf)
        EmuReply::PutMsf(reply, at, lba);
    else
        EmuReply::Put32(reply, at, static_cast<std::uint32_t>(lba));
}

void PutDescriptor(std::vector<std::uint8_t>& reply, std::uint8_t control, int number,
                   std::int64_t lba, bool msf) {
    const std::size_t at = reply.size();
    reply.resize(at + 8, 0);
    reply[at + 1] = control;
    reply[at + 2] = static_cast<std::uint8_t>(number);
    PutAddress(reply, at + 4, lba, msf);
}

EmuOutcome Toc(const EmuCall& call, const std::vector<TocTrack>& tracks, bool msf) {
    const int from = std::max<int>(call.command.Byte(6), 1);
    if (from > tracks.back().number && from != kLeadOut) return EmuSense::kInvalidFieldInCdb;
    std::vector<std::uint8_t> reply(4, 0);
    reply[2] = static_cast<std::uint8_t>(tracks.front().number);
    reply[3] = static_cast<std::uint8_t>(tracks.back().number);
    for (const TocTrack& track : tracks)
        if (track.number >= from && from != kLeadOut)
            PutDescriptor(reply, track.control, track.number, track.start, msf);
    PutDescriptor(reply, tracks.back().control, kLeadOut, tracks.back().end, msf);
    EmuReply::Put16(reply, 0, static_cast<std::uint32_t>(reply.size() - 2));
    return EmuReply::Send(call, reply, call.command.Word(7));
}

EmuOutcome SessionInformation(const EmuCall& call, const std::vector<TocTrack>& tracks, bool msf) {
    const int last = tracks.back().session;
    const auto first = std::find_if(tracks.begin(), tracks.end(), [last](const TocTrack& track) {
        return track.session == last;
    });
    std::vector<std::uint8_t> reply(4, 0);
    reply[2] = 1;
    reply[3] = static_cast<std::uint8_t>(last);
    PutDescriptor(reply, first->control, first->number, first->start, msf);
    EmuReply::Put16(reply, 0, static_cast<std::uint32_t>(reply.size() - 2));
    return EmuReply::Send(call, reply, call.command.Word(7));
}

// One 11-byte descriptor of the full TOC: session, ADR/CONTROL, POINT, the
// MSF of `lba` in PMIN/PSEC/PFRAME (or three raw bytes), and ATIME bytes.
void PutEntry(std::vector<std::uint8_t>& reply, int session, std::uint8_t control,
              std::uint8_t point, std::array<std::uint8_t, 3> p,
              std::array<std::uint8_t, 3> a = {}) {
    reply.insert(reply.end(), {static_cast<std::uint8_t>(session), control, 0, point, a[0], a[1],
                               a[2], 0, p[0], p[1], p[2]});
}

std::array<std::uint8_t, 3> Msf(std::int64_t lba) {
    std::vector<std::uint8_t> bytes(4);
    EmuReply::PutMsf(bytes, 0, lba);
    return {bytes[1], bytes[2], bytes[3]};
}

EmuOutcome FullToc(const EmuCall& call, const std::vector<TocTrack>& tracks) {
    const int lastSession = tracks.back().session;
    std::vector<std::uint8_t> reply(4, 0);
    reply[2] = 1;
    reply[3] = static_cast<std::uint8_t>(lastSession);
    for (int session = 1; session <= lastSession; ++session) {
        std::vector<TocTrack> in;
        std::copy_if(tracks.begin(), tracks.end(), std::back_inserter(in),
                     [session](const TocTrack& track) { return track.session == session; });
        if (in.empty()) continue;
        const std::uint8_t control = in.front().control;
        PutEntry(reply, session, control, 0xA0,
                 {static_cast<std::uint8_t>(in.front().number), 0, 0});
        PutEntry(reply, session, control, 0xA1,
                 {static_cast<std::uint8_t>(in.back().number), 0, 0});
        PutEntry(reply, session, control, 0xA2, Msf(in.back().end));
        for (const TocTrack& track : in)
            PutEntry(reply, session, track.control, static_cast<std::uint8_t>(track.number),
                     Msf(track.start));
    }
    // B0: where the next session's program area may start, and the last
    // possible lead-out (mode 5), while another session may follow.
    const EmuDriveState& state = call.state;
    const std::int64_t next = state.NextWritableAddress();
    if (state.media.State() == DiscState::Appendable && next >= 0)
        PutEntry(reply, lastSession, 0x50, 0xB0, Msf(state.media.capacity), Msf(next));
    EmuReply::Put16(reply, 0, static_cast<std::uint32_t>(reply.size() - 2));
    return EmuReply::Send(call, reply, call.command.Word(7));
}

// The ATIP of a CD-R/RW: writing power and speed, disc type, the lead-in
// start (97:27:66) and the last possible lead-out start.
EmuOutcome Atip(const EmuCall& call) {
    const EmuMedia& media = call.state.media;
    std::vector<std::uint8_t> reply(28, 0);
    EmuReply::Put16(reply, 0, static_cast<std::uint32_t>(reply.size() - 2));
    reply[4] = 0xD1;  // indicative target writing power 5, reference speed 1
    reply[5] = 0x40;  // unrestricted use
    reply[6] = media.kind == MediumKind::CdRw ? 0xC0 : 0x80;  // disc type: CD-RW / CD-R
    const auto leadIn = Msf(EmuMedia::kLeadInStart), leadOut = Msf(media.capacity);
    std::copy(leadIn.begin(), leadIn.end(), reply.begin() + 8);
    std::copy(leadOut.begin(), leadOut.end(), reply.begin() + 12);
    return EmuReply::Send(call, reply, call.command.Word(7));
}

// The CD-TEXT packs of the lead-in (format 0101b): a 4-byte header, then the
// packs as written; only the header when the disc has none.
EmuOutcome CdText(const EmuCall& call) {
    std::vector<std::uint8_t> reply(4, 0);
    const std::vector<std::uint8_t>& packs = call.state.RecordedMedia().cdText;
    reply.insert(reply.end(), packs.begin(), packs.end());
    EmuReply::Put16(reply, 0, static_cast<std::uint32_t>(reply.size() - 2));
    return EmuReply::Send(call, reply, call.command.Word(7));
}
}  // namespace

EmuOutcome ReadToc(EmuCall& call) {
    const EmuCommand& command = call.command;
    const bool msf = (command.Byte(1) & 0x02) != 0;
    // Older hosts put the format in the top bits of the control byte.
    const std::uint8_t format =
        (command.Byte(2) & 0x0F) != 0 ? command.Byte(2) & 0x0F : command.Byte(9) >> 6;
    if (format == 4) {
        if (!TraitsOf(call.state.media.kind).cd || !TraitsOf(call.state.media.kind).recordable)
            return EmuSense::kInvalidFieldInCdb;
        return Atip(call);
    }
    const std::vector<TocTrack> tracks = Tracks(call.state.media);
    if (tracks.empty() || (format > 2 && format != 5))
        return EmuSense::kInvalidFieldInCdb;  // a blank disc has no TOC
    if (format == 5)
        return TraitsOf(call.state.media.kind).cd ? CdText(call) : EmuSense::kInvalidFieldInCdb;
    if (format == 1) return SessionInformation(call, tracks, msf);
    if (format == 2) return FullToc(call, tracks);
    return Toc(call, tracks, msf);
}

}  // namespace EmuCommands
