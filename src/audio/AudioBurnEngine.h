#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "AudioTexts.h"
#include "AudioTrackWriter.h"
#include "BlockHashes.h"
#include "CdText.h"
#include "CdTextPacks.h"
#include "CheckedTrack.h"
#include "ClosingSteps.h"
#include "CueSheetReader.h"
#include "DiscAtOnceLayout.h"
#include "DiscAtOnceStream.h"
#include "ElapsedTime.h"
#include "clsWav2Cda.h"

class DriveClaim;
class EngineReporter;

// How an audio recording request ended; its messages have been shown by then.
enum class AudioBurnOutcome {
    Refused,              // a check before recording said no; the disc was not touched
    Completed,            // every track written and closed, the session closed
    CompletedWithErrors,  // every track written, but a flush or close failed (shown)
    Failed,               // recording stopped early (the failure was shown)
    Cancelled,            // the user stopped it; the message said what the disc holds
};

// The options of the audio window.
struct AudioBurnOptions {
    static constexpr std::int32_t kDefaultPause = 2;  // seconds
    static constexpr std::int32_t kLongestPause = 10;

    bool testMode = false;  // simulate: the drive records nothing
    bool fixDisc = true;    // close the disc against further sessions
    bool ejectDisc = true;  // open the tray at the end (also after a failure)
    bool verify = false;    // read the tracks back (READ CD) and compare them with the sound sent
    // Disc-At-Once: the tracks as one stream, with the pauses below; else
    // Track At Once with 2-second pauses.
    bool discAtOnce = false;
    // Disc-At-Once: seconds of silence before each track (0..10; the first
    // entry, the first track's, is ignored); missing entries are 2 s.
    std::vector<std::int32_t> pauseSeconds;
    // Disc-At-Once: the CD-TEXT for the lead-in (none when empty; written
    // only by a drive that offers it), the disc's catalogue number (MCN) and
    // the tracks' ISRCs (by track; empty for none) for the cue sheet.
    CdText cdText;
    std::string catalogue;
    std::vector<std::string> isrcs;

    // The pause before track `index` (0-based) in sectors.
    std::int64_t PauseSectors(std::size_t index) const;
};

// Records sound files (WAV, FLAC, MP3, Ogg) as an audio CD: one CD-DA track
// per file, Track At Once with 2-second pauses, or Disc-At-Once with the
// chosen pauses (see DiscAtOnceLayout). Before the disc is touched every
// file is checked and every one that is no CD-DA WAV is converted into this
// job's folder (see JobFolder), once that is known to be a writable folder
// with room for all of them; no conversion runs while the disc is written.
// A file that changed after its check (its length or modification time)
// fails the recording by name.
// Reports through the reporter: PhaseText = status panel 1, ElapsedText =
// panel 3 (the file being converted, then the elapsed time), PercentText and
// Progress = the percentage label and bar; texts and messages are those of
// the audio window (AudioText).
// The drive is marked busy and held (a DriveClaim) for the whole request. A cancel request stops it
// before the next block or track (see ReportStop). With the verify option the
// sectors sent are hashed and the closed disc is read back before it is
// ejected (see DiscVerifier).
class AudioBurnEngine {
  public:
    static constexpr std::size_t kMostTracks = 99;

    AudioBurnEngine(EngineReporter& reporter, AudioBurnOptions options);

    // Receives the track counter text ("-   2   of   5   -") before each track.
    void SetTrackCounterHandler(std::function<void(const std::string&)> handler) {
        m_trackCounter = std::move(handler);
    }

