// READ DISC INFORMATION, READ DISC STRUCTURE, READ CAPACITY.
#include <algorithm>

#include "EmuCommandTable.h"
#include "EmuDriveState.h"
#include "EmuReply.h"

namespace EmuCommands {

namespace {
// Disc status (byte 2 bits 1-0) and state of the last session (bits 3-2).
std::uint8_t StatusByte(const EmuMedia& media) {
    const MediumTraits& traits = TraitsOf(media.kind);
    std::uint8_t disc = 0, session = 0;
    switch (media.State()) {
        case DiscState::Blank:
            break;
        case DiscState::Appendable:
            disc = 1;
            // The open session is incomplete once a track was written into it.
            session = !media.tracks.empty() && media.tracks.back().session > media.closedSessions;
            break;
        case DiscState::Complete:
            disc = 2;
            session = 3;
            break;
    }
    return static_cast<std::uint8_t>((traits.erasable ? 0x10 : 0) | session << 2 | disc);
}

int FirstTrackOfLastSession(const EmuMedia& media) {
    const int lastSession = media.SessionCount();
    for (const EmuTrack& track : media.tracks)
        if (track.session == lastSession) return track.number;
    return static_cast<int>(media.tracks.size()) + 1;  // the invisible track
}

int LastTrackOfLastSession(const EmuMedia& media) {
    const int count = static_cast<int>(media.tracks.size());
    if (media.State() == DiscState::Complete || media.OpenTrack() != nullptr)
        return count > 0 ? count : 1;
    return count + 1;  // the invisible track
}

// Bytes 16-23: lead-in start of the last session and last possible lead-out
// start, as MSF on CD (ATIP) and LBA on DVD; FFh once the disc is complete.
void PutLeadAddresses(std::vector<std::uint8_t>& reply, const EmuMedia& media, std::int64_t next) {
    if (media.State() == DiscState::Complete) {
        for (std::size_t at = 16; at < 24; ++at) reply[at] = 0xFF;
        return;
    }
    if (!TraitsOf(media.kind).cd) {
        EmuReply::Put32(reply, 20, static_cast<std::uint32_t>(media.capacity));
        return;
    }
    // First session: the ATIP lead-in 97:27:66; later ones lie 4650 blocks
    // (lead-in and pre-gap) before the session's first track.
    EmuReply::PutMsf(reply, 16, media.closedSessions == 0 || next < 0 ? -11559 : next - 4650);
    EmuReply::PutMsf(reply, 20, media.capacity);
}

constexpr std::uint8_t kBluRayMediaType = 0x01;

// Blu-ray format 00h: the disc information (DI) of the lead-in, 4-byte header
// and 4096 bytes of which the first DI unit is filled: identifier, disc type
// ("BDR" recordable, "BDW" rewritable), layers and the manufacturer's disc
// identification, which burners show as the media id.
EmuOutcome BluRayDiscInformation(EmuCall& call) {
    const EmuCommand& command = call.command;
    const MediumTraits& traits = TraitsOf(call.state.media.kind);
    std::vector<std::uint8_t> reply(4 + 4096, 0);
    EmuReply::Put16(reply, 0, 4096 + 2);
    std::uint8_t* unit = reply.data() + 4;
    const bool dualLayer = traits.kind == MediumKind::BdRDl;
    const char* type = traits.erasable ? "BDW" : "BDR";
    unit[0] = 'D';
    unit[1] = 'I';
    unit[2] = 0x01;                     // DI format 1
    unit[3] = dualLayer ? 0x10 : 0x08;  // DI units in the block, this unit's number 0
    unit[4] = 0x70;                     // bytes in use in this unit (112)
    std::copy_n(type, 3, unit + 8);
    unit[11] = 0x01;                           // 120 mm, class 0, version 1
    unit[12] = dualLayer ? 0x21 : 0x11;        // layers on the disc and in this unit's layer
    std::copy_n("MAPLE\0VR1", 9, unit + 100);  // disc manufacturer (6) and media type (3)
    unit[111] = 0x01;                          // product revision
    return EmuReply::Send(call, reply, command.Word(8));
}

// Blu-ray format 0Ah: the spare blocks, free and allocated; the spare
// areas are what the format took from the unformatted capacity.
EmuOutcome BluRaySpareAreas(EmuCall& call) {
    const EmuMedia& media = call.state.media;
    const auto spare = static_cast<std::uint32_t>(
        std::max<std::int64_t>(TraitsOf(media.kind).capacity - media.capacity, 0));
    std::vector<std::uint8_t> reply(16, 0);
    EmuReply::Put16(reply, 0, 14);
    EmuReply::Put32(reply, 8, spare);
    EmuReply::Put32(reply, 12, spare);
    return EmuReply::Send(call, reply, call.command.Word(8));
}

EmuOutcome BluRayStructure(EmuCall& call) {
    const EmuCommand& command = call.command;
    if (!TraitsOf(call.state.media.kind).bd) return EmuSense::kCannotReadFormat;
    if (command.Byte(6) != 0) return EmuSense::kInvalidFieldInCdb;  // layer 0 only
    switch (command.Byte(7)) {
        case 0x00:
            return BluRayDiscInformation(call);
        case 0x0A:
            return BluRaySpareAreas(call);
        default:
            return EmuSense::kInvalidFieldInCdb;
    }
}
}  // namespace

EmuOutcome ReadDiscInformation(EmuCall& call) {
    const EmuCommand& command = call.command;
    if ((command.Byte(1) & 0x07) != 0) return EmuSense::kInvalidFieldInCdb;  // standard data only
    const EmuMedia& media = call.state.media;
    std::vector<std::uint8_t> reply(34, 0);
    EmuReply::Put16(reply, 0, 32);  // disc information length
    reply[2] = StatusByte(media);
    reply[3] = 1;  // first track on disc
    const int sessions = media.SessionCount();
    const int first = FirstTrackOfLastSession(media), last = LastTrackOfLastSession(media);
    reply[4] = static_cast<std::uint8_t>(sessions);
    reply[9] = static_cast<std::uint8_t>(sessions >> 8);
    reply[5] = static_cast<std::uint8_t>(first);
    reply[10] = static_cast<std::uint8_t>(first >> 8);
    reply[6] = static_cast<std::uint8_t>(last);
    reply[11] = static_cast<std::uint8_t>(last >> 8);
    // Background format: complete once formatted, none before.
    if (TraitsOf(media.kind).overwritable && !media.unformatted) reply[7] = 0x03;
    reply[8] = 0x00;  // disc type: CD-DA or CD-ROM
    PutLeadAddresses(reply, media, call.state.NextWritableAddress());
    return EmuReply::Send(call, reply, command.Word(7));
}

EmuOutcome ReadDiscStructure(EmuCall& call) {
    const EmuCommand& command = call.command;
    const EmuMedia& media = call.state.media;
    const MediumTraits& traits = TraitsOf(media.kind);
    const std::uint8_t mediaType = command.Byte(1) & 0x0F;
    if (mediaType == kBluRayMediaType) return BluRayStructure(call);
    if (mediaType != 0) return EmuSense::kInvalidFieldInCdb;
    if (traits.cd || traits.bd) return EmuSense::kCannotReadFormat;  // DVD media type asked
    if (command.Byte(6) != 0 || command.Byte(7) != 0x00) return EmuSense::kInvalidFieldInCdb;
    // Format 00h: physical format information, 4-byte header + 2048 bytes.
    std::vector<std::uint8_t> reply(4 + 2048, 0);
    EmuReply::Put16(reply, 0, 2048 + 2);
    const bool rewritable = traits.erasable;
    reply[4] = static_cast<std::uint8_t>(traits.bookType << 4 | (traits.recordable ? 0x05 : 0x01));
    reply[5] = 0x0F;  // 120 mm, maximum rate not specified
    const bool dualLayer = media.kind == MediumKind::DvdPlusRDl || media.kind == MediumKind::DvdRDl;
    // Number of layers (bits 6-5, layers - 1); layer type embossed, recordable or rewritable.
    reply[6] = static_cast<std::uint8_t>((dualLayer ? 0x20 : 0x00) | (!traits.recordable ? 0x01
                                                                      : rewritable       ? 0x04
                                                                                         : 0x02));
    reply[7] = 0x10;  // densities
    constexpr std::uint32_t kFirstSector = 0x030000;
    const std::int64_t blocks = traits.recordable ? media.capacity : media.LastAddressableLba() + 1;
    EmuReply::Put32(reply, 8, kFirstSector);
    EmuReply::Put32(reply, 12, static_cast<std::uint32_t>(kFirstSector + blocks - 1));
    if (IsDualLayer(traits, blocks)) {
        // Two layers, opposite track path: layer 1 counts on from the
        // complement of layer 0's last sector; the layer break falls on an
        // ECC block (16 sectors) at half the data.
        const std::int64_t layer0 = (blocks / 2 + 15) / 16 * 16;
        const std::uint32_t end0 = kFirstSector + static_cast<std::uint32_t>(layer0) - 1;
        reply[6] |= 0x30;
        EmuReply::Put32(reply, 12,
                        (~end0 & 0xFFFFFF) + static_cast<std::uint32_t>(blocks - layer0) - 1);
        EmuReply::Put32(reply, 16, end0);
    }
    return EmuReply::Send(call, reply, command.Word(8));
}

EmuOutcome ReadCapacity(EmuCall& call) {
    std::vector<std::uint8_t> reply(8, 0);
    EmuReply::Put32(reply, 0, static_cast<std::uint32_t>(call.state.media.LastAddressableLba()));
    EmuReply::Put32(reply, 4, 2048);
    return EmuReply::Send(call, reply, 8);
}

}  // namespace EmuCommands
