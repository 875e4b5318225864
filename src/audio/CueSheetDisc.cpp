#include "CueSheetDisc.h"

#include <algorithm>
#include <string>

namespace {
constexpr std::int64_t kSector = DiscAtOnceLayout::kSectorBytes;
}  // namespace

CueSheetDisc::CueSheetDisc(const CueSheet& sheet, const std::vector<std::int64_t>& soundBytes) {
    std::vector<DiscAtOnceLayout::Track> tracks;
    if (!Lay(sheet, soundBytes, tracks)) return;
    m_layout = DiscAtOnceLayout(std::move(tracks), m_lba);
    const int shortTrack = m_layout.FirstShortTrack();
    if (shortTrack >= 0)
        m_problem = CueSheetReader::Problem{sheet.tracks[static_cast<std::size_t>(shortTrack)].line,
                                            CueSheetText::TrackShort,
                                            {std::to_string(shortTrack + 1)}};
}

void CueSheetDisc::Silence(std::int64_t sectors) {
    if (sectors > 0) m_pieces.push_back({kSilence, 0, sectors * kSector});
    m_lba += sectors;
}

// The stretch [from, to) of the files' sectors one after the other, as
// pieces: each file's sound, then the zeros that pad it to a whole sector.
void CueSheetDisc::Sound(std::int64_t from, std::int64_t to) {
    for (std::size_t file = 0; file < m_fileStarts.size() && from < to; ++file) {
        const std::int64_t start = m_fileStarts[file];
        const std::int64_t end = start + (m_fileBytes[file] + kSector - 1) / kSector;
        if (from >= end) continue;
        const std::int64_t until = std::min(to, end);
        const std::int64_t offset = (from - start) * kSector;
        const std::int64_t bytes = std::min((until - from) * kSector, m_fileBytes[file] - offset);
        m_pieces.push_back({file, offset, bytes});
        if (bytes < (until - from) * kSector)
            m_pieces.push_back({kSilence, 0, (until - from) * kSector - bytes});
        m_lba += until - from;
        from = until;
    }
}

bool CueSheetDisc::Lay(const CueSheet& sheet, const std::vector<std::int64_t>& soundBytes,
                       std::vector<DiscAtOnceLayout::Track>& tracks) {
    std::int64_t total = 0;
    for (std::size_t file = 0; file < sheet.files.size(); ++file) {
        m_fileBytes.push_back(file < soundBytes.size() ? soundBytes[file] : 0);
        m_fileStarts.push_back(total);
        total += (m_fileBytes.back() + kSector - 1) / kSector;
    }
    const auto at = [this](const CueSheet::Index& index) {
        return m_fileStarts[index.file] + index.sector;
    };
    const std::vector<CueSheet::Track>& sheetTracks = sheet.tracks;
    for (std::size_t number = 0; number < sheetTracks.size(); ++number) {
        const CueSheet::Track& track = sheetTracks[number];
        for (const CueSheet::Index& index : track.indexes)
            if (index.sector * kSector >= m_fileBytes[index.file]) {
                m_problem = CueSheetReader::Problem{
                    index.line, CueSheetText::FileShort, {sheet.files[index.file].path}};
                return false;
            }
        const std::int64_t from = at(track.First());
        const std::int64_t to =
            number + 1 < sheetTracks.size() ? at(sheetTracks[number + 1].First()) : total;
        DiscAtOnceLayout::Track laid;
        laid.pauseStart = m_lba;
        if (number == 0) Silence(DiscAtOnceLayout::kFirstPreGap - track.pregap - at(track.Start()));
        Silence(track.pregap);
        laid.start = m_lba + at(track.Start()) - from;
        for (const CueSheet::Index& index : track.indexes)
            if (index.number >= 2) laid.indexes.push_back(m_lba + at(index) - from);
        laid.control = static_cast<std::uint8_t>((track.preEmphasis ? 0x01 : 0x00) |
                                                 (track.copyPermitted ? 0x02 : 0x00));
        Sound(from, to);
        Silence(track.postgap);
        if (!tracks.empty()) tracks.back().end = laid.pauseStart;
        tracks.push_back(laid);
    }
    if (!tracks.empty()) tracks.back().end = m_lba;
    return true;
}
