#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "EmuCommand.h"
#include "EmuDriveState.h"

class EmuDataFile;

// One virtual recorder kept in a folder: its tray, the medium in it, the
// drive's settings (Write Parameters page, speeds), its faults, and the
// medium's recorded blocks in a sparse data file beside a small metadata file.
// The transport clsEmulatedDrive answers MMC commands with it; tests and
// `maple-cli virtual` use the methods below directly.
//
// Functions returning std::string return an empty text on success and a
// one-line reason on failure.
class EmuDrive {
  public:
    // Makes `folder` a drive folder: tray closed, no medium. Creates the folder
    // when needed; fails when it already holds a virtual drive.
    static std::string CreateFolder(const std::string& folder);
    // Opens the drive kept in `folder`. On failure returns nullptr and sets
    // `error` ("DIR/drive.meta line 4: ..."); the data file is never touched then.
    static std::unique_ptr<EmuDrive> Open(const std::string& folder, std::string& error);
    // A drive without a folder: tray closed, no medium, the medium in memory,
    // nothing saved (for the fuzzer).
    static std::unique_ptr<EmuDrive> InMemory();

    ~EmuDrive();
    EmuDrive(const EmuDrive&) = delete;
    EmuDrive& operator=(const EmuDrive&) = delete;

    const std::string& Folder() const { return m_folder; }

    // Puts a blank medium of `kind` into the drive (tray closed, ready).
    // Recordable kinds only; replaces any medium that was in.
    std::string InsertBlank(MediumKind kind);
    // Puts a finished disc holding the image as one closed data track into the
    // drive: cd-rom and dvd-rom, or a recordable kind (disc complete). The
    // image length must be a multiple of 2048 and fit the medium.
    std::string InsertImage(MediumKind kind, const std::string& imagePath);
    // Takes the medium out: tray open and empty.
    std::string RemoveMedium();
    // Opens or closes the tray; the medium stays in it. Unlike START STOP UNIT
    // this raises no unit attention (the test stands in for the user).
    void SetTrayOpen(bool open);
    bool TrayOpen() const { return m_state.trayOpen; }

    // The medium (kind None when the drive is empty).
    const EmuMedia& Media() const { return m_state.media; }
    // Faults to inject; persisted with the folder by Save().
    EmuFaults& Faults() { return m_state.faults; }
    const EmuFaults& Faults() const { return m_state.faults; }

    // Current write and read speed in kB/s (page 2Ah bytes 28-29 / 14-15).
    std::uint16_t CurrentWriteSpeed() const { return m_state.writeSpeed; }
    std::uint16_t CurrentReadSpeed() const { return m_state.readSpeed; }
    // The current Write Parameters page (page bytes 0-51).
    const std::array<std::uint8_t, 52>& WriteParameters() const { return m_state.writePage; }

    // User data of a recorded track: length x 2048 bytes (data) or length x
    // 2352 bytes of CD-DA PCM (audio, little-endian, left then right).
    // Returns false for a track that does not exist.
    bool ReadTrack(int trackNumber, std::vector<std::uint8_t>& bytes) const;
    // Writes each recorded track into `outFolder` in track order: data tracks
    // as "track01.iso", audio tracks as "track02.wav" (CD-DA WAV). `written`
    // receives the file paths when not null.
    std::string ExportTracks(const std::string& outFolder,
                             std::vector<std::string>* written = nullptr) const;
    // Several lines for `maple-cli virtual show`: tray, medium, state, sessions,
    // and each track with its session, mode, start and length.
    std::string Describe() const;

    // Writes the metadata file now (the drive also saves after every command
    // that changes the disc's layout, except WRITE(10) itself, and when it is
    // destroyed, unless another program changed the file since). A drive in
    // memory has nothing to save.
    std::string Save();

    // Answers one command. The commands a program polls the drive with
    // (TEST UNIT READY, GET EVENT STATUS NOTIFICATION) and START STOP UNIT
    // first take a disc that another program (`maple-cli virtual insert` or
    // `eject`) put into the folder meanwhile, as a disc the user changed. Then
    // the common gates (CDB length, injected busy and
    // not-ready, unit attention, no medium, scripted failures), then the
    // opcode's handler. Used by clsEmulatedDrive.
    EmuOutcome Execute(const EmuCommand& command);

  private:
    EmuDrive(std::string folder, std::unique_ptr<EmuDataFile> data, bool trayOpen, EmuMedia media,
             EmuFaults faults);
    void FollowFolder();

    std::string m_folder;
    std::unique_ptr<EmuDataFile> m_data;
    EmuDriveState m_state;
    std::string m_metadataText;  // the metadata file as this drive last read or wrote it
};
