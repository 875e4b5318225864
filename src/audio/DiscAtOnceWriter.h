#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "AudioTrackWriter.h"
#include "CdTextPacks.h"

class BlockHashes;
class DiscAtOnceLayout;
class DiscAtOnceStream;
class EngineReporter;

// Sends a Disc-At-Once audio CD after its cue sheet: the first track's
// pre-gap (silence) from LBA -150, then the sound of every track as one
// stream with the pauses as silence between, exactly to the lead-out, in
// WRITE(10) commands of up to 8 sectors (none crosses LBA 0) with the
// busy-retry rule of every write. Reports the percentage of the whole disc
// and the elapsed time after each write, asks before each write whether to
// stop, and tells when the first sector of each track goes out.
class DiscAtOnceWriter {
  public:
    // `hashes` (optional) notes every sector sent from LBA 0 on, for a verification.
    DiscAtOnceWriter(EngineReporter& reporter, BlockHashes* hashes = nullptr)
        : m_reporter(reporter), m_hashes(hashes) {}

    // CD-TEXT for the lead-in: `packs` repeated in cycles as R-W sub-channel
    // data (96 bytes a block) from `start`, the ATIP's lead-in start, up to
    // LBA -150, before the first pre-gap.
    void SetLeadInText(std::vector<CdTextPacks::Pack> packs, std::int64_t start) {
        m_leadInPacks = std::move(packs);
        m_leadInStart = start;
    }
    // Receives the 1-based number of each track as its index 1 is written.
    void SetTrackHandler(std::function<void(int)> handler) { m_trackStarted = std::move(handler); }

    // Writes the tracks of `layout` from `files` (the CD-DA WAV file of each
    // track, their data chunks at least as long as the layout says).
    [[nodiscard]] TrackWriteOutcome Write(const std::string& drive,
                                          const std::vector<std::string>& files,
                                          const DiscAtOnceLayout& layout);
    // Writes the tracks of `layout` from `stream` (a cue sheet's pieces).
    [[nodiscard]] TrackWriteOutcome Write(const std::string& drive, DiscAtOnceStream& stream,
                                          const DiscAtOnceLayout& layout);
    // The track (1-based) that was being written when Write ended.
    int Track() const { return m_track; }
    // Sectors accepted by the drive, pre-gap included (the lead-in not).
    std::int64_t SectorsWritten() const { return m_sectors; }
    // True when the drive accepted any write, the lead-in's included.
    bool DiscTouched() const { return m_sectors > 0 || m_leadInWritten; }
    // Status of the last WRITE(10) sent (see AudioTrackWriter::LastStatus).
    std::int32_t LastStatus() const { return m_status; }

  private:
    TrackWriteOutcome WriteLeadIn(const std::string& drive);

    EngineReporter& m_reporter;
    std::vector<CdTextPacks::Pack> m_leadInPacks;
    std::int64_t m_leadInStart = 0;
    bool m_leadInWritten = false;
    BlockHashes* m_hashes;
    std::function<void(int)> m_trackStarted;
    int m_track = 1;
    std::int64_t m_sectors = 0;
    std::int32_t m_status = 0;
};
