#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "FileSource.h"

// Opens the files of an image, in the order they are written, on a thread of
// its own, and reads the small ones whole into memory. With many small files
// the system calls per file (open, read, close) then overlap with writing the
// image instead of adding to it. Holds at most a few megabytes and a few
// dozen open files ahead of the writer.
class FileReadAhead {
  public:
    struct Planned {
        std::string path;
        std::int64_t size = 0;  // the bytes the writer takes from the file
    };
    // `source` is used by the reading thread only, until this object is gone.
    FileReadAhead(FileSource& source, std::vector<Planned> files);
    ~FileReadAhead();
    FileReadAhead(const FileReadAhead&) = delete;
    FileReadAhead& operator=(const FileReadAhead&) = delete;

    // The next planned file, opened; nullptr (and Problem) when it could not be.
    std::unique_ptr<FileReader> Next();
    // Why the file last returned by Next could not be opened.
    const std::string& Problem() const { return m_problem; }

  private:
    struct Ahead {
        std::unique_ptr<FileReader> reader;
        std::string problem;
        std::int64_t heldBytes = 0;
    };
    static constexpr std::size_t kMostFilesAhead = 64;
    static constexpr std::int64_t kMostHeldBytes = 4 * 1024 * 1024;
    static constexpr std::size_t kWakeWriterFiles = 8;

    void Run();
    bool RoomForMany() const;
    Ahead Fetch(const Planned& file);

    FileSource& m_source;
    const std::vector<Planned> m_files;
    std::mutex m_mutex;
    std::condition_variable m_filled;   // the writer waits for files
    std::condition_variable m_drained;  // the reader waits for room
    bool m_writerWaiting = false, m_readerWaiting = false;
    std::deque<Ahead> m_ready;
    std::int64_t m_heldBytes = 0;
    bool m_stop = false;
    std::string m_problem;
    std::size_t m_taken = 0;  // files handed out by Next
    std::thread m_thread;     // last: starts once everything above exists
};
