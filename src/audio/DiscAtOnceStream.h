#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

class DiscAtOnceLayout;

// The bytes a Disc-At-Once audio CD sends, in order: the first pre-gap's
// silence, then each track's pause (silence) and the data chunk of its
// CD-DA WAV file, then zeros up to the end of the last sector.
class DiscAtOnceStream {
  public:
    DiscAtOnceStream(const std::vector<std::string>& files, const DiscAtOnceLayout& layout);

    // Fills `out` with the next `bytes` bytes; false when a file cannot be
    // read (or its data chunk is shorter than laid out).
    [[nodiscard]] bool Read(char* out, std::int64_t bytes);

  private:
    struct Piece {
        std::string path;  // empty: silence
        std::int64_t bytes = 0;
    };
    bool OpenPiece();

    std::vector<Piece> m_pieces;
    std::size_t m_piece = 0;
    std::int64_t m_left = 0;  // bytes left in the current piece
    bool m_open = false;      // the current piece is under way
    std::ifstream m_file;
};
