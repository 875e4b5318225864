#include "DiscFileSource.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>
#include <vector>

#include "DiscContinuation.h"

namespace {
constexpr std::int64_t kBlock = 2048;
constexpr std::int32_t kRunBlocks = 32;
constexpr const char* kPrefix = "disc:";

struct Extent {
    std::int64_t lba = 0, size = 0;
};

std::optional<Extent> ExtentOf(const std::string& path) {
    const std::string_view prefix = kPrefix;
    if (!path.starts_with(prefix)) return std::nullopt;
    Extent extent;
    const char* end = path.data() + path.size();
    auto [colon, error] = std::from_chars(path.data() + prefix.size(), end, extent.lba);
    if (error != std::errc() || colon == end || *colon != ':') return std::nullopt;
    auto [last, sizeError] = std::from_chars(colon + 1, end, extent.size);
    if (sizeError != std::errc() || last != end || extent.lba < 0 || extent.size < 0)
        return std::nullopt;
    return extent;
}

// Reads the extent front to back, a run of blocks at a time.
class DiscFileReader : public FileReader {
  public:
    DiscFileReader(std::string drive, Extent extent)
        : m_drive(std::move(drive)), m_extent(extent) {}

    std::int64_t Read(std::uint8_t* buffer, std::int64_t count) override {
        if (m_held == m_used) {
            const std::int64_t left = m_extent.size - m_done;
            if (left <= 0) return 0;
            const auto blocks = static_cast<std::int32_t>(
                std::min<std::int64_t>(kRunBlocks, (left + kBlock - 1) / kBlock));
            m_run.resize(static_cast<std::size_t>(blocks * kBlock));
            if (!DiscContinuation::ReadBlocks(m_drive, m_extent.lba + m_done / kBlock, blocks,
                                              m_run.data()))
                return -1;
            m_held = std::min<std::int64_t>(left, blocks * kBlock);
            m_used = 0;
            m_done += m_held;
        }
        const std::int64_t taken = std::min(count, m_held - m_used);
        std::memcpy(buffer, m_run.data() + m_used, static_cast<std::size_t>(taken));
        m_used += taken;
        return taken;
    }
    std::string Problem() const override { return "the disc could not be read"; }

  private:
    std::string m_drive;
    Extent m_extent;
    std::vector<std::uint8_t> m_run;
    std::int64_t m_done = 0;  // bytes fetched from the disc
    std::int64_t m_held = 0, m_used = 0;
};
}  // namespace

std::string DiscFileSource::Path(std::int32_t lba, std::int64_t size) {
    return kPrefix + std::to_string(lba) + ":" + std::to_string(size);
}

std::optional<FileSource::Facts> DiscFileSource::Examine(const std::string& path) {
    const std::optional<Extent> extent = ExtentOf(path);
    if (!extent) {
        m_problem = "not a file of the disc";
        return std::nullopt;
    }
    return Facts{extent->size, std::nullopt};
}

std::unique_ptr<FileReader> DiscFileSource::Open(const std::string& path) {
    const std::optional<Extent> extent = ExtentOf(path);
    if (!extent) {
        m_problem = "not a file of the disc";
        return nullptr;
    }
    return std::make_unique<DiscFileReader>(m_drive, *extent);
}
