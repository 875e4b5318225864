#include "CopyExtent.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "EngineMessages.h"
#include "MediaClasses.h"
#include "ScsiStatus.h"
#include "VolumeSpaceSize.h"
#include "modMMC.h"

namespace {
constexpr std::int64_t kRunOutBlocks = 2;  // after a Track At Once data track on CD

std::int64_t BigEndian32(const std::uint8_t* p) {
    return std::int64_t{p[0]} << 24 | std::int64_t{p[1]} << 16 | std::int64_t{p[2]} << 8 | p[3];
}

// A track holding recorded data, as READ TRACK INFORMATION describes it.
struct RecordedTrack {
    int session = 0;
    std::int64_t start = 0, size = 0;
};

// The tracks with recorded data (the invisible track of an appendable disc,
// flagged blank, is left out); nullopt when the drive does not tell.
std::optional<std::vector<RecordedTrack>> RecordedTracks(const std::string& drive) {
    modMMC::DiscInformationBlock disc{};
    if (modMMC::ReadDiscInformation(drive, disc) != ScsiStatus::kGood) return std::nullopt;
    const int lastTrack = disc[6];  // last track in the last session (LSB; ours stay below 256)
    std::vector<RecordedTrack> tracks;
    for (int number = 1; number <= lastTrack; ++number) {
        std::array<std::uint8_t, 36> info{};
        if (!modMMC::ReadTrackInformation(drive, 1, static_cast<std::uint32_t>(number), info.data(),
                                          static_cast<std::uint16_t>(info.size())))
            return std::nullopt;
        if ((info[6] & 0x40) != 0) continue;  // byte 6 bit 6: Blank
        const std::int64_t size = BigEndian32(&info[24]);
        if (size > 0) tracks.push_back({info[3] | info[33] << 8, BigEndian32(&info[8]), size});
    }
    return tracks;
}

// The end of the first track from READ TOC: the start of the next track or
// of the lead-out; nullopt when the drive does not tell.
std::optional<std::int64_t> TocTrackEnd(const std::string& drive) {
    std::array<std::uint8_t, 804> toc{};  // 4-byte header, up to 100 descriptors
    if (!modMMC::ReadToc(drive, toc.data(), static_cast<std::uint16_t>(toc.size())))
        return std::nullopt;
    const std::size_t length = std::min<std::size_t>(toc.size(), (toc[0] << 8 | toc[1]) + 2);
    constexpr std::size_t kSecond = 4 + 8;  // the descriptor after track 1's: track 2 or AAh
    if (length < kSecond + 8) return std::nullopt;
    return BigEndian32(&toc[kSecond + 4]);
}

// The blocks sectors 0-16 declare (0 without an ISO 9660 volume).
std::int64_t DeclaredBlocks(const std::string& drive) {
    std::vector<std::uint8_t> head(kDeclaringBytes, 0);
    constexpr std::int32_t kSector16 = 16 * 2048;
    if (modMMC::Read10(drive, 0, 17, head.data(), static_cast<std::int32_t>(head.size())) !=
        ScsiStatus::kGood) {
        // Sectors 0-15 may be unreadable: sector 16 alone still tells the volume.
        std::fill(head.begin(), head.end(), std::uint8_t{0});
        if (modMMC::Read10(drive, 16, 1, head.data() + kSector16, 2048) != ScsiStatus::kGood)
            return 0;
    }
    return DeclaredVolumeBlocks(head);
}

// Where the last of several sessions starts; -1 for a single session.
std::int64_t LastSessionStart(const std::vector<RecordedTrack>& tracks) {
    if (tracks.empty() || tracks.front().session == tracks.back().session) return -1;
    std::int64_t start = tracks.back().start;
    for (const RecordedTrack& track : tracks)
        if (track.session == tracks.back().session) start = std::min(start, track.start);
    return start;
}

std::string Refusal(const std::vector<RecordedTrack>& tracks) {
    if (tracks.size() > 1) return Text(EngineMessage::ManyTracks, {std::to_string(tracks.size())});
    return {};
}
}  // namespace

CopyExtent CopyExtent::Of(const std::string& drive, std::int64_t lastLba, bool cd) {
    CopyExtent extent;
    const auto tracks = RecordedTracks(drive);
    if (tracks) extent.lastSession = LastSessionStart(*tracks);
    if (extent.lastSession >= 0) return extent;
    if (tracks) extent.refusal = Refusal(*tracks);
    if (!extent.refusal.empty()) return extent;
    extent.sectors = DeclaredBlocks(drive);
    if (extent.sectors > 0) return extent;
    if (MediaClasses::Overwritable(modMMC::GetMediaType(drive))) {
        extent.rule = Rule::WholeMedium;
        extent.sectors = lastLba + 1;
        return extent;
    }
    extent.rule = Rule::Track;
    std::optional<std::int64_t> end;
    if (tracks && tracks->size() == 1) end = tracks->front().start + tracks->front().size;
    if (!end) end = TocTrackEnd(drive);
    extent.sectors = end && *end > 0 ? *end : lastLba + 1;
    if (cd) extent.runOutTail = std::min(kRunOutBlocks, extent.sectors - 1);
    return extent;
}
