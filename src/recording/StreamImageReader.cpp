#include "StreamImageReader.h"

#include <algorithm>
#include <cstring>

#include "VolumeSpaceSize.h"
#include "WaitReadable.h"

namespace {
constexpr std::int64_t kBlock = 2048;
constexpr std::size_t kTrailerBuffer = 64 * 1024;
// How often the filling thread looks whether the recording stopped while the
// source sends nothing.
constexpr int kStopPollMs = 100;
}  // namespace

StreamImageReader::StreamImageReader(FileHandleRecord input, std::string name,
                                     std::size_t fifoBytes)
    : m_input(std::move(input)), m_name(std::move(name)), m_fifo(fifoBytes) {}

StreamImageReader::~StreamImageReader() {
    Close();
}

// Bytes read into `into`: 0 at the end of the stream or when the recording
// stopped, -1 on an error.
std::int64_t StreamImageReader::ReadSome(std::span<std::uint8_t> into) {
    while (!WaitReadable(m_input, kStopPollMs))
        if (m_fifo.Stopped()) return 0;
    return modFileAccess::FileRead(m_input, into.data(), static_cast<std::int64_t>(into.size()));
}

std::string StreamImageReader::EndedEarly(std::int64_t got) const {
    return "ended after " + std::to_string(got) + " of the " + std::to_string(m_length) +
           " bytes it announced (the source stopped early)";
}

bool StreamImageReader::Open(std::optional<std::int64_t> size) {
    m_head.resize(kDeclaringBytes);
    std::size_t got = 0;
    while (got < m_head.size()) {
        const std::int64_t n = ReadSome(std::span(m_head).subspan(got));
        if (n < 0) {
            m_error = "cannot be read (" + modFileAccess::LastErrorText() + ")";
            return false;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    m_head.resize(got);
    m_declared = DeclaredVolumeBlocks(m_head) * kBlock;
    if (size && *size < m_declared) {
        m_error = "holds a volume of " + std::to_string(m_declared) + " bytes; --size " +
                  std::to_string(*size) + " would cut it";
        return false;
    }
    m_length = size ? *size : m_declared;
    if (m_length <= 0) {
        m_error =
            got < kDeclaringBytes && !size
                ? "ended after " + std::to_string(got) + " bytes, before its volume descriptors"
                : "holds no ISO 9660 volume at sector 16; give its size with --size BYTES";
        return false;
    }
    if (static_cast<std::int64_t>(got) > m_length) {
        // The head reaches past the announced end: what follows is trailer.
        if (std::any_of(m_head.begin() + m_length, m_head.end(), [](auto b) { return b != 0; })) {
            m_error = "holds data after the " + std::to_string(m_length) + " bytes it announced";
            return false;
        }
        m_head.resize(static_cast<std::size_t>(m_length));
    }
    const std::int64_t rest = m_length - static_cast<std::int64_t>(m_head.size());
    if (got < kDeclaringBytes && rest > 0) {
        m_error = EndedEarly(static_cast<std::int64_t>(got));
        return false;
    }
    m_filler = std::thread([this, rest, ended = got < kDeclaringBytes] {
        if (ended) {
            m_fifo.EndPut({});
            return;
        }
        Fill(rest);
    });
    return true;
}

void StreamImageReader::Fill(std::int64_t remaining) {
    while (remaining > 0) {
        std::span<std::uint8_t> room = m_fifo.Room();
        if (room.empty()) return;
        room = room.first(static_cast<std::size_t>(
            std::min<std::int64_t>(remaining, static_cast<std::int64_t>(room.size()))));
        const std::int64_t n = ReadSome(room);
        if (n <= 0) {
            if (m_fifo.Stopped()) return;
            m_fifo.EndPut(n < 0 ? "cannot be read (" + modFileAccess::LastErrorText() + ")"
                                : EndedEarly(m_length - remaining));
            return;
        }
        m_fifo.Put(static_cast<std::size_t>(n));
        remaining -= n;
    }
    m_fifo.EndPut(CheckTrailer());
}

// Reads the stream to its end: only zeros may follow the announced length.
std::string StreamImageReader::CheckTrailer() {
    std::vector<std::uint8_t> buffer(kTrailerBuffer);
    std::int64_t at = m_length;
    for (;;) {
        const std::int64_t n = ReadSome(buffer);
        if (n == 0) return {};
        if (n < 0) return "cannot be read (" + modFileAccess::LastErrorText() + ")";
        const auto end = buffer.begin() + n;
        const auto data = std::find_if(buffer.begin(), end, [](auto b) { return b != 0; });
        if (data != end)
            return "holds data at byte " + std::to_string(at + (data - buffer.begin())) +
                   ", after the " + std::to_string(m_length) +
                   " bytes it announced; record the image from a file instead";
        at += n;
    }
}

bool StreamImageReader::ReadChunk(std::span<std::uint8_t> chunk) {
    const auto wanted = static_cast<std::size_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(chunk.size()), m_length - m_position));
    const std::size_t fromHead = std::min(wanted, m_head.size() - m_headTaken);
    std::memcpy(chunk.data(), m_head.data() + m_headTaken, fromHead);
    m_headTaken += fromHead;
    const std::size_t got = fromHead + m_fifo.Take(chunk.subspan(fromHead, wanted - fromHead));
    if (got < wanted) {
        m_error = m_fifo.WaitEnd();
        if (m_error.empty()) m_error = EndedEarly(m_position + static_cast<std::int64_t>(got));
        return false;
    }
    std::fill(chunk.begin() + static_cast<std::ptrdiff_t>(got), chunk.end(), std::uint8_t{0});
    return Advance(got);
}

bool StreamImageReader::Advance(std::size_t got) {
    m_position += static_cast<std::int64_t>(got);
    // The last chunk goes to the drive only once the stream is known to end well.
    if (m_position == m_length) m_error = m_fifo.WaitEnd();
    return m_error.empty();
}

std::span<const std::uint8_t> StreamImageReader::NextChunk(std::span<std::uint8_t> spare) {
    m_fifo.Release();  // the chunk lent before has been written
    if (m_headTaken == m_head.size() && m_length - m_position >= std::ssize(spare)) {
        const std::span<const std::uint8_t> lent = m_fifo.Lend(spare.size());
        if (!lent.empty()) return Advance(lent.size()) ? lent : std::span<const std::uint8_t>{};
    }
    // The head, a chunk across the ring's end, the last (padded) one, an early end.
    return ImageSource::NextChunk(spare);
}

void StreamImageReader::Close() {
    m_fifo.Release();
    m_fifo.StopTaking();
    if (m_filler.joinable()) m_filler.join();
}

int StreamImageReader::BufferFill() const {
    return m_fifo.FillPercent();
}
