// maple-cli info: what the disc information window shows.
#include <iomanip>
#include <ostream>

#include "CliCommand.h"
#include "CliDrive.h"
#include "DiscInfoView.h"

namespace {
int RunInfo(CliContext& context) {
    CliArguments arguments(context.args);
    const std::string drive = CliDriveForCommand(context, arguments);
    if (drive.empty()) return CliExit::kUsage;
    // As the window: the labels start as "N/A", opening fills them once the
    // drive is ready, and the first timer tick follows the medium.
    DiscInfoView view;
    DiscInfoTexts texts = DiscInfoView::NotAvailable();
    if (auto loaded = view.Load(drive)) texts = *loaded;
    if (auto ticked = view.Tick(drive)) texts = *ticked;
    const std::pair<const char*, const std::string&> rows[] = {
        {"Disc type:", texts.discType},
        {"Sessions:", texts.sessions},
        {"Last track:", texts.lastTrack},
        {"Disc status:", texts.discStatus},
        {"Last session status:", texts.lastSessionStatus}};
    for (const auto& [caption, value] : rows)
        context.out << std::left << std::setw(21) << caption << value << "\n";
    return CliExit::kSuccess;
}

const CliRegistration info({"info", "maple-cli [--drive N] info",
                            "media type, sessions, last track and states of the disc", &RunInfo,
                            true});
}  // namespace
