#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "TestEnvironment.h"
#include "clsEmulatedDrive.h"

// Virtual drives in fresh folders, in the program-wide transport slot for the
// object's lifetime (tray closed, no medium); waits through the sleep seam are
// counted instead of slept, so retries and polls cost no time. A set-up that
// fails ends the run, so GoogleTest and QTest tests share the helper.
class VirtualDriveSession {
  public:
    explicit VirtualDriveSession(int drives = 1);
    ~VirtualDriveSession();
    VirtualDriveSession(const VirtualDriveSession&) = delete;
    VirtualDriveSession& operator=(const VirtualDriveSession&) = delete;

    clsEmulatedDrive& Transport() { return *m_transport; }
    EmuDrive& Drive(int index = 0) { return m_transport->Drive(static_cast<std::size_t>(index)); }
    // The device identifier the commands name ("virtual0").
    std::string Id(int index = 0) const { return "virtual" + std::to_string(index); }
    std::string Folder(int index = 0) const { return File("drive" + std::to_string(index)); }
    // A path in the session's folder (beside the drives' folders).
    std::string File(const std::string& name) const { return m_folder.File(name); }
    // Writes `bytes` to File(name) and returns that path.
    std::string Put(const std::string& name, const std::string& bytes) const;
    // Inserts `medium` blank, or with `blocks` > 0 as a finished disc of that
    // many blocks whose sector 16 starts like an ISO 9660 volume descriptor.
    void Insert(MediumKind medium, int blocks = 0, int index = 0);
    // Closes the transport (saving the folders) and opens them again, after
    // replacing drive 0's metadata with `metadata` when one is given.
    void Reopen(const std::string& metadata = "");

    // The waits requested, in milliseconds, in order; their number and sum.
    const std::vector<int>& Waits() const { return m_waits; }
    int Sleeps() const { return static_cast<int>(m_waits.size()); }
    long long SleptMs() const;

    // The opcodes the drives answered, in order, and how many of one kind.
    std::vector<std::uint8_t> Opcodes() const { return m_transport->LoggedOpcodes(); }
    std::size_t Count(std::uint8_t opcode) const;
    // CDB bytes of every command of `opcode`.
    std::vector<std::vector<std::uint8_t>> Cdbs(std::uint8_t opcode) const;
    // The WRITE(10) commands as (LBA, blocks), in order.
    std::vector<std::pair<std::uint32_t, std::uint16_t>> Writes() const;

    // Sends a CDB (its length is the list's) to drive 0 with an optional buffer,
    // byte for byte as the program's command layer does.
    std::int32_t Exec(std::initializer_list<std::uint8_t> cdb,
                      std::vector<std::uint8_t>* data = nullptr, bool dataOut = false);
    // Sense of the last command as "KK/AA/QQ" in hex.
    std::string Sense() const;
    // Data-in commands: the reply, empty on failure.
    std::vector<std::uint8_t> DiscInformation();
    std::vector<std::uint8_t> TrackInformation(std::uint8_t addressType, std::uint32_t number);
    std::vector<std::uint8_t> ModeSense(std::uint8_t pageByte, std::uint16_t length = 512,
                                        std::uint8_t byte1 = 0);
    std::uint16_t CurrentProfile();  // FFFFh on failure
    std::int64_t ReadCapacity();     // the last LBA, -1 on failure
    // Sets Write Parameters as the recorders do: read the defaults, change the
    // fields, send the list back with the header length and PS bit cleared.
    std::int32_t SetWriteParameters(std::uint8_t writeType, std::uint8_t trackMode,
                                    std::uint8_t dataBlockType, bool testWrite,
                                    std::uint8_t multiSession, std::uint16_t pause = 150);
    std::int32_t Write10(std::uint32_t lba, std::uint16_t blocks, std::vector<std::uint8_t> data);
    std::int32_t Read10(std::uint32_t lba, std::uint16_t blocks, std::vector<std::uint8_t>& data);
    std::int32_t SynchronizeCache() { return Exec({0x35, 0, 0, 0, 0, 0, 0, 0, 0, 0}); }
    std::int32_t CloseTrackSession(std::uint8_t function, std::uint16_t track);
    std::int32_t SetCdSpeed(std::uint16_t read, std::uint16_t write, std::uint8_t rotation = 0);
    // Writes `blocks` 2048-byte blocks (byte = LBA low byte + `seed`) from
    // `lba` in chunks of 16; returns the first failing status.
    std::int32_t WriteDataTrack(std::uint32_t lba, std::uint32_t blocks, std::uint8_t seed = 0);

  private:
    void Open();

    TempFolder m_folder;
    int m_drives;
    clsEmulatedDrive* m_transport = nullptr;
    std::vector<int> m_waits;
};

// Big-endian fields of a reply.
std::uint32_t Be16(const std::vector<std::uint8_t>& bytes, std::size_t at);
std::uint32_t Be32(const std::vector<std::uint8_t>& bytes, std::size_t at);
