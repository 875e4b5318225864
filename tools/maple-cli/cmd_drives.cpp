// maple-cli drives / eject / load: the drive list and the tray.
#include <ostream>

#include "CliCommand.h"
#include "CliDrive.h"
#include "CliTexts.h"
#include "DriveLabel.h"
#include "ExclusiveAccess.h"
#include "ScsiStatus.h"
#include "SenseCodes.h"
#include "TransportSlot.h"
#include "modMMCBasic.h"

namespace {
int RunDrives(CliContext& context) {
    clsSCSI& transport = *Transport();
    int listed = 0;
    for (std::int16_t index = 1; index <= transport.DriveCount(); ++index) {
        const auto label = BuildDriveLabel(transport, index);
        if (!label) continue;  // a drive that does not answer INQUIRY gets no entry
        context.out << index << ": " << *label << "\n";
        ++listed;
    }
    if (listed == 0) {
        context.err << "maple-cli: " << Text(CliText::NoDriveFound) << "\n";
        return CliExit::kFailure;
    }
    return CliExit::kSuccess;
}

int RunTray(CliContext& context, bool load) {
    CliArguments arguments(context.args);
    const bool immediate = arguments.TakeFlag("--immed");
    const std::string drive = CliDriveForCommand(context, arguments);
    if (drive.empty()) return CliExit::kUsage;
    const std::int16_t immed = immediate ? modMMC::Immed::kOn : modMMC::Immed::kOff;
    const std::int32_t status =
        load ? modMMC::LoadTray(drive, immed) : modMMC::EjectTray(drive, immed);
    if (status != ScsiStatus::kGood) {
        const clsSCSI& transport = *Transport();
        // 02/04/07: another program's recording, erase or copy holds the drive.
        const bool inUse = status == ScsiStatus::kCheckCondition &&
                           transport.LastSK() == SenseKey::kNotReady &&
                           transport.LastASC() == Asc::kNotReady &&
                           transport.LastASCQ() == Ascq::kOperationInProgress;
        if (inUse)
            context.err << "maple-cli: "
                        << Text(load ? CliText::LoadFailedInUse : CliText::EjectFailedInUse,
                                {ExclusiveAccess::kInUse})
                        << "\n";
        else
            context.err << "maple-cli: "
                        << Text(load ? CliText::LoadFailedStatus : CliText::EjectFailedStatus,
                                {std::to_string(status), std::to_string(transport.LastSK()),
                                 std::to_string(transport.LastASC()),
                                 std::to_string(transport.LastASCQ())})
                        << "\n";
        return CliExit::kFailure;
    }
    return CliExit::kSuccess;
}

int RunEject(CliContext& context) {
    return RunTray(context, false);
}
int RunLoad(CliContext& context) {
    return RunTray(context, true);
}

const CliRegistration drives({"drives", "maple-cli drives", CliText::SummaryDrives, &RunDrives,
                              true});
const CliRegistration eject({"eject", "maple-cli [--drive N] eject [--immed]",
                             CliText::SummaryEject, &RunEject, true});
const CliRegistration load({"load", "maple-cli [--drive N] load [--immed]", CliText::SummaryLoad,
                            &RunLoad, true});
}  // namespace
