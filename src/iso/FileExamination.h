#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

class clsISOFile;
class FileSource;

// Takes the current length and date of a list of files from a source, as
// they will be read, a run of files at a time: every thread that calls Run
// (each with a source of its own) takes the next run, so the work is shared
// by as many threads as are free.
class FileExamination {
  public:
    struct Failure {
        std::size_t index;  // in the list
        std::string reason;
    };

    explicit FileExamination(const std::vector<clsISOFile*>& files) : m_files(files) {}

    // Examines runs of files until none is left.
    void Run(FileSource& source);
    // The files that could not be examined, in list order (once every Run is over).
    std::vector<Failure> Failures();

  private:
    static constexpr std::size_t kRunFiles = 128;

    const std::vector<clsISOFile*>& m_files;
    std::atomic<std::size_t> m_next{0};
    std::mutex m_mutex;
    std::vector<Failure> m_failures;
};
