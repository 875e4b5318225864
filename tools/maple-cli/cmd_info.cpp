// maple-cli info: what the disc information window shows.
#include <algorithm>
#include <iomanip>
#include <optional>
#include <ostream>

#include "AudioDiscCodes.h"
#include "CliCommand.h"
#include "CliDrive.h"
#include "DiscContinuation.h"
#include "DiscInfoView.h"
#include "DriveFailure.h"
#include "ScsiStatus.h"
#include "modMMC.h"

namespace {
constexpr std::int32_t kReadyWaitMs = 15000;

// The disc's texts; nullopt after printing why they cannot be read: a drive
// that never becomes ready, or a disc status it does not give, is no blank.
std::optional<DiscInfoTexts> DiscTexts(CliContext& context, const std::string& drive) {
    const std::int32_t ready = modMMC::WaitUnitReady(drive, kReadyWaitMs);
    if (ready == 0) return DiscInfoView::NotAvailable();  // no disc
    std::int32_t status = modMMC::TestUnitReady(drive);   // also clears a unit attention
    if (ready != 1) {
        context.err << "maple-cli: the drive is not ready (" << FailureCode(status) << ")\n";
        return std::nullopt;
    }
    modMMC::DiscInformationBlock block{};
    status = modMMC::ReadDiscInformation(drive, block);
    if (status == ScsiStatus::kGood) return DiscInfoView::Named(modMMC::GetDiscStatus(drive));
    context.err << "maple-cli: the drive did not tell the disc's state (READ DISC INFORMATION: "
                << FailureCode(status) << ")\n";
    return std::nullopt;
}

// An audio CD's CD-TEXT, catalogue number and ISRCs, each line only when
// the disc has it.
void PrintCodes(CliContext& context, const AudioDiscCodes& codes) {
    const auto row = [&](const std::string& caption, const std::string& value) {
        if (!value.empty()) context.out << std::left << std::setw(21) << caption << value << "\n";
    };
    const CdText& text = codes.cdText.text;
    row("Album title:", text.disc.title);
    row("Album performer:", text.disc.performer);
    row("Album songwriter:", text.disc.songwriter);
    row("Catalogue number:", codes.catalogue);
    const std::size_t tracks = std::max(text.tracks.size(), codes.isrcs.size());
    for (std::size_t index = 0; index < tracks; ++index) {
        const CdText::Texts texts =
            index < text.tracks.size() ? text.tracks[index] : CdText::Texts{};
        std::string line;
        const auto add = [&line](const char* name, const std::string& value) {
            if (!value.empty()) line += (line.empty() ? "" : ", ") + std::string(name) + value;
        };
        add("title: ", texts.title);
        add("performer: ", texts.performer);
        add("songwriter: ", texts.songwriter);
        add("ISRC ", index < codes.isrcs.size() ? codes.isrcs[index] : "");
        row("Track " + std::to_string(index + 1) + ":", line);
    }
    if (codes.cdText.badPacks > 0)
        context.out << "CD-TEXT:            " << codes.cdText.badPacks
                    << " pack(s) with a wrong CRC left out\n";
}

int RunInfo(CliContext& context) {
    CliArguments arguments(context.args);
    const std::string drive = CliDriveForCommand(context, arguments);
    if (drive.empty()) return CliExit::kUsage;
    // As the window, once the drive is ready; "N/A" without a disc.
    const std::optional<DiscInfoTexts> texts = DiscTexts(context, drive);
    if (!texts) return CliExit::kFailure;
    const std::pair<const char*, const std::string&> rows[] = {
        {"Disc type:", texts->discType},
        {"Sessions:", texts->sessions},
        {"Last track:", texts->lastTrack},
        {"Disc status:", texts->discStatus},
        {"Last session status:", texts->lastSessionStatus}};
    for (const auto& [caption, value] : rows)
        context.out << std::left << std::setw(21) << caption << value << "\n";
    // Each recorded session, where it starts and how long it is, in blocks.
    if (modMMC::WaitUnitReady(drive, kReadyWaitMs) == 1) {
        for (const DiscSession& session : DiscContinuation::Of(drive).sessions)
            context.out << "Session " << session.number << ":" << std::string(11, ' ') << "start "
                        << session.start << ", length " << session.length << "\n";
        PrintCodes(context, AudioDiscCodes::Read(drive));
    }
    return CliExit::kSuccess;
}

const CliRegistration info(
    {"info", "maple-cli [--drive N] info",
     "media type, sessions, last track and states of the disc; an audio CD's CD-TEXT, "
     "catalogue number and ISRCs",
     &RunInfo, true});
}  // namespace
