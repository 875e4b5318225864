#include "EmuCueSheet.h"

namespace {
constexpr int kEntry = 8;
constexpr std::uint8_t kLeadIn = 0x00, kLeadOut = 0xAA;
constexpr std::uint8_t kCdDa = 0x00, kMode1 = 0x10;

struct Entry {
    std::uint8_t track, index, form;
    std::int64_t lba;
};

// Red Book: every track plays at least 4 seconds; the first one's pre-gap
// lasts at least 2 seconds.
constexpr std::int64_t kShortestTrack = 300, kFirstPreGap = 150;

Entry Read(const std::uint8_t* at) {
    const std::int64_t frames = (at[5] * 60 + at[6]) * 75 + at[7];
    return {at[1], at[2], at[3], frames - 150};
}
}  // namespace

EmuOutcome EmuCueSheet::Parse(const std::uint8_t* sheet, int length, int firstTrack,
                              std::int64_t start, std::int64_t capacity,
                              std::optional<EmuCueSheet>& parsed) {
    parsed.reset();
    if (length % kEntry != 0 || length < 3 * kEntry) return EmuSense::kInvalidFieldInParameters;
    const int count = length / kEntry;
    if (Read(sheet).track != kLeadIn || Read(sheet + (count - 1) * kEntry).track != kLeadOut)
        return EmuSense::kInvalidFieldInParameters;
    EmuCueSheet cue;
    int track = firstTrack - 1;
    bool indexOne = true;  // the previous track reached its index 1
    for (int i = 1; i < count - 1; ++i) {
        const Entry entry = Read(sheet + i * kEntry);
        const Entry following = Read(sheet + (i + 1) * kEntry);
        const bool next = entry.track == track + 1;
        if ((!next && entry.track != track) || (next && !indexOne) ||
            (entry.form != kCdDa && entry.form != kMode1) || following.lba < entry.lba)
            return EmuSense::kInvalidFieldInParameters;
        track = entry.track;
        indexOne = next ? entry.index >= 1 : indexOne || entry.index >= 1;
        Stretch stretch{track, entry.form == kCdDa ? EmuTrack::Mode::Audio : EmuTrack::Mode::Data,
                        entry.index >= 1, entry.lba, following.lba};
        if (!cue.stretches.empty() && cue.stretches.back().track == track &&
            cue.stretches.back().mode != stretch.mode)
            return EmuSense::kInvalidFieldInParameters;  // one kind of block per track
        if (stretch.end > stretch.start) cue.stretches.push_back(stretch);
    }
    if (!indexOne || cue.stretches.empty()) return EmuSense::kInvalidFieldInParameters;
    const auto firstData = [&cue] {
        for (const Stretch& stretch : cue.stretches)
            if (stretch.userData) return stretch.start;
        return std::int64_t{-1};
    }();
    cue.next = cue.stretches.front().start;
    cue.leadOut = cue.stretches.back().end;
    if (firstData != start || cue.leadOut > capacity || cue.next > start - kFirstPreGap ||
        !cue.TracksLongEnough())
        return EmuSense::kInvalidFieldInParameters;
    parsed = std::move(cue);
    return EmuSense::kGood;
}

bool EmuCueSheet::TracksLongEnough() const {
    std::int64_t blocks = 0;
    for (std::size_t i = 0; i < stretches.size(); ++i) {
        if (stretches[i].userData) blocks += stretches[i].end - stretches[i].start;
        const bool last = i + 1 == stretches.size() || stretches[i + 1].track != stretches[i].track;
        if (!last) continue;
        if (blocks < kShortestTrack) return false;
        blocks = 0;
    }
    return true;
}

const EmuCueSheet::Stretch* EmuCueSheet::At(std::int64_t lba) const {
    for (const Stretch& stretch : stretches)
        if (lba >= stretch.start && lba < stretch.end) return &stretch;
    return nullptr;
}
