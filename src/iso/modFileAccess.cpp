#include "modFileAccess.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

// Platform part: POSIX. The Windows build maps the same calls onto
// CreateFile/ReadFile/WriteFile/SetFilePointerEx/FindFirstFile.

namespace modFileAccess {
namespace {
thread_local int lastError = 0;

int OpenFlags(Access access, Disposition disposition) {
    int flags = O_CLOEXEC;
    switch (access) {
        case Access::Read:
            flags |= O_RDONLY;
            break;
        case Access::Write:
            flags |= O_WRONLY;
            break;
        case Access::ReadWrite:
            flags |= O_RDWR;
            break;
    }
    if (disposition == Disposition::CreateAlways) flags |= O_CREAT | O_TRUNC;
    return flags;
}

int Fd(const FileHandleRecord& file) {
    return static_cast<int>(file.handle);
}

std::int64_t CreationTime(const std::string& path, const struct stat& facts) {
    struct statx extended {};
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &extended) == 0 &&
        (extended.stx_mask & STATX_BTIME) != 0)
        return extended.stx_btime.tv_sec;
    return facts.st_mtim.tv_sec;
}

EntryKind KindOf(mode_t mode) {
    if (S_ISREG(mode)) return EntryKind::RegularFile;
    if (S_ISDIR(mode)) return EntryKind::Directory;
    return EntryKind::Other;
}
}  // namespace

FileHandleRecord FileOpen(const std::string& path, Access access, Share /*share*/,
                          Disposition disposition) {
    FileHandleRecord file;
    int fd;
    do {
        fd = ::open(path.c_str(), OpenFlags(access, disposition), 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        lastError = errno;
        return file;
    }
    file.handle = fd;
    file.path = path;
    return file;
}

void FileClose(FileHandleRecord& file) {
    if (file.handle != -1 && ::close(Fd(file)) != 0) lastError = errno;
    file.handle = -1;
    file.path.clear();
}

std::int64_t FileRead(FileHandleRecord& file, void* buffer, std::int64_t count) {
    if (file.handle == -1) return 0;
    ssize_t got;
    do {
        got = ::read(Fd(file), buffer, static_cast<std::size_t>(count));
    } while (got < 0 && errno == EINTR);
    if (got < 0) lastError = errno;
    return got;
}

std::int64_t FileWrite(FileHandleRecord& file, const void* buffer, std::int64_t count) {
    if (file.handle == -1) return 0;
    const auto* bytes = static_cast<const char*>(buffer);
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t put = ::write(Fd(file), bytes + done, static_cast<std::size_t>(count - done));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            lastError = put < 0 ? errno : ENOSPC;
            return -1;
        }
        done += put;
    }
    return done;
}

std::int64_t FileSeek(FileHandleRecord& file, std::int64_t distance, SeekMethod method) {
    if (file.handle == -1) return -1;
    const int whence = method == SeekMethod::Begin
                           ? SEEK_SET
                           : (method == SeekMethod::Current ? SEEK_CUR : SEEK_END);
    const off_t position = ::lseek(Fd(file), static_cast<off_t>(distance), whence);
    if (position < 0) lastError = errno;
    return position;
}

std::int64_t FilePos(FileHandleRecord& file) {
    return FileSeek(file, 0, SeekMethod::Current);
}

std::string LastErrorText() {
    return std::strerror(lastError);
}

std::optional<FileFacts> FileInfo(const std::string& path) {
    struct stat facts {};
    if (::stat(path.c_str(), &facts) != 0) {
        lastError = errno;
        return std::nullopt;
    }
    return FileFacts{KindOf(facts.st_mode), static_cast<std::int64_t>(facts.st_size),
                     CreationTime(path, facts), static_cast<std::uint64_t>(facts.st_dev),
                     static_cast<std::uint64_t>(facts.st_ino)};
}

std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder) {
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) {
        lastError = errno;
        return std::nullopt;
    }
    std::vector<FolderEntry> entries;
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    while (const dirent* found = ::readdir(listing)) {
        const std::string name = found->d_name;
        if (name == "." || name == "..") continue;
        FolderEntry entry{name};
        struct stat own {
        }, target{};
        const std::string path = prefix + name;
        if (::lstat(path.c_str(), &own) != 0) continue;
        const bool link = S_ISLNK(own.st_mode);
        const struct stat& facts = link && ::stat(path.c_str(), &target) == 0 ? target : own;
        entry.kind = link && !S_ISREG(facts.st_mode) ? EntryKind::Other : KindOf(facts.st_mode);
        entry.linkToFolder = link && S_ISDIR(facts.st_mode);
        entry.device = facts.st_dev;
        entry.inode = facts.st_ino;
        entries.push_back(std::move(entry));
    }
    ::closedir(listing);
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return entries;
}

bool RenameFile(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) == 0) return true;
    lastError = errno;
    return false;
}

bool DeleteFile(const std::string& path) {
    if (::unlink(path.c_str()) == 0) return true;
    lastError = errno;
    return false;
}

}  // namespace modFileAccess
