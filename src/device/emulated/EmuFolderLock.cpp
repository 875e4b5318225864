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

bool EmuFolderLock::BeginOperation() {
    for (int poll = 0; poll < kOperationPolls; ++poll) {
        if (Lock(m_drive, Hold::ExclusiveNow)) return true;
        // Not even a shared hold: another operation has the drive.
        if (!Lock(m_drive, Hold::SharedNow)) return false;
        (void)Lock(m_drive, Hold::None);
        SleepMilliseconds(kOperationPollMs);
    }
    return false;
}

void EmuFolderLock::EndOperation() {
    (void)Lock(m_drive, Hold::None);
}

bool EmuFolderLock::BeginCommand() {
    if (!Lock(m_drive, Hold::SharedNow)) return false;
    (void)Lock(m_state, Hold::Exclusive);
    return true;
}

void EmuFolderLock::EndCommand() {
    (void)Lock(m_state, Hold::None);
    (void)Lock(m_drive, Hold::None);
}
