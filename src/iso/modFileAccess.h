#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// An open file of modFileAccess: the platform handle (-1 when closed) and the
// path it was opened with.
struct FileHandleRecord {
    std::intptr_t handle = -1;
    std::string path;
};

// Thin portable file layer with 64-bit positions (platform parts in posix/
// and win/). Paths are UTF-8: on Linux the system's own bytes, never
// reinterpreted; on Windows UTF-16 at the system calls.
namespace modFileAccess {

enum class Access { Read, Write, ReadWrite };
// Sharing is a Windows notion; POSIX files are always shared.
enum class Share { None, Read, ReadWrite };
// CreateNew makes a file that did not exist, never through a link (it fails
// when anything, even a dangling link, has that name).
enum class Disposition { OpenExisting, CreateAlways, CreateNew };
enum class SeekMethod { Begin, Current, End };

// Opens `path`; the record's handle is -1 on failure.
FileHandleRecord FileOpen(const std::string& path, Access access, Share share,
                          Disposition disposition);
// Closes the handle (if open); afterwards handle -1 and empty path. False
// when the system reported an error at closing (a write it had deferred).
bool FileClose(FileHandleRecord& file);
// Reads up to `count` bytes: 0 when the handle is -1 or at the end, -1 on
// failure, else the bytes read.
std::int64_t FileRead(FileHandleRecord& file, void* buffer, std::int64_t count);
// Writes all `count` bytes: 0 when the handle is -1, -1 on failure (disk
// full, I/O error), else `count`.
std::int64_t FileWrite(FileHandleRecord& file, const void* buffer, std::int64_t count);
// Moves the position `count` bytes on without writing them: where the
// file is extended that way, the skipped bytes read as zeros and the system
// stores no data for them (a hole) where it can. False on failure.
bool FileLeaveHole(FileHandleRecord& file, std::int64_t count);
// Cuts or extends the file to `length` bytes (an extension reads as zeros).
bool FileSetLength(FileHandleRecord& file, std::int64_t length);
// False for a pipe, a terminal or a socket: nothing but writing moves on in
// them, so they take no hole and no seek.
bool FileCanSeek(FileHandleRecord& file);
// Moves up to `count` bytes from `from`, at its position (which moves on),
// into the pipe `to`, the system handing its pages over instead of copying
// them through this process. The bytes moved; 0 at the end of `from`; -1
// when reading failed; kSendWriteFailed when the pipe took nothing (its
// reader is gone); kCannotSend where the system cannot move bytes between
// these two (then read and write them).
constexpr std::int64_t kSendWriteFailed = -2, kCannotSend = -3;
std::int64_t FileSendToPipe(FileHandleRecord& from, FileHandleRecord& to, std::int64_t count);
// Where a sparse file keeps data: the first stretch of data [start, end) at
// or after `offset`; start = end = the file's length when only a hole (or
// nothing) follows. Where the system cannot tell, all from `offset` on
// counts as data (end = INT64_MAX). The position is left as it was.
struct DataStretch {
    std::int64_t start = 0, end = 0;
};
DataStretch FileDataStretch(FileHandleRecord& file, std::int64_t offset);
// Like FileRead, but takes only bytes the system already holds in memory,
// never waiting for the disk: 0 when it holds none of them (or at the end or
// on an error, which a FileRead then reports).
std::int64_t FileReadHeld(FileHandleRecord& file, void* buffer, std::int64_t count);
// Asks the system to fetch the whole file from the disk now, as it will be
// read soon (nothing where the system cannot).
void FileWillRead(FileHandleRecord& file);
// Moves the position; returns the new position, or -1 on failure.
std::int64_t FileSeek(FileHandleRecord& file, std::int64_t distance, SeekMethod method);
// The current position, or -1.
std::int64_t FilePos(FileHandleRecord& file);
// The last failure of this thread's file calls as text ("No space left on device").
std::string LastErrorText();

enum class EntryKind { RegularFile, Directory, Link, Fifo, Socket, Device, Other };

// What the file system says about a path (symbolic links followed, so Link
// comes only from EntryInfo).
struct FileFacts {
    EntryKind kind = EntryKind::Other;
    std::int64_t size = 0;
    // Birth time where the file system records one, else the modification time.
    std::int64_t creationEpoch = 0;
    std::uint64_t device = 0, inode = 0;
    // Last modification, as finely as the system tells it (nanoseconds on
    // Linux, seconds on Windows): what tells a changed file.
    std::int64_t modifiedStamp = 0;
};
// nullopt when the path does not exist or cannot be examined.
std::optional<FileFacts> FileInfo(const std::string& path);
// The same for the entry itself: a symbolic link is a Link.
std::optional<FileFacts> EntryInfo(const std::string& path);

struct FolderEntry {
    std::string name;
    EntryKind kind = EntryKind::Other;  // symbolic links followed, except to folders
    bool linkToFolder = false;          // a symbolic link that leads to a folder
    bool danglingLink = false;          // a symbolic link that leads nowhere
    std::uint64_t device = 0, inode = 0;
};
// The entries of a folder ("." and ".." left out), sorted by name; nullopt
// when it cannot be opened. Names are taken literally: no wildcards. When the
// listing breaks off on an error after the folder was opened, `complete`
// (when given) turns false and the entries read until then come back
// (LastErrorText says why); an error is never taken for the folder's end.
std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder,
                                                   bool* complete = nullptr);

// A folder held open, so that the files in it are examined and opened by
// name without the system walking the folder's path again for each one.
struct FolderHandleRecord {
    std::intptr_t handle = -1;
    std::string path;
};
// Opens the folder `path`; the record's handle is -1 on failure.
FolderHandleRecord FolderOpen(const std::string& path);
// Closes the handle (if open); afterwards handle -1 and empty path.
void FolderClose(FolderHandleRecord& folder);
// FileInfo of the entry `name` of an open folder.
std::optional<FileFacts> FileInfoIn(const FolderHandleRecord& folder, const std::string& name);
// FileOpen of the entry `name` of an open folder, for reading (shared, existing).
FileHandleRecord FileOpenIn(const FolderHandleRecord& folder, const std::string& name);

// Replaces `to` by `from` in one step; false on failure.
bool RenameFile(const std::string& from, const std::string& to);
// Removes a file; false when it could not be removed.
bool DeleteFile(const std::string& path);

}  // namespace modFileAccess
