#pragma once

#include <cstdint>
#include <string>

class BlockHashes;
class EngineReporter;
enum class WriteOutcome;

// How the writing of one audio track ended.
enum class TrackWriteOutcome {
    Written,     // every block of the track was accepted
    ReadFailed,  // the track file could not be read (nothing more was sent)
    GaveUp,      // a block kept failing for every attempt (LastStatus tells why)
    WriteError,  // the drive reported a write error (sense 3/0Ch)
    OtherFailure,
    Cancelled,  // the reporter asked to stop; SectorsWritten() tells how far it got
};

// Sends the sound of one CD-DA WAV file to the drive as WRITE(10) commands
// of 8 raw 2352-byte sectors (18,816 bytes) from the track's next writable
// address, with the busy-retry rule of every write. The last block is padded
// with silence; no block is sent that holds no sound of the file. Reports
// the percentage and the elapsed time after each block, and asks the
// reporter before each block whether to stop.
class AudioTrackWriter {
  public:
    static constexpr std::int32_t kSectorBytes = 2352;
    static constexpr std::uint16_t kBlockSectors = 8;
    static constexpr std::int32_t kBlockBytes = kSectorBytes * kBlockSectors;  // 18,816

    // `hashes` (optional) notes every sector sent, for a verification.
    explicit AudioTrackWriter(EngineReporter& reporter, BlockHashes* hashes = nullptr)
        : m_reporter(reporter), m_hashes(hashes) {}

    // Writes the first `dataBytes` bytes of the data chunk of `path` (a CD-DA
    // WAV file, as long as it was when checked) from LBA `start`; a data chunk
    // shorter than that is a ReadFailed.
    [[nodiscard]] TrackWriteOutcome Write(const std::string& drive, const std::string& path,
                                          std::uint32_t start, std::int64_t dataBytes);
    // Sectors written by the last Write.
    std::int64_t SectorsWritten() const { return m_sectors; }
    // Status of the last WRITE(10) sent: with the transport's sense it tells
    // what a GaveUp was (see FailureText).
    std::int32_t LastStatus() const { return m_status; }

    // The track outcome of a write's outcome.
    static TrackWriteOutcome OutcomeOf(WriteOutcome outcome);
    // The percentage of `done` of `sectors` (bar and label) and the elapsed time.
    static void ShowProgress(EngineReporter& reporter, std::int64_t done, std::int64_t sectors,
                             const std::string& elapsed);

  private:
    EngineReporter& m_reporter;
    BlockHashes* m_hashes;
    std::int64_t m_sectors = 0;
    std::int32_t m_status = 0;
};
