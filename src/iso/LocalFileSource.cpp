#include "LocalFileSource.h"

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
    std::string Problem() const override { return m_problem; }
    std::int64_t CopyTo(FileHandleRecord& target, std::int64_t count) override {
        return modFileAccess::FileCopy(m_file, target, count);
    }

  private:
    FileHandleRecord m_file;
    std::string m_problem;
};
}  // namespace

std::optional<FileSource::Facts> LocalFileSource::Examine(const std::string& path) {
    const auto facts = modFileAccess::FileInfo(path);
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
    FileHandleRecord file =
        modFileAccess::FileOpen(path, modFileAccess::Access::Read, modFileAccess::Share::ReadWrite,
                                modFileAccess::Disposition::OpenExisting);
    if (file.handle == -1) {
        m_problem = modFileAccess::LastErrorText();
        return nullptr;
    }
    return std::make_unique<LocalFileReader>(std::move(file));
}
