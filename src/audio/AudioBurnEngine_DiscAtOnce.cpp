// Disc-At-Once audio CDs: the checks, the cue sheet and the one stream of
// every track, and the read-back of the track starts and pauses.
#include <algorithm>
#include <array>

#include "AudioBurnEngine.h"
#include "AudioCueSheet.h"
#include "CueSheetDisc.h"
#include "DiscAtOnceWriter.h"
#include "EngineReporter.h"
#include "ScsiStatus.h"
#include "modMMC.h"

std::int64_t AudioBurnOptions::PauseSectors(std::size_t index) const {
    const std::int32_t seconds = index < pauseSeconds.size() ? pauseSeconds[index] : kDefaultPause;
    return std::clamp(seconds, 0, kLongestPause) * DiscAtOnceLayout::kSectorsPerSecond;
}

DiscAtOnceLayout AudioBurnEngine::Layout() const {
    std::vector<std::int64_t> bytes, pauses;
    if (m_sheet != nullptr) {
        for (const CheckedTrack& track : m_tracks) bytes.push_back(track.dataBytes);
        return CueSheetDisc(*m_sheet, bytes).Layout();
    }
    for (std::size_t index = 0; index < m_tracks.size(); ++index) {
        bytes.push_back(m_tracks[index].dataBytes);
        pauses.push_back(m_options.PauseSectors(index));
    }
    return {bytes, pauses};
}

DiscAtOnceStream AudioBurnEngine::Stream() const {
    std::vector<DiscAtOnceStream::Piece> pieces;
    if (m_sheet == nullptr) {
        std::vector<std::string> files;
        for (const CheckedTrack& track : m_tracks) files.push_back(track.written);
        return {files, Layout()};
    }
    std::vector<std::int64_t> bytes;
    for (const CheckedTrack& track : m_tracks) bytes.push_back(track.dataBytes);
    const CueSheetDisc disc(*m_sheet, bytes);
    for (const CueSheetDisc::Piece& piece : disc.Pieces()) {
        if (piece.file == CueSheetDisc::kSilence) {
            pieces.push_back({{}, piece.bytes});
            continue;
        }
        const CheckedTrack& file = m_tracks[piece.file];
        const CueSheet::FileType type = m_sheet->files[piece.file].type;
        // A WAVE file is read from its CD-DA WAV (itself or its conversion).
        pieces.push_back({file.written, piece.bytes, piece.offset, type == CueSheet::FileType::Wave,
                          type == CueSheet::FileType::Motorola});
    }
    return DiscAtOnceStream(std::move(pieces));
}

std::size_t AudioBurnEngine::TrackCount() const {
    return m_sheet != nullptr ? m_sheet->tracks.size() : m_tracks.size();
}

const CheckedTrack& AudioBurnEngine::SourceOf(std::size_t track) const {
    return m_tracks[m_sheet != nullptr ? m_sheet->tracks[track - 1].file : track - 1];
}

// Before the disc is touched: a drive that records from a cue sheet, and no
// track shorter than 4 seconds (named).
bool AudioBurnEngine::DiscAtOnceAllowed(const std::string& drive, const DiscAtOnceLayout& layout) {
    if (!modMMC::OffersSessionAtOnce(drive)) {
        Show(Text(AudioText::DaoNotOffered), AudioText::NotBlankTitle);
        return false;
    }
    if (m_sheet != nullptr && !SheetLaidOut()) return false;
    const int shortTrack = layout.FirstShortTrack();
    if (shortTrack < 0) return true;
    Show(
        Text(AudioText::TrackTooShort, {SourceOf(static_cast<std::size_t>(shortTrack) + 1).source}),
        AudioText::NotSupportedTitle);
    return false;
}

