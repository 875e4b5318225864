#include "CliCommand.h"

#include <algorithm>

namespace {
std::vector<CliCommandInfo>& Registry() {
    static std::vector<CliCommandInfo> commands;
    return commands;
}
}  // namespace

CliRegistration::CliRegistration(CliCommandInfo info) {
    auto& commands = Registry();
    commands.push_back(std::move(info));
    std::sort(commands.begin(), commands.end(),
              [](const CliCommandInfo& a, const CliCommandInfo& b) { return a.name < b.name; });
}

const std::vector<CliCommandInfo>& CliCommands() {
    return Registry();
}
