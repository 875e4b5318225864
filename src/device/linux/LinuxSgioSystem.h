#pragma once

#include <string>

#include "SgioSystem.h"

// The real kernel: sysfs for the drive list, open/ioctl on the device nodes.
class LinuxSgioSystem final : public SgioSystem {
  public:
    // `sysfsBlock` is where block devices are listed (tests point it elsewhere).
    explicit LinuxSgioSystem(std::string sysfsBlock = "/sys/class/block",
                             std::string procCdromInfo = "/proc/sys/dev/cdrom/info");

    std::vector<std::string> ListOpticalDrives() override;
    int Open(const std::string& path, bool writable, int& error) override;
    int OpenExclusive(const std::string& path, int& error) override;
    void Close(int fd) override;
    int SendSgIo(int fd, sg_io_hdr_t& header, int& error) override;
    bool QueryAddress(int fd, ScsiAddress& address) override;
    bool LastMediaChange(int fd, std::int64_t& milliseconds) override;

  private:
    std::string m_sysfsBlock;
    std::string m_procCdromInfo;
};
