#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The Windows calls behind the pass-through transport, so tests can see the
// bytes of every request and answer in place of a drive.
class SptiSystem {
  public:
    static constexpr std::intptr_t kInvalidHandle = -1;
    virtual ~SptiSystem() = default;
    // Drive type of the letter's root (5: CD-ROM).
    virtual unsigned DriveType(char letter) = 0;
    // True on an NT-family system of version 5 or later.
    virtual bool NtVersion5OrLater() = 0;
    // Opens a device path with read/write sharing; kInvalidHandle on failure.
    virtual std::intptr_t Open(const std::string& path, std::uint32_t access) = 0;
    virtual void Close(std::intptr_t handle) = 0;
    // One device I/O control request; the buffer is both input and output.
    virtual bool Control(std::intptr_t handle, std::uint32_t code, void* buffer,
                         std::uint32_t inBytes, std::uint32_t outBytes) = 0;
    // The error code of the calling thread's last failed call.
    virtual std::uint32_t LastError() = 0;
};

// The real system calls.
std::unique_ptr<SptiSystem> MakeWindowsSptiSystem();
