#include "DiscAtOnceStream.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "DiscAtOnceLayout.h"
#include "Utf8Path.h"
#include "WaveFileLayout.h"

DiscAtOnceStream::DiscAtOnceStream(const std::vector<std::string>& files,
                                   const DiscAtOnceLayout& layout) {
    constexpr std::int64_t kSector = DiscAtOnceLayout::kSectorBytes;
    const std::vector<DiscAtOnceLayout::Track>& tracks = layout.Tracks();
    for (std::size_t index = 0; index < tracks.size() && index < files.size(); ++index) {
        m_pieces.push_back({{}, (tracks[index].start - tracks[index].pauseStart) * kSector});
        m_pieces.push_back({files[index], tracks[index].bytes});
    }
    m_pieces.push_back({{}, layout.SectorsSent() * kSector});  // the padding, cut by the caller
}

bool DiscAtOnceStream::OpenPiece() {
    const Piece& piece = m_pieces[m_piece];
    m_left = piece.bytes;
    m_open = true;
    if (piece.path.empty()) return true;
    std::int64_t start = 0;
    if (piece.wave) {
        const WaveFileLayout layout = ReadWaveFileLayout(piece.path);
        if (!layout.Ok() || layout.dataSize < piece.offset + piece.bytes) return false;
        start = layout.dataOffset;
    }
    m_file.close();
    m_file.clear();
    m_file.open(Utf8Path(piece.path), std::ios::binary);
    return m_file && static_cast<bool>(m_file.seekg(start + piece.offset));
}

bool DiscAtOnceStream::Read(char* out, std::int64_t bytes) {
    while (bytes > 0) {
        if (m_piece >= m_pieces.size()) return false;
        if (!m_open && !OpenPiece()) return false;
        const std::int64_t now = std::min(bytes, m_left);
        if (m_pieces[m_piece].path.empty()) {
            std::memset(out, 0, static_cast<std::size_t>(now));
        } else {
            m_file.read(out, now);
            if (m_file.gcount() != now) return false;
            if (m_pieces[m_piece].swapped)
                for (std::int64_t at = 0; at + 1 < now; at += 2) std::swap(out[at], out[at + 1]);
        }
        out += now;
        bytes -= now;
        m_left -= now;
        if (m_left == 0) {
            ++m_piece;
            m_open = false;
        }
    }
    return true;
}
