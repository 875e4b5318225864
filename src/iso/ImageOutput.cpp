#include "ImageOutput.h"

#include <algorithm>
#include <cstring>

#include "FileSource.h"
#include "SectorMath.h"

ImageOutput::ImageOutput(FileHandleRecord& file) : m_file(file), m_buffer(kBufferBytes) {}

bool ImageOutput::Flush() {
    if (Failed()) return false;
    if (m_used == 0) return true;
    if (modFileAccess::FileWrite(m_file, m_buffer.data(), static_cast<std::int64_t>(m_used)) !=
        static_cast<std::int64_t>(m_used)) {
        m_problem = "cannot write " + m_file.path + ": " + modFileAccess::LastErrorText();
        return false;
    }
    m_flushed += static_cast<std::int64_t>(m_used);
    m_used = 0;
    return true;
}

std::int64_t ImageOutput::CopyFrom(FileReader& reader, std::int64_t count) {
    if (!Flush()) return -1;
    const std::int64_t copied = reader.CopyTo(m_file, count);
    if (copied > 0) m_flushed += copied;
    return copied;
}

std::span<std::uint8_t> ImageOutput::Room() {
    if (Failed()) return {};
    if (m_used == m_buffer.size() && !Flush()) return {};
    return {m_buffer.data() + m_used, m_buffer.size() - m_used};
}

void ImageOutput::Commit(std::int64_t count) {
    m_used += static_cast<std::size_t>(count);
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

bool ImageOutput::Zeros(std::int64_t count) {
    while (count > 0) {
        const std::span<std::uint8_t> room = Room();
        if (room.empty()) return false;
        const std::size_t part = static_cast<std::size_t>(
            std::min<std::int64_t>(count, static_cast<std::int64_t>(room.size())));
        std::memset(room.data(), 0, part);
        Commit(static_cast<std::int64_t>(part));
        count -= static_cast<std::int64_t>(part);
    }
    return !Failed();
}

bool ImageOutput::PadToSector() {
    return Zeros(SectorRoundUp(Position()) - Position());
}
