#pragma once

#include <cstdint>
#include <string>

#include "FileSource.h"

// Files of a disc in a drive as sources of a new image: a file's path names
// its extent (Path), and its bytes are read from the disc with READ(10).
class DiscFileSource : public FileSource {
  public:
    explicit DiscFileSource(std::string drive) : m_drive(std::move(drive)) {}

    // The path of the file of `size` bytes whose data starts at block `lba`.
    static std::string Path(std::int32_t lba, std::int64_t size);

    std::optional<Facts> Examine(const std::string& path) override;
    std::unique_ptr<FileReader> Open(const std::string& path) override;
    std::string LastProblem() const override { return m_problem; }

  private:
    std::string m_drive;
    std::string m_problem;
};
