// maple-cli virtual create/insert/eject/show/export: the virtual drive's folder.
#include <memory>
#include <ostream>

#include "CliArguments.h"
#include "CliCommand.h"
#include "CliKernelDrive.h"
#include "CliTexts.h"
#include "EmuDrive.h"
#include "TransportFactory.h"

namespace {
constexpr const char* kUsage =
    "maple-cli virtual create DIR | maple-cli --virtual DIR virtual "
    "insert KIND [--from IMAGE.iso] [--replace] [--unformatted] | eject | show | export OUTDIR "
    "[--force] | "
    "maple-cli virtual attach DIR | detach DIR";

int Fail(CliContext& context, const std::string& why, int code = CliExit::kFailure) {
    context.err << "maple-cli: " << why << "\n";
    return code;
}

// The folder of the drive chosen with --virtual (and --drive among several),
// else from MAPLE_VIRTUAL_DRIVES; empty after printing why there is none.
std::string ChosenFolder(CliContext& context) {
    std::vector<std::string> folders = context.virtualDrives;
    if (folders.empty()) folders = VirtualDrivesFromEnvironment();
    if (folders.empty()) {
        Fail(context, Text(CliText::NameVirtualDrive), CliExit::kUsage);
        return {};
    }
    if (context.driveIndex < 1 || context.driveIndex > static_cast<int>(folders.size())) {
        Fail(context, Text(CliText::NoSuchVirtualDrive, {std::to_string(context.driveIndex)}),
             CliExit::kUsage);
        return {};
    }
    return folders[context.driveIndex - 1];
}

int Insert(CliContext& context, EmuDrive& drive, CliArguments& arguments) {
    const std::optional<std::string> image = arguments.TakeOption("--from");
    const EmuDrive::Replacing replacing = arguments.TakeFlag("--replace")
                                              ? EmuDrive::Replacing::AnyDisc
                                              : EmuDrive::Replacing::OnlyDiscWithoutData;
    const bool unformatted = arguments.TakeFlag("--unformatted");
    const std::vector<std::string> rest = arguments.Positional();
    if (!arguments.Error().empty() || rest.size() != 1)
        return Fail(
            context,
            arguments.Error().empty() ? Text(CliText::UsageLine, {kUsage}) : arguments.Error(),
            CliExit::kUsage);
    const std::optional<MediumKind> kind = MediumKindFromName(rest[0]);
    if (!kind || *kind == MediumKind::None)
        return Fail(context, Text(CliText::UnknownMedium, {rest[0], BlankKindNames()}),
                    CliExit::kUsage);
    if (image && unformatted)
        return Fail(context, Text(CliText::UnformattedNotFrom), CliExit::kUsage);
    const std::string problem = image ? drive.InsertImage(*kind, *image, replacing)
                                      : drive.InsertBlank(*kind, replacing, unformatted);
    if (problem.rfind(EmuDrive::kHoldsData, 0) == 0)
        return Fail(context, Text(CliText::ReplaceDiscards, {problem}));
    return problem.empty() ? CliExit::kSuccess : Fail(context, problem);
}

// The sub-commands that work on an existing drive folder.
int OnDrive(CliContext& context, const std::string& action, CliArguments& arguments) {
    const std::string folder = ChosenFolder(context);
    if (folder.empty()) return CliExit::kUsage;
    std::string error;
    const std::unique_ptr<EmuDrive> drive = EmuDrive::Open(folder, error);
    if (!drive) return Fail(context, error);
    if (action == "insert") return Insert(context, *drive, arguments);
    const bool force = action == "export" && arguments.TakeFlag("--force");
    const std::vector<std::string> rest = arguments.Positional();
    if (!arguments.Error().empty()) return Fail(context, arguments.Error(), CliExit::kUsage);
    std::string problem;
    if (action == "eject" && rest.empty()) {
        problem = drive->RemoveMedium();
    } else if (action == "show" && rest.empty()) {
        context.out << drive->Describe();
    } else if (action == "export" && rest.size() == 1) {
        std::vector<std::string> written;
        problem = drive->ExportTracks(rest[0], &written, force);
        for (const std::string& path : written) context.out << path << "\n";
        if (problem.find(": exists already") != std::string::npos)
            problem = Text(CliText::PassForce, {problem});
    } else {
        return Fail(context, Text(CliText::UsageLine, {kUsage}), CliExit::kUsage);
    }
    return problem.empty() ? CliExit::kSuccess : Fail(context, problem);
}

int RunVirtual(CliContext& context) {
    if (context.args.empty())
        return Fail(context, Text(CliText::UsageLine, {kUsage}), CliExit::kUsage);
    const std::string action = context.args[0];
    CliArguments arguments({context.args.begin() + 1, context.args.end()});
    if (action == "create") {
        const std::vector<std::string> rest = arguments.Positional();
        if (!arguments.Error().empty() || rest.size() != 1)
            return Fail(context, Text(CliText::UsageLine, {"maple-cli virtual create DIR"}),
                        CliExit::kUsage);
        const std::string problem = EmuDrive::CreateFolder(rest[0]);
        return problem.empty() ? CliExit::kSuccess : Fail(context, problem);
    }
    if (action == "attach") return AttachVirtualDrive(context, arguments);
    if (action == "detach") return DetachVirtualDrive(context, arguments);
    if (action == "insert" || action == "eject" || action == "show" || action == "export")
        return OnDrive(context, action, arguments);
    return Fail(context, Text(CliText::UnknownVirtualAction, {action, kUsage}), CliExit::kUsage);
}

const CliRegistration registration({"virtual", kUsage, CliText::SummaryVirtual, &RunVirtual,
                                    false});
}  // namespace
