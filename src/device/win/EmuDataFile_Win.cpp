// Platform part of EmuDataFile: Windows. Positional reads and writes through
// an OVERLAPPED offset, 64-bit throughout; the path is UTF-16 at the system.
#include <windows.h>
#include <winioctl.h>

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

HANDLE OpenFile(const std::string& path, DWORD access, DWORD creation, std::string& error) {
    // Shared like the file on other systems, where nothing locks it.
    const HANDLE handle =
        ::CreateFileW(Wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) error = path + ": " + SystemErrorText(::GetLastError());
    return handle;
}
}  // namespace

std::unique_ptr<EmuDataFile> EmuDataFile::Open(const std::string& path, std::string& error) {
    const HANDLE handle = OpenFile(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, error);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    // Sparse, so that zeroed stretches give their space back (NTFS; elsewhere nothing changes).
    DWORD returned = 0;
    ::DeviceIoControl(handle, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    return std::unique_ptr<EmuDataFile>(new EmuDataFile(reinterpret_cast<std::intptr_t>(handle)));
}

std::unique_ptr<EmuDataFile> EmuDataFile::OpenReadOnly(const std::string& path,
                                                       std::string& error) {
    const HANDLE handle = OpenFile(path, GENERIC_READ, OPEN_EXISTING, error);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
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

bool EmuDataFile::PunchHole(std::int64_t offset, std::int64_t length) {
    FILE_ZERO_DATA_INFORMATION range{};
    range.FileOffset.QuadPart = offset;
    range.BeyondFinalZero.QuadPart = offset + length;
    DWORD returned = 0;
    return ::DeviceIoControl(Handle(m_handle), FSCTL_SET_ZERO_DATA, &range, sizeof range, nullptr,
                             0, &returned, nullptr) != 0;
}

// Images are read whole here: holes are not looked for.
std::optional<EmuDataFile::Stretch> EmuDataFile::FileDataStretch(std::int64_t) const {
    return std::nullopt;
}
