#pragma once

#include <array>
#include <cstdint>

#include "EmuCommand.h"

// One entry of the opcode table.
struct EmuCommandEntry {
    EmuHandler handler = nullptr;  // nullptr: 05/20/00 invalid command operation code
    bool needsMedium = false;      // 02/3A/0x without a medium in the closed tray
    // Never reports a pending unit attention or an injected not-ready
    // (INQUIRY, REQUEST SENSE, GET CONFIGURATION, GET EVENT STATUS NOTIFICATION).
    bool exempt = false;
};

// The 256-entry opcode table of the virtual drive.
const std::array<EmuCommandEntry, 256>& EmuCommandTable();

// Minimum CDB length of an opcode's group (6, 10, 12 or 16).
int EmuCdbLength(std::uint8_t opcode);

// Handlers, by family (EmuCommands_*.cpp). Each answers one opcode.
namespace EmuCommands {
// Basic: TEST UNIT READY, REQUEST SENSE, INQUIRY, START STOP UNIT, PREVENT ALLOW
// MEDIUM REMOVAL, SET CD SPEED.
EmuOutcome TestUnitReady(EmuCall& call);
EmuOutcome RequestSense(EmuCall& call);
EmuOutcome Inquiry(EmuCall& call);
EmuOutcome StartStopUnit(EmuCall& call);
EmuOutcome PreventAllowMediumRemoval(EmuCall& call);
EmuOutcome SetCdSpeed(EmuCall& call);
// Queries: GET CONFIGURATION, GET EVENT STATUS NOTIFICATION.
EmuOutcome GetConfiguration(EmuCall& call);
EmuOutcome GetEventStatus(EmuCall& call);
// Disc: READ DISC INFORMATION, READ TRACK INFORMATION, RESERVE TRACK, READ DISC
// STRUCTURE, READ CAPACITY, READ FORMAT CAPACITIES, READ TOC/PMA/ATIP.
EmuOutcome ReadDiscInformation(EmuCall& call);
EmuOutcome ReadTrackInformation(EmuCall& call);
EmuOutcome ReserveTrack(EmuCall& call);
EmuOutcome ReadDiscStructure(EmuCall& call);
EmuOutcome ReadCapacity(EmuCall& call);
EmuOutcome ReadToc(EmuCall& call);
EmuOutcome ReadSubChannel(EmuCall& call);
// Data: READ(10), READ(12), READ CD, READ CD MSF, WRITE(10).
EmuOutcome Read10(EmuCall& call);
EmuOutcome Read12(EmuCall& call);
EmuOutcome ReadCd(EmuCall& call);
EmuOutcome ReadCdMsf(EmuCall& call);
EmuOutcome Write10(EmuCall& call);
// Session At Once on CD: SEND CUE SHEET, and what WRITE(10) and SYNCHRONIZE
// CACHE do while page 05h asks for it (write type 2).
EmuOutcome SendCueSheet(EmuCall& call);
bool SessionAtOnce(const EmuDriveState& state);
// Writes `blocks` at `lba`, the next block the cue sheet expects.
EmuOutcome WriteSessionAtOnce(EmuCall& call, std::int64_t lba, std::int64_t blocks, bool testWrite);
// True (and the cue sheet done with) once every block up to the lead-out was
// written: the session can be closed.
bool SessionAtOnceComplete(EmuDriveState& state);
// Closing and erasing: SYNCHRONIZE CACHE, CLOSE TRACK/SESSION, BLANK.
EmuOutcome SynchronizeCache(EmuCall& call);
EmuOutcome CloseTrackSession(EmuCall& call);
EmuOutcome Blank(EmuCall& call);
// Formats of DVD+RW and BD-RE: READ FORMAT CAPACITIES, FORMAT UNIT.
EmuOutcome ReadFormatCapacities(EmuCall& call);
EmuOutcome FormatUnit(EmuCall& call);
// Buffer, speeds and laser power: READ BUFFER CAPACITY, GET PERFORMANCE, SET
// STREAMING, SEND OPC INFORMATION.
EmuOutcome ReadBufferCapacity(EmuCall& call);
EmuOutcome GetPerformance(EmuCall& call);
EmuOutcome SetStreaming(EmuCall& call);
EmuOutcome SendOpcInformation(EmuCall& call);
// Mode pages: MODE SENSE(6), MODE SENSE(10), MODE SELECT(10).
EmuOutcome ModeSense6(EmuCall& call);
EmuOutcome ModeSense10(EmuCall& call);
EmuOutcome ModeSelect10(EmuCall& call);
}  // namespace EmuCommands
