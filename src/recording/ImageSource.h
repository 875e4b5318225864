#pragma once

#include <cstdint>
#include <span>
#include <string>

// Where a recording takes the image's bytes from, front to back: a file
// (ImageFileReader) or a stream (StreamImageReader).
class ImageSource {
  public:
    virtual ~ImageSource() = default;

    // The bytes to record, known before the first block is written.
    virtual std::int64_t Length() const = 0;
    // True when the image says how long it is (an ISO 9660 volume): its last
    // WRITE then carries a whole chunk, padded with zeros.
    virtual bool DeclaresLength() const = 0;
    // True while blocks remain to be read.
    virtual bool HasMore() const = 0;
    // Fills `chunk` with the next bytes; a short final chunk is padded with
    // zeros. False (see Error()) when the source cannot give them.
    virtual bool ReadChunk(std::span<std::uint8_t> chunk) = 0;
    // The same chunk of `spare.size()` bytes, where the source holds it
    // whole in its own memory lent from there (valid until the next call or
    // Close), else read into `spare`. Empty (see Error()) on failure.
    virtual std::span<const std::uint8_t> NextChunk(std::span<std::uint8_t> spare) {
        if (!ReadChunk(spare)) return {};
        return spare;
    }
    virtual void Close() = 0;
    // Why the last call failed, in English.
    virtual const std::string& Error() const = 0;
    // How messages name the source: its path, or "standard input".
    virtual std::string Name() const = 0;
    // Percent of the source's buffer that holds bytes not yet recorded; -1
    // for a source read straight from a file.
    virtual int BufferFill() const { return -1; }
    // Times the writing found the buffer empty and waited for the source.
    virtual std::int64_t Starved() const { return 0; }
};
