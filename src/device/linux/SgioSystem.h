#pragma once

#include <scsi/sg.h>

#include <cstdint>
#include <string>
#include <vector>

// SCSI address of a device as the kernel reports it.
struct ScsiAddress {
    std::uint8_t host = 0;
    std::uint8_t channel = 0;
    std::uint8_t target = 0;
    std::uint8_t lun = 0;
};

// The operating system calls behind the SG_IO transport, so tests can replace
// the kernel with a script.
class SgioSystem {
  public:
    virtual ~SgioSystem() = default;
    // Device nodes of the optical drives, in a stable order (/dev/sr0, /dev/sr1 ... /dev/sr10).
    virtual std::vector<std::string> ListOpticalDrives() = 0;
    // Opens a node; returns the descriptor, or -1 with errno's value in `error`.
    virtual int Open(const std::string& path, bool writable, int& error) = 0;
    // Opens a node for reading and writing with O_EXCL, which fails with
    // EBUSY while another program holds it so (or a file system is mounted
    // from it); -1 with errno's value in `error`.
    virtual int OpenExclusive(const std::string& path, int& error) {
        return Open(path, true, error);
    }
    virtual void Close(int fd) = 0;
    // ioctl(SG_IO); returns the ioctl result, with errno's value in `error` on -1.
    virtual int SendSgIo(int fd, sg_io_hdr_t& header, int& error) = 0;
    // The device's SCSI address; false when the kernel does not tell.
    virtual bool QueryAddress(int fd, ScsiAddress& address) = 0;
    // The sr driver's time of the last medium change it saw (its polling
    // takes the drive's unit attentions and media events); false where the
    // kernel has no such call (before Linux 5.16) or the node is no CD-ROM.
    virtual bool LastMediaChange(int fd, std::int64_t& milliseconds) {
        (void)fd;
        (void)milliseconds;
        return false;
    }
};
