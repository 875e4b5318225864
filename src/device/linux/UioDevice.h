#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The user-space I/O device through which the kernel hands a SCSI unit's
// commands to this process: found by its name in /sys/class/uio, opened, and
// its region (mailbox, command ring, data) mapped. Tests stand in for the
// kernel by overriding the region, the wait and the notice.
class UioDevice {
  public:
    UioDevice() = default;
    virtual ~UioDevice();
    UioDevice(const UioDevice&) = delete;
    UioDevice& operator=(const UioDevice&) = delete;

    // Opens the device named `name` and maps its first region. Returns an
    // empty text on success, else the reason.
    std::string Open(const std::string& name);
    // The /dev node of the device named `name`, empty when there is none.
    static std::string NodeOf(const std::string& name);

    virtual std::uint8_t* Region() const { return m_region; }
    virtual std::size_t Size() const { return m_size; }

    enum class Wake { Commands, Stop, Failed };
    // Waits until the kernel posts commands or `stopFd` becomes readable.
    virtual Wake Wait(int stopFd);
    // Tells the kernel that answers are in the ring.
    virtual bool Notify();

  private:
    int m_fd = -1;
    std::uint8_t* m_region = nullptr;
    std::size_t m_size = 0;
};
