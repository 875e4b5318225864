#include "LocalFileSource.h"

#include <algorithm>
#include <string_view>

#include "modFileAccess.h"

namespace {
class LocalFileReader : public FileReader {
  public:
    explicit LocalFileReader(FileHandleRecord file) : m_file(std::move(file)) {}
    ~LocalFileReader() override { modFileAccess::FileClose(m_file); }

    std::int64_t Read(std::uint8_t* buffer, std::int64_t count) override {
        const std::int64_t got = modFileAccess::FileRead(m_file, buffer, count);
        if (got < 0) m_problem = "read error: " + modFileAccess::LastErrorText();
        return got;
    }
    std::int64_t ReadHeld(std::uint8_t* buffer, std::int64_t count) override {
        return modFileAccess::FileReadHeld(m_file, buffer, count);
    }
    std::int64_t SendToPipe(FileHandleRecord& out, std::int64_t count) override {
        if (m_cannotSend) return modFileAccess::kCannotSend;
        const std::int64_t moved = modFileAccess::FileSendToPipe(m_file, out, count);
        m_cannotSend = moved == modFileAccess::kCannotSend;
        if (moved == -1) m_problem = "read error: " + modFileAccess::LastErrorText();
        return moved;
    }
    void Prefetch() override { modFileAccess::FileWillRead(m_file); }
    std::string Problem() const override { return m_problem; }
    Stretch SkipHole(std::int64_t most) override {
        const std::int64_t at = modFileAccess::FilePos(m_file);
        if (at < 0) return {0, most};
        const modFileAccess::DataStretch data = modFileAccess::FileDataStretch(m_file, at);
        const std::int64_t hole = std::min(most, data.start - at);
        if (hole > 0 &&
            modFileAccess::FileSeek(m_file, at + hole, modFileAccess::SeekMethod::Begin) < 0)
            return {0, most};
        return {hole, data.end - data.start};
    }

  private:
    FileHandleRecord m_file;
    std::string m_problem;
    bool m_cannotSend = false;  // the system refused once: read and write instead
};
#ifdef _WIN32
constexpr const char* kSeparators = "/\\";
#else
constexpr const char* kSeparators = "/";
#endif
}  // namespace

LocalFileSource::~LocalFileSource() {
    CloseHeld();
}

void LocalFileSource::CloseHeld() {
    modFileAccess::FolderClose(m_folder);
}

const modFileAccess::FolderHandleRecord* LocalFileSource::FolderOf(const std::string& path,
                                                                   std::string& name) {
    const std::size_t end = path.find_last_of(kSeparators);
    if (end == std::string::npos || end + 1 == path.size()) return nullptr;
    name = path.substr(end + 1);
    const std::string_view folder = std::string_view(path).substr(0, end + 1);
    if (m_folder.handle != -1 && m_folder.path == folder) return &m_folder;
    modFileAccess::FolderClose(m_folder);
    m_folder = modFileAccess::FolderOpen(std::string(folder));
    return m_folder.handle != -1 ? &m_folder : nullptr;
}

std::optional<FileSource::Facts> LocalFileSource::Examine(const std::string& path) {
    std::string name;
    const auto* folder = FolderOf(path, name);
    const auto facts =
        folder ? modFileAccess::FileInfoIn(*folder, name) : modFileAccess::FileInfo(path);
    if (!facts) {
        m_problem = modFileAccess::LastErrorText();
        return std::nullopt;
    }
    if (facts->kind != modFileAccess::EntryKind::RegularFile) {
        m_problem = "not a regular file";
        return std::nullopt;
    }
    return Facts{facts->size, facts->creationEpoch};
}

std::unique_ptr<FileReader> LocalFileSource::Open(const std::string& path) {
    std::string name;
    const auto* folder = FolderOf(path, name);
    FileHandleRecord file = folder
                                ? modFileAccess::FileOpenIn(*folder, name)
                                : modFileAccess::FileOpen(path, modFileAccess::Access::Read,
                                                          modFileAccess::Share::ReadWrite,
                                                          modFileAccess::Disposition::OpenExisting);
    if (file.handle == -1) {
        m_problem = modFileAccess::LastErrorText();
        return nullptr;
    }
    return std::make_unique<LocalFileReader>(std::move(file));
}
