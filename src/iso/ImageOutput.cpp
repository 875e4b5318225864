#include "ImageOutput.h"

#include <algorithm>
#include <cstring>

#include "SectorMath.h"

namespace {
constexpr std::size_t kZeroBlock = 64 * 1024;

const std::uint8_t* ZeroBlock() {
    static const std::vector<std::uint8_t> zeros(kZeroBlock, 0);
    return zeros.data();
}

bool AllZero(const std::uint8_t* bytes, std::size_t count) {
    return std::memcmp(bytes, ZeroBlock(), count) == 0;
}
}  // namespace

ImageOutput::ImageOutput(FileHandleRecord& file)
    : m_file(file), m_seekable(modFileAccess::FileCanSeek(file)), m_buffer(kBufferBytes) {}

// The buffer is judged sector by sector (at the image's sector boundaries):
// the data, with the shorter runs of zeros among it, goes out in one write
// per stretch between holes.
bool ImageOutput::Flush() {
    if (Failed()) return false;
    if (!m_seekable) return FlushWhole();
    const std::uint8_t* const bytes = m_buffer.data();
    std::size_t written = 0;   // the buffer's bytes before this are in the file
    std::size_t runStart = 0;  // the run of zeros that reaches the scan starts here
    bool runBefore = true;     // ... and goes on from m_zeroRun, before the buffer
    for (std::size_t at = 0; at < m_used;) {
        const auto offset =
            static_cast<std::size_t>((m_flushed + static_cast<std::int64_t>(at)) % kSectorBytes);
        const std::size_t piece = std::min(m_used - at, kSectorBytes - offset);
        if (AllZero(bytes + at, piece)) {
            at += piece;
            continue;
        }
        const std::int64_t before = runBefore ? m_zeroRun : 0;
        const auto inBuffer = static_cast<std::int64_t>(at - runStart);
        if (before + inBuffer >= kHoleBytes) {
            if (!WriteBytes(bytes + written, static_cast<std::int64_t>(runStart - written)) ||
                !SettleZeros(before + inBuffer))
                return false;
            written = at;
        } else if (!SettleZeros(before)) {
            return false;
        }
        m_zeroRun = 0;
        runBefore = false;
        at += piece;
        runStart = at;
    }
    if (!WriteBytes(bytes + written, static_cast<std::int64_t>(runStart - written))) return false;
    m_zeroRun = (runBefore ? m_zeroRun : 0) + static_cast<std::int64_t>(m_used - runStart);
    m_flushed += static_cast<std::int64_t>(m_used);
    m_used = 0;
    return true;
}

// A pipe has no holes: the buffer goes out as it is, after the zeros held back.
bool ImageOutput::FlushWhole() {
    if (!SettleZeros(m_zeroRun) || !WriteBytes(m_buffer.data(), static_cast<std::int64_t>(m_used)))
        return false;
    m_zeroRun = 0;
    m_flushed += static_cast<std::int64_t>(m_used);
    m_used = 0;
    return true;
}

bool ImageOutput::SettleZeros(std::int64_t zeros) {
    if (zeros >= kHoleBytes && m_seekable)
        return modFileAccess::FileLeaveHole(m_file, zeros) || Fail();
    while (zeros > 0) {
        const std::int64_t part = std::min<std::int64_t>(zeros, kZeroBlock);
        if (!WriteBytes(ZeroBlock(), part)) return false;
        zeros -= part;
    }
    return true;
}

bool ImageOutput::WriteBytes(const std::uint8_t* bytes, std::int64_t count) {
    return count == 0 || modFileAccess::FileWrite(m_file, bytes, count) == count || Fail();
}

bool ImageOutput::Fail() {
    m_problem = "cannot write " + m_file.path + ": " + modFileAccess::LastErrorText();
    return false;
}

bool ImageOutput::Finish() {
    if (!Flush()) return false;
    if (m_zeroRun >= kHoleBytes && m_seekable) {
        // Skipped zeros at the end give the file no length: it is set.
        const std::int64_t at = modFileAccess::FilePos(m_file);
        if (at < 0 || !modFileAccess::FileSetLength(m_file, at + m_zeroRun)) return Fail();
    } else if (!SettleZeros(m_zeroRun)) {
        return false;
    }
    m_zeroRun = 0;
    return true;
}

std::span<std::uint8_t> ImageOutput::Room() {
    if (Failed()) return {};
    if (m_used == m_buffer.size() && !Flush()) return {};
    return {m_buffer.data() + m_used, m_buffer.size() - m_used};
}

void ImageOutput::Commit(std::int64_t count) {
    m_used += static_cast<std::size_t>(count);
}

std::int64_t ImageOutput::CopyFrom(FileReader& reader, std::int64_t most) {
    if (!m_seekable && Flush()) {
        const std::int64_t sent = reader.SendToPipe(m_file, most);
        if (sent == modFileAccess::kSendWriteFailed) {
            Fail();
            return -1;
        }
        if (sent != modFileAccess::kCannotSend) {
            m_flushed += std::max<std::int64_t>(sent, 0);
            return sent;
        }
    }
    const std::span<std::uint8_t> room = Room();
    if (room.empty()) return -1;
    const std::int64_t got =
        reader.Read(room.data(), std::min<std::int64_t>(most, std::ssize(room)));
    if (got > 0) Commit(got);
    return got;
}

bool ImageOutput::Write(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const std::span<std::uint8_t> room = Room();
        if (room.empty()) return false;
        const std::size_t part = std::min(room.size(), bytes.size());
        std::memcpy(room.data(), bytes.data(), part);
        Commit(static_cast<std::int64_t>(part));
        bytes = bytes.subspan(part);
    }
    return !Failed();
}

// Zeros that follow data go into the buffer; from where the buffer is empty
// on they only lengthen the run of zeros, without touching memory.
bool ImageOutput::Zeros(std::int64_t count) {
    while (count > 0 && m_used > 0) {
        if (m_used == m_buffer.size() && !Flush()) return false;
        if (m_used == 0) break;
        const std::size_t part = static_cast<std::size_t>(
            std::min<std::int64_t>(count, static_cast<std::int64_t>(m_buffer.size() - m_used)));
        std::memset(m_buffer.data() + m_used, 0, part);
        m_used += part;
        count -= static_cast<std::int64_t>(part);
    }
    m_zeroRun += count;
    m_flushed += count;
    return !Failed();
}

bool ImageOutput::PadToSector() {
    return Zeros(SectorRoundUp(Position()) - Position());
}
