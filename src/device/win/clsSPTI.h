#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "DriveStates.h"
#include "ExclusiveAccess.h"
#include "SptiSystem.h"
#include "clsSCSI.h"

// The pass-through transport of Windows: every optical drive is opened as a
// volume by its letter ("\\.\D:") and each command is one pass-through
// request on that handle. Device identifiers are the drive letters.
class clsSPTI final : public clsSCSI, public ExclusiveAccess {
  public:
    explicit clsSPTI(std::unique_ptr<SptiSystem> system = MakeWindowsSptiSystem());
    ~clsSPTI() override;
    clsSPTI(const clsSPTI&) = delete;
    clsSPTI& operator=(const clsSPTI&) = delete;

    std::string Interface() const override { return "SPTI"; }
    std::uint8_t LastASCQ() const override { return m_states.LastSense().ascq; }
    std::uint8_t LastASC() const override { return m_states.LastSense().asc; }
    std::uint8_t LastSK() const override { return m_states.LastSense().key; }
    bool Initialized() override { return true; }
    // True when a drive was found and the first one could be opened.
    bool Installed() override;
    std::int16_t DriveCount() const override { return static_cast<std::int16_t>(m_drives.size()); }
    std::string DriveChar(const std::string& drive) override { return drive; }
    std::string DriveHandle(std::int16_t index) const override;
    // Port number, target id and LUN the system reports for the drive; 0 when unknown.
    std::uint8_t HostAdapter(const std::string& drive) override { return AddressByte(drive, 4); }
    std::uint8_t TargetID(const std::string& drive) override { return AddressByte(drive, 6); }
    std::uint8_t LUN(const std::string& drive) override { return AddressByte(drive, 7); }
    // 24 when the drive cannot be opened, 255 when the system rejects the
    // request, else the SCSI status. A `timeout` of 0 becomes 3600000 s.
    std::int32_t ExecCMD(const std::string& drive, const std::uint8_t* cdb, std::uint8_t cdbLen,
                         std::int32_t direction, void* buffer, std::int32_t bufferLen,
                         std::int32_t& timeout) override;
    // Locks the disc's volume against other programs' files, then takes the
    // CD-ROM driver's exclusive access, so that only this program's handle
    // reaches the drive. A layer the system does not offer (an older Windows)
    // is left out; only "in use" refuses.
    std::string ClaimDrive(const std::string& drive) override;
    void ReleaseDrive(const std::string& drive) override;

  private:
    struct Claim {
        int count = 0;
        bool volumeLocked = false, exclusive = false;
    };

    void OpenHandles();
    std::intptr_t HandleOf(const std::string& drive);
    std::uint8_t AddressByte(const std::string& drive, std::size_t offset);
    bool HeldByAnotherProgram(std::intptr_t handle);
    bool LockVolume(std::intptr_t handle, Claim& claim);
    bool TakeDrive(std::intptr_t handle, Claim& claim);
    void GiveBack(std::intptr_t handle, Claim& claim);

    std::unique_ptr<SptiSystem> m_system;
    std::vector<std::string> m_drives;
    // Opened once, on the first command of any thread (m_handlesOpened).
    std::array<std::intptr_t, 26> m_handles;
    std::once_flag m_handlesOpened;
    // Each letter's entry under that drive's command lock.
    std::array<Claim, 26> m_claims{};
    // The control codes, computed from device type, access, function and method.
    std::uint32_t m_passThroughCode = 0, m_addressCode = 0;
    DriveStates m_states;
};
