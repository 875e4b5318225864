// The medium of a drive in memory: 64 KiB pieces, made when first written.
#include <algorithm>
#include <cstring>

#include "EmuDataFile.h"

namespace {
constexpr std::int64_t kPieceBytes = 64 * 1024;

// Calls step(piece, offset in it, bytes, offset in the caller's buffer) for
// each piece that [offset, offset + length) touches.
template <typename Step>
void EachPiece(std::int64_t offset, std::int64_t length, Step step) {
    for (std::int64_t done = 0; done < length;) {
        const std::int64_t at = (offset + done) % kPieceBytes;
        const std::int64_t count = std::min(length - done, kPieceBytes - at);
        step((offset + done) / kPieceBytes, static_cast<std::size_t>(at),
             static_cast<std::size_t>(count), done);
        done += count;
    }
}
}  // namespace

std::unique_ptr<EmuDataFile> EmuDataFile::InMemory() {
    return std::unique_ptr<EmuDataFile>(new EmuDataFile(kInMemory));
}

bool EmuDataFile::ReadMemory(std::int64_t offset, char* bytes, std::int64_t length) const {
    EachPiece(offset, length,
              [&](std::int64_t piece, std::size_t at, std::size_t count, std::int64_t done) {
                  const auto found = m_pieces.find(piece);
                  if (found == m_pieces.end())
                      std::memset(bytes + done, 0, count);
                  else
                      std::memcpy(bytes + done, found->second.data() + at, count);
              });
    return true;
}

bool EmuDataFile::WriteMemory(std::int64_t offset, const char* bytes, std::int64_t length) {
    EachPiece(offset, length,
              [&](std::int64_t piece, std::size_t at, std::size_t count, std::int64_t done) {
                  std::string& held = m_pieces[piece];
                  held.resize(kPieceBytes);
                  std::memcpy(held.data() + at, bytes + done, count);
              });
    m_memorySize = std::max(m_memorySize, offset + length);
    return true;
}
