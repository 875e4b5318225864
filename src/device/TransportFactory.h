#pragma once

#include <memory>
#include <string>
#include <vector>

#include "clsSCSI.h"

// What the program asks for when it creates its one transport.
struct TransportOptions {
    // Virtual drive folders named by the user (MAPLE_VIRTUAL_DRIVES or --virtual).
    std::vector<std::string> virtualDrives;
    // True when the user named virtual drives explicitly for this run: they are
    // used even when real drives exist.
    bool preferVirtual = false;
};

// The transport chosen, or none with the reason.
struct TransportChoice {
    std::unique_ptr<clsSCSI> transport;
    // Why no transport could be used, or a remark about drives that could not
    // be opened (permissions); empty when nothing is worth saying.
    std::string problem;
};

// The transport chain: the platform's pass-through first (on Windows the
// pass-through service, then an ASPI layer); when it reports no usable
// drive, the virtual drives the user configured. A transport is only
// returned when it reports both Installed and Initialized.
TransportChoice CreateTransport(const TransportOptions& options);

// Virtual drive folders listed in MAPLE_VIRTUAL_DRIVES (separated by ':', on
// Windows by ';').
std::vector<std::string> VirtualDrivesFromEnvironment();
