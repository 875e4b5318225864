#pragma once

#include <signal.h>
#include <sys/resource.h>

#include <cstdint>

// Makes writes fail as on a full disk once a file would grow past `bytes`
// (RLIMIT_FSIZE, with SIGXFSZ ignored so that write() fails with EFBIG
// instead of ending the run). The object restores both.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    struct sigaction m_previousAction {};
    rlimit m_previousLimit{};
};
