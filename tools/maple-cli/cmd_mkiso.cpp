// maple-cli mkiso: builds an ISO 9660 / Joliet image from files and folders.
#include <ostream>

#include "CliArguments.h"
#include "CliCommand.h"
#include "CliImageBuild.h"
#include "CliTexts.h"
#include "NameText.h"
#include "StandardStreams.h"
#include "StopSignals.h"
#include "TerminalReporter.h"
#include "clsISOWriter.h"

namespace {
struct MkisoOptions {
    std::string output;
    VolumeOptions volume;
    bool noJoliet = false;
    std::vector<std::string> paths;
};

bool ReadOptions(CliContext& context, MkisoOptions& options) {
    CliArguments arguments(context.args);
    options.output = arguments.TakeOption("-o").value_or("");
    options.volume = TakeVolumeOptions(arguments);
    options.noJoliet = arguments.TakeFlag("--no-joliet");
    options.paths = arguments.Positional();
    std::string problem = arguments.Error();
    if (problem.empty() && options.output.empty()) problem = Text(CliText::MkisoNeedsOutput);
    if (problem.empty() && options.paths.empty()) problem = Text(CliText::MkisoNeedsPaths);
    if (!problem.empty()) context.err << "maple-cli: " << problem << "\n";
    return problem.empty();
}

// "-o -": the image goes to standard output, for "maple-cli burn -".
int StreamImage(CliContext& context, clsISOWriter& writer, bool readable) {
    if (!readable) {
        // The stream would lack what could not be read: it does not start.
        context.err << "maple-cli: " << Text(CliText::NothingToStandardOutput) << "\n";
        return CliExit::kFailure;
    }
    FileHandleRecord out = StandardOutput();
    if (writer.SaveISOToStream(out)) return CliExit::kSuccess;
    context.err << "maple-cli: " << NameText::ShownText(writer.LastError()) << "\n";
    return writer.Cancelled() ? CliExit::kStopped : CliExit::kFailure;
}

int RunMkiso(CliContext& context) {
    MkisoOptions options;
    if (!ReadOptions(context, options)) return CliExit::kUsage;
    clsISOWriter writer;
    if (!ApplyVolumeFields(context, options.volume, writer)) return CliExit::kUsage;
    writer.SetJoliet(!options.noJoliet);
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
    ImageBuildProgress progress(reporter);
    writer.SetEvents(&progress);
    if (options.output == "-") return StreamImage(context, writer, readable);
    if (writer.SaveISO(options.output)) return readable ? CliExit::kSuccess : CliExit::kFailure;
    if (writer.Cancelled()) {
        context.err << "maple-cli: " << writer.LastError() << "\n";
        return CliExit::kStopped;
    }
    for (const auto& file : writer.UnreadableFiles())
        context.err << "maple-cli: " << Text(CliText::CouldNotRead, {file.path, file.reason})
                    << "\n";
    context.err << "maple-cli: " << (writer.UnreadableFiles().empty() ? "" : options.output + ": ")
                << writer.LastError() << "\n";
    return CliExit::kFailure;
}

const CliRegistration mkiso(
    {"mkiso",
     "maple-cli mkiso -o OUT.iso|- [--volume-id TEXT] [--joliet-volume-id TEXT] "
     "[--date \"YYYY-MM-DD hh:mm:ss\"] [--no-joliet] PATH...",
     CliText::SummaryMkiso, &RunMkiso, false, true});
}  // namespace
