#include "TransportFactory.h"

#include <cstdlib>
#include <sstream>

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

// Virtual drives come with the emulated recorder; none are configured here yet.
TransportChoice VirtualDrives(const std::vector<std::string>& folders) {
    TransportChoice choice;
    if (!folders.empty()) choice.problem = "virtual drives are not available in this build";
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
    if (fallback.transport) return fallback;
    // A real drive that could not be opened must not look like "no drive".
    if (choice.problem.empty()) choice.problem = fallback.problem;
    return choice;
}
