#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "FileSource.h"
#include "modFileAccess.h"

// An image file being written, front to back, through one bounded buffer.
// Runs of zero sectors of 1 MiB or more are not written but skipped, so the
// file keeps them as holes and a mostly empty image costs little disk and
// time; shorter runs are written, so that data with some zeros in it still
// takes few large writes. A pipe (an image streamed to a recording) takes
// every zero as written, and the files' data is handed to it by the system
// without passing through the buffer. After the first write error every
// call fails and the error is kept.
class ImageOutput {
  public:
    // `file` is an open regular file or a pipe, written from its current position.
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
    // Takes up to `most` bytes of `reader` (a pipe gets them straight from
    // the system where the reader can send): the bytes taken, 0 at the
    // reader's end, -1 on a read error (see the reader's Problem) or when
    // the output failed (see Failed).
    std::int64_t CopyFrom(FileReader& reader, std::int64_t most);
    // Writes what is held and gives the file its whole length (a hole at its
    // end included). False (see Problem) when a write failed.
    bool Finish();
    bool Failed() const { return !m_problem.empty(); }
    const std::string& Problem() const { return m_problem; }

    // The shortest run of zeros left as a hole.
    static constexpr std::int64_t kHoleBytes = 1 << 20;

  private:
    // Small enough that file data read into it is still in the processor's
    // cache when it is written out (a 1 MiB buffer made copies 2.5 times
    // slower), large enough to gather small files into few writes.
    static constexpr std::size_t kBufferBytes = 256 * 1024;

    // Hands the buffer over: its data is written, a run of zeros at its end
    // is kept back, as the next bytes may make it long enough for a hole.
    bool Flush();
    bool FlushWhole();
    // Before data: the zeros kept back, skipped when they make a hole.
    bool SettleZeros(std::int64_t zeros);
    bool WriteBytes(const std::uint8_t* bytes, std::int64_t count);
    bool Fail();

    FileHandleRecord& m_file;
    const bool m_seekable;  // a file that takes holes; false for a pipe
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_used = 0;
    std::int64_t m_flushed = 0;  // image bytes before the buffer
    std::int64_t m_zeroRun = 0;  // of them, zeros at the end not yet in the file
    std::string m_problem;
};
