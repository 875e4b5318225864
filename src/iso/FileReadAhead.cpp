#include "FileReadAhead.h"

#include <algorithm>
#include <cstring>

namespace {
// Files up to this size are read whole ahead; larger ones are only opened
// (the writer lets the system copy them).
constexpr std::int64_t kWholeFileBytes = 256 * 1024;

// A file read whole ahead: its bytes, then what the next read of the file
// gave (0 at its end, -1 for an error, with the reason).
class HeldFile : public FileReader {
  public:
    HeldFile(std::vector<std::uint8_t> bytes, std::int64_t end, std::string problem)
        : m_bytes(std::move(bytes)), m_end(end), m_problem(std::move(problem)) {}

    std::int64_t Read(std::uint8_t* buffer, std::int64_t count) override {
        const auto left = static_cast<std::int64_t>(m_bytes.size()) - m_position;
        if (left == 0) return m_end;
        const std::int64_t part = std::min(left, count);
        std::memcpy(buffer, m_bytes.data() + m_position, static_cast<std::size_t>(part));
        m_position += part;
        return part;
    }
    std::string Problem() const override { return m_problem; }

  private:
    std::vector<std::uint8_t> m_bytes;
    std::int64_t m_position = 0;
    std::int64_t m_end;
    std::string m_problem;
};
}  // namespace

FileReadAhead::FileReadAhead(FileSource& source, std::vector<Planned> files)
    : m_source(source), m_files(std::move(files)), m_thread([this] { Run(); }) {}

FileReadAhead::~FileReadAhead() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_drained.notify_one();
    m_thread.join();
}

std::unique_ptr<FileReader> FileReadAhead::Next() {
    if (m_taken == m_files.size()) {
        m_problem = "not among the planned files";
        return nullptr;
    }
    ++m_taken;
    std::unique_lock lock(m_mutex);
    m_writerWaiting = true;
    m_filled.wait(lock, [this] { return !m_ready.empty(); });
    m_writerWaiting = false;
    Ahead ahead = std::move(m_ready.front());
    m_ready.pop_front();
    m_heldBytes -= ahead.heldBytes;
    const bool wake = m_readerWaiting && RoomForMany();
    lock.unlock();
    if (wake) m_drained.notify_one();
    m_problem = std::move(ahead.problem);
    return std::move(ahead.reader);
}

// Wakes are batched: the reader, once held back, waits until half the room
// is free; the writer, once out of files, until a few are ready.
bool FileReadAhead::RoomForMany() const {
    return m_ready.size() <= kMostFilesAhead / 2 && m_heldBytes <= kMostHeldBytes / 2;
}

void FileReadAhead::Run() {
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        {
            std::unique_lock lock(m_mutex);
            if (m_ready.size() >= kMostFilesAhead || m_heldBytes >= kMostHeldBytes) {
                m_readerWaiting = true;
                m_drained.wait(lock, [this] { return m_stop || RoomForMany(); });
                m_readerWaiting = false;
            }
            if (m_stop) return;
        }
        Ahead ahead = Fetch(m_files[i]);
        std::unique_lock lock(m_mutex);
        m_heldBytes += ahead.heldBytes;
        m_ready.push_back(std::move(ahead));
        const bool wake =
            m_writerWaiting && (m_ready.size() >= kWakeWriterFiles || i + 1 == m_files.size());
        lock.unlock();
        if (wake) m_filled.notify_one();
    }
}

FileReadAhead::Ahead FileReadAhead::Fetch(const Planned& file) {
    Ahead ahead;
    ahead.reader = m_source.Open(file.path);
    if (!ahead.reader) {
        ahead.problem = m_source.LastProblem();
        return ahead;
    }
    if (file.size > kWholeFileBytes) return ahead;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size));
    std::int64_t held = 0, got = 0;
    while (held < file.size) {
        got = ahead.reader->Read(bytes.data() + held, file.size - held);
        if (got <= 0) break;
        held += got;
    }
    bytes.resize(static_cast<std::size_t>(held));
    std::string problem = got < 0 ? ahead.reader->Problem() : std::string();
    ahead.reader = std::make_unique<HeldFile>(std::move(bytes), std::min<std::int64_t>(got, 0),
                                              std::move(problem));
    ahead.heldBytes = held;
    return ahead;
}
