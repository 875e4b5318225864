#include "AudioTrackList.h"

#include <algorithm>
#include <set>

#include "AudioBurnEngine.h"
#include "DiscAtOnceLayout.h"

namespace {
constexpr std::int64_t kSectorsPerWrite = 8;
constexpr std::int64_t kShortestTrack = 300;
}  // namespace

std::vector<AudioTrack> AudioTrackList::Add(const std::vector<std::string>& paths) {
    std::vector<AudioTrack> refused;
    for (const std::string& path : paths) {
        AudioFileFacts facts = InspectAudioFile(path);
        AudioTrack track{path, std::move(facts), 2, {}};
        if (track.facts.accepted) track.tags = AudioTags::Read(path);
        (track.facts.accepted ? m_tracks : refused).push_back(std::move(track));
    }
    return refused;
}

bool AudioTrackList::Rename(std::size_t row, const std::string& path) {
    if (row >= m_tracks.size()) return false;
    AudioFileFacts facts = InspectAudioFile(path);
    if (!facts.accepted) return false;
    m_tracks[row] = {path, std::move(facts), m_tracks[row].pauseSeconds, AudioTags::Read(path)};
    return true;
}

void AudioTrackList::Remove(const std::vector<std::size_t>& rows) {
    const std::set<std::size_t> gone(rows.begin(), rows.end());
    std::vector<AudioTrack> kept;
    for (std::size_t i = 0; i < m_tracks.size(); ++i)
        if (gone.count(i) == 0) kept.push_back(std::move(m_tracks[i]));
    m_tracks = std::move(kept);
}

std::size_t AudioTrackList::Move(const std::vector<std::size_t>& rows, std::size_t before) {
    const std::set<std::size_t> moving(rows.begin(), rows.end());
    std::vector<AudioTrack> stay, moved;
    std::size_t insertAt = 0;
    for (std::size_t i = 0; i < m_tracks.size(); ++i) {
        if (i == before) insertAt = stay.size();
        (moving.count(i) != 0 ? moved : stay).push_back(std::move(m_tracks[i]));
    }
    if (before >= m_tracks.size()) insertAt = stay.size();
    stay.insert(stay.begin() + static_cast<std::ptrdiff_t>(insertAt),
                std::make_move_iterator(moved.begin()), std::make_move_iterator(moved.end()));
    m_tracks = std::move(stay);
    return insertAt;
}

void AudioTrackList::SetTitle(std::size_t row, const std::string& title) {
    if (row >= m_tracks.size()) return;
    m_tracks[row].tags.title = title;
    m_tracks[row].tags.Normalise();
}

void AudioTrackList::SetPerformer(std::size_t row, const std::string& performer) {
    if (row >= m_tracks.size()) return;
    m_tracks[row].tags.performer = performer;
    m_tracks[row].tags.Normalise();
}

AlbumTags AudioTrackList::Album() const {
    std::vector<AudioTags> tags;
    tags.reserve(m_tracks.size());
    for (const AudioTrack& track : m_tracks) tags.push_back(track.tags);
    return AlbumTags::Of(tags);
}

std::vector<std::string> AudioTrackList::Paths() const {
    std::vector<std::string> paths;
    for (const AudioTrack& track : m_tracks) paths.push_back(track.path);
    return paths;
}

std::int64_t AudioTrackList::TotalBytes() const {
    std::int64_t total = 0;
    for (const AudioTrack& track : m_tracks) total += track.facts.soundBytes;
    return total;
}

bool AudioTrackList::SetPause(std::size_t row, std::int32_t seconds) {
    if (row >= m_tracks.size() || seconds < 0 || seconds > AudioBurnOptions::kLongestPause)
        return false;
    m_tracks[row].pauseSeconds = seconds;
    return true;
}

std::vector<std::int32_t> AudioTrackList::PauseSeconds() const {
    std::vector<std::int32_t> seconds;
    for (const AudioTrack& track : m_tracks) seconds.push_back(track.pauseSeconds);
    return seconds;
}

std::int64_t AudioTrackList::DiscBlocks(bool discAtOnce) const {
    if (discAtOnce) {
        std::vector<std::int64_t> bytes, pauses;
        for (const AudioTrack& track : m_tracks) {
            bytes.push_back(track.facts.cdSectors * DiscAtOnceLayout::kSectorBytes);
            pauses.push_back(track.pauseSeconds * DiscAtOnceLayout::kSectorsPerSecond);
        }
        return DiscAtOnceLayout(bytes, pauses).LeadOut();
    }
    std::int64_t blocks = 0;
    for (const AudioTrack& track : m_tracks) {
        const std::int64_t written =
            (track.facts.cdSectors + kSectorsPerWrite - 1) / kSectorsPerWrite * kSectorsPerWrite;
        blocks += std::max(written, kShortestTrack);
    }
    if (!m_tracks.empty()) blocks += kPauseBlocks * static_cast<std::int64_t>(m_tracks.size() - 1);
    return blocks;
}
