#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "DriveStates.h"
#include "SptiSystem.h"
#include "clsCDECL.h"
#include "clsSCSI.h"

// The ASPI transport: commands go to an ASPI layer (WNASPI32.DLL) loaded at
// run time and called through clsCDECL. A device identifier is three
// characters whose codes are host adapter, target and LUN.
class clsASPI final : public clsSCSI {
  public:
    // Loads the layer and lists every CD-ROM device it reports. The system
    // calls find drive letters by SCSI address.
    explicit clsASPI(std::unique_ptr<SptiSystem> system = MakeWindowsSptiSystem(),
                     const std::string& library = "WNASPI32.DLL");
    ~clsASPI() override;
    clsASPI(const clsASPI&) = delete;
    clsASPI& operator=(const clsASPI&) = delete;

    std::string Interface() const override { return "ASPI"; }
    std::uint8_t LastASCQ() const override { return m_states.LastSense().ascq; }
    std::uint8_t LastASC() const override { return m_states.LastSense().asc; }
    std::uint8_t LastSK() const override { return m_states.LastSense().key; }
    // True when the layer reports itself ready.
    bool Initialized() override;
    // True when the layer was loaded.
    bool Installed() override { return m_loaded; }
    std::int16_t DriveCount() const override { return static_cast<std::int16_t>(m_drives.size()); }
    // The letter of the drive with the same SCSI address; empty when none.
    std::string DriveChar(const std::string& drive) override;
    std::string DriveHandle(std::int16_t index) const override;
    std::uint8_t HostAdapter(const std::string& drive) override { return Code(drive, 0); }
    std::uint8_t TargetID(const std::string& drive) override { return Code(drive, 1); }
    std::uint8_t LUN(const std::string& drive) override { return Code(drive, 2); }
    // The target's status when the layer completed the request; 255 when it
    // did not (error, or no answer within `timeout` seconds: the request is
    // then aborted and waited for, so the layer never writes into a
    // finished call).
    std::int32_t ExecCMD(const std::string& drive, const std::uint8_t* cdb, std::uint8_t cdbLen,
                         std::int32_t direction, void* buffer, std::int32_t bufferLen,
                         std::int32_t& timeout) override;

  private:
    static std::uint8_t Code(const std::string& drive, std::size_t at);
    // "SendASPI32Command" with the address of `request`; false when the
    // layer cannot be called.
    bool Send(void* request);
    std::uint32_t SupportInfo();
    // Waits until the layer has finished `request`; false when it did not
    // within `timeout` seconds (the request is aborted and waited for).
    bool WaitFor(std::uint8_t* request, void* event, std::int32_t timeout);
    void ScanDrives();

    std::unique_ptr<SptiSystem> m_system;
    clsCDECL m_bridge;  // keeps the function it called last: one call at a time (m_bridgeMutex)
    std::mutex m_bridgeMutex;
    bool m_loaded = false;
    std::vector<std::string> m_drives;
    DriveStates m_states;
};
