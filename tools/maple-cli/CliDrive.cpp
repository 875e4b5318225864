#include "CliDrive.h"

#include <algorithm>
#include <ostream>
#include <sstream>

#include "CliTexts.h"
#include "DriveClaim.h"
#include "TransportSlot.h"

std::vector<int> DriveNumbers(const std::string& value) {
    std::vector<int> numbers;
    std::istringstream list(value);
    std::string item;
    while (std::getline(list, item, ',')) {
        const bool digits =
            !item.empty() && item.size() < 6 &&
            std::all_of(item.begin(), item.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!digits) return {};
        numbers.push_back(std::stoi(item));
    }
    if (!value.empty() && value.back() == ',') return {};
    return numbers;
}

std::vector<std::string> CliDrives(CliContext& context) {
    const std::vector<int> numbers =
        context.driveIndexes.empty() ? std::vector<int>{context.driveIndex} : context.driveIndexes;
    std::vector<std::string> drives;
    for (auto number = numbers.begin(); number != numbers.end(); ++number) {
        if (std::find(numbers.begin(), number, *number) != number) {
            context.err << "maple-cli: " << Text(CliText::DriveTwice, {std::to_string(*number)})
                        << "\n";
            return {};
        }
        CliContext one{{}, *number, {}, context.out, context.err, {}};
        drives.push_back(CliDrive(one));
        if (drives.back().empty()) return {};
    }
    return drives;
}

std::string CliDrive(CliContext& context) {
    if (context.driveIndexes.size() > 1) {
        context.err << "maple-cli: " << Text(CliText::OneDriveOnly) << "\n";
        return {};
    }
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
