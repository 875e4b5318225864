// libFuzzer target: the cue-sheet reader and the Disc-At-Once layout of
// what it accepts. Any text reads without a crash; a refusal names a line
// of the text; an accepted sheet has tracks 1, 2 ... each with an index 1,
// and, laid out with file lengths taken from the input, its index points
// in order and its pieces exactly the sectors from LBA -150 to the lead-out.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "CueSheetDisc.h"
#include "CueSheetReader.h"

namespace {
void CheckLayout(const CueSheet& sheet, std::string_view text) {
    std::vector<std::int64_t> bytes;
    for (std::size_t file = 0; file < sheet.files.size(); ++file)
        bytes.push_back(static_cast<std::int64_t>(text.size() * (file + 1)) * 9973);
    const CueSheetDisc disc(sheet, bytes);
    if (disc.Problem()) return;
    const DiscAtOnceLayout& layout = disc.Layout();
    if (layout.Tracks().size() != sheet.tracks.size()) std::abort();
    std::int64_t before = -DiscAtOnceLayout::kFirstPreGap;
    for (const DiscAtOnceLayout::Track& track : layout.Tracks()) {
        if (track.pauseStart != before || track.start < track.pauseStart ||
            track.end - track.start < DiscAtOnceLayout::kShortestTrack)
            std::abort();
        std::int64_t index = track.start;
        for (const std::int64_t next : track.indexes) {
            if (next < index || next >= track.end) std::abort();
            index = next;
        }
        before = track.end;
    }
    if (layout.Tracks().front().start != 0 || before != layout.LeadOut()) std::abort();
    std::int64_t sent = 0;
    for (const CueSheetDisc::Piece& piece : disc.Pieces()) {
        if (piece.bytes <= 0) std::abort();
        if (piece.file != CueSheetDisc::kSilence &&
            (piece.offset < 0 || piece.offset + piece.bytes > bytes[piece.file]))
            std::abort();
        sent += piece.bytes;
    }
    if (sent != layout.SectorsSent() * DiscAtOnceLayout::kSectorBytes) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const CueSheetReader::Result read = CueSheetReader::Read(text, "folder");
    std::size_t lines = 1;
    for (const char c : text) lines += c == '\n' ? 1 : 0;
    if (read.problem) {
        if (read.problem->line < 0 || static_cast<std::size_t>(read.problem->line) > lines)
            std::abort();
        return 0;
    }
    const CueSheet& sheet = read.sheet;
    if (sheet.tracks.empty() || sheet.tracks.size() > 99) std::abort();
    for (std::size_t at = 0; at < sheet.tracks.size(); ++at) {
        const CueSheet::Track& track = sheet.tracks[at];
        if (track.number != static_cast<int>(at) + 1 || track.Start().number != 1 ||
            (track.type != CueSheet::TrackType::Audio) == sheet.IsAudio())
            std::abort();
    }
    if (sheet.IsAudio()) CheckLayout(sheet, text);
    return 0;
}
