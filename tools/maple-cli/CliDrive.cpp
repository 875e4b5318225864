#include "CliDrive.h"

#include <ostream>

#include "CliTexts.h"
#include "DriveClaim.h"
#include "TransportSlot.h"

std::string CliDrive(CliContext& context) {
    clsSCSI* transport = Transport();
    const int count = transport ? transport->DriveCount() : 0;
    if (context.driveIndex < 1 || context.driveIndex > count) {
        context.err << "maple-cli: "
                    << Text(CliText::NoSuchDrive,
                            {std::to_string(context.driveIndex), std::to_string(count)})
                    << "\n";
        return {};
    }
    return transport->DriveHandle(static_cast<std::int16_t>(context.driveIndex));
}

std::string CliDriveForCommand(CliContext& context, CliArguments& arguments) {
    const auto extra = arguments.Positional();
    if (arguments.Error().empty() && !extra.empty())
        context.err << "maple-cli: " << Text(CliText::UnexpectedArgument, {extra.front()}) << "\n";
    else if (!arguments.Error().empty())
        context.err << "maple-cli: " << arguments.Error() << "\n";
    if (!arguments.Error().empty() || !extra.empty()) return {};
    return CliDrive(context);
}

bool ClaimRefused(CliContext& context, const DriveClaim& claim) {
    if (claim.Held()) return false;
    context.err << "maple-cli: " << claim.Problem() << "\n";
    return true;
}
