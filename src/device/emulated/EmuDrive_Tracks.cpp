// What was recorded, for tests and `maple-cli virtual show/export`.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>

#include "CdTextPacks.h"
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

// `withPauses`: an audio track runs on to the next audio track's index 1,
// the pause before that track included (as CD rippers cut tracks).
std::vector<TrackExtent> Extents(const EmuMedia& media, bool withPauses = false) {
    std::vector<TrackExtent> extents;
    if (TraitsOf(media.kind).overwritable) {
        if (media.recordedEnd > 0)
            extents.push_back({1, EmuTrack::Mode::Data, 0, media.recordedEnd});
        return extents;
    }
    for (std::size_t index = 0; index < media.tracks.size(); ++index) {
        const EmuTrack& track = media.tracks[index];
        std::int64_t blocks = track.length;
        if (withPauses && index + 1 < media.tracks.size() && media.AudioPauseAt(track.End()) &&
            track.mode == EmuTrack::Mode::Audio)
            blocks = media.tracks[index + 1].start - track.start;
        extents.push_back({track.number, track.mode, media.DataOffset(track, track.start), blocks});
    }
    return extents;
}

// Minutes, seconds and frames as a cue sheet file writes them.
std::string CueTime(std::int64_t frames) {
    std::ostringstream text;
    text << std::setfill('0') << std::setw(2) << frames / (60 * 75) << ':' << std::setw(2)
         << frames / 75 % 60 << ':' << std::setw(2) << frames % 75;
    return text.str();
}

// TITLE, PERFORMER and SONGWRITER lines of the disc's or a track's CD-TEXT
// (a cue sheet has no escape for '"'; it becomes "'").
std::string TextLines(const CdText::Texts& texts, const char* indent) {
    std::string lines;
    const auto add = [&](const char* command, std::string text) {
        if (text.empty()) return;
        std::replace(text.begin(), text.end(), '"', '\'');
        lines += std::string(indent) + command + " \"" + text + "\"\n";
    };
    add("TITLE", texts.title);
    add("PERFORMER", texts.performer);
    add("SONGWRITER", texts.songwriter);
    return lines;
}

// A .cue sheet of the exported files: each track's INDEX 01 at the start of
// its file; the pause before it (INDEX 00) where it was exported, at the
// end of the previous file. The catalogue number, ISRCs and CD-TEXT go with
// the disc and its tracks.
std::string CueSheetText(const EmuMedia& media, const std::vector<TrackExtent>& extents,
                         const std::vector<std::string>& names) {
    std::ostringstream cue;
    const CdTextPacks::Decoded decoded =
        CdTextPacks::DecodePacks(media.cdText.data(), media.cdText.size());
    const CdText& text = decoded.text;
    if (!media.catalogue.empty()) cue << "CATALOG " << media.catalogue << "\n";
    cue << TextLines(text.disc, "");
    for (std::size_t index = 0; index < extents.size(); ++index) {
        const EmuTrack& track = media.tracks[index];
        const bool audio = extents[index].mode == EmuTrack::Mode::Audio;
        const std::int64_t pause = index > 0 ? track.start - media.PauseStart(index) : 0;
        const bool pauseBefore =
            pause > 0 && audio &&
            extents[index - 1].blocks == track.start - media.tracks[index - 1].start;
        char line[32];
        std::snprintf(line, sizeof line, "  TRACK %02d %s\n", track.number,
                      audio ? "AUDIO" : "MODE1/2048");
        std::string header = line;
        if (index < text.tracks.size()) header += TextLines(text.tracks[index], "    ");
        if (!track.isrc.empty()) header += "    ISRC " + track.isrc + "\n";
        if (pauseBefore)
            cue << header << "    INDEX 00 " << CueTime(extents[index - 1].blocks - pause) << "\n";
        cue << "FILE \"" << names[index] << "\" " << (audio ? "WAVE" : "BINARY") << "\n";
        if (!pauseBefore) cue << header;
        cue << "    INDEX 01 00:00:00\n";
    }
    return cue.str();
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
    const EmuMedia& media = m_state.RecordedMedia();
    const std::vector<TrackExtent> extents = Extents(media, true);
    std::vector<std::string> names;
    for (const TrackExtent& extent : extents) {
        char name[32];
        std::snprintf(name, sizeof name, "track%02d.%s", extent.number,
                      extent.mode == EmuTrack::Mode::Audio ? "wav" : "iso");
        names.emplace_back(name);
    }
    const bool audio = !media.tracks.empty() && !TraitsOf(media.kind).overwritable &&
                       media.tracks.front().mode == EmuTrack::Mode::Audio;
    if (audio) names.emplace_back("disc.cue");
    const auto pathOf = [&](std::size_t index) {
        return (std::filesystem::path(outFolder) / names[index]).string();
    };
    for (std::size_t index = 0; index < names.size(); ++index)
        if (!overwrite && std::filesystem::symlink_status(pathOf(index), error).type() !=
                              std::filesystem::file_type::not_found)
            return pathOf(index) + ": exists already";
    std::vector<std::uint8_t> bytes;
    for (std::size_t index = 0; index < extents.size(); ++index) {
        const TrackExtent& extent = extents[index];
        const bool wave = extent.mode == EmuTrack::Mode::Audio;
        const std::string path = pathOf(index);
        bytes.assign(static_cast<std::size_t>(extent.blocks * (wave ? 2352 : 2048)), 0);
        if (!m_data->Read(extent.offset, bytes.data(), static_cast<std::int64_t>(bytes.size())))
            return path + ": the medium data cannot be read";
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        if (wave) file << WaveHeader(static_cast<std::uint32_t>(bytes.size()));
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        if (!file.flush()) return path + ": cannot be written";
        if (written != nullptr) written->push_back(path);
    }
    if (!audio) return {};
    std::ofstream cue(pathOf(extents.size()), std::ios::binary | std::ios::trunc);
    cue << CueSheetText(media, extents, names);
    if (!cue.flush()) return pathOf(extents.size()) + ": cannot be written";
    if (written != nullptr) written->push_back(pathOf(extents.size()));
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
