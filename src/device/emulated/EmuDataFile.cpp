#include "EmuDataFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

// The system calls are in the platform parts (linux/, win/).

bool EmuDataFile::Read(std::int64_t offset, void* buffer, std::int64_t length) const {
    auto* bytes = static_cast<char*>(buffer);
    if (offset < 0 || length < 0) return false;  // as pread refuses them
    if (m_handle == kInMemory) return ReadMemory(offset, bytes, length);
    while (length > 0) {
        const std::int64_t got = ReadSome(offset, bytes, length);
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
    if (m_handle == kInMemory) return WriteMemory(offset, bytes, length);
    while (length > 0) {
        const std::int64_t put = WriteSome(offset, bytes, length);
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
    return m_handle == kInMemory || ClearFile();
}

std::int64_t EmuDataFile::Size() const {
    return m_handle == kInMemory ? m_memorySize : FileSize();
}
