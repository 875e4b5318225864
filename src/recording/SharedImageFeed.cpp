#include "SharedImageFeed.h"

#include <algorithm>
#include <cstring>

// A recording's view of the feed: the image from its start, at this tap's pace.
class SharedImageFeed::Tap : public ImageSource {
  public:
    Tap(SharedImageFeed& feed, std::size_t index) : m_feed(feed), m_index(index) {}
    ~Tap() override { Tap::Close(); }
    Tap(const Tap&) = delete;
    Tap& operator=(const Tap&) = delete;

    std::int64_t Length() const override { return m_feed.m_source.Length(); }
    bool DeclaresLength() const override { return m_feed.m_source.DeclaresLength(); }
    bool HasMore() const override { return !m_closed && m_position < Length(); }
    bool ReadChunk(std::span<std::uint8_t> chunk) override {
        if (m_closed || !m_feed.Read(m_index, m_position, chunk, m_error)) {
            if (m_error.empty()) m_error = "was closed";
            return false;
        }
        m_position += static_cast<std::int64_t>(chunk.size());
        return true;
    }
    void Close() override {
        if (!m_closed) m_feed.Close(m_index);
        m_closed = true;
    }
    const std::string& Error() const override { return m_error; }
    std::string Name() const override { return m_feed.m_source.Name(); }
    int BufferFill() const override { return m_feed.FillPercent(m_position); }
    std::int64_t Starved() const override { return m_feed.Starved(); }

  private:
    SharedImageFeed& m_feed;
    std::size_t m_index;
    std::int64_t m_position = 0;
    bool m_closed = false;
    std::string m_error;
};

SharedImageFeed::SharedImageFeed(ImageSource& source, std::size_t ringBytes)
    : m_source(source),
      m_ring(std::max<std::size_t>((ringBytes + kPieceBytes - 1) / kPieceBytes, 4) * kPieceBytes) {}

std::unique_ptr<ImageSource> SharedImageFeed::OpenTap() {
    const std::lock_guard lock(m_mutex);
    m_positions.push_back(0);
    return std::make_unique<Tap>(*this, m_positions.size() - 1);
}

std::int64_t SharedImageFeed::Slowest() const {
    std::int64_t slowest = m_loaded;
    for (const std::int64_t position : m_positions)
        if (position >= 0) slowest = std::min(slowest, position);
    return slowest;
}

bool SharedImageFeed::Read(std::size_t tap, std::int64_t position, std::span<std::uint8_t> into,
                           std::string& error) {
    const auto ring = static_cast<std::int64_t>(m_ring.size());
    const std::int64_t end =
        std::min(position + static_cast<std::int64_t>(into.size()), m_source.Length());
    std::unique_lock lock(m_mutex);
    // A chunk larger than the ring's free part could never be read.
    if (end - position > ring - static_cast<std::int64_t>(kPieceBytes)) {
        error = "is read in pieces larger than the buffer";
        return false;
    }
    bool waited = false;
    while (m_error.empty() && m_loaded < end) {
        if (!m_reading && m_loaded + static_cast<std::int64_t>(kPieceBytes) <= Slowest() + ring) {
            ReadPiece(lock);
            continue;
        }
        if (!waited) ++m_starved;
        waited = true;
        m_changed.wait(lock);
    }
    // Bytes read before the source failed are still given.
    if (m_loaded < end) {
        error = m_error;
        return false;
    }
    lock.unlock();
    // The part read stays put while this tap's position is before it.
    CopyOut(position, into);
    lock.lock();
    m_positions[tap] = position + static_cast<std::int64_t>(into.size());
    m_changed.notify_all();
    return true;
}

void SharedImageFeed::ReadPiece(std::unique_lock<std::mutex>& lock) {
    m_reading = true;
    const auto at = static_cast<std::size_t>(m_loaded % static_cast<std::int64_t>(m_ring.size()));
    lock.unlock();
    const bool read = m_source.ReadChunk(std::span(m_ring).subspan(at, kPieceBytes));
    lock.lock();
    m_reading = false;
    if (read)
        m_loaded += static_cast<std::int64_t>(kPieceBytes);
    else
        m_error = m_source.Error();
    m_changed.notify_all();
}

void SharedImageFeed::CopyOut(std::int64_t position, std::span<std::uint8_t> into) const {
    const std::int64_t inImage = std::clamp<std::int64_t>(m_source.Length() - position, 0,
                                                          static_cast<std::int64_t>(into.size()));
    const auto count = static_cast<std::size_t>(inImage);
    const auto at = static_cast<std::size_t>(position % static_cast<std::int64_t>(m_ring.size()));
    const std::size_t first = std::min(count, m_ring.size() - at);
    std::memcpy(into.data(), m_ring.data() + at, first);
    std::memcpy(into.data() + first, m_ring.data(), count - first);
    std::fill(into.begin() + static_cast<std::ptrdiff_t>(count), into.end(), std::uint8_t{0});
}

void SharedImageFeed::Close(std::size_t tap) {
    const std::lock_guard lock(m_mutex);
    m_positions[tap] = -1;
    m_changed.notify_all();
}

int SharedImageFeed::FillPercent(std::int64_t position) {
    const std::lock_guard lock(m_mutex);
    const std::int64_t held = std::max<std::int64_t>(m_loaded - position, 0);
    return static_cast<int>(held * 100 / static_cast<std::int64_t>(m_ring.size()));
}

std::int64_t SharedImageFeed::Starved() {
    const std::lock_guard lock(m_mutex);
    return m_starved;
}
