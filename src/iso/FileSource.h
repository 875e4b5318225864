#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "modFileAccess.h"

// One open source file, read front to back.
class FileReader {
  public:
    virtual ~FileReader() = default;
    // Reads up to `count` bytes: the bytes read, 0 at the end, -1 on a read error.
    virtual std::int64_t Read(std::uint8_t* buffer, std::int64_t count) = 0;
    // Like Read, but takes only bytes already in memory, never waiting for
    // the disk: 0 when there are none (then Read tells the end or an error).
    virtual std::int64_t ReadHeld(std::uint8_t* buffer, std::int64_t count) {
        return std::max<std::int64_t>(Read(buffer, count), 0);
    }
    // Asks for the whole file to be fetched now, as it will be read soon.
    virtual void Prefetch() {}
    // Why the last Read failed, as text.
    virtual std::string Problem() const { return "read error"; }
    // A sparse file's holes: from the position on, the bytes the file keeps
    // as a hole (they read as zeros), at most `most`, are skipped, and the
    // bytes of data that follow before the next hole are told. A reader that
    // cannot tell has no hole and `most` bytes of data.
    struct Stretch {
        std::int64_t hole = 0, data = 0;
    };
    virtual Stretch SkipHole(std::int64_t most) { return {0, most}; }
    // Like Read, but moves the bytes straight into the pipe `out`
    // (modFileAccess::FileSendToPipe: -1 a read error, kSendWriteFailed,
    // kCannotSend where this reader cannot).
    virtual std::int64_t SendToPipe(FileHandleRecord& /*out*/, std::int64_t /*count*/) {
        return modFileAccess::kCannotSend;
    }
};

// Where the image writer gets the bytes of the files in its tree, by their
// LocalPath. The program reads the local disk; tests feed in-memory files.
class FileSource {
  public:
    virtual ~FileSource() = default;
    struct Facts {
        std::int64_t length = 0;
        std::optional<std::int64_t> creationEpoch;  // when the source keeps dates
    };
    // Current length of the file and, where the source keeps one, its
    // creation time; nullopt when it is gone or not a readable file.
    virtual std::optional<Facts> Examine(const std::string& path) = 0;
    // The opened file; nullptr when it cannot be opened.
    virtual std::unique_ptr<FileReader> Open(const std::string& path) = 0;
    // Why the last Examine or Open failed, as text.
    virtual std::string LastProblem() const = 0;
    // Closes whatever the source keeps open between calls.
    virtual void CloseHeld() {}
};
