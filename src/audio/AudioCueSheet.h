#pragma once

#include <cstdint>
#include <string>
#include <vector>

class DiscAtOnceLayout;

// The cue sheet SEND CUE SHEET gives the drive for a Disc-At-Once audio CD:
// 8-byte entries (CTL/ADR, track, index, data form, SCMS, M, S, F) for the
// lead-in, each track's index 0 (the first always, later ones when they
// have a pause) and index 1, and the lead-out. Times are absolute (LBA +
// 150). The entries are built one by one, so that a catalogue number, ISRCs
// (ADR 2 and 3 entries) and a lead-in carrying CD-TEXT can join them.
class AudioCueSheet {
  public:
    static constexpr int kEntryBytes = 8;

    // What a disc carries besides its sound: the catalogue number (13
    // digits, before the lead-in entry), each track's ISRC (12 letters and
    // digits, before the track's first entry; empty for none) and whether
    // CD-TEXT goes into the lead-in. A code of another shape is left out.
    struct Extras {
        std::string catalogue;
        std::vector<std::string> isrcs;  // by track, from track 1
        bool leadInText = false;
    };

    static std::vector<std::uint8_t> Build(const DiscAtOnceLayout& layout, const Extras& extras);
    static bool ValidCatalogue(const std::string& digits);
    static bool ValidIsrc(const std::string& code);

  private:
    // `control`: the track's CTL bits (pre-emphasis, copy permitted).
    void Add(std::uint8_t track, std::uint8_t index, std::uint8_t dataForm, std::int64_t lba,
             std::uint8_t control = 0);
    // Two ADR 2 or 3 entries: `first` after the CTL/ADR byte, then the rest of `code`.
    void AddCode(std::uint8_t adr, const std::string& first, const std::string& code);

    std::vector<std::uint8_t> m_bytes;
};
