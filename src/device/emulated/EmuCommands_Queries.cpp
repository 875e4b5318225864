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
// (BD-R DL shares the BD-R profile.)
constexpr std::array<MediumKind, 12> kProfiles{
    MediumKind::BdRe,      MediumKind::BdR,    MediumKind::DvdPlusRDl, MediumKind::DvdPlusR,
    MediumKind::DvdPlusRw, MediumKind::DvdRDl, MediumKind::DvdRw,      MediumKind::DvdR,
    MediumKind::DvdRom,    MediumKind::CdRw,   MediumKind::CdR,        MediumKind::CdRom};

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

struct Descriptor {
    std::uint16_t code;
    bool current;
    std::vector<std::uint8_t> bytes;
};

// A feature descriptor (MMC-5 5.2.2): code, version, persistent and current
// bits, then the feature's own bytes.
Descriptor Feature(std::uint16_t code, std::uint8_t version, bool persistent, bool current,
                   std::vector<std::uint8_t> extra) {
    std::vector<std::uint8_t> feature(4 + extra.size(), 0);
    EmuReply::Put16(feature, 0, code);
    feature[2] = static_cast<std::uint8_t>(version << 2 | (persistent ? 2 : 0) | (current ? 1 : 0));
    feature[3] = static_cast<std::uint8_t>(extra.size());
    std::copy(extra.begin(), extra.end(), feature.begin() + 4);
    return {code, current, std::move(feature)};
}

// Which of the medium-dependent features apply to the medium in the drive.
struct Currents {
    bool ready, cd, dvd, bd, readable, cdWrite, incremental, dashWrite, formattable;
};

Currents CurrentFeatures(const EmuDriveState& state) {
    const MediumKind kind = state.MediumReady() ? state.media.kind : MediumKind::None;
    const MediumTraits& traits = TraitsOf(kind);
    const bool ready = kind != MediumKind::None;
    const bool dash =
        traits.writesLike == MediumKind::DvdR || traits.writesLike == MediumKind::DvdRw;
    const bool cdWrite = traits.cd && traits.recordable;
    return {ready,
            ready && traits.cd,
            ready && !traits.cd && !traits.bd,
            ready && traits.bd,
            ready && state.media.State() != DiscState::Blank,
            cdWrite,
            cdWrite || dash,
            dash,
            traits.overwritable};
}

// Incremental Streaming Writable: data block types 0 (CD-DA) and 8 (Mode 1)
// on CD, 8 on DVD; BUF; one link size, 7 blocks on CD and 16 on DVD-R/-RW.
std::vector<std::uint8_t> IncrementalFeature(bool dvd) {
    const std::uint8_t cdda = dvd ? 0x00 : 0x01, linkSize = dvd ? 16 : 7;
    return {0x01, cdda, 0x01, 1, linkSize, 0, 0, 0};
}

// BD Read (0040h): BD-RE, BD-R and BD-ROM of class 0, versions 1 and 2.
std::vector<std::uint8_t> BdReadFeature() {
    std::vector<std::uint8_t> extra(28, 0);
    for (const std::size_t at : {8U, 16U, 24U}) extra[at + 1] = 0x06;
    return extra;
}

// BD Write (0041h): BD-RE and BD-R of class 0, versions 1 and 2.
std::vector<std::uint8_t> BdWriteFeature() {
    std::vector<std::uint8_t> extra(24, 0);
    for (const std::size_t at : {8U, 16U}) extra[at + 1] = 0x06;
    return extra;
}

// Every feature whose commands the drive answers; MMC-5 section 5.3.
std::vector<Descriptor> Features(const EmuDriveState& state) {
    const std::uint16_t profile = CurrentProfile(state);
    const Currents is = CurrentFeatures(state);
    const MediumKind kind = is.ready ? state.media.kind : MediumKind::None;
    const std::uint8_t blocking = is.dvd ? 16 : is.bd ? 32 : 1;
    // The BUF bit of the write features (byte 4 bit 6).
    const std::uint8_t buf = state.faults.noUnderrunProtection ? 0 : 0x40;
    const std::uint8_t rw = state.faults.noRwSubChannel ? 0 : 0x01;
    return {
        {0x0000, true, ProfileList(profile)},
        // Core: physical interface 2 (ATAPI).
        Feature(0x0001, 1, true, true, {0, 0, 0, 2, 0, 0, 0, 0}),
        // Morphing: GET EVENT STATUS NOTIFICATION polled only, no operational events.
        Feature(0x0002, 1, true, true, {0, 0, 0, 0}),
        // Removable Medium: tray loading mechanism, eject, lock.
        Feature(0x0003, 0, true, true, {0x29, 0, 0, 0}),
        // Random Readable: 2048-byte blocks, read in units of 1 (CD), 16 (DVD) or 32 (BD).
        Feature(0x0010, 0, false, is.readable, {0, 0, 0x08, 0, 0, blocking, 0, 0}),
        // Multi-Read, CD Read (no C2 pointers, no CD-TEXT), DVD Read.
        Feature(0x001D, 0, false, is.cd, {}),
        Feature(0x001E, 2, false, is.cd, {0, 0, 0, 0}),
        Feature(0x001F, 1, false, is.dvd, {0, 0, 0, 0}),
        Feature(0x0021, 1, false, is.incremental, IncrementalFeature(is.dvd)),
        // Formattable: FORMAT UNIT on DVD+RW and BD-RE (full and quick certification,
        // formats without spare areas).
        Feature(0x0023, 1, false, is.formattable, {0x0B, 0, 0, 0, 0, 0, 0, 0}),
        // DVD+RW and DVD+R: written.
        Feature(0x002A, 1, false, kind == MediumKind::DvdPlusRw, {0x01, 0, 0, 0}),
        Feature(0x002B, 0, false, kind == MediumKind::DvdPlusR || kind == MediumKind::DvdPlusRDl,
                {0x01, 0, 0, 0}),
        // CD Track At Once: BUF, test write, CD-RW; data block types 0 and 8.
        Feature(0x002D, 2, false, is.cdWrite, {std::uint8_t(0x06 | buf), 0, 0x01, 0x01}),
        // CD Mastering: BUF, Session At Once, test write, CD-RW, R-W sub-channel
        // (CD-TEXT in the lead-in); cue sheets up to 4 KiB.
        Feature(0x002E, 2, false, is.cdWrite, {std::uint8_t(0x26 | buf | rw), 0x00, 0x10, 0x00}),
        // DVD-R/-RW Write: BUF, test write, DVD-RW.
        Feature(0x002F, 1, false, is.dashWrite, {std::uint8_t(0x06 | buf), 0, 0, 0}),
        // DVD+R Dual Layer: written.
        Feature(0x003B, 0, false, kind == MediumKind::DvdPlusRDl, {0x01, 0, 0, 0}),
        Feature(0x0040, 1, false, is.bd, BdReadFeature()),
        Feature(0x0041, 1, false, is.bd && TraitsOf(kind).recordable, BdWriteFeature()),
        // Real Time Streaming: READ BUFFER CAPACITY by blocks, SET CD SPEED,
        // speeds in page 2Ah, GET PERFORMANCE write speeds; no stream writing.
        Feature(0x0107, 3, false, is.ready, {0x1E, 0, 0, 0}),
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
