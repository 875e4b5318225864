#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "EmuCommand.h"
#include "EmuDriveState.h"

class EmuDataFile;
class EmuFolderLock;

// One virtual recorder kept in a folder: its tray, the medium in it, the
// drive's settings (Write Parameters page, speeds), its faults, and the
// medium's recorded blocks in a sparse data file beside a small metadata file.
// The transport clsEmulatedDrive answers MMC commands with it; tests and
// `maple-cli virtual` use the methods below directly.
//
// Several processes may use one folder at once (see EmuFolderLock): each
// command re-reads the state another process left and saves its own change
// at once; an operation (Claim) holds the folder for itself, and meanwhile
// other processes may only ask (their commands that would change the drive
// answer 02/04/07). A state is written back only when nobody changed the
// folder since it was read: never a stale copy.
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

    // What may be replaced by a disc put in.
    enum class Replacing { AnyDisc, OnlyDiscWithoutData };
    // How the refusal to replace a disc holding data begins.
    static constexpr const char* kHoldsData = "the disc in the drive holds data";

    // Puts a blank medium of `kind` into the drive (tray closed, ready).
    // Recordable kinds only; replaces the medium that was in, unless it holds
    // data and `replacing` says only a disc without data may go. A BD-RE
    // comes unformatted, as sold; `unformatted` asks the same of a DVD+RW
    // (other kinds refuse it). An operation (see Claim), like the two below.
    std::string InsertBlank(MediumKind kind, Replacing replacing = Replacing::AnyDisc,
                            bool unformatted = false);
    // Puts a finished disc holding the image as one closed data track into the
    // drive: cd-rom and dvd-rom, or a recordable kind (disc complete). The
    // image length must be a multiple of 2048 and fit the medium.
    std::string InsertImage(MediumKind kind, const std::string& imagePath,
                            Replacing replacing = Replacing::AnyDisc);
    // Takes the medium out: tray open and empty.
    std::string RemoveMedium();

    // Holds the folder for one operation of this process (a recording,
    // erase or copy): another process's Claim fails with
    // ExclusiveAccess::kInUse meanwhile. Re-reads the state first. Claims nest.
    std::string Claim();
    // Gives back one claim; the last one saves the state and frees the folder.
    void Release();
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
    // as "track01.iso", audio tracks as "track02.wav" (CD-DA WAV, up to the
    // next audio track's index 1: its pause goes with the track before), and
    // for a disc starting with audio "disc.cue", a cue sheet of the files
    // with INDEX 00 where a pause starts and INDEX 01 where a track does. `written`
    // receives the file paths when not null. Unless `overwrite`, nothing is
    // written when one of the files exists already.
    std::string ExportTracks(const std::string& outFolder,
                             std::vector<std::string>* written = nullptr,
                             bool overwrite = false) const;
    // Several lines for `maple-cli virtual show`: tray, medium, state, sessions,
    // and each track with its session, mode, start, length and run-out.
    std::string Describe() const;

    // Writes the metadata file now. The drive saves by itself after every
    // command that changes its state (while claimed: every layout change but
    // WRITE(10)'s, and at the last Release), and when it is destroyed. A drive in memory has
    // nothing to save.
    std::string Save();

    // Answers one command. Unless the drive is claimed, it first takes the
    // state another program (`maple-cli virtual insert` or `eject`) saved in
    // the folder meanwhile (a new disc as one the user changed), then the
    // common gates (CDB length, injected busy and not-ready, unit attention,
    // no medium, scripted failures), then the opcode's handler. Used by
    // clsEmulatedDrive.
    EmuOutcome Execute(const EmuCommand& command);

  private:
    struct Opened;
    // A Claim for the object's lifetime; `problem` says why there is none.
    struct Operation {
        explicit Operation(EmuDrive& drive) : drive(drive), problem(drive.Claim()) {}
        ~Operation() {
            if (problem.empty()) drive.Release();
        }
        EmuDrive& drive;
        const std::string problem;
    };

    explicit EmuDrive(Opened opened);

    // The gates and the handler of one command, without saving.
    EmuOutcome Answer(const EmuCommand& command);
    // A command while another process holds the folder: asked of the state
    // that process saved last, never saved.
    EmuOutcome Observe(const EmuCommand& command);
    // Takes the state in the metadata file when another process changed it.
    void Refresh();
    std::string FormatState() const;
    std::string SaveIfChanged();
    // Takes back a change that could not be saved: the drive is again what
    // its folder says.
    void RestoreSaved();
    // A command's answer once its change is saved: `outcome`, or 04/44/00
    // (the change taken back) when the state file cannot be written.
    EmuOutcome Saved(EmuOutcome outcome, const std::string& saveProblem);
    // The reason not to replace the medium, or empty.
    std::string ReplacementProblem(Replacing replacing) const;

    std::string m_folder;
    std::unique_ptr<EmuDataFile> m_data;
    std::unique_ptr<EmuFolderLock> m_lock;
    EmuDriveState m_state;
    std::string m_savedText;      // the metadata file as this drive last read or wrote it
    std::int64_t m_inserted = 0;  // discs put in (EmuMetadata::inserted)
    int m_claims = 0;
};
