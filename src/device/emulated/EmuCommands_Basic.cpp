// TEST UNIT READY, REQUEST SENSE, INQUIRY, START STOP UNIT, PREVENT ALLOW MEDIUM
// REMOVAL, SET CD SPEED.
#include <cstring>

#include "EmuCommandTable.h"
#include "EmuDriveState.h"
#include "EmuReply.h"
#include "EmuSpeeds.h"

namespace EmuCommands {

EmuOutcome TestUnitReady(EmuCall&) {
    return EmuSense::kGood;  // the common gates answer every not-ready case
}

EmuOutcome RequestSense(EmuCall& call) {
    EmuDriveState& state = call.state;
    EmuOutcome pending = EmuSense::kGood;
    if (state.unitAttention) {
        pending = EmuSense::kMediumMayHaveChanged;
        state.unitAttention = false;
    } else if (!state.MediumReady()) {
        pending = state.trayOpen ? EmuSense::kNoMediumTrayOpen : EmuSense::kNoMediumTrayClosed;
    }
    // Fixed-format sense data, 18 bytes (SPC-3 4.5.3).
    std::vector<std::uint8_t> reply(18, 0);
    reply[0] = 0x70;
    reply[2] = pending.key;
    reply[7] = 10;
    reply[12] = pending.asc;
    reply[13] = pending.ascq;
    return EmuReply::Send(call, reply, call.command.Byte(4));
}

EmuOutcome Inquiry(EmuCall& call) {
    const EmuCommand& command = call.command;
    if ((command.Byte(1) & 0x01) != 0 || command.Byte(2) != 0) return EmuSense::kInvalidFieldInCdb;
    if (call.state.faults.rejectInquiryControlBits && (command.Byte(5) & 0xC0) != 0)
        return EmuSense::kInvalidFieldInCdb;
    std::vector<std::uint8_t> reply(36, 0);
    reply[0] = 0x05;  // peripheral device type 5: CD/DVD
    reply[1] = 0x80;  // RMB: removable medium
    reply[2] = 0x05;  // version: SPC-3
    reply[3] = 0x02;  // response data format 2
    reply[4] = 36 - 5;
    std::memcpy(&reply[8], "MAPLE   ", 8);
    std::memcpy(&reply[16], "Virtual Recorder", 16);
    std::memcpy(&reply[32], "1.00", 4);
    return EmuReply::Send(call, reply, command.Word(3));
}

EmuOutcome StartStopUnit(EmuCall& call) {
    EmuDriveState& state = call.state;
    const std::uint8_t flags = call.command.Byte(4);
    if ((flags & 0x02) == 0) {
        // Spin up or down only.
        if ((flags & 0x01) != 0 && !state.MediumReady())
            return state.trayOpen ? EmuSense::kNoMediumTrayOpen : EmuSense::kNoMediumTrayClosed;
        return EmuSense::kGood;
    }
    const bool load = (flags & 0x01) != 0;
    if (load == !state.trayOpen) return EmuSense::kGood;  // already there
    if (!load && state.removalPrevented) return EmuSense::kRemovalPrevented;
    state.trayOpen = !load;
    state.layoutChanged = true;
    if (!load) {
        // A disc leaving the drive ends a test write (nothing was recorded)
        // and a Session At Once recording.
        state.EndSimulation();
        state.cueSheet.reset();
        return EmuSense::kGood;
    }
    state.ResetSpeeds();
    if (state.media.Present()) {
        state.unitAttention = true;
        state.newMediaEvent = true;
    }
    return EmuSense::kGood;
}

EmuOutcome PreventAllowMediumRemoval(EmuCall& call) {
    call.state.removalPrevented = (call.command.Byte(4) & 0x01) != 0;
    return EmuSense::kGood;
}

EmuOutcome SetCdSpeed(EmuCall& call) {
    EmuDriveState& state = call.state;
    const EmuCommand& command = call.command;
    const std::uint8_t rotation = command.Byte(1) & 0x03;
    if (rotation > 1) return EmuSense::kInvalidFieldInCdb;  // 1xb reserved
    switch (state.faults.speedRequests) {
        case EmuFaults::SpeedRequests::Reject:
            return EmuSense::kInvalidFieldInCdb;
        case EmuFaults::SpeedRequests::Ignore:
            return EmuSense::kGood;
        case EmuFaults::SpeedRequests::Honour:
            break;
    }
    // Blu-ray speeds are set with SET STREAMING only; like many BD
    // recorders, this one takes SET CD SPEED there and ignores it.
    if (TraitsOf(state.media.kind).bd) return EmuSense::kGood;
    state.rotationControl = rotation;
    state.readSpeed = EmuSpeeds::Snap(EmuSpeeds::ReadSpeeds(state.media.kind), command.Word(2));
    state.writeSpeed = EmuSpeeds::Snap(EmuSpeeds::WriteSpeeds(state.media.kind), command.Word(4));
    return EmuSense::kGood;
}

}  // namespace EmuCommands
