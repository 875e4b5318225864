#pragma once

#include <cstdint>
#include <string>

// The transport interface: every SCSI command of the program passes through
// one object of this kind, which also owns the table of drives it found and
// keeps the sense data of the last command.
//
// Operations are in their fixed slot order. `drive` is an opaque device
// identifier obtained from DriveHandle and handed back unchanged.
class clsSCSI {
  public:
    virtual ~clsSCSI() = default;

    // Short name of the transport ("SG_IO", "SPTI", "ASPI", "Virtual").
    virtual std::string Interface() const = 0;
    // Sense fields of the last command that reached the service: 0 after GOOD status.
    virtual std::uint8_t LastASCQ() const = 0;
    virtual std::uint8_t LastASC() const = 0;
    virtual std::uint8_t LastSK() const = 0;
    // True when the transport's service answered.
    virtual bool Initialized() = 0;
    // True when the transport's service is present and has a usable drive.
    virtual bool Installed() = 0;
    // Number of entries in the drive table.
    virtual std::int16_t DriveCount() const = 0;
    // Printable name of the drive for labels ("/dev/sr0" on Linux); empty when unknown.
    virtual std::string DriveChar(const std::string& drive) = 0;
    // Device identifier at the 1-based table index; empty outside 1..DriveCount.
    virtual std::string DriveHandle(std::int16_t index) const = 0;
    // SCSI address of the drive; 0 when it cannot be found.
    virtual std::uint8_t HostAdapter(const std::string& drive) = 0;
    virtual std::uint8_t TargetID(const std::string& drive) = 0;
    virtual std::uint8_t LUN(const std::string& drive) = 0;
    // Sends one command. `direction` 0: data from the device or none, otherwise
    // data to the device. `timeout` in seconds; 0 asks for no practical limit
    // and the transport may write the limit it chose back.
    // Returns 0 (GOOD), the SCSI status byte (2 CHECK CONDITION, 8 BUSY ...),
    // 24 when the drive could not be opened, or 255 when the service failed.
    virtual std::int32_t ExecCMD(const std::string& drive, const std::uint8_t* cdb,
                                 std::uint8_t cdbLen, std::int32_t direction, void* buffer,
                                 std::int32_t bufferLen, std::int32_t& timeout) = 0;
};
