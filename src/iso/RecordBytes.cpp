#include "RecordBytes.h"

#include <cassert>

#include "IsoFields.h"
#include "UnicodeText.h"

namespace RecordBytes {

Bytes IsoNameBytes(const std::string& dosName) {
    return Bytes(dosName.begin(), dosName.end());
}

Bytes JolietNameBytes(const std::string& jolietName) {
    const std::u16string units = UnicodeText::Utf8ToUtf16(jolietName);
    Bytes bytes;
    bytes.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    }
    return bytes;
}

namespace {
// Directory (bit 1); a multi-extent section another record continues (bit 7).
std::uint8_t FileFlags(const DirectoryRecord& record) {
    return static_cast<std::uint8_t>((record.directory ? 0x02 : 0) |
                                     (record.moreSections ? 0x80 : 0));
}
}  // namespace

void AppendDirectoryRecord(std::vector<std::uint8_t>& out, const DirectoryRecord& record) {
    const int nameBytes = static_cast<int>(record.name.size());
    const int length = DirectoryRecordLength(nameBytes);
    assert(length <= 255 && "identifier too long for a directory record");
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(length), 0);
    std::span<std::uint8_t> bytes(out.data() + start, static_cast<std::size_t>(length));
    bytes[0] = static_cast<std::uint8_t>(length);                      // BP 1: record length
    IsoFields::PutBothEndian32(bytes.subspan(2), record.extent);       // BP 3-10: extent location
    IsoFields::PutBothEndian32(bytes.subspan(10), record.dataLength);  // BP 11-18: data length
    IsoFields::PutRecordingDate(bytes.subspan(18, 7), record.date);    // BP 19-25: date
    bytes[25] = FileFlags(record);                                     // BP 26: file flags
    IsoFields::PutBothEndian16(bytes.subspan(28), 1);                  // BP 29-32: volume sequence
    bytes[32] = static_cast<std::uint8_t>(nameBytes);                  // BP 33: identifier length
    std::copy(record.name.begin(), record.name.end(), bytes.begin() + 33);  // BP 34-: identifier
}

void AppendPathTableRecord(std::vector<std::uint8_t>& out, const Bytes& name, std::uint32_t extent,
                           std::uint16_t parentNumber, Endian endian) {
    const int nameBytes = static_cast<int>(name.size());
    const int length = PathTableRecordLength(nameBytes);
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(length), 0);
    std::span<std::uint8_t> bytes(out.data() + start, static_cast<std::size_t>(length));
    bytes[0] = static_cast<std::uint8_t>(nameBytes);  // BP 1: identifier length
    if (endian == Endian::Little) {
        IsoFields::PutLittleEndian32(bytes.subspan(2), extent);        // BP 3-6: extent location
        IsoFields::PutLittleEndian16(bytes.subspan(6), parentNumber);  // BP 7-8: parent number
    } else {
        IsoFields::PutBigEndian32(bytes.subspan(2), extent);
        IsoFields::PutBigEndian16(bytes.subspan(6), parentNumber);
    }
    std::copy(name.begin(), name.end(), bytes.begin() + 8);  // BP 9-: identifier
}

}  // namespace RecordBytes
