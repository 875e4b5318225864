// maple-cli info: what the disc information window shows.
#include <algorithm>
#include <optional>
#include <ostream>

#include "AudioDiscCodes.h"
#include "CliCommand.h"
#include "CliDrive.h"
#include "CliTexts.h"
#include "DiscContinuation.h"
#include "DiscInfoView.h"
#include "DriveFailure.h"
#include "ScsiStatus.h"
#include "TerminalColumns.h"
#include "modMMC.h"

namespace {
constexpr std::size_t kLabelColumns = 21;

// `label` filled with spaces to the values' column, as a terminal shows it:
// a Chinese character takes two columns.
std::string PaddedLabel(const std::string& label) {
    const std::size_t columns = TerminalColumns(label);
    return label + std::string(columns < kLabelColumns ? kLabelColumns - columns : 1, ' ');
}

// The disc's texts; nullopt after printing why they cannot be read: a drive
// that never becomes ready, or a disc status it does not give, is no blank.
std::optional<DiscInfoTexts> DiscTexts(CliContext& context, const std::string& drive) {
    const std::int32_t ready = modMMC::WaitUnitReady(drive, modMMC::kReadyWaitMs);
    if (ready == 0) return DiscInfoView::NotAvailable();  // no disc
    std::int32_t status = modMMC::TestUnitReady(drive);   // also clears a unit attention
    if (ready != 1) {
        context.err << "maple-cli: " << Text(CliText::DriveNotReady, {FailureCode(status)}) << "\n";
        return std::nullopt;
    }
    modMMC::DiscInformationBlock block{};
    status = modMMC::ReadDiscInformation(drive, block);
    if (status == ScsiStatus::kGood) return DiscInfoView::Named(modMMC::GetDiscStatus(drive));
    context.err << "maple-cli: " << Text(CliText::NoDiscState, {FailureCode(status)}) << "\n";
    return std::nullopt;
}

// An audio CD's CD-TEXT, catalogue number and ISRCs, each line only when
// the disc has it.
void PrintCodes(CliContext& context, const AudioDiscCodes& codes) {
    const auto row = [&](const std::string& caption, const std::string& value) {
        if (!value.empty()) context.out << PaddedLabel(caption) << value << "\n";
    };
    const CdText& text = codes.cdText.text;
    row(Text(CliText::InfoAlbumTitle), text.disc.title);
    row(Text(CliText::InfoAlbumPerformer), text.disc.performer);
    row(Text(CliText::InfoAlbumSongwriter), text.disc.songwriter);
    row(Text(CliText::InfoCatalogue), codes.catalogue);
    const std::size_t tracks = std::max(text.tracks.size(), codes.isrcs.size());
    for (std::size_t index = 0; index < tracks; ++index) {
        const CdText::Texts texts =
            index < text.tracks.size() ? text.tracks[index] : CdText::Texts{};
        std::string line;
        const auto add = [&line](CliText part, const std::string& value) {
            if (!value.empty()) line += (line.empty() ? "" : ", ") + Text(part, {value});
        };
        add(CliText::InfoTrackTitle, texts.title);
        add(CliText::InfoTrackPerformer, texts.performer);
        add(CliText::InfoTrackSongwriter, texts.songwriter);
        add(CliText::InfoTrackIsrc, index < codes.isrcs.size() ? codes.isrcs[index] : "");
        row(Text(CliText::InfoTrack, {std::to_string(index + 1)}), line);
    }
    if (codes.cdText.badPacks > 0)
        row(Text(CliText::InfoCdText),
            Text(CliText::InfoBadPacks, {std::to_string(codes.cdText.badPacks)}));
}

int RunInfo(CliContext& context) {
    CliArguments arguments(context.args);
    const std::string drive = CliDriveForCommand(context, arguments);
    if (drive.empty()) return CliExit::kUsage;
    // As the window, once the drive is ready; "N/A" without a disc.
    const std::optional<DiscInfoTexts> texts = DiscTexts(context, drive);
    if (!texts) return CliExit::kFailure;
    const std::pair<CliText, const std::string&> rows[] = {
        {CliText::InfoDiscType, texts->discType},
        {CliText::InfoSessions, texts->sessions},
        {CliText::InfoLastTrack, texts->lastTrack},
        {CliText::InfoDiscStatus, texts->discStatus},
        {CliText::InfoLastSessionStatus, texts->lastSessionStatus}};
    for (const auto& [caption, value] : rows)
        context.out << PaddedLabel(Text(caption)) << value << "\n";
    // Each recorded session, where it starts and how long it is, in blocks.
    if (modMMC::WaitUnitReady(drive, modMMC::kReadyWaitMs) == 1) {
        for (const DiscSession& session : DiscContinuation::Of(drive).sessions)
            context.out << PaddedLabel(Text(CliText::InfoSession, {std::to_string(session.number)}))
                        << Text(CliText::InfoSessionPlace,
                                {std::to_string(session.start), std::to_string(session.length)})
                        << "\n";
        PrintCodes(context, AudioDiscCodes::Read(drive));
    }
    return CliExit::kSuccess;
}

const CliRegistration info({"info", "maple-cli [--drive N] info", CliText::SummaryInfo, &RunInfo,
                            true});
}  // namespace
