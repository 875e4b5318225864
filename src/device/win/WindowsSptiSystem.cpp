// The pass-through transport's system calls on Windows.
#include <windows.h>

#include "SptiSystem.h"
#include "WideText.h"

namespace {
class WindowsSptiSystem final : public SptiSystem {
  public:
    unsigned DriveType(char letter) override {
        const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
        return ::GetDriveTypeW(root);
    }

    bool NtVersion5OrLater() override {
        OSVERSIONINFOW version{};
        version.dwOSVersionInfoSize = sizeof version;
        return ::GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
               version.dwMajorVersion >= 5;
    }

    std::intptr_t Open(const std::string& path, std::uint32_t access) override {
        const HANDLE handle =
            ::CreateFileW(Wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
        return handle == INVALID_HANDLE_VALUE ? kInvalidHandle
                                              : reinterpret_cast<std::intptr_t>(handle);
    }

    void Close(std::intptr_t handle) override { ::CloseHandle(reinterpret_cast<HANDLE>(handle)); }

    bool Control(std::intptr_t handle, std::uint32_t code, void* buffer, std::uint32_t inBytes,
                 std::uint32_t outBytes) override {
        DWORD returned = 0;
        return ::DeviceIoControl(reinterpret_cast<HANDLE>(handle), code, buffer, inBytes, buffer,
                                 outBytes, &returned, nullptr) != 0;
    }

    std::uint32_t LastError() override { return ::GetLastError(); }
};
}  // namespace

std::unique_ptr<SptiSystem> MakeWindowsSptiSystem() {
    return std::make_unique<WindowsSptiSystem>();
}
