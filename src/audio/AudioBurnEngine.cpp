#include "AudioBurnEngine.h"
#include "MediaFamily.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <utility>

#include "AudioBurnMessages.h"
#include "CompletionMessage.h"
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
#include "UnderrunProtection.h"
#include "WaveFileLayout.h"
#include "clsWPP.h"
#include "modMMC.h"

namespace {
constexpr std::int16_t kAudioPause = 150;  // blocks: 2 seconds
}  // namespace

AudioBurnEngine::AudioBurnEngine(EngineReporter& reporter, AudioBurnOptions options)
    : m_reporter(reporter),
      m_options(std::move(options)),
      m_closing(reporter, {Text(AudioText::ClosingTrack), Text(AudioText::CloseTrackFailed),
                           Text(AudioText::ClosingSession), Text(AudioText::CloseSessionFailed)}) {
    m_converter.SetProgressHandler([this](std::int16_t percent) { m_reporter.Progress(percent); });
}

void AudioBurnEngine::Show(const std::string& text, AudioText title, bool information) {
    m_reporter.Message(text, Text(title),
                       information ? MessageIcon::Information : MessageIcon::Exclamation,
                       MessageButtons::Ok);
}

AudioBurnOutcome AudioBurnEngine::Refuse(AudioText message, AudioText title) {
    Show(Text(message), title);
    return AudioBurnOutcome::Refused;
}

void AudioBurnEngine::ShowRefusal(const std::string& path) {
    Show(AudioFileProblemText(path, m_converter.RefusalKind(), m_converter.RefusalReason(),
                              Text(AudioText::NotSupported)),
         AudioText::NotSupportedTitle);
}

AudioBurnOutcome AudioBurnEngine::StartAudioBurn(const std::string& drive,
                                                 const std::vector<std::string>& tracks) {
    if (tracks.empty()) return Refuse(AudioText::NoTracks, AudioText::NoTracksTitle);
    const DriveBusyScope busy(drive);
    const DriveClaim claim(drive);
    if (!HoldsDrive(claim)) return AudioBurnOutcome::Refused;
    const std::int32_t ready = modMMC::WaitUnitReady(drive, modMMC::kReadyWaitMs);
    if (ready == -1) return Refuse(AudioText::DriveBusy, AudioText::DriveTitle);
    if (ready == 0) return Refuse(AudioText::NoDisc, AudioText::DriveTitle);
    if (MediaFamilies::OfDisc(drive) != MediaFamily::CD)  // a DVD or a Blu-ray disc
        return Refuse(AudioText::DvdInserted, AudioText::DvdInsertedTitle);
    if (!DiscAccepted(drive)) return Refuse(AudioText::NotBlank, AudioText::NotBlankTitle);
    if (tracks.size() > kMostTracks)
        return Refuse(AudioText::TooManyTracks, AudioText::TooManyTracksTitle);
    if (!TracksReadable(tracks)) return AudioBurnOutcome::Refused;
    return BurnAudioTracks(drive, tracks);
}

