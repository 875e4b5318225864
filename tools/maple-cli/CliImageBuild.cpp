// Building an image from the command line: progress, volume options, notes.
#include "CliImageBuild.h"

#include <ostream>

#include "CliTexts.h"
#include "DiscProject.h"
#include "NameText.h"
#include "clsISOWriter.h"

VolumeOptions TakeVolumeOptions(CliArguments& arguments) {
    VolumeOptions options;
    options.volumeId = arguments.TakeOption("--volume-id");
    options.jolietVolumeId = arguments.TakeOption("--joliet-volume-id");
    options.date = arguments.TakeOption("--date");
    return options;
}

bool ApplyVolumeFields(CliContext& context, const VolumeOptions& options, clsISOWriter& writer) {
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
            context.err << "maple-cli: " << Text(CliText::DateFormat, {*options.date}) << "\n";
            return false;
        }
        writer.SetVolumeCreation(*date);
    }
    return true;
}

bool ShowNotes(CliContext& context, const std::vector<SkippedEntry>& notes) {
    bool readable = true;
    for (const SkippedEntry& note : notes) {
        const std::string path = NameText::ShownText(note.localPath);
        if (note.kind == SkippedEntry::Kind::Unreadable) {
            context.err << "maple-cli: " << Text(CliText::CouldNotRead, {path, note.reason})
                        << "\n";
            readable = false;
        } else if (note.kind == SkippedEntry::Kind::Skipped) {
            context.err << "maple-cli: " << Text(CliText::WarningSkipped, {path, note.reason})
                        << "\n";
        } else {
            context.err << "maple-cli: " << Text(CliText::WarningNote, {path, note.reason}) << "\n";
        }
    }
    return readable;
}
