// Platform part of modFileAccess: Linux and other POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

#include "modFileAccess.h"
#include "modFileAccessParts.h"

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
    if (disposition == Disposition::CreateNew) flags |= O_CREAT | O_EXCL | O_NOFOLLOW;
    return flags;
}

int Fd(const FileHandleRecord& file) {
    return static_cast<int>(file.handle);
}

EntryKind KindOf(unsigned mode) {
    if (S_ISREG(mode)) return EntryKind::RegularFile;
    if (S_ISDIR(mode)) return EntryKind::Directory;
    if (S_ISLNK(mode)) return EntryKind::Link;
    if (S_ISFIFO(mode)) return EntryKind::Fifo;
    if (S_ISSOCK(mode)) return EntryKind::Socket;
    if (S_ISCHR(mode) || S_ISBLK(mode)) return EntryKind::Device;
    return EntryKind::Other;
}

// One statx call gives size, kind, identity and (where recorded) the birth time.
std::optional<FileFacts> StatPath(int folder, const char* path, int flags) {
    struct statx facts {};
    if (::statx(folder, path, flags, STATX_BASIC_STATS | STATX_BTIME, &facts) != 0) {
        lastError = errno;
        return std::nullopt;
    }
    const bool born = (facts.stx_mask & STATX_BTIME) != 0;
    return FileFacts{KindOf(facts.stx_mode),
                     static_cast<std::int64_t>(facts.stx_size),
                     born ? facts.stx_btime.tv_sec : facts.stx_mtime.tv_sec,
                     static_cast<std::uint64_t>(makedev(facts.stx_dev_major, facts.stx_dev_minor)),
                     static_cast<std::uint64_t>(facts.stx_ino),
                     facts.stx_mtime.tv_sec * 1000000000LL + facts.stx_mtime.tv_nsec};
}

// Opens `name` (relative to `folder`); the record keeps `path` for messages.
FileHandleRecord OpenAt(int folder, const char* name, int flags, std::string path) {
    FileHandleRecord file;
    int fd;
    do {
        fd = ::openat(folder, name, flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        lastError = errno;
        return file;
    }
    file.handle = fd;
    file.path = std::move(path);
    return file;
}

}  // namespace

FileHandleRecord FileOpen(const std::string& path, Access access, Share /*share*/,
                          Disposition disposition) {
    return OpenAt(AT_FDCWD, path.c_str(), OpenFlags(access, disposition), path);
}

