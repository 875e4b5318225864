#include "EmuMetadata.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>
#include <vector>

#include "EmuFaultLines.h"

namespace {
constexpr const char* kMagic = "maple-virtual-drive";
constexpr std::int64_t kMaxCapacity = 0x7FFFFFFF;  // LBAs travel as 32-bit values
constexpr std::size_t kMaxTracks = 99;

std::vector<std::string> Words(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

bool Number(const std::string& word, std::int64_t& value) {
    const char* end = word.data() + word.size();
    const auto result = std::from_chars(word.data(), end, value);
    return !word.empty() && result.ec == std::errc() && result.ptr == end && value >= 0 &&
           value <= kMaxCapacity;
}

// "track N session S data|audio start A length L run-out R open|closed"
std::string ParseTrack(const std::vector<std::string>& w, EmuMedia& media) {
    EmuTrack track;
    std::int64_t number = 0, session = 0;
    const bool ok = w.size() == 12 && Number(w[1], number) && w[2] == "session" &&
                    Number(w[3], session) && (w[4] == "data" || w[4] == "audio") &&
                    w[5] == "start" && Number(w[6], track.start) && w[7] == "length" &&
                    Number(w[8], track.length) && w[9] == "run-out" &&
                    Number(w[10], track.runOut) && (w[11] == "open" || w[11] == "closed");
    if (!ok)
        return "expected 'track N session S data|audio start A length L run-out R open|closed'";
    if (media.tracks.size() >= kMaxTracks) return "more than 99 tracks";
    track.number = static_cast<int>(number);
    track.session = static_cast<int>(session);
    track.mode = w[4] == "audio" ? EmuTrack::Mode::Audio : EmuTrack::Mode::Data;
    track.closed = w[11] == "closed";
    media.tracks.push_back(track);
    return {};
}

// "isrc N CCOOOYYSSSSS": track N's ISRC (after the track's own line).
std::string ParseIsrc(const std::vector<std::string>& w, EmuMedia& media) {
    std::int64_t number = 0;
    if (w.size() != 3 || !Number(w[1], number) || w[2].size() != 12 || number < 1 ||
        number > static_cast<std::int64_t>(media.tracks.size()))
        return "expected 'isrc N' of a track listed before and 12 characters";
    media.tracks[static_cast<std::size_t>(number - 1)].isrc = w[2];
    return {};
}

// "cd-text HEX": the lead-in's packs, 18 bytes each.
std::string ParseCdText(const std::vector<std::string>& w, EmuMedia& media) {
    constexpr std::size_t kPackDigits = 36;
    const auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    if (w.size() != 2 || w[1].size() % kPackDigits != 0 ||
        !std::all_of(w[1].begin(), w[1].end(), hex))
        return "expected 'cd-text' and whole packs in hexadecimal";
    media.cdText.clear();
    for (std::size_t at = 0; at < w[1].size(); at += 2)
        media.cdText.push_back(
            static_cast<std::uint8_t>(std::stoi(w[1].substr(at, 2), nullptr, 16)));
    return {};
}

std::string ParseLine(const std::vector<std::string>& w, EmuMetadata& out) {
    const std::string& key = w[0];
    EmuMedia& media = out.media;
    if (key == "tray" && w.size() == 2 && (w[1] == "open" || w[1] == "closed")) {
        out.trayOpen = w[1] == "open";
    } else if (key == "medium" && w.size() == 2) {
        const auto kind = MediumKindFromName(w[1]);
        if (!kind) return "unknown medium '" + w[1] + "'";
        media.kind = *kind;
    } else if (key == "capacity" && w.size() == 2 && Number(w[1], media.capacity)) {
    } else if (key == "recorded-end" && w.size() == 2 && Number(w[1], media.recordedEnd)) {
    } else if (key == "unformatted" && w.size() == 1) {
        media.unformatted = true;
    } else if (key == "sessions" && (w.size() == 2 || (w.size() == 3 && w[2] == "finalized"))) {
        std::int64_t closed = 0;
        if (!Number(w[1], closed) || closed > static_cast<std::int64_t>(kMaxTracks))
            return "bad session count '" + w[1] + "'";
        media.closedSessions = static_cast<int>(closed);
        media.finalized = w.size() == 3;
    } else if (key == "track") {
        return ParseTrack(w, media);
    } else if (key == "isrc") {
        return ParseIsrc(w, media);
    } else if (key == "cd-text") {
        return ParseCdText(w, media);
    } else if (key == "catalogue" && w.size() == 2 && w[1].size() == 13 &&
               std::all_of(w[1].begin(), w[1].end(),
                           [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        media.catalogue = w[1];
    } else if (key == "inserted" && w.size() == 2 && Number(w[1], out.inserted)) {
    } else if (key == "fault") {
        return EmuFaultLines::Parse({w.begin() + 1, w.end()}, out.faults);
    } else {
        return "unknown or malformed line starting with '" + key + "'";
    }
    return {};
}

// A layout no drive could have recorded: refuse it rather than guess.
std::string CheckTracks(const EmuMedia& media) {
    std::int64_t end = 0;
    int session = 1;
    for (std::size_t i = 0; i < media.tracks.size(); ++i) {
        const EmuTrack& track = media.tracks[i];
        const std::string name = "track " + std::to_string(i + 1);
        if (track.number != static_cast<int>(i + 1))
            return name + ": tracks are not numbered 1, 2 ...";
        if (track.session < session || track.session > media.closedSessions + 1)
            return name + ": session number out of order";
        if (track.start < end || track.End() > media.capacity)
            return name + ": overlaps another track or passes the capacity";
        if (!track.closed && i + 1 != media.tracks.size())
            return name + ": only the last track may be open";
        if (!track.closed && track.session <= media.closedSessions)
            return name + ": open in a closed session";
        if (track.runOut > 2) return name + ": run-out longer than 2 blocks";
        end = track.End();
        session = track.session;
    }
    const int lastSession = media.tracks.empty() ? 0 : media.tracks.back().session;
    if (media.closedSessions > lastSession) return "more closed sessions than sessions with tracks";
    if (media.finalized && media.closedSessions == 0) return "finalized without a closed session";
    return {};
}

std::string CheckMedium(const EmuMedia& media) {
    const MediumTraits& traits = TraitsOf(media.kind);
    if (!media.Present())
        return media.tracks.empty() && media.capacity == 0 ? ""
                                                           : "tracks or capacity without a medium";
    if (media.capacity <= 0) return "medium without a capacity";
    if (traits.overwritable && !media.tracks.empty())
        return "dvd+rw keeps no tracks (use recorded-end)";
    if (media.unformatted && (!traits.overwritable || media.recordedEnd != 0))
        return "only a dvd+rw or bd-re without recorded blocks can be unformatted";
    if (media.recordedEnd > media.capacity || (!traits.overwritable && media.recordedEnd != 0))
        return "recorded-end out of range";
    if (!traits.recordable && (!media.finalized || media.tracks.empty()))
        return "a pressed disc must hold a finalized session";
    return CheckTracks(media);
}
}  // namespace

std::string EmuMetadata::Format() const {
    std::ostringstream text;
    text << kMagic << " 1\n";
    text << "tray " << (trayOpen ? "open" : "closed") << "\n";
    text << "medium " << TraitsOf(media.kind).name << "\n";
    if (media.Present()) {
        text << "capacity " << media.capacity << "\n";
        text << "sessions " << media.closedSessions << (media.finalized ? " finalized" : "")
             << "\n";
        if (media.recordedEnd > 0) text << "recorded-end " << media.recordedEnd << "\n";
        if (media.unformatted) text << "unformatted\n";
    }
    for (const EmuTrack& track : media.tracks)
        text << "track " << track.number << " session " << track.session << " "
             << (track.mode == EmuTrack::Mode::Audio ? "audio" : "data") << " start " << track.start
             << " length " << track.length << " run-out " << track.runOut << " "
             << (track.closed ? "closed" : "open") << "\n";
    for (const EmuTrack& track : media.tracks)
        if (!track.isrc.empty()) text << "isrc " << track.number << " " << track.isrc << "\n";
    if (!media.catalogue.empty()) text << "catalogue " << media.catalogue << "\n";
    if (!media.cdText.empty()) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        text << "cd-text ";
        for (const std::uint8_t byte : media.cdText)
            text << kDigits[byte >> 4] << kDigits[byte & 15];
        text << "\n";
    }
    text << EmuFaultLines::Format(faults);
    if (inserted > 0) text << "inserted " << inserted << "\n";
    return text.str();
}

std::string EmuMetadata::Parse(const std::string& text, EmuMetadata& out) {
    out = EmuMetadata{};
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    bool headerSeen = false;
    while (std::getline(lines, line)) {
        ++number;
        const std::vector<std::string> words = Words(line);
        if (words.empty() || words[0][0] == '#') continue;
        std::string error;
        if (!headerSeen)
            error = words.size() == 2 && words[0] == kMagic && words[1] == "1"
                        ? ""
                        : "not a virtual drive metadata file (version 1)";
        else
            error = ParseLine(words, out);
        if (!error.empty()) return "line " + std::to_string(number) + ": " + error;
        headerSeen = true;
    }
    if (!headerSeen) return "empty metadata file";
    const std::string problem = CheckMedium(out.media);
    return problem.empty() ? "" : "layout: " + problem;
}
