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
// its own, and reads the small ones whole into one ring of memory. With many
// small files the system calls per file (open, read, close) then overlap with
// writing the image instead of adding to it. Once files turn out not to be in
// memory, the later ones are asked for as they are opened, so the disk
// fetches many at once instead of one after the other. Holds at most
// a few megabytes and a few dozen open files ahead of the writer.
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

    // The next planned file, opened, until the next call; nullptr (and
    // Problem) when it could not be opened.
    FileReader* Next();
    // Why the file last returned by Next could not be opened.
    const std::string& Problem() const { return m_problem; }

  private:
    class HeldBytes;
    // A file opened by the reading thread and, when small, read whole.
    struct Ahead {
        std::unique_ptr<FileReader> reader;  // none once read whole
        std::string problem;
        std::int64_t size = 0;
        bool prefetched = false;
        bool whole = false;
        std::int64_t start = 0, held = 0;  // where in the ring and how many bytes
        std::int64_t end = 0;              // what the read after them gave: 0, or -1
    };
    static constexpr std::size_t kMostFilesAhead = 64;
    static constexpr std::int64_t kRingBytes = 4 * 1024 * 1024;
    // Files up to this size are read whole ahead; larger ones are only
    // opened (the writer reads them itself, around their holes).
    static constexpr std::int64_t kWholeFileBytes = 256 * 1024;
    static constexpr std::size_t kWakeWriterFiles = kMostFilesAhead / 2;
    static constexpr std::size_t kOpenAhead = 16;
    static constexpr std::size_t kMissesFromDisk = 3;
    static constexpr std::size_t kProbeEvery = 64;
    // Neither thread can wait for the other for ever, because of these two:
    // the reader, held back, is woken once the queue and the ring are half
    // empty (RoomForMany), and then one more file always fits: half the ring
    // is free, and a file (at most a quarter) plus the end of the ring it may
    // skip (less than a file) take no more than that.
    static_assert(2 * kWholeFileBytes <= kRingBytes / 2, "a file fits once half the ring is free");
    // The writer, out of files, is woken before the reader stops for want of
    // room in the queue (or of room in the ring: half of it filled).
    static_assert(kWakeWriterFiles <= kMostFilesAhead,
                  "the writer is woken before the queue fills");

    void Run();
    Ahead OpenFile(const Planned& file, bool prefetch);
    static void Prefetch(Ahead& ahead);
    void Learn(std::size_t index, bool inMemory, bool prefetched, std::deque<Ahead>& opened);
    static bool Probe(std::size_t index);
    bool WaitForRoom(std::int64_t bytes);
    std::int64_t Place(std::int64_t bytes) const;
    bool ReadWhole(Ahead& ahead);
    void Hand(Ahead ahead, bool last);
    bool RoomForMany() const;

    // Fixed once made; m_source is the reading thread's alone.
    FileSource& m_source;
    const std::vector<Planned> m_files;
    // The ring: bytes from m_ringTail up to m_ringHead belong to the writer
    // (files handed to it), the rest to the reader; positions move under m_mutex.
    std::unique_ptr<std::uint8_t[]> m_ring;
    std::unique_ptr<HeldBytes> m_held;  // the writer's own, as are m_problem, m_current, m_taken
    // Guards the queue, the ring positions and the waiting flags below.
    std::mutex m_mutex;
    std::condition_variable m_filled;   // the writer waits for files
    std::condition_variable m_drained;  // the reader waits for room
    bool m_writerWaiting = false, m_readerWaiting = false;
    std::deque<Ahead> m_ready;
    // Ring positions count up for ever: the reader fills up to m_ringHead,
    // the writer frees up to m_ringTail once it is past a file.
    std::int64_t m_ringHead = 0, m_ringTail = 0, m_currentEnd = 0;
    bool m_stop = false;
    std::string m_problem;
    std::unique_ptr<FileReader> m_current;
    std::size_t m_taken = 0;  // files handed out by Next
    // The reading thread's own: whether the files come from the disk, and
    // the latest files that were not in memory.
    bool m_fromDisk = false;
    std::deque<std::size_t> m_missed;
    std::thread m_thread;  // last: starts once everything above exists
};
