#include "EmuCommandTable.h"

namespace {
std::array<EmuCommandEntry, 256> BuildTable() {
    using namespace EmuCommands;
    std::array<EmuCommandEntry, 256> table{};
    auto set = [&table](std::uint8_t opcode, EmuHandler handler, bool needsMedium, bool exempt) {
        table[opcode] = EmuCommandEntry{handler, needsMedium, exempt};
    };
    set(0x00, &TestUnitReady, true, false);
    set(0x03, &RequestSense, false, true);
    set(0x04, &FormatUnit, true, false);
    set(0x12, &Inquiry, false, true);
    set(0x1A, &ModeSense6, false, false);
    set(0x1B, &StartStopUnit, false, false);
    set(0x1E, &PreventAllowMediumRemoval, false, false);
    set(0x23, &ReadFormatCapacities, true, false);
    set(0x25, &ReadCapacity, true, false);
    set(0x28, &Read10, true, false);
    set(0x2A, &Write10, true, false);
    set(0x35, &SynchronizeCache, true, false);
    set(0x42, &ReadSubChannel, true, false);
    set(0x43, &ReadToc, true, false);
    set(0x46, &GetConfiguration, false, true);
    set(0x4A, &GetEventStatus, false, true);
    set(0x51, &ReadDiscInformation, true, false);
    set(0x52, &ReadTrackInformation, true, false);
    set(0x53, &ReserveTrack, true, false);
    set(0x54, &SendOpcInformation, true, false);
    set(0x55, &ModeSelect10, false, false);
    set(0x5A, &ModeSense10, false, false);
    set(0x5B, &CloseTrackSession, true, false);
    set(0x5C, &ReadBufferCapacity, false, false);
    set(0x5D, &SendCueSheet, true, false);
    set(0xA1, &Blank, true, false);
    set(0xA8, &Read12, true, false);
    set(0xAC, &GetPerformance, true, false);
    set(0xAD, &ReadDiscStructure, true, false);
    set(0xB6, &SetStreaming, true, false);
    set(0xB9, &ReadCdMsf, true, false);
    set(0xBB, &SetCdSpeed, false, false);
    set(0xBE, &ReadCd, true, false);
    return table;
}
}  // namespace

const std::array<EmuCommandEntry, 256>& EmuCommandTable() {
    static const std::array<EmuCommandEntry, 256> table = BuildTable();
    return table;
}

int EmuCdbLength(std::uint8_t opcode) {
    // SPC group code, bits 7-5 of the opcode.
    switch (opcode >> 5) {
        case 0:
            return 6;
        case 1:
        case 2:
            return 10;
        case 4:
            return 16;
        case 5:
            return 12;
        default:
            return 6;  // vendor groups: nothing is read beyond the opcode
    }
}
