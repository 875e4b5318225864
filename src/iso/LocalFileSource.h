#pragma once

#include "FileSource.h"
#include "modFileAccess.h"

// The files of the local disk, through modFileAccess. The folder of the last
// file is held open: files come folder by folder, and naming them within it
// spares the system a walk of the whole path for each one.
class LocalFileSource : public FileSource {
  public:
    ~LocalFileSource() override;
    std::optional<Facts> Examine(const std::string& path) override;
    std::unique_ptr<FileReader> Open(const std::string& path) override;
    std::string LastProblem() const override { return m_problem; }
    void CloseHeld() override;

  private:
    // The open folder of `path` and the name in it; nullptr when the path
    // names no folder or the folder cannot be opened (then use the whole path).
    const modFileAccess::FolderHandleRecord* FolderOf(const std::string& path, std::string& name);

    std::string m_problem;
    modFileAccess::FolderHandleRecord m_folder;
};
