#pragma once

#include <cstdint>
#include <memory>

// Makes writes fail as on a full disk once a file would grow past `bytes`
// (RLIMIT_FSIZE, with SIGXFSZ ignored so that write() fails with EFBIG
// instead of ending the run). The object restores both. Windows has no such
// limit: there Available() is false and the object changes nothing.
class FileSizeLimit {
  public:
    static bool Available();
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    struct Previous;
    std::unique_ptr<Previous> m_previous;
};
