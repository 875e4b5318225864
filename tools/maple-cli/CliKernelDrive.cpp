#include "CliKernelDrive.h"

#include <ostream>

#include "CliTexts.h"

#ifdef __linux__
#include <pthread.h>
#include <unistd.h>

#include <csignal>

#include "KernelRecorder.h"
#endif

namespace {
int Fail(CliContext& context, const std::string& why, int code = CliExit::kFailure) {
    context.err << "maple-cli: " << why << "\n";
    return code;
}

#ifdef __linux__
// The one folder argument; empty after printing the usage.
std::string FolderArgument(CliContext& context, CliArguments& arguments, const char* action) {
    const std::vector<std::string> rest = arguments.Positional();
    if (arguments.Error().empty() && rest.size() == 1) return rest[0];
    Fail(context,
         arguments.Error().empty()
             ? Text(CliText::UsageLine, {std::string("maple-cli virtual ") + action + " DIR"})
             : arguments.Error(),
         CliExit::kUsage);
    return {};
}
#endif
}  // namespace

#ifdef __linux__
int AttachVirtualDrive(CliContext& context, CliArguments& arguments) {
    const std::string folder = FolderArgument(context, arguments, "attach");
    if (folder.empty()) return CliExit::kUsage;
    // Blocked before the serving process starts (it inherits the mask), so
    // only sigwait below sees them; SIGCHLD tells that serving ended by itself.
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGCHLD}) sigaddset(&signals, signal);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    KernelRecorder recorder(folder);
    const std::string problem = recorder.Attach();
    if (!problem.empty()) return Fail(context, problem);
    for (const std::string& part : recorder.Configuration())
        context.err << "maple-cli: " << Text(CliText::Configured, {part}) << "\n";
    const ServingIdentity& identity = recorder.Identity();
    context.err << "maple-cli: "
                << Text(CliText::ServingAs,
                        {std::to_string(identity.user), std::to_string(identity.group),
                         std::to_string(recorder.ServingProcess())})
                << "\n";
    context.out << recorder.BlockNode() << "\n" << recorder.GenericNode() << std::endl;
    context.err << "maple-cli: "
                << Text(CliText::AttachedUntil,
                        {folder, recorder.BlockNode(), recorder.GenericNode()})
                << std::endl;
    // Until a stop signal, or the serving process ends (other children, such
    // as modprobe, send SIGCHLD too).
    for (int received = 0; sigwait(&signals, &received) == 0;)
        if (received != SIGCHLD || recorder.ServingEnded()) break;
    const std::string problems = recorder.Detach();
    if (!problems.empty()) return Fail(context, problems);
    context.err << "maple-cli: " << Text(CliText::Detached, {folder}) << "\n";
    return CliExit::kSuccess;
}

int DetachVirtualDrive(CliContext& context, CliArguments& arguments) {
    const std::string folder = FolderArgument(context, arguments, "detach");
    if (folder.empty()) return CliExit::kUsage;
    std::vector<std::string> removed;
    const std::string problem = KernelRecorder::RemoveLeftover(folder, removed);
    for (const std::string& part : removed) context.out << Text(CliText::Removed, {part}) << "\n";
    return problem.empty() ? CliExit::kSuccess : Fail(context, problem);
}
#else
int AttachVirtualDrive(CliContext& context, CliArguments&) {
    return Fail(context, Text(CliText::AttachLinuxOnly), CliExit::kUsage);
}

int DetachVirtualDrive(CliContext& context, CliArguments&) {
    return Fail(context, Text(CliText::DetachLinuxOnly), CliExit::kUsage);
}
#endif
