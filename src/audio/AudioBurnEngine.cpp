#include "AudioBurnEngine.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "AudioBurnMessages.h"
#include "DiscAfterFailure.h"
#include "DiscAfterStop.h"
#include "DiscVerifier.h"
#include "DriveBusy.h"
#include "DriveClaim.h"
#include "DriveFailure.h"
#include "EngineReporter.h"
#include "ProgramPaths.h"
#include "RecordingChecks.h"
#include "ScsiStatus.h"
#include "WaveFileLayout.h"
#include "clsWPP.h"
#include "modMMC.h"

namespace {
constexpr std::int32_t kReadyLimitMs = 15000;
constexpr std::uint16_t kAudioWriteSpeed = 16 * 176;  // 16x, kB/s
constexpr std::int16_t kAudioPause = 150;             // blocks: 2 seconds
constexpr std::uint16_t kTrackInfoBytes = 35;
constexpr std::int16_t kImmediate = -1;
constexpr std::int64_t kShortestTrack = 300;  // sectors; the drive pads shorter tracks

// Sectors the track of `path` takes on the disc: its sound after conversion
// to CD-DA, in whole blocks of the writer, at least the shortest track.
std::int64_t TrackSectors(const std::string& path) {
    const WaveFileLayout layout = ReadWaveFileLayout(path);
    const WavFormat& format = layout.format;
    std::int64_t bytes = layout.dataSize;
    if (!format.IsCdda() && format.blockAlign > 0 && format.samplesPerSec > 0) {
        const std::int64_t frames = layout.dataSize / format.blockAlign;
        bytes = (frames * 44100 + format.samplesPerSec - 1) / format.samplesPerSec * 4;
    }
    const std::int64_t blocks =
        (bytes + AudioTrackWriter::kBlockBytes - 1) / AudioTrackWriter::kBlockBytes;
    return std::max(blocks * AudioTrackWriter::kBlockSectors, kShortestTrack);
}
}  // namespace

AudioBurnEngine::AudioBurnEngine(EngineReporter& reporter, AudioBurnOptions options)
    : AudioBurnEngine(reporter, options, LanguageTexts("frmWriteCDDA")) {}

AudioBurnEngine::AudioBurnEngine(EngineReporter& reporter, AudioBurnOptions options,
                                 LanguageTexts texts)
    : m_reporter(reporter), m_options(options), m_texts(std::move(texts)) {
    m_converter.SetProgressHandler([this](std::int16_t percent) { m_reporter.Progress(percent); });
}

std::string AudioBurnEngine::Text(int number) const {
    return m_texts.Message(number, AudioBurnBuiltInText(number));
}

void AudioBurnEngine::Show(const std::string& text, int title, bool information) {
    m_reporter.Message(text, Text(title),
                       information ? MessageIcon::Information : MessageIcon::Exclamation,
                       MessageButtons::Ok);
}

AudioBurnOutcome AudioBurnEngine::Refuse(int message, int title) {
    Show(Text(message), title);
    return AudioBurnOutcome::Refused;
}

void AudioBurnEngine::ShowUnsupported(const std::string& path, const std::string& reason,
                                      const std::string& discNow) {
    Show(UnsupportedFileText(path, Text(34), reason) + (discNow.empty() ? "" : "\n" + discNow), 35);
}

AudioBurnOutcome AudioBurnEngine::StartAudioBurn(const std::string& drive,
                                                 const std::vector<std::string>& tracks) {
    if (tracks.empty()) return Refuse(22, 23);
    const DriveBusyScope busy(drive);
    const DriveClaim claim(drive);
    if (!HoldsDrive(claim)) return AudioBurnOutcome::Refused;
    const std::int32_t ready = modMMC::WaitUnitReady(drive, kReadyLimitMs);
    if (ready == -1) return Refuse(26, 25);
    if (ready == 0) return Refuse(24, 25);
    if (modMMC::IsDVDMedia(drive)) return Refuse(27, 28);
    if (!DiscAccepted(drive)) return Refuse(29, 30);
    if (tracks.size() > kMostTracks) return Refuse(31, 32);
    if (!TracksReadable(tracks)) return AudioBurnOutcome::Refused;
    return BurnAudioTracks(drive, tracks);
}

bool AudioBurnEngine::HoldsDrive(const DriveClaim& claim) {
    const std::string problem = RecordingChecks::ClaimProblem(claim);
    if (!problem.empty()) Show(problem, 25);
    return problem.empty();
}

// Blank only when READ DISC INFORMATION itself succeeded: a failed read
// decodes as zeros, which would pass for an empty disc.
bool AudioBurnEngine::DiscAccepted(const std::string& drive) {
    std::int32_t status = ScsiStatus::kServiceFailure;
    const modMMC::DiscInfoRecord record = modMMC::GetDiscStatus(drive, status);
    return status == ScsiStatus::kGood && record.DiscState == modMMC::DiscState::kEmpty;
}

