#include "AudioCueSheet.h"

#include <algorithm>

#include "DiscAtOnceLayout.h"

namespace {
constexpr std::uint8_t kAudioAdr1 = 0x01;  // CTL 0: two-channel audio, copy prohibited; ADR 1
constexpr std::uint8_t kAudio = 0x00, kAudioPause = 0x01;  // data forms
constexpr std::uint8_t kLeadIn = 0x00, kLeadOut = 0xAA;
}  // namespace

void AudioCueSheet::Add(std::uint8_t track, std::uint8_t index, std::uint8_t dataForm,
                        std::int64_t lba, std::uint8_t control) {
    const std::int64_t frames = lba + 150;
    const std::uint8_t entry[kEntryBytes] = {static_cast<std::uint8_t>(control << 4 | kAudioAdr1),
                                             track,
                                             index,
                                             dataForm,
                                             0,
                                             static_cast<std::uint8_t>(frames / (60 * 75)),
                                             static_cast<std::uint8_t>(frames / 75 % 60),
                                             static_cast<std::uint8_t>(frames % 75)};
    m_bytes.insert(m_bytes.end(), entry, entry + kEntryBytes);
}

void AudioCueSheet::AddCode(std::uint8_t adr, const std::string& first, const std::string& code) {
    std::uint8_t entries[2 * kEntryBytes] = {adr};
    entries[kEntryBytes] = adr;
    const std::size_t split = 7 - first.size();  // characters in the first entry
    std::copy(first.begin(), first.end(), entries + 1);
    std::copy(code.begin(), code.begin() + static_cast<std::ptrdiff_t>(split),
              entries + 1 + first.size());
    std::copy(first.begin(), first.end(), entries + kEntryBytes + 1);
    std::copy(code.begin() + static_cast<std::ptrdiff_t>(split), code.end(),
              entries + kEntryBytes + 1 + first.size());
    m_bytes.insert(m_bytes.end(), entries, entries + 2 * kEntryBytes);
}

bool AudioCueSheet::ValidCatalogue(const std::string& digits) {
    return digits.size() == 13 &&
           std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool AudioCueSheet::ValidIsrc(const std::string& code) {
    return code.size() == 12 && std::all_of(code.begin(), code.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
           });
}

std::vector<std::uint8_t> AudioCueSheet::Build(const DiscAtOnceLayout& layout,
                                               const Extras& extras) {
    constexpr std::uint8_t kCatalogueAdr = 0x02, kIsrcAdr = 0x03, kWithCdText = 0x40;
    AudioCueSheet sheet;
    if (ValidCatalogue(extras.catalogue)) sheet.AddCode(kCatalogueAdr, "", extras.catalogue);
    sheet.Add(kLeadIn, 0, extras.leadInText ? kAudioPause | kWithCdText : kAudioPause,
              -DiscAtOnceLayout::kFirstPreGap);
    std::uint8_t number = 1;
    for (const DiscAtOnceLayout::Track& track : layout.Tracks()) {
        const std::size_t index = number - 1U;
        if (index < extras.isrcs.size() && ValidIsrc(extras.isrcs[index]))
            sheet.AddCode(kIsrcAdr, std::string(1, static_cast<char>(number)), extras.isrcs[index]);
        if (track.pauseStart < track.start)
            sheet.Add(number, 0, kAudio, track.pauseStart, track.control);
        sheet.Add(number, 1, kAudio, track.start, track.control);
        std::uint8_t point = 2;
        for (const std::int64_t lba : track.indexes)
            sheet.Add(number, point++, kAudio, lba, track.control);
        ++number;
    }
    sheet.Add(kLeadOut, 1, kAudioPause, layout.LeadOut());
    return std::move(sheet.m_bytes);
}
