// READ SUB-CHANNEL: the disc's catalogue number (format 02h) and a track's
// ISRC (03h), as the cue sheet of a Session At Once recording gave them.
// The current position (01h) is not modelled: the drive plays no audio.
#include "EmuCommandTable.h"
#include "EmuDriveState.h"
#include "EmuReply.h"

namespace EmuCommands {

namespace {
constexpr std::uint8_t kCatalogue = 0x02, kIsrc = 0x03;
constexpr std::uint8_t kNoAudioStatus = 0x15;  // no current audio status to return
constexpr std::uint8_t kValid = 0x80;          // MCVal / TCVal

// The 24-byte answer: header, format, then the code at byte 9 with its valid bit.
EmuOutcome Answer(const EmuCall& call, std::uint8_t format, std::uint8_t adrControl,
                  std::uint8_t track, const std::string& code) {
    std::vector<std::uint8_t> reply(24, 0);
    reply[1] = kNoAudioStatus;
    EmuReply::Put16(reply, 2, 20);
    reply[4] = format;
    reply[5] = adrControl;
    reply[6] = track;
    if (!code.empty()) {
        reply[8] = kValid;
        std::copy(code.begin(), code.end(), reply.begin() + 9);
    }
    return EmuReply::Send(call, reply, call.command.Word(7));
}
}  // namespace

EmuOutcome ReadSubChannel(EmuCall& call) {
    const EmuCommand& command = call.command;
    const EmuMedia& media = call.state.RecordedMedia();
    if (!TraitsOf(media.kind).cd) return EmuSense::kInvalidFieldInCdb;
    const bool subQ = (command.Byte(2) & 0x40) != 0;
    const std::uint8_t format = command.Byte(3);
    if (!subQ) {  // the header only
        std::vector<std::uint8_t> reply(4, 0);
        reply[1] = kNoAudioStatus;
        return EmuReply::Send(call, reply, command.Word(7));
    }
    if (format == kCatalogue) return Answer(call, format, 0, 0, media.catalogue);
    if (format != kIsrc) return EmuSense::kInvalidFieldInCdb;
    for (const EmuTrack& track : media.tracks)
        if (track.number == command.Byte(6) && track.closed)
            return Answer(call, format, track.mode == EmuTrack::Mode::Audio ? 0x10 : 0x14,
                          command.Byte(6), track.mode == EmuTrack::Mode::Audio ? track.isrc : "");
    return EmuSense::kInvalidFieldInCdb;
}

}  // namespace EmuCommands