// Every file is tried before the disc is touched, so a file that cannot be
// recorded never ends a recording halfway. A track also needs some sound:
// an empty one would leave the drive without a track to close.
bool AudioBurnEngine::TracksReadable(const std::vector<std::string>& tracks) {
    for (const std::string& path : tracks) {
        m_converter.SetSource(path);
        if (m_converter.Source().empty()) {
            ShowUnsupported(path, m_converter.RefusalReason());
            return false;
        }
        if (m_converter.SourceFrames() < 1) {
            ShowUnsupported(path, "holds no sound");
            return false;
        }
    }
    return true;
}

// The tracks with the 2-second pauses between them must fit the free space,
// and test mode needs a medium that can simulate.
bool AudioBurnEngine::RecordingAllowed(const std::string& drive,
                                       const std::vector<std::string>& tracks) {
    const std::int32_t media = modMMC::GetMediaType(drive);
    std::string problem =
        m_options.testMode ? RecordingChecks::TestModeProblem(media) : std::string();
    if (problem.empty()) {
        std::int64_t needed = kAudioPause * (static_cast<std::int64_t>(tracks.size()) - 1);
        for (const std::string& path : tracks) needed += TrackSectors(path);
        problem = RecordingChecks::AudioFitProblem(needed, modMMC::FreeBlocks(drive));
    }
    if (problem.empty()) return true;
    Show(problem, 30);
    return false;
}

bool AudioBurnEngine::SendWriteParameters(const std::string& drive) {
    clsWPP page;
    if (!page.GetData(drive)) {
        Show(Text(1), 2);
        return false;
    }
    page.SetcWriteType(1);  // Track At Once
    page.SetTestMode(m_options.testMode);
    page.SetDataBlockType(0);  // raw 2352-byte blocks
    page.SetTrackMode(0);      // 2-channel audio, no pre-emphasis, copy prohibited
    page.SetSessionFormat(0);  // CD-DA / CD-ROM
    // 0: no further session; 3: the next session stays possible.
    page.SetMultisession(m_options.fixDisc ? 0 : 3);
    page.SetCopy(false);
    page.SetFixedPacket(false);
    page.SetLinkSizeValid(false);
    page.SetLinkSize(0);
    page.SetApplicationCode(0);
    page.SetAudioPauseLength(kAudioPause);
    if (!page.SendData(drive)) {
        Show(Text(3), 4);
        return false;
    }
    return true;
}

AudioBurnOutcome AudioBurnEngine::BurnAudioTracks(const std::string& drive,
                                                  const std::vector<std::string>& tracks) {
    const DriveBusyScope busy(drive);
    const DriveClaim claim(drive);
    if (!HoldsDrive(claim)) return AudioBurnOutcome::Refused;
    m_finishFailure.clear();
    if (m_reporter.CancelRequested()) {
        ReportStop(m_reporter, drive, DiscAfterStop::Unchanged);
        return AudioBurnOutcome::Cancelled;
    }
    if (!RecordingAllowed(drive, tracks)) return AudioBurnOutcome::Refused;
    if (!SendWriteParameters(drive)) return AudioBurnOutcome::Failed;
    for (std::size_t index = 0; index < tracks.size(); ++index) {
        const auto track = static_cast<std::uint16_t>(index + 1);
        const Step step = RecordTrack(drive, track, tracks.size(), tracks[index]);
        if (step == Step::Stop) return AudioBurnOutcome::Failed;
        if (step == Step::Cancel) return AudioBurnOutcome::Cancelled;
    }
    return FinishDisc(drive);
}

AudioBurnEngine::Step AudioBurnEngine::RecordTrack(const std::string& drive, std::uint16_t track,
                                                   std::size_t count, const std::string& path) {
    if (m_trackCounter)
        m_trackCounter("-   " + std::to_string(track) + "   of   " + std::to_string(count) +
                       "   -");
    m_reporter.PhaseText(Text(5));
    m_reporter.ElapsedText(path);
    const bool converted = ConvertTrack(path);
    // Earlier tracks are on the disc; a stop now leaves it unfinished.
    if (m_reporter.CancelRequested()) return Cancel(drive, track > 1);
    if (!converted) {
        ShowUnsupported(path, "converting it failed", AbortAudioBurn(drive, track));
        return Step::Stop;
    }
    m_reporter.PhaseText(Text(6));
    if (modMMC::SetCDSpeed(drive, modMMC::kMaximumSpeed, kAudioWriteSpeed, 0) != ScsiStatus::kGood)
        Show("WARNING: " + Text(7) + "16" + "x, " + Text(8), 9);
    std::uint32_t address = 0;
    if (!NextWritableAddress(drive, track, address)) {
        // Earlier tracks must not stay in an unfinished session.
        if (track > 1) CloseAfterFailure(drive, track);
        RemoveTempTrack();
        Show(Text(10), 11);
        return Step::Stop;
    }
    AudioTrackWriter writer(m_reporter,
                            m_options.verify && !m_options.testMode ? &m_hashes : nullptr);
    const TrackWriteOutcome outcome = writer.Write(drive, m_converter.Destination(), address);
    if (outcome == TrackWriteOutcome::Cancelled)
        return Cancel(drive, track > 1 || writer.SectorsWritten() > 0);
    if (outcome != TrackWriteOutcome::Written)
        return StopAfterWrite(drive, track, outcome, path, writer.LastStatus());
    FinishTrack(drive, track);
    return Step::Next;
}

