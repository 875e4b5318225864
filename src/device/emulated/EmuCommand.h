#pragma once

#include <cstdint>

#include "EmuOutcome.h"

class EmuDataFile;
struct EmuDriveState;

// One command as a handler sees it: the CDB (reads beyond its length give 0)
// and the data buffer of the direction the caller asked for.
struct EmuCommand {
    const std::uint8_t* cdb = nullptr;
    std::uint8_t cdbLen = 0;
    std::uint8_t* dataIn = nullptr;  // where a data-in reply goes
    std::int32_t dataInLen = 0;
    const std::uint8_t* dataOut = nullptr;  // what a data-out command sends
    std::int32_t dataOutLen = 0;

    std::uint8_t Opcode() const { return Byte(0); }
    std::uint8_t Byte(int at) const { return at >= 0 && at < cdbLen ? cdb[at] : 0; }
    std::uint16_t Word(int at) const {
        return static_cast<std::uint16_t>(Byte(at) << 8 | Byte(at + 1));
    }
    std::uint32_t Long(int at) const {
        return static_cast<std::uint32_t>(Word(at)) << 16 | Word(at + 2);
    }
};

// What a handler works on.
struct EmuCall {
    EmuDriveState& state;
    EmuDataFile& data;
    const EmuCommand& command;
};

using EmuHandler = EmuOutcome (*)(EmuCall&);
