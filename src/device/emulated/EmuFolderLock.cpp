#include "EmuFolderLock.h"

#include "Sleeper.h"

namespace {
constexpr int kOperationPollMs = 10;
constexpr int kOperationPolls = 300;  // commands of others never take this long
}  // namespace

std::unique_ptr<EmuFolderLock> EmuFolderLock::Open(const std::string& folder, std::string& error) {
    const std::intptr_t drive = OpenLockFile(folder + "/drive.lock", error);
    if (drive == kNoFile) return nullptr;
    const std::intptr_t state = OpenLockFile(folder + "/state.lock", error);
    if (state == kNoFile) {
        CloseLockFile(drive);
        return nullptr;
    }
    return std::unique_ptr<EmuFolderLock>(new EmuFolderLock(drive, state));
}

EmuFolderLock::~EmuFolderLock() {
    CloseLockFile(m_drive);
    CloseLockFile(m_state);
}

EmuFolderLock::Taken EmuFolderLock::BeginOperation() {
    for (int poll = 0; poll < kOperationPolls; ++poll) {
        const Taken exclusive = Lock(m_drive, Hold::ExclusiveNow);
        if (exclusive != Taken::InUse) return exclusive;
        // Not even a shared hold: another operation has the drive.
        const Taken shared = Lock(m_drive, Hold::SharedNow);
        if (shared != Taken::Yes) return shared;
        (void)Lock(m_drive, Hold::None);
        SleepMilliseconds(kOperationPollMs);
    }
    return Taken::InUse;
}

void EmuFolderLock::EndOperation() {
    (void)Lock(m_drive, Hold::None);
}

EmuFolderLock::Taken EmuFolderLock::BeginCommand() {
    const Taken shared = Lock(m_drive, Hold::SharedNow);
    if (shared != Taken::Yes) return shared;
    // A command never runs without the state lock: its change could be lost.
    if (Lock(m_state, Hold::Exclusive) == Taken::Yes) return Taken::Yes;
    (void)Lock(m_drive, Hold::None);
    return Taken::Failed;
}

void EmuFolderLock::EndCommand() {
    (void)Lock(m_state, Hold::None);
    (void)Lock(m_drive, Hold::None);
}
