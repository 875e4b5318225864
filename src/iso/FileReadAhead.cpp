#include "FileReadAhead.h"

#include <algorithm>
#include <cstring>

// A file read whole ahead: its bytes in the ring, then what the next read of
// the file gave (0 at its end, -1 for an error, with the reason).
class FileReadAhead::HeldBytes : public FileReader {
  public:
    void Reset(const std::uint8_t* bytes, const Ahead& ahead) {
        m_bytes = bytes;
        m_left = ahead.held;
        m_end = ahead.end;
        m_problem = ahead.problem;
    }
    std::int64_t Read(std::uint8_t* buffer, std::int64_t count) override {
        if (m_left == 0) return m_end;
        const std::int64_t part = std::min(m_left, count);
        std::memcpy(buffer, m_bytes, static_cast<std::size_t>(part));
        m_bytes += part;
        m_left -= part;
        return part;
    }
    std::string Problem() const override { return m_problem; }

  private:
    const std::uint8_t* m_bytes = nullptr;
    std::int64_t m_left = 0, m_end = 0;
    std::string m_problem;
};

FileReadAhead::FileReadAhead(FileSource& source, std::vector<Planned> files)
    : m_source(source),
      m_files(std::move(files)),
      m_ring(std::make_unique_for_overwrite<std::uint8_t[]>(kRingBytes)),
      m_held(std::make_unique<HeldBytes>()),
      m_thread([this] { Run(); }) {}

FileReadAhead::~FileReadAhead() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_drained.notify_one();
    m_thread.join();
}

FileReader* FileReadAhead::Next() {
    if (m_taken == m_files.size()) {
        m_problem = "not among the planned files";
        return nullptr;
    }
    ++m_taken;
    m_current.reset();
    std::unique_lock lock(m_mutex);
    m_ringTail = m_currentEnd;  // the writer is past the previous file
    m_writerWaiting = true;
    m_filled.wait(lock, [this] { return !m_ready.empty(); });
    m_writerWaiting = false;
    Ahead ahead = std::move(m_ready.front());
    m_ready.pop_front();
    if (ahead.whole) m_currentEnd = ahead.start + ahead.size;
    const bool wake = m_readerWaiting && RoomForMany();
    lock.unlock();
    if (wake) m_drained.notify_one();
    m_problem = ahead.problem;
    if (!ahead.whole) {
        m_current = std::move(ahead.reader);
        return m_current.get();
    }
    m_held->Reset(m_ring.get() + ahead.start % kRingBytes, ahead);
    return m_held.get();
}

// Wakes are batched: the reader, once held back, waits until half the room
// is free; the writer, once out of files, until many are ready or half the
// ring is filled (so the reader never waits for room while it waits).
bool FileReadAhead::RoomForMany() const {
    return m_ready.size() <= kMostFilesAhead / 2 && m_ringHead - m_ringTail <= kRingBytes / 2;
}

void FileReadAhead::Run() {
    std::deque<Ahead> opened;  // opened before their turn
    for (std::size_t i = 0, toOpen = 0; i < m_files.size(); ++i) {
        for (; toOpen < m_files.size() && toOpen <= i + kOpenAhead; ++toOpen)
            opened.push_back(OpenFile(m_files[toOpen], m_fromDisk && !Probe(toOpen)));
        Ahead ahead = std::move(opened.front());
        opened.pop_front();
        ahead.whole = ahead.reader && ahead.size <= kWholeFileBytes;
        if (!WaitForRoom(ahead.whole ? ahead.size : 0)) return;
        if (ahead.whole) Learn(i, ReadWhole(ahead), ahead.prefetched, opened);
        Hand(std::move(ahead), i + 1 == m_files.size());
    }
}

// Files not in memory: the disk is read, so from then on every file is asked
// for while those before it are waited for. One or two files now and then
// may only have been busy elsewhere; three close together tell. A file now
// and then is not asked for: found in memory, it tells the disk is done.
void FileReadAhead::Learn(std::size_t index, bool inMemory, bool prefetched,
                          std::deque<Ahead>& opened) {
    if (m_fromDisk) {
        if (inMemory && !prefetched) m_fromDisk = false;
        return;
    }
    if (inMemory) return;
    m_missed.push_back(index);
    if (m_missed.size() > kMissesFromDisk) m_missed.pop_front();
    m_fromDisk = m_missed.size() == kMissesFromDisk && index - m_missed.front() <= kOpenAhead;
    if (!m_fromDisk) return;
    m_missed.clear();
    for (std::size_t k = 0; k < opened.size(); ++k)
        if (!Probe(index + 1 + k)) Prefetch(opened[k]);
}

bool FileReadAhead::Probe(std::size_t index) {
    return index % kProbeEvery == kProbeEvery - 1;
}

FileReadAhead::Ahead FileReadAhead::OpenFile(const Planned& file, bool prefetch) {
    Ahead ahead;
    ahead.size = file.size;
    ahead.reader = m_source.Open(file.path);
    if (!ahead.reader) ahead.problem = m_source.LastProblem();
    if (prefetch) Prefetch(ahead);
    return ahead;
}

void FileReadAhead::Prefetch(Ahead& ahead) {
    if (!ahead.reader || ahead.prefetched || ahead.size > kWholeFileBytes) return;
    ahead.reader->Prefetch();
    ahead.prefetched = true;
}

// Waits until `bytes` more fit in the ring and a file more in the queue;
// false when the writer is gone.
bool FileReadAhead::WaitForRoom(std::int64_t bytes) {
    std::unique_lock lock(m_mutex);
    if (m_ready.size() >= kMostFilesAhead || Place(bytes) + bytes - m_ringTail > kRingBytes) {
        m_readerWaiting = true;
        m_drained.wait(lock, [this] { return m_stop || RoomForMany(); });
        m_readerWaiting = false;
    }
    return !m_stop;
}

// Where the next `bytes` go: after the last file held, or at the start of the
// ring when they would not fit before its end.
std::int64_t FileReadAhead::Place(std::int64_t bytes) const {
    const std::int64_t offset = m_ringHead % kRingBytes;
    return offset + bytes > kRingBytes ? m_ringHead + kRingBytes - offset : m_ringHead;
}

// Reads the planned bytes into the ring and closes the file; false when the
// system did not hold all of them in memory.
bool FileReadAhead::ReadWhole(Ahead& ahead) {
    ahead.start = Place(ahead.size);
    std::uint8_t* const at = m_ring.get() + ahead.start % kRingBytes;
    std::int64_t got = ahead.reader->ReadHeld(at, ahead.size);
    const bool inMemory = got == ahead.size;
    ahead.held = std::max<std::int64_t>(got, 0);
    while (ahead.held < ahead.size) {
        got = ahead.reader->Read(at + ahead.held, ahead.size - ahead.held);
        if (got <= 0) break;
        ahead.held += got;
    }
    ahead.end = std::min<std::int64_t>(got, 0);
    if (got < 0) ahead.problem = ahead.reader->Problem();
    ahead.reader.reset();
    return inMemory;
}

void FileReadAhead::Hand(Ahead ahead, bool last) {
    std::unique_lock lock(m_mutex);
    if (ahead.whole) m_ringHead = ahead.start + ahead.size;
    m_ready.push_back(std::move(ahead));
    const bool wake = m_writerWaiting && (m_ready.size() >= kWakeWriterFiles || last ||
                                          m_ringHead - m_ringTail >= kRingBytes / 2);
    lock.unlock();
    if (wake) m_filled.notify_one();
}
