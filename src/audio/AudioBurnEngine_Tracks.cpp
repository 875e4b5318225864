// The tracks of an audio recording: every conversion before the disc is
// touched, then each track written from its CD-DA file.
#include <array>
#include <filesystem>

#include "AudioBurnEngine.h"
#include "AudioBurnMessages.h"
#include "DiscAfterFailure.h"
#include "DiscAfterStop.h"
#include "DriveFailure.h"
#include "EngineMessages.h"
#include "EngineReporter.h"
#include "ProgramPaths.h"
#include "ScsiStatus.h"
#include "Utf8Path.h"
#include "WaveFileLayout.h"
#include "modMMC.h"

namespace fs = std::filesystem;

namespace {
constexpr std::uint16_t kAudioWriteSpeed = 16 * 176;  // 16x, kB/s
constexpr std::uint16_t kTrackInfoBytes = 35;
constexpr std::int64_t kWaveHeaderBytes = 44;
constexpr std::int64_t kMegabyte = 1024 * 1024;
}  // namespace

// The temporary folder must be a folder this job can write, with room for
// every converted track: found out before the disc is touched, never at track 2.
bool AudioBurnEngine::TempFolderTakes(std::int64_t bytes) {
    const std::string folder = JobFolder();
    if (folder.empty()) {
        Show(Text(EngineMessage::TempUnusable, {JobFolderProblem()}), AudioText::NotBlankTitle);
        return false;
    }
    std::error_code error;
    const fs::space_info space = fs::space(Utf8Path(folder), error);
    if (error) {
        Show(Text(EngineMessage::TempUnusable, {folder + ": " + error.message()}),
             AudioText::NotBlankTitle);
        return false;
    }
    const auto available = static_cast<std::int64_t>(space.available);
    if (available >= bytes) return true;
    Show(Text(EngineMessage::TempNoSpace,
              {TempFolder(), std::to_string((bytes + kMegabyte - 1) / kMegabyte),
               std::to_string(available / kMegabyte)}),
         AudioText::NotBlankTitle);
    return false;
}

// Converts every track that needs it, in order. Stop: a refusal was shown;
// nothing was sent that changes the disc.
AudioBurnEngine::Step AudioBurnEngine::ConvertTracks() {
    std::int64_t bytes = 0;
    for (const CheckedTrack& track : m_tracks)
        if (track.needsConversion) bytes += kWaveHeaderBytes + track.dataBytes;
    if (bytes > 0 && !TempFolderTakes(bytes)) return Step::Stop;
    for (std::size_t index = 0; index < m_tracks.size(); ++index) {
        if (!m_tracks[index].needsConversion) continue;
        if (m_reporter.CancelRequested()) return Step::Cancel;
        if (!ConvertTrack(index)) return m_converter.Cancelled() ? Step::Cancel : Step::Stop;
    }
    return Step::Next;
}

// Converts track `index` into its temporary file, from the source as it was
// checked; false after showing why not (or when the user stopped it).
bool AudioBurnEngine::ConvertTrack(std::size_t index) {
    CheckedTrack& track = m_tracks[index];
    m_reporter.PhaseText(Text(AudioText::Converting));
    m_reporter.ElapsedText(track.source);
    if (!track.Unchanged()) {
        Show(ChangedFileText(track.source), AudioText::NotSupportedTitle);
        return false;
    }
    m_converter.SetSource(track.source);
    if (m_converter.Source().empty()) {
        ShowRefusal(track.source);
        return false;
    }
    m_converter.SetDestination(TempTrackPath(static_cast<int>(index) + 1));
    m_converter.SetCancelCheck([this] { return m_reporter.CancelRequested(); });
    const std::int32_t status = m_converter.Convert();
    m_converter.SetCancelCheck({});
    if (m_converter.Cancelled()) return false;
    const WaveFileLayout layout = ReadWaveFileLayout(m_converter.Destination());
    if (!track.Unchanged()) {
        Show(ChangedFileText(track.source), AudioText::NotSupportedTitle);
        return false;
    }
    if (status != clsWav2Cda::kDone || !layout.Ok() || !layout.format.IsCdda() ||
        layout.dataSize <= 0) {
        const std::string problem = m_converter.OutputProblem();
        Show(Text(EngineMessage::ConvertFailed,
                  {track.source, problem.empty() ? "converting it failed" : problem}),
             AudioText::NotSupportedTitle);
        return false;
    }
    track.written = m_converter.Destination();
    track.dataBytes = layout.dataSize;
    return true;
}

