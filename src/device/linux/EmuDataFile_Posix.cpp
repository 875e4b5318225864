// Platform part of EmuDataFile: Linux and other POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "EmuDataFile.h"

// Positional I/O keeps the hot WRITE/READ path to one system call per command.
namespace {
int Fd(std::intptr_t handle) {
    return static_cast<int>(handle);
}
}  // namespace

namespace {
int OpenFile(const std::string& path, int flags, std::string& error) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0) error = path + ": " + std::strerror(errno);
    return fd;
}
}  // namespace

std::unique_ptr<EmuDataFile> EmuDataFile::Open(const std::string& path, std::string& error) {
    const int fd = OpenFile(path, O_RDWR | O_CREAT, error);
    return fd < 0 ? nullptr : std::unique_ptr<EmuDataFile>(new EmuDataFile(fd));
}

std::unique_ptr<EmuDataFile> EmuDataFile::OpenReadOnly(const std::string& path,
                                                       std::string& error) {
    const int fd = OpenFile(path, O_RDONLY, error);
    return fd < 0 ? nullptr : std::unique_ptr<EmuDataFile>(new EmuDataFile(fd));
}

EmuDataFile::~EmuDataFile() {
    if (m_handle != kInMemory) ::close(Fd(m_handle));
}

std::int64_t EmuDataFile::ReadSome(std::int64_t offset, void* buffer, std::int64_t length) const {
    ssize_t got;
    do {
        got = ::pread(Fd(m_handle), buffer, static_cast<std::size_t>(length), offset);
    } while (got < 0 && errno == EINTR);
    return got;
}

std::int64_t EmuDataFile::WriteSome(std::int64_t offset, const void* buffer, std::int64_t length) {
    ssize_t put;
    do {
        put = ::pwrite(Fd(m_handle), buffer, static_cast<std::size_t>(length), offset);
    } while (put < 0 && errno == EINTR);
    return put;
}

bool EmuDataFile::ClearFile() {
    return ::ftruncate(Fd(m_handle), 0) == 0;
}

std::int64_t EmuDataFile::FileSize() const {
    struct stat info {};
    return ::fstat(Fd(m_handle), &info) == 0 ? static_cast<std::int64_t>(info.st_size) : 0;
}

bool EmuDataFile::PunchHole(std::int64_t offset, std::int64_t length) {
    return ::fallocate(Fd(m_handle), FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE,
                       static_cast<off_t>(offset), static_cast<off_t>(length)) == 0;
}

std::optional<EmuDataFile::Stretch> EmuDataFile::FileDataStretch(std::int64_t offset) const {
    const off_t start = ::lseek(Fd(m_handle), static_cast<off_t>(offset), SEEK_DATA);
    if (start < 0) {
        if (errno != ENXIO) return std::nullopt;
        const std::int64_t end = std::max(offset, FileSize());  // only a hole follows
        return Stretch{end, end};
    }
    const off_t end = ::lseek(Fd(m_handle), start, SEEK_HOLE);
    if (end < start) return std::nullopt;
    return Stretch{start, end};
}
