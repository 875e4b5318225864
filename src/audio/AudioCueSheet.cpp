#include "AudioCueSheet.h"

#include "DiscAtOnceLayout.h"

namespace {
constexpr std::uint8_t kAudioAdr1 = 0x01;  // CTL 0: two-channel audio, copy prohibited; ADR 1
constexpr std::uint8_t kAudio = 0x00, kAudioPause = 0x01;  // data forms
constexpr std::uint8_t kLeadIn = 0x00, kLeadOut = 0xAA;
}  // namespace

void AudioCueSheet::Add(std::uint8_t track, std::uint8_t index, std::uint8_t dataForm,
                        std::int64_t lba) {
    const std::int64_t frames = lba + 150;
    const std::uint8_t entry[kEntryBytes] = {kAudioAdr1,
                                             track,
                                             index,
                                             dataForm,
                                             0,
                                             static_cast<std::uint8_t>(frames / (60 * 75)),
                                             static_cast<std::uint8_t>(frames / 75 % 60),
                                             static_cast<std::uint8_t>(frames % 75)};
    m_bytes.insert(m_bytes.end(), entry, entry + kEntryBytes);
}

std::vector<std::uint8_t> AudioCueSheet::Build(const DiscAtOnceLayout& layout) {
    AudioCueSheet sheet;
    sheet.Add(kLeadIn, 0, kAudioPause, -DiscAtOnceLayout::kFirstPreGap);
    std::uint8_t number = 1;
    for (const DiscAtOnceLayout::Track& track : layout.Tracks()) {
        if (track.pauseStart < track.start) sheet.Add(number, 0, kAudio, track.pauseStart);
        sheet.Add(number, 1, kAudio, track.start);
        ++number;
    }
    sheet.Add(kLeadOut, 1, kAudioPause, layout.LeadOut());
    return std::move(sheet.m_bytes);
}
