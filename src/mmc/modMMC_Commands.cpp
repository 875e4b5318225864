// Recording commands: speed, writing, reading, closing and blanking.
#include <cstdlib>

#include "ScsiStatus.h"
#include "modMMC.h"

namespace modMMC {

namespace {
void PutBigEndian16(ScsiRequest& request, int at, std::uint16_t value) {
    request.CDB[at] = HiByte(value);
    request.CDB[at + 1] = LoByte(value);
}
}  // namespace

std::int32_t SetCDSpeed(const std::string& drive, std::uint16_t readSpeed, std::uint16_t writeSpeed,
                        std::int16_t rotationControl) {
    ScsiRequest request = detail::MakeRequest(kOpSetCDSpeed, 12, ScsiDirection::kIn, 5);
    request.CDB[1] = static_cast<std::uint8_t>(std::abs(rotationControl));  // rotation control
    PutBigEndian16(request, 2, readSpeed);   // bytes 2-3: logical unit read speed
    PutBigEndian16(request, 4, writeSpeed);  // bytes 4-5: logical unit write speed
    return detail::Send(request, drive, nullptr, 0);
}

std::int32_t CloseTrackSession(const std::string& drive, std::int32_t closeFunction,
                               std::uint16_t trackNumber) {
    ScsiRequest request = detail::MakeRequest(kOpCloseTrackSession, 10, ScsiDirection::kIn, 600);
    request.CDB[2] = LoByte(static_cast<std::uint32_t>(closeFunction));  // close function
    PutBigEndian16(request, 4, trackNumber);  // bytes 4-5: logical track number
    return detail::Send(request, drive, nullptr, 0);
}

std::int32_t SynchronizeCache(const std::string& drive) {
    // Long: after a Session At Once recording the drive writes the lead-out.
    ScsiRequest request = detail::MakeRequest(kOpSynchronizeCache, 10, ScsiDirection::kIn, 600);
    return detail::Send(request, drive, nullptr, 0);
}

std::int32_t Write10(const std::string& drive, std::uint32_t lba, std::uint16_t blocks,
                     const void* buffer, std::int32_t length) {
    ScsiRequest request = detail::MakeRequest(kOpWrite10, 10, ScsiDirection::kOut, 600);
    PutBigEndian32(request, 2, lba);     // bytes 2-5: logical block address
    PutBigEndian16(request, 7, blocks);  // bytes 7-8: transfer length in blocks
    // The transport only reads an outgoing buffer.
    return detail::Send(request, drive, const_cast<void*>(buffer), length);
}

std::int32_t Read10(const std::string& drive, std::uint32_t lba, std::uint16_t blocks, void* buffer,
                    std::int32_t length) {
    ScsiRequest request = detail::MakeRequest(kOpRead10, 10, ScsiDirection::kIn, 5);
    PutBigEndian32(request, 2, lba);     // bytes 2-5: logical block address
    PutBigEndian16(request, 7, blocks);  // bytes 7-8: transfer length in blocks
    return detail::Send(request, drive, buffer, length);
}

std::int32_t ReadCd(const std::string& drive, std::uint32_t lba, std::uint32_t blocks, void* buffer,
                    std::int32_t length) {
    ScsiRequest request = detail::MakeRequest(kOpReadCd, 12, ScsiDirection::kIn, 10);
    request.CDB[1] = 0x04;            // expected sector type 001b: CD-DA
    PutBigEndian32(request, 2, lba);  // bytes 2-5: starting logical block address
    request.CDB[6] = static_cast<std::uint8_t>((blocks >> 16) & 0xFF);  // bytes 6-8: length
    PutBigEndian16(request, 7, static_cast<std::uint16_t>(blocks & 0xFFFF));
    request.CDB[9] = 0x10;  // user data only: the 2352 bytes of a CD-DA sector
    return detail::Send(request, drive, buffer, length);
}

std::int32_t ReadCdQ(const std::string& drive, std::uint32_t lba, std::uint32_t blocks,
                     void* buffer, std::int32_t length) {
    ScsiRequest request = detail::MakeRequest(kOpReadCd, 12, ScsiDirection::kIn, 10);
    request.CDB[1] = 0x04;  // CD-DA
    PutBigEndian32(request, 2, lba);
    request.CDB[6] = static_cast<std::uint8_t>((blocks >> 16) & 0xFF);
    PutBigEndian16(request, 7, static_cast<std::uint16_t>(blocks & 0xFFFF));
    request.CDB[9] = 0x00;   // no sector data
    request.CDB[10] = 0x02;  // sub-channel 010b: the formatted Q, 16 bytes a sector
    return detail::Send(request, drive, buffer, length);
}

std::int32_t SendCueSheet(const std::string& drive, const void* sheet, std::int32_t length) {
    ScsiRequest request = detail::MakeRequest(kOpSendCueSheet, 10, ScsiDirection::kOut, 10);
    request.CDB[6] = static_cast<std::uint8_t>((length >> 16) & 0xFF);  // bytes 6-8: sheet size
    PutBigEndian16(request, 7, static_cast<std::uint16_t>(length & 0xFFFF));
    return detail::Send(request, drive, const_cast<void*>(sheet), length);
}

std::int64_t ReadCapacity(const std::string& drive) {
    ScsiRequest request = detail::MakeRequest(kOpReadCapacity, 12, ScsiDirection::kIn, 5);
    std::uint8_t reply[8] = {};
    if (detail::Send(request, drive, reply, sizeof reply) != ScsiStatus::kGood) return -1;
    // Bytes 0-3: last logical block address; the block length (4-7) is not used.
    return (std::int64_t{reply[0]} << 24) | (std::int64_t{reply[1]} << 16) |
           (std::int64_t{reply[2]} << 8) | std::int64_t{reply[3]};
}

std::int32_t ModeSelect10(const std::string& drive, const void* buffer, std::uint16_t length) {
    ScsiRequest request = detail::MakeRequest(kOpModeSelect10, 10, ScsiDirection::kOut, 5);
    request.CDB[1] = 0x10;               // PF: pages follow the MMC page format
    PutBigEndian16(request, 7, length);  // bytes 7-8: parameter list length
    return detail::Send(request, drive, const_cast<void*>(buffer), length);
}

std::int32_t ModeSenseDefault(const std::string& drive, std::uint8_t pageCode, void* buffer,
                              std::uint16_t length) {
    ScsiRequest request = detail::MakeRequest(kOpModeSense10, 10, ScsiDirection::kIn, 5);
    request.CDB[1] = 0x08;                                        // DBD: no block descriptors
    request.CDB[2] = static_cast<std::uint8_t>(pageCode | 0x80);  // page control 10b: defaults
    PutBigEndian16(request, 7, length);                           // bytes 7-8: allocation length
    return detail::Send(request, drive, buffer, length);
}

std::int32_t ModeSense10(const std::string& drive, std::uint8_t pageCode, void* buffer,
                         std::uint16_t length) {
    ScsiRequest request = detail::MakeRequest(kOpModeSense10, 10, ScsiDirection::kIn, 5);
    request.CDB[2] = static_cast<std::uint8_t>(pageCode & 0x3F);  // page control 00b: current
    PutBigEndian16(request, 7, length);                           // bytes 7-8: allocation length
    return detail::Send(request, drive, buffer, length);
}

std::int32_t Blank(const std::string& drive, std::uint8_t blankingType) {
    ScsiRequest request = detail::MakeRequest(kOpBlank, 12, ScsiDirection::kIn, 9999);
    request.CDB[1] = blankingType;  // blanking type; Immed clear: returns when done
    return detail::Send(request, drive, nullptr, 0);
}

std::int32_t ReadDiscInformation(const std::string& drive, DiscInformationBlock& block) {
    ScsiRequest request = detail::MakeRequest(kOpReadDiscInformation, 10, ScsiDirection::kIn, 5);
    PutBigEndian16(request, 7, static_cast<std::uint16_t>(block.size()));  // allocation 001Fh
    return detail::Send(request, drive, block.data(), static_cast<std::int32_t>(block.size()));
}

bool ReadTrackInformation(const std::string& drive, std::uint8_t addressType,
                          std::uint32_t trackNumber, void* buffer, std::uint16_t length) {
    ScsiRequest request = detail::MakeRequest(kOpReadTrackInformation, 10, ScsiDirection::kIn, 5);
    request.CDB[1] = addressType;          // address/number type
    request.CDB[5] = LoByte(trackNumber);  // low byte of the track number
    PutBigEndian16(request, 7, length);    // bytes 7-8: allocation length
    return detail::Send(request, drive, buffer, length) == ScsiStatus::kGood;
}

bool ReadToc(const std::string& drive, void* buffer, std::uint16_t length) {
    ScsiRequest request = detail::MakeRequest(kOpReadToc, 10, ScsiDirection::kIn, 5);
    request.CDB[6] = 1;                  // starting track 1; format 0000b, addresses as LBAs
    PutBigEndian16(request, 7, length);  // bytes 7-8: allocation length
    return detail::Send(request, drive, buffer, length) == ScsiStatus::kGood;
}

bool ReadDiscStructure(const std::string& drive, std::uint32_t address, std::uint8_t layer,
                       std::uint8_t format, void* buffer, std::uint16_t length) {
    ScsiRequest request = detail::MakeRequest(kOpReadDiscStructure, 12, ScsiDirection::kIn, 10);
    PutBigEndian32(request, 2, address);  // bytes 2-5: address
    request.CDB[6] = layer;               // layer number
    request.CDB[7] = format;              // format code
    PutBigEndian16(request, 8, length);   // bytes 8-9: allocation length
    return detail::Send(request, drive, buffer, length) == ScsiStatus::kGood;
}

bool GetConfiguration(const std::string& drive, std::uint8_t startingFeature,
                      std::uint8_t requestType, void* buffer, std::uint16_t length) {
    ScsiRequest request = detail::MakeRequest(kOpGetConfiguration, 12, ScsiDirection::kIn, 10);
    request.CDB[1] = requestType;                 // RT
    PutBigEndian16(request, 2, startingFeature);  // bytes 2-3: starting feature number
    PutBigEndian16(request, 7, length);           // bytes 7-8: allocation length
    return detail::Send(request, drive, buffer, length) == ScsiStatus::kGood;
}

bool GetEventStatus(const std::string& drive, std::uint8_t classRequest, void* buffer,
                    std::uint8_t length) {
    ScsiRequest request = detail::MakeRequest(kOpGetEventStatus, 12, ScsiDirection::kIn, 5);
    request.CDB[1] = 0x01;          // Polled
    request.CDB[4] = classRequest;  // notification class request
    request.CDB[8] = length;        // allocation length (low byte)
    return detail::Send(request, drive, buffer, length) == ScsiStatus::kGood;
}

}  // namespace modMMC
