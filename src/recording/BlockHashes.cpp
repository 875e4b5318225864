#include "BlockHashes.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

void BlockHashes::Add(std::int64_t lba, std::int32_t blockSize,
                      std::span<const std::uint8_t> data) {
    const bool continues =
        !m_runs.empty() && m_runs.back().blockSize == blockSize &&
        m_runs.back().firstLba + static_cast<std::int64_t>(m_runs.back().hashes.size()) == lba;
    if (!continues) m_runs.push_back({lba, blockSize, {}});
    std::vector<std::uint64_t>& hashes = m_runs.back().hashes;
    for (std::size_t at = 0; at + blockSize <= data.size(); at += blockSize)
        hashes.push_back(Of(data.subspan(at, blockSize)));
}

std::int64_t BlockHashes::BlockCount() const {
    std::int64_t blocks = 0;
    for (const Run& run : m_runs) blocks += static_cast<std::int64_t>(run.hashes.size());
    return blocks;
}

std::uint64_t BlockHashes::Of(std::span<const std::uint8_t> block) {
    return XXH3_64bits(block.data(), block.size());
}
