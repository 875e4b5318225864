// maple-cli mkiso: builds an ISO 9660 / Joliet image from files and folders.
#include <ostream>

#include "CliArguments.h"
#include "CliCommand.h"
#include "DiscProject.h"
#include "NameText.h"
#include "StopSignals.h"
#include "TerminalReporter.h"
#include "clsISOWriter.h"

namespace {
// Shows the writer's events as the terminal's progress bar.
class MkisoProgress : public ISOWriterEvents {
  public:
    explicit MkisoProgress(TerminalReporter& reporter) : m_reporter(reporter) {}
    void BuildingFilesystem() override { m_reporter.PhaseText("Building the file system..."); }
    void WritingPathTable() override { m_reporter.PhaseText("Writing path tables..."); }
    void WritingDirectoryRecords() override { m_reporter.PhaseText("Writing directories..."); }
    void WritingFiles(std::int32_t percent) override {
        const int shown = percent > 100 ? 100 : percent;
        if (shown == m_percent) return;
        m_percent = shown;
        m_reporter.PhaseText("Writing files...");
        m_reporter.PercentText(std::to_string(shown) + "%");
        m_reporter.Progress(shown);
    }
    void WritingFinished() override {
        m_reporter.PhaseText("Ready");
        m_reporter.Finish();
    }
    bool CancelRequested() override { return StopSignalled(); }

  private:
    TerminalReporter& m_reporter;
    int m_percent = -1;
};

struct MkisoOptions {
    std::string output;
    std::optional<std::string> volumeId, jolietVolumeId, date;
    bool noJoliet = false;
    std::vector<std::string> paths;
};

bool ReadOptions(CliContext& context, MkisoOptions& options) {
    CliArguments arguments(context.args);
    options.output = arguments.TakeOption("-o").value_or("");
    options.volumeId = arguments.TakeOption("--volume-id");
    options.jolietVolumeId = arguments.TakeOption("--joliet-volume-id");
    options.date = arguments.TakeOption("--date");
    options.noJoliet = arguments.TakeFlag("--no-joliet");
    options.paths = arguments.Positional();
    std::string problem = arguments.Error();
    if (problem.empty() && options.output.empty()) problem = "mkiso needs -o OUT.iso";
    if (problem.empty() && options.paths.empty())
        problem = "mkiso needs at least one file or folder";
    if (!problem.empty()) context.err << "maple-cli: " << problem << "\n";
    return problem.empty();
}

bool ApplyVolumeFields(CliContext& context, const MkisoOptions& options, clsISOWriter& writer) {
    if (options.volumeId) {
        // One label for both trees unless the Joliet one is given separately,
        // as in the window: within the Joliet length.
        writer.SetVolumeID(*options.volumeId, false);
        writer.SetVolumeID(
            DiscProject::Limited(DiscProject::Field::VolumeID, true, *options.volumeId), true);
    }
    if (options.jolietVolumeId) writer.SetVolumeID(*options.jolietVolumeId, true);
    if (options.date) {
        const auto date = LocalDateTime::Parse(*options.date);
        if (!date) {
            context.err << "maple-cli: --date needs \"YYYY-MM-DD hh:mm:ss\", not \""
                        << *options.date << "\"\n";
            return false;
        }
        writer.SetVolumeCreation(*date);
    }
    writer.SetJoliet(!options.noJoliet);
    return true;
}

// Tells what adding left out or changed; true when all of it could be read.
bool ShowNotes(CliContext& context, const std::vector<SkippedEntry>& notes) {
    bool readable = true;
    for (const SkippedEntry& note : notes) {
        const std::string path = NameText::ShownText(note.localPath);
        if (note.kind == SkippedEntry::Kind::Unreadable) {
            context.err << "maple-cli: could not read " << path << " (" << note.reason << ")\n";
            readable = false;
        } else if (note.kind == SkippedEntry::Kind::Skipped) {
            context.err << "maple-cli: warning: skipped " << path << " (" << note.reason << ")\n";
        } else {
            context.err << "maple-cli: warning: " << path << ": " << note.reason << "\n";
        }
    }
    return readable;
}

int RunMkiso(CliContext& context) {
    MkisoOptions options;
    if (!ReadOptions(context, options)) return CliExit::kUsage;
    clsISOWriter writer;
    if (!ApplyVolumeFields(context, options, writer)) return CliExit::kUsage;
    // Each PATH is added as a drop on the root adds it; sizes and dates are
    // taken once, when the image is laid out.
    std::vector<SkippedEntry> notes;
    for (const auto& path : options.paths) {
        if (std::string problem = writer.Root().AddLocalPath(path, &notes, false);
            !problem.empty()) {
            context.err << "maple-cli: " << NameText::ShownText(problem) << "\n";
            return CliExit::kFailure;
        }
    }
    const bool readable = ShowNotes(context, notes);
    TerminalReporter reporter(context.err);
    MkisoProgress progress(reporter);
    writer.SetEvents(&progress);
    if (writer.SaveISO(options.output)) return readable ? CliExit::kSuccess : CliExit::kFailure;
    if (writer.Cancelled()) {
        context.err << "maple-cli: " << writer.LastError() << "\n";
        return CliExit::kStopped;
    }
    for (const auto& file : writer.UnreadableFiles())
        context.err << "maple-cli: could not read " << file.path << " (" << file.reason << ")\n";
    context.err << "maple-cli: " << (writer.UnreadableFiles().empty() ? "" : options.output + ": ")
                << writer.LastError() << "\n";
    return CliExit::kFailure;
}

const CliRegistration mkiso(
    {"mkiso",
     "maple-cli mkiso -o OUT.iso [--volume-id TEXT] [--joliet-volume-id TEXT] "
     "[--date \"YYYY-MM-DD hh:mm:ss\"] [--no-joliet] PATH...",
     "build an ISO 9660 / Joliet image of files and folders", &RunMkiso, false, true});
}  // namespace
