#pragma once

#include <memory>
#include <string>
#include <vector>

#include "DriveStates.h"
#include "ExclusiveAccess.h"
#include "MediaChanges.h"
#include "SgioSystem.h"
#include "clsSCSI.h"

// The pass-through transport of Linux: one SG_IO request per command on the
// optical drives' block nodes (/dev/srN). The device identifier is the node.
// A claimed drive is held by a second descriptor opened with O_EXCL. The sr
// driver's own mark of medium changes is read with CDROM_TIMED_MEDIA_CHANGE.
class clsSGIO final : public clsSCSI, public ExclusiveAccess, public SystemMediaChanges {
  public:
    // Lists the drives and opens each once; handles stay open for the object's life.
    explicit clsSGIO(std::unique_ptr<SgioSystem> system);
    clsSGIO();
    ~clsSGIO() override;

    std::string Interface() const override { return "SG_IO"; }
    std::uint8_t LastASCQ() const override { return m_states.LastSense().ascq; }
    std::uint8_t LastASC() const override { return m_states.LastSense().asc; }
    std::uint8_t LastSK() const override { return m_states.LastSense().key; }
    bool Initialized() override { return true; }
    bool Installed() override;
    std::int16_t DriveCount() const override;
    std::string DriveChar(const std::string& drive) override { return drive; }
    std::string DriveHandle(std::int16_t index) const override;
    std::uint8_t HostAdapter(const std::string& drive) override;
    std::uint8_t TargetID(const std::string& drive) override;
    std::uint8_t LUN(const std::string& drive) override;
    std::int32_t ExecCMD(const std::string& drive, const std::uint8_t* cdb, std::uint8_t cdbLen,
                         std::int32_t direction, void* buffer, std::int32_t bufferLen,
                         std::int32_t& timeout) override;

    // Why drives could not be opened ("/dev/sr0: Permission denied ..."), empty when all opened.
    std::string OpenProblem() const;

    std::string ClaimDrive(const std::string& drive) override;
    void ReleaseDrive(const std::string& drive) override;

    std::optional<std::int64_t> LastMediaChange(const std::string& drive) override;

  private:
    struct Drive {
        std::string node;
        int fd = -1;
        int openError = 0;
        int exclusiveFd = -1;  // held while claimed
        int claims = 0;
    };

    int HandleOf(const std::string& drive) const;
    Drive* Find(const std::string& drive);
    bool Address(const std::string& drive, ScsiAddress& address);

    std::unique_ptr<SgioSystem> m_system;
    std::vector<Drive> m_drives;  // fixed once made; a drive's claims under its command lock
    DriveStates m_states;
};
