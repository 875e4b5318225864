#include "IsoTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>

namespace {
class MemoryReader : public FileReader {
  public:
    explicit MemoryReader(const MemoryFileSource::Entry& entry) : m_entry(entry) {}
    std::int64_t Read(std::uint8_t* buffer, std::int64_t count) override {
        if (m_entry.readErrorAfter >= 0 && m_at >= m_entry.readErrorAfter) return -1;
        const std::int64_t part = std::min(count, Length() - m_at);
        if (m_entry.pieces.empty()) {
            std::memcpy(buffer, m_entry.bytes.data() + m_at, static_cast<std::size_t>(part));
        } else {
            std::memset(buffer, 0, static_cast<std::size_t>(part));
            for (const auto& [start, bytes] : m_entry.pieces) {
                const std::int64_t from = std::max(start, m_at);
                const std::int64_t to = std::min(start + std::ssize(bytes), m_at + part);
                if (from < to)
                    std::memcpy(buffer + (from - m_at), bytes.data() + (from - start),
                                static_cast<std::size_t>(to - from));
            }
        }
        m_at += part;
        return part;
    }
    // The holes of a sparse entry: everything between its pieces.
    Stretch SkipHole(std::int64_t most) override {
        if (m_entry.pieces.empty()) return {0, most};
        std::int64_t start = Length(), end = Length();
        for (const auto& [at, bytes] : m_entry.pieces)
            if (at + std::ssize(bytes) > m_at) {
                start = std::max(at, m_at);
                end = at + std::ssize(bytes);
                break;
            }
        const std::int64_t hole = std::min(most, start - m_at);
        m_at += hole;
        return {hole, end - m_at};
    }

  private:
    std::int64_t Length() const {
        return m_entry.pieces.empty() ? std::ssize(m_entry.bytes) : m_entry.reportedLength;
    }

    const MemoryFileSource::Entry& m_entry;
    std::int64_t m_at = 0;
};
}  // namespace

std::optional<FileSource::Facts> MemoryFileSource::Examine(const std::string& path) {
    const auto found = m_files.find(path);
    if (found == m_files.end()) return std::nullopt;
    const Entry& entry = found->second;
    return Facts{entry.reportedLength >= 0 ? entry.reportedLength
                                           : static_cast<std::int64_t>(entry.bytes.size()),
                 std::nullopt};
}

std::unique_ptr<FileReader> MemoryFileSource::Open(const std::string& path) {
    const auto found = m_files.find(path);
    if (found == m_files.end() || found->second.openFails) return nullptr;
    return std::make_unique<MemoryReader>(found->second);
}

void UseShanghaiTime() {
    ::setenv("TZ", "Asia/Shanghai", 1);
    ::tzset();
}

std::uint32_t Little32(const std::string& image, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(image.at(at + static_cast<std::size_t>(i)));
    return value;
}

std::uint32_t Big32(const std::string& image, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<std::uint8_t>(image.at(at + i));
    return value;
}

std::uint16_t Little16(const std::string& image, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(image.at(at)) |
                                      static_cast<std::uint8_t>(image.at(at + 1)) << 8);
}

std::string Bytes(const std::string& image, std::size_t at, std::size_t count) {
    return image.substr(at, count);
}

bool AllZero(const std::string& image, std::size_t at, std::size_t count) {
    for (std::size_t i = at; i < at + count; ++i)
        if (image.at(i) != '\0') return false;
    return true;
}

std::vector<Record> Records(const std::string& image, std::size_t sector, std::size_t sectors) {
    constexpr std::size_t kSector = 2048;
    std::vector<Record> records;
    std::size_t at = sector * kSector;
    const std::size_t end = at + sectors * kSector;
    while (at < end) {
        const auto length = static_cast<std::uint8_t>(image.at(at));
        if (length == 0) {
            at = (at / kSector + 1) * kSector;
            continue;
        }
        const auto nameLength = static_cast<std::uint8_t>(image.at(at + 32));
        records.push_back({Little32(image, at + 2), Little32(image, at + 10),
                           static_cast<std::uint8_t>(image.at(at + 25)), length,
                           Bytes(image, at + 33, nameLength), at});
        at += length;
    }
    return records;
}

std::string ReadAt(const std::string& path, std::int64_t offset, std::int64_t count) {
    std::ifstream file(path, std::ios::binary);
    file.seekg(offset);
    std::string bytes(static_cast<std::size_t>(count), '\0');
    file.read(bytes.data(), count);
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}
