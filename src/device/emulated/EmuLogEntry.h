#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One command as the virtual drive received and answered it.
struct EmuLogEntry {
    std::string drive;              // device identifier ("virtual0")
    std::vector<std::uint8_t> cdb;  // the first CDB-length bytes
    std::int32_t direction = 0;     // 0 data in or none, otherwise data out
    std::int32_t bufferLen = 0;     // transfer length the caller gave
    std::int32_t status = 0;        // ExecCMD result
    std::uint8_t key = 0, asc = 0, ascq = 0;
    // Bytes sent to the drive when there were at most 512 of them (MODE SELECT
    // parameter lists); empty for data in and for larger writes.
    std::vector<std::uint8_t> dataOut;

    std::uint8_t Opcode() const { return cdb.empty() ? 0 : cdb[0]; }
    // "2A 00 00 00 00 10 00 00 10 00 out 32768 -> 0 [00/00/00]"
    std::string Text() const;
};
