#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "TestEnvironment.h"
#include "clsEmulatedDrive.h"

// A virtual drive in a temp folder for tests, with CDB-level helpers that
// send commands exactly as bytes, the way the program's command layer does.
class VirtualDriveBench {
  public:
    // Creates a drive folder; `kind` None leaves the tray closed and empty.
    explicit VirtualDriveBench(MediumKind kind = MediumKind::None);
    // Takes the drive out of the program-wide slot if it was put there.
    ~VirtualDriveBench();
    VirtualDriveBench(const VirtualDriveBench&) = delete;
    VirtualDriveBench& operator=(const VirtualDriveBench&) = delete;

    clsEmulatedDrive& Transport() { return *m_drive; }
    EmuDrive& Drive() { return m_drive->Drive(0); }
    // Puts the transport into the program-wide slot (for the command operations).
    void InstallInSlot();
    const std::string& Folder() const { return m_folder; }
    std::string Path(const std::string& name) const { return m_temp.File(name); }
    // Closes the transport (saving the folder) and opens the folder again,
    // after replacing its metadata file with `metadata` when one is given.
    void Reopen(const std::string& metadata = "");

    // Sends a CDB (its length is the list's) with an optional buffer.
    std::int32_t Exec(std::initializer_list<std::uint8_t> cdb,
                      std::vector<std::uint8_t>* data = nullptr, bool dataOut = false);
    // Sense of the last command as "KK/AA/QQ" in hex.
    std::string Sense() const;

    // Data-in commands: the reply (of `length` bytes), empty on failure.
    std::vector<std::uint8_t> DiscInformation();
    std::vector<std::uint8_t> TrackInformation(std::uint8_t addressType, std::uint32_t number);
    std::vector<std::uint8_t> ModeSense(std::uint8_t pageByte, std::uint16_t length = 512,
                                        std::uint8_t byte1 = 0);
    std::uint16_t CurrentProfile();
    // READ CAPACITY last LBA, or -1 on failure.
    std::int64_t ReadCapacity();

    // Sets Write Parameters the way the recorders do (write type, track mode,
    // data block type, test write, multi-session, audio pause length).
    std::int32_t SetWriteParameters(std::uint8_t writeType, std::uint8_t trackMode,
                                    std::uint8_t dataBlockType, bool testWrite,
                                    std::uint8_t multiSession, std::uint16_t pause = 150);
    std::int32_t Write10(std::uint32_t lba, std::uint16_t blocks,
                         const std::vector<std::uint8_t>& data);
    std::int32_t Read10(std::uint32_t lba, std::uint16_t blocks, std::vector<std::uint8_t>& data);
    std::int32_t SynchronizeCache();
    std::int32_t CloseTrackSession(std::uint8_t function, std::uint16_t track);
    std::int32_t SetCdSpeed(std::uint16_t read, std::uint16_t write, std::uint8_t rotation = 0);

    // Writes `blocks` of a data track (2048 bytes each, byte = LBA low byte +
    // `seed`) from `lba` in chunks of 16 blocks; returns the first failing status.
    std::int32_t WriteDataTrack(std::uint32_t lba, std::uint32_t blocks, std::uint8_t seed = 0);

  private:
    TempFolder m_temp;
    std::string m_folder;
    std::unique_ptr<clsEmulatedDrive> m_owned;
    clsEmulatedDrive* m_drive = nullptr;
    bool m_inSlot = false;
};

// Big-endian fields of a reply.
std::uint32_t Be16(const std::vector<std::uint8_t>& bytes, std::size_t at);
std::uint32_t Be32(const std::vector<std::uint8_t>& bytes, std::size_t at);
