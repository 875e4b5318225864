#include "CliDrive.h"

#include <ostream>

#include "TransportSlot.h"

std::string CliDrive(CliContext& context) {
    clsSCSI* transport = Transport();
    const int count = transport ? transport->DriveCount() : 0;
    if (context.driveIndex < 1 || context.driveIndex > count) {
        context.err << "maple-cli: no drive " << context.driveIndex << " (" << count
                    << " drive(s) found)\n";
        return {};
    }
    return transport->DriveHandle(static_cast<std::int16_t>(context.driveIndex));
}
