#pragma once

#include "FileSource.h"

// The files of the local disk, through modFileAccess.
class LocalFileSource : public FileSource {
  public:
    std::optional<Facts> Examine(const std::string& path) override;
    std::unique_ptr<FileReader> Open(const std::string& path) override;
    std::string LastProblem() const override { return m_problem; }

  private:
    std::string m_problem;
};
