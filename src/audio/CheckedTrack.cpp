#include "CheckedTrack.h"

#include <algorithm>
#include <filesystem>

#include "AudioTrackWriter.h"
#include "Utf8Path.h"

namespace fs = std::filesystem;

namespace {
constexpr std::int64_t kShortestTrack = 300;  // sectors; the drive pads shorter tracks
}  // namespace

CheckedTrack CheckedTrack::Of(const std::string& path) {
    CheckedTrack track;
    track.source = track.written = path;
    std::error_code error;
    const auto bytes = fs::file_size(Utf8Path(path), error);
    if (error) return track;
    const auto modified = fs::last_write_time(Utf8Path(path), error);
    if (error) return track;
    track.bytes = static_cast<std::int64_t>(bytes);
    track.modified = static_cast<std::int64_t>(modified.time_since_epoch().count());
    return track;
}

bool CheckedTrack::Unchanged() const {
    const CheckedTrack now = Of(source);
    return bytes >= 0 && now.bytes == bytes && now.modified == modified;
}

std::int64_t CheckedTrack::Sectors() const {
    const std::int64_t blocks =
        (dataBytes + AudioTrackWriter::kBlockBytes - 1) / AudioTrackWriter::kBlockBytes;
    return std::max(blocks * AudioTrackWriter::kBlockSectors, kShortestTrack);
}
