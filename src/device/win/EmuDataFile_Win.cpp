// Platform part of EmuDataFile: Windows. Positional reads and writes through
// an OVERLAPPED offset, 64-bit throughout; the path is UTF-16 at the system.
#include <windows.h>

#include <algorithm>

#include "EmuDataFile.h"
#include "SystemErrorText.h"
#include "WideText.h"

namespace {
constexpr std::int64_t kMostPerCall = 1 << 30;

HANDLE Handle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

OVERLAPPED At(std::int64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

}  // namespace

std::unique_ptr<EmuDataFile> EmuDataFile::Open(const std::string& path, std::string& error) {
    // Shared like the file on other systems, where nothing locks it.
    const HANDLE handle = ::CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = path + ": " + SystemErrorText(::GetLastError());
        return nullptr;
    }
    return std::unique_ptr<EmuDataFile>(new EmuDataFile(reinterpret_cast<std::intptr_t>(handle)));
}

EmuDataFile::~EmuDataFile() {
    if (m_handle != kInMemory) ::CloseHandle(Handle(m_handle));
}

std::int64_t EmuDataFile::ReadSome(std::int64_t offset, void* buffer, std::int64_t length) const {
    OVERLAPPED where = At(offset);
    DWORD got = 0;
    if (::ReadFile(Handle(m_handle), buffer, static_cast<DWORD>(std::min(length, kMostPerCall)),
                   &got, &where))
        return got;
    return ::GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
}

std::int64_t EmuDataFile::WriteSome(std::int64_t offset, const void* buffer, std::int64_t length) {
    OVERLAPPED where = At(offset);
    DWORD put = 0;
    if (::WriteFile(Handle(m_handle), buffer, static_cast<DWORD>(std::min(length, kMostPerCall)),
                    &put, &where))
        return put;
    return -1;
}

bool EmuDataFile::ClearFile() {
    LARGE_INTEGER start{};
    return ::SetFilePointerEx(Handle(m_handle), start, nullptr, FILE_BEGIN) &&
           ::SetEndOfFile(Handle(m_handle));
}

std::int64_t EmuDataFile::FileSize() const {
    LARGE_INTEGER size{};
    return ::GetFileSizeEx(Handle(m_handle), &size) ? size.QuadPart : 0;
}
