#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Hashes of the blocks a recording sends (64-bit XXH3 of each block), kept
// as runs of consecutive addresses, so that the read-back after the
// recording is compared block by block without reading the image again.
// 8 bytes per block: 2.8 MB for a full CD, 18 MB for a single-layer DVD.
class BlockHashes {
  public:
    struct Run {
        std::int64_t firstLba = 0;
        std::int32_t blockSize = 0;  // 2048 data, 2352 CD-DA
        std::vector<std::uint64_t> hashes;
    };

    // Notes the whole blocks of `blockSize` bytes in `data`, sent from `lba` on.
    void Add(std::int64_t lba, std::int32_t blockSize, std::span<const std::uint8_t> data);
    const std::vector<Run>& Runs() const { return m_runs; }
    std::int64_t BlockCount() const;

    static std::uint64_t Of(std::span<const std::uint8_t> block);

  private:
    std::vector<Run> m_runs;
};
