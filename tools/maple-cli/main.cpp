// maple-cli: the recorder's engines from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliDrive.h"
#include "CliHelp.h"
#include "CliTexts.h"
#include "EngineMessages.h"
#include "JobLog.h"
#include "NoSleepWhileWriting.h"
#include "StopSignals.h"
#include "TransportFactory.h"
#include "TransportSlot.h"

namespace {
const CliCommandInfo* FindCommand(const std::string& name) {
    for (const auto& command : CliCommands())
        if (command.name == name) return &command;
    return nullptr;
}

bool SetUpTransport(const CliContext& context) {
    TransportOptions options;
    options.virtualDrives = context.virtualDrives;
    options.preferVirtual = !context.virtualDrives.empty();
    if (options.virtualDrives.empty()) options.virtualDrives = VirtualDrivesFromEnvironment();
    TransportChoice choice = CreateTransport(options);
    if (!choice.transport) {
        std::cerr << "maple-cli: "
                  << (choice.problem.empty()
                          ? Text(CliText::NoUsableDrive)
                          : Text(CliText::NoUsableDriveBecause, {choice.problem}))
                  << "\nmaple-cli: " << Text(CliText::RehearseHint) << "\n";
        return false;
    }
    if (!choice.problem.empty())
        std::cerr << "maple-cli: " << Text(CliText::Note, {choice.problem}) << "\n";
    SetTransport(std::move(choice.transport));
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    IgnoreBrokenPipes();
    // The computer stays awake from the first write to the end of the job.
    NoSleepWhileWriting::SetInhibitor(MakeSystemSleepInhibitor(), Text(EngineMessage::KeepAwake));
    CliContext context{{}, 1, {}, std::cout, std::cerr, {}};
    int at = 1;
    for (; at < argc; ++at) {
        const std::string arg = argv[at];
        if ((arg == "--drive" || arg == "--virtual") && at + 1 < argc) {
            const std::string value = argv[++at];
            if (arg == "--virtual") {
                context.virtualDrives.push_back(value);
            } else {
                context.driveIndexes = DriveNumbers(value);
                if (context.driveIndexes.empty()) {
                    std::cerr << "maple-cli: " << Text(CliText::DriveNeedsNumber) << "\n";
                    return CliExit::kUsage;
                }
                context.driveIndex = context.driveIndexes.front();
            }
        } else if (arg == "--trace") {
            SetCommandTrace([](const CommandTraceEntry& entry) {
                std::cerr << "trace: " << FormatTraceEntry(entry) << "\n";
            });
        } else if (arg == "--help" || arg == "-h") {
            PrintHelp(std::cout);
            return CliExit::kSuccess;
        } else if (arg == "--man-page") {
            return PrintManPage(std::cout, std::cerr) ? CliExit::kSuccess : CliExit::kFailure;
        } else if (arg == "--version") {
            std::cout << "maple-cli " << MAPLE_VERSION << "\n";
            return CliExit::kSuccess;
        } else {
            break;
        }
    }
    if (at >= argc) {
        PrintHelp(std::cerr);
        return CliExit::kUsage;
    }
    const CliCommandInfo* command = FindCommand(argv[at]);
    if (command == nullptr) {
        std::cerr << "maple-cli: " << Text(CliText::UnknownCommand, {argv[at]}) << "\n";
        return CliExit::kUsage;
    }
    context.args.assign(argv + at + 1, argv + argc);
    if (context.args.size() == 1 && (context.args[0] == "--help" || context.args[0] == "-h")) {
        PrintCommandHelp(*command, std::cout);
        return CliExit::kSuccess;
    }
    if (command->needsTransport && !SetUpTransport(context)) return CliExit::kUsage;
    if (command->stoppable) CatchStopSignals();
    // A job that sends commands to a drive leaves its log for a bug report.
    const bool logged = command->needsTransport && command->stoppable;
    if (logged) JobLog::Begin(command->name);
    const int result = command->handler(context);
    if (logged) (void)JobLog::End();
    TakeTransport().reset();
    JobEnded();
    return result;
}
