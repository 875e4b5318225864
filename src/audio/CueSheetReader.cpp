#include "CueSheetReader.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "AudioCueSheet.h"
#include "CdTextPacks.h"
#include "UnicodeText.h"
#include "Utf8Path.h"

namespace {
constexpr int kLastTrack = 99, kLastIndex = 99;
constexpr std::int64_t kFirstPreGap = 150;  // sectors before track 1's index 1
constexpr std::size_t kLargestSheet = 1 << 20;

std::string Upper(std::string word) {
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return word;
}

// The words of a line; a quoted word may hold blanks. False for an open quote.
bool SplitWords(std::string_view line, std::vector<std::string>& words) {
    std::size_t at = 0;
    while (at < line.size()) {
        if (std::isspace(static_cast<unsigned char>(line[at])) != 0) {
            ++at;
        } else if (line[at] == '"') {
            const std::size_t end = line.find('"', at + 1);
            if (end == std::string_view::npos) return false;
            words.emplace_back(line.substr(at + 1, end - at - 1));
            at = end + 1;
        } else {
            std::size_t end = at;
            while (end < line.size() && std::isspace(static_cast<unsigned char>(line[end])) == 0)
                ++end;
            words.emplace_back(line.substr(at, end - at));
            at = end;
        }
    }
    return true;
}

// "mm:ss:ff" (minutes up to 99) as sectors; -1 when it is not one.
std::int64_t Sectors(const std::string& time) {
    int minutes = 0, seconds = 0, frames = 0;
    std::size_t fields = 0, digits = 0;
    int* field[] = {&minutes, &seconds, &frames};
    for (const char c : time) {
        if (c == ':' && digits > 0 && fields < 2) {
            ++fields;
            digits = 0;
        } else if (c >= '0' && c <= '9' && digits < 2) {
            *field[fields] = *field[fields] * 10 + (c - '0');
            ++digits;
        } else {
            return -1;
        }
    }
    if (fields != 2 || digits == 0 || seconds > 59 || frames > 74) return -1;
    return (std::int64_t{minutes} * 60 + seconds) * 75 + frames;
}

// A decimal number of one or two digits; -1 otherwise.
int Number(const std::string& word) {
    if (word.empty() || word.size() > 2 ||
        !std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stoi(word);
}

// Index numbers go 0, 1, 2 ... or 1, 2 ...: a track reached index 1 when its
// last one is 1 or more.
bool HasIndexOne(const CueSheet::Track& track) {
    return !track.indexes.empty() && track.indexes.back().number >= 1;
}

// The sheet as UTF-8: sheets from older programs are often ISO 8859-1.
std::string AsUtf8(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (UnicodeText::ValidUtf8(text) == text) return std::string(text);
    std::u16string wide;
    for (const char c : text) wide.push_back(static_cast<unsigned char>(c));
    return UnicodeText::Utf16ToUtf8(wide);
}
}  // namespace

bool CueSheetReader::Refuse(CueSheetText reason, std::vector<std::string> values, int line) {
    m_problem = Problem{line < 0 ? m_line : line, reason, std::move(values)};
    return false;
}

CueSheet::Track* CueSheetReader::Current() {
    return m_sheet.tracks.empty() ? nullptr : &m_sheet.tracks.back();
}

CueSheetReader::Result CueSheetReader::Read(std::string_view text, const std::string& folder) {
    CueSheetReader reader;
    reader.m_folder = folder;
    const std::string utf8 = AsUtf8(text);
    std::size_t at = 0;
    bool going = true;
    while (going && at < utf8.size()) {
        std::size_t end = utf8.find('\n', at);
        if (end == std::string::npos) end = utf8.size();
        std::string_view line(utf8.data() + at, end - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++reader.m_line;
        Words words;
        going = SplitWords(line, words) ? reader.Take(reader.m_line, words)
                                        : reader.Refuse(CueSheetText::NotUnderstood);
        at = end + 1;
    }
    if (going) reader.Finish();
    return {std::move(reader.m_sheet), std::move(reader.m_problem)};
}

CueSheetReader::Result CueSheetReader::ReadFile(const std::string& path) {
    std::ifstream file(Utf8Path(path), std::ios::binary);
    std::string text;
    if (file) {
        text.resize(kLargestSheet + 1);
        file.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(file.gcount()));
    }
    if (!file.is_open() || file.bad() || text.size() > kLargestSheet) {
        Result result;
        result.problem =
            Problem{0,
                    CueSheetText::CannotRead,
                    {text.size() > kLargestSheet ? "larger than 1 MiB" : "it cannot be opened"}};
        return result;
    }
    return Read(text, Utf8Of(Utf8Path(path).parent_path()));
}

std::string CueSheetReader::Describe(const std::string& sheet, const Problem& problem) {
    std::vector<std::string> values = problem.values;
    values.resize(2);
    if (problem.reason == CueSheetText::CannotRead) return Text(problem.reason, {sheet, values[0]});
    const std::string reason = Text(problem.reason, {values[0], values[1]});
    if (problem.line == 0) return sheet + ": " + reason;
    return Text(CueSheetText::LineProblem, {sheet, std::to_string(problem.line), reason});
}

bool CueSheetReader::Take(int line, const Words& words) {
    m_line = line;
    if (words.empty()) return true;
    const std::string command = Upper(words.front());
    if (command == "REM") return true;  // remarks, also the "REM GENRE ..." of rippers
    if (command == "FILE") return TakeFile(words);
    if (command == "TRACK") return TakeTrack(words);
    if (command == "INDEX") return TakeIndex(words);
    if (command == "PREGAP" || command == "POSTGAP") return TakeGap(words);
    if (command == "FLAGS") return TakeFlags(words);
    if (command == "TITLE" || command == "PERFORMER" || command == "SONGWRITER")
        return TakeText(words);
    if (command == "CATALOG" || command == "ISRC") return TakeCode(words);
    return Refuse(CueSheetText::NotRecordable);
}

bool CueSheetReader::TakeFile(const Words& words) {
    if (words.size() != 3 || words[1].empty()) return Refuse(CueSheetText::NotUnderstood);
    // Every file holds an index point; a data track is one file.
    if (!m_sheet.files.empty() && !m_indexInFile)
        return Refuse(CueSheetText::NotRecordable, {}, m_sheet.files.back().line);
    if (!m_sheet.tracks.empty() && !m_sheet.IsAudio()) return Refuse(CueSheetText::NotRecordable);
    m_indexInFile = false;
    const std::string type = Upper(words[2]);
    CueSheet::File file;
    if (type == "BINARY")
        file.type = CueSheet::FileType::Binary;
    else if (type == "MOTOROLA")
        file.type = CueSheet::FileType::Motorola;
    else if (type == "WAVE")
        file.type = CueSheet::FileType::Wave;
    else
        return Refuse(CueSheetText::NotRecordable);
    const std::filesystem::path name = Utf8Path(words[1]);
    // Forward slashes on every system, as the windows show paths.
    const std::u8string path =
        (name.is_absolute() || m_folder.empty() ? name : Utf8Path(m_folder) / name)
            .generic_u8string();
    file.path.assign(path.begin(), path.end());
    file.line = m_line;
    m_sheet.files.push_back(std::move(file));
    return true;
}

bool CueSheetReader::TakeTrack(const Words& words) {
    const int number = words.size() == 3 ? Number(words[1]) : -1;
    const CueSheet::Track* previous = Current();
    if (number < 1) return Refuse(CueSheetText::NotUnderstood);
    if (m_sheet.files.empty() || number != (previous != nullptr ? previous->number + 1 : 1) ||
        number > kLastTrack)
        return Refuse(CueSheetText::NotRecordable);
    if (previous != nullptr && !HasIndexOne(*previous))
        return Refuse(CueSheetText::NotRecordable, {}, previous->line);
    const std::string type = Upper(words[2]);
    CueSheet::Track track;
    track.number = number;
    track.line = m_line;
    track.file = m_sheet.files.size() - 1;
    if (type == "AUDIO")
        track.type = CueSheet::TrackType::Audio;
    else if (type == "MODE1/2048")
        track.type = CueSheet::TrackType::Mode1Cooked;
    else if (type == "MODE1/2352")
        track.type = CueSheet::TrackType::Mode1Raw;
    else if (type.starts_with("MODE2/"))
        return Refuse(CueSheetText::Mode2);
    else if (type == "CDG")
        return Refuse(CueSheetText::Cdg);
    else
        return Refuse(CueSheetText::NotRecordable);
    const bool audio = track.type == CueSheet::TrackType::Audio;
    if (previous != nullptr && m_sheet.IsAudio() != audio) return Refuse(CueSheetText::Mixed);
    if (previous != nullptr && !audio) return Refuse(CueSheetText::OneDataTrack);
    const CueSheet::FileType fileType = m_sheet.files.back().type;
    if ((!audio && fileType != CueSheet::FileType::Binary) ||
        (!audio && !m_sheet.catalogue.empty()))
        return Refuse(CueSheetText::NotRecordable);
    m_sheet.tracks.push_back(std::move(track));
    return true;
}

bool CueSheetReader::TakeIndex(const Words& words) {
    CueSheet::Track* track = Current();
    const int number = words.size() == 3 ? Number(words[1]) : -1;
    const std::int64_t sector = words.size() == 3 ? Sectors(words[2]) : -1;
    if (number < 0 || sector < 0) return Refuse(CueSheetText::NotUnderstood);
    if (track == nullptr || number > kLastIndex || track->postgap != 0)
        return Refuse(CueSheetText::NotRecordable);
    const std::size_t file = m_sheet.files.size() - 1;
    const bool first = track->indexes.empty();
    const int expected = first ? (number == 0 ? 0 : 1) : track->indexes.back().number + 1;
    // Index points go forward through the files; the disc's sound starts
    // with the first file's first sector.
    const CueSheet::Index* before =
        !first
            ? &track->indexes.back()
            : (m_sheet.tracks.size() > 1 ? &m_sheet.tracks[m_sheet.tracks.size() - 2].indexes.back()
                                         : nullptr);
    const bool backwards = before != nullptr && before->file == file && sector < before->sector;
    if (number != expected || backwards || (number == 0 && before == nullptr && sector != 0) ||
        (track->type != CueSheet::TrackType::Audio && (number != 1 || sector != 0)))
        return Refuse(CueSheetText::NotRecordable);
    if (before == nullptr && number == 1 && sector > 0)
        track->indexes.push_back({0, file, 0, m_line});
    track->indexes.push_back({number, file, sector, m_line});
    m_indexInFile = true;
    if (number == 1 && track->number == 1) {
        // Track 1's pre-gap is 2 seconds, sound from the file included.
        if (file != 0 || sector > kFirstPreGap) return Refuse(CueSheetText::HiddenTrack);
        if (sector + track->pregap > kFirstPreGap)
            return Refuse(CueSheetText::NotRecordable, {}, track->pregapLine);
    }
    return true;
}

bool CueSheetReader::TakeGap(const Words& words) {
    CueSheet::Track* track = Current();
    const std::int64_t sectors = words.size() == 2 ? Sectors(words[1]) : -1;
    if (sectors < 0) return Refuse(CueSheetText::NotUnderstood);
    const bool pregap = Upper(words[0]) == "PREGAP";
    if (track == nullptr || (pregap ? track->pregapLine != 0 || !track->indexes.empty()
                                    : track->postgap != 0 || track->indexes.empty()))
        return Refuse(CueSheetText::NotRecordable);
    if (pregap) {
        track->pregap = sectors;
        track->pregapLine = m_line;
    } else {
        track->postgap = sectors;
    }
    return true;
}

bool CueSheetReader::TakeFlags(const Words& words) {
    CueSheet::Track* track = Current();
    if (track == nullptr || track->type != CueSheet::TrackType::Audio)
        return Refuse(CueSheetText::NotRecordable);
    for (std::size_t at = 1; at < words.size(); ++at) {
        const std::string flag = Upper(words[at]);
        if (flag == "DCP")
            track->copyPermitted = true;
        else if (flag == "PRE")
            track->preEmphasis = true;
        else
            return Refuse(CueSheetText::NotRecordable);
    }
    return true;
}

bool CueSheetReader::TakeText(const Words& words) {
    if (words.size() != 2) return Refuse(CueSheetText::NotUnderstood);
    CueSheet::Track* track = Current();
    if (!m_sheet.IsAudio() && track != nullptr) return Refuse(CueSheetText::NotRecordable);
    CdText::Texts& texts = track != nullptr ? track->texts : m_sheet.disc;
    const std::string field = Upper(words[0]);
    std::string& text = field == "TITLE"
                            ? texts.title
                            : (field == "PERFORMER" ? texts.performer : texts.songwriter);
    if (!text.empty() || words[1].empty()) return Refuse(CueSheetText::NotRecordable);
    // CD-TEXT holds ISO 8859-1: a text it would change is not recorded exactly.
    CdText probe;
    probe.disc.title = words[1];
    probe.tracks.resize(1);
    if (!CdTextPacks::Encode(probe).replaced.empty()) return Refuse(CueSheetText::NotRecordable);
    text = words[1];
    if (track == nullptr && m_textLine == 0) m_textLine = m_line;
    return true;
}

bool CueSheetReader::TakeCode(const Words& words) {
    if (words.size() != 2) return Refuse(CueSheetText::NotUnderstood);
    CueSheet::Track* track = Current();
    if (Upper(words[0]) == "CATALOG") {
        if (track != nullptr || !m_sheet.catalogue.empty() ||
            !AudioCueSheet::ValidCatalogue(words[1]))
            return Refuse(CueSheetText::NotRecordable);
        m_sheet.catalogue = words[1];
        return true;
    }
    if (track == nullptr || track->type != CueSheet::TrackType::Audio || !track->isrc.empty() ||
        !AudioCueSheet::ValidIsrc(words[1]))
        return Refuse(CueSheetText::NotRecordable);
    track->isrc = words[1];
    return true;
}

bool CueSheetReader::Finish() {
    if (m_sheet.tracks.empty()) return Refuse(CueSheetText::NoTracks, {}, 0);
    if (CdTextPacks::Encode(m_sheet.Texts()).tooLong)
        return Refuse(CueSheetText::TextTooLong, {}, 0);
    const CueSheet::Track& last = m_sheet.tracks.back();
    if (!HasIndexOne(last)) return Refuse(CueSheetText::NotRecordable, {}, last.line);
    if (!m_indexInFile) return Refuse(CueSheetText::NotRecordable, {}, m_sheet.files.back().line);
    if (!m_sheet.IsAudio() && m_textLine != 0)
        return Refuse(CueSheetText::NotRecordable, {}, m_textLine);
    return true;
}
