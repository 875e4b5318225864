#include "AudioTrackWriter.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <vector>

#include "BlockHashes.h"
#include "ElapsedTime.h"
#include "EngineReporter.h"
#include "Utf8Path.h"
#include "WaveFileLayout.h"
#include "WriteWithRetry.h"

TrackWriteOutcome AudioTrackWriter::OutcomeOf(WriteOutcome outcome) {
    switch (outcome) {
        case WriteOutcome::Written:
            return TrackWriteOutcome::Written;
        case WriteOutcome::GaveUp:
            return TrackWriteOutcome::GaveUp;
        case WriteOutcome::WriteError:
            return TrackWriteOutcome::WriteError;
        case WriteOutcome::OtherFailure:
            break;
    }
    return TrackWriteOutcome::OtherFailure;
}

TrackWriteOutcome AudioTrackWriter::Write(const std::string& drive, const std::string& path,
                                          std::uint32_t start, std::int64_t dataBytes) {
    m_sectors = 0;
    m_status = 0;
    const ElapsedTime elapsed;
    const WaveFileLayout layout = ReadWaveFileLayout(path);
    std::ifstream in(Utf8Path(path), std::ios::binary);
    if (!layout.Ok() || !in || layout.dataSize < dataBytes) return TrackWriteOutcome::ReadFailed;
    in.seekg(layout.dataOffset);
    // Whole sectors of the track, for the percentage only.
    const std::int64_t trackSectors = dataBytes / kSectorBytes;
    std::vector<char> block(kBlockBytes);
    for (std::int64_t done = 0; done < dataBytes;) {
        if (m_reporter.CancelRequested()) return TrackWriteOutcome::Cancelled;
        const std::int64_t bytes = std::min<std::int64_t>(kBlockBytes, dataBytes - done);
        in.read(block.data(), bytes);
        if (in.gcount() != bytes) return TrackWriteOutcome::ReadFailed;
        // Silence after the end of the sound, never the previous block's tail.
        std::fill(block.begin() + bytes, block.end(), '\0');
        const auto lba = static_cast<std::uint32_t>(start + m_sectors);
        const WriteOutcome outcome =
            WriteWithRetry(drive, lba, kBlockSectors, block.data(), kBlockBytes, &m_status);
        if (outcome != WriteOutcome::Written) return OutcomeOf(outcome);
        if (m_hashes != nullptr)
            m_hashes->Add(lba, kSectorBytes,
                          {reinterpret_cast<const std::uint8_t*>(block.data()), block.size()});
        m_sectors += kBlockSectors;
        done += bytes;
        ShowProgress(m_reporter, m_sectors, trackSectors, elapsed.Text());
    }
    return TrackWriteOutcome::Written;
}

void AudioTrackWriter::ShowProgress(EngineReporter& reporter, std::int64_t done,
                                    std::int64_t sectors, const std::string& elapsed) {
    // A track shorter than one sector counts as done; the last block of a
    // track can pass 100 %, which the bar ignores and the text caps.
    const double value = sectors > 0 ? double(done) / double(sectors) * 100.0 : 100.0;
    const auto whole = static_cast<std::int64_t>(std::floor(value));
    reporter.Progress(static_cast<int>(std::min<std::int64_t>(whole, 1000)));
    reporter.PercentText(std::to_string(whole < 100 ? whole + 1 : 100) + "%");
    reporter.ElapsedText(elapsed);
}
