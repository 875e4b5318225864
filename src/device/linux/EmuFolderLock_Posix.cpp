// Platform part of EmuFolderLock: Linux and other POSIX systems. flock(2)
// locks, released by the kernel when a process ends.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "EmuFolderLock.h"

std::intptr_t EmuFolderLock::OpenLockFile(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) error = path + ": " + std::strerror(errno);
    return fd < 0 ? kNoFile : fd;
}

void EmuFolderLock::CloseLockFile(std::intptr_t file) {
    ::close(static_cast<int>(file));
}

EmuFolderLock::Taken EmuFolderLock::Lock(std::intptr_t file, Hold hold) {
    int operation = LOCK_UN;
    if (hold == Hold::Exclusive) operation = LOCK_EX;
    if (hold == Hold::ExclusiveNow) operation = LOCK_EX | LOCK_NB;
    if (hold == Hold::SharedNow) operation = LOCK_SH | LOCK_NB;
    while (::flock(static_cast<int>(file), operation) != 0) {
        if (errno == EWOULDBLOCK) return Taken::InUse;
        if (errno != EINTR) return Taken::Failed;
    }
    return Taken::Yes;
}
