#include "DiscAtOnceLayout.h"

DiscAtOnceLayout::DiscAtOnceLayout(const std::vector<std::int64_t>& dataBytes,
                                   const std::vector<std::int64_t>& pauseSectors) {
    std::int64_t stream = 0;  // bytes of the stream from LBA 0 before the track
    for (std::size_t index = 0; index < dataBytes.size(); ++index) {
        const std::int64_t pause =
            index == 0 ? kFirstPreGap : (index < pauseSectors.size() ? pauseSectors[index] : 0);
        if (index > 0) stream += pause * kSectorBytes;
        Track track;
        track.start = stream / kSectorBytes;
        track.pauseStart = track.start - pause;
        track.bytes = dataBytes[index];
        if (!m_tracks.empty()) m_tracks.back().end = track.pauseStart;
        m_tracks.push_back(track);
        stream += dataBytes[index];
    }
    m_leadOut = (stream + kSectorBytes - 1) / kSectorBytes;
    if (!m_tracks.empty()) m_tracks.back().end = m_leadOut;
}

int DiscAtOnceLayout::FirstShortTrack() const {
    for (std::size_t index = 0; index < m_tracks.size(); ++index)
        if (m_tracks[index].Sectors() < kShortestTrack) return static_cast<int>(index);
    return -1;
}

DiscAtOnceLayout::Position DiscAtOnceLayout::At(std::int64_t lba) const {
    for (std::size_t index = 0; index < m_tracks.size(); ++index) {
        const Track& track = m_tracks[index];
        if (lba >= track.pauseStart && lba < track.end)
            return {static_cast<int>(index) + 1, lba < track.start ? 0 : 1};
    }
    return {};
}
