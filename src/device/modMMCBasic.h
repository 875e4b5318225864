#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ScsiRequest.h"

// Command operations: the basic commands start-up needs, the byte helpers all
// command operations share, and the one place that calls ExecCMD. The other
// commands live in the MMC layer under the same namespace.
namespace modMMC {

// Opcodes of the basic commands.
constexpr std::uint8_t kOpTestUnitReady = 0x00;
constexpr std::uint8_t kOpInquiry = 0x12;
constexpr std::uint8_t kOpStartStopUnit = 0x1B;

// Standard INQUIRY data as the program reads it (36 bytes).
using InquiryRecord = std::array<std::uint8_t, 36>;

// TEST UNIT READY. Returns the ExecCMD status.
[[nodiscard]] std::int32_t TestUnitReady(const std::string& drive);
// INQUIRY with control byte C0h, once more with 00h when that fails.
// Returns the status of the last attempt.
[[nodiscard]] std::int32_t Inquiry(const std::string& drive, InquiryRecord& record);
// The Immed bit of START STOP UNIT, as a Boolean of the command operations:
// kOn returns once the drive took the command, kOff once the tray has moved.
namespace Immed {
constexpr std::int16_t kOn = -1;
constexpr std::int16_t kOff = 0;
}  // namespace Immed

// START STOP UNIT load (03h) / eject (02h); `immed` Immed::kOn or kOff.
// Returns the ExecCMD status.
[[nodiscard]] std::int32_t LoadTray(const std::string& drive, std::int16_t immed);
[[nodiscard]] std::int32_t EjectTray(const std::string& drive, std::int16_t immed);

// Byte helpers.
constexpr std::uint8_t LoByte(std::uint32_t x) {
    return static_cast<std::uint8_t>(x & 0xFF);
}
constexpr std::uint8_t HiByte(std::uint32_t x) {
    return static_cast<std::uint8_t>((x >> 8) & 0xFF);
}
// hi * 256 + lo as a signed 16-bit value.
constexpr std::int16_t MakeWord(std::uint8_t hi, std::uint8_t lo) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(hi * 256 + lo));
}
// True when bit n of value is 1.
constexpr bool BitSet(std::uint32_t value, int n) {
    return n >= 0 && n < 32 && ((value >> n) & 1U) != 0;
}
// x shifted by n bits, 32-bit; n below 1 returns x, n above 31 returns 0.
std::uint32_t ShiftLeft(std::uint32_t x, int n);
std::uint32_t ShiftRight(std::uint32_t x, int n);

// Puts a 32-bit value big-endian into four CDB bytes starting at `at`.
void PutBigEndian32(ScsiRequest& request, int at, std::uint32_t value);

// True once this run sent a command that changes the disc (WRITE, BLANK,
// CLOSE TRACK/SESSION, FORMAT UNIT, RESERVE TRACK, SEND CUE SHEET): from
// then on, leaving the job half-way may ruin the disc. Safe to read in a
// signal handler.
bool DiscChangeStarted();

namespace detail {
// Sends a prepared request with the caller's buffer through the transport
// slot, stores the result in request.Status and reports it to the command
// trace. Returns request.Status; 255 when no transport is set.
std::int32_t Send(ScsiRequest& request, const std::string& drive, void* buffer,
                  std::int32_t bufferLen);
// A zero-filled request of the given opcode, CDB length, direction and time limit.
ScsiRequest MakeRequest(std::uint8_t opcode, std::uint8_t cdbLen, std::int32_t direction,
                        std::int32_t timeoutSeconds);
}  // namespace detail

}  // namespace modMMC
