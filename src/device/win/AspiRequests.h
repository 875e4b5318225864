#pragma once

#include <cstddef>
#include <cstdint>

// Byte positions of the ASPI request blocks that the transport builds and an
// ASPI layer fills in. With 4-byte pointers these are the published ASPI for
// Win32 layouts; a 64-bit ASPI layer takes 8-byte pointers, which moves every
// field after the buffer pointer by 4 bytes and every field after the
// completion handle by 4 more.
namespace AspiRequests {

constexpr std::size_t kPointer = sizeof(void*);

// Commands, statuses and flags.
constexpr std::uint8_t kGetDeviceType = 1, kExecute = 2, kAbort = 3;
constexpr std::uint8_t kPending = 0, kCompleted = 1, kAborted = 2;
constexpr std::uint8_t kDataIn = 0x08, kDataOut = 0x10;
constexpr std::uint8_t kCdRom = 5;

// Header of every request.
constexpr std::size_t kCommand = 0, kStatus = 1, kAdapter = 2, kFlags = 3;
constexpr std::size_t kTarget = 8, kLun = 9;

// Get device type.
constexpr std::size_t kDeviceType = 10, kDeviceTypeBytes = 80;

// Execute SCSI command.
constexpr std::size_t kBufferLength = 12, kBufferPointer = 16;
constexpr std::size_t kSenseLength = 16 + kPointer, kCdbLength = 17 + kPointer;
constexpr std::size_t kAdapterStatus = 18 + kPointer, kTargetStatus = 19 + kPointer;
constexpr std::size_t kCompletionEvent = 20 + kPointer;
constexpr std::size_t kCdb = 40 + 2 * kPointer, kSense = 56 + 2 * kPointer;
constexpr std::size_t kExecuteBytes = 72 + 2 * kPointer;
constexpr std::uint8_t kSenseBytes = 14;

// Abort: the address of the execute request to stop.
constexpr std::size_t kToAbort = 8, kAbortBytes = 8 + kPointer;

}  // namespace AspiRequests
