#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "ImageSource.h"

// One image read once for several recordings at the same time. Each
// recording reads through a tap of its own (OpenTap), at its own pace; the
// bytes stay in a ring until every open tap has passed them, so the fastest
// drive runs at most the ring's size ahead of the slowest. A tap that is
// closed (its drive failed, was refused or stopped) no longer holds the
// others back. The tap that first needs bytes not yet read reads the next
// piece from the source, outside the lock; a source that fails fails every
// tap with its error where it reaches the bytes that could not be read.
class SharedImageFeed {
  public:
    // What each read from the source takes; the ring holds a whole number of them.
    static constexpr std::size_t kPieceBytes = std::size_t{256} << 10;

    // `source` is open (its length known) and outlives the feed; the ring
    // holds `ringBytes` rounded up to whole pieces (at least four).
    SharedImageFeed(ImageSource& source, std::size_t ringBytes);

    // A new tap at the image's start. Open every tap before the first read.
    std::unique_ptr<ImageSource> OpenTap();

  private:
    class Tap;
    // Copies the bytes of the image at `position` into `into` (those beyond
    // the image's length are zeros); false with `error` when the source failed.
    bool Read(std::size_t tap, std::int64_t position, std::span<std::uint8_t> into,
              std::string& error);
    // Reads the next piece into the ring; called with `lock` held, returns with it held.
    void ReadPiece(std::unique_lock<std::mutex>& lock);
    void CopyOut(std::int64_t position, std::span<std::uint8_t> into) const;
    void Close(std::size_t tap);
    // The first byte an open tap still needs (m_mutex held).
    std::int64_t Slowest() const;
    int FillPercent(std::int64_t position);
    std::int64_t Starved();

    ImageSource& m_source;  // read by one tap at a time (m_reading), outside the lock
    // Byte p of the image is at p % size. The part [slowest, m_loaded) is
    // only read; the part after m_loaded only written, by the tap reading.
    std::vector<std::uint8_t> m_ring;
    std::mutex m_mutex;  // guards the members below
    std::condition_variable m_changed;
    std::vector<std::int64_t> m_positions;  // per tap; -1 once closed
    std::int64_t m_loaded = 0;              // bytes of the image in the ring (whole pieces)
    std::int64_t m_starved = 0;             // waits for bytes not yet read
    bool m_reading = false;
    std::string m_error;  // the source's failure
};
