// Platform part of FileLock: Windows. LockFileEx on the file's first byte; the
// file is opened without FILE_SHARE_DELETE, so nobody removes it meanwhile.
#include <windows.h>

#include "FileLock.h"
#include "WideText.h"

FileLock::FileLock(std::string path) : m_path(std::move(path)) {
    const HANDLE handle = ::CreateFileW(
        Wide(m_path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return;
    m_file = reinterpret_cast<std::intptr_t>(handle);
    OVERLAPPED first{};
    m_held = ::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                          &first) != 0;
}

FileLock::~FileLock() {
    Close();
}

void FileLock::Close() {
    if (m_file != -1) ::CloseHandle(reinterpret_cast<HANDLE>(m_file));  // the lock goes with it
    m_file = -1;
    m_held = false;
}

bool FileLock::StillAtPath() const {
    return m_file != -1;  // an open file without delete sharing cannot be removed
}

void FileLock::ReleaseForRemoval() {
    Close();
}
