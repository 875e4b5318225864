#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "CopyTexts.h"
#include "SpeedList.h"

class DriveClaim;
class EngineReporter;
class SectorSink;

// What the disc copy window asks for.
struct CopyOptions {
    bool imageOnly = false;  // keep the image in a file the user names; no recording
    bool badCopy = false;    // an unreadable sector is zero-filled instead of ending the copy
    SpeedEntry readSpeed = DefaultSpeedEntry();
    // Sectors per READ(10): 32 (64 KiB) spares a real drive the cost of many
    // small commands; 1 reads sector by sector (the benchmark compares both).
    int sectorsPerRead = 32;
};

// How the Next button ended.
enum class CopyOutcome {
    Refused,        // the drive was not ready or held by another program, had no
                    // disc, or no file was chosen
    Failed,         // the copy failed (its message was shown)
    ImageSaved,     // image only: the image file is complete
    ReadyToRecord,  // the temporary image is complete, "TempISO"/"CDorDVD" are
                    // saved and a blank disc was asked for: record it (task 3)
    Cancelled,      // the user stopped the reading; no image was kept
};

// Copies a disc into an image file, and hands the image over to the
// recording of task 3 (or keeps it as a file the user names). What is read is
// the disc's CopyExtent; a disc of several sessions is copied as its last
// session shows it (a new image of that session's files, read from the disc).
// Reads 32 sectors per command; a range where that fails is read again
// sector by sector, so the image is the same as a sector-by-sector copy
// gives. A sector is tried again (62 attempts, 100 ms apart) only while the
// drive says it may still read it (a medium or hardware error, becoming
// ready, an operation in progress, BUSY); a sector it cannot read is an end
// of the copy, or with BadCopy zeros that are counted. No medium, a changed
// medium, a refused command (05/xx: beyond the end, an audio track) or a
// transport failure end the copy at once, BadCopy or not, and a copy that
// read no sector at all fails: no image is kept then. Holds the
// program-wide drive-busy flag and the drive (a DriveClaim) while it runs. A
// cancel request stops the reading at the next command and removes the
// partial image.
class DiscCopier {
  public:
    DiscCopier(EngineReporter& reporter, CopyOptions options);

    // The Next button. `chooseImagePath` is asked for the file of an
    // image-only copy and returns an empty text when the user cancels.
    CopyOutcome Next(const std::string& drive, const std::function<std::string()>& chooseImagePath);
    // Reads every sector of the disc into `imagePath`. Returns false (the
    // copy failed or was cancelled) after showing why; then no image is left.
    bool CopyDiscToImage(const std::string& drive, const std::string& imagePath);
    // A copy straight onto another drive (DriveToDriveCopy), in three steps:
    // the drive checks of Next (`claim` holds the drive); the sectors to
    // read, 0 after a message when the disc cannot be copied so (a disc of
    // several sessions is copied through an image); then reading them into
    // `sink`, false after showing why. A CD's run-out is not read: the
    // recording makes its own.
    bool CheckSource(const std::string& drive, const DriveClaim& claim);
    std::int64_t StreamSectors(const std::string& drive);
    bool ReadToSink(const std::string& drive, SectorSink& sink);
    // Whether the last copy ended on the user's request.
    bool Cancelled() const { return m_cancelled; }

    // Whether the source was a DVD or a Blu-ray disc (known after Next's drive check).
    bool SourceIsDvd() const { return m_sourceIsDvd; }
    // Sectors of the last copy that could not be read and were zero-filled.
    std::int64_t SkippedSectors() const { return m_skipped; }
    // Sectors in the image of the last copy.
    std::int64_t SectorCount() const { return m_sectors; }
    // True when the last copy took the whole formatted medium (it holds no
    // ISO 9660 volume; see CopyExtent).
    bool WholeMedium() const { return m_wholeMedium; }
    // What the last finished copy holds: the zero-filled sectors, and the
    // whole medium when it was taken (one line each).
    std::string Summary() const;

  private:
    bool HoldsDrive(const DriveClaim& claim);
    CopyOutcome CopyImageOnly(const std::string& drive, const std::string& path);
    CopyOutcome CopyToDisc(const std::string& drive);
    void SetReadSpeed(const std::string& drive, MediaFamily family);
    bool FindExtent(const std::string& drive, bool cd);
    bool CopyLastSession(const std::string& drive, const std::string& imagePath,
                         std::int64_t sessionStart);
    std::int64_t ReadNext(const std::string& drive, std::int64_t lba, std::int32_t& status);
    std::int64_t ReadRunOut(const std::string& drive, std::int64_t lba);
    std::int32_t ReadSector(const std::string& drive, std::uint32_t lba, int attempts);
    bool PrepareReading(const std::string& drive);
    bool ReadSectors(const std::string& drive, SectorSink& image);
    bool Append(SectorSink& image, std::int64_t sectors);
    bool Stop(const std::string& drive, SectorSink& image);
    void ReadFailed(std::int64_t lba, std::int32_t status);
    void CreateFailed(const std::string& path, const std::string& reason);
    void Warn(const std::string& text, CopyText title);

    EngineReporter& m_reporter;
    CopyOptions m_options;
    bool m_sourceIsDvd = false;
    bool m_cancelled = false;
    bool m_wholeMedium = false;
    std::int64_t m_skipped = 0;
    std::int64_t m_sectors = 0;          // read with the rules above
    std::int64_t m_runOutTail = 0;       // then these, left out when unreadable
    std::int64_t m_lastSession = -1;     // several sessions: where the last one starts
    std::int64_t m_singleUntil = 0;      // sectors below are read one by one
    std::vector<std::uint8_t> m_buffer;  // one READ(10) of sectorsPerRead sectors
};
