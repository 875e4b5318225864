#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "LocalDateTime.h"

// Directory records (ECMA-119 9.1) and path table records (9.4).
namespace RecordBytes {

using Bytes = std::vector<std::uint8_t>;

// Name bytes as written: ISO 9660 names as ASCII, Joliet names (UTF-8 here)
// UCS-2 big-endian.
Bytes IsoNameBytes(const std::string& dosName);
Bytes JolietNameBytes(const std::string& jolietName);

// Length of a directory record with an identifier of `nameBytes` bytes.
constexpr int DirectoryRecordLength(int nameBytes) {
    return 33 + nameBytes + (nameBytes % 2 == 0 ? 1 : 0);
}
// Length of a path table record with an identifier of `nameBytes` bytes.
constexpr int PathTableRecordLength(int nameBytes) {
    return 8 + nameBytes + (nameBytes % 2 == 1 ? 1 : 0);
}
static_assert(DirectoryRecordLength(1) == 34 && PathTableRecordLength(1) == 10);

struct DirectoryRecord {
    std::uint32_t extent = 0;
    std::uint32_t dataLength = 0;
    LocalDateTime date;
    bool directory = false;
    Bytes name;                 // 00h for ".", 01h for ".."
    bool moreSections = false;  // a section of a file that another record continues
};
// Appends the record's bytes (all padding 00h) to `out`.
void AppendDirectoryRecord(std::vector<std::uint8_t>& out, const DirectoryRecord& record);

enum class Endian { Little, Big };
// Appends a path table record (type L little-endian, type M big-endian).
void AppendPathTableRecord(std::vector<std::uint8_t>& out, const Bytes& name, std::uint32_t extent,
                           std::uint16_t parentNumber, Endian endian);

}  // namespace RecordBytes
