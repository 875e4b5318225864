#pragma once

#include <cstdint>
#include <optional>
#include <thread>
#include <vector>

#include "ByteFifo.h"
#include "ImageSource.h"
#include "modFileAccess.h"

// An image read from a stream (standard input, a pipe from the image
// builder), through a FIFO that a thread of its own keeps filled. Its length
// must be known before the first block is written: the size given, or the
// extent its first blocks declare (the ISO 9660 volume, or the end of the
// last partition of a hybrid image). Zeros after that length are read and
// ignored; anything else there fails the last chunk, so the recording stops
// before its track is closed. A stream that ends early fails the chunk it
// ends in.
class StreamImageReader : public ImageSource {
  public:
    // `input` stays open and owned by the caller; `name` names it in messages.
    StreamImageReader(FileHandleRecord input, std::string name, std::size_t fifoBytes);
    ~StreamImageReader() override;
    StreamImageReader(const StreamImageReader&) = delete;
    StreamImageReader& operator=(const StreamImageReader&) = delete;

    // Reads the first blocks and takes the length: `size` when given (it must
    // not cut the volume the blocks declare), otherwise the declared extent.
    // Then starts filling the FIFO. False (see Error()) when the length
    // cannot be known or the stream ends first.
    bool Open(std::optional<std::int64_t> size);

    std::int64_t Length() const override { return m_length; }
    bool DeclaresLength() const override { return m_declared > 0; }
    bool HasMore() const override { return m_position < m_length; }
    bool ReadChunk(std::span<std::uint8_t> chunk) override;
    // A whole chunk from the FIFO is lent from its ring, without a copy.
    std::span<const std::uint8_t> NextChunk(std::span<std::uint8_t> spare) override;
    void Close() override;
    const std::string& Error() const override { return m_error; }
    std::string Name() const override { return m_name; }
    int BufferFill() const override;
    std::int64_t Starved() const override { return m_fifo.Starved(); }

  private:
    std::int64_t ReadSome(std::span<std::uint8_t> into);
    void Fill(std::int64_t remaining);
    std::string CheckTrailer();
    std::string EndedEarly(std::int64_t got) const;
    bool Advance(std::size_t got);

    FileHandleRecord m_input;
    std::string m_name;
    ByteFifo m_fifo;
    std::vector<std::uint8_t> m_head;  // the first blocks, read by Open
    std::size_t m_headTaken = 0;
    std::int64_t m_declared = 0;  // bytes the head declares; 0 when none
    std::int64_t m_length = 0;
    std::int64_t m_position = 0;
    std::string m_error;
    std::thread m_filler;  // runs Fill; m_input and m_fifo's putting side are its own
};