bool AudioBurnEngine::HoldsDrive(const DriveClaim& claim) {
    const std::string problem = RecordingChecks::ClaimProblem(claim);
    if (!problem.empty()) Show(problem, AudioText::DriveTitle);
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
// an empty one would leave the drive without a track to close. The list is
// kept as checked: the files' lengths and times, and the CD-DA bytes each
// track takes.
bool AudioBurnEngine::TracksReadable(const std::vector<std::string>& tracks) {
    m_tracks.clear();
    if (m_sheet != nullptr && !SheetFilesPresent()) return false;
    for (const std::string& path : tracks) {
        CheckedTrack track = CheckedTrack::Of(path);
        if (m_sheet != nullptr && TakeSheetFile(m_tracks.size(), track)) {
            m_tracks.push_back(std::move(track));
            continue;
        }
        m_converter.SetSource(path);
        if (m_converter.Source().empty()) {
            ShowRefusal(path);
            return false;
        }
        const std::int64_t frames = m_converter.SourceFrames();
        const std::int64_t rate = m_converter.SourceFormat().samplesPerSec;
        if (frames < 1) {
            Show(
                AudioFileProblemText(path, AudioRefusal::Silent, {}, Text(AudioText::NotSupported)),
                AudioText::NotSupportedTitle);
            return false;
        }
        track.needsConversion = m_converter.SourceDecoded() || !m_converter.SourceFormat().IsCdda();
        track.dataBytes = (frames * 44100 + rate - 1) / rate * 4;
        m_tracks.push_back(std::move(track));
    }
    return m_sheet == nullptr || SheetLaidOut();
}

// The tracks with the pauses between them must fit the free space, test
// mode needs a medium that can simulate, Disc-At-Once a drive that offers it
// and tracks of 4 seconds at least.
bool AudioBurnEngine::RecordingAllowed(const std::string& drive) {
    const std::int32_t media = modMMC::GetMediaType(drive);
    std::string problem =
        m_options.testMode ? RecordingChecks::TestModeProblem(media) : std::string();
    if (problem.empty() && m_options.discAtOnce) {
        const DiscAtOnceLayout layout = Layout();
        if (!DiscAtOnceAllowed(drive, layout)) return false;
        problem = RecordingChecks::AudioFitProblem(layout.LeadOut(), modMMC::FreeBlocks(drive));
    } else if (problem.empty()) {
        std::int64_t needed = kAudioPause * (static_cast<std::int64_t>(m_tracks.size()) - 1);
        for (const CheckedTrack& track : m_tracks) needed += track.Sectors();
        problem = RecordingChecks::AudioFitProblem(needed, modMMC::FreeBlocks(drive));
    }
    if (problem.empty()) return true;
    Show(problem, AudioText::NotBlankTitle);
    return false;
}

bool AudioBurnEngine::SendWriteParameters(const std::string& drive) {
    clsWPP page;
    if (!page.GetData(drive)) {
        Show(Text(AudioText::ReadPageFailed), AudioText::ReadPageFailedTitle);
        return false;
    }
    page.SetcWriteType(m_options.discAtOnce ? 2 : 1);  // Session At Once or Track At Once
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
    page.SetBURNProof(HasUnderrunProtection(drive));
    if (!page.SendData(drive)) {
        Show(Text(AudioText::WritePageFailed), AudioText::WritePageFailedTitle);
        return false;
    }
    return true;
}

AudioBurnOutcome AudioBurnEngine::BurnAudioTracks(const std::string& drive,
                                                  const std::vector<std::string>& tracks) {
    const DriveBusyScope busy(drive);
    const DriveClaim claim(drive);
    if (!HoldsDrive(claim)) return AudioBurnOutcome::Refused;
    m_closing.Clear();
    if (m_reporter.CancelRequested()) {
        ReportStop(m_reporter, drive, DiscAfterStop::Unchanged);
        return AudioBurnOutcome::Cancelled;
    }
    const bool checked = m_tracks.size() == tracks.size() &&
                         std::equal(tracks.begin(), tracks.end(), m_tracks.begin(),
                                    [](const std::string& path, const CheckedTrack& track) {
                                        return path == track.source;
                                    });
    if (!checked && !TracksReadable(tracks)) return AudioBurnOutcome::Refused;
    if (!RecordingAllowed(drive)) return AudioBurnOutcome::Refused;
    const Step converted = ConvertTracks();
    if (converted != Step::Next) {
        RemoveTempTracks();
        if (converted == Step::Stop) return AudioBurnOutcome::Refused;
        ReportStop(m_reporter, drive, DiscAfterStop::Unchanged);
        return AudioBurnOutcome::Cancelled;
    }
    // The converted lengths are exact; a track may have come out shorter.
    if (m_options.discAtOnce && !DiscAtOnceAllowed(drive, Layout())) {
        RemoveTempTracks();
        return AudioBurnOutcome::Refused;
    }
    if (!SendWriteParameters(drive)) {
        RemoveTempTracks();
        return AudioBurnOutcome::Failed;
    }
    m_writeStart = ElapsedTime();
    if (m_options.discAtOnce) {
        const Step step = RecordDiscAtOnce(drive);
        if (step == Step::Stop) return AudioBurnOutcome::Failed;
        if (step == Step::Cancel) return AudioBurnOutcome::Cancelled;
        return FinishDisc(drive);
    }
    for (std::size_t index = 0; index < m_tracks.size(); ++index) {
        const Step step =
            RecordTrack(drive, static_cast<std::uint16_t>(index + 1), m_tracks[index]);
        if (step == Step::Stop) return AudioBurnOutcome::Failed;
        if (step == Step::Cancel) return AudioBurnOutcome::Cancelled;
    }
    return FinishDisc(drive);
}

void AudioBurnEngine::NoteFailure(const std::string& panelText) {
    m_closing.NoteFailure(panelText);
}

void AudioBurnEngine::FinishTrack(const std::string& drive, std::uint16_t track) {
    m_closing.Flush(drive);
    m_closing.CloseTrack(drive, track);
}

// Closes the session and ends the recording. A failed flush or close
// (deferred write errors surface there) ends with that failure, never with
// the completion message.
AudioBurnOutcome AudioBurnEngine::FinishDisc(const std::string& drive) {
    if (m_options.discAtOnce) {
        // The drive writes the lead-out, which closes the session.
        m_closing.Flush(drive);
    } else {
        m_closing.CloseSession(drive, modMMC::kCloseSession, 1);
    }
    std::string verifyResult;
    VerifyOutcome verified = VerifyOutcome::Verified;
    if (m_options.verify && m_closing.Failure().empty())
        verified = DiscVerifier(m_reporter, m_hashes, m_writeStart)
                       .RunAfterRecording(drive, m_options.testMode, verifyResult);
    if (m_options.verify && m_options.discAtOnce && !m_options.testMode &&
        verified == VerifyOutcome::Verified && m_closing.Failure().empty()) {
        VerifyTrackStarts(drive, verifyResult);
        VerifyDiscCodes(drive, verifyResult);
    }
    if (m_options.ejectDisc) {
        m_reporter.PhaseText(Text(AudioText::Ejecting));
        (void)modMMC::EjectTray(drive, modMMC::Immed::kOn);
    }
    RemoveTempTracks();
    if (verified == VerifyOutcome::Cancelled) return AudioBurnOutcome::Cancelled;
    if (DiscVerifier::Failed(verified)) NoteFailure(verifyResult);
    if (!m_closing.Failure().empty()) {
        m_reporter.PhaseText(m_closing.Failure());
        Show(m_closing.Failure(), AudioText::WriteFailedTitle);
        return AudioBurnOutcome::CompletedWithErrors;
    }
    m_reporter.PhaseText(Text(AudioText::RecordingComplete));
    Show(CompletionMessage(Text(AudioText::RecordingComplete), m_options.testMode, verifyResult),
         AudioText::RecordingCompleteTitle, true);
    return AudioBurnOutcome::Completed;
}

std::string AudioBurnEngine::AbortAudioBurn(const std::string& drive, std::uint16_t track) {
    CloseAfterFailure(drive, track);
    // Read while the disc is still in the drive.
    std::string discNow = DiscAfterFailure(drive, track);
    if (m_options.ejectDisc) (void)modMMC::EjectTray(drive, modMMC::Immed::kOn);
    RemoveTempTracks();
    m_reporter.PhaseText("error");
    return discNow;
}
