// CD-TEXT, ISRCs and the catalogue number of a Disc-At-Once recording:
// whether the drive takes the texts, and their read-back after the burn.
#include <algorithm>

#include "AudioBurnEngine.h"
#include "AudioCueSheet.h"
#include "AudioDiscCodes.h"
#include "EngineReporter.h"
#include "modMMC.h"

void AudioBurnEngine::PrepareCdText(const std::string& drive) {
    m_leadInPacks.clear();
    if (m_options.cdText.Empty()) return;
    CdText text = m_options.cdText;
    text.tracks.resize(TrackCount());
    CdTextPacks::Encoded encoded = CdTextPacks::Encode(text);
    if (encoded.tooLong) {
        Show(Text(AudioText::CdTextTooLong), AudioText::NotSupportedTitle, true);
        return;
    }
    m_leadInStart = modMMC::OffersLeadInText(drive) ? modMMC::ReadLeadInStart(drive) : 0;
    if (m_leadInStart >= -DiscAtOnceLayout::kFirstPreGap) {
        Show(Text(AudioText::CdTextNotOffered), AudioText::NotSupportedTitle, true);
        return;
    }
    m_leadInPacks = std::move(encoded.packs);
}

namespace {
// `sent` and `read` differ: the message naming the field (its CD-TEXT pack
// keyword) of the disc (track 0) or of a track.
std::string TextDifference(std::size_t track, const char* field, const std::string& sent,
                           const std::string& read) {
    return track == 0
               ? Text(AudioText::CdTextDiscDiffers, {field, sent, read})
               : Text(AudioText::CdTextTrackDiffers, {std::to_string(track), field, sent, read});
}

void CompareTexts(std::size_t track, const CdText::Texts& sent, const CdText::Texts& read,
                  std::vector<std::string>& differences) {
    const std::pair<const char*, std::string CdText::Texts::*> fields[] = {
        {"TITLE", &CdText::Texts::title},
        {"PERFORMER", &CdText::Texts::performer},
        {"SONGWRITER", &CdText::Texts::songwriter}};
    for (const auto& [name, field] : fields)
        if (sent.*field != read.*field)
            differences.push_back(TextDifference(track, name, sent.*field, read.*field));
}
}  // namespace

// Reads back what was sent besides the sound and names every difference:
// the texts as they went out (ISO 8859-1, "?" for what it cannot hold),
// the catalogue number and each ISRC.
void AudioBurnEngine::VerifyDiscCodes(const std::string& drive, std::string& result) {
    const bool catalogue = AudioCueSheet::ValidCatalogue(m_options.catalogue);
    const bool isrcs =
        std::any_of(m_options.isrcs.begin(), m_options.isrcs.end(), &AudioCueSheet::ValidIsrc);
    if (m_leadInPacks.empty() && !catalogue && !isrcs) return;
    const AudioDiscCodes read = AudioDiscCodes::Read(drive);
    std::vector<std::string> differences;
    if (!m_leadInPacks.empty()) {
        std::vector<std::uint8_t> packs;
        for (const CdTextPacks::Pack& pack : m_leadInPacks)
            packs.insert(packs.end(), pack.begin(), pack.end());
        const CdText sent = CdTextPacks::DecodePacks(packs.data(), packs.size()).text;
        CompareTexts(0, sent.disc, read.cdText.text.disc, differences);
        for (std::size_t index = 0; index < sent.tracks.size(); ++index)
            CompareTexts(index + 1, sent.tracks[index],
                         index < read.cdText.text.tracks.size() ? read.cdText.text.tracks[index]
                                                                : CdText::Texts{},
                         differences);
    }
    if (catalogue && read.catalogue != m_options.catalogue)
        differences.push_back(
            Text(AudioText::CatalogueDiffers, {m_options.catalogue, read.catalogue}));
    for (std::size_t index = 0; index < m_options.isrcs.size() && index < TrackCount(); ++index) {
        const std::string& sent = m_options.isrcs[index];
        const std::string got = index < read.isrcs.size() ? read.isrcs[index] : std::string();
        if (AudioCueSheet::ValidIsrc(sent) && got != sent)
            differences.push_back(
                Text(AudioText::IsrcDiffers, {std::to_string(index + 1), sent, got}));
    }
    if (differences.empty()) {
        result += (result.empty() ? "" : "\n") + Text(AudioText::CodesVerified);
        return;
    }
    std::string joined;
    for (const std::string& difference : differences)
        joined += (joined.empty() ? "" : "\n") + difference;
    NoteFailure(joined);
}
