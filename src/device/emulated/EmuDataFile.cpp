#include "EmuDataFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

// The system calls are in the platform parts (linux/, win/).

namespace {
// The file systems' usual block: an all-zero one written becomes a hole.
constexpr std::int64_t kHoleBlock = 4096;

const char* ZeroBlock() {
    static const std::vector<char> zeros(kHoleBlock, 0);
    return zeros.data();
}

bool AllZero(const char* bytes) {
    return std::memcmp(bytes, ZeroBlock(), kHoleBlock) == 0;
}
}  // namespace

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

// Whole all-zero blocks (at the file's block boundaries) go in as holes, the
// data between them as it is.
bool EmuDataFile::Write(std::int64_t offset, const void* buffer, std::int64_t length) {
    const auto* bytes = static_cast<const char*>(buffer);
    if (offset < 0 || length < 0) return false;  // as pwrite refuses them
    if (m_handle == kInMemory) return WriteMemory(offset, bytes, length);
    std::int64_t done = 0;
    for (std::int64_t at = (kHoleBlock - offset % kHoleBlock) % kHoleBlock;
         at + kHoleBlock <= length;) {
        if (!AllZero(bytes + at)) {
            at += kHoleBlock;
            continue;
        }
        std::int64_t end = at + kHoleBlock;
        while (end + kHoleBlock <= length && AllZero(bytes + end)) end += kHoleBlock;
        if (!WriteAll(offset + done, bytes + done, at - done) || !Zero(offset + at, end - at))
            return false;
        done = at = end;
    }
    return WriteAll(offset + done, bytes + done, length - done);
}

bool EmuDataFile::WriteAll(std::int64_t offset, const char* bytes, std::int64_t length) {
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
    if (offset < 0 || length < 0) return false;
    // Beyond the end reads as zeros already.
    const std::int64_t end = std::min(offset + length, Size());
    if (offset >= end) return true;
    return (m_handle != kInMemory && PunchHole(offset, end - offset)) ||
           WriteZeros(offset, end - offset);
}

bool EmuDataFile::WriteZeros(std::int64_t offset, std::int64_t length) {
    while (length > 0) {
        const std::int64_t part = std::min(length, kHoleBlock);
        if (!(m_handle == kInMemory ? WriteMemory(offset, ZeroBlock(), part)
                                    : WriteAll(offset, ZeroBlock(), part)))
            return false;
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

EmuDataFile::Stretch EmuDataFile::DataStretch(std::int64_t offset) const {
    if (m_handle != kInMemory)
        if (const auto stretch = FileDataStretch(offset)) return *stretch;
    return {offset, std::max(offset, Size())};
}
