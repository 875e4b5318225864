#pragma once

#include <cstdint>
#include <vector>

// The sections of a file's data as its directory records describe them. A
// record's data length is 32-bit, so a file of 4 GiB or more is recorded as
// several records of the same name, adjacent and in order, each pointing at
// one section; every record but the last carries the multi-extent flag
// (ECMA-119 9.1.6). Sections are given as a list, so that files whose data
// lies in several places (a file kept from an earlier session, say) are
// recorded the same way as the contiguous files the writer lays out.
namespace FileSections {

// Every section but a file's last is 2^32 - 2048 bytes, a whole number of sectors.
constexpr std::int64_t kSectionBytes = 0xFFFFF800LL;
// Files below 4 GiB keep one extent.
constexpr std::int64_t kOneExtentLimit = 0x100000000LL;

struct Section {
    std::uint32_t extent = 0;  // first sector
    std::uint32_t length = 0;  // bytes
};

// The sections of `size` bytes stored contiguously from sector `firstSector`
// on: one for a file below 4 GiB (an empty one included), else sections of
// kSectionBytes and then the rest (the last section is a full one when the
// size is an exact multiple).
std::vector<Section> Contiguous(std::int64_t firstSector, std::int64_t size);
// How many records a file of `size` bytes takes.
std::int64_t Count(std::int64_t size);

}  // namespace FileSections
