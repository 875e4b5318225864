#include "EmuDataFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

// Platform part: POSIX positional I/O keeps the hot WRITE/READ path to one
// system call per command.

std::unique_ptr<EmuDataFile> EmuDataFile::Open(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return nullptr;
    }
    return std::unique_ptr<EmuDataFile>(new EmuDataFile(fd));
}

EmuDataFile::~EmuDataFile() {
    if (m_fd >= 0) ::close(m_fd);
}

bool EmuDataFile::Read(std::int64_t offset, void* buffer, std::int64_t length) const {
    auto* bytes = static_cast<char*>(buffer);
    if (offset < 0 || length < 0) return false;  // as pread refuses them
    if (m_fd < 0) return ReadMemory(offset, bytes, length);
    while (length > 0) {
        const ssize_t got = ::pread(m_fd, bytes, static_cast<std::size_t>(length), offset);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) {  // past the end: never written
            std::memset(bytes, 0, static_cast<std::size_t>(length));
            return true;
        }
        bytes += got;
        offset += got;
        length -= got;
    }
    return true;
}

bool EmuDataFile::Write(std::int64_t offset, const void* buffer, std::int64_t length) {
    const auto* bytes = static_cast<const char*>(buffer);
    if (offset < 0 || length < 0) return false;  // as pwrite refuses them
    if (m_fd < 0) return WriteMemory(offset, bytes, length);
    while (length > 0) {
        const ssize_t put = ::pwrite(m_fd, bytes, static_cast<std::size_t>(length), offset);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        bytes += put;
        offset += put;
        length -= put;
    }
    return true;
}

bool EmuDataFile::Zero(std::int64_t offset, std::int64_t length) {
    if (offset >= Size()) return true;  // beyond the end reads as zeros already
    const std::vector<char> zeros(64 * 1024, 0);
    while (length > 0) {
        const std::int64_t part = std::min<std::int64_t>(length, zeros.size());
        if (!Write(offset, zeros.data(), part)) return false;
        offset += part;
        length -= part;
    }
    return true;
}

bool EmuDataFile::Clear() {
    m_pieces.clear();
    m_memorySize = 0;
    return m_fd < 0 || ::ftruncate(m_fd, 0) == 0;
}

std::int64_t EmuDataFile::Size() const {
    if (m_fd < 0) return m_memorySize;
    struct stat info {};
    return ::fstat(m_fd, &info) == 0 ? static_cast<std::int64_t>(info.st_size) : 0;
}
