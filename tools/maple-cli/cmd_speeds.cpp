// maple-cli speeds: the maximum and current speeds the drive reports.
#include <iomanip>
#include <ostream>

#include "CliCommand.h"
#include "CliDrive.h"
#include "CliTexts.h"
#include "modMMC.h"

namespace {
int RunSpeeds(CliContext& context) {
    CliArguments arguments(context.args);
    const std::string drive = CliDriveForCommand(context, arguments);
    if (drive.empty()) return CliExit::kUsage;
    const modMMC::DriveSpeeds speeds = modMMC::GetDriveSpeeds(drive);
    const std::pair<const char*, std::uint16_t> rows[] = {
        {"Maximum read speed:", speeds.MaxReadSpeed},
        {"Maximum write speed:", speeds.MaxWriteSpeed},
        {"Current read speed:", speeds.CurrentReadSpeed},
        {"Current write speed:", speeds.CurrentWriteSpeed}};
    for (const auto& [caption, value] : rows)
        context.out << std::left << std::setw(21) << caption << value << " kB/s\n";
    return CliExit::kSuccess;
}

const CliRegistration speeds({"speeds", "maple-cli [--drive N] speeds", CliText::SummarySpeeds,
                              &RunSpeeds, true});
}  // namespace
