// Platform part of FileLock: flock(2) on POSIX systems.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "FileLock.h"

FileLock::FileLock(std::string path) : m_path(std::move(path)) {
    const int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return;
    m_file = fd;
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    m_held = result == 0;
}

FileLock::~FileLock() {
    Close();
}

void FileLock::Close() {
    if (m_file >= 0) ::close(static_cast<int>(m_file));  // the lock goes with it
    m_file = -1;
    m_held = false;
}

bool FileLock::StillAtPath() const {
    struct stat open {
    }, named{};
    return m_file >= 0 && ::fstat(static_cast<int>(m_file), &open) == 0 &&
           ::lstat(m_path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

void FileLock::ReleaseForRemoval() {}
