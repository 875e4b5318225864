// What was recorded, for tests and `maple-cli virtual show/export`.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "EmuDataFile.h"
#include "EmuDrive.h"

namespace {
// The recorded tracks as (number, mode, data offset, blocks); DVD+RW holds one.
struct TrackExtent {
    int number;
    EmuTrack::Mode mode;
    std::int64_t offset;
    std::int64_t blocks;
};

std::vector<TrackExtent> Extents(const EmuMedia& media) {
    std::vector<TrackExtent> extents;
    if (TraitsOf(media.kind).overwritable) {
        if (media.recordedEnd > 0)
            extents.push_back({1, EmuTrack::Mode::Data, 0, media.recordedEnd});
        return extents;
    }
    for (const EmuTrack& track : media.tracks)
        extents.push_back(
            {track.number, track.mode, media.DataOffset(track, track.start), track.length});
    return extents;
}

// RIFF/WAVE header of CD-DA: 44100 Hz, 16 bits, 2 channels.
std::string WaveHeader(std::uint32_t dataBytes) {
    std::string header(44, '\0');
    auto put32 = [&header](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) header[at + i] = static_cast<char>(v >> (8 * i));
    };
    auto put16 = [&header](std::size_t at, std::uint16_t v) {
        header[at] = static_cast<char>(v);
        header[at + 1] = static_cast<char>(v >> 8);
    };
    header.replace(0, 4, "RIFF");
    put32(4, 36 + dataBytes);
    header.replace(8, 8, "WAVEfmt ");
    put32(16, 16);         // fmt chunk size
    put16(20, 1);          // PCM
    put16(22, 2);          // channels
    put32(24, 44100);      // samples per second
    put32(28, 44100 * 4);  // bytes per second
    put16(32, 4);          // block align
    put16(34, 16);         // bits per sample
    header.replace(36, 4, "data");
    put32(40, dataBytes);
    return header;
}

const char* StateName(DiscState state) {
    switch (state) {
        case DiscState::Blank:
            return "blank";
        case DiscState::Appendable:
            return "appendable";
        case DiscState::Complete:
            return "complete";
    }
    return "";
}
}  // namespace

bool EmuDrive::ReadTrack(int trackNumber, std::vector<std::uint8_t>& bytes) const {
    for (const TrackExtent& extent : Extents(m_state.RecordedMedia())) {
        if (extent.number != trackNumber) continue;
        const int blockSize = extent.mode == EmuTrack::Mode::Audio ? 2352 : 2048;
        bytes.assign(static_cast<std::size_t>(extent.blocks * blockSize), 0);
        return m_data->Read(extent.offset, bytes.data(), extent.blocks * blockSize);
    }
    return false;
}

std::string EmuDrive::ExportTracks(const std::string& outFolder, std::vector<std::string>* written,
                                   bool overwrite) const {
    std::error_code error;
    std::filesystem::create_directories(outFolder, error);
    if (error) return outFolder + ": " + error.message();
    const std::vector<TrackExtent> extents = Extents(m_state.RecordedMedia());
    const auto pathOf = [&](const TrackExtent& extent) {
        char name[32];
        std::snprintf(name, sizeof name, "track%02d.%s", extent.number,
                      extent.mode == EmuTrack::Mode::Audio ? "wav" : "iso");
        return (std::filesystem::path(outFolder) / name).string();
    };
    for (const TrackExtent& extent : extents)
        if (!overwrite && std::filesystem::symlink_status(pathOf(extent), error).type() !=
                              std::filesystem::file_type::not_found)
            return pathOf(extent) + ": exists already";
    std::vector<std::uint8_t> bytes;
    for (const TrackExtent& extent : extents) {
        const bool audio = extent.mode == EmuTrack::Mode::Audio;
        const std::string path = pathOf(extent);
        if (!ReadTrack(extent.number, bytes)) return path + ": the medium data cannot be read";
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        if (audio) file << WaveHeader(static_cast<std::uint32_t>(bytes.size()));
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        if (!file.flush()) return path + ": cannot be written";
        if (written != nullptr) written->push_back(path);
    }
    return {};
}

std::string EmuDrive::Describe() const {
    const EmuMedia& media = m_state.RecordedMedia();
    std::ostringstream text;
    text << "tray: " << (m_state.trayOpen ? "open" : "closed") << "\n";
    if (!media.Present()) {
        text << "medium: none\n";
        return text.str();
    }
    text << "medium: " << TraitsOf(media.kind).name << ", capacity " << media.capacity
         << " blocks\n";
    text << "state: " << StateName(media.State()) << "\n";
    text << "sessions: " << media.closedSessions << " closed"
         << (media.finalized ? ", finalized" : "") << "\n";
    if (media.unformatted)
        text << "format: none (formatted before the first write)\n";
    else if (TraitsOf(media.kind).overwritable)
        text << "recorded: " << media.recordedEnd << " blocks\n";
    for (const EmuTrack& track : media.tracks)
        text << "track " << track.number << ": session " << track.session << ", "
             << (track.mode == EmuTrack::Mode::Audio ? "audio" : "data") << ", start "
             << track.start << ", length " << track.length
             << (track.runOut > 0 ? ", run-out " + std::to_string(track.runOut) : "")
             << (track.closed ? "" : ", open") << "\n";
    const std::int64_t next = media.NextWritableAddress();
    if (next >= 0 && !TraitsOf(media.kind).overwritable)
        text << "next writable address: " << next << "\n";
    return text.str();
}
