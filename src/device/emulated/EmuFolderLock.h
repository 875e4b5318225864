#pragma once

#include <memory>
#include <string>

// The locks that let several processes share one virtual drive folder, on
// two files beside the metadata (flock, so they vanish with a crashed
// process):
// - "drive.lock": held exclusively for a whole operation (a recording,
//   erase or copy, inserting or taking out a disc), shared for each command;
// - "state.lock": held exclusively while one command reads the state,
//   changes it and writes it back, so no change of another process is lost.
class EmuFolderLock {
  public:
    // nullptr with `error` set when the lock files cannot be opened.
    static std::unique_ptr<EmuFolderLock> Open(const std::string& folder, std::string& error);
    ~EmuFolderLock();
    EmuFolderLock(const EmuFolderLock&) = delete;
    EmuFolderLock& operator=(const EmuFolderLock&) = delete;

    // Takes "drive.lock" exclusively. Commands of other processes hold it
    // only for a moment, so they are waited for (a few seconds at most);
    // false when another process holds it for an operation.
    bool BeginOperation();
    void EndOperation();
    // Takes "drive.lock" shared, then "state.lock". False (nothing held)
    // when another process runs an operation.
    bool BeginCommand();
    void EndCommand();

  private:
    EmuFolderLock(int driveLock, int stateLock) : m_drive(driveLock), m_state(stateLock) {}
    int m_drive = -1;
    int m_state = -1;
};
