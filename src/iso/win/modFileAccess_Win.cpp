// Platform part of modFileAccess: Windows. Paths are UTF-8 inside the
// program and UTF-16 at the system calls; positions are 64-bit.
#include <windows.h>
#include <winioctl.h>
#undef DeleteFile

#include <algorithm>
#include <limits>

#include "SystemErrorText.h"
#include "WideText.h"
#include "modFileAccess.h"
#include "modFileAccessParts.h"

namespace modFileAccess {
namespace {
thread_local DWORD lastError = ERROR_SUCCESS;

// Reads and writes go in pieces a DWORD count can hold.
constexpr std::int64_t kMostPerCall = 1 << 30;

HANDLE Handle(const FileHandleRecord& file) {
    return reinterpret_cast<HANDLE>(file.handle);
}

DWORD DesiredAccess(Access access) {
    switch (access) {
        case Access::Read:
            return GENERIC_READ;
        case Access::Write:
            return GENERIC_WRITE;
        case Access::ReadWrite:
            break;
    }
    return GENERIC_READ | GENERIC_WRITE;
}

DWORD ShareMode(Share share) {
    switch (share) {
        case Share::None:
            return 0;
        case Share::Read:
            return FILE_SHARE_READ;
        case Share::ReadWrite:
            break;
    }
    return FILE_SHARE_READ | FILE_SHARE_WRITE;
}

// CREATE_NEW fails on any existing name, a link included.
DWORD CreationOf(Disposition disposition) {
    switch (disposition) {
        case Disposition::CreateAlways:
            return CREATE_ALWAYS;
        case Disposition::CreateNew:
            return CREATE_NEW;
        case Disposition::OpenExisting:
            break;
    }
    return OPEN_EXISTING;
}

// Seconds since 1601 in 100 ns units, to seconds since 1970.
std::int64_t EpochOf(const FILETIME& time) {
    const std::int64_t ticks =
        (static_cast<std::int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return ticks / 10000000 - 11644473600LL;
}

// A reparse point seen as itself (EntryInfo) is a link or junction.
EntryKind KindOf(DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return EntryKind::Link;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::Directory
                                                        : EntryKind::RegularFile;
}
}  // namespace

FileHandleRecord FileOpen(const std::string& path, Access access, Share share,
                          Disposition disposition) {
    FileHandleRecord file;
    const HANDLE handle =
        ::CreateFileW(Wide(path).c_str(), DesiredAccess(access), ShareMode(share), nullptr,
                      CreationOf(disposition), FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        lastError = ::GetLastError();
        return file;
    }
    file.handle = reinterpret_cast<std::intptr_t>(handle);
    file.path = path;
    return file;
}

bool FileClose(FileHandleRecord& file) {
    const bool failed = file.handle != -1 && !::CloseHandle(Handle(file));
    if (failed) lastError = ::GetLastError();
    file.handle = -1;
    file.path.clear();
    return !failed;
}

std::int64_t FileRead(FileHandleRecord& file, void* buffer, std::int64_t count) {
    if (file.handle == -1) return 0;
    DWORD got = 0;
    if (!::ReadFile(Handle(file), buffer, static_cast<DWORD>(std::min(count, kMostPerCall)), &got,
                    nullptr)) {
        lastError = ::GetLastError();
        // A pipe whose writer closed has ended, as a POSIX read() tells with 0.
        return lastError == ERROR_BROKEN_PIPE ? 0 : -1;
    }
    return got;
}

// Windows tells no cached bytes from others: a plain read.
std::int64_t FileReadHeld(FileHandleRecord& file, void* buffer, std::int64_t count) {
    return std::max<std::int64_t>(FileRead(file, buffer, count), 0);
}

void FileWillRead(FileHandleRecord&) {}

std::int64_t WriteSome(FileHandleRecord& file, const void* buffer, std::int64_t count) {
    DWORD put = 0;
    const bool written =
        ::WriteFile(Handle(file), buffer, static_cast<DWORD>(std::min(count, kMostPerCall)), &put,
                    nullptr) != 0;
    if (written && put > 0) return put;
    lastError = written ? ERROR_DISK_FULL : ::GetLastError();
    return -1;
}

bool FileLeaveHole(FileHandleRecord& file, std::int64_t count) {
    // Only a sparse file keeps skipped stretches unallocated; elsewhere
    // (FAT) they are zero-filled, which reads the same.
    DWORD returned = 0;
    ::DeviceIoControl(Handle(file), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    return FileSeek(file, count, SeekMethod::Current) >= 0;
}

bool FileCanSeek(FileHandleRecord& file) {
    return ::GetFileType(Handle(file)) == FILE_TYPE_DISK;
}

std::int64_t FileSendToPipe(FileHandleRecord&, FileHandleRecord&, std::int64_t) {
    return kCannotSend;
}

bool FileSetLength(FileHandleRecord& file, std::int64_t length) {
    if (FileSeek(file, length, SeekMethod::Begin) < 0) return false;
    if (::SetEndOfFile(Handle(file))) return true;
    lastError = ::GetLastError();
    return false;
}

DataStretch FileDataStretch(FileHandleRecord& file, std::int64_t offset) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(Handle(file), &size))
        return {offset, std::numeric_limits<std::int64_t>::max()};
    if (offset >= size.QuadPart) return {offset, offset};
    FILE_ALLOCATED_RANGE_BUFFER query{}, range{};
    query.FileOffset.QuadPart = offset;
    query.Length.QuadPart = size.QuadPart - offset;
    DWORD returned = 0;
    if (!::DeviceIoControl(Handle(file), FSCTL_QUERY_ALLOCATED_RANGES, &query, sizeof query, &range,
                           sizeof range, &returned, nullptr) &&
        ::GetLastError() != ERROR_MORE_DATA)
        return {offset, std::numeric_limits<std::int64_t>::max()};
    if (returned < sizeof range) return {size.QuadPart, size.QuadPart};  // a hole to the end
    const std::int64_t start = std::max(offset, range.FileOffset.QuadPart);
    return {start, range.FileOffset.QuadPart + range.Length.QuadPart};
}

std::int64_t FileSeek(FileHandleRecord& file, std::int64_t distance, SeekMethod method) {
    if (file.handle == -1) return -1;
    const DWORD from = method == SeekMethod::Begin
                           ? FILE_BEGIN
                           : (method == SeekMethod::Current ? FILE_CURRENT : FILE_END);
    LARGE_INTEGER move, position;
    move.QuadPart = distance;
    if (!::SetFilePointerEx(Handle(file), move, &position, from)) {
        lastError = ::GetLastError();
        return -1;
    }
    return position.QuadPart;
}

std::string LastErrorText() {
    return SystemErrorText(lastError);
}

namespace {
// Folders open only with backup semantics; links are followed unless
// `flags` asks for the link itself.
std::optional<FileFacts> FactsOf(const std::string& path, DWORD flags) {
    const HANDLE handle =
        ::CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        lastError = ::GetLastError();
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
    if (!known) lastError = ::GetLastError();
    ::CloseHandle(handle);
    if (!known) return std::nullopt;
    return FileFacts{KindOf(info.dwFileAttributes),
                     (static_cast<std::int64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
                     EpochOf(info.ftCreationTime),
                     info.dwVolumeSerialNumber,
                     (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
                     EpochOf(info.ftLastWriteTime)};
}
}  // namespace

std::optional<FileFacts> FileInfo(const std::string& path) {
    return FactsOf(path, 0);
}

std::optional<FileFacts> EntryInfo(const std::string& path) {
    return FactsOf(path, FILE_FLAG_OPEN_REPARSE_POINT);
}

std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder, bool* complete) {
    const std::string prefix =
        folder.ends_with('\\') || folder.ends_with('/') ? folder : folder + "\\";
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(Wide(prefix + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        lastError = ::GetLastError();
        return std::nullopt;
    }
    std::vector<FolderEntry> entries;
    do {
        FolderEntry entry{Narrow(found.cFileName)};
        if (entry.name == "." || entry.name == "..") continue;
        // Links are followed: the kind is the target's, as far as the
        // listing tells; a link or junction to a folder is not entered.
        const bool link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        entry.kind = KindOf(found.dwFileAttributes & ~FILE_ATTRIBUTE_REPARSE_POINT);
        entry.linkToFolder = link && entry.kind == EntryKind::Directory;
        if (entry.linkToFolder) entry.kind = EntryKind::Other;
        entry.danglingLink = link && !entry.linkToFolder && !FileInfo(prefix + entry.name);
        if (entry.danglingLink) entry.kind = EntryKind::Other;
        if (entry.kind == EntryKind::Directory)
            if (const auto facts = FileInfo(prefix + entry.name)) {
                entry.device = facts->device;
                entry.inode = facts->inode;
            }
        entries.push_back(std::move(entry));
    } while (::FindNextFileW(search, &found));
    // FindNextFileW fails at the end as on an error; the code tells them apart.
    const DWORD error = ::GetLastError();
    ::FindClose(search);
    if (error != ERROR_NO_MORE_FILES) lastError = error;
    if (complete != nullptr) *complete = error == ERROR_NO_MORE_FILES;
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return entries;
}

// The folder stays open (so it cannot go away meanwhile); its files are
// reached by their whole paths, which Windows walks anyway.
FolderHandleRecord FolderOpen(const std::string& path) {
    FolderHandleRecord folder;
    const HANDLE handle =
        ::CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        lastError = ::GetLastError();
        return folder;
    }
    folder.handle = reinterpret_cast<std::intptr_t>(handle);
    folder.path = path;
    return folder;
}

void FolderClose(FolderHandleRecord& folder) {
    if (folder.handle != -1) ::CloseHandle(reinterpret_cast<HANDLE>(folder.handle));
    folder.handle = -1;
    folder.path.clear();
}

namespace {
std::string PathIn(const FolderHandleRecord& folder, const std::string& name) {
    return folder.path.ends_with('\\') || folder.path.ends_with('/') ? folder.path + name
                                                                     : folder.path + "\\" + name;
}
}  // namespace

std::optional<FileFacts> FileInfoIn(const FolderHandleRecord& folder, const std::string& name) {
    return FileInfo(PathIn(folder, name));
}

FileHandleRecord FileOpenIn(const FolderHandleRecord& folder, const std::string& name) {
    return FileOpen(PathIn(folder, name), Access::Read, Share::ReadWrite,
                    Disposition::OpenExisting);
}

bool RenameFile(const std::string& from, const std::string& to) {
    if (::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    lastError = ::GetLastError();
    return false;
}

bool DeleteFile(const std::string& path) {
    if (::DeleteFileW(Wide(path).c_str())) return true;
    lastError = ::GetLastError();
    return false;
}

}  // namespace modFileAccess
