// GET CONFIGURATION and GET EVENT STATUS NOTIFICATION: both answer without a
// medium and never report a unit attention.
#include <algorithm>
#include <array>

#include "EmuCommandTable.h"
#include "EmuDriveState.h"
#include "EmuReply.h"

namespace EmuCommands {

namespace {
// Profiles this recorder supports, listed as drives do, newest first.
constexpr std::array<MediumKind, 8> kProfiles{
    MediumKind::DvdPlusR, MediumKind::DvdPlusRw, MediumKind::DvdRw, MediumKind::DvdR,
    MediumKind::DvdRom,   MediumKind::CdRw,      MediumKind::CdR,   MediumKind::CdRom};

std::uint16_t CurrentProfile(const EmuDriveState& state) {
    return state.MediumReady() ? TraitsOf(state.media.kind).profile : 0;
}

// Feature 0000h Profile List (MMC-5 5.3.1).
std::vector<std::uint8_t> ProfileList(std::uint16_t current) {
    std::vector<std::uint8_t> feature(4 + 4 * kProfiles.size(), 0);
    feature[2] = 0x03;  // persistent, current
    feature[3] = static_cast<std::uint8_t>(4 * kProfiles.size());
    for (std::size_t i = 0; i < kProfiles.size(); ++i) {
        const std::uint16_t profile = TraitsOf(kProfiles[i]).profile;
        EmuReply::Put16(feature, 4 + 4 * i, profile);
        feature[6 + 4 * i] = profile == current ? 0x01 : 0x00;  // CurrentP
    }
    return feature;
}

// A feature descriptor without data beyond `extra` bytes.
std::vector<std::uint8_t> Feature(std::uint16_t code, std::uint8_t flags,
                                  std::vector<std::uint8_t> extra) {
    std::vector<std::uint8_t> feature(4 + extra.size(), 0);
    EmuReply::Put16(feature, 0, code);
    feature[2] = flags;
    feature[3] = static_cast<std::uint8_t>(extra.size());
    std::copy(extra.begin(), extra.end(), feature.begin() + 4);
    return feature;
}

struct Descriptor {
    std::uint16_t code;
    bool current;
    std::vector<std::uint8_t> bytes;
};

std::vector<Descriptor> Features(const EmuDriveState& state) {
    const std::uint16_t current = CurrentProfile(state);
    const bool ready = current != 0;
    const bool cd = ready && TraitsOf(state.media.kind).cd;
    return {
        {0x0000, true, ProfileList(current)},
        // Core: physical interface 2 (ATAPI).
        {0x0001, true, Feature(0x0001, 0x07, {0, 0, 0, 2, 0, 0, 0, 0})},
        // Removable Medium: tray loading mechanism, eject.
        {0x0003, true, Feature(0x0003, 0x03, {0x29, 0, 0, 0})},
        // CD Track At Once: test write and R-W subcode absent.
        {0x002D, cd, Feature(0x002D, cd ? 0x09 : 0x08, {0x04, 0, 0, 0})},
        // CD Mastering: Session At Once, test write; cue sheets up to 4 KiB.
        {0x002E, cd, Feature(0x002E, cd ? 0x09 : 0x08, {0x64, 0x00, 0x10, 0x00})},
    };
}
}  // namespace

EmuOutcome GetConfiguration(EmuCall& call) {
    const EmuCommand& command = call.command;
    if (call.state.faults.rejectGetConfiguration) return EmuSense::kInvalidOpcode;
    const std::uint8_t requestType = command.Byte(1) & 0x03;
    if (requestType == 3) return EmuSense::kInvalidFieldInCdb;
    const std::uint16_t starting = command.Word(2);
    std::vector<std::uint8_t> reply(8, 0);
    EmuReply::Put16(reply, 6, CurrentProfile(call.state));
    for (const Descriptor& feature : Features(call.state)) {
        const bool wanted = requestType == 2   ? feature.code == starting
                            : requestType == 1 ? feature.code >= starting && feature.current
                                               : feature.code >= starting;
        if (wanted) reply.insert(reply.end(), feature.bytes.begin(), feature.bytes.end());
    }
    EmuReply::Put32(reply, 0, static_cast<std::uint32_t>(reply.size() - 4));
    return EmuReply::Send(call, reply, command.Word(7));
}

EmuOutcome GetEventStatus(EmuCall& call) {
    const EmuCommand& command = call.command;
    EmuDriveState& state = call.state;
    if (state.faults.noMediaEvents) return EmuSense::kInvalidOpcode;
    if ((command.Byte(1) & 0x01) == 0) return EmuSense::kInvalidFieldInCdb;  // polled only
    constexpr std::uint8_t kMediaClass = 0x10;
    std::vector<std::uint8_t> reply(8, 0);
    reply[3] = kMediaClass;  // supported event classes
    if ((command.Byte(4) & kMediaClass) == 0) {
        reply[1] = 2;
        reply[2] = 0x80;  // NEA: no event of the requested classes
        reply.resize(4);  // the header alone
        return EmuReply::Send(call, reply, command.Word(7));
    }
    reply[1] = 6;     // event descriptor length: bytes after byte 1
    reply[2] = 0x04;  // notification class 4: media
    if (state.newMediaEvent && state.MediumReady()) {
        reply[4] = 0x02;  // event code: new media, reported once
        state.newMediaEvent = false;
    }
    reply[5] = static_cast<std::uint8_t>((state.MediumReady() ? 0x02 : 0x00) |
                                         (state.trayOpen ? 0x01 : 0x00));
    return EmuReply::Send(call, reply, command.Word(7));
}

}  // namespace EmuCommands