bool FileClose(FileHandleRecord& file) {
    const bool failed = file.handle != -1 && ::close(Fd(file)) != 0;
    if (failed) lastError = errno;
    file.handle = -1;
    file.path.clear();
    return !failed;
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

std::int64_t WriteSome(FileHandleRecord& file, const void* buffer, std::int64_t count) {
    ssize_t put;
    do {
        put = ::write(Fd(file), buffer, static_cast<std::size_t>(count));
    } while (put < 0 && errno == EINTR);
    if (put > 0) return put;
    lastError = put < 0 ? errno : ENOSPC;
    return -1;
}

bool FileLeaveHole(FileHandleRecord& file, std::int64_t count) {
    if (::lseek(Fd(file), static_cast<off_t>(count), SEEK_CUR) >= 0) return true;
    lastError = errno;
    return false;
}

bool FileSetLength(FileHandleRecord& file, std::int64_t length) {
    int result;
    do {
        result = ::ftruncate(Fd(file), static_cast<off_t>(length));
    } while (result < 0 && errno == EINTR);
    if (result == 0) return true;
    lastError = errno;
    return false;
}

bool FileCanSeek(FileHandleRecord& file) {
    return ::lseek(Fd(file), 0, SEEK_CUR) >= 0;
}

std::int64_t FileSendToPipe(FileHandleRecord& from, FileHandleRecord& to, std::int64_t count) {
    ssize_t moved;
    do {
        moved = ::splice(Fd(from), nullptr, Fd(to), nullptr, static_cast<std::size_t>(count),
                         SPLICE_F_MOVE | SPLICE_F_MORE);
    } while (moved < 0 && errno == EINTR);
    if (moved >= 0) return moved;
    lastError = errno;
    if (errno == EINVAL || errno == ENOSYS) return kCannotSend;
    return errno == EPIPE ? kSendWriteFailed : -1;
}

DataStretch FileDataStretch(FileHandleRecord& file, std::int64_t offset) {
    const int fd = Fd(file);
    const off_t here = ::lseek(fd, 0, SEEK_CUR);
    DataStretch stretch{offset, std::numeric_limits<std::int64_t>::max()};
    const off_t start = ::lseek(fd, static_cast<off_t>(offset), SEEK_DATA);
    struct stat facts {};
    if (start >= 0) {
        const off_t end = ::lseek(fd, start, SEEK_HOLE);
        stretch = {start, end >= start ? end : stretch.end};
    } else if (errno == ENXIO && ::fstat(fd, &facts) == 0) {
        stretch.start = stretch.end = std::max<std::int64_t>(offset, facts.st_size);
    }
    if (here >= 0) ::lseek(fd, here, SEEK_SET);
    return stretch;
}

std::int64_t FileReadHeld(FileHandleRecord& file, void* buffer, std::int64_t count) {
    if (file.handle == -1) return 0;
    iovec part{buffer, static_cast<std::size_t>(count)};
    ssize_t got;
    do {
        got = ::preadv2(Fd(file), &part, 1, -1, RWF_NOWAIT);
    } while (got < 0 && errno == EINTR);
    return std::max<ssize_t>(got, 0);
}

void FileWillRead(FileHandleRecord& file) {
    if (file.handle != -1) ::posix_fadvise(Fd(file), 0, 0, POSIX_FADV_WILLNEED);
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

std::string LastErrorText() {
    return std::strerror(lastError);
}

std::optional<FileFacts> FileInfo(const std::string& path) {
    return StatPath(AT_FDCWD, path.c_str(), 0);
}

std::optional<FileFacts> EntryInfo(const std::string& path) {
    return StatPath(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW);
}

FolderHandleRecord FolderOpen(const std::string& path) {
    FolderHandleRecord folder;
    const int fd = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        lastError = errno;
        return folder;
    }
    folder.handle = fd;
    folder.path = path;
    return folder;
}

void FolderClose(FolderHandleRecord& folder) {
    if (folder.handle != -1) ::close(static_cast<int>(folder.handle));
    folder.handle = -1;
    folder.path.clear();
}

std::optional<FileFacts> FileInfoIn(const FolderHandleRecord& folder, const std::string& name) {
    return StatPath(static_cast<int>(folder.handle), name.c_str(), 0);
}

FileHandleRecord FileOpenIn(const FolderHandleRecord& folder, const std::string& name) {
    return OpenAt(static_cast<int>(folder.handle), name.c_str(), O_RDONLY | O_CLOEXEC,
                  folder.path.ends_with('/') ? folder.path + name : folder.path + '/' + name);
}

namespace {
// The entry's kind, following a symbolic link only to a file; the type in the
// listing spares a stat call for plain files.
void Classify(DIR* listing, const dirent& found, FolderEntry& entry) {
    if (found.d_type == DT_REG) {
        entry.kind = EntryKind::RegularFile;
        return;
    }
    const int folder = ::dirfd(listing);
    bool link = found.d_type == DT_LNK;
    if (found.d_type == DT_UNKNOWN) {
        struct stat own {};
        link =
            ::fstatat(folder, found.d_name, &own, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(own.st_mode);
    }
    const auto facts = StatPath(folder, found.d_name, link ? 0 : AT_SYMLINK_NOFOLLOW);
    if (!facts) {
        entry.danglingLink = link;
        return;
    }
    entry.kind = link && facts->kind == EntryKind::Directory ? EntryKind::Other : facts->kind;
    entry.linkToFolder = link && facts->kind == EntryKind::Directory;
    entry.device = facts->device;
    entry.inode = facts->inode;
}
}  // namespace

std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder, bool* complete) {
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) {
        lastError = errno;
        return std::nullopt;
    }
    std::vector<FolderEntry> entries;
    // readdir answers nullptr at the end and on an error; errno tells them apart.
    for (errno = 0; const dirent* found = ::readdir(listing); errno = 0) {
        FolderEntry entry{found->d_name};
        if (entry.name == "." || entry.name == "..") continue;
        Classify(listing, *found, entry);
        entries.push_back(std::move(entry));
    }
    const int error = errno;
    ::closedir(listing);
    if (error != 0) lastError = error;
    if (complete != nullptr) *complete = error == 0;
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
