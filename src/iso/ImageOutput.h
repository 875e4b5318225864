#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "modFileAccess.h"

class FileReader;

// The image file being written, front to back, through one bounded buffer.
// After the first write error every call fails and the error is kept.
class ImageOutput {
  public:
    explicit ImageOutput(FileHandleRecord& file);

    // Bytes handed over so far (the position in the image).
    std::int64_t Position() const { return m_flushed + static_cast<std::int64_t>(m_used); }
    bool Write(std::span<const std::uint8_t> bytes);
    bool Zeros(std::int64_t count);
    // Zeros up to SectorRoundUp of the position (1 to 2048 bytes).
    bool PadToSector();
    // Free room of the buffer (flushing first when it is full), for reading
    // file data straight into it; Commit hands over what was put there.
    std::span<std::uint8_t> Room();
    void Commit(std::int64_t count);
    // Lets `reader` copy up to `count` bytes straight into the file (after a
    // Flush): the bytes copied, 0 at the reader's end, -1 when not possible.
    std::int64_t CopyFrom(FileReader& reader, std::int64_t count);
    bool Flush();
    bool Failed() const { return !m_problem.empty(); }
    const std::string& Problem() const { return m_problem; }

  private:
    static constexpr std::size_t kBufferBytes = 1 << 20;

    FileHandleRecord& m_file;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_used = 0;
    std::int64_t m_flushed = 0;
    std::string m_problem;
};
