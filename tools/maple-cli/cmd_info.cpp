// maple-cli info: what the disc information window shows.
#include <iomanip>
#include <optional>
#include <ostream>

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
    if (modMMC::WaitUnitReady(drive, kReadyWaitMs) == 1)
        for (const DiscSession& session : DiscContinuation::Of(drive).sessions)
            context.out << "Session " << session.number << ":" << std::string(11, ' ') << "start "
                        << session.start << ", length " << session.length << "\n";
    return CliExit::kSuccess;
}

const CliRegistration info({"info", "maple-cli [--drive N] info",
                            "media type, sessions, last track and states of the disc", &RunInfo,
                            true});
}  // namespace
