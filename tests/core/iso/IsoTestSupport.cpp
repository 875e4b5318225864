#include "IsoTestSupport.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {
class MemoryReader : public FileReader {
  public:
    explicit MemoryReader(const MemoryFileSource::Entry& entry) : m_entry(entry) {}
    std::int64_t Read(std::uint8_t* buffer, std::int64_t count) override {
        if (m_entry.readErrorAfter >= 0 && m_at >= m_entry.readErrorAfter) return -1;
        const auto left = static_cast<std::int64_t>(m_entry.bytes.size()) - m_at;
        const std::int64_t part = std::min(count, left);
        std::memcpy(buffer, m_entry.bytes.data() + m_at, static_cast<std::size_t>(part));
        m_at += part;
        return part;
    }

  private:
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
