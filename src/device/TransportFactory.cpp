#include "TransportFactory.h"

#include <cstdlib>
#include <sstream>

#include "clsEmulatedDrive.h"
#ifdef __linux__
#include "clsSGIO.h"
#endif

namespace {
bool Usable(clsSCSI& transport) {
    return transport.Installed() && transport.Initialized();
}

TransportChoice PassThrough() {
    TransportChoice choice;
#ifdef __linux__
    auto sgio = std::make_unique<clsSGIO>();
    choice.problem = sgio->OpenProblem();
    if (Usable(*sgio)) choice.transport = std::move(sgio);
#endif
    return choice;
}

// The virtual drives in the folders the user named; none when no folder is
// named. Folders that cannot be opened are named in the problem text.
TransportChoice VirtualDrives(const std::vector<std::string>& folders) {
    TransportChoice choice;
    if (folders.empty()) return choice;
    auto drives = std::make_unique<clsEmulatedDrive>(folders);
    drives->SetCommandLogLimit(0);  // the log is for tests; a long burn would fill it
    choice.problem = drives->OpenProblem();
    if (Usable(*drives)) choice.transport = std::move(drives);
    return choice;
}
}  // namespace

std::vector<std::string> VirtualDrivesFromEnvironment() {
    std::vector<std::string> folders;
    const char* value = std::getenv("MAPLE_VIRTUAL_DRIVES");
    if (value == nullptr) return folders;
    std::istringstream list(value);
    std::string folder;
    while (std::getline(list, folder, ':'))
        if (!folder.empty()) folders.push_back(folder);
    return folders;
}

TransportChoice CreateTransport(const TransportOptions& options) {
    if (options.preferVirtual && !options.virtualDrives.empty())
        return VirtualDrives(options.virtualDrives);
    TransportChoice choice = PassThrough();
    if (choice.transport) return choice;
    TransportChoice fallback = VirtualDrives(options.virtualDrives);
    if (fallback.transport) {
        // Say why a real drive was passed over (permissions) rather than
        // switching to the virtual drive silently.
        if (!choice.problem.empty())
            fallback.problem =
                choice.problem + (fallback.problem.empty() ? "" : "\n") + fallback.problem;
        return fallback;
    }
    // A real drive that could not be opened must not look like "no drive".
    if (choice.problem.empty()) choice.problem = fallback.problem;
    return choice;
}
