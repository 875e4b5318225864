// The common gates every command passes before its handler.
#include <optional>

#include "EmuCommandTable.h"
#include "EmuDrive.h"

namespace {
constexpr std::uint8_t kWrite10 = 0x2A;
constexpr std::uint8_t kTestUnitReady = 0x00;
constexpr std::uint8_t kStartStopUnit = 0x1B;
constexpr std::uint8_t kGetEventStatus = 0x4A;

// A failure scripted for this opcode, counting the commands it lets pass.
std::optional<EmuOutcome> ScriptedFailure(EmuFaults& faults, std::uint8_t opcode) {
    for (EmuFaults::CommandFailure& failure : faults.failures) {
        if (failure.opcode != opcode || failure.count <= 0) continue;
        if (failure.skip > 0) {
            --failure.skip;
            return std::nullopt;
        }
        --failure.count;
        return EmuSense::Check(failure.key, failure.asc, failure.ascq);
    }
    return std::nullopt;
}

std::optional<EmuOutcome> Gate(EmuDriveState& state, const EmuCommandEntry& entry,
                               std::uint8_t opcode) {
    EmuFaults& faults = state.faults;
    if (faults.busyCommands > 0) {
        --faults.busyCommands;
        return EmuSense::kBusy;
    }
    if (entry.handler == nullptr) return EmuSense::kInvalidOpcode;
    if (!entry.exempt && state.unitAttention) {
        state.unitAttention = false;  // reported once, to the first command that may
        return EmuSense::kMediumMayHaveChanged;
    }
    if (entry.needsMedium && !entry.exempt && faults.notReadyCommands > 0) {
        --faults.notReadyCommands;
        return EmuSense::kBecomingReady;
    }
    if (entry.needsMedium && !state.MediumReady())
        return state.trayOpen ? EmuSense::kNoMediumTrayOpen : EmuSense::kNoMediumTrayClosed;
    return ScriptedFailure(faults, opcode);
}
}  // namespace

EmuOutcome EmuDrive::Execute(const EmuCommand& command) {
    const std::uint8_t opcode = command.Opcode();
    if (opcode == kTestUnitReady || opcode == kStartStopUnit || opcode == kGetEventStatus)
        FollowFolder();
    if (command.cdbLen < EmuCdbLength(opcode)) return EmuSense::kInvalidFieldInCdb;
    const EmuCommandEntry& entry = EmuCommandTable()[opcode];
    if (const auto refused = Gate(m_state, entry, opcode)) return *refused;
    EmuCall call{m_state, *m_data, command};
    const EmuOutcome outcome = entry.handler(call);
    // WRITE(10) only lengthens the open track; saving on every one would cost
    // more than the write. The next command of another kind saves.
    if (m_state.layoutChanged && opcode != kWrite10) (void)Save();
    return outcome;
}
