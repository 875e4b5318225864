#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

class DiscAtOnceLayout;

// The bytes a Disc-At-Once audio CD sends, in order: the first pre-gap's
// silence, then each track's pause (silence) and the data chunk of its
// CD-DA WAV file, then zeros up to the end of the last sector.
class DiscAtOnceStream {
  public:
    // A stretch of the stream: silence (no path) or bytes of a file.
    struct Piece {
        std::string path;  // empty: silence
        std::int64_t bytes = 0;
        std::int64_t offset = 0;  // from the start of the sound (a WAV file's data chunk)
        bool wave = true;         // a WAV file; else raw sound from the file's first byte
        bool swapped = false;     // big-endian samples, swapped as they are read
    };

    DiscAtOnceStream(const std::vector<std::string>& files, const DiscAtOnceLayout& layout);
    // The pieces in the order they are sent (a cue sheet's).
    explicit DiscAtOnceStream(std::vector<Piece> pieces) : m_pieces(std::move(pieces)) {}

    // Fills `out` with the next `bytes` bytes; false when a file cannot be
    // read (or its data chunk is shorter than laid out).
    [[nodiscard]] bool Read(char* out, std::int64_t bytes);

  private:
    bool OpenPiece();

    std::vector<Piece> m_pieces;
    std::size_t m_piece = 0;
    std::int64_t m_left = 0;  // bytes left in the current piece
    bool m_open = false;      // the current piece is under way
    std::ifstream m_file;
};
