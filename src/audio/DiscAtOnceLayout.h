#pragma once

#include <cstdint>
#include <utility>
#include <vector>

// Where the tracks of a Disc-At-Once audio CD lie. The sound of all tracks
// is one continuous stream from LBA 0 on, with each chosen pause inserted
// as silence before its track: a track's index 1 is the sector that holds
// its first sample (rounded down when that sample lies inside a sector, so
// the sector may start with the previous track's last samples), its index
// 0 lies its pause before that. Only the end of the last track is padded
// to a whole sector. The first track has the 2-second pre-gap before LBA 0.
class DiscAtOnceLayout {
  public:
    static constexpr std::int64_t kSectorBytes = 2352;
    static constexpr std::int64_t kFirstPreGap = 150;    // sectors: 2 s
    static constexpr std::int64_t kShortestTrack = 300;  // sectors: 4 s
    static constexpr std::int64_t kSectorsPerSecond = 75;

    struct Track {
        std::int64_t pauseStart = 0;        // index 0 (the first track: -150)
        std::int64_t start = 0;             // index 1
        std::int64_t end = 0;               // the next track's index 0, or the lead-out
        std::int64_t bytes = 0;             // CD-DA bytes of the track's file
        std::vector<std::int64_t> indexes;  // index 2, 3 ... (a cue sheet's)
        std::uint8_t control = 0;  // CTL bits: 01h pre-emphasis, 02h digital copy permitted
        std::int64_t Sectors() const { return end - start; }
    };

    // `dataBytes`: the CD-DA bytes of each track; `pauseSectors`: the pause
    // before each track (the first one's is the pre-gap and ignored).
    DiscAtOnceLayout(const std::vector<std::int64_t>& dataBytes,
                     const std::vector<std::int64_t>& pauseSectors);
    // Tracks laid out by the caller (a cue sheet's), the lead-out after them.
    DiscAtOnceLayout(std::vector<Track> tracks, std::int64_t leadOut)
        : m_tracks(std::move(tracks)), m_leadOut(leadOut) {}
    DiscAtOnceLayout() = default;

    const std::vector<Track>& Tracks() const { return m_tracks; }
    // The first LBA after the last track: where the drive writes the lead-out.
    std::int64_t LeadOut() const { return m_leadOut; }
    // Sectors the host sends, from the first pre-gap to the lead-out.
    std::int64_t SectorsSent() const { return kFirstPreGap + m_leadOut; }
    // The index of the first track shorter than 4 seconds, or -1.
    int FirstShortTrack() const;
    // Track number (1-based) and index (0 pause, 1 sound) the Q sub-channel
    // of `lba` should carry; {0, 0} outside the tracks.
    struct Position {
        int track = 0, index = 0;
        bool operator==(const Position&) const = default;
    };
    Position At(std::int64_t lba) const;

  private:
    std::vector<Track> m_tracks;
    std::int64_t m_leadOut = 0;
};