AudioBurnEngine::Step AudioBurnEngine::RecordTrack(const std::string& drive, std::uint16_t track,
                                                   const CheckedTrack& checked) {
    CountTrack(track);
    // Earlier tracks are on the disc; a stop now leaves it unfinished.
    if (m_reporter.CancelRequested()) return Cancel(drive, track > 1);
    m_reporter.PhaseText(Text(AudioText::WritingTrack));
    m_reporter.ElapsedText(checked.source);
    SetAudioSpeed(drive);
    std::uint32_t address = 0;
    if (!NextWritableAddress(drive, track, address)) {
        // Earlier tracks must not stay in an unfinished session.
        if (track > 1) CloseAfterFailure(drive, track);
        RemoveTempTracks();
        Show(Text(AudioText::TrackInfoFailed), AudioText::TrackInfoFailedTitle);
        return Step::Stop;
    }
    // A source read in place must still be the file that was checked.
    if (!checked.needsConversion && !checked.Unchanged())
        return StopAfterWrite(drive, track, TrackWriteOutcome::ReadFailed, checked, 0);
    AudioTrackWriter writer(m_reporter,
                            m_options.verify && !m_options.testMode ? &m_hashes : nullptr);
    TrackWriteOutcome outcome = writer.Write(drive, checked.written, address, checked.dataBytes);
    if (outcome == TrackWriteOutcome::Written && !checked.needsConversion && !checked.Unchanged())
        outcome = TrackWriteOutcome::ReadFailed;  // it changed while it was read
    if (outcome == TrackWriteOutcome::Cancelled)
        return Cancel(drive, track > 1 || writer.SectorsWritten() > 0);
    if (outcome != TrackWriteOutcome::Written)
        return StopAfterWrite(drive, track, outcome, checked, writer.LastStatus());
    FinishTrack(drive, track);
    return Step::Next;
}

void AudioBurnEngine::CountTrack(std::uint16_t track) {
    if (m_trackCounter)
        m_trackCounter("-   " + std::to_string(track) + "   of   " + std::to_string(TrackCount()) +
                       "   -");
}

void AudioBurnEngine::SetAudioSpeed(const std::string& drive) {
    if (modMMC::SetCDSpeed(drive, modMMC::kMaximumSpeed, kAudioWriteSpeed, 0) != ScsiStatus::kGood)
        Show("WARNING: " + Text(AudioText::SpeedNotSupported) + "16" + "x, " +
                 Text(AudioText::DefaultSpeed),
             AudioText::SpeedTitle);
}

bool AudioBurnEngine::NextWritableAddress(const std::string& drive, std::uint16_t track,
                                          std::uint32_t& address) {
    std::array<std::uint8_t, kTrackInfoBytes> info{};
    if (!modMMC::ReadTrackInformation(drive, 1, track, info.data(), kTrackInfoBytes)) return false;
    if ((info[7] & 0x01) == 0) return false;  // NWA_V: the address is not valid
    address = std::uint32_t{info[12]} << 24 | std::uint32_t{info[13]} << 16 |
              std::uint32_t{info[14]} << 8 | info[15];
    return true;
}

AudioBurnEngine::Step AudioBurnEngine::Cancel(const std::string& drive, bool written) {
    RemoveTempTracks();
    ReportStop(m_reporter, drive, written ? DiscAfterStop::Unfinished : DiscAfterStop::Unchanged);
    return Step::Cancel;
}

AudioBurnEngine::Step AudioBurnEngine::StopAfterWrite(const std::string& drive, std::uint16_t track,
                                                      TrackWriteOutcome outcome,
                                                      const CheckedTrack& checked,
                                                      std::int32_t status) {
    // Named by the drive's last answer, read before the tidy-up sends more commands.
    const std::string failure =
        WriteFailureText(status, outcome != TrackWriteOutcome::GaveUp,
                         "Long write - " + Text(AudioText::WriteTookLonger) + "6000ms!",
                         Text(AudioText::WriteError) + " (Buffer Under-Run?)");
    const std::string discNow = AbortAudioBurn(drive, track);
    if (outcome != TrackWriteOutcome::ReadFailed)
        Show(failure + "\n" + discNow, AudioText::WriteFailedTitle);
    else if (!checked.Unchanged())
        Show(ChangedFileText(checked.source) + "\n" + discNow, AudioText::WriteFailedTitle);
    else
        Show(Text(EngineMessage::FileUnreadable,
                  {checked.source, "its CD-DA sound could not be read"}) +
                 "\n" + discNow,
             AudioText::WriteFailedTitle);
    return Step::Stop;
}

// The converted tracks only: a CD-DA source was read in place and stays.
void AudioBurnEngine::RemoveTempTracks() {
    std::error_code error;
    for (const CheckedTrack& track : m_tracks)
        if (track.needsConversion && track.written != track.source)
            fs::remove(Utf8Path(track.written), error);
    for (CheckedTrack& track : m_tracks) track.written = track.source;
}
