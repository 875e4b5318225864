#include "TransportFactory.h"

#include <sstream>

#include "SystemAccess.h"
#include "clsEmulatedDrive.h"
#ifdef __linux__
#include "clsSGIO.h"
#endif
#ifdef _WIN32
#include "clsASPI.h"
#include "clsSPTI.h"
#endif

namespace {
// Separates the folders of MAPLE_VIRTUAL_DRIVES, as in PATH.
#ifdef _WIN32
constexpr char kFolderSeparator = ';';
#else
constexpr char kFolderSeparator = ':';
#endif

bool Usable(clsSCSI& transport) {
    return transport.Installed() && transport.Initialized();
}

// The system's own service: SG_IO on Linux; on Windows the pass-through
// service, or an ASPI layer when that finds no usable drive.
TransportChoice PassThrough() {
    TransportChoice choice;
#ifdef __linux__
    auto sgio = std::make_unique<clsSGIO>();
    choice.problem = sgio->OpenProblem();
    if (Usable(*sgio)) choice.transport = std::move(sgio);
#endif
#ifdef _WIN32
    auto spti = std::make_unique<clsSPTI>();
    if (Usable(*spti)) {
        choice.transport = std::move(spti);
        return choice;
    }
    auto aspi = std::make_unique<clsASPI>();
    if (Usable(*aspi) && aspi->DriveCount() > 0) choice.transport = std::move(aspi);
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
    std::istringstream list(SystemAccess::Environment("MAPLE_VIRTUAL_DRIVES"));
    std::string folder;
    while (std::getline(list, folder, kFolderSeparator))
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
