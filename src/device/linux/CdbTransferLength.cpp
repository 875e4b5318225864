#include "CdbTransferLength.h"

#include <array>

namespace {
// A whole CD sector with its C2 error pointers (and block error byte) and raw subchannel.
constexpr std::size_t kLargestBlock = 2352 + 296 + 96;
constexpr std::size_t kPerformanceHeader = 8, kPerformanceDescriptor = 16;
constexpr std::size_t kFormatList = 0xFFFF;  // FORMAT UNIT names no length: its list is short

enum class Unit : std::uint8_t { None, Bytes, Blocks, Blocks256, Descriptors, Fixed, Msf };
// Where the length lies in the CDB (offset, width) and what it counts.
struct Length {
    Unit unit = Unit::None;
    std::uint8_t at = 0, width = 0;
};

constexpr std::array<Length, 256> Table() {
    std::array<Length, 256> table{};
    const auto bytes = [&](std::uint8_t op, std::uint8_t at, std::uint8_t width) {
        table[op] = {Unit::Bytes, at, width};
    };
    const auto blocks = [&](std::uint8_t op, std::uint8_t at, std::uint8_t width) {
        table[op] = {Unit::Blocks, at, width};
    };
    for (const std::uint8_t op : {0x03, 0x15, 0x1A}) bytes(op, 4, 1);  // REQUEST SENSE, MODE (6)
    bytes(0x12, 3, 2);                                                 // INQUIRY
    // READ FORMAT CAPACITIES ... READ BUFFER CAPACITY: bytes 7-8.
    for (const std::uint8_t op :
         {0x23, 0x42, 0x43, 0x44, 0x46, 0x4A, 0x4C, 0x4D, 0x51, 0x52, 0x54, 0x55, 0x5A, 0x5C})
        bytes(op, 7, 2);
    for (const std::uint8_t op : {0x3B, 0x3C, 0x5D}) bytes(op, 6, 3);  // BUFFER, SEND CUE SHEET
    for (const std::uint8_t op : {0xA2, 0xA3, 0xA4, 0xAD, 0xBD, 0xBF}) bytes(op, 8, 2);
    bytes(0xA0, 6, 4);                  // REPORT LUNS
    bytes(0xB6, 9, 2);                  // SET STREAMING
    table[0x25] = {Unit::Fixed, 8, 0};  // READ CAPACITY: 8 bytes
    table[0x04] = {Unit::Fixed, 0, 0};  // FORMAT UNIT
    for (const std::uint8_t op : {0x08, 0x0A})
        table[op] = {Unit::Blocks256, 4, 1};                            // READ/WRITE(6)
    for (const std::uint8_t op : {0x28, 0x2A, 0x2E}) blocks(op, 7, 2);  // READ/WRITE(10), W&V
    for (const std::uint8_t op : {0xA8, 0xAA}) blocks(op, 6, 4);        // READ/WRITE(12)
    for (const std::uint8_t op : {0x88, 0x8A}) blocks(op, 10, 4);       // READ/WRITE(16)
    blocks(0xBE, 6, 3);                                                 // READ CD
    table[0xB9] = {Unit::Msf, 3, 3};                                    // READ CD MSF
    table[0xAC] = {Unit::Descriptors, 8, 2};                            // GET PERFORMANCE
    return table;
}

std::size_t Field(const std::vector<std::uint8_t>& cdb, std::size_t at, std::size_t width) {
    std::size_t value = 0;
    for (std::size_t i = at; i < at + width; ++i)
        value = value << 8 | (i < cdb.size() ? cdb[i] : 0);
    return value;
}

// Blocks from the start MSF (bytes 3-5) up to the end MSF (bytes 6-8).
std::size_t MsfBlocks(const std::vector<std::uint8_t>& cdb) {
    const auto frames = [&](std::size_t at) {
        return (Field(cdb, at, 1) * 60 + Field(cdb, at + 1, 1)) * 75 + Field(cdb, at + 2, 1);
    };
    const std::size_t start = frames(3), end = frames(6);
    return end > start ? end - start : 0;
}
}  // namespace

std::size_t CdbTransferLength(const std::vector<std::uint8_t>& cdb) {
    static constexpr std::array<Length, 256> kTable = Table();
    if (cdb.empty()) return 0;
    const Length length = kTable[cdb[0]];
    switch (length.unit) {
        case Unit::None:
            return 0;
        case Unit::Bytes:
            return Field(cdb, length.at, length.width);
        case Unit::Blocks:
            return Field(cdb, length.at, length.width) * kLargestBlock;
        case Unit::Blocks256: {
            const std::size_t count = Field(cdb, length.at, 1);
            return (count == 0 ? 256 : count) * kLargestBlock;
        }
        case Unit::Descriptors:
            return kPerformanceHeader +
                   Field(cdb, length.at, length.width) * kPerformanceDescriptor;
        case Unit::Fixed:
            return length.at != 0 ? length.at : kFormatList;
        case Unit::Msf:
            return MsfBlocks(cdb) * kLargestBlock;
    }
    return 0;
}