    // The Burn button: checks the list, the drive and the disc, and every
    // file, then records. Refusals show their message and touch nothing.
    AudioBurnOutcome StartAudioBurn(const std::string& drive,
                                    const std::vector<std::string>& tracks);
    // Records an audio cue sheet (read by CueSheetReader) Disc-At-Once with
    // the checks of StartAudioBurn; its files, index points and track
    // lengths are checked first and refused by the sheet's line (named
    // `sheetName`). The sheet's CD-TEXT, catalogue number and ISRCs replace
    // those of the options. `sheet` must outlive the call.
    AudioBurnOutcome StartSheetBurn(const std::string& drive, const CueSheet& sheet,
                                    const std::string& sheetName);
    // Records the tracks on the disc in `drive` (the checks passed). Refuses,
    // before the disc is touched, tracks that do not fit its free space
    // (pauses included), test mode on media that cannot simulate, and a
    // temporary folder that cannot take the converted tracks.
    AudioBurnOutcome BurnAudioTracks(const std::string& drive,
                                     const std::vector<std::string>& tracks);
    // After a fatal failure while track `track` was being written: flushes,
    // closes that track and the session, ejects if asked, removes the
    // temporary track file. Results are not checked. Returns what the disc
    // holds now (DiscAfterFailure, read before the eject).
    std::string AbortAudioBurn(const std::string& drive, std::uint16_t track);

  private:
    enum class Step { Next, Stop, Cancel };

    AudioBurnOutcome Refuse(AudioText message, AudioText title);
    bool HoldsDrive(const DriveClaim& claim);
    bool DiscAccepted(const std::string& drive);
    bool TracksReadable(const std::vector<std::string>& tracks);
    bool RecordingAllowed(const std::string& drive);
    bool TempFolderTakes(std::int64_t bytes);
    Step ConvertTracks();
    bool ConvertTrack(std::size_t index);
    bool SendWriteParameters(const std::string& drive);
    // Disc-At-Once (AudioBurnEngine_DiscAtOnce.cpp).
    DiscAtOnceLayout Layout() const;
    DiscAtOnceStream Stream() const;
    std::size_t TrackCount() const;
    // The file track `track` (1-based) is recorded from.
    const CheckedTrack& SourceOf(std::size_t track) const;
    // A cue sheet's (AudioBurnEngine_Sheet.cpp).
    bool SheetFilesPresent();
    bool TakeSheetFile(std::size_t index, CheckedTrack& track);
    bool SheetLaidOut();
    void ShowSheetProblem(const CueSheetReader::Problem& problem);
    bool DiscAtOnceAllowed(const std::string& drive, const DiscAtOnceLayout& layout);
    // The CD-TEXT packs and lead-in start when the drive takes lead-in text;
    // else none, and the reason is shown.
    void PrepareCdText(const std::string& drive);
    void VerifyDiscCodes(const std::string& drive, std::string& result);
    Step RecordDiscAtOnce(const std::string& drive);
    void VerifyTrackStarts(const std::string& drive, std::string& result);
    Step RecordTrack(const std::string& drive, std::uint16_t track, const CheckedTrack& checked);
    void CountTrack(std::uint16_t track);
    // SET CD SPEED to 16x; a refusal is only warned about.
    void SetAudioSpeed(const std::string& drive);
    bool NextWritableAddress(const std::string& drive, std::uint16_t track, std::uint32_t& address);
    // Ends a cancelled recording; `written`: blocks reached the disc.
    Step Cancel(const std::string& drive, bool written);
    Step StopAfterWrite(const std::string& drive, std::uint16_t track, TrackWriteOutcome outcome,
                        const CheckedTrack& checked, std::int32_t status);
    // Flush, close track `track` and the session; results are not checked.
    void FinishTrack(const std::string& drive, std::uint16_t track);
    AudioBurnOutcome FinishDisc(const std::string& drive);
    void NoteFailure(const std::string& panelText);
    void ShowRefusal(const std::string& path);
    void RemoveTempTracks();
    void Show(const std::string& text, AudioText title, bool information = false);

    EngineReporter& m_reporter;
    AudioBurnOptions m_options;
    clsWav2Cda m_converter;
    std::function<void(const std::string&)> m_trackCounter;
    ClosingSteps m_closing;              // the flushes and closes, and the first failure
    BlockHashes m_hashes;                // of the sectors sent, with the verify option
    ElapsedTime m_writeStart;            // when the first track began, for the verification
    std::vector<CheckedTrack> m_tracks;  // the list as checked, in order
    std::vector<CdTextPacks::Pack> m_leadInPacks;  // Disc-At-Once: CD-TEXT being written
    std::int64_t m_leadInStart = 0;
    const CueSheet* m_sheet = nullptr;  // recording a cue sheet: its files are m_tracks
    std::string m_sheetName;
};
