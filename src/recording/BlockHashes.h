#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// Hashes of the blocks a recording sends, kept as runs of consecutive
// addresses, so that the read-back after the recording is compared without
// reading the image again. One 64-bit XXH3 per group of 32 blocks (the
// verifier's read), counted from the run's first block: 8 bytes per 64 KiB
// of data blocks, so a dual-layer DVD needs 1 MB.
class BlockHashes {
  public:
    static constexpr std::int64_t kBlocksPerHash = 32;
    struct Run {
        std::int64_t firstLba = 0;
        std::int32_t blockSize = 0;  // 2048 data, 2352 CD-DA
        std::int64_t blocks = 0;
        // Group k holds blocks k x 32 to k x 32 + 31 of the run; the last
        // group may be shorter.
        std::vector<std::uint64_t> hashes;
    };

    BlockHashes();
    ~BlockHashes();
    BlockHashes(const BlockHashes&) = delete;
    BlockHashes& operator=(const BlockHashes&) = delete;

    // Notes the whole blocks of `blockSize` bytes in `data`, sent from `lba` on.
    void Add(std::int64_t lba, std::int32_t blockSize, std::span<const std::uint8_t> data);
    const std::vector<Run>& Runs() const { return m_runs; }
    std::int64_t BlockCount() const;

    // The hash of one group's blocks, read back in one piece.
    static std::uint64_t Of(std::span<const std::uint8_t> blocks);

  private:
    struct GroupState;  // the hash of the last run's group being filled

    std::vector<Run> m_runs;
    std::unique_ptr<GroupState> m_group;
};
