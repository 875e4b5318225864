#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "TestEnvironment.h"

class clsEmulatedDrive;
class EmuDrive;

// A virtual drive in a fresh folder, put into the program-wide transport slot
// for the object's lifetime; waits through the sleep seam are counted instead
// of slept, so retries and polls cost no time.
class VirtualDriveSession {
  public:
    VirtualDriveSession();
    ~VirtualDriveSession();
    VirtualDriveSession(const VirtualDriveSession&) = delete;
    VirtualDriveSession& operator=(const VirtualDriveSession&) = delete;

    clsEmulatedDrive& Transport() { return *m_transport; }
    EmuDrive& Drive();
    // The device identifier the commands name.
    const std::string& Id() const { return m_id; }
    // A path in the session's folder (beside the drive's own folder).
    std::string File(const std::string& name) const { return m_folder.File(name); }
    // Writes `bytes` to File(name) and returns that path.
    std::string Put(const std::string& name, const std::string& bytes) const;

    // The waits requested, in milliseconds, in order; their number and sum.
    const std::vector<int>& Waits() const { return m_waits; }
    int Sleeps() const { return static_cast<int>(m_waits.size()); }
    long long SleptMs() const;

    // The opcodes the drive answered, in order, and how many of one kind.
    std::vector<std::uint8_t> Opcodes() const;
    std::size_t Count(std::uint8_t opcode) const;
    // CDB bytes of every command of `opcode`.
    std::vector<std::vector<std::uint8_t>> Cdbs(std::uint8_t opcode) const;
    // The WRITE(10) commands as (LBA, blocks), in order.
    std::vector<std::pair<std::uint32_t, std::uint16_t>> Writes() const;

  private:
    ::TempFolder m_folder;
    clsEmulatedDrive* m_transport = nullptr;
    std::string m_id;
    std::vector<int> m_waits;
};
