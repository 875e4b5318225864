#include "EmuFolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "Sleeper.h"

// Platform part: flock(2) locks, released by the kernel when a process ends.

namespace {
constexpr int kOperationPollMs = 10;
constexpr int kOperationPolls = 300;  // commands of others never take this long

int OpenLockFile(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) error = path + ": " + std::strerror(errno);
    return fd;
}

bool Lock(int fd, int operation) {
    while (::flock(fd, operation) != 0)
        if (errno != EINTR) return false;
    return true;
}
}  // namespace

std::unique_ptr<EmuFolderLock> EmuFolderLock::Open(const std::string& folder, std::string& error) {
    const std::filesystem::path base(folder);
    const int drive = OpenLockFile((base / "drive.lock").string(), error);
    if (drive < 0) return nullptr;
    const int state = OpenLockFile((base / "state.lock").string(), error);
    if (state < 0) {
        ::close(drive);
        return nullptr;
    }
    return std::unique_ptr<EmuFolderLock>(new EmuFolderLock(drive, state));
}

EmuFolderLock::~EmuFolderLock() {
    ::close(m_drive);
    ::close(m_state);
}

bool EmuFolderLock::BeginOperation() {
    for (int poll = 0; poll < kOperationPolls; ++poll) {
        if (Lock(m_drive, LOCK_EX | LOCK_NB)) return true;
        // Not even a shared hold: another operation has the drive.
        if (!Lock(m_drive, LOCK_SH | LOCK_NB)) return false;
        (void)Lock(m_drive, LOCK_UN);
        SleepMilliseconds(kOperationPollMs);
    }
    return false;
}

void EmuFolderLock::EndOperation() {
    (void)Lock(m_drive, LOCK_UN);
}

bool EmuFolderLock::BeginCommand() {
    if (!Lock(m_drive, LOCK_SH | LOCK_NB)) return false;
    (void)Lock(m_state, LOCK_EX);
    return true;
}

void EmuFolderLock::EndCommand() {
    (void)Lock(m_state, LOCK_UN);
    (void)Lock(m_drive, LOCK_UN);
}
