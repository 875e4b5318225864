#include "EmuCueSheet.h"

#include <algorithm>
#include <cctype>

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

constexpr std::uint8_t kWithCdText = 0x40;  // ORed into the lead-in's data form
constexpr std::int64_t kLeadInEnd = -150;

Entry Read(const std::uint8_t* at) {
    const std::int64_t frames = (at[5] * 60 + at[6]) * 75 + at[7];
    return {at[1], at[2], at[3], frames - 150};
}

bool AllOf(const std::uint8_t* from, int count, int (*test)(int)) {
    for (int i = 0; i < count; ++i)
        if (test(from[i]) == 0) return false;
    return true;
}

int Digit(int c) {
    return std::isdigit(c) != 0 ? 1 : 0;
}

int IsrcCharacter(int c) {
    return std::isdigit(c) != 0 || std::isupper(c) != 0 ? 1 : 0;
}

// Takes the ADR 2 (catalogue number) and ADR 3 (ISRC) entry pairs out of
// `sheet` into `cue`; the time entries (ADR 1) are left in `times`.
bool TakeCodes(const std::uint8_t* sheet, int count, EmuCueSheet& cue,
               std::vector<std::uint8_t>& times) {
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* entry = sheet + i * kEntry;
        const int adr = entry[0] & 0x0F;
        if (adr == 1) {
            times.insert(times.end(), entry, entry + kEntry);
            continue;
        }
        if ((adr != 2 && adr != 3) || i + 1 >= count || (entry[kEntry] & 0x0F) != adr) return false;
        const std::uint8_t* second = entry + kEntry;
        ++i;
        if (adr == 2) {
            if (!AllOf(entry + 1, 7, &Digit) || !AllOf(second + 1, 6, &Digit) || second[7] != 0)
                return false;
            cue.catalogue.assign(entry + 1, entry + 8);
            cue.catalogue.append(second + 1, second + 7);
        } else {
            if (entry[1] != second[1] || !AllOf(entry + 2, 6, &IsrcCharacter) ||
                !AllOf(second + 2, 6, &IsrcCharacter))
                return false;
            std::string isrc(entry + 2, entry + 8);
            isrc.append(second + 2, second + 8);
            cue.isrcs.emplace_back(entry[1], isrc);
        }
    }
    return true;
}
}  // namespace

EmuOutcome EmuCueSheet::Parse(const std::uint8_t* whole, int wholeLength, int firstTrack,
                              std::int64_t start, std::int64_t capacity, std::int64_t leadInStart,
                              std::optional<EmuCueSheet>& parsed) {
    parsed.reset();
    EmuCueSheet cue;
    std::vector<std::uint8_t> times;
    if (wholeLength % kEntry != 0 || !TakeCodes(whole, wholeLength / kEntry, cue, times))
        return EmuSense::kInvalidFieldInParameters;
    const std::uint8_t* sheet = times.data();
    const int length = static_cast<int>(times.size());
    if (length < 3 * kEntry) return EmuSense::kInvalidFieldInParameters;
    const int count = length / kEntry;
    const Entry leadIn = Read(sheet);
    // A data disc's lead-in names its first track's form (14h for Mode 1); CD-TEXT
    // comes only with the audio lead-in (41h).
    if (leadIn.track != kLeadIn || Read(sheet + (count - 1) * kEntry).track != kLeadOut ||
        ((leadIn.form & kWithCdText) != 0 && leadIn.form != (kWithCdText | 0x01)))
        return EmuSense::kInvalidFieldInParameters;
    if ((leadIn.form & kWithCdText) != 0)
        cue.stretches.push_back(
            {0, EmuTrack::Mode::Audio, false, leadInStart, kLeadInEnd, /*leadIn=*/true});
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
    if (!indexOne || cue.stretches.empty() || cue.stretches.back().leadIn)
        return EmuSense::kInvalidFieldInParameters;
    const auto firstData = [&cue] {
        for (const Stretch& stretch : cue.stretches)
            if (stretch.userData) return stretch.start;
        return std::int64_t{-1};
    }();
    cue.next = cue.stretches.front().start;
    cue.leadOut = cue.stretches.back().end;
    const std::int64_t preGap = cue.stretches[cue.stretches.front().leadIn ? 1 : 0].start;
    if (firstData != start || cue.leadOut > capacity || preGap > start - kFirstPreGap ||
        !cue.TracksLongEnough())
        return EmuSense::kInvalidFieldInParameters;
    parsed = std::move(cue);
    return EmuSense::kGood;
}

bool EmuCueSheet::TracksLongEnough() const {
    std::int64_t blocks = 0;
    for (std::size_t i = 0; i < stretches.size(); ++i) {
        if (stretches[i].leadIn) continue;
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

void EmuCueSheet::TakeLeadIn(const std::uint8_t* data, std::int64_t blocks) {
    constexpr std::size_t kPack = 18, kPacked = 24;
    constexpr std::size_t kMostPacks = 256;  // one block of CD-TEXT
    for (std::int64_t block = 0; block < blocks && !leadInCycleComplete; ++block) {
        for (std::size_t part = 0; part < 4; ++part) {
            // 24 bytes of six bits each make the 18 bytes of one pack.
            const std::uint8_t* packed = data + block * 96 + part * kPacked;
            std::uint8_t pack[kPack];
            for (std::size_t group = 0; group < 6; ++group) {
                const std::uint8_t* in = packed + group * 4;
                const std::uint32_t bits = (std::uint32_t{in[0] & 0x3Fu} << 18) |
                                           (std::uint32_t{in[1] & 0x3Fu} << 12) |
                                           (std::uint32_t{in[2] & 0x3Fu} << 6) | (in[3] & 0x3Fu);
                pack[group * 3] = static_cast<std::uint8_t>(bits >> 16);
                pack[group * 3 + 1] = static_cast<std::uint8_t>(bits >> 8);
                pack[group * 3 + 2] = static_cast<std::uint8_t>(bits);
            }
            if (leadInPacks.size() >= kPack &&
                std::equal(pack, pack + kPack, leadInPacks.begin())) {
                leadInCycleComplete = true;
                break;
            }
            leadInPacks.insert(leadInPacks.end(), pack, pack + kPack);
            leadInCycleComplete = leadInPacks.size() >= kMostPacks * kPack;
        }
    }
}
