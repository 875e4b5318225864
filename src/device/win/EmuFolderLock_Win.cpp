// Platform part of EmuFolderLock: Windows. LockFileEx on the first byte of
// each lock file, released by the system when a process ends.
#include <windows.h>

#include "EmuFolderLock.h"
#include "SystemErrorText.h"
#include "WideText.h"

namespace {
HANDLE Handle(std::intptr_t file) {
    return reinterpret_cast<HANDLE>(file);
}
}  // namespace

std::intptr_t EmuFolderLock::OpenLockFile(const std::string& path, std::string& error) {
    // Every program on the folder opens the same lock files.
    const HANDLE handle = ::CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = path + ": " + SystemErrorText(::GetLastError());
        return kNoFile;
    }
    return reinterpret_cast<std::intptr_t>(handle);
}

void EmuFolderLock::CloseLockFile(std::intptr_t file) {
    ::CloseHandle(Handle(file));
}

EmuFolderLock::Taken EmuFolderLock::Lock(std::intptr_t file, Hold hold) {
    OVERLAPPED first{};
    if (hold == Hold::None)
        return ::UnlockFileEx(Handle(file), 0, 1, 0, &first) != 0 ? Taken::Yes : Taken::Failed;
    DWORD flags = hold == Hold::SharedNow ? 0 : LOCKFILE_EXCLUSIVE_LOCK;
    if (hold != Hold::Exclusive) flags |= LOCKFILE_FAIL_IMMEDIATELY;
    if (::LockFileEx(Handle(file), flags, 0, 1, 0, &first) != 0) return Taken::Yes;
    return ::GetLastError() == ERROR_LOCK_VIOLATION ? Taken::InUse : Taken::Failed;
}
