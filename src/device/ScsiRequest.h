#pragma once

#include <array>
#include <cstdint>

// One command as the command operations prepare it before ExecCMD. The data
// buffer is not part of it: it is passed alongside, as address and length.
struct ScsiRequest {
    std::int32_t Status = 0;     // result of ExecCMD
    std::int32_t Timeout = 0;    // seconds; 0 means no practical limit
    std::int32_t Direction = 0;  // 0: data from the device or none; 1: data to the device
    std::array<std::uint8_t, 12> CDB{};
    std::uint8_t CDBLen = 0;
};
