#include "BlockHashes.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

#include <algorithm>

struct BlockHashes::GroupState {
    XXH3_state_t state;
};

BlockHashes::BlockHashes() : m_group(std::make_unique<GroupState>()) {}

BlockHashes::~BlockHashes() = default;

void BlockHashes::Add(std::int64_t lba, std::int32_t blockSize,
                      std::span<const std::uint8_t> data) {
    const bool continues = !m_runs.empty() && m_runs.back().blockSize == blockSize &&
                           m_runs.back().firstLba + m_runs.back().blocks == lba;
    if (!continues) m_runs.push_back({lba, blockSize, 0, {}});
    Run& run = m_runs.back();
    const auto size = static_cast<std::size_t>(blockSize);
    const std::size_t whole = data.size() / size;
    for (std::size_t at = 0; at < whole;) {
        if (run.blocks % kBlocksPerHash == 0) {
            XXH3_64bits_reset(&m_group->state);
            run.hashes.push_back(0);
        }
        const auto take = std::min<std::size_t>(
            whole - at, static_cast<std::size_t>(kBlocksPerHash - run.blocks % kBlocksPerHash));
        XXH3_64bits_update(&m_group->state, data.data() + at * size, take * size);
        // An open group's hash stands as far as it goes; the next blocks renew it.
        run.hashes.back() = XXH3_64bits_digest(&m_group->state);
        run.blocks += static_cast<std::int64_t>(take);
        at += take;
    }
}

std::int64_t BlockHashes::BlockCount() const {
    std::int64_t blocks = 0;
    for (const Run& run : m_runs) blocks += run.blocks;
    return blocks;
}

std::uint64_t BlockHashes::Of(std::span<const std::uint8_t> blocks) {
    return XXH3_64bits(blocks.data(), blocks.size());
}
