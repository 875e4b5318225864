#pragma once

#include <cstdint>
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

    static std::vector<std::uint8_t> Build(const DiscAtOnceLayout& layout);

  private:
    void Add(std::uint8_t track, std::uint8_t index, std::uint8_t dataForm, std::int64_t lba);

    std::vector<std::uint8_t> m_bytes;
};