AudioBurnEngine::Step AudioBurnEngine::RecordDiscAtOnce(const std::string& drive) {
    if (m_reporter.CancelRequested()) return Cancel(drive, false);
    m_reporter.PhaseText(Text(AudioText::WritingTrack));
    SetAudioSpeed(drive);
    const DiscAtOnceLayout layout = Layout();
    PrepareCdText(drive);
    const std::vector<std::uint8_t> sheet = AudioCueSheet::Build(
        layout, {m_options.catalogue, m_options.isrcs, !m_leadInPacks.empty()});
    if (modMMC::SendCueSheet(drive, sheet.data(), static_cast<std::int32_t>(sheet.size())) !=
        ScsiStatus::kGood) {
        RemoveTempTracks();
        Show(Text(AudioText::CueSheetRefused), AudioText::WriteFailedTitle);
        return Step::Stop;
    }
    DiscAtOnceStream stream = Stream();
    DiscAtOnceWriter writer(m_reporter,
                            m_options.verify && !m_options.testMode ? &m_hashes : nullptr);
    if (!m_leadInPacks.empty()) writer.SetLeadInText(m_leadInPacks, m_leadInStart);
    writer.SetTrackHandler([this](int track) {
        CountTrack(static_cast<std::uint16_t>(track));
        m_reporter.PhaseText(Text(AudioText::WritingTrack));
    });
    TrackWriteOutcome outcome = writer.Write(drive, stream, layout);
    // A source read in place must still be the file that was checked.
    std::size_t changed = 0;
    while (changed < m_tracks.size() &&
           (m_tracks[changed].needsConversion || m_tracks[changed].Unchanged()))
        ++changed;
    if (outcome == TrackWriteOutcome::Written && changed < m_tracks.size())
        return StopAfterWrite(drive,
                              static_cast<std::uint16_t>(m_sheet ? TrackCount() : changed + 1),
                              TrackWriteOutcome::ReadFailed, m_tracks[changed], 0);
    if (outcome == TrackWriteOutcome::Cancelled) return Cancel(drive, writer.DiscTouched());
    if (outcome == TrackWriteOutcome::Written) return Step::Next;
    const auto track = static_cast<std::size_t>(writer.Track());
    return StopAfterWrite(drive, static_cast<std::uint16_t>(track), outcome, SourceOf(track),
                          writer.LastStatus());
}

// Reads the Q sub-channel on both sides of each track's index 0 and index 1
// and compares track and index with the layout sent. A drive that cannot
// read Q leaves the pauses unverified, which is said and is no failure.
void AudioBurnEngine::VerifyTrackStarts(const std::string& drive, std::string& result) {
    constexpr std::int32_t kQBytes = 16;
    const DiscAtOnceLayout layout = Layout();
    std::vector<std::int64_t> points;  // first sectors whose Q must change
    for (const DiscAtOnceLayout::Track& track : layout.Tracks()) {
        if (track.pauseStart >= 1 && track.pauseStart < track.start)
            points.push_back(track.pauseStart);
        if (track.start >= 1) points.push_back(track.start);
    }
    std::array<std::uint8_t, 2 * kQBytes> q{};
    for (const std::int64_t point : points) {
        if (m_reporter.CancelRequested()) return;
        if (modMMC::ReadCdQ(drive, static_cast<std::uint32_t>(point - 1), 2, q.data(),
                            static_cast<std::int32_t>(q.size())) != ScsiStatus::kGood) {
            result += (result.empty() ? "" : "\n") + Text(AudioText::PausesNotVerified);
            return;
        }
        for (std::int64_t at = 0; at < 2; ++at) {
            const std::uint8_t* read = q.data() + at * kQBytes;
            const DiscAtOnceLayout::Position expected = layout.At(point - 1 + at);
            const int track = (read[1] >> 4) * 10 + (read[1] & 0x0F);
            // Index 2 and later count as the track's sound (index 1 here).
            if (track == expected.track && std::min<int>(read[2], 1) == expected.index) continue;
            NoteFailure(Text(AudioText::TrackStartDiffers,
                             {std::to_string(expected.track), std::to_string(point - 1 + at)}));
            return;
        }
    }
    result += (result.empty() ? "" : "\n") + Text(AudioText::TrackStartsVerified);
}
