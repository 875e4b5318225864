#include "DiscAtOnceWriter.h"

#include <algorithm>
#include <vector>

#include "BlockHashes.h"
#include "DiscAtOnceLayout.h"
#include "DiscAtOnceStream.h"
#include "ElapsedTime.h"
#include "EngineReporter.h"
#include "WriteWithRetry.h"

TrackWriteOutcome DiscAtOnceWriter::WriteLeadIn(const std::string& drive) {
    constexpr std::int64_t kBlockBytes = 96, kBlocksPerWrite = 32, kPacksPerBlock = 4;
    const std::int64_t end = -DiscAtOnceLayout::kFirstPreGap;
    const auto cycle = static_cast<std::int64_t>(m_leadInPacks.size());
    std::vector<std::uint8_t> buffer(kBlockBytes * kBlocksPerWrite);
    for (std::int64_t lba = m_leadInStart; lba < end;) {
        if (m_reporter.CancelRequested()) return TrackWriteOutcome::Cancelled;
        const std::int64_t count = std::min(kBlocksPerWrite, end - lba);
        for (std::int64_t pack = 0; pack < count * kPacksPerBlock; ++pack) {
            const std::int64_t index = ((lba - m_leadInStart) * kPacksPerBlock + pack) % cycle;
            CdTextPacks::Spread(m_leadInPacks[static_cast<std::size_t>(index)],
                                buffer.data() + pack * CdTextPacks::kSpreadBytes);
        }
        const WriteOutcome outcome = WriteWithRetry(
            drive, static_cast<std::uint32_t>(lba), static_cast<std::uint16_t>(count),
            buffer.data(), static_cast<std::int32_t>(count * kBlockBytes), &m_status);
        if (outcome != WriteOutcome::Written) return AudioTrackWriter::OutcomeOf(outcome);
        m_leadInWritten = true;
        lba += count;
    }
    return TrackWriteOutcome::Written;
}

TrackWriteOutcome DiscAtOnceWriter::Write(const std::string& drive,
                                          const std::vector<std::string>& files,
                                          const DiscAtOnceLayout& layout) {
    DiscAtOnceStream stream(files, layout);
    return Write(drive, stream, layout);
}

TrackWriteOutcome DiscAtOnceWriter::Write(const std::string& drive, DiscAtOnceStream& stream,
                                          const DiscAtOnceLayout& layout) {
    constexpr std::int64_t kSector = DiscAtOnceLayout::kSectorBytes;
    constexpr std::int64_t kPreGap = DiscAtOnceLayout::kFirstPreGap;
    m_sectors = 0;
    m_status = 0;
    m_track = 1;
    m_leadInWritten = false;
    if (!m_leadInPacks.empty()) {
        const TrackWriteOutcome leadIn = WriteLeadIn(drive);
        if (leadIn != TrackWriteOutcome::Written) return leadIn;
    }
    const ElapsedTime elapsed;
    const std::vector<DiscAtOnceLayout::Track>& tracks = layout.Tracks();
    const std::int64_t total = layout.SectorsSent();
    std::vector<char> block(AudioTrackWriter::kBlockBytes);
    std::size_t nextTrack = 0;  // the next track whose index 1 has not gone out
    while (m_sectors < total) {
        if (m_reporter.CancelRequested()) return TrackWriteOutcome::Cancelled;
        const std::int64_t lba = m_sectors - kPreGap;
        // The pre-gap in writes of its own, so that hashing starts at a write.
        const std::int64_t limit = lba < 0 ? -lba : total - m_sectors;
        const auto count = static_cast<std::uint16_t>(
            std::min<std::int64_t>(AudioTrackWriter::kBlockSectors, limit));
        const std::int64_t bytes = count * kSector;
        if (!stream.Read(block.data(), bytes)) return TrackWriteOutcome::ReadFailed;
        for (; nextTrack < tracks.size() && tracks[nextTrack].start < lba + count; ++nextTrack) {
            m_track = static_cast<int>(nextTrack) + 1;
            if (m_trackStarted) m_trackStarted(m_track);
        }
        const WriteOutcome outcome =
            WriteWithRetry(drive, static_cast<std::uint32_t>(lba), count, block.data(),
                           static_cast<std::int32_t>(bytes), &m_status);
        if (outcome != WriteOutcome::Written) return AudioTrackWriter::OutcomeOf(outcome);
        if (m_hashes != nullptr && lba >= 0)
            m_hashes->Add(lba, static_cast<std::int32_t>(kSector),
                          {reinterpret_cast<const std::uint8_t*>(block.data()),
                           static_cast<std::size_t>(bytes)});
        m_sectors += count;
        AudioTrackWriter::ShowProgress(m_reporter, m_sectors, total, elapsed.Text());
    }
    return TrackWriteOutcome::Written;
}
