#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "CueSheetReader.h"
#include "DiscAtOnceLayout.h"

// An audio cue sheet laid out as a Disc-At-Once CD, once the sound each of
// its files holds is known: where each track's index points lie on the
// disc, and the pieces of the one stream sent from LBA -150 (silence and
// stretches of the files). The files play one after the other, each padded
// with zeros to a whole sector; a track runs from its first index point to
// the next track's. Track 1's pre-gap is filled to 2 seconds with silence
// before its PREGAP and pre-gap sound; PREGAP and POSTGAP are silence.
// Refuses by line an index point beyond its file's end and a track shorter
// than 4 seconds.
class CueSheetDisc {
  public:
    static constexpr std::size_t kSilence = std::numeric_limits<std::size_t>::max();
    struct Piece {
        std::size_t file = kSilence;  // into the sheet's files, or silence
        std::int64_t offset = 0;      // bytes into the file's sound
        std::int64_t bytes = 0;
    };

    // `soundBytes`: the CD-DA bytes of each file of `sheet` (a WAVE file's
    // decoded sound, a BINARY or MOTOROLA file's length).
    CueSheetDisc(const CueSheet& sheet, const std::vector<std::int64_t>& soundBytes);

    const std::optional<CueSheetReader::Problem>& Problem() const { return m_problem; }
    const DiscAtOnceLayout& Layout() const { return m_layout; }
    const std::vector<Piece>& Pieces() const { return m_pieces; }

  private:
    void Silence(std::int64_t sectors);
    void Sound(std::int64_t from, std::int64_t to);
    bool Lay(const CueSheet& sheet, const std::vector<std::int64_t>& soundBytes,
             std::vector<DiscAtOnceLayout::Track>& tracks);

    std::vector<Piece> m_pieces;
    std::vector<std::int64_t> m_fileBytes, m_fileStarts;   // by file; starts in sectors
    std::int64_t m_lba = -DiscAtOnceLayout::kFirstPreGap;  // where the next piece goes
    DiscAtOnceLayout m_layout;
    std::optional<CueSheetReader::Problem> m_problem;
};
