// The common gates every command passes before its handler.
#include <optional>

#include "EmuCommandTable.h"
#include "EmuDrive.h"
#include "EmuFolderLock.h"

namespace {
constexpr std::uint8_t kWrite10 = 0x2A;

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

// Commands that change the tray, the medium or the settings; the others only ask.
bool ChangesTheDrive(std::uint8_t opcode) {
    switch (opcode) {
        case 0x1B:  // START STOP UNIT
        case kWrite10:
        case 0x35:  // SYNCHRONIZE CACHE
        case 0x55:  // MODE SELECT(10)
        case 0x5B:  // CLOSE TRACK/SESSION
        case 0xA1:  // BLANK
        case 0xBB:  // SET CD SPEED
            return true;
        default:
            return false;
    }
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
    // Claimed, or in memory: nobody else can change the state meanwhile.
    if (m_claims > 0 || !m_lock) {
        const EmuOutcome outcome = Answer(command);
        // WRITE(10) only lengthens the open track; saving on every one would
        // cost more than the write. The next command of another kind saves.
        if (m_state.layoutChanged && command.Opcode() != kWrite10) return Saved(outcome, Save());
        return outcome;
    }
    switch (m_lock->BeginCommand()) {
        case EmuFolderLock::Taken::InUse:
            return Observe(command);
        case EmuFolderLock::Taken::Failed:  // never a change without the lock
            return EmuSense::kNotReadyCauseNotReportable;
        case EmuFolderLock::Taken::Yes:
            break;
    }
    Refresh();
    const EmuOutcome outcome = Answer(command);
    const std::string problem = SaveIfChanged();
    m_lock->EndCommand();
    return Saved(outcome, problem);
}

EmuOutcome EmuDrive::Saved(EmuOutcome outcome, const std::string& saveProblem) {
    if (saveProblem.empty()) return outcome;
    RestoreSaved();
    return EmuSense::kInternalTargetFailure;
}

EmuOutcome EmuDrive::Answer(const EmuCommand& command) {
    const std::uint8_t opcode = command.Opcode();
    if (command.cdbLen < EmuCdbLength(opcode)) return EmuSense::kInvalidFieldInCdb;
    const EmuCommandEntry& entry = EmuCommandTable()[opcode];
    if (const auto refused = Gate(m_state, entry, opcode)) return *refused;
    EmuCall call{m_state, *m_data, command};
    return entry.handler(call);
}

EmuOutcome EmuDrive::Observe(const EmuCommand& command) {
    Refresh();
    if (ChangesTheDrive(command.Opcode())) return EmuSense::kOperationInProgress;
    return Answer(command);
}