// Converts into the temporary track file; false when the result is not a
// readable CD-DA file with sound in it.
bool AudioBurnEngine::ConvertTrack(const std::string& path) {
    RemoveTempTrack();
    m_converter.SetSource(path);
    m_converter.SetDestination(TempWavePath());
    if (m_converter.Convert() != clsWav2Cda::kDone) return false;
    const WaveFileLayout layout = ReadWaveFileLayout(m_converter.Destination());
    return layout.Ok() && layout.format.IsCdda() && layout.dataSize > 0;
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
    RemoveTempTrack();
    ReportStop(m_reporter, drive, written ? DiscAfterStop::Unfinished : DiscAfterStop::Unchanged);
    return Step::Cancel;
}

AudioBurnEngine::Step AudioBurnEngine::StopAfterWrite(const std::string& drive, std::uint16_t track,
                                                      TrackWriteOutcome outcome,
                                                      const std::string& path,
                                                      std::int32_t status) {
    // Named by the drive's last answer, read before the tidy-up sends more commands.
    const std::string failure =
        WriteFailureText(status, outcome != TrackWriteOutcome::GaveUp,
                         "Long write - " + Text(12) + "6000ms!", Text(14) + " (Buffer Under-Run?)");
    const std::string discNow = AbortAudioBurn(drive, track);
    if (outcome == TrackWriteOutcome::ReadFailed)
        ShowUnsupported(path, "the converted track could not be read", discNow);
    else
        Show(failure + "\n" + discNow, 13);
    return Step::Stop;
}

void AudioBurnEngine::NoteFailure(const std::string& panelText) {
    m_reporter.PhaseText(panelText);
    if (m_finishFailure.empty()) m_finishFailure = panelText;
}

void AudioBurnEngine::FinishTrack(const std::string& drive, std::uint16_t track) {
    m_reporter.PhaseText("SYNCHRONIZE CACHE ...");
    if (modMMC::SynchronizeCache(drive) != ScsiStatus::kGood)
        NoteFailure("SYNCHRONIZE CACHE failed.");
    m_reporter.PhaseText(Text(15) + " ...");
    if (modMMC::CloseTrackSession(drive, modMMC::kCloseTrack, track) != ScsiStatus::kGood)
        NoteFailure(Text(15) + Text(16));
}

// Closes the session and ends the recording. A failed flush or close
// (deferred write errors surface there) ends with that failure, never with
// the completion message.
AudioBurnOutcome AudioBurnEngine::FinishDisc(const std::string& drive) {
    m_reporter.PhaseText(Text(17) + "...");
    if (modMMC::CloseTrackSession(drive, modMMC::kCloseSession, 1) != ScsiStatus::kGood)
        NoteFailure(Text(17) + Text(18));
    std::string verifyResult;
    VerifyOutcome verified = VerifyOutcome::Verified;
    if (m_options.verify && m_finishFailure.empty())
        verified = DiscVerifier(m_reporter, m_hashes)
                       .RunAfterRecording(drive, m_options.testMode, verifyResult);
    if (m_options.ejectDisc) {
        m_reporter.PhaseText(Text(19));
        (void)modMMC::EjectTray(drive, kImmediate);
    }
    RemoveTempTrack();
    if (verified == VerifyOutcome::Cancelled) return AudioBurnOutcome::Cancelled;
    if (DiscVerifier::Failed(verified)) NoteFailure(verifyResult);
    if (!m_finishFailure.empty()) {
        m_reporter.PhaseText(m_finishFailure);
        Show(m_finishFailure, 13);
        return AudioBurnOutcome::FinishedWithErrors;
    }
    m_reporter.PhaseText(Text(20));
    Show(verifyResult.empty() ? Text(20) : Text(20) + "\n" + verifyResult, 21, true);
    return AudioBurnOutcome::Finished;
}

void AudioBurnEngine::CloseAfterFailure(const std::string& drive, std::uint16_t track) {
    (void)modMMC::SynchronizeCache(drive);
    (void)modMMC::CloseTrackSession(drive, modMMC::kCloseTrack, track);
    (void)modMMC::CloseTrackSession(drive, modMMC::kCloseSession, 1);
}

std::string AudioBurnEngine::AbortAudioBurn(const std::string& drive, std::uint16_t track) {
    CloseAfterFailure(drive, track);
    // Read while the disc is still in the drive.
    std::string discNow = DiscAfterFailure(drive, track);
    if (m_options.ejectDisc) (void)modMMC::EjectTray(drive, kImmediate);
    RemoveTempTrack();
    m_reporter.PhaseText("error");
    return discNow;
}

// Only the temporary track file: a CD-DA source was read in place and stays.
void AudioBurnEngine::RemoveTempTrack() {
    std::error_code error;
    const std::string path = TempWavePath();
    if (std::filesystem::is_regular_file(path, error)) std::filesystem::remove(path, error);
}
