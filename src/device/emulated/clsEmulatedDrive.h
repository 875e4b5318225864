#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "DriveStates.h"
#include "EmuDrive.h"
#include "EmuLogEntry.h"
#include "ExclusiveAccess.h"
#include "clsSCSI.h"

// The virtual drive transport: answers MMC commands at the CDB level from one
// or more virtual recorders kept in folders (EmuDrive), as a real drive would.
// Device identifiers are "virtual0", "virtual1" ... in folder order. A
// claimed drive holds its folder for this process (EmuDrive::Claim).
class clsEmulatedDrive final : public clsSCSI, public ExclusiveAccess {
  public:
    // Opens the drive folders in order. A folder that cannot be opened is left
    // out of the drive table and named in OpenProblem().
    explicit clsEmulatedDrive(const std::vector<std::string>& folders);
    // One drive made elsewhere ("virtual0"), such as EmuDrive::InMemory().
    explicit clsEmulatedDrive(std::unique_ptr<EmuDrive> drive);
    // Saves every drive's state into its folder.
    ~clsEmulatedDrive() override;

    std::string Interface() const override { return "Virtual"; }
    std::uint8_t LastASCQ() const override { return m_states.LastSense().ascq; }
    std::uint8_t LastASC() const override { return m_states.LastSense().asc; }
    std::uint8_t LastSK() const override { return m_states.LastSense().key; }
    bool Initialized() override { return true; }
    // True when at least one drive folder was opened.
    bool Installed() override { return !m_drives.empty(); }
    std::int16_t DriveCount() const override;
    // The identifier itself ("virtual0"); empty for an unknown one.
    std::string DriveChar(const std::string& drive) override;
    std::string DriveHandle(std::int16_t index) const override;
    std::uint8_t HostAdapter(const std::string& drive) override;
    // The drive's position in the table (0, 1 ...); 0 for an unknown one.
    std::uint8_t TargetID(const std::string& drive) override;
    std::uint8_t LUN(const std::string& drive) override;
    // Status 0 GOOD, 2 CHECK CONDITION (sense in LastSK/ASC/ASCQ), 8 BUSY
    // (injected), 24 for an unknown identifier. Never reads or writes outside
    // the first `cdbLen` CDB bytes and the first `bufferLen` buffer bytes.
    std::int32_t ExecCMD(const std::string& drive, const std::uint8_t* cdb, std::uint8_t cdbLen,
                         std::int32_t direction, void* buffer, std::int32_t bufferLen,
                         std::int32_t& timeout) override;

    std::string ClaimDrive(const std::string& drive) override;
    void ReleaseDrive(const std::string& drive) override;

    // Why folders could not be opened ("DIR: ..."; one line each), empty when all opened.
    std::string OpenProblem() const { return m_problem; }

    // The drive at 0-based table position `index` (index < DriveCount()).
    EmuDrive& Drive(std::size_t index) { return *m_drives.at(index); }
    // The drive of a device identifier, or nullptr.
    EmuDrive* DriveById(const std::string& drive);

    // Every command answered, oldest first (at most CommandLogLimit() entries;
    // older ones are dropped). Read it while no command runs.
    const std::deque<EmuLogEntry>& CommandLog() const { return m_log; }
    // The opcodes of the log, oldest first, for sequence assertions.
    std::vector<std::uint8_t> LoggedOpcodes() const;
    void ClearCommandLog() {
        const std::lock_guard<std::mutex> lock(m_logMutex);
        m_log.clear();
    }
    // 0 turns the log off (the default limit is 200000 entries).
    void SetCommandLogLimit(std::size_t entries);
    std::size_t CommandLogLimit() const { return m_logLimit; }

  private:
    int IndexOf(const std::string& drive) const;
    void Log(EmuLogEntry entry);

    // Fixed once made; each EmuDrive is used under its drive's command lock.
    std::vector<std::unique_ptr<EmuDrive>> m_drives;
    std::string m_problem;
    DriveStates m_states;
    // The log of every drive's commands, under m_logMutex.
    std::deque<EmuLogEntry> m_log;
    std::size_t m_logLimit = 200000;
    std::mutex m_logMutex;
};
