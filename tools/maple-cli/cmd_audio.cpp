// maple-cli audio: records sound files (WAV, FLAC, MP3, Ogg) as an audio CD,
// as the audio window does.
// maple-cli wav2cda: only the conversion of one sound file to CD-DA.
#include <fstream>
#include <ostream>

#include "AlbumTags.h"
#include "AudioBurnEngine.h"
#include "AudioTags.h"
#include "CddaWaveHeader.h"
#include "CliArguments.h"
#include "CliCommand.h"
#include "CliDrive.h"
#include "CliTexts.h"
#include "DriveClaim.h"
#include "OutputFile.h"
#include "StopSignals.h"
#include "TemporaryImage.h"
#include "TerminalReporter.h"
#include "WaveFileLayout.h"
#include "clsWav2Cda.h"

namespace mfa = modFileAccess;

namespace {
std::string FailureLine(AudioBurnOutcome outcome) {
    switch (outcome) {
        case AudioBurnOutcome::Refused:
            return Text(CliText::AudioRefused);
        case AudioBurnOutcome::CompletedWithErrors:
            return Text(CliText::AudioWithErrors);
        case AudioBurnOutcome::Failed:
            return Text(CliText::AudioFailed);
        case AudioBurnOutcome::Cancelled:
            return Text(CliText::AudioStopped);
        case AudioBurnOutcome::Completed:
            break;
    }
    return {};
}

// With --dao: the CD-TEXT, catalogue number and ISRCs from the files' tags
// (the texts unless --no-cd-text; --title and --performer replace the
// album's). Lists the texts that CD-TEXT cannot hold as they stand.
void TakeTags(CliContext& context, const std::vector<std::string>& tracks,
              const std::optional<std::string>& title, const std::optional<std::string>& performer,
              bool withText, AudioBurnOptions& options) {
    std::vector<AudioTags> tags;
    tags.reserve(tracks.size());
    for (const std::string& track : tracks) tags.push_back(AudioTags::Read(track));
    AlbumTags album = AlbumTags::Of(tags);
    if (title) album.text.disc.title = *title;
    if (performer) album.text.disc.performer = *performer;
    options.catalogue = album.catalogue;
    options.isrcs = album.isrcs;
    if (!withText) return;
    options.cdText = album.text;
    const CdTextPacks::Encoded encoded = CdTextPacks::Encode(album.text);
    if (encoded.replaced.empty()) return;
    context.err << Text(AudioText::CdTextReplaced) << "\n";
    for (const std::string& text : encoded.replaced) context.err << "  " << text << "\n";
}

int RunAudio(CliContext& context) {
    CliArguments arguments(context.args);
    AudioBurnOptions options;
    options.testMode = arguments.TakeFlag("--test");
    options.fixDisc = !arguments.TakeFlag("--no-fix");
    options.ejectDisc = !arguments.TakeFlag("--no-eject");
    options.verify = arguments.TakeFlag("--verify");
    options.discAtOnce = arguments.TakeFlag("--dao");
    const std::optional<long long> pause = arguments.TakeNumber("--pause");
    const std::optional<std::string> title = arguments.TakeOption("--title");
    const std::optional<std::string> performer = arguments.TakeOption("--performer");
    const bool noCdText = arguments.TakeFlag("--no-cd-text");
    const std::vector<std::string> tracks = arguments.Positional();
    std::string error = arguments.Error();
    if (error.empty() && tracks.empty()) error = Text(CliText::AudioNeedsFiles);
    if (error.empty() && pause && !options.discAtOnce) error = Text(CliText::PauseNeedsDao);
    if (error.empty() && pause && (*pause < 0 || *pause > AudioBurnOptions::kLongestPause))
        error = Text(CliText::PauseRange);
    if (error.empty() && (title || performer || noCdText) && !options.discAtOnce)
        error = Text(CliText::CdTextNeedsDao);
    if (error.empty() && (title || performer) && noCdText)
        error = Text(CliText::CdTextOptionsClash);
    if (pause) options.pauseSeconds.assign(tracks.size(), static_cast<std::int32_t>(*pause));
    if (!error.empty()) {
        context.err << "maple-cli: " << error << "\n";
        return CliExit::kUsage;
    }
    const std::string drive = CliDrive(context);
    if (drive.empty()) return CliExit::kUsage;
    if (options.discAtOnce) TakeTags(context, tracks, title, performer, !noCdText, options);
    const DriveClaim claim(drive);
    if (ClaimRefused(context, claim)) return CliExit::kFailure;
    TemporaryImage::RemoveStaleFiles();
    TerminalReporter reporter(context.err);
    AudioBurnEngine engine(reporter, options);
    engine.SetTrackCounterHandler([&](const std::string& counter) {
        reporter.Finish();
        context.err << counter << "\n";
    });
    const AudioBurnOutcome outcome = engine.StartAudioBurn(drive, tracks);
    reporter.Finish();
    if (outcome == AudioBurnOutcome::Completed) {
        context.out << Text(options.testMode ? CliText::AudioTestComplete : CliText::AudioRecorded,
                            {std::to_string(tracks.size())})
                    << "\n";
        return CliExit::kSuccess;
    }
    context.err << "maple-cli: " << FailureLine(outcome) << "\n";
    return outcome == AudioBurnOutcome::Cancelled ? CliExit::kStopped : CliExit::kFailure;
}

// CopyCdda's answer to a stop signal.
constexpr const char* kStopped = "stopped";

// A source that already is CD-DA is not converted; its data chunk is copied
// under a canonical header so that OUT is always a plain CD-DA file. Empty
// when done, kStopped after a stop signal, else why not.
std::string CopyCdda(const std::string& source, const std::string& target) {
    const WaveFileLayout layout = ReadWaveFileLayout(source);
    std::ifstream in(source, std::ios::binary);
    if (!layout.Ok() || !in.seekg(layout.dataOffset))
        return Text(CliText::CannotReadFile, {source});
    OutputFile out;
    if (!out.Create(target)) return out.Error();
    const auto header = CddaWaveHeader(44 + layout.dataSize);
    const auto cannotWrite = [&] {
        return Text(CliText::CannotWriteFile, {target, mfa::LastErrorText()});
    };
    if (mfa::FileWrite(out.File(), header.data(), 44) != 44) return cannotWrite();
    std::vector<char> buffer(1 << 20);
    for (std::int64_t left = layout.dataSize; left > 0;) {
        if (StopSignalled()) return kStopped;
        const auto bytes = std::min<std::int64_t>(left, static_cast<std::int64_t>(buffer.size()));
        if (!in.read(buffer.data(), bytes)) return Text(CliText::CannotReadFile, {source});
        if (mfa::FileWrite(out.File(), buffer.data(), bytes) != bytes) return cannotWrite();
        left -= bytes;
    }
    return out.Commit() ? std::string() : out.Error();
}

int RunWav2Cda(CliContext& context) {
    CliArguments arguments(context.args);
    const std::vector<std::string> files = arguments.Positional();
    std::string error = arguments.Error();
    if (error.empty() && files.size() != 2) error = Text(CliText::Wav2CdaNeedsFiles);
    if (!error.empty()) {
        context.err << "maple-cli: " << error << "\n";
        return CliExit::kUsage;
    }
    clsWav2Cda converter;
    converter.SetSource(files[0]);
    if (converter.Source().empty()) {
        context.err << "maple-cli: " << files[0] << ": " << converter.RefusalReason() << "\n";
        return CliExit::kFailure;
    }
    TerminalReporter reporter(context.err);
    converter.SetProgressHandler([&](std::int16_t percent) {
        reporter.Progress(percent);
        reporter.PercentText(std::to_string(percent) + "%");
    });
    converter.SetCancelCheck(&StopSignalled);
    converter.SetDestination(files[1]);
    const std::int32_t status = converter.Convert();
    reporter.Finish();
    const bool passedThrough = status == clsWav2Cda::kDone && converter.Destination() != files[1];
    const std::string problem =
        passedThrough ? CopyCdda(files[0], files[1]) : converter.OutputProblem();
    if (status == clsWav2Cda::kDone && problem.empty()) return CliExit::kSuccess;
    if (converter.Cancelled() || problem == kStopped) {
        context.err << "maple-cli: " << Text(CliText::ConversionStopped, {files[1]}) << "\n";
        return CliExit::kStopped;
    }
    context.err << "maple-cli: "
                << Text(status == clsWav2Cda::kNothingDone ? CliText::ConversionSameFile
                                                           : CliText::ConversionFailed,
                        {files[0], files[1]})
                << (problem.empty() ? "" : ": " + problem) << "\n";
    return CliExit::kFailure;
}

const CliRegistration audio(
    {"audio",
     "maple-cli [--drive N] audio [--test] [--no-fix] [--no-eject] [--verify] "
     "[--dao [--pause SECONDS] [--title TEXT] [--performer TEXT] [--no-cd-text]] FILE...",
     CliText::SummaryAudio, &RunAudio, true, true});
const CliRegistration wav2cda({"wav2cda", "maple-cli wav2cda IN OUT.wav", CliText::SummaryWav2Cda,
                               &RunWav2Cda, false, true});
}  // namespace
