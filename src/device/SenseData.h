#pragma once

#include <cstddef>
#include <cstdint>

// Sense key, additional sense code and qualifier of one command.
struct SenseFields {
    std::uint8_t key = 0;
    std::uint8_t asc = 0;
    std::uint8_t ascq = 0;
};

// Decodes fixed-format (70h/71h) and descriptor-format (72h/73h) sense data.
// Returns zeros for an empty or unknown format; never reads past `length`.
SenseFields DecodeSense(const std::uint8_t* sense, std::size_t length);
